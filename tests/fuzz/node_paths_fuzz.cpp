// The settings tree under a sequence of operations decoded from the input:
// set, look up, fall back, test, move one entry into another and reset. Paths
// are short words over a small alphabet with '/' so that they meet often.
// After every step the tree is a tree (no node reachable twice), lookups
// agree with Has, and a move either hands the value over whole or, when the
// target lies inside the moved subtree, changes nothing. The leak checker
// sees any subtree that ends up owning itself.
#include "config/node.h"
#include "tests/config/tree_dump.h"
#include "tests/fuzz/fuzz_check.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <set>
#include <string>
#include <vector>

namespace {

using test_support::Dump;

constexpr wchar_t kAlphabet[] = {L'a', L'b', L'/', L'/', L'C', L'\0', L'\x00E9', L'\xD800'};

std::wstring ConsumePath(FuzzedDataProvider& input) {
    std::wstring path;
    const auto length = input.ConsumeIntegralInRange<std::size_t>(0, 6);
    for (std::size_t i = 0; i < length; ++i) {
        path.push_back(kAlphabet[input.ConsumeIntegralInRange<std::size_t>(0, std::size(kAlphabet) - 1)]);
    }
    return path;
}

ValueType ConsumeType(FuzzedDataProvider& input) {
    return static_cast<ValueType>(input.ConsumeIntegralInRange<int>(0, 4));
}

std::size_t CountEntries(const Node& root) {
    std::size_t count = 0;
    std::vector<const Node*> pending{&root};
    while (!pending.empty()) {
        const Node* node = pending.back();
        pending.pop_back();
        count += node->entries().size();
        for (const auto& [key, value] : node->entries()) {
            if (value.subtree) pending.push_back(value.subtree.get());
        }
    }
    return count;
}

// Every node once, every Subtree entry with a node; no cycles.
void CheckIsTree(const Node& root) {
    std::set<const Node*> seen{&root};
    std::vector<const Node*> pending{&root};
    while (!pending.empty()) {
        const Node* node = pending.back();
        pending.pop_back();
        FUZZ_CHECK(node->view64() == root.view64());
        for (const auto& [key, value] : node->entries()) {
            if (value.type == ValueType::Subtree) FUZZ_CHECK(value.subtree != nullptr);
            if (!value.subtree) continue;
            FUZZ_CHECK(seen.insert(value.subtree.get()).second);
            pending.push_back(value.subtree.get());
        }
    }
}

void Step(Node& tree, FuzzedDataProvider& input) {
    const std::wstring path = ConsumePath(input);
    switch (input.ConsumeIntegralInRange<int>(0, 8)) {
        case 0:
            tree.Get(path) = input.ConsumeIntegral<std::int32_t>();
            break;
        case 1:
            tree.Get(path) = input.ConsumeFloatingPoint<float>();
            break;
        case 2:
            tree.Get(path) = ConsumePath(input);
            break;
        case 3: {
            // A lookup finds the same entry twice and agrees with Has.
            ConfigValue& entry = tree.Get(path);
            FUZZ_CHECK(&tree.Get(path) == &entry);
            FUZZ_CHECK(tree.Has(path, entry.type));
            break;
        }
        case 4: {
            // Has creates nothing and answers as a lookup would.
            const ValueType type = ConsumeType(input);
            const std::size_t before = CountEntries(tree);
            const bool has = tree.Has(path, type);
            FUZZ_CHECK(CountEntries(tree) == before);
            if (has) FUZZ_CHECK(tree.Get(path).type == type);
            break;
        }
        case 5: {
            const std::wstring fallback = ConsumePath(input);
            ConfigValue& chosen = tree.GetOr(path, fallback);
            ConfigValue& primary = tree.Get(path);
            FUZZ_CHECK(primary.type == ValueType::Unset ? &chosen == &tree.Get(fallback) : &chosen == &primary);
            break;
        }
        case 6: {
            // The source is looked up first, so that the target may be made
            // inside it, as in Get(L"a/b") = std::move(Get(L"a")).
            ConfigValue& source = tree.Get(path);
            ConfigValue& target = tree.Get(ConsumePath(input));
            const std::wstring treeBefore = Dump(tree);
            const std::wstring moved = Dump(source);
            const bool sameEntry = &source == &target;
            target = std::move(source);
            if (!sameEntry && Dump(target) != moved) FUZZ_CHECK(Dump(tree) == treeBefore);
            if (sameEntry) FUZZ_CHECK(Dump(tree) == treeBefore);
            CheckIsTree(tree);
            break;
        }
        case 7:
            // Reset: the entry and whatever it held are gone.
            tree.Get(path) = ConfigValue();
            break;
        case 8:
            // A value made from no node gets one in the process's own view.
            tree.Get(path) = (input.ConsumeBool() || tree.view64())
                                 ? ConfigValue(std::make_unique<Node>(tree.view64()))
                                 : ConfigValue(std::unique_ptr<Node>());
            break;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    Node tree(input.ConsumeBool());
    while (input.remaining_bytes() > 0) {
        try {
            Step(tree, input);
        } catch (const Node::KeyNotFound&) {
            // A path through an entry that is not a subtree; the tree stays usable.
        }
    }
    CheckIsTree(tree);
    return 0;
}
