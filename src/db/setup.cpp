#include "db/setup.h"

#include "db/nz.h"
#include "db/otworz.h"
#include "db/stan.h"
#include "jet/text.h"

namespace {

// The version from which the suite keeps its settings in the database.
constexpr double kProgWersji = 4.73;

// Puts wartosc into field pole of the current row, writes the batch and closes rs.
void zapisz_wartosc(std::unique_ptr<ado::Recordset>& rs, int pole, std::string_view wartosc) {
    rs->Fields(pole) = jet::Value::text(std::string(wartosc));
    rs->UpdateBatch(ado::adAffectAll);
    ZamknijRS(rs);
}

}  // namespace

std::string Czytaj_Setup(std::string_view nazwa) {
    if (nazwa.empty() || Wersja_Bazy < kProgWersji || !Baza_Otwarta) return "";
    std::unique_ptr<ado::Recordset> rs;
    std::string wartosc;
    if (DbOtwórzSEL(rs, "[Wartosc] from [Setup] where [nazwa]='" + jet::text::upper(nazwa) + "'",
                    kOtworzOdczyt, "", 0) >= 1)
        wartosc = NzStr(rs->Fields(0).value());
    ZamknijRS(rs);
    return wartosc;
}

void Zapisz_Setup(std::string_view nazwa, std::string_view wartosc) {
    if (nazwa.empty() || Wersja_Bazy < kProgWersji) return;
    const std::string duza = jet::text::upper(nazwa);
    std::unique_ptr<ado::Recordset> rs;
    const int32_t n = DbOtwórzSEL(
        rs, "[Nazwa], [Wartosc] from [Setup] where [nazwa]='" + duza + "'", kOtworzEdycja, "", 0);
    if (n == -1) return;
    if (n == 0) {
        rs->AddNew();
        rs->Fields(0) = jet::Value::text(duza);
    }
    zapisz_wartosc(rs, 1, wartosc);
}

void Zapisz_Setup_Uzytkownika(std::string_view nazwa, std::string_view wartosc,
                              std::string_view uzytkownik) {
    if (nazwa.empty() || Wersja_Bazy < kProgWersji) return;
    const std::string user = uzytkownik.empty() ? Uzytkownik : std::string(uzytkownik);
    const std::string duza = jet::text::upper(nazwa);
    std::unique_ptr<ado::Recordset> rs;
    const int32_t n = DbOtwórzSEL(rs,
                                  "top 1 [Nazwa], [Wartosc],Users from [uzytkownicy_setup] where "
                                  "[nazwa]='" +
                                      duza + "' and users='" + user + "'",
                                  kOtworzEdycja, "", 0);
    if (n == -1) return;
    if (n == 0) {
        rs->AddNew();
        rs->Fields(0) = jet::Value::text(duza);
        rs->Fields(2) = jet::Value::text(jet::text::upper(user));
    }
    zapisz_wartosc(rs, 1, wartosc);
}
