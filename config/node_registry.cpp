// A tree in the registry: entries as values of typed text, subtrees as subkeys.
#include "config/node.h"

#include "config/reg_key.h"
#include "config/registry.h"
#include "config/registry_seam.h"
#include "config/typed_text.h"

#include <windows.h>

#include <memory>
#include <optional>
#include <string_view>
#include <vector>

namespace {

// Buffer sizes for loading: names of 4096 characters or more and value data
// over 4096 bytes are skipped.
constexpr DWORD kNameCharacters = 4096;
constexpr DWORD kDataBytes = 4096;

}  // namespace

Node::Node() : Node(Is64BitWindows()) {}

bool Node::LoadFromRegistry(HKEY root, const wchar_t* subKeyPath) {
    RegKey key;
    const REGSAM access = view64_ ? (KEY_READ | KEY_WOW64_64KEY) : KEY_READ;
    if (key.Open(root, subKeyPath, access) != ERROR_SUCCESS) return false;

    // No class buffer: a key with a long class name would otherwise fail here
    // although its values are perfectly readable.
    DWORD valueCount = 0;
    if (::RegQueryInfoKeyW(key.Get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &valueCount, nullptr,
                           nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
        return false;
    }

    // On the heap: keys can nest hundreds of levels deep.
    std::vector<wchar_t> name(kNameCharacters + 1, L'\0');

    // A subkey that cannot be read must not cost the key's own values: the
    // settings are values, and stopping here would leave the defaults in the
    // tree for the next save to write over every stored setting. The failure
    // is still reported.
    bool complete = true;

    for (DWORD index = 0;; ++index) {
        if (::RegEnumKeyW(key.Get(), index, name.data(), kNameCharacters) != ERROR_SUCCESS) break;
        Node* child = nullptr;
        try {
            ConfigValue& entry = Get(std::wstring_view(name.data()));
            child = entry.AsSubtree();
            if (!child) {
                entry = ConfigValue(std::make_unique<Node>(view64_));
                child = entry.AsSubtree();
            }
        } catch (const KeyNotFound&) {
            // A name with '/' that runs through a value: there is no entry
            // that could hold this subkey.
            continue;
        }
        if (!child->LoadFromRegistry(key.Get(), name.data())) complete = false;
    }

    std::vector<wchar_t> data(kDataBytes / sizeof(wchar_t), L'\0');
    for (DWORD index = 0; index < valueCount; ++index) {
        DWORD nameLength = kNameCharacters;
        DWORD type = 0;
        DWORD dataBytes = kDataBytes;
        if (::RegEnumValueW(key.Get(), index, name.data(), &nameLength, nullptr, &type,
                            reinterpret_cast<BYTE*>(data.data()), &dataBytes) != ERROR_SUCCESS) {
            continue;
        }
        if (nameLength >= kNameCharacters || dataBytes > kDataBytes) continue;
        std::optional<ConfigValue> value =
            typed_text::Parse(std::wstring_view(data.data(), dataBytes / sizeof(wchar_t)));
        if (!value) continue;
        try {
            Get(std::wstring_view(name.data(), nameLength)) = std::move(*value);
        } catch (const KeyNotFound&) {
            // As above; the other values still load.
        }
    }
    return complete;
}

bool Node::SaveToRegistry(HKEY root, const wchar_t* subKeyPath) const {
    RegKey key;
    // Creating subkeys is needed for the subtrees; setting values alone is not
    // enough to save a tree whose subkeys do not exist yet.
    const REGSAM access = view64_ ? (KEY_SET_VALUE | KEY_CREATE_SUB_KEY | KEY_WOW64_64KEY)
                                  : (KEY_SET_VALUE | KEY_CREATE_SUB_KEY);
    if (key.Create(root, subKeyPath, access) != ERROR_SUCCESS) return false;

    for (const auto& [entryKey, value] : entries_) {
        if (const Node* child = value.AsSubtree()) {
            // An empty subkey name would reopen this very key and mix the
            // subtree's values with its own. Such a subtree only comes from a
            // value whose name begins with '/', which stays in the registry
            // untouched, so leaving it out loses nothing.
            if (entryKey.empty()) continue;
            if (!child->SaveToRegistry(key.Get(), entryKey.c_str())) return false;
            continue;
        }
        const std::optional<std::wstring> data = typed_text::Format(value);
        if (!data) continue;
        if (key.SetStringValue(entryKey.c_str(), *data) != ERROR_SUCCESS) return false;
    }

    // The renderer reads the same key from its own process.
    registry_seam::Current().flushKey(key.Get());
    return true;
}
