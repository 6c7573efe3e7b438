// Steps 1.89 to 1.96: stocktaking quantity columns, the raw-material summary of the
// order reports and the raw-material stock, order reports numbered by date, old
// production and stock tables dropped, products and raw materials renumbered, the
// customer's driver copied into the old sales documents, and the product stock set to
// the latest stocktaking.
#include <array>
#include <optional>
#include <string>

#include "db/nz.h"
#include "db/postep.h"
#include "driver/konwersje.h"
#include "steps/165_299/wspolne.h"

using jet::Value;

namespace {

// The two-series product numbering: own products (prod_wl 1) from 1 up, every other
// product (0, Null or any other value) from obce_od + 1 up, each series in the old
// number order (products of one old number by their prod_id).
void Numeruj_Produkty(ClsKonwersje& k, int32_t obce_od) {
    int32_t wlasne = 0;
    int32_t obce = obce_od;
    kroki::Numeruj(k, "prod_numer_id,prod_wl from PRODUKTY order by prod_numer_id,prod_id",
                   [&](ado::Recordset& rs) -> std::optional<int32_t> {
                       if (kroki::Rowne(rs.Fields(1).value(), 1)) return ++wlasne;
                       return ++obce;
                   });
}

// Order reports numbered by date: reports of one date share a number, dates numbered
// 1, 2, 3 ... in date order. A Null date never counts as a new date and takes the
// current number (0 while the Null dates come first). With blok set the third field
// Null becomes 0 and each record is written at once; otherwise one batch at the end.
void Numeruj_Raporty(ClsKonwersje& k, const std::string& tekst, bool blok) {
    std::unique_ptr<ado::Recordset> rs;
    k.DbOtwórzSELKonwersje(rs, tekst);
    std::string ostatnia;
    int32_t n = 0;
    ado::Recordset& r = kroki::Rekordy(rs);
    while (!r.Eof()) {
        const Value data = r.Fields(1).value();
        if (!data.is_null() && data.to_text() != ostatnia) {
            ++n;
            ostatnia = data.to_text();
        }
        r.Fields(0) = Value::long_(n);
        if (blok) {
            if (r.Fields(2).value().is_null()) r.Fields(2) = Value::long_(0);
            r.UpdateBatch();
        }
        r.MoveNext();
    }
    if (!blok) r.UpdateBatch();
    k.ZamknijRSKonwersje(rs);
}

const std::string kRaportSurowce =
    "create table [Zamowienia_Raport_Surowce] (data date,sur_id long,Ilosc Single DEFAULT 0)";

// The statements that steps 1.92 to 1.94 repeat: the raw-material summary with its
// rap_id and the rozch_il column, Nulls of rozch_il set to 0 by zerowanie.
void Raport_Surowce_I_Rozchod(ClsKonwersje& k, const std::string& zerowanie) {
    k.DbWykonajKonwersje(kRaportSurowce);
    k.DbWykonajKonwersje("alter table Zamowienia_Raport_Surowce ADD COLUMN rap_id long");
    k.DbWykonajKonwersje("alter table [SPRZEDAZ_ILOSC] ADD COLUMN rozch_il Single DEFAULT 0");
    k.DbWykonajKonwersje(zerowanie);
}

// The raw-material summary takes the rap_id of the reports of its date. Reports of one
// date share their rap_id (Numeruj_Raporty), so each of them gives the same number.
void Raport_Surowce_Rap_Id(ClsKonwersje& k) {
    const Zamierzony_Raport z{jet::reports::Kind::MultiPair};
    k.DbWykonajKonwersje(
        "Update Zamowienia_Raport_Surowce inner join Zamowienia_raport on "
        "Zamowienia_Raport.data=Zamowienia_Raport_Surowce.data set "
        "Zamowienia_Raport_Surowce.rap_id=Zamowienia_Raport.rap_id");
}

const std::string kZerujRozchod = "Update [SPRZEDAZ_ILOSC] set rozch_il=0 where rozch_il is null";

// Steps 1.89 and 1.96, one code: the group columns, the two-series product numbering
// (others from 10001) and the customer's driver in every sales document without one (0
// or Null). A customer without a driver gives none: the document keeps its 0 (no driver),
// which a Null would have replaced, and the Log counts such documents.
void Grupy_Numery_Kierowcy(ClsKonwersje& k, int krok) {
    k.DbWykonajKonwersje("alter table SUROWCE ADD COLUMN grupa text(50)");
    k.DbWykonajKonwersje("alter table PRODUKTY ADD COLUMN grupa text(50)");
    Numeruj_Produkty(k, 10000);
    static constexpr std::array<const char*, 6> kDokumenty = {
        "FAKTURY_WYCH", "FAKTURY_WYCH_KOREKTA", "DOWODY_DOSTAW", "DOWODY_ZWROTU",
        "Paragon",      "SPRZEDAZ_NEW",
    };
    for (const std::string t : kDokumenty) {
        const std::string zlaczenie =
            t + " INNER JOIN KONTRAHENCI ON " + t + ".KONH_ID = KONTRAHENCI.KONH_ID";
        k.DbWykonajKonwersje("UPDATE " + zlaczenie + " SET " + t +
                             ".kier_id = [kontrahenci].[kier_id] where Nz(" + t +
                             ".kier_id,0)=0 and [kontrahenci].[kier_id] is not null");
        kroki::Loguj_Bez_Wskazania(
            k, krok, "dokumenty " + t + " bez kierowcy (kontrahent nie ma kierowcy)",
            zlaczenie + " where Nz(" + t + ".kier_id,0)=0 and [kontrahenci].[kier_id] is null");
    }
}

}  // namespace

