// The document-numbering set-up: the last-number rows of Numery_OST_DOK and the
// numbering-period rows of sposob_numeracji_zawart that documents need. Each routine
// only adds a missing row; an existing row is never changed.
#include <cstdint>
#include <ctime>
#include <optional>
#include <string_view>
#include <vector>

#include "driver/konwersje.h"
#include "jet/dates.h"

namespace {

// The working date of the numbering rows. The conversion path never sets the suite's
// working date (it stays at the zero date, 30 December 1899); rows made for that
// period would be of no use to anybody, so a zero working date stands for today.
double Data_Robocza() {
    if (Data_Dzisiaj != 0) return Data_Dzisiaj;
    const std::time_t t = std::time(nullptr);
    std::tm lt{};
    localtime_r(&t, &lt);
    return jet::dates::to_serial(lt.tm_year + 1900, lt.tm_mon + 1, lt.tm_mday).value_or(0);
}

// The numbering types of a document kind, in call order (exact comparison).
std::vector<std::string_view> Typy_Numeracji(const std::string& rodzaj) {
    if (rodzaj == "Sprzedaż_F_VAT" || rodzaj == "Sprzedaż_F_VAT_zbiorcze") return {"faktura"};
    if (rodzaj == "korekta") return {"faktura_korekta"};
    if (rodzaj == "Paragon") return {"Paragon"};
    if (rodzaj == "Sprzedaż_ddost" || rodzaj == "Zakup_ddost") return {"dd"};
    if (rodzaj == "Sprzedaż_zwroty" || rodzaj == "Zakup_zwroty") return {"dz"};
    if (rodzaj == "Sprzedaż_detal") return {"detal"};
    if (rodzaj == "Magazyn_PW") return {"PW"};
    if (rodzaj == "Produkcja_P") return {"PP"};
    if (rodzaj == "Produkcja_R") return {"PR"};
    if (rodzaj == "zakupy" || rodzaj == "ZakupRA") return {"zakupy", "ZakupRA"};
    if (rodzaj == "ZakupyRR") return {"ZakupyRR"};
    if (rodzaj == "korekta_z") return {"fakturaZak_korekta"};
    return {"faktura",
            "faktura_korekta",
            "Paragon",
            "dd",
            "dz",
            "detal",
            "PW",
            "PP",
            "PR",
            "zakupy",
            "ZakupyRR",
            "ZakupRA",
            "fakturaZak_korekta"};
}

// A scheme or driver id as its Long column holds it; a Null id names no scheme or
// driver, and nothing is made for it. The ids are kept whole: a scheme or driver whose id
// lies beyond the 16-bit range (which the suite's own set-up read them through, and
// stopped on) gets its rows like any other, for its documents to be linked to them.
std::optional<int32_t> Identyfikator(const jet::Value& v) {
    if (v.is_null()) return std::nullopt;
    return v.to_long();
}

}  // namespace

void ClsKonwersje::Dodaj_Numeracje_Zawart(int32_t sm_id, int32_t kierowca_id, int16_t rok,
                                          int16_t miesiac) {
    std::unique_ptr<ado::Recordset> rs;
    const std::string tekst =
        "[nr_fa],[nr_fk],[nr_dd],[nr_dz],[nr_par],[nr_sp],[nr_pw],[id],[sm_id],[kierowca_id],"
        "[rok],[miesiac] FROM [sposob_numeracji_zawart] where [sm_id]=" +
        std::to_string(sm_id) + " and kierowca_id =" + std::to_string(kierowca_id) + " and rok='" +
        std::to_string(rok) + "' and miesiac='" + std::to_string(miesiac) + "'";
    if (DbOtwórzSELKonwersje(rs, tekst, false) == 0) {
        rs->AddNew();
        for (int i = 0; i < 7; ++i) rs->Fields(i).set(jet::Value::long_(0));
        rs->Fields(8).set(jet::Value::long_(sm_id));
        rs->Fields(9).set(jet::Value::long_(kierowca_id));
        rs->Fields(10).set(jet::Value::text(std::to_string(rok)));
        rs->Fields(11).set(jet::Value::text(std::to_string(miesiac)));
        rs->UpdateBatch(ado::adAffectAll);
    }
    ZamknijRSKonwersje(rs);
}

