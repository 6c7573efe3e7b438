// The executors' failure rules: which failure of which statement a rule picks out.
#include "db/wykonawca.h"

#include <gtest/gtest.h>

#include <optional>

#include "db/wykonaj.h"

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
        {Syntax, "Syntax error", "UPDATE t SET b='DROP ' WHERE x=1", false},  // in a value
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

// A failure of the environment is picked out by its number and description, raised or
// carried as a result text, and no rule absorbs it, however broad.
TEST(Regula_Bledu, EnvironmentFailuresMatchNoRule) {
    struct Przypadek {
        jet::Error blad;
        bool srodowisko;
    } przypadki[] = {
        {jet::make_error(jet::Fault::FileLocked), true},
        {jet::make_error(jet::Fault::DiskFull), true},
        {jet::make_error(jet::Fault::ReadOnlyDatabase), true},
        {jet::make_error(jet::Fault::ReadOnlyFolder, "/mnt/ro/baza.mdb"), true},
        {jet::make_error(jet::Fault::IoError), true},
        {jet::make_error(jet::Fault::CannotOpen, "/srv/dane/baza.mdb"), true},
        {jet::make_error(jet::Fault::UnrecognizedDatabase, "/srv/dane/baza.mdb"), true},
        // SQLite's words for an I/O error in a text are no I/O error: its code decides
        {jet::make_error(jet::Fault::Internal, "disk I/O error"), false},
        {jet::make_error(jet::Fault::UnitRolledBack), true},      // after such a failure
        {jet::Error(Unspecified, "Could not lock file."), true},  // built from number and text
        {jet::make_error(jet::Fault::Duplicate), false},
        {jet::make_error(jet::Fault::TableLocked, "T"), false},  // within the process
        {jet::make_error(jet::Fault::Internal, "the database is closed"), false},
        {jet::Error(Syntax, "Could not lock file."), false},
        {jet::Error(Unspecified, "Could not lock file. Or not."), false},
    };
    constexpr Regula_Bledu kWszystko[] = {{0, "", ""}};
    for (const auto& p : przypadki) {
        SCOPED_TRACE(p.blad.description());
        const Wynik_Polecenia w = Wynik_Bledu(p.blad);
        EXPECT_EQ(Awaria_Srodowiska(w), p.srodowisko);
        EXPECT_EQ(Awaria_Srodowiska(w.tekst), p.srodowisko);
        // Rows that would repeat a key go to the key's rule, never to a rule of failures.
        EXPECT_EQ(Pasuje(kWszystko, w, "UPDATE t SET a = 1"),
                  !p.srodowisko && w.blad != jet::Fault::Duplicate);
    }
    EXPECT_FALSE(Awaria_Srodowiska(std::string_view("1")));
    EXPECT_FALSE(Awaria_Srodowiska(std::string_view("")));
}

// A result text reads back as the failure it was written from; other texts carry none.
TEST(Regula_Bledu, ResultTextReadsBackAsItsFailure) {
    for (const jet::Error& e :
         {jet::make_error(jet::Fault::MissingParameter),  // a description holding "(...)"
          jet::make_error(jet::Fault::DiskFull), jet::Error(Syntax, ""), jet::Error(5, "x")}) {
        SCOPED_TRACE(e.description());
        const std::optional<jet::Error> z = failure_of_result_text(result_text(e));
        ASSERT_TRUE(z);
        EXPECT_EQ(z->number(), e.number());
        EXPECT_EQ(z->description(), e.description());
    }
    for (const char* tekst : {"", "1", "-2147467259", "-2147467259(otwarty", "x(y)", "(y)",
                              "-2147467259 (Could not lock file.)"})
        EXPECT_FALSE(failure_of_result_text(tekst)) << tekst;
    // The lost-connection text carries its failure's description after the result text of
    // its own.
    EXPECT_EQ(lost_connection_text(jet::make_error(jet::Fault::FileLocked)),
              "-2147467259(Zostało utracone połączenie z bazą lub jest ona zablokowana !) "
              "Could not lock file.");
}

}  // namespace
