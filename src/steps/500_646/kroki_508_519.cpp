// Steps 5.08 to 5.19: payroll and cash-document columns, the movement-kind dictionary
// completed, purchase numbers unique by document kind, the document kind number of ten
// tables, the weekly settlement of movement documents, and short kind codes on the
// settlement lines of cash documents.
#include <array>
#include <string>

#include "db/schemat.h"
#include "driver/konwersje.h"

namespace {

// A table, the kind number its rows carry, and the key columns of its unique index.
struct Rodzaj_Dokumentu {
    const char* tabela;
    int numer;
    const char* klucz;
};
constexpr std::array<Rodzaj_Dokumentu, 10> kNumeryRodzajow = {{
    {"Dok_dd", 28, "ddout_id"},
    {"Dok_dz", 29, "ddout_id"},
    {"Dok_dar", 24, "ddout_id"},
    {"Dok_fwe", 25, "fakout_id"},
    {"Dok_rw", 26, "ddout_id"},
    {"Dok_pw", 27, "ddout_id"},
    {"Dok_pz", 14, "ddout_id"},
    {"Dok_wz", 15, "ddout_id"},
    {"place_listy_zawart", 70, "id_listy,idp"},
    {"place_listy", 40, "id_listy"},
}};

// The long kind names of settlement lines and their short codes, in order.
constexpr std::array<std::array<const char*, 2>, 13> kKodyRodzajow = {{
    {"SV", "Faktura"},
    {"PA", "Paragon"},
    {"KF", "Kasa Fiskalna"},
    {"FW", "Faktura wew"},
    {"ZA", "Zakup"},
    {"ZR", "Zakup RR"},
    {"RA", "Rachunek"},
    {"KS-", "Korekta -"},
    {"KS+", "Korekta +"},
    {"KZ-", "Korekta Zak -"},
    {"KZ+", "Korekta Zak +"},
    {"V7-", "VAT7 -"},
    {"V7+", "VAT7 +"},
}};

}  // namespace

void ClsKonwersje::Konwersja_508() {
    DbWykonajKonwersje("alter table [PLACE_LISTY] ADD COLUMN [czy_ldod] Logical");
    for (const char* kol : {"wynp_zd", "wynp_ch", "sw_urlop"})
        DbWykonajKonwersje(std::string("alter table [PLACE_LISTY] ADD COLUMN [") + kol +
                           "] money DEFAULT 0");
}

void ClsKonwersje::Konwersja_509() {
    DbWykonajKonwersje("alter table [PLACE_LISTY_ZAWART] ADD COLUMN [wart_bp] money DEFAULT 0");
}

void ClsKonwersje::Konwersja_510() {
    Utworz_Klucz_Podstawowy("s_rodzaj_mwp", "ID_MWP");
    Dodaj_Pole("s_rodzaj_mwp", "RodzajKonh Text  (50) default ''");
    DbWykonajKonwersje("Update s_rodzaj_mwp set RodzajKonh='Kierowca' where ID_MWP=1");
}

void ClsKonwersje::Konwersja_511() {
    Dodaj_Pole("dok_fin", "KontoP_wn Text  (50) default ''");
    Dodaj_Pole("dok_fin", "KontoP_ma Text  (50) default ''");
    DbWykonajKonwersje("Update dok_fin set kontoP_wn='' where kontoP_wn is null");
    DbWykonajKonwersje("Update dok_fin set kontoP_ma='' where kontoP_ma is null");
}

void ClsKonwersje::Konwersja_512() {
    Dodaj_Pole("S_GRUPY_ZWROTOW", "Na_KG Logical");
}

void ClsKonwersje::Konwersja_513() {
    Usun_Index("UnicNumer", "Dok_zak");
    Utworz_Index_Unikalny("UnicNumer", "Dok_zak", "numer_zaksiegowania,RodzDok",
                          Powtorzona_Wartosc("Dok_zak", "numer_zaksiegowania,RodzDok"));
    DbWykonajKonwersje("delete * from NUMERY_OST_DOK_NAG where dokument='zakupy'");
}

void ClsKonwersje::Konwersja_514() {
    for (const Rodzaj_Dokumentu& r : kNumeryRodzajow) {
        const std::string numer = std::to_string(r.numer);
        Dodaj_Pole(r.tabela, "NrRodDok int default " + numer);
        DbWykonajKonwersje(std::string("UPDATE ") + r.tabela + " SET NrRodDok=" + numer);
        Utworz_Index_Unikalny("NrRodDok", r.tabela, std::string("NrRodDok,") + r.klucz);
    }
}

void ClsKonwersje::Konwersja_515() {
    DbWykonajKonwersje(
        "create table Dok_MWP_Rozliczenie (id_mwpr int identity,Rok int DEFAULT 0,Tydzien int "
        "DEFAULT 0, Kier_id int DEFAULT 0,Prod_id int DEFAULT 0,Ilosc int DEFAULT 0, Id_grProd "
        "int DEFAULT 0)");
    Utworz_Index_Unikalny("UnicNumer", "Dok_MWP_Rozliczenie", "id_mwpr");
    Utworz_Klucz_Podstawowy("Dok_MWP_Rozliczenie", "Rok,Tydzien,Prod_id,Kier_id,Id_grProd");
    for (const char* kol : {"Prod_id", "Rok", "Tydzien", "Kier_id", "Id_grProd"})
        Utworz_Index(kol, "Dok_MWP_Rozliczenie", kol);
}

void ClsKonwersje::Konwersja_516() {
    for (const auto& [nowy, stary] : kKodyRodzajow)
        DbWykonajKonwersje(std::string("update dok_fin_zawart set rodzaj_dok='") + nowy +
                           "' where rodzaj_dok='" + stary + "'");
}

void ClsKonwersje::Konwersja_517() {
    Dodaj_Pole("S_RODZAJ_MWP", "rodzaj Text (1) default ''");
    DbWykonajKonwersje("UPDATE S_RODZAJ_MWP SET rodzaj='P'");
}

void ClsKonwersje::Konwersja_518() {
    Dodaj_Pole("S_GRUPY_PRODUKCYJNE", "zysk money DEFAULT 0");
    DbWykonajKonwersje("UPDATE S_GRUPY_PRODUKCYJNE SET zysk=0");
}

void ClsKonwersje::Konwersja_519() {
    Dodaj_Pole("DRUKARKI", "NieOstFF Logical");
    DbWykonajKonwersje("UPDATE DRUKARKI SET NieOstFF=0");
    DbWykonajKonwersje("update dok_fin_zawart set rodzaj_dok='ZV' where rodzaj_dok='ZA'");
}
