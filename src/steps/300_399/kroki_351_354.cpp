// Steps 3.51 to 3.54: a date for every user without one, the payer tables of the
// declarations with two declaration values turned into text, the family members of
// employees, the personnel options, and gross prices and values of internal issue lines.
#include <string>
#include <utility>

#include "driver/konwersje.h"

void ClsKonwersje::Konwersja_351() {
    // 8 June 1973; a date between # is read month first.
    DbWykonajUPDKonwersje("[UZYTKOWNICY] set data=#06-08-1973# where data is null", "", "", "");
}

void ClsKonwersje::Konwersja_352() {
    DbWykonajKonwersje("create table [Platnik] (IDP counter,nazwisko text(50),imie text(50))");
    DbWykonajKonwersje("create table [Platnik_Dane] (IDP long,[Nazwa] TEXT (255), [Wartosc] memo)");
    DbWykonajKonwersje(std::string("alter table [Deklaracje] ") + "ADD COLUMN" + " kwota money");
    DbWykonajKonwersje("alter table [Deklaracje] add IDP long");
    Zmien_Typ_Pola("wartosc", "text(50)", "Deklaracje_Zawart");
    Zmien_Typ_Pola("wartosc2", "text(50)", "Deklaracje_Zawart");
}

void ClsKonwersje::Konwersja_353() {
    static const char* const kolumny[][2] = {
        {"ID_prac", "long"},      {"Dataod", "date"},         {"NAZWISKO", "text(50)"},
        {"IMIE", "text(50)"},     {"DATA_UR", "date"},        {"ZAS_RODZ", "Byte"},
        {"PODW_WYS", "byte"},     {"POKREW", "text(2)"},      {"WYREJ", "byte"},
        {"DATA_REJ", "date"},     {"PESEL", "text(11)"},      {"NIP", "text(13)"},
        {"DOWOD", "text(13)"},    {"PASZPORT", "text(13)"},   {"UTRZYMANIE", "byte"},
        {"GOSPODARSTWO", "byte"}, {"NIEPELNOSPR", "text(1)"}, {"GMINA", "text(40)"},
        {"ulica", "text(40)"},    {"NR_DOMU", "text(5)"},     {"NR_LOKALU", "text(5)"},
        {"KOD", "text(6)"},       {"POCZTA", "text(40)"},     {"MIEJSCOWOSC", "text(40)"},
        {"TEL", "text(20)"},      {"FAX", "text(20)"},        {"countt", "counter"},
    };
    std::string tekst = "create table [KADRY_RODZINA](";
    bool pierwsza = true;
    for (const auto& [nazwa, typ] : kolumny) {
        if (!pierwsza) tekst += ",";
        pierwsza = false;
        tekst += std::string("[") + nazwa + "] " + typ;
    }
    DbWykonajKonwersje(tekst + ")");
}

void ClsKonwersje::Konwersja_354() {
    DbWykonajKonwersje(
        "create table [KADRY_OPCJE]([ID_prac] long, [Dataod] date, [ZAS_WYCH] int,  [IL_ZAS_PIEL] "
        "currency, [PROCENT_K] currency, [KWOTA_K] currency,[PODST_URL] byte,[PODST_ZAS] byte, "
        "[countt] counter)");
    DbWykonajKonwersje(std::string("alter table [DOK_RW_ZAWART] ") + "ADD COLUMN" +
                       " WSPRZ_CENA_BRUTTO money");
    DbWykonajKonwersje(std::string("alter table [DOK_RW_ZAWART] ") + "ADD COLUMN" +
                       " WSPRZ_WARTOSC_BRUTTO money");
    // Only lines still without a gross price, so that a repeated run changes nothing; a
    // net price or quantity not given counts as 0.
    for (const auto& [stawka, mnoznik] : {std::pair{"3", "1.03"}, {"7", "1.07"}, {"22", "1.22"}})
        DbWykonajUPDKonwersje(
            std::string("[DOK_RW_ZAWART] set WSPRZ_CENA_BRUTTO=Nz(WSPRZ_CENA_B,0)*") + mnoznik +
                ",WSPRZ_WARTOSC_BRUTTO=Nz(WSPRZ_CENA_B,0)*" + mnoznik +
                "*Nz(WSPRZ_ILOSC,0) where WSPRZ_CENA_VAT='" + stawka +
                "' and WSPRZ_CENA_BRUTTO is null",
            "", "", "");
    DbWykonajUPDKonwersje(
        "[DOK_RW_ZAWART] set WSPRZ_CENA_BRUTTO=Nz(WSPRZ_CENA_B,0),WSPRZ_WARTOSC_BRUTTO=Nz("
        "WSPRZ_CENA_B,0)*Nz(WSPRZ_ILOSC,0) where (WSPRZ_CENA_VAT='0' or WSPRZ_CENA_VAT='zw') and "
        "WSPRZ_CENA_BRUTTO is null",
        "", "", "");
}
