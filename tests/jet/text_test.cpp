#include "jet/text.h"

#include <gtest/gtest.h>
#include <unicode/coll.h>
#include <unicode/locid.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

namespace text = jet::text;

int sign(int x) {
    return x < 0 ? -1 : (x > 0 ? 1 : 0);
}

// The comparison as the plain collator gives it, without any fast path: equal when
// the folded texts are equal, else the Polish collator at secondary strength, ties
// broken by bytes.
int reference_compare(const std::string& a, const std::string& b) {
    static std::unique_ptr<icu::Collator> coll = [] {
        UErrorCode st = U_ZERO_ERROR;
        std::unique_ptr<icu::Collator> c(
            icu::Collator::createInstance(icu::Locale("pl", "PL"), st));
        c->setStrength(icu::Collator::SECONDARY);
        c->setAttribute(UCOL_ALTERNATE_HANDLING, UCOL_NON_IGNORABLE, st);
        return c;
    }();
    if (text::fold(a) == text::fold(b)) return 0;
    UErrorCode st = U_ZERO_ERROR;
    UCollationResult r = coll->compareUTF8(a, b, st);
    if (r == UCOL_EQUAL) return a < b ? -1 : 1;
    return r == UCOL_LESS ? -1 : 1;
}

TEST(TextCompare, PolishOrderWithoutCase) {
    struct Row {
        const char* a;
        const char* b;
        int order;
    } rows[] = {
        {"a", "ą", -1},     {"ą", "b", -1},        {"l", "ł", -1},
        {"ł", "m", -1},     {"łza", "lzy", 1},     {"c", "ć", -1},
        {"ć", "d", -1},     {"e", "ę", -1},        {"n", "ń", -1},
        {"o", "ó", -1},     {"ó", "p", -1},        {"s", "ś", -1},
        {"z", "ź", -1},     {"ź", "ż", -1},        {"A", "a", 0},
        {"Ą", "ą", 0},      {"ŁÓDŹ", "łódź", 0},   {"a", "a ", -1},
        {"ą", "a", 1},      {"", "a", -1},         {"", "", 0},
        {"1", "a", -1},     {"Zając", "zajac", 1}, {"ab", "AB", 0},
        {"abc", "abd", -1}, {"a-b", "ab", -1},     {"STRASSE", "straße", 0},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(sign(text::compare(r.a, r.b)), r.order) << r.a << " vs " << r.b;
        EXPECT_EQ(sign(text::compare(r.b, r.a)), -r.order) << r.b << " vs " << r.a;
        EXPECT_EQ(sign(text::compare(r.a, r.b)), reference_compare(r.a, r.b))
            << r.a << " vs " << r.b;
    }
}

// The ASCII fast path must give exactly the collator's order: random texts over all
// ASCII characters (controls, which the collator ignores, included), short and
// sharing prefixes so that ties and near ties are frequent.
TEST(TextCompare, AsciiFastPathMatchesTheCollator) {
    std::mt19937 rng(12345);
    const std::string common = "aAbB zZ09-_.,'";
    auto random_text = [&](int max_len) {
        std::string s;
        const int n = static_cast<int>(rng() % static_cast<unsigned>(max_len + 1));
        for (int i = 0; i < n; ++i)
            s.push_back(rng() % 3 == 0 ? static_cast<char>(rng() % 128)
                                       : common[rng() % common.size()]);
        return s;
    };
    for (int k = 0; k < 200000; ++k) {
        std::string a = random_text(6), b;
        switch (k % 3) {
            case 0:
                b = random_text(6);
                break;
            case 1:
                b = a + random_text(2);
                break;
            default:
                b = a;
                if (!b.empty()) b[rng() % b.size()] = static_cast<char>(rng() % 128);
        }
        ASSERT_EQ(sign(text::compare(a, b)), reference_compare(a, b))
            << testing::PrintToString(a) << " vs " << testing::PrintToString(b);
    }
}

// Texts mixing Polish letters, decomposed accents and ASCII take the collator's
// path; the result must not depend on which path is taken.
TEST(TextCompare, MixedTextsMatchTheCollator) {
    std::mt19937 rng(777);
    const std::vector<std::string> pieces = {"a", "A", "ą", "Ą", "l",       "ł", "Ł",  "z", "ż",
                                             "ź", "o", "ó", " ", "a\u0328", "ß", "ss", "ſ", "s", "1", "-", "Σ", "ς", "σ"};
    auto random_text = [&] {
        std::string s;
        const int n = static_cast<int>(rng() % 5);
        for (int i = 0; i < n; ++i) s += pieces[rng() % pieces.size()];
        return s;
    };
    for (int k = 0; k < 50000; ++k) {
        std::string a = random_text(), b = random_text();
        ASSERT_EQ(sign(text::compare(a, b)), reference_compare(a, b)) << a << " vs " << b;
    }
}

TEST(TextCase, PolishUpperAndLower) {
    EXPECT_EQ(text::upper("zażółć gęślą jaźń"), "ZAŻÓŁĆ GĘŚLĄ JAŹŃ");
    EXPECT_EQ(text::lower("ZAŻÓŁĆ GĘŚLĄ JAŹŃ"), "zażółć gęślą jaźń");
    EXPECT_EQ(text::upper("abc-xyz 09"), "ABC-XYZ 09");
    EXPECT_EQ(text::fold("FPŁAT_ID"), "fpłat_id");
    EXPECT_TRUE(text::same_name("FPŁAT_ID", "fpłat_id"));
    EXPECT_FALSE(text::same_name("a", "ą"));
}

}  // namespace
