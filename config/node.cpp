#include "config/node.h"

#include "i18n/utf8.h"

bool Is64BitWindows();

namespace {

// Cuts the path at its first '/': the key at this level and the rest.
void SplitPath(std::wstring_view path, std::wstring_view& key, std::wstring_view& rest) {
    const size_t slash = path.find(L'/');
    if (slash == std::wstring_view::npos) {
        key = path;
        rest = std::wstring_view();
    } else {
        key = path.substr(0, slash);
        rest = path.substr(slash + 1);
    }
}

}  // namespace

ConfigValue::ConfigValue(std::unique_ptr<Node> node) : subtree(std::move(node)), type(ValueType::Subtree) {}
ConfigValue::ConfigValue(ConfigValue&&) noexcept = default;
ConfigValue& ConfigValue::operator=(ConfigValue&&) noexcept = default;
ConfigValue::~ConfigValue() = default;

Node::Node() : view64_(Is64BitWindows()) {}

ConfigValue& Node::Get(std::wstring_view path) {
    Node* node = this;
    for (;;) {
        std::wstring_view key, rest;
        SplitPath(path, key, rest);
        auto found = node->entries_.find(std::wstring(key));
        if (found == node->entries_.end()) {
            if (rest.empty()) return node->entries_[std::wstring(key)];
            ConfigValue& created = node->entries_[std::wstring(key)];
            created = ConfigValue(std::make_unique<Node>());
            node = created.subtree.get();
        } else {
            if (rest.empty()) return found->second;
            if (found->second.type != ValueType::Subtree) throw KeyNotFound();
            node = found->second.subtree.get();
        }
        path = rest;
    }
}

ConfigValue& Node::Get(const char* utf8Path) { return Get(WideFromUtf8(utf8Path ? utf8Path : "")); }

ConfigValue& Node::GetOr(std::wstring_view primary, std::wstring_view fallback) {
    ConfigValue& entry = Get(primary);
    if (entry.type != ValueType::Unset) return entry;
    return Get(fallback);
}

bool Node::Has(std::wstring_view path, ValueType type) const {
    const Node* node = this;
    for (;;) {
        std::wstring_view key, rest;
        SplitPath(path, key, rest);
        auto found = node->entries_.find(std::wstring(key));
        if (found == node->entries_.end()) return false;
        if (rest.empty()) return found->second.type == type;
        if (found->second.type != ValueType::Subtree) return false;
        node = found->second.subtree.get();
        path = rest;
    }
}
