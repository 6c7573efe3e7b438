#include "db/schemat.h"

#include <gtest/gtest.h>

#include "awaria_zapisu.h"
#include "dao/dao.h"
#include "db/komunikaty.h"
#include "db/wykonaj.h"
#include "db_env.h"

namespace {

class Schemat : public DbEnv {
  protected:
    void SetUp() override {
        DbEnv::SetUp();
        otworz_baze({"CREATE TABLE D (id long, nr TEXT(10), x long)",
                     "INSERT INTO D (id, nr, x) VALUES (1, 'a', 1)",
                     "INSERT INTO D (id, nr, x) VALUES (1, 'b', 2)"});
    }
    // The indexes of a table as "name:primary:unique:columns".
    std::vector<std::string> indeksy(const std::string& tabela) {
        auto db = dao::DBEngine::OpenDatabase(baza);
        std::vector<std::string> w;
        for (const auto& i : db->TableDefs(tabela).Indexes()) {
            std::string k;
            for (const auto& f : i.Fields) k += (k.empty() ? "" : ",") + f;
            w.push_back(i.Name + ":" + (i.Primary ? "P" : "") + ":" + (i.Unique ? "U" : "") + ":" +
                        k);
        }
        db->Close();
        std::sort(w.begin(), w.end());
        return w;
    }
};

TEST_F(Schemat, PrimaryKeyOnDuplicatesFailsAndStopEnds) {
    EXPECT_EQ(Utworz_Klucz_Podstawowy("D", "id,nr", 0), "");
    EXPECT_EQ(indeksy("D"), std::vector<std::string>{"Podstawowy:P:U:id,nr"});
    // Created again over itself: the old key is dropped first.
    EXPECT_EQ(Utworz_Klucz_Podstawowy("D", "id,x", 0), "");
    EXPECT_EQ(indeksy("D"), std::vector<std::string>{"Podstawowy:P:U:id,x"});

    // Rows that the key cannot take end the run, stop flag or not, naming one of them.
    EXPECT_EQ(koniec([&] { Utworz_Klucz_Podstawowy("D", "id", 0); }), platform::exit_status::fatal);
    ASSERT_EQ(okna.size(), 1u);
    EXPECT_EQ(okna[0].styl, vbCritical);
    EXPECT_NE(okna[0].tekst.find("Table and key: D (id).). Wiersze: id = 1 (2 wiersze)."),
              std::string::npos);
    EXPECT_EQ(znacznik(), "0000");
}

TEST_F(Schemat, IndexesAndTheirDrops) {
    std::string pola;
    EXPECT_EQ(Utworz_Index("nr", "D", pola), "");
    EXPECT_EQ(pola, "nr");  // written back
    EXPECT_EQ(Utworz_Index("indx", "D", "x"), "");
    EXPECT_EQ(Utworz_Index_Unikalny("UnicNumer", "D", "nr"), "");
    EXPECT_EQ(indeksy("D"), (std::vector<std::string>{"UnicNumer::U:nr", "indx:::x", "nr:::nr"}));
    Usun_Index("UnicNumer", "D");
    Usun_Index("brak", "D", -1);  // a missing index is absorbed below, even with stop
    EXPECT_EQ(indeksy("D"), (std::vector<std::string>{"indx:::x", "nr:::nr"}));

    // A drop that meets a table a statement of the program still reads (the provider's
    // unspecified failure, no failure of the environment) is logged as that failure, not
    // as a lost connection, and the column stays.
    const jet::Error w_uzyciu = jet::make_error(jet::Fault::TableLocked, "D");
    {
        Awaria_Zapisu a(w_uzyciu, 1, 2);  // the column's drop, after its indexes'
        Usun_Pole("D", "id");
    }
    std::string opis = w_uzyciu.description();
    std::replace(opis.begin(), opis.end(), '\'', '"');  // as the log writes it
    EXPECT_NE(log().back().find(",Alter table D drop COLUMN id,DbWykonajNoError,Error: " +
                                std::to_string(w_uzyciu.signed_number()) + "(" + opis + "),"),
              std::string::npos)
        << log().back();
    Usun_Pole("D", "x");
    Usun_Pole("D", "nr");
    Usun_Pole("D", "brak");
    EXPECT_TRUE(indeksy("D").empty());
    EXPECT_EQ(wiersze("SELECT * FROM D ORDER BY id"), (std::vector<std::string>{"1", "1"}));
    EXPECT_TRUE(okna.empty());
}

TEST_F(Schemat, TablesAreCreatedAfreshWithTheirKeys) {
    Utworz_Tabele("D", "id long, nr TEXT(10)", "id");
    EXPECT_TRUE(wiersze("SELECT * FROM D").empty());
    EXPECT_EQ(indeksy("D"), std::vector<std::string>{"Podstawowy:P:U:id"});

    Utworz_Tabele("DOK_FA", "id long, nr TEXT(10)", "");
    Utworz_Tabele("DOK_FA_ZAWART", "id long, lp long", "");
    Utworz_Klucze_Z_Zawart("DOK_FA", "id", "lp");
    EXPECT_EQ(indeksy("DOK_FA"), std::vector<std::string>{"Podstawowy:P:U:id"});
    EXPECT_EQ(indeksy("DOK_FA_ZAWART"), std::vector<std::string>{"Podstawowy:P:U:id,lp"});
    EXPECT_TRUE(okna.empty());
}

}  // namespace
