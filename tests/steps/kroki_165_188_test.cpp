// Steps 1.65 to 1.88 over the release 1.65 database.
#include "kroki_fixture.h"

namespace kroki_test {
namespace {

const jet::ColumnInfo* kolumna_info(const std::string& tabela, const std::string& kolumna) {
    const auto* t = polaczenie().database().catalog().table(tabela);
    return t ? t->column(kolumna) : nullptr;
}

bool jest_indeks(const std::string& tabela, const std::string& indeks) {
    const auto* t = polaczenie().database().catalog().table(tabela);
    return t && t->index(indeks) != nullptr;
}

using Kroki165 = KrokiTest;

TEST_F(Kroki165, RelacjeIIndeksyZnikajaAKrokMoznaPowtorzyc) {
    const std::vector<std::pair<std::string, std::string>> indeksy = {
        {"surowce", "sur_numer"},         {"surowce", "sur_nazwa_id"},
        {"PRODUKTY", "prod_nazwa"},       {"PRODUKTY", "prod_id"},
        {"kontrahenci", "fpłat_id"},      {"kontrahenci", "konh_kod"},
        {"faktury_wych", "konh_id"},      {"Paragon", "fplat_nazwa_id"},
        {"dowody_zwrotu", "fakout_numer"}};
    for (const auto& [t, i] : indeksy) ASSERT_TRUE(jest_indeks(t, i)) << t << "." << i;
    sql("update Paragon set wart_kp=Null");

    k.Konwersja_165();
    EXPECT_TRUE(polaczenie().database().catalog().relations().empty());
    for (const auto& [t, i] : indeksy) EXPECT_FALSE(jest_indeks(t, i)) << t << "." << i;
    EXPECT_EQ(jedna("select count(*) from Paragon where wart_kp is null or wart_kp<>0"), "0");
    EXPECT_TRUE(jest_indeks("KONTRAHENCI", "PrimaryKey")) << "only the named indexes go";

    // Again, with no relations and none of the indexes: every failure is an expected one.
    ASSERT_NO_THROW(k.Konwersja_165());
}

TEST_F(Kroki165, KontrahenciKasaIStareTabele) {
    kroki(165, 183);
    EXPECT_EQ(wiersze("select distinct Rabat, opis from kontrahenci"), (Wiersze{{"0", " "}}));
    EXPECT_TRUE(jest_tabela("tab_nowa_dok"));
    EXPECT_TRUE(jest_tabela("tab_nowa_fzb"));
    EXPECT_TRUE(jest_tabela("REMANENTINWENT_ZAWARTOSC"));
    for (const char* t : {"DOKUMENTY_NIEROZLICZONE", "KOSZTY", "magazyn_z", "SPRZEDAZ", "PRAWA",
                          "WYPOSAZENIE", "RS"})
        EXPECT_FALSE(jest_tabela(t)) << t;
    EXPECT_EQ(jedna("select count(*) from RODZAJ_WYST_DOKUM where RDOK_NAZWA_ID like "
                    "'Rachunek uproszczony*'"),
              "0");
    EXPECT_EQ(kolumna("select distinct kb from KP"), (std::vector<std::string>{"K"}));
    EXPECT_EQ(kolumna("select distinct kb from KW"), (std::vector<std::string>{"K"}));
    EXPECT_EQ(kolumna("select distinct kb from Raport_kasowy"), (std::vector<std::string>{"Null"}));
    EXPECT_EQ(jedna("select count(*) from SPRZEDAZ_ILOSC where zakup_il<>0 or zakup_il is null"),
              "0");

    // Only an empty marker of the cash report becomes 'K'; Null stays Null.
    sql("update Raport_kasowy set kb='' where id=2");
    k.Konwersja_183();
    EXPECT_EQ(wiersze("select kb, count(*) from Raport_kasowy group by kb order by kb"),
              (Wiersze{{"Null",
                        std::to_string(std::stoi(jedna("select count(*) from Raport_kasowy")) - 1)},
                       {"K", "1"}}));
}

TEST_F(Kroki165, Krok184ZerujeKwotyZaKazdymRazemIZachowujeNazwy) {
    kroki(164, 184);  // from 1.65 itself, which drops the old index on the product name
    const auto nazwy = kolumna("select PROD_NAZWA_id from PRODUKTY order by prod_id");
    const auto surowce = kolumna("select SUR_NAZWA_id from SUROWCE order by sur_id");
    EXPECT_EQ(kolumna_info("PRODUKTY", "PROD_NAZWA_id")->size, 80);
    EXPECT_EQ(kolumna_info("SUROWCE", "SUR_NAZWA_id")->size, 80);
    EXPECT_EQ(kolumna_info("PRODUKTY", "ccxxdfredvvcxds__ddfr"), nullptr);

    sql("update DOWODY_DOSTAW set wart_kp=5");
    sql("update DOWODY_ZWROTU set wart_kp=Null");
    sql("update FAKTURY_WYCH set wart_dd=7");
    k.Konwersja_184();
    for (const char* q : {"select count(*) from DOWODY_DOSTAW where wart_kp is null or wart_kp<>0",
                          "select count(*) from DOWODY_ZWROTU where wart_kp is null or wart_kp<>0",
                          "select count(*) from FAKTURY_WYCH where wart_dd is null or wart_dd<>0"})
        EXPECT_EQ(jedna(q), "0") << q;
    EXPECT_EQ(kolumna("select PROD_NAZWA_id from PRODUKTY order by prod_id"), nazwy);
    EXPECT_EQ(kolumna("select SUR_NAZWA_id from SUROWCE order by sur_id"), surowce);
}

TEST_F(Kroki165, StawkaTrzyProcentDodanaRaz) {
    for (bool juz_jest : {false, true}) {
        SCOPED_TRACE(juz_jest ? "rate present" : "rate missing");
        sql("delete from VAT_STAWKI where stvat_id='3'");
        if (juz_jest) sql("insert into VAT_STAWKI (stvat_id, STVAT_NAZWA) values ('3', 'trzy')");
        k.Konwersja_185();
        k.Konwersja_185();
        EXPECT_EQ(wiersze("select stvat_id, STVAT_NAZWA from VAT_STAWKI where stvat_id='3'"),
                  (Wiersze{{"3", juz_jest ? "trzy" : "3%"}}));
    }
    sql("insert into TABELA_VAT (id, r_dok) values (999, 'zakupy')");
    sql("update TABELA_VAT set n3=Null, vat3=Null where id=999");
    k.Konwersja_185();
    EXPECT_EQ(wiersze("select n3, vat3 from TABELA_VAT where id=999"), (Wiersze{{"0", "0"}}));
}

TEST_F(Kroki165, LinieRecepturPolproduktowDostajaKlucz) {
    kroki(165, 186);
    EXPECT_EQ(jedna("select count(*) from PolPRODUKTY_Receptury"),
              jedna("select count(*) from PolPRODUKTY_Receptury inner join POLPRODUKTY on "
                    "POLPRODUKTY.pprod_nazwa_id=PolPRODUKTY_Receptury.pprod_nazwa_id where "
                    "PolPRODUKTY_Receptury.id=POLPRODUKTY.id"));
    EXPECT_EQ(kolumna("select distinct id from PolPRODUKTY_Receptury order by id"),
              (std::vector<std::string>{"1", "2", "3", "4"}));
}

TEST_F(Kroki165, LiniaPolproduktuONazwieDwochBierzePierwszy) {
    kroki(165, 185);
    const std::string nazwa = jedna("select max(pprod_nazwa_id) from PolPRODUKTY_Receptury");
    sql("insert into POLPRODUKTY (pprod_nazwa_id) values ('" + nazwa + "')");
    k.Konwersja_186();
    const std::string gdzie = " where pprod_nazwa_id='" + nazwa + "'";
    EXPECT_EQ(jedna("select max(id) from PolPRODUKTY_Receptury" + gdzie),
              jedna("select min(id) from POLPRODUKTY" + gdzie));
}

TEST_F(Kroki165, NumeryZakupowUsunietychINumerLiczbowy) {
    kroki(165, 186);
    const std::string ostatni = jedna("select max(numer_id) from zakupy");
    sql("insert into zakupy (numer_zaksiegowania, del) values ('12/2001', True)");
    sql("insert into zakupy (numer_zaksiegowania, del) values ('7A', False)");
    sql("insert into zakupy (numer_zaksiegowania, del) values (' ', True)");
    k.Konwersja_187();
    EXPECT_EQ(wiersze("select numer_zaksiegowania, numer_del, num_ndok from zakupy where "
                      "numer_id > " +
                      ostatni + " order by numer_id"),
              (Wiersze{{" ", "12/2001", "12"}, {"7A", "Null", "7"}, {" ", "Null", "Null"}}));
    k.Konwersja_187();
    EXPECT_EQ(jedna("select count(*) from RODZAJ_WYST_DOKUM where RDOK_NAZWA_ID='Faktura VAT RR'"),
              "1");
    EXPECT_EQ(jedna("select rdok_nowy from RODZAJ_WYST_DOKUM where RDOK_NAZWA_ID='Faktura VAT RR'"),
              "Faktura VAT RR");
    EXPECT_NE(kolumna_info("KONTRAHENCI", "PESEL"), nullptr);
}

TEST_F(Kroki165, Krok188UsuwaStareKolumnyCennika) {
    kroki(165, 188);
    EXPECT_EQ(kolumna_info("cennik", "cen_id"), nullptr);
    EXPECT_EQ(kolumna_info("CENNIK_LISTA", "LCEN_NETTO_usunąć"), nullptr);
    EXPECT_FALSE(jest_indeks("cennik", "cen_id"));
    ASSERT_NO_THROW(k.Konwersja_188());
}

}  // namespace
}  // namespace kroki_test
