// Document numbers as the suite gives them: the text after the ordinal (period, driver,
// prefix, shift, document name), the next free ordinal of the kind in its numbering
// scheme and period, and the writing of both into the document's header row.
#include <algorithm>
#include <cstdint>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "db/daty.h"
#include "db/komunikaty.h"
#include "db/nz.h"
#include "db/otworz.h"
#include "db/stan.h"
#include "db/teksty.h"
#include "driver/konwersje.h"
#include "jet/dates.h"
#include "jet/error.h"
#include "steps/165_299/wspolne.h"

namespace {

// Failed writes since the last header build.
int32_t Licznik_Prob_Numeru = 0;

// A numbered document kind: its header table, key, number and issue-date columns, and
// the prefix column of sposob_numeracji ("" for a purchase kind).
struct Rodzaj_Dokumentu {
    std::string_view rodzaj;
    const char* tabela;
    const char* klucz;
    const char* numer;
    const char* data;
    const char* prefiks;
};

constexpr Rodzaj_Dokumentu kRodzaje[] = {
    {"sprzedaż_f_vat", "DOK_FAK", "fakout_id", "FAKOUT_NUMER", "fakout_data_wyst", "nag_fa"},
    {"sprzedaż_f_vat_zbiorcze", "DOK_FAK", "fakout_id", "FAKOUT_NUMER", "fakout_data_wyst",
     "nag_fa"},
    {"sprzedaż_f_vat_korekta", "DOK_KFA", "fkorout_id", "fkorout_numer", "fkorout_data_wyst",
     "nag_fk"},
    {"sprzedaż_ddost", "DOK_DD", "ddout_id", "DDOUT_NUMER", "ddout_data_wyst", "nag_dd"},
    {"sprzedaż_zwroty", "DOK_DZ", "ddout_id", "DDOUT_NUMER", "ddout_data_wyst", "nag_dz"},
    {"paragon", "DOK_PAR", "ddout_id", "DDOUT_NUMER", "ddout_data_wyst", "nag_par"},
    {"sprzedaż_detal", "DOK_RW", "ddout_id", "DDOUT_NUMER", "ddout_data_wyst", "nag_sp"},
    {"magazyn_pw", "DOK_PW", "ddout_id", "DDOUT_NUMER", "ddout_data_wyst", "nag_sp"},
    {"proforma", "DOK_PFA", "ddout_id", "DDOUT_NUMER", "ddout_data_wyst", "nag_pfa"},
    {"produkcja", "DOK_PRO", "ddout_id", "DDOUT_NUMER", "ddout_data_wyst", "nag_pro"},
    {"produkcja_rs", "DOK_PRS", "ddout_id", "DDOUT_NUMER", "ddout_data_wyst", "nag_prs"},
    {"produkcja_zs", "DOK_PZS", "ddout_id", "DDOUT_NUMER", "ddout_data_wyst", "nag_pzs"},
    {"darowizna", "DOK_DAR", "ddout_id", "DDOUT_NUMER", "ddout_data_wyst", "nag_dar"},
    {"zakup_ddost", "DOK_WZ", "ddout_id", "DDOUT_NUMER", "ddout_data_wyst", ""},
    {"zakup_zwroty", "DOK_PZ", "ddout_id", "DDOUT_NUMER", "ddout_data_wyst", ""},
    {"zakupy_korekta", "DOK_KZA", "fkorout_id", "FKorOUT_NUMer", "", ""},
};

const Rodzaj_Dokumentu* Znajdz_Rodzaj(const std::string& rodzaj) {
    const auto* r = std::ranges::find(kRodzaje, rodzaj, &Rodzaj_Dokumentu::rodzaj);
    return r != std::end(kRodzaje) ? r : nullptr;
}

// The prefix column of a kind in the header builder (internal sales are known there
// only); nullptr for a kind it does not know.
const char* Kolumna_Prefiksu(const std::string& rodzaj) {
    if (rodzaj == "sprzedaż_wewnętrzna") return "nag_fwe";
    const Rodzaj_Dokumentu* r = Znajdz_Rodzaj(rodzaj);
    return r != nullptr ? r->prefiks : nullptr;
}

bool Rodzaj_Zakupu(const std::string& rodzaj) {
    for (std::string_view z : {"zakupy", "zakupyrr", "zakupyra", "zakup_ddost", "zakup_zwroty",
                               "proforma_zak", "zakupy_korekta"})
        if (rodzaj == z) return true;
    return false;
}

// A scheme's Yes/No setting; one not given (Null) is No, as the general numbering's
// scheme (id 0) may hold none.
bool Tak(const jet::Value& v) {
    return !v.is_null() && v.to_bool();
}

// The shift codes that stand for another shift number; any other code is the number.
constexpr std::pair<int32_t, int32_t> kKodyZmian[] = {
    {100, 1},     {20, 2},       {4000, 4},      {50000, 5}, {600000, 6},
    {7000000, 7}, {80000000, 8}, {900000000, 9}, {120, 12},  {103, 13},
};

// The shift number of a shift code.
int32_t Numer_Zmiany(int32_t kod) {
    const auto* z = std::ranges::find(kKodyZmian, kod, &std::pair<int32_t, int32_t>::first);
    return z != std::end(kKodyZmian) ? z->second : kod;
}

// The driver text for no named driver.
bool Bez_Kierowcy(const std::string& kierowca) {
    return kierowca == "Brak kierowcy" || kierowca == "Kierowca domyślny" || kierowca.empty();
}

// The id of the driver named by its short name and name joined by a blank; 0 when no
// driver has that name.
int32_t Id_Kierowcy(const std::string& kierowca) {
    std::unique_ptr<ado::Recordset> rs;
    int32_t id = 0;
    if (DbOtwórzSEL(rs,
                    "top 1 Konh_id from Kontrahenci where konh_naz_skrot+' '+KONH_nazwa ='" +
                        kroki::W_Apostrofach(kierowca) + "' and kier_id=-1",
                    kOtworzOdczyt) > 0)
        id = NzLng(rs->Fields(0).value());
    ZamknijRS(rs);
    return id;
}

std::string Rok(double d) {
    return std::to_string(jet::dates::from_serial(d).year);
}
std::string Miesiac(double d) {
    return std::to_string(jet::dates::from_serial(d).month);
}

}  // namespace