void ClsKonwersje::Konwersja_189() {
    Grupy_Numery_Kierowcy(*this, 189);
}

void ClsKonwersje::Konwersja_190() {
    static constexpr std::array<const char*, 5> kTabele = {
        "DOWODY_DOSTAW", "DOWODY_ZWROTU", "FAKTURY_WYCH", "FAKTURY_WYCH_KOREKTA", "Paragon",
    };
    for (const std::string t : kTabele)
        DbWykonajKonwersje("UPDATE " + t + " set wart_kp=0 where wart_kp is null");
    DbWykonajKonwersje("UPDATE FAKTURY_WYCH set wart_dd=0 where wart_dd is null");
    Zmien_Typ_Pola("Ilosc_namagazynie", "Single DEFAULT 0", "REMANENTINWENT_ZAWARTOSC");
    Zmien_Typ_Pola("Ilosc_stanfaktyczny", "Single DEFAULT 0", "REMANENTINWENT_ZAWARTOSC");
    DbWykonajKonwersje(kRaportSurowce);
}

void ClsKonwersje::Konwersja_191() {
    DbWykonajKonwersje(kRaportSurowce);
    static constexpr std::array<const char*, 6> kIlosci = {
        "mag_prod", "zak_il", "sprz_il", "zuzyte", "przych_il", "rozch_il",
    };
    for (const std::string c : kIlosci)
        DbWykonajKonwersje("alter table REMANENTINWENT_ZAWARTOSC ADD COLUMN " + c +
                           " Single DEFAULT 0");
    for (const std::string c : kIlosci)
        DbWykonajKonwersje("Update REMANENTINWENT_ZAWARTOSC set " + c + "=0 where " + c +
                           " is null");
    DbWykonajKonwersje("alter table Zamowienia_raport ADD COLUMN rap_id long");
    DbWykonajKonwersje("alter table Zamowienia_Raport_Surowce ADD COLUMN rap_id long");

    Numeruj_Raporty(*this, "rap_id,data from zamowienia_raport order by data", false);

    DbWykonajKonwersje("Update Zamowienia_Raport_Surowce set Zamowienia_Raport_Surowce.rap_id=0");
    Raport_Surowce_Rap_Id(*this);

    DbWykonajKonwersje("create table magazyn_SUROWCOW ([SUR_id] Long,ilosc   Single DEFAULT 0)");

    static constexpr std::array<const char*, 11> kStare = {
        "SPRZEDAZ",        "BILANS_SUR",      "BILANS_PROD",         "MAGAZYN_ZAWARTOSC_ILOSC",
        "remanent",        "remanent_zawart", "remanent_zawart_pro", "remanent_zawart_POM",
        "SPRZEDAZ_PUNKTY", "zlec_prod",       "zlec_prod_zawart",
    };
    for (const std::string t : kStare) DbWykonajKonwersje("DROP TABLE " + t);

    DbWykonajKonwersje("alter table SPRZEDAZ_NEW ADD COLUMN rodzdok text(1) null");
    DbWykonajKonwersje("Update SPRZEDAZ_NEW set rodzdok='R' where rodzdok is null");

    kroki::Dodaj_Wiersz_Gdy_Brak(*this, "dokument from PARAMETRY_NAGLOWEK where dokument='PW'",
                                 {Value::text("PW")});

    static constexpr std::array<const char*, 3> kZerowe = {"zakupy_ilosc", "[zuzycie_calkowite]",
                                                           "magazyn_SUROWCOW"};
    for (const std::string tabela : kZerowe) {
        DbWykonajKonwersje("Insert Into " + tabela + " ( [sur_id], ilosc ) SELECT " +
                           Stala_DISTINCTROW +
                           " SUROWCE.[sur_id],  0 AS Wyr2 FROM SUROWCE LEFT JOIN " + tabela +
                           " ON SUROWCE.[sur_id] = " + tabela + ".[sur_id] WHERE (((" + tabela +
                           ".[sur_id]) Is Null))");
    }

    DbWykonajKonwersje("alter table [SPRZEDAZ_ILOSC] ADD COLUMN przych_il Single DEFAULT 0");
    DbWykonajKonwersje("Update [SPRZEDAZ_ILOSC] set zakup_il=0 where zakup_il is null");
    DbWykonajKonwersje("Update [SPRZEDAZ_ILOSC] set przych_il=0 where przych_il is null");
    DbWykonajKonwersje("alter table [SPRZEDAZ_ILOSC] ADD COLUMN rozch_il Single DEFAULT 0");
    DbWykonajKonwersje(kZerujRozchod);

    // Raw materials in three series, each from 1: bought-only (prod_wl 1 and sur_kod 1),
    // other own raw materials (prod_wl 1), and the rest; raw materials of one old number
    // by their sur_id.
    int32_t seria_a = 0, seria_b = 0, seria_c = 0;
    kroki::Numeruj(*this, "sur_numer,prod_wl,sur_kod from SUROWCE order by sur_numer,sur_id",
                   [&](ado::Recordset& rs) -> std::optional<int32_t> {
                       if (!kroki::Rowne(rs.Fields(1).value(), 1)) return ++seria_c;
                       if (kroki::Rowne(rs.Fields(2).value(), 1)) return ++seria_a;
                       return ++seria_b;
                   });

    DbWykonajKonwersje("alter table Zamowienia_raport ADD COLUMN blok long");
    DbWykonajKonwersje("Update Zamowienia_Raport set Zamowienia_Raport.blok=0 where blok is null");
}

