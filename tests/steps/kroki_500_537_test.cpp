// Steps 5.00 to 5.37 on databases built with the tables they read: the movement
// documents and their kinds, short kind codes of settlement lines, gross prices of
// production receipts, the issuer per user, asset lines linked to purchase lines, and
// recipes split into headers and lines.
#include <string>
#include <vector>

#include "steps/baza_kroku.h"

namespace kroki_test {
namespace {

class Kroki500 : public BazaKroku {
  protected:
    void SetUp() override { Otworz(4.99); }
};

TEST_F(Kroki500, MovementDocumentsCopyTheReturnsAndTheirKindsAreFixed) {
    Sql("create table DOK_DZ (DDOUT_ID long, DDOUT_NUMER text(20), smz_id long, DDOUT_DATA_WYST "
        "datetime, num_ndok long, Zbiorczy_id long, DDOUT_DO_ROZLICZENIA logical)");
    Sql("insert into DOK_DZ (DDOUT_ID, DDOUT_NUMER) values (1, 'Z/1')");
    Sql("create table DOK_DZ_ZAWART (ddout_id long, PROD_ID long, ZDDOUT_CENA_N money)");
    Sql("create table sposob_numeracji (sm_id long)");
    Sql("create table STANY_MAGAZYNOWE (prod_id long)");
    Sql("create table S_KONTA_POLACZONE (NR_K_1 text(10), Countt long)");
    Sql("insert into S_KONTA_POLACZONE values ('A', 7)");
    Sql("insert into S_KONTA_POLACZONE values ('B', 7)");
    Sql("create table Dok_pro (DDOUT_ID long, DDOUT_NUMER text(20), smz_id long, "
        "DDOUT_DATA_WYST datetime, num_ndok long, Zbiorczy_id long, DDOUT_DO_ROZLICZENIA "
        "logical)");
    Sql("insert into Dok_pro (DDOUT_ID, DDOUT_NUMER) values (1, 'P/1')");
    Sql("insert into Dok_pro (DDOUT_ID, DDOUT_NUMER) values (2, 'P/1')");
    Sql("create table s_GRUPY_ZWROTOW (id long)");

    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_502), "");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_507), "");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_502), "");  // a repeated step empties the copies

    for (const char* t : {"DOK_MP", "DOK_MPp", "DOK_MW"}) {
        EXPECT_EQ(Kolumna(std::string("select count(*) from ") + t), std::vector<std::string>{"0"})
            << t;
        EXPECT_TRUE(Czyta_Sie(std::string("select z.PROD_ID, n.Zbiorczy_id from ") + t +
                              "_ZAWART as z, " + t + " as n"));
    }
    EXPECT_TRUE(Czyta_Sie("select nag_mp, nag_mpp, nag_mw from sposob_numeracji"));
    EXPECT_TRUE(Czyta_Sie("select MP, MW, Mpp from STANY_MAGAZYNOWE"));
    // A header with two equal numbers keeps its rows and lacks the unique index.
    EXPECT_EQ(Kolumna("select count(*) from Dok_pro"), std::vector<std::string>{"2"});
    Sql("insert into DOK_MP (DDOUT_ID, DDOUT_NUMER) values (1, 'M/1')");
    EXPECT_NE(Uruchom([] { Sql("insert into DOK_MP (DDOUT_ID, DDOUT_NUMER) values (2, 'M/1')"); }),
              "");
    EXPECT_EQ(Kolumna("select Countt from S_KONTA_POLACZONE order by NR_K_1"),
              (std::vector<std::string>{"1", "2"}));
    EXPECT_EQ(Wiersze_Z("select ID_MWP, NAZWA, Magazyn2 from S_Rodzaj_MWP order by ID_MWP"),
              (Wiersze{{"0", "Pozostale", "False"},
                       {"1", "Kierowcy", "True"},
                       {"2", "Zniszczono", "False"},
                       {"3", "Reklama", "False"}}));
}

TEST_F(Kroki500, SettlementLinesTakeShortKindCodes) {
    Sql("create table dok_fin_zawart (id long, rodzaj_dok text(20))");
    Sql("create table DRUKARKI (id long)");
    const std::vector<std::pair<const char*, const char*>> kody = {{"Zakup", "ZV"},
                                                                   {"Zakup RR", "ZR"},
                                                                   {"korekta zak +", "KZ+"},
                                                                   {"ZA", "ZV"},
                                                                   {"Faktura VAT", "Faktura VAT"},
                                                                   {"VAT7 -", "V7-"},
                                                                   {"Kasa Fiskalna", "KF"}};
    for (size_t i = 0; i < kody.size(); ++i)
        Sql("insert into dok_fin_zawart values (" + std::to_string(i) + ", '" + kody[i].first +
            "')");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_516), "");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_519), "");
    std::vector<std::string> oczekiwane;
    for (const auto& [stary, nowy] : kody) oczekiwane.push_back(nowy);
    EXPECT_EQ(Kolumna("select rodzaj_dok from dok_fin_zawart order by id"), oczekiwane);
}

