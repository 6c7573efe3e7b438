// Steps 5.79 to 5.87: contractors' texts for bank documents and payment groups, drivers of
// shop invoices, fiscal flags of posting-scheme lines, the depreciation account, ledger
// entry errors, employment certificate details, declaration values as texts, payroll
// component 202 and the signing date of corrections.
#include <string>

#include "driver/konwersje.h"
#include "steps/400_499/wspolne_400.h"

namespace {

// A payroll list line's column: "alter table PLACE_LISTY_ZAWART ADD COLUMN" and the rest.
std::string Kolumna_Listy_Plac(const std::string& reszta) {
    return std::string("alter table ") + "PLACE_LISTY_ZAWART" + " " + "ADD COLUMN" + reszta;
}

}  // namespace

void ClsKonwersje::Konwersja_579() {
    Dodaj_Pole("Kontrahenci", "[Dom_text_na_bp] Text (150)");
    Dodaj_Pole("Kontrahenci", "[Dom_text_na_bw] Text (150)");
}

void ClsKonwersje::Konwersja_580() {
    // A shop invoice's driver is its shop; one without a contractor names none (0).
    DbWykonajUPDKonwersje("", "DOK_FAK", "kier_id=Nz(konh_id,0)", "sklepowa=-1");
    for (const char* kolumna : {"[KartotekaKier] Text (1)", "[Sklep] int DEFAULT 0",
                                "[Fiskalizowana] int DEFAULT 0", "[KasaFiskalna] int DEFAULT 0"})
        Dodaj_Pole("KH_SCHEMATY_ZAWART", kolumna);
}

void ClsKonwersje::Konwersja_581() {
    Dodaj_Pole("KH_KONTA", "[pit5] Text (2)");
}

void ClsKonwersje::Konwersja_582() {
    Dodaj_Pole("SRODKI_TRWALE", "[KONTOFK_AMO] Text (50)");
    DbWykonajUPDKonwersje("", "SRODKI_TRWALE", "KONTOFK_AMO='070' + mid(KONTOFK,4,45)", "");
}

void ClsKonwersje::Konwersja_583() {
    Dodaj_Pole("KH_KSIEGA", "[BledySTR] Text DEFAULT ''");
}

void ClsKonwersje::Konwersja_584() {
    for (const char* kolumna :
         {"[Imie] Text (20)", "[Nazwisko] Text (20)", "[ImieO] Text (20)", "[ImieM] Text (20)",
          "[DataU] SmallDateTime DEFAULT null", "[MiejsceU] Text (20)", "[Pracodawca] Text (80)",
          "[DataOd] SmallDateTime DEFAULT null", "[WymiarCzP] Text (20)", "[Stanowiska] Text (80)",
          "[ChorobN] Text (80)", "[UrlopNz] Single DEFAULT 0", "[KwotaPotr] money DEFAULT 0"})
        Dodaj_Pole("KADRY_SWIADECTWA", kolumna);
    DbWykonajUPDKonwersje("", "KADRY_SWIADECTWA", "DataU=Data", "dataU is null");
    DbWykonajUPDKonwersje("", "KADRY_SWIADECTWA", "DataOd=Data", "dataOd is null");
}

void ClsKonwersje::Konwersja_585() {
    const std::string typ = std::string("Text ") + "(90)";
    Zmien_Typ_Pola("wartosc", typ, "DEKLARACJE_ZAWART");
    Zmien_Typ_Pola("wartosc2", typ, "DEKLARACJE_ZAWART");
    DbWykonajKonwersje(Kolumna_Listy_Plac(" Owartosc7004 byte"));
}

void ClsKonwersje::Konwersja_586() {
    Dodaj_Pole("Kontrahenci", "[Grupa_Platnosci] Text (50)");
    Dodaj_Pole("DOK_FAK", "[Grupa_Platnosci] Text (50)");
    Dodaj_Pole("KADRY_NIEOBECNOSCI", "[Znacznik] Logical");
    kroki::Dodaj_Skladnik_Plac(*this, "PLACE_OPISY",
                               {202, "Zaniechanie poboru podatku", "Zan.pob.pod."});
    DbWykonajKonwersje(
        Kolumna_Listy_Plac(std::string(" [wartosc") + "202" + "]  " + "money DEFAULT 0"));
}

void ClsKonwersje::Konwersja_587() {
    Dodaj_Pole("DOK_KFA", "[DataPodpisu] SmallDateTime DEFAULT null");
    DbWykonajUPDKonwersje("", "DOK_KFA", "DataPodpisu=FKOROUT_DATA_WYST", "DataPodpisu is null");
    CzekajKonwersje(2);
}
