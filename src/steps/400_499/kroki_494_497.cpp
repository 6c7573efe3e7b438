// Steps 4.94 to 4.97: payroll components for goods vouchers of the social fund, the
// cash documents' numeric numbers once more, the fixed-asset tables moved one name
// along, and the workstation settings keyed by name and workstation.
#include <array>
#include <string>

#include "db/schemat.h"
#include "driver/konwersje.h"
#include "steps/165_299/wspolne.h"
#include "steps/400_499/wspolne_400.h"

namespace {

constexpr std::array<kroki::Skladnik_Plac, 4> kBony = {{
    {181, "Bon towarowy ZFŚS", "Bon ZFŚS."},
    {182, "Bon towarowy ZFŚS - suma od początku roku", "Bony-suma"},
    {183, "Bon towarowy - wartość do składek i podatku", "Przychód ZFŚS"},
    {184, "Bon towarowy - podatek", "Podatek ZFŚS"},
}};

}  // namespace

void ClsKonwersje::Konwersja_494() {
    for (const kroki::Skladnik_Plac& s : kBony)
        kroki::Dodaj_Skladnik_Plac(*this, "[place_opisy]", s);
    for (int n = 181; n <= 184; ++n)
        DbWykonajKonwersje("alter table [Place_Listy_zawart] ADD COLUMN [wartosc" +
                           std::to_string(n) + "]  money DEFAULT 0");
}

void ClsKonwersje::Konwersja_495() {
    DbWykonajKonwersje("update dok_fin set num_ndok=val(nr_kp)");
}

void ClsKonwersje::Konwersja_496() {
    // The depreciation plan first frees the name that the asset register takes; a plan that
    // stands under its new name was moved by an earlier run, and the table under the old
    // name is then the register that run moved after it.
    if (!Jest_Tabela("SRODKI_TRWALE_AMORTYZACJA"))
        Zmien_Nazwe_Tabeli("SRODKI_TRWALE_ZAWART", "SRODKI_TRWALE_AMORTYZACJA");
    Zmien_Nazwe_Tabeli("SRODKI_TRWALE", "SRODKI_TRWALE_ZAWART");
}

void ClsKonwersje::Konwersja_497() {
    Utworz_Klucz_Podstawowy("SETUP_STANOWISKO", "Nazwa,STAN");
}