std::string ClsKonwersje::Naglowek_Numeru_Dokumentu(const std::string& rodzaj,
                                                    const std::string& kierowca, int32_t konh_id,
                                                    int32_t kod_zmiany, int32_t kier_id) {
    Licznik_Prob_Numeru = 0;
    if (Rodzaj_Zakupu(rodzaj)) return "/" + Rok(Data_Dzisiaj);
    const int32_t zmiana = Numer_Zmiany(kod_zmiany);
    std::unique_ptr<ado::Recordset> rs;

    int32_t sm_id = 0;
    if (konh_id != 0 && DbOtwórzSEL(rs,
                                    "top 1 kier_id,sm_id,sm_dd_id from kontrahenci where konh_id=" +
                                        std::to_string(konh_id),
                                    kOtworzOdczyt) > 0) {
        const int32_t sm_dd_id = NzLng(rs->Fields(2).value());
        sm_id =
            rodzaj == "sprzedaż_ddost" && sm_dd_id != 0 ? sm_dd_id : NzLng(rs->Fields(1).value());
        if (kierowca == "Kierowca domyślny" && kier_id == 0) kier_id = NzLng(rs->Fields(0).value());
    }
    if (!Bez_Kierowcy(kierowca)) {
        const int32_t id = Id_Kierowcy(kierowca);
        if (id != 0) kier_id = id;
    }

    std::string tryb = "0";
    if (DbOtwórzSEL(rs,
                    "top 1 [tryb],[rob_kier],[zmiany] from [sposob_numeracji] where [sm_id]=" +
                        std::to_string(sm_id),
                    kOtworzOdczyt) > 0) {
        tryb = NzStr(rs->Fields(0).value());
        if (!Tak(rs->Fields(1).value())) kier_id = 0;
    }
    std::string skrot_kierowcy;
    if (kier_id != 0) {
        skrot_kierowcy = "0";
        if (DbOtwórzSEL(
                rs,
                "top 1 konh_naz_skrot from Kontrahenci where Konh_id=" + std::to_string(kier_id),
                kOtworzOdczyt) > 0)
            skrot_kierowcy = NzStr(rs->Fields(0).value());
    }

    std::string prefiks;
    bool na_kierowce = false;
    if (const char* kolumna = Kolumna_Prefiksu(rodzaj);
        kolumna != nullptr &&
        DbOtwórzSELKonwersje(
            rs,
            std::string("top 1 ") + kolumna +
                ",rob_kier,zmiany from sposob_numeracji where sm_id=" + std::to_string(sm_id),
            true) > 0) {
        const std::string nag = NzStr(rs->Fields(0).value());
        if (!nag.empty()) prefiks = "/" + nag;
        if (Tak(rs->Fields(2).value()) && zmiana != 0) prefiks += "/" + std::to_string(zmiana);
        na_kierowce = Tak(rs->Fields(1).value());
    }
    ZamknijRSKonwersje(rs);

    // The document name of the kind's last-number row, which is added when missing.
    const std::string wiersz = rodzaj == "sprzedaż_f_vat_zbiorcze" ? "sprzedaż_f_vat" : rodzaj;
    std::string nazwa_dok;
    if (DbOtwórzSELKonwersje(rs,
                             "top 1 [nazwa],[dokument] from [Numery_OST_DOK_NAG] where "
                             "[dokument]='" +
                                 kroki::W_Apostrofach(wiersz) + "'") > 0) {
        const std::string nazwa = NzStr(rs->Fields(0).value());
        if (!nazwa.empty()) nazwa_dok = "/" + nazwa;
    } else {
        kroki::Rekordy(rs).AddNew();
        rs->Fields(0) = jet::Value::text("");
        rs->Fields(1) = jet::Value::text(wiersz);
        rs->UpdateBatch();
    }
    ZamknijRSKonwersje(rs);

    std::string tekst;
    if (sm_id != 0) {
        const std::string kierowca_czesc = na_kierowce ? "/" + skrot_kierowcy : "";
        std::string okres;
        if (tryb == "0")
            okres = "/" + Rok(Data_Dzisiaj);
        else if (tryb == "1")
            okres = "/" + Miesiac(Data_Dzisiaj) + "/" + Rok(Data_Dzisiaj) + nazwa_dok;
        tekst = okres + kierowca_czesc + prefiks;
    } else if (Numeracja_Miesieczna) {
        tekst = "/" + Miesiac(Data_Dzisiaj) + "/" + Rok(Data_Dzisiaj) + nazwa_dok;
    } else {
        tekst = "/" + Rok(Data_Dzisiaj) + nazwa_dok;
    }
    const std::string reszta = Tekst_Po_Ukosniku(tekst);
    return reszta.empty() ? "" : "/" + reszta;
}

