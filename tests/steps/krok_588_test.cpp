// Step 5.88 on a database of version 5.87: contractor dictionaries, personnel options and
// discount rows taken out of the contractor table.
#include <string>
#include <vector>

#include "steps/baza_kroku.h"

namespace kroki_test {
namespace {

constexpr const char* kActy[] = {
    "Act_SZam", "Act_DD",  "Act_DZ",  "Act_Fzb",  "Act_Fwe", "Act_Par", "Act_Dar",  "Act_SPF",
    "Act_RW",   "Act_PW",  "Act_Fis", "Act_ZZam", "Act_PZ",  "Act_WZ",  "Act_Zak",  "Act_Rac",
    "Act_Frr",  "Act_ZPF", "Act_Nal", "Act_Zob",  "Act_Kas", "Act_Ban", "Act_SNal", "Act_SZob"};

std::string Kierowcy(const std::string& typ) {
    std::string k;
    for (int g : {0, 100, 200})
        for (int i = 1; i <= 9; ++i) k += ", kier_id" + std::to_string(g + i) + typ;
    return k;
}

class Krok588 : public BazaKroku {
  protected:
    void SetUp() override {
        Otworz(5.87);
        std::string kolumny =
            "konh_id long, Powiat text(50), Region text(50), KONH_miejscowosc text(50), "
            "konh_naz_bank text(50), Przedstawiciel text(50), Podpis text(50), Rabat money, UBE "
            "byte, UBR byte, UBC byte, UBW byte, UBZ byte, KartaStP byte, KartaCzP byte, kodzus "
            "text(6), Etat text(20)";
        for (const char* a : kActy) kolumny += std::string(", ") + a + " logical";
        Sql("create table kontrahenci (" + kolumny + Kierowcy(" long") + ")");
        Sql("create table KADRY_OPCJE (ID_PRAC long)");
        Sql("create table kontrahenci_rabaty (Konh_id long, Id_GR_prod long, PrRabat money" +
            Kierowcy(" long") + ")");
    }
    static void Kontrahent(int id, const std::string& powiat, int kier) {
        Sql("insert into kontrahenci (konh_id, Powiat, Rabat, UBE, kodzus, kier_id1, kier_id105, "
            "kier_id209) values (" +
            std::to_string(id) + ", " + powiat + ", " + std::to_string(id) + ", 1, '0110', " +
            std::to_string(kier) + ", " + std::to_string(kier + 1) + ", " +
            std::to_string(kier + 2) + ")");
    }
};

TEST_F(Krok588, ContractorColumnsMoveToDictionariesOptionsAndDiscountRows) {
    Kontrahent(1, "'A'", 10);
    Kontrahent(2, "'A'", 20);
    Kontrahent(3, "Null", 30);
    Sql("insert into kontrahenci_rabaty (Konh_id, Id_GR_prod, PrRabat) values (2, 4, 7)");
    Sql("insert into kontrahenci_rabaty (Konh_id, Id_GR_prod, PrRabat) values (2, 5, 8)");
    Sql("insert into KADRY_OPCJE values (1)");
    Sql("insert into KADRY_OPCJE values (9)");  // no contractor: untouched
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_588), "");

    EXPECT_EQ(Wiersze_Z("select Nazwa from S_Inne where ID_slownka=1 order by Nazwa"),
              (Wiersze{{"Null"}, {"A"}}));
    EXPECT_EQ(Wiersze_Z("select ID_PRAC, UBE, kodzus from KADRY_OPCJE order by ID_PRAC"),
              (Wiersze{{"1", "1", "0110"}, {"9", "Null", "Null"}}));
    EXPECT_EQ(Wiersze_Z("select Konh_id, Id_GR_prod, PrRabat, kier_id1, kier_id105, kier_id209 "
                        "from kontrahenci_rabaty order by Konh_id, Id_GR_prod"),
              (Wiersze{{"1", "0", "1", "10", "11", "12"},
                       {"2", "4", "7", "20", "21", "22"},
                       {"2", "5", "8", "20", "21", "22"},
                       {"3", "0", "3", "30", "31", "32"}}));
    // What stays of the contractor table.
    EXPECT_TRUE(
        Czyta_Sie("select Powiat, Region, KONH_miejscowosc, konh_naz_bank, "
                  "Przedstawiciel, Podpis, Rabat, kier_id1, Grupa_Zamowien from kontrahenci"));
    std::vector<std::string> usuniete = {"UBE",      "UBR",      "UBC",    "UBW", "UBZ",
                                         "KartaStP", "KartaCzP", "kodzus", "Etat"};
    for (const char* a : kActy) usuniete.emplace_back(a);
    for (int g : {0, 100, 200})
        for (int i = g == 0 ? 2 : 1; i <= 9; ++i)
            usuniete.push_back("kier_id" + std::to_string(g + i));
    ASSERT_EQ(usuniete.size(), 59u);
    for (const auto& k : usuniete)
        EXPECT_FALSE(Czyta_Sie("select [" + k + "] from kontrahenci")) << k;
}

}  // namespace
}  // namespace kroki_test