TEST_F(Kroki500, GrossPricesOfProductionReceiptsByRate) {
    Sql("create table DOK_PW_ZAWART (id long, ZDDOUT_CENA_N money, ZDDOUT_ILOSC single, "
        "ZDDOUT_VAT text(3))");
    Sql("insert into DOK_PW_ZAWART values (1, 10, 3, '22')");
    Sql("insert into DOK_PW_ZAWART values (2, 10, 3, 'zw')");
    Sql("insert into DOK_PW_ZAWART values (3, 10, 3, '12')");
    Sql("insert into DOK_PW_ZAWART values (4, 10, 3, '0')");
    Sql("insert into DOK_PW_ZAWART values (5, 10, 3, '7')");
    Sql("insert into DOK_PW_ZAWART values (6, Null, 3, '22')");  // a price not given: 0
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_528), "");
    Sql("update DOK_PW_ZAWART set WSPRZ_CENA_BRUTTO=1 where id=5");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_528), "");  // set prices are left alone
    EXPECT_EQ(Wiersze_Z("select WSPRZ_CENA_BRUTTO, WSPRZ_WARTOSC_BRUTTO from DOK_PW_ZAWART "
                        "order by id"),
              (Wiersze{{"12,2", "36,6"},
                       {"10", "30"},
                       {"Null", "Null"},
                       {"10", "30"},
                       {"1", "32,1"},
                       {"0", "0"}}));
}

TEST_F(Kroki500, IssuerOfEveryUserIsAUserSetting) {
    Sql("create table UZYTKOWNICY (nazwisko_uzytkownika text(50), Imie text(30), Nazwisko "
        "text(50))");
    Sql("create table uzytkownicy_setup (Nazwa text(50), Wartosc text(255), Users text(50))");
    Sql("insert into UZYTKOWNICY values ('ADMIN', 'Anna', 'Nowak')");
    Sql("insert into UZYTKOWNICY values ('kasa', Null, 'Kowal')");
    Sql("insert into uzytkownicy_setup values ('SET_KTO_WYSTAWIA_DOKUMENTY', 'stary', 'ADMIN')");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_530), "");
    EXPECT_EQ(Wiersze_Z("select Nazwa, Users, Wartosc from uzytkownicy_setup order by Users"),
              (Wiersze{{"SET_KTO_WYSTAWIA_DOKUMENTY", "ADMIN", "Anna Nowak"},
                       {"SET_KTO_WYSTAWIA_DOKUMENTY", "KASA", ""}}));
}

TEST_F(Kroki500, AssetLinesLinkToTheirPurchaseOrCorrectionLine) {
    Sql("create table DOK_ZAK_ZAWART (Numer_id long, sur_ID long, Wart_n money, Cena_n money)");
    Sql("create table DOK_KFA_ZAWART (id long)");
    Sql("create table DOK_KZA_ZAWART (Countt counter, FKOROUT_ID long, prod_ID long, "
        "ZFKOROUT_CENA_N money)");
    Sql("create table SRODKI_TRWALE_ZAWART (n long, id_dok long, id_prod long, Wartosc money, "
        "CalyAsortyment logical, rodzaj text(1))");
    // Purchase 1, product 5: line 1 worth 100 at 12,5 a piece, line 2 worth 12,5 at 100.
    Sql("insert into DOK_ZAK_ZAWART values (1, 5, 100, '12,5')");
    Sql("insert into DOK_ZAK_ZAWART values (1, 5, '12,5', 100)");
    Sql("insert into DOK_KZA_ZAWART (FKOROUT_ID, prod_ID, ZFKOROUT_CENA_N) values (2, 6, 40)");
    Sql("insert into DOK_KZA_ZAWART (FKOROUT_ID, prod_ID, ZFKOROUT_CENA_N) values (2, 6, 30)");
    for (const char* w :
         {"1, 1, 5, 100, -1, 'x'", "2, 1, 5, 100, 0, 'x'", "3, 1, 5, '12,5', -1, 'x'",
          "4, 1, 5, 7, 0, 'x'", "5, 2, 6, 30, Null, 'x'", "6, 0, 5, 100, -1, 'x'",
          "7, 3, 6, 30, -1, 'x'"})
        Sql(std::string("insert into SRODKI_TRWALE_ZAWART values (") + w + ")");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_532), "");
    EXPECT_EQ(
        Wiersze_Z("select Prod_Countt, rodzaj from SRODKI_TRWALE_ZAWART order by n"),
        (Wiersze{
            {"1", "Z"}, {"2", "Z"}, {"2", "Z"}, {"1", "Z"}, {"2", "K"}, {"0", "x"}, {"0", "x"}}));
}

