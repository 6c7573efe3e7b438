// Steps 2.50 to 2.56: columns for the ids of imported records, the users' date and
// right text, printed flags, the tax-declaration tables, contractor columns, and the
// clean-up of empty lines and of a wrong collective-invoice flag.
#include <string>

#include "driver/konwersje.h"
#include "steps/165_299/wspolne.h"

void ClsKonwersje::Konwersja_250() {
    static constexpr std::pair<const char*, const char*> kKolumny[] = {
        {"kontrahenci", " [konh_id_import] long"},
        {"PRODUKTY", " [prod_id_import] long"},
        {"zakupy", " [numer_id_import] long"},
        {"zakupy_zawart", " [numer_id_import] long"},
        {"tabela_vat", " [id_import] long"},
        {"K_faktur", " [FKOROUT_ID_import] long"},
        {"K_faktur_zawart", " [FKOROUT_ID_import] long"},
        {"s_grupy", " [Count_import] long"},
        {"s_kierowcy", " [kier_id_import] long"},
    };
    for (const auto& [tabela, kolumna] : kKolumny)
        DbWykonajKonwersje("alter table [" + std::string(tabela) + "] ADD COLUMN" + kolumna);
}

void ClsKonwersje::Konwersja_251() {
    DbWykonajKonwersje("alter table [uzytkownicy_prawa] ADD COLUMN [Prawo] text(255)");
    DbWykonajKonwersje("alter table [uzytkownicy] ADD COLUMN [Data] Date");
    DbWykonajKonwersje("UPDATE [uzytkownicy] SET [Data]=#06-08-1973# where [Data] is null");
    DbWykonajKonwersje("alter table [KP] ADD COLUMN [Drukowano] logical");
    DbWykonajKonwersje("alter table [REMANENTINWENT] ADD COLUMN [Drukowano] logical");
}

void ClsKonwersje::Konwersja_252() {
    DbWykonajUPDKonwersje(
        " faktury set FAKOUT_ZBIORCZA=0 where FAKOUT_NR_DD is null or "
        "FAKOUT_NR_DD=''",
        "", "", "");
}

void ClsKonwersje::Konwersja_253() {
    DbWykonajDELKonwersje("zakupy_zawart where ILOSC=0", "");
}

void ClsKonwersje::Konwersja_254() {
    kroki::Utworz_Tabele_Deklaracji(*this);
    DbWykonajDELKonwersje("FAKTURY_zawart where ZFAKOUT_ILOSC=0", "");
}

void ClsKonwersje::Konwersja_255() {
    Zmien_Typ_Pola("konh_kod", "text(15)", "Kontrahenci");
}

void ClsKonwersje::Konwersja_256() {
    DbWykonajKonwersje("alter table [kontrahenci] ADD COLUMN [Powiat] text(10)");
    DbWykonajKonwersje("alter table [kontrahenci] ADD COLUMN [Region] text(10)");
    DbWykonajKonwersje("alter table [kontrahenci] ADD COLUMN [Przedstawiciel] text(30)");
}