int32_t ClsKonwersje::Nastepny_Numer_Dokumentu(int32_t konh_id, double data,
                                               const std::string& rodzaj, int32_t proponowany,
                                               const std::string& kierowca, int32_t dok_id,
                                               int32_t /*kier_id*/) {
    const Rodzaj_Dokumentu* r = Znajdz_Rodzaj(rodzaj);
    if (r == nullptr) jet::raise(jet::Fault::ItemNotFound, rodzaj);
    Biezace_Sm_id = 0;
    const auto rok = [&] {
        return " and " + Warunek_Okres(Poczatek_Roku(data), r->data, Koniec_Roku(data));
    };
    const auto miesiac = [&] {
        return " and " + Warunek_Okres(Poczatek_Miesiaca(data), r->data, Koniec_Miesiaca(data));
    };
    std::string warunek;
    std::unique_ptr<ado::Recordset> rs;
    if (DbOtwórzSEL(rs,
                    "top 1 sm_id,kier_id,sm_dd_id from kontrahenci where konh_id=" +
                        std::to_string(konh_id),
                    kOtworzOdczyt) > 0) {
        const int32_t sm_dd_id = NzLng(rs->Fields(2).value());
        Biezace_Sm_id =
            rodzaj == "sprzedaż_ddost" && sm_dd_id != 0 ? sm_dd_id : NzLng(rs->Fields(0).value());
    }
    if (Biezace_Sm_id != 0) {
        if (DbOtwórzSEL(rs,
                        " top 1 tryb,rob_kier from sposob_numeracji where sm_id =" +
                            std::to_string(Biezace_Sm_id),
                        kOtworzOdczyt) > 0) {
            const int32_t tryb = NzLng(rs->Fields(0).value());
            if (Tak(rs->Fields(1).value())) {
                const std::string kier =
                    " and kier_id=" +
                    std::to_string(Bez_Kierowcy(kierowca) ? 0 : Id_Kierowcy(kierowca));
                warunek = tryb == 0 ? rok() + kier : tryb == 1 ? miesiac() + kier : kier;
            } else {
                warunek = tryb == 0 ? rok() : tryb == 1 ? miesiac() : "";
            }
        } else {
            Biezace_Sm_id = 0;
            FMsg_box(
                "Uwaga - nie znaleziono numeracji przypisanej do kontrahenta. Wystawiam dokument "
                "w numeracji ogólnej.");
        }
    }
    if (rodzaj == "zakup_ddost" || rodzaj == "zakup_zwroty") {
        Biezace_Sm_id = 0;
        warunek = rok();
    } else if (Biezace_Sm_id == 0) {
        warunek = Numeracja_Miesieczna ? miesiac() : rok();
    }

    const std::string tabela = r->tabela;
    const std::string sm = std::to_string(Biezace_Sm_id);
    int32_t wynik = 0;
    if (proponowany == 0) {
        wynik = 1;
        if (DbOtwórzSEL(rs,
                        "top 1 num_ndok from " + tabela + " where smz_id=" + sm + warunek +
                            " order by num_ndok desc",
                        kOtworzOdczyt) > 0)
            wynik = NzLng(rs->Fields(0).value()) + 1;
    } else if (dok_id == 0) {
        wynik = DbOtwórzSEL(rs,
                            "TOP 1 num_ndok from " + tabela + " where smz_id=" + sm +
                                " and num_ndok=" + std::to_string(proponowany) + " " + warunek,
                            kOtworzOdczyt) > 0
                    ? 0
                    : proponowany;
    } else {
        const int32_t n = DbOtwórzSEL(
            rs,
            "TOP 1 num_ndok," + std::string(r->klucz) + " from " + tabela + " where smz_id=" + sm +
                " and num_ndok=" + std::to_string(proponowany) + " " + warunek,
            kOtworzOdczyt);
        wynik = n <= 0 || (n == 1 && NzLng(rs->Fields(1).value()) == dok_id) ? proponowany : 0;
    }
    ZamknijRS(rs);
    return wynik;
}

