// The executors' failure rules: which failure of which statement a rule picks out.
#include "db/wykonawca.h"

#include <gtest/gtest.h>

namespace {

using jet::hr::MissingParameter;
using jet::hr::Syntax;
using jet::hr::Unspecified;

TEST(Regula_Bledu, MatchesNumberStatementKeywordAndDescription) {
    constexpr Regula_Bledu kReguly[] = {
        {Syntax, "DROP ", ""},
        {0, "", "already exists"},
        {MissingParameter, "", ""},
        {Unspecified, "CREATE UNIQUE", "locked"},
    };
    struct Przypadek {
        uint32_t numer;
        const char* opis;
        const char* polecenie;
        bool pasuje;
    } przypadki[] = {
        {Syntax, "Syntax error", "drop index a on t", true},  // keyword on the upper-cased text
        {Syntax, "Syntax error", "ALTER TABLE t ADD x long", false},
        {Syntax, "Syntax error", "DROP", false},  // the keyword's blank belongs to it
        {Unspecified, "Table 'T' already exists.", "create table t (a long)", true},   // any number
        {Unspecified, "Table 'T' Already Exists.", "create table t (a long)", false},  // exact case
        {MissingParameter, "No value given", "UPDATE t SET x=1", true},
        {Unspecified, "File locked", "create unique index i on t (a)", true},
        {Unspecified, "File locked", "create index i on t (a)", false},
        {Unspecified, "Lost", "create unique index i on t (a)", false},  // both must hold
    };
    for (const auto& p : przypadki) {
        SCOPED_TRACE(std::string(p.polecenie) + " / " + p.opis);
        const Wynik_Polecenia w{"x", p.numer, p.opis};
        EXPECT_EQ(Pasuje(kReguly, w, p.polecenie), p.pasuje);
    }
    EXPECT_FALSE(Pasuje({}, Wynik_Polecenia{"x", Syntax, "e"}, "DROP TABLE t"));
}

TEST(Regula_Bledu, FailureKeepsItsNumberDescriptionAndText) {
    const Wynik_Polecenia w = Wynik_Bledu(jet::Error(Syntax, "Syntax error in FROM clause."));
    EXPECT_EQ(w.numer, Syntax);
    EXPECT_EQ(w.opis, "Syntax error in FROM clause.");
    EXPECT_EQ(w.tekst, "-2147217900(Syntax error in FROM clause.)");
}

}  // namespace
