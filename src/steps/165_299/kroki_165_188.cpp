// Steps 1.65 to 1.88: relations and the old indexes removed, money columns on the old
// document tables, obsolete tables dropped, the 3% VAT rate, purchases of the kind
// "Faktura VAT RR" and the first stocktaking tables.
#include <array>
#include <string>
#include <utility>

#include "db/polaczenie.h"
#include "db/schemat.h"
#include "driver/konwersje.h"
#include "steps/165_299/wspolne.h"

using jet::Value;

void ClsKonwersje::Konwersja_165() {
    DbWykonajKonwersje("alter table Paragon ADD COLUMN wart_kp money");
    DbWykonajKonwersje("UPDATE Paragon SET wart_kp=0 where wart_kp is null");
    DbWykonajKonwersje("alter table SPRZEDAZ_NEW ADD COLUMN wart_kp money");
    DbWykonajKonwersje("UPDATE SPRZEDAZ_NEW SET wart_kp=0 where wart_kp is null");

    // Every relation goes, through a second handle on the same file. Pass after pass
    // until one meets no relation: deleting during a walk may hide the next one.
    auto baza = dao::DBEngine::OpenDatabase(polaczenie().Properties(7));
    kroki::Usun_Relacje(*baza);
    baza->Close();

    static constexpr std::array<std::pair<const char*, const char*>, 29> kIndeksy = {{
        {"sur_numer", "surowce"},
        {"stvat_id", "surowce"},
        {"jed_id", "surowce"},
        {"sur_kod", "surowce"},
        {"sur_nazwa_id", "surowce"},
        {"prod_nazwa", "PRODUKTY"},
        {"cen_id", "PRODUKTY"},
        {"prod_kod", "PRODUKTY"},
        {"[prod_id]", "PRODUKTY"},
        {"wydok_id", "kontrahenci"},
        {"rkonh_id", "kontrahenci"},
        {"lcen_id", "kontrahenci"},
        {"fpłat_id", "kontrahenci"},
        {"konh_naz_skrot", "kontrahenci"},
        {"konh_kod", "kontrahenci"},
        {"konh_id", "dowody_dostaw"},
        {"konh_id", "dowody_zwrotu"},
        {"konh_id", "Paragon"},
        {"konh_id", "faktury_wych_korekta"},
        {"konh_id", "faktury_wych"},
        {"fplat_nazwa_id", "dowody_dostaw"},
        {"fplat_nazwa_id", "dowody_zwrotu"},
        {"fplat_nazwa_id", "Paragon"},
        {"fplat_nazwa_id", "faktury_wych_korekta"},
        {"fplat_nazwa_id", "faktury_wych"},
        {"fakout_numer", "dowody_dostaw"},
        {"fakout_numer", "dowody_zwrotu"},
        {"fakout_numer", "Paragon"},
        {"fakout_numer", "faktury_wych"},
    }};
    for (const auto& [indeks, tabela] : kIndeksy)
        DbWykonajKonwersje(std::string("drop index ") + indeks + " on " + tabela);
}

void ClsKonwersje::Konwersja_169() {
    DbWykonajKonwersje("alter table zakupy ADD COLUMN wart_kp money");
    DbWykonajKonwersje("UPDATE zakupy SET wart_kp=0 where wart_kp is null");
}

void ClsKonwersje::Konwersja_170() {
    DbWykonajKonwersje("alter table faktury_wych_korekta ADD COLUMN tekst_kor TEXT(60)");
}

void ClsKonwersje::Konwersja_171() {
    DbWykonajKonwersje("alter table kontrahenci add  COLUMN Rabat Long");
    DbWykonajKonwersje("alter table kontrahenci add  COLUMN Opis memo");
    DbWykonajKonwersje("alter table kontrahenci add  COLUMN Podpis TEXT(26)");
    DbWykonajKonwersje("UPDATE kontrahenci SET Rabat=0");
    DbWykonajKonwersje("UPDATE kontrahenci SET opis=' '");
    DbWykonajKonwersje(
        "create table [tab_nowa_dok] (dok Long,konh Long,data_w Date,brutto money,numer "
        "TEXT(25),typ_dok TEXT(2),tryb Logical,wystawiony Logical,konh_id Long )");
    DbWykonajKonwersje(
        "create table [tab_nowa_fzb] (nazwa_pelna TEXT(180),skrot TEXT(16),platnik Logical,id "
        "Long,kod TEXT(6),tryb Logical,dla_platnika Logical)");
}