void ClsKonwersje::Konwersja_192() {
    Raport_Surowce_I_Rozchod(*this,
                             "UPDATE [SPRZEDAZ_ILOSC] SET ROZCH_IL = 0 WHERE ROZCH_IL IS NULL");
    Numeruj_Produkty(*this, 0);
}

void ClsKonwersje::Konwersja_193() {
    Raport_Surowce_I_Rozchod(*this, kZerujRozchod);
    Numeruj_Raporty(*this, "rap_id,data,blok from zamowienia_raport order by data", true);
    Raport_Surowce_Rap_Id(*this);
    DbWykonajKonwersje("UPDATE [SPRZEDAZ_ILOSC] SET ROZCH_IL = 0 WHERE ROZCH_IL IS NULL");

    // One run of numbers: own products first, then bought goods (a product without
    // prod_wl among them), products of one old number by their prod_id; any other prod_wl
    // keeps its number.
    int32_t n = 0;
    const auto nastepny = [&](ado::Recordset&) -> std::optional<int32_t> { return ++n; };
    kroki::Numeruj(
        *this, "prod_numer_id,prod_wl from PRODUKTY where prod_wl=1 order by prod_numer_id,prod_id",
        nastepny);
    kroki::Numeruj(
        *this,
        "prod_numer_id,prod_wl from PRODUKTY where Nz(prod_wl,0)=0 order by prod_numer_id,prod_id",
        nastepny);
}

void ClsKonwersje::Konwersja_194() {
    Raport_Surowce_I_Rozchod(*this, kZerujRozchod);
    DbWykonajKonwersje("Update [magazyn_produktow] set ilosc=0");

    // Each product's stock is its counted quantity in the latest stocktaking (highest
    // ID_RI) that lists it as an own product: the sum of its lines there, a line without
    // a quantity counting as none; lines of a stocktaking that is gone belong to none. A
    // stock row without a product names nothing to look up.
    std::unique_ptr<ado::Recordset> rs;
    if (DbOtwórzSELKonwersje(rs, "prod_id,ilosc From [magazyn_produktow]") > 0) {
        std::unique_ptr<ado::Recordset> rem;
        while (!rs->Eof()) {
            const Value prod_id = rs->Fields(0).value();
            if (!prod_id.is_null() &&
                DbOtwórzSELKonwersje(
                    rem,
                    "Sum(Nz([Ilosc_stanfaktyczny],0)),REMANENTINWENT_ZAWARTOSC.[id_ri] From "
                    "REMANENTINWENT_ZAWARTOSC INNER JOIN REMANENTINWENT ON "
                    "REMANENTINWENT.ID_RI=REMANENTINWENT_ZAWARTOSC.ID_RI WHERE "
                    "(((REMANENTINWENT_ZAWARTOSC.Rodz)='P') AND ((REMANENTINWENT_ZAWARTOSC.ID)=" +
                        prod_id.to_text() +
                        ")) group by REMANENTINWENT_ZAWARTOSC.[id_ri] order by "
                        "REMANENTINWENT_ZAWARTOSC.id_ri desc") > 0) {
                rs->Fields(1) = rem->Fields(0).value();
                rs->UpdateBatch();
            }
            ZamknijRSKonwersje(rem);
            rs->MoveNext();
        }
    }
    ZamknijRSKonwersje(rs);
}

void ClsKonwersje::Konwersja_196() {
    Grupy_Numery_Kierowcy(*this, 196);
}