TEST_F(Kroki500, RecipesBecomeHeadersWithTheirLines) {
    Sql("create table DOK_FIN_zawart (id long)");
    Sql("insert into DOK_FIN_zawart values (1)");
    Sql("create table DOK_PRS_ZAWART_ROZBICIE (id long)");
    Sql("create table PRODUKTY_RECEPTURY (Countt counter, pprod_nazwa_id long, prod_id long, "
        "sur_id long, ilosc single)");
    Sql("create table PRODUKTY_kalkulacja (prod_id long, kalkulacja text(10), koszt money)");
    Sql("create table PRODUKTY (PROD_ID long)");
    for (const char* p : {"1", "2", "3", "4"})
        Sql(std::string("insert into PRODUKTY values (") + p + ")");
    // A line of no product names none (0) under the lines' key.
    for (const char* w : {"1, 10, 1", "1, 11, 2", "2, 10, 3", "4, 10, 1", "Null, 12, 1"})
        Sql(std::string("insert into PRODUKTY_RECEPTURY (prod_id, sur_id, ilosc) values (") + w +
            ")");
    Sql("insert into PRODUKTY_kalkulacja values (1, 'k', 5)");
    Sql("insert into PRODUKTY_kalkulacja values (3, 'k', 6)");
    Sql("insert into PRODUKTY_kalkulacja values (4, 'a', 7)");
    Sql("insert into PRODUKTY_kalkulacja values (4, 'b', 8)");
    Sql("insert into PRODUKTY_kalkulacja values (Null, 'c', 9)");  // of no product: of 0
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_537), "");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_537), "");  // a second run leaves them as they are
    EXPECT_EQ(Wiersze_Z("select prod_id, koszt, Active, DATAod from PRODUKTY_RECEPTURY order by "
                        "prod_id, koszt"),
              (Wiersze{{"0", "9", "True", "1990-01-01"},
                       {"1", "5", "True", "1990-01-01"},
                       {"2", "Null", "True", "1990-01-01"},
                       {"3", "6", "True", "1990-01-01"},
                       {"4", "7", "True", "1990-01-01"},
                       {"4", "8", "True", "1990-01-01"}}));
    // Every line of a product carries its product's header id; a line of no product
    // makes no header of no product.
    EXPECT_EQ(Kolumna("select count(*) from PRODUKTY_RECEPTURY_ZAWART as z left join "
                      "PRODUKTY_RECEPTURY as r on z.id_receptury=r.id_receptury and "
                      "z.prod_id=r.prod_id where z.prod_id is not null and (r.prod_id is null "
                      "or z.active<>-1)"),
              std::vector<std::string>{"0"});
    // Product 4's line goes to its first header (cost 7), not to the last one joined.
    EXPECT_EQ(Kolumna("select r.koszt from PRODUKTY_RECEPTURY_ZAWART as z inner join "
                      "PRODUKTY_RECEPTURY as r on z.id_receptury=r.id_receptury where z.prod_id=4"),
              std::vector<std::string>{"7"});
    EXPECT_FALSE(Jest_Tabela("PRODUKTY_kalkulacja"));
    EXPECT_FALSE(Jest_Tabela("DOK_PRS_ZAWART_ROZBICIE"));
    EXPECT_EQ(Kolumna("select Id_bazy from DOK_FIN_zawart"), std::vector<std::string>{"0"});
    EXPECT_TRUE(Czyta_Sie("select Okruchy from PRODUKTY_RECEPTURY"));
}

}  // namespace
}  // namespace kroki_test

