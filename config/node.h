// The settings in memory: a small tree of typed values under UTF-16 keys.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>

// The registry root or open key the tree is loaded from and saved to, declared
// as <windows.h> does so that the tree's users need not include it.
struct HKEY__;
typedef HKEY__* HKEY;

class Node;

enum class ValueType : std::int32_t {
    Subtree = 0,
    Float = 1,
    Integer = 2,
    Str = 3,
    Unset = 4,
};

// The value of one entry. Holding a subtree makes it move-only; a moved-from
// value is Unset.
struct ConfigValue {
    std::unique_ptr<Node> subtree;
    float floatValue = 0.0f;
    std::int32_t intValue = 0;
    std::wstring text;
    ValueType type = ValueType::Unset;

    ConfigValue() = default;
    ConfigValue(std::int32_t value) : intValue(value), type(ValueType::Integer) {}
    ConfigValue(float value) : floatValue(value), type(ValueType::Float) {}
    ConfigValue(std::wstring value) : text(std::move(value)), type(ValueType::Str) {}
    ConfigValue(const wchar_t* value) : text(value ? value : L""), type(ValueType::Str) {}
    ConfigValue(std::unique_ptr<Node> node);
    ConfigValue(ConfigValue&&) noexcept;
    // Takes the other value whole, even from inside this entry's own subtree.
    // An entry is never given a subtree that holds the entry itself (a
    // parent moved into one of its children): such an assignment is refused
    // and leaves both as they were.
    ConfigValue& operator=(ConfigValue&&) noexcept;
    ConfigValue(const ConfigValue&) = delete;
    ConfigValue& operator=(const ConfigValue&) = delete;
    ~ConfigValue();

    // Typed reads never convert: the wrong type reads as the zero of the type.
    Node* AsSubtree() const { return type == ValueType::Subtree ? subtree.get() : nullptr; }
    float AsFloat() const { return type == ValueType::Float ? floatValue : 0.0f; }
    std::int32_t AsInt() const { return type == ValueType::Integer ? intValue : 0; }
    std::uint32_t AsUInt() const { return static_cast<std::uint32_t>(AsInt()); }
    bool AsBool() const { return AsInt() != 0; }
    std::wstring AsText() const { return type == ValueType::Str ? text : std::wstring(); }
};

class Node {
public:
    // Thrown when a path runs through an entry that is not a subtree.
    struct KeyNotFound {};

    using Entries = std::map<std::wstring, ConfigValue>;

    // A tree whose view64 is Is64BitWindows(). Defined with the registry code,
    // so that the tree alone builds and runs without Windows.
    Node();
    // A tree for the registry view the caller chose. Subtrees that Get makes
    // take the view of the node they are made in.
    explicit Node(bool view64);
    Node(const Node&) = delete;
    Node& operator=(const Node&) = delete;

    // The entry at the path ("a/b/c"), creating missing subtrees on the way
    // and a missing leaf as Unset. Throws KeyNotFound.
    ConfigValue& Get(std::wstring_view path);
    // The same for a UTF-8 path, as the settings code names its entries.
    ConfigValue& Get(const char* utf8Path);
    ConfigValue& Get(const std::string& utf8Path) { return Get(utf8Path.c_str()); }
    // The primary entry unless it is Unset, else the fallback entry.
    ConfigValue& GetOr(std::wstring_view primary, std::wstring_view fallback);
    // True when the entry exists and has exactly that type; creates nothing.
    bool Has(std::wstring_view path, ValueType type) const;

    // Merges a registry key into the tree: subkeys become subtrees, then
    // values of typed text become entries (value names are paths); other
    // values, names of 4096 characters or more, data over 4096 bytes and names
    // that run through a non-subtree entry are skipped. False when the key or
    // one of its subkeys cannot be read; a subkey that fails is skipped and
    // the rest, the key's own values included, is still read.
    bool LoadFromRegistry(HKEY root, const wchar_t* subKeyPath);
    // Writes the tree to a registry key as typed text, subtrees as subkeys,
    // creating what is missing; Unset entries and empty strings write nothing
    // and nothing is ever deleted. A subtree under the empty key is skipped,
    // since no subkey can hold it. False at the first failure.
    bool SaveToRegistry(HKEY root, const wchar_t* subKeyPath) const;

    bool view64() const { return view64_; }
    const Entries& entries() const { return entries_; }

private:
    Entries entries_;
    bool view64_;
};