void ClsKonwersje::Konwersja_182() {
    DbWykonajKonwersje("alter table FAKTURY_WYCH_KOREKTA ADD COLUMN zakup Logical");
    DbWykonajKonwersje("alter table ZAKUPY ADD COLUMN blok Logical");
    DbWykonajKonwersje(
        "create table [RemanentInwent] (ID_RI counter,RI text(1),Data Date,Opis "
        "text(250),Komisja text(100))");
    DbWykonajKonwersje(
        "create table [REMANENTINWENT_ZAWARTOSC] (ID_RI long,RI text(1),Rodz text(1),ID "
        "long,Ilosc_namagazynie long, Ilosc_stanfaktyczny long,Cena Single DEFAULT 0)");
    DbWykonajKonwersje("alter table [SPRZEDAZ_ILOSC] ADD COLUMN zakup_il Single DEFAULT 0");
    DbWykonajKonwersje("Update [SPRZEDAZ_ILOSC] SET zakup_il = 0");
    DbWykonajKonwersje("drop index sur_numer on surowce");
}

void ClsKonwersje::Konwersja_183() {
    static constexpr std::array<const char*, 15> kTabele = {
        "DOKUMENTY_NIEROZLICZONE",
        "KOSZTY",
        "magazyn_do",
        "MAGAZYN_DO_ZAWART",
        "MAGAZYN_LISTA",
        "MAGAZYN_PRZES",
        "magazyn_z",
        "magazyn_Z_ZAWART",
        "MARZA",
        "RACH_UPR_WYCH",
        "pom_tab",
        "RS",
        "SPRZEDAZ",
        "PRAWA",
        "WYPOSAZENIE",
    };
    for (const char* tabela : kTabele) DbWykonajKonwersje(std::string("DROP TABLE ") + tabela);

    DbWykonajKonwersje("DELETE FROM RODZAJ_WYST_DOKUM WHERE RDOK_NAZWA_ID='Rachunek uproszczony'");
    DbWykonajKonwersje(
        "DELETE FROM RODZAJ_WYST_DOKUM WHERE RDOK_NAZWA_ID='Rachunek uproszczony zbiorczy'");

    DbWykonajKonwersje("ALTER TABLE [KP] ADD COLUMN KB Text(1)");
    DbWykonajKonwersje("ALTER TABLE [KW] ADD COLUMN KB Text(1)");
    DbWykonajKonwersje("ALTER TABLE [KP] ADD COLUMN Prz Logical");
    DbWykonajKonwersje("ALTER TABLE [KW] ADD COLUMN Prz Logical");
    DbWykonajKonwersje("Update [KP] set kb='K'");
    DbWykonajKonwersje("Update [KW] set kb='K'");
    DbWykonajKonwersje("ALTER TABLE [Raport_kasowy] ADD COLUMN KB Text(1)");
    DbWykonajKonwersje("Update [Raport_kasowy] set kb='K' where kb=''");
}

void ClsKonwersje::Konwersja_184() {
    DbWykonajKonwersje("alter table DOWODY_DOSTAW ADD COLUMN wart_kp money");
    DbWykonajKonwersje("UPDATE DOWODY_DOSTAW SET wart_kp=0");
    DbWykonajKonwersje("alter table DOWODY_ZWROTU ADD COLUMN wart_kp money");
    DbWykonajKonwersje("UPDATE DOWODY_ZWROTU SET wart_kp=0");
    DbWykonajKonwersje("alter table FAKTURY_WYCH ADD COLUMN wart_dd money");
    DbWykonajKonwersje("UPDATE FAKTURY_WYCH SET wart_dd=0");
    Zmien_Typ_Pola("PROD_NAZWA_id", "text (80)", "PRODUKTY");
    DbWykonajKonwersje("drop index SUR_NAZWA_id on surowce");
    Zmien_Typ_Pola("SUR_NAZWA_id", "text (80)", "SUROWCE");
}