namespace kroki_test {
namespace {

TEST_F(Kroki500, KindNumbersAndPurchaseNumbersByKind) {
    for (const char* t : {"Dok_dd", "Dok_dz", "Dok_dar", "Dok_rw", "Dok_pw", "Dok_pz", "Dok_wz"})
        Sql(std::string("create table ") + t + " (ddout_id long)");
    Sql("create table Dok_fwe (fakout_id long)");
    Sql("create table place_listy_zawart (id_listy long, idp long)");
    Sql("create table place_listy (id_listy long)");
    Sql("insert into Dok_pz values (1)");
    Sql("create table Dok_zak (numer_id long, numer_zaksiegowania long, RodzDok text(2))");
    Sql("create unique index UnicNumer on Dok_zak (numer_zaksiegowania)");
    Sql("create table NUMERY_OST_DOK_NAG (dokument text(20))");
    Sql("insert into NUMERY_OST_DOK_NAG values ('zakupy')");
    Sql("insert into NUMERY_OST_DOK_NAG values ('sprzedaz')");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_513), "");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_514), "");
    Sql("insert into Dok_zak values (1, 7, 'Z')");
    Sql("insert into Dok_zak values (2, 7, 'R')");
    EXPECT_NE(Uruchom([] { Sql("insert into Dok_zak values (3, 7, 'z')"); }), "");
    EXPECT_EQ(Kolumna("select dokument from NUMERY_OST_DOK_NAG"),
              std::vector<std::string>{"sprzedaz"});
    Sql("insert into Dok_pz (ddout_id) values (2)");
    EXPECT_EQ(Kolumna("select NrRodDok from Dok_pz order by ddout_id"),
              (std::vector<std::string>{"14", "14"}));
    Sql("insert into place_listy_zawart (id_listy, idp) values (1, 1)");
    EXPECT_NE(Uruchom([] { Sql("insert into place_listy_zawart (id_listy, idp) values (1, 1)"); }),
              "");
}

}  // namespace
}  // namespace kroki_test

namespace kroki_test {
namespace {

TEST_F(Kroki500, ProductionLinesMoveIntoTheirHeaders) {
    Sql("create table DOK_PRZ (DDOUT_ID long, Id_GrupaZwrotow long)");
    Sql("create table DOK_MMA (DDOUT_ID long)");
    Sql("create table S_GRUPY_ZWROTOW (Id_GrupaZwrotow long, ProcentPrzetw single, Na_KG "
        "logical, CenaMag money)");
    Sql("insert into S_GRUPY_ZWROTOW values (4, 80, -1, '3,3')");
    for (const char* t : {"DOK_PRZ_ZAWART_PRO", "DOK_MMA_ZAWART_PRO"})
        Sql(std::string("create table ") + t +
            " (DDOUT_ID long, PROD_ID long, ZDDOUT_CENA_N money, ZDDOUT_ILOSC single, Countt "
            "counter)");
    Sql("insert into DOK_PRZ values (1, 4)");
    Sql("insert into DOK_PRZ values (2, Null)");
    const std::string przz =
        "insert into DOK_PRZ_ZAWART_PRO (DDOUT_ID, PROD_ID, ZDDOUT_CENA_N, ZDDOUT_ILOSC) values ";
    Sql(przz + "(1, 7, 1, '2,5')");
    Sql(przz + "(2, 8, 1, 3)");
    Sql(przz + "(9, 9, 1, 3)");  // of no document
    Sql(przz + "(1, 6, 1, 4)");  // a further line of document 1: its first line stays
    Sql("insert into DOK_MMA values (1)");
    Sql("insert into DOK_MMA_ZAWART_PRO (DDOUT_ID, PROD_ID, ZDDOUT_CENA_N, ZDDOUT_ILOSC) values "
        "(1, 7, Null, 2)");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_536), "");
    EXPECT_EQ(Wiersze_Z("select Prod_id_wyprodukowano, Ile_wyprodukowano, Cena_wyprodukowano, "
                        "Wartosc_wyprodukowano, W_kg_wyprodukowano, "
                        "Proc_przetworzenia_wyprodukowano from DOK_PRZ order by DDOUT_ID"),
              (Wiersze{{"7", "2,5", "3,3", "8,25", "True", "80"},
                       {"8", "3", "Null", "Null", "Null", "Null"}}));
    EXPECT_EQ(Wiersze_Z("select Prod_id_MMA, Ile_MMA, Cena_MMA, Wartosc_MMA from DOK_MMA"),
              (Wiersze{{"7", "2", "Null", "0"}}));
    EXPECT_FALSE(Jest_Tabela("DOK_PRZ_ZAWART_PRO"));
    EXPECT_FALSE(Jest_Tabela("DOK_MMA_ZAWART_PRO"));
    EXPECT_EQ(Linie_Logu("bez dokumentu 9").size(), 1u);
    EXPECT_EQ(Linie_Logu("dokumentu 1 (produkt 6, ilość 4) pominięta").size(), 1u);
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_536), "");  // the source tables are gone
}

}  // namespace
}  // namespace kroki_test
