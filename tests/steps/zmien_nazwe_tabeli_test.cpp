// The table rename through a DAO handle on the open database: case-blind match, the
// new name as written, system tables never renamed, a taken name refused with both
// tables untouched, and the rename kept in the step's grouped write.
#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "dao/dao.h"
#include "jet/catalog.h"
#include "jet/database.h"
#include "steps/baza_kroku.h"

namespace kroki_test {
namespace {

class ZmienNazweTabeli : public BazaKroku {
  protected:
    void SetUp() override {
        Otworz(4.95);
        Sql("create table SRODKI_TRWALE (ID long, NAZWA text(50))");
        Sql("insert into SRODKI_TRWALE values (1, 'piec')");
        Sql("create table Inna (X long)");
        Sql("insert into Inna values (7)");
    }
    // The user tables' names as DAO lists them.
    static std::vector<std::string> Tabele() {
        auto baza = dao::DBEngine::OpenDatabase(polaczenie().Properties(7));
        std::vector<std::string> nazwy;
        for (int i = 0; i < baza->TableDefCount(); ++i)
            if (!baza->TableDefs(i).IsSystem()) nazwy.push_back(baza->TableDefs(i).Name());
        return nazwy;
    }
    static std::string Systemowa() {
        auto baza = dao::DBEngine::OpenDatabase(polaczenie().Properties(7));
        for (int i = 0; i < baza->TableDefCount(); ++i)
            if (baza->TableDefs(i).IsSystem()) return baza->TableDefs(i).Name();
        return "";
    }
};

TEST_F(ZmienNazweTabeli, RenamesByNameWithoutRegardToCase) {
    struct Przypadek {
        std::string stara, nowa;
        std::vector<std::string> tabele;
    };
    const std::vector<Przypadek> przypadki = {
        {"srodki_trwale", "Srodki_Trwale_Zawart", {"Inna", "Srodki_Trwale_Zawart"}},
        {"srodki_trwale_zawart", "SRODKI_TRWALE_ZAWART", {"Inna", "SRODKI_TRWALE_ZAWART"}},
        {"SRODKI_TRWALE", "NOWA", {"Inna", "SRODKI_TRWALE_ZAWART"}},  // no such table
    };
    for (const Przypadek& p : przypadki) {
        ASSERT_EQ(Uruchom([&] { k.Zmien_Nazwe_Tabeli(p.stara, p.nowa); }), "") << p.stara;
        EXPECT_EQ(Tabele(), p.tabele) << p.stara;
        EXPECT_EQ(k.BazaDAO, nullptr);
        EXPECT_EQ(status_line(3), "0");  // the three seconds counted down
    }
    EXPECT_EQ(Kolumna("select NAZWA from SRODKI_TRWALE_ZAWART"),
              (std::vector<std::string>{"piec"}));

    const std::string sys = Systemowa();
    ASSERT_FALSE(sys.empty());
    ASSERT_EQ(Uruchom([&] { k.Zmien_Nazwe_Tabeli(sys, "Zwykla"); }), "");
    EXPECT_EQ(Tabele(), (std::vector<std::string>{"Inna", "SRODKI_TRWALE_ZAWART"}));
}

TEST_F(ZmienNazweTabeli, ATakenNameIsRefusedAndBothTablesStay) {
    const std::string wynik = Uruchom([&] { k.Zmien_Nazwe_Tabeli("Srodki_Trwale", "INNA"); });
    EXPECT_NE(wynik.find("already exists"), std::string::npos) << wynik;
    EXPECT_NE(k.BazaDAO, nullptr);  // left open for the version loop to close
    k.BazaDAO.reset();
    EXPECT_EQ(Tabele(), (std::vector<std::string>{"Inna", "SRODKI_TRWALE"}));
    EXPECT_EQ(Kolumna("select X from Inna"), (std::vector<std::string>{"7"}));
    EXPECT_EQ(Kolumna("select NAZWA from SRODKI_TRWALE"), (std::vector<std::string>{"piec"}));
}

// A process killed after the rename, before the version loop commits the step, leaves
// the file as it was: a copy of the file and its journal shows the old name.
TEST_F(ZmienNazweTabeli, TheRenameWaitsForTheStepsCommit) {
    polaczenie().Checkpoint();
    ASSERT_EQ(Uruchom([&] { k.Zmien_Nazwe_Tabeli("SRODKI_TRWALE", "ST_NOWA"); }), "");
    const auto kopia = [&](const std::string& nazwa) {
        std::filesystem::create_directory(folder / nazwa);
        for (const char* f : {"baza.mdb", "baza.mdb-wal"})
            if (std::filesystem::exists(folder / f))
                std::filesystem::copy_file(folder / f, folder / nazwa / f);
        auto db = jet::Database::open((folder / nazwa / "baza.mdb").string(),
                                      std::string(kDatabasePassword));
        std::vector<std::string> nazwy;
        for (const jet::TableInfo* t : db->catalog().tables()) nazwy.push_back(t->name);
        std::sort(nazwy.begin(), nazwy.end());
        return nazwy;
    };
    EXPECT_EQ(kopia("przed"), (std::vector<std::string>{"Inna", "SRODKI_TRWALE"}));
    polaczenie().Checkpoint();
    EXPECT_EQ(kopia("po"), (std::vector<std::string>{"Inna", "ST_NOWA"}));
}

}  // namespace
}  // namespace kroki_test