void ClsKonwersje::Konwersja_185() {
    kroki::Dodaj_Wiersz_Gdy_Brak(*this, "stvat_id,STVAT_NAZWA from VAT_STAWKI where stvat_id='3'",
                                 {Value::text("3"), Value::text("3%")});
    DbWykonajKonwersje("alter table TABELA_VAT ADD COLUMN vat3 Single DEFAULT 0");
    DbWykonajKonwersje("alter table TABELA_VAT ADD COLUMN n3 Single DEFAULT 0");
    DbWykonajKonwersje("update TABELA_VAT set n3=0 where n3 is null");
    DbWykonajKonwersje("update TABELA_VAT set vat3=0 where vat3 is null");
}

void ClsKonwersje::Konwersja_186() {
    DbWykonajKonwersje("alter table POLPRODUKTY ADD COLUMN id counter");
    DbWykonajKonwersje("alter table PolPRODUKTY_Receptury ADD COLUMN id long");

    // Every recipe line takes the numeric key of the semi-product it names: of two
    // semi-products of one name, the first (the lowest id).
    std::unique_ptr<ado::Recordset> rs;
    DbOtwórzSELKonwersje(
        rs,
        "PolPRODUKTY_Receptury.id,POLPRODUKTY.id from (PolPRODUKTY_Receptury inner join "
        "POLPRODUKTY on POLPRODUKTY.pprod_nazwa_id=PolPRODUKTY_Receptury.pprod_nazwa_id) left join "
        "POLPRODUKTY AS P2 on (P2.pprod_nazwa_id=POLPRODUKTY.pprod_nazwa_id and "
        "P2.id<POLPRODUKTY.id) where P2.id is null");
    ado::Recordset& r = kroki::Rekordy(rs);
    while (!r.Eof()) {
        r.Fields(0) = r.Fields(1).value();
        r.MoveNext();
    }
    r.UpdateBatch();
    ZamknijRSKonwersje(rs);
}

void ClsKonwersje::Konwersja_187() {
    kroki::Dodaj_Wiersz_Gdy_Brak(
        *this,
        "RDOK_NAZWA_ID,rdok_nowy from RODZAJ_WYST_DOKUM where RDOK_NAZWA_ID='Faktura VAT RR'",
        {Value::text("Faktura VAT RR"), Value::text("Faktura VAT RR")});
    DbWykonajKonwersje("drop index numer_zaksiegowania on zakupy");
    DbWykonajKonwersje("alter table ZAKUPY ADD COLUMN numer_del text(50)");
    DbWykonajKonwersje("alter table ZAKUPY ADD COLUMN RR Logical");
    DbWykonajKonwersje(
        "update zakupy set numer_del=numer_zaksiegowania,numer_zaksiegowania=' ' where del and "
        "numer_zaksiegowania<>' '");
    DbWykonajKonwersje("alter table ZAKUPY ADD COLUMN num_ndok Long");
    DbWykonajKonwersje(
        "UPDATE ZAKUPY SET num_ndok=val(numer_zaksiegowania) WHERE numer_zaksiegowania<>' '");
    DbWykonajKonwersje("UPDATE ZAKUPY SET num_ndok=val(numer_del) WHERE numer_zaksiegowania=' '");
    DbWykonajKonwersje("alter table KONTRAHENCI ADD COLUMN PESEL text(50)");
}

void ClsKonwersje::Konwersja_188() {
    DbWykonajKonwersje("drop index cen_id on cennik");
    Usun_Pole("cennik", "cen_id");
    Usun_Pole("CENNIK_LISTA", "LCEN_NETTO_usunąć");
}