bool ClsKonwersje::Zapisz_Numer_Dokumentu(const std::string& rodzaj, int32_t numer,
                                          const std::string& tekst, const std::string& kierowca,
                                          int32_t konh_id, int32_t dok_id, int32_t kier_id) {
    if (numer == 0) return false;
    int32_t kierowca_id = kier_id;
    if (Biezace_Sm_id != 0) {
        if (kierowca != "Brak kierowcy" && kierowca != "Kierowca domyślny")
            kierowca_id = Id_Kierowcy(kierowca);
    } else if (kierowca == "Brak kierowcy" || kierowca == "Kierowca domyślny") {
        if (kierowca_id == 0 && kierowca == "Kierowca domyślny") {
            std::unique_ptr<ado::Recordset> rs;
            if (DbOtwórzSEL(
                    rs, "top 1 kier_id from kontrahenci where konh_id=" + std::to_string(konh_id),
                    kOtworzOdczyt) > 0)
                kierowca_id = NzLng(rs->Fields(0).value());
            ZamknijRS(rs);
        }
    } else {
        kierowca_id = Id_Kierowcy(kierowca);
    }

    std::unique_ptr<ado::Recordset> rs;
    try {
        const Rodzaj_Dokumentu* r = Znajdz_Rodzaj(rodzaj);
        if (r == nullptr) jet::raise(jet::Fault::ItemNotFound, rodzaj);
        DbOtwórzSELKonwersje(rs, std::string("top 1 ") + r->numer +
                                     ",num_ndok,kier_id,smz_id from " + r->tabela + " where " +
                                     r->klucz + "=" + std::to_string(dok_id));
        ado::Recordset& wiersz = kroki::Rekordy(rs);
        wiersz.Fields(0) = jet::Value::text(std::to_string(numer) + tekst);
        wiersz.Fields(1) = jet::Value::long_(numer);
        wiersz.Fields(2) = jet::Value::long_(kierowca_id);
        wiersz.Fields(3) = jet::Value::long_(Biezace_Sm_id);
    } catch (const jet::Error& e) {
        ZamknijRSKonwersje(rs);
        FMsg_box("BŁĄD SZUKANIA NUMERU DOKUMENTU!", vbOKOnly, e.description());
        return true;
    }
    try {
        rs->UpdateBatch();
    } catch (const jet::Error&) {
        ZamknijRSKonwersje(rs);
        if (++Licznik_Prob_Numeru <= 100) return false;
        Licznik_Prob_Numeru = 0;
        return FMsg_box(
                   "Mam problemy z nadaniem numeru dokumentu. Naciśnij 'Nie' w celu przerwania "
                   "wystawiania dokumentu i nadania mu numeru '" +
                       Stanowisko +
                       "'. Następnie sprawdź czy prawidłowo mamy skonfigurowaną numerację "
                       "(rozszerzoną). Czy chcesz próbować wytawianie dokumentu",
                   vbYesNo) != vbYes;
    }
    ZamknijRSKonwersje(rs);
    return true;
}
