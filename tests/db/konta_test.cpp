#include "db/konta.h"

#include <gtest/gtest.h>

namespace {

TEST(Konta, CleanSegment) {
    std::string s = " --201- ";
    EXPECT_EQ(Obetnij_Myslniki(s), "201");
    EXPECT_EQ(s, "201") << "left in the caller's variable";
    for (const char* t : {"", "-", " - - ", "---"}) {
        std::string e = t;
        EXPECT_EQ(Obetnij_Myslniki(e), "") << t;
    }
    std::string inner = "- 2-0 -";
    EXPECT_EQ(Obetnij_Myslniki(inner), "2-0");
}

TEST(Konta, Split) {
    struct Case {
        const char* konto;
        const char *k1, *k2, *k3, *k4;
    } cases[] = {
        {"201-01-002", "201", "01", "002", ""},
        {"201--5", "201", "5", "", ""},
        {"20123-1", "2012", "1", "", ""},
        {"1-2-3-4-5", "1", "2", "3", "4-5"},
        {" 201 - 01 ", "201", "01", "", ""},
        {"-201-", "201", "", "", ""},
        {"", "", "", "", ""},
        {"ŁÓDŹ1-x", "ŁÓDŹ", "x", "", ""},  // cut to 4 characters, not bytes
    };
    for (const auto& c : cases) {
        std::string k1 = "?", k2 = "?", k3 = "?", k4 = "?";
        Rozdziel_Konto(c.konto, k1, k2, k3, k4);
        EXPECT_EQ(k1, c.k1) << c.konto;
        EXPECT_EQ(k2, c.k2) << c.konto;
        EXPECT_EQ(k3, c.k3) << c.konto;
        EXPECT_EQ(k4, c.k4) << c.konto;
    }
}

TEST(Konta, Join) {
    std::string k1 = " 201 ", k2 = "", k3 = "-5-", k4 = " ";
    EXPECT_EQ(Zlacz_Konto(k1, k2, k3, k4), "201-5");
    EXPECT_EQ(k1 + "|" + k3, "201|5") << "cleaned in place";
    std::string e1, e2 = "01", e3, e4;
    EXPECT_EQ(Zlacz_Konto(e1, e2, e3, e4), "-01") << "an empty first segment still leads";
}

TEST(Konta, DocumentSymbols) {
    struct Case {
        int16_t kod;
        const char* symbol;
    } cases[] = {{10, "ZV"}, {13, "KZ"}, {96, "KZ"}, {23, "KS"}, {95, "KS"}, {31, "KFS"},
                 {83, "V7"}, {84, "V7"}, {58, "BW"}, {70, "PR"}, {16, "WW"}, {17, "WW"},
                 {19, "WW"}, {0, "WW"},  {-1, "WW"}, {97, "WW"}};
    for (const auto& c : cases) EXPECT_EQ(Symbol_Dokumentu(c.kod), c.symbol) << c.kod;
}

}  // namespace