void ClsKonwersje::Dodaj_Numer_OST_DOK(const std::string& rodzaj) {
    Numeracja_Miesieczna = Czytaj_SetupKonwersje("roczna") == "0";
    const auto data = jet::dates::from_serial(Data_Robocza());
    const int rok = data.year;
    const int miesiac = Numeracja_Miesieczna ? data.month : 13;
    std::unique_ptr<ado::Recordset> rs;
    const std::string tekst =
        "numer_faktury, rodzaj_dok, rok, MIESIAC from Numery_OST_DOK where rodzaj_dok='" + rodzaj +
        "' and rok=" + std::to_string(rok) + " and miesiac= " + std::to_string(miesiac);
    if (DbOtwórzSELKonwersje(rs, tekst, false) == 0) {
        rs->AddNew();
        rs->Fields(0).set(jet::Value::long_(0));
        rs->Fields(1).set(jet::Value::text(rodzaj));
        rs->Fields(2).set(jet::Value::long_(rok));
        rs->Fields(3).set(jet::Value::long_(miesiac));
        rs->UpdateBatch(ado::adAffectAll);
    }
    ZamknijRSKonwersje(rs);
}

void ClsKonwersje::Inicjuj_Numeracje_Dokumentow(const std::string& rodzaj, double& data) {
    // A missing document date (the zero time, or no date at all) takes the working date.
    if (data == 0 || !jet::dates::in_range(data)) data = Data_Robocza();
    for (auto typ : Typy_Numeracji(rodzaj)) Dodaj_Numer_OST_DOK(std::string(typ));

    const auto dzien = jet::dates::from_serial(data);
    std::unique_ptr<ado::Recordset> schematy;
    if (DbOtwórzSELKonwersje(schematy, "[sm_id],[tryb],[rob_kier] FROM [SPOSOB_NUMERACJI]", false) >
        0) {
        int16_t rok = 0, miesiac = 0;
        while (!schematy->Eof()) {
            const jet::Value tryb = schematy->Fields(1).value();
            if (!tryb.is_null()) {
                switch (tryb.to_long()) {
                    case 0:
                        rok = static_cast<int16_t>(dzien.year), miesiac = 0;
                        break;
                    case 1:
                        rok = static_cast<int16_t>(dzien.year);
                        miesiac = static_cast<int16_t>(dzien.month);
                        break;
                    case 2:
                        rok = 0, miesiac = 0;
                        break;
                    default:
                        break;  // keeps the period of the previous scheme
                }
            }
            // A scheme without an id names nothing: it gets no rows (step 2.57 logs it).
            const std::optional<int32_t> sm_id = Identyfikator(schematy->Fields(0).value());
            const jet::Value kier = schematy->Fields(2).value();
            if (sm_id && !kier.is_null() && kier.to_bool()) {
                std::unique_ptr<ado::Recordset> kierowcy;
                if (DbOtwórzSELKonwersje(kierowcy, "[kier_id]  FROM [S_KIEROWCY]", false) > 0) {
                    while (!kierowcy->Eof()) {
                        if (auto kier_id = Identyfikator(kierowcy->Fields(0).value()))
                            Dodaj_Numeracje_Zawart(*sm_id, *kier_id, rok, miesiac);
                        kierowcy->MoveNext();
                    }
                }
                ZamknijRSKonwersje(kierowcy);
            } else if (sm_id) {
                Dodaj_Numeracje_Zawart(*sm_id, 0, rok, miesiac);
            }
            schematy->MoveNext();
        }
    }
    ZamknijRSKonwersje(schematy);
}
