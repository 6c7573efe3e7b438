// The conversion class's access to the Setup table. It acts from version 2.13 on,
// the version whose step creates the table; below it, it does nothing.
#include "db/stan.h"
#include "driver/konwersje.h"
#include "jet/text.h"

namespace {

constexpr double kWersjaSetup = 2.13;

// The rows of the name in the order stored: the reader and the writer take the first, the
// row that the keys over the name (with the user and workstation, then alone) keep under it
// while the others take a suffix; Setup has no counter to order by.
std::string Zapytanie_Setup(const std::string& nazwa) {
    return "[Nazwa], [Wartosc] from [Setup] where [nazwa]='" + jet::text::upper(nazwa) + "'";
}

}  // namespace

std::string ClsKonwersje::Czytaj_SetupKonwersje(const std::string& name) {
    if (name.empty() || Wersja_Bazy < kWersjaSetup) return "";
    std::unique_ptr<ado::Recordset> rs;
    std::string wynik;
    if (DbOtwórzSELKonwersje(rs, Zapytanie_Setup(name), false) > 0) {
        const jet::Value v = rs->Fields(1).value();
        wynik = v.is_null() ? "" : v.to_text();
    }
    ZamknijRSKonwersje(rs);
    return wynik;
}

void ClsKonwersje::Zapisz_SetupKonwersje(const std::string& name, const std::string& value) {
    if (name.empty() || Wersja_Bazy < kWersjaSetup) return;
    std::unique_ptr<ado::Recordset> rs;
    const int32_t n = DbOtwórzSELKonwersje(rs, Zapytanie_Setup(name), false);
    if (n < 0) return;
    if (n == 0) {
        rs->AddNew();
        rs->Fields(0).set(jet::Value::text(jet::text::upper(name)));
    }
    rs->Fields(1).set(jet::Value::text(value));
    rs->UpdateBatch(ado::adAffectAll);
    ZamknijRSKonwersje(rs);
}
