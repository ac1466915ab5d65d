// The configuration tree in memory: paths, typed reads, fallbacks, ordering
// and ownership.
#include "config/node.h"

#include "config/registry_seam.h"
#include "tests/support/case_name.h"
#include "tests/config/tree_dump.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <type_traits>
#include <vector>

namespace {

using test_support::Dump;

static_assert(!std::is_copy_constructible_v<ConfigValue> && !std::is_copy_assignable_v<ConfigValue>,
              "a value may hold a subtree, which is moved, never copied");
static_assert(!std::is_copy_constructible_v<Node>, "a node owns its subtrees");

// ---------------------------------------------------------------- Get(path)

using Setup = void (*)(Node&);

struct PathCase {
    const char* name;
    Setup setup;
    std::wstring path;
    bool throws;
    std::wstring treeAfter;
};

void PrintTo(const PathCase& c, std::ostream* os) { *os << c.name; }

void Nothing(Node&) {}
void AInteger(Node& n) { n.Get(L"a") = 5; }
void AUnset(Node& n) { n.Get(L"a"); }
void ABString(Node& n) { n.Get(L"a/b") = L"t"; }
void ASubtreeWithX(Node& n) { n.Get(L"a/x") = 1; }

class GetPathTest : public ::testing::TestWithParam<PathCase> {};

TEST_P(GetPathTest, CreatesWhatIsMissingOrThrows) {
    const PathCase& c = GetParam();
    Node node;
    c.setup(node);
    if (c.throws) {
        EXPECT_THROW(node.Get(c.path), Node::KeyNotFound);
    } else {
        ConfigValue& entry = node.Get(c.path);
        // A second lookup finds the same entry and creates nothing more.
        EXPECT_EQ(&node.Get(c.path), &entry);
    }
    EXPECT_EQ(Dump(node), c.treeAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, GetPathTest,
    ::testing::Values(PathCase{"Single", Nothing, L"a", false, L"{a=U}"},
                      PathCase{"Nested", Nothing, L"a/b/c", false, L"{a={b={c=U}}}"},
                      PathCase{"TrailingSlash", Nothing, L"a/", false, L"{a=U}"},
                      PathCase{"TrailingSlashNested", Nothing, L"a/b/", false, L"{a={b=U}}"},
                      PathCase{"LeadingSlash", Nothing, L"/x", false, L"{={x=U}}"},
                      PathCase{"DoubleSlash", Nothing, L"a//b", false, L"{a={={b=U}}}"},
                      PathCase{"EmptyPath", Nothing, L"", false, L"{=U}"},
                      PathCase{"OnlySlash", Nothing, L"/", false, L"{=U}"},
                      PathCase{"IntoExistingSubtree", ASubtreeWithX, L"a/y", false, L"{a={x=i1,y=U}}"},
                      PathCase{"ExistingLeafAnyType", AInteger, L"a", false, L"{a=i5}"},
                      PathCase{"ThroughInteger", AInteger, L"a/b", true, L"{a=i5}"},
                      PathCase{"ThroughUnset", AUnset, L"a/b", true, L"{a=U}"},
                      PathCase{"ThroughStringDeeper", ABString, L"a/b/c", true, L"{a={b=s't'}}"},
                      PathCase{"TrailingSlashOnInteger", AInteger, L"a/", false, L"{a=i5}"}),
    [](const ::testing::TestParamInfo<PathCase>& info) { return std::string(info.param.name); });

TEST(Get, SlashSuffixAndPlainKeyAreTheSameEntry) {
    Node node;
    EXPECT_EQ(&node.Get(L"a/"), &node.Get(L"a"));
    EXPECT_EQ(&node.Get(L"s/t/"), &node.Get(L"s/t"));
}

TEST(Get, KeysDifferingInCaseAreDistinct) {
    Node node;
    node.Get(L"Foo") = 1;
    node.Get(L"foo") = 2;
    node.Get(L"FOO") = L"x";
    EXPECT_EQ(Dump(node), L"{FOO=s'x',Foo=i1,foo=i2}");
}

TEST(Get, Utf8PathsConvertBeforeTheLookup) {
    Node node;
    ConfigValue& wide = node.Get(L"Gr\x00F6\x00DF" L"e/\x042F\x0437\x044B\x043A");
    EXPECT_EQ(&node.Get("Gr\xC3\xB6\xC3\x9F" "e/\xD0\xAF\xD0\xB7\xD1\x8B\xD0\xBA"), &wide);
    EXPECT_EQ(&node.Get(std::string("Gr\xC3\xB6\xC3\x9F" "e/\xD0\xAF\xD0\xB7\xD1\x8B\xD0\xBA")), &wide);
    // A narrow name ends at its first NUL, as a C string does.
    EXPECT_EQ(&node.Get(std::string("CurMonitor\0junk", 15)), &node.Get(L"CurMonitor"));
    EXPECT_EQ(&node.Get(static_cast<const char*>(nullptr)), &node.Get(L""));
    node.Get("i") = 3;
    EXPECT_THROW(node.Get("i/x"), Node::KeyNotFound);
}

// ---------------------------------------------------------------- Has

struct HasCase {
    std::wstring path;
    ValueType type;
    bool expected;
};

void PrintTo(const HasCase& c, std::ostream* os) {
    for (wchar_t ch : c.path) *os << static_cast<char>(ch < 0x80 ? ch : '?');
    *os << " as type " << static_cast<int>(c.type);
}

class HasTest : public ::testing::TestWithParam<HasCase> {};

TEST_P(HasTest, AnswersWithoutCreating) {
    const HasCase& c = GetParam();
    Node node;
    node.Get(L"a/b") = 1;
    node.Get(L"a/c");
    node.Get(L"d") = 0.5f;
    node.Get(L"e") = L"x";
    node.Get(L"/x") = 2;
    const std::wstring before = Dump(node);
    EXPECT_EQ(node.Has(c.path, c.type), c.expected);
    EXPECT_EQ(Dump(node), before);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, HasTest,
    ::testing::Values(HasCase{L"a", ValueType::Subtree, true}, HasCase{L"a/", ValueType::Subtree, true},
                      HasCase{L"a/b", ValueType::Integer, true}, HasCase{L"a/b", ValueType::Float, false},
                      HasCase{L"a/c", ValueType::Unset, true}, HasCase{L"a/c", ValueType::Subtree, false},
                      HasCase{L"d", ValueType::Float, true}, HasCase{L"e", ValueType::Str, true},
                      HasCase{L"e", ValueType::Integer, false}, HasCase{L"/x", ValueType::Integer, true},
                      HasCase{L"", ValueType::Subtree, true}, HasCase{L"missing", ValueType::Unset, false},
                      HasCase{L"missing/deeper", ValueType::Unset, false},
                      HasCase{L"a/missing", ValueType::Unset, false},
                      // Through an entry that is not a subtree: false for every type.
                      HasCase{L"d/x", ValueType::Subtree, false}, HasCase{L"d/x", ValueType::Float, false},
                      HasCase{L"d/x", ValueType::Unset, false}, HasCase{L"a/c/x", ValueType::Unset, false},
                      HasCase{L"a/b/x", ValueType::Integer, false}, HasCase{L"e/", ValueType::Str, true}));

// ---------------------------------------------------------------- typed reads

struct ReadCase {
    const char* name;
    ConfigValue (*make)();
    float asFloat;
    std::int32_t asInt;
    std::uint32_t asUInt;
    bool asBool;
    std::wstring asText;
    bool hasSubtree;
};

void PrintTo(const ReadCase& c, std::ostream* os) { *os << c.name; }

class TypedReadTest : public ::testing::TestWithParam<ReadCase> {};

TEST_P(TypedReadTest, WrongTypeReadsAsZero) {
    const ReadCase& c = GetParam();
    const ConfigValue value = c.make();
    EXPECT_EQ(value.AsFloat(), c.asFloat);
    EXPECT_EQ(value.AsInt(), c.asInt);
    EXPECT_EQ(value.AsUInt(), c.asUInt);
    EXPECT_EQ(value.AsBool(), c.asBool);
    EXPECT_EQ(value.AsText(), c.asText);
    EXPECT_EQ(value.AsSubtree() != nullptr, c.hasSubtree);
}

INSTANTIATE_TEST_SUITE_P(
    Types, TypedReadTest,
    ::testing::Values(
        ReadCase{"IntegerZero", [] { return ConfigValue(0); }, 0.0f, 0, 0u, false, L"", false},
        ReadCase{"IntegerMinusOne", [] { return ConfigValue(-1); }, 0.0f, -1, 4294967295u, true, L"", false},
        ReadCase{"IntegerSeven", [] { return ConfigValue(7); }, 0.0f, 7, 7u, true, L"", false},
        ReadCase{"IntegerMin", [] { return ConfigValue(INT32_MIN); }, 0.0f, INT32_MIN, 0x80000000u, true, L"", false},
        ReadCase{"Float", [] { return ConfigValue(0.5f); }, 0.5f, 0, 0u, false, L"", false},
        ReadCase{"FloatWhole", [] { return ConfigValue(3.0f); }, 3.0f, 0, 0u, false, L"", false},
        ReadCase{"StringOne", [] { return ConfigValue(L"1"); }, 0.0f, 0, 0u, false, L"1", false},
        ReadCase{"StringFromWstring", [] { return ConfigValue(std::wstring(L"ru")); }, 0.0f, 0, 0u, false, L"ru",
                 false},
        ReadCase{"StringFromNull", [] { return ConfigValue(static_cast<const wchar_t*>(nullptr)); }, 0.0f, 0, 0u,
                 false, L"", false},
        ReadCase{"Unset", [] { return ConfigValue(); }, 0.0f, 0, 0u, false, L"", false},
        ReadCase{"Subtree", [] { return ConfigValue(std::make_unique<Node>()); }, 0.0f, 0, 0u, false, L"", true}),
    [](const ::testing::TestParamInfo<ReadCase>& info) { return std::string(info.param.name); });

TEST(ConfigValue, ConstructorsSetTheType) {
    EXPECT_EQ(ConfigValue(1).type, ValueType::Integer);
    EXPECT_EQ(ConfigValue(1.0f).type, ValueType::Float);
    EXPECT_EQ(ConfigValue(L"").type, ValueType::Str);
    EXPECT_EQ(ConfigValue(std::wstring()).type, ValueType::Str);
    EXPECT_EQ(ConfigValue().type, ValueType::Unset);
    EXPECT_EQ(ConfigValue(std::make_unique<Node>()).type, ValueType::Subtree);
}

TEST(ConfigValue, AssignmentReplacesEveryField) {
    Node node;
    ConfigValue& entry = node.Get(L"a");
    entry = L"text";
    entry = 5;
    EXPECT_EQ(entry.type, ValueType::Integer);
    EXPECT_EQ(entry.AsText(), L"");
    EXPECT_TRUE(entry.text.empty());
    entry = 0.25f;
    EXPECT_EQ(entry.AsInt(), 0);
    EXPECT_EQ(entry.intValue, 0);
    EXPECT_EQ(entry.AsFloat(), 0.25f);
    node.Get(L"b/c") = 1;
    entry = std::move(node.Get(L"b"));
    EXPECT_EQ(entry.floatValue, 0.0f);
    EXPECT_EQ(Dump(node), L"{a={c=i1},b=U}");
}

// ---------------------------------------------------------------- GetOr

struct GetOrCase {
    const char* name;
    Setup setup;
    bool returnsPrimary;
    std::wstring treeAfter;
};

void PrintTo(const GetOrCase& c, std::ostream* os) { *os << c.name; }

void PrimaryZero(Node& n) { n.Get(L"p") = 0; }
void PrimaryUnsetFallbackSet(Node& n) {
    n.Get(L"p");
    n.Get(L"f") = L"fb";
}
void PrimaryStringEmpty(Node& n) { n.Get(L"p") = L""; }
void OnlyFallback(Node& n) { n.Get(L"f") = 2; }

class GetOrTest : public ::testing::TestWithParam<GetOrCase> {};

TEST_P(GetOrTest, PrimaryUnlessUnset) {
    const GetOrCase& c = GetParam();
    Node node;
    c.setup(node);
    ConfigValue& result = node.GetOr(L"p", L"f");
    EXPECT_EQ(Dump(node), c.treeAfter);
    EXPECT_EQ(&result, c.returnsPrimary ? &node.Get(L"p") : &node.Get(L"f"));
}

INSTANTIATE_TEST_SUITE_P(Entries, GetOrTest,
                         ::testing::Values(GetOrCase{"BothMissing", Nothing, false, L"{f=U,p=U}"},
                                           GetOrCase{"PrimaryMissing", OnlyFallback, false, L"{f=i2,p=U}"},
                                           GetOrCase{"PrimaryUnset", PrimaryUnsetFallbackSet, false,
                                                     L"{f=s'fb',p=U}"},
                                           GetOrCase{"PrimaryIntegerZero", PrimaryZero, true, L"{p=i0}"},
                                           GetOrCase{"PrimaryEmptyString", PrimaryStringEmpty, true, L"{p=s''}"}),
                         [](const ::testing::TestParamInfo<GetOrCase>& info) { return std::string(info.param.name); });

TEST(GetOr, ThrowsLikeGetForPathsThroughValues) {
    Node node;
    node.Get(L"i") = 1;
    EXPECT_THROW(node.GetOr(L"i/x", L"f"), Node::KeyNotFound);
    EXPECT_THROW(node.GetOr(L"p", L"i/x"), Node::KeyNotFound);
    EXPECT_EQ(Dump(node), L"{i=i1,p=U}");
}

// ---------------------------------------------------------------- ordering

TEST(Node, IteratesInUtf16CodeUnitOrder) {
    Node node;
    // Inserted out of order; U+10000 (a surrogate pair) sorts before U+E000
    // and U+FFFF in code-unit order, although it is the larger code point.
    const std::vector<std::wstring> expected = {
        L"",     L"B",  L"Foo", L"a", std::wstring(L"a\0b", 3), L"ab", L"foo", L"\x00E9", L"\xD800\xDC00",
        L"\xE000", L"\xFFFF"};
    for (const wchar_t* key : {L"\xFFFF", L"foo", L"ab", L"\xD800\xDC00", L"B", L"", L"\x00E9", L"a", L"\xE000", L"Foo"})
        node.Get(std::wstring_view(key)) = 1;
    node.Get(std::wstring_view(L"a\0b", 3)) = 1;
    std::vector<std::wstring> keys;
    for (const auto& entry : node.entries()) keys.push_back(entry.first);
    EXPECT_EQ(keys, expected);
}

// ---------------------------------------------------------------- ownership

TEST(Ownership, SubtreesMoveWithoutCopying) {
    Node node;
    node.Get(L"a/b") = 7;
    Node* const subtree = node.Get(L"a").AsSubtree();
    ASSERT_NE(subtree, nullptr);
    node.Get(L"z") = std::move(node.Get(L"a"));
    EXPECT_EQ(node.Get(L"z").AsSubtree(), subtree);
    EXPECT_EQ(Dump(node), L"{a=U,z={b=i7}}");
}

TEST(Ownership, AMovedFromSubtreeEntryIsNoLongerASubtree) {
    Node node;
    node.Get(L"a/b") = 7;
    ConfigValue taken = std::move(node.Get(L"a"));
    EXPECT_EQ(taken.AsSubtree()->Get(L"b").AsInt(), 7);
    EXPECT_FALSE(node.Has(L"a", ValueType::Subtree));
    EXPECT_THROW(node.Get(L"a/b"), Node::KeyNotFound);
    EXPECT_EQ(Dump(node), L"{a=U}");
}

TEST(Ownership, AnEntryCanTakeAValueFromInsideItsOwnSubtree) {
    Node node;
    const std::wstring text(5000, L'q');
    node.Get(L"a/b/c") = text;
    node.Get(L"a") = std::move(node.Get(L"a/b/c"));
    EXPECT_EQ(node.Get(L"a").AsText(), text);
    node.Get(L"s/t/u") = 9;
    node.Get(L"s") = std::move(node.Get(L"s/t"));
    EXPECT_EQ(Dump(node), L"{a=s'" + text + L"',s={u=i9}}");
}

TEST(Ownership, SelfAssignmentKeepsTheValue) {
    Node node;
    node.Get(L"a/b") = 1;
    ConfigValue& a = node.Get(L"a");
    ConfigValue& same = a;
    a = std::move(same);
    EXPECT_EQ(Dump(node), L"{a={b=i1}}");
}

struct MoveCase {
    const char* name;
    const wchar_t* setupPath;
    const wchar_t* target;
    const wchar_t* source;
    std::wstring treeAfter;
};

class MoveIntoTreeTest : public ::testing::TestWithParam<MoveCase> {};

// A subtree moved into an entry of its own would own itself: refused, with
// both sides left as they were. Elsewhere the move goes through.
TEST_P(MoveIntoTreeTest, NeverMakesASubtreeOwnItself) {
    const MoveCase& c = GetParam();
    Node node;
    node.Get(c.setupPath) = 1;
    // The source is looked up first, so that the target may be made inside it.
    ConfigValue& source = node.Get(c.source);
    node.Get(c.target) = std::move(source);
    EXPECT_EQ(Dump(node), c.treeAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Moves, MoveIntoTreeTest,
    ::testing::Values(MoveCase{"ParentIntoChild", L"a/b", L"a/b", L"a", L"{a={b=i1}}"},
                      MoveCase{"GrandparentIntoGrandchild", L"a/b/c", L"a/b/c", L"a", L"{a={b={c=i1}}}"},
                      MoveCase{"ParentIntoNewChild", L"a/x", L"a/n", L"a", L"{a={n=U,x=i1}}"},
                      MoveCase{"MiddleIntoItsChild", L"a/b/c", L"a/b/c", L"a/b", L"{a={b={c=i1}}}"},
                      MoveCase{"IntoSibling", L"a/b", L"c", L"a", L"{a=U,c={b=i1}}"},
                      MoveCase{"IntoCousin", L"a/b/c", L"a/d", L"a/b", L"{a={b=U,d={c=i1}}}"}),
    test_support::CaseName<MoveCase>);

TEST(View64, SubtreesTakeTheViewOfTheNodeTheyAreMadeIn) {
    for (const bool view64 : {false, true}) {
        Node node(view64);
        node.Get(L"a/b/c") = 1;
        const Node* a = node.Get(L"a").AsSubtree();
        ASSERT_NE(a, nullptr);
        EXPECT_EQ(a->view64(), view64);
        EXPECT_EQ(node.Get(L"a/b").AsSubtree()->view64(), view64);
    }
}

TEST(Ownership, ASubtreeEntryWithoutANodeIsNoPath) {
    Node node;
    // A value built from no node still holds one.
    node.Get(L"made") = ConfigValue(std::unique_ptr<Node>());
    node.Get(L"made/x") = 1;
    EXPECT_EQ(Dump(node), L"{made={x=i1}}");
    // The fields are open to callers; a Subtree type without a node must not
    // be followed.
    ConfigValue& broken = node.Get(L"broken");
    broken.type = ValueType::Subtree;
    EXPECT_THROW(node.Get(L"broken/x"), Node::KeyNotFound);
    EXPECT_FALSE(node.Has(L"broken/x", ValueType::Unset));
    EXPECT_EQ(broken.AsSubtree(), nullptr);
}

// ---------------------------------------------------------------- view64

class View64Test : public ::testing::TestWithParam<bool> {};

TEST_P(View64Test, TakenAtConstruction) {
    registry_seam::Api api;
    api.is64BitWindows = GetParam();
    std::unique_ptr<Node> node;
    {
        registry_seam::ScopedApi seam(api);
        node = std::make_unique<Node>();
    }
    // The node keeps what it was given; without the seam, the system's
    // answer: true for the 32-bit tests under WoW64, false for a 64-bit process.
    EXPECT_EQ(node->view64(), GetParam());
    EXPECT_EQ(Node().view64(), sizeof(void*) == 4);
}

INSTANTIATE_TEST_SUITE_P(Views, View64Test, ::testing::Bool());

}  // namespace
