#include "config/node.h"

#include <utility>
#include <vector>

namespace {

// True when the entry is one of the entries of the tree, at any depth.
// Walked without recursion: paths can nest thousands of levels deep.
bool TreeHolds(const Node& tree, const ConfigValue* entry) {
    std::vector<const Node*> pending{&tree};
    while (!pending.empty()) {
        const Node* node = pending.back();
        pending.pop_back();
        for (const auto& [key, value] : node->entries()) {
            if (&value == entry) return true;
            if (value.subtree) pending.push_back(value.subtree.get());
        }
    }
    return false;
}

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

// A Subtree entry always holds a node, so that paths can run through it; one
// made from no node gets an empty one in the process's own registry view.
ConfigValue::ConfigValue(std::unique_ptr<Node> node)
    : subtree(node ? std::move(node) : std::make_unique<Node>(false)), type(ValueType::Subtree) {}

// The source is left Unset: a moved-from Subtree entry must not claim a node
// it no longer holds.
ConfigValue::ConfigValue(ConfigValue&& other) noexcept
    : subtree(std::move(other.subtree)),
      floatValue(std::exchange(other.floatValue, 0.0f)),
      intValue(std::exchange(other.intValue, 0)),
      text(std::move(other.text)),
      type(std::exchange(other.type, ValueType::Unset)) {
    other.text.clear();
}

ConfigValue& ConfigValue::operator=(ConfigValue&& other) noexcept {
    if (this == &other) return *this;
    // The subtree would own the entry that owns it, and neither would ever
    // be freed.
    if (other.subtree && TreeHolds(*other.subtree, this)) return *this;
    // Take the new content in full before the old subtree goes: the source may
    // be an entry somewhere inside that subtree.
    ConfigValue incoming(std::move(other));
    std::swap(subtree, incoming.subtree);
    std::swap(floatValue, incoming.floatValue);
    std::swap(intValue, incoming.intValue);
    std::swap(text, incoming.text);
    std::swap(type, incoming.type);
    return *this;
}

ConfigValue::~ConfigValue() = default;

Node::Node(bool view64) : view64_(view64) {}

ConfigValue& Node::Get(std::wstring_view path) {
    Node* node = this;
    for (;;) {
        std::wstring_view key, rest;
        SplitPath(path, key, rest);
        auto found = node->entries_.find(std::wstring(key));
        if (found == node->entries_.end()) {
            if (rest.empty()) return node->entries_[std::wstring(key)];
            ConfigValue& created = node->entries_[std::wstring(key)];
            created = ConfigValue(std::make_unique<Node>(node->view64_));
            node = created.subtree.get();
        } else {
            if (rest.empty()) return found->second;
            node = found->second.AsSubtree();
            if (!node) throw KeyNotFound();
        }
        path = rest;
    }
}

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
        node = found->second.AsSubtree();
        if (!node) return false;
        path = rest;
    }
}
