// Step 2.14: two letter texts for balance confirmations stored as Setup values, zero
// rows for products missing from the quantity tables, magazyn_produktow collapsed to
// one row per product, and the purchase part of the VAT register rebuilt from the
// lines of every booked purchase document.
#include "db/nz.h"
#include "db/postep.h"
#include "db/stan.h"
#include "db/sumy_vat.h"
#include "driver/konwersje.h"
#include "jet/text.h"
#include "steps/165_299/wspolne.h"

using kroki::Rekordy;

namespace {

constexpr const char* kSaldoPotwierdzenie1 =
    "Na podstawie umowy o rachunkowości z dnia 29 września 1994 r. (Dz.U. Nr 121 z 1994 r., "
    "poz. 591) wzywamy Was do potwierdzenia w terminie 10 dni na kopii niniejszego "
    "potwierdzenia, zgodności następujących sald figurujących w naszych księgach na dzień "
    "31-10-2000";
constexpr const char* kSaldoPotwierdzenie2 =
    "Jednocześnie wzywamy Was do przekazania powyższych kwot na nasze konto";

// The tax of a net sum at a rate, kept exact to 4 decimals (halves to even) with no
// rounding to 2 decimals: the register row rounds it when it is written.
jet::Currency Podatek(jet::Currency netto, double stawka) {
    return jet::Currency::from_double(netto.to_double() * stawka);
}

}  // namespace

void ClsKonwersje::Konwersja_214() {
    Zapisz_SetupKonwersje("Saldo_Potwierdzenie_1", kSaldoPotwierdzenie1);
    Zapisz_SetupKonwersje("Saldo_Potwierdzenie_2", kSaldoPotwierdzenie2);

    // Work tables of this run (their names carry the Windows user's name, empty during
    // a conversion run).
    const std::string mag = "[_magazyn_produktow_POM" + Uzytkownik_Windows + "]";
    const std::string rej = "[_rejestr_pom" + Uzytkownik_Windows + "]";
    const std::string& DISTINCTROW = Stala_DISTINCTROW;

    DbWykonajKonwersje("DROP table " + mag);
    DbWykonajKonwersje("DROP table " + rej);
    DbWykonajKonwersje("create table " + mag + " ([prod_id] Long , ilosc Single DEFAULT 0)");
    DbWykonajKonwersje(
        "create table " + rej +
        " (konh_id Long , data Date , numer Text(255) , wartN Single DEFAULT 0 , wartVAT "
        "Single DEFAULT 0 , zwn Single DEFAULT 0 , zwvat Single DEFAULT 0 , zeron Single "
        "DEFAULT 0 , zeroVat Single DEFAULT 0 , 7n Single DEFAULT 0 , 7vat Single DEFAULT 0 , "
        "22n Single DEFAULT 0 , 22vat Single DEFAULT 0 , n3 Single DEFAULT 0 , vat3 Single "
        "DEFAULT 0 , dok_id Long , dokument Text(255),zaks logical)");

    // Every product gets a quantity row of 0 in each quantity table that lacks one: the
    // raw-material tables are keyed by sur_id, the product tables by prod_id.
    for (const auto& [tabela, klucz] :
         {std::pair{"zakupy_ilosc", "sur_id"}, std::pair{"zuzycie_calkowite", "sur_id"},
          std::pair{"magazyn_produktow", "prod_id"}, std::pair{"SPRZEDAZ_ILOSC", "prod_id"}}) {
        const std::string t = std::string("[") + tabela + "]";
        const std::string k = std::string("[") + klucz + "]";
        DbWykonajKonwersje("Insert Into " + t + " ( " + k + ", ilosc ) SELECT " + DISTINCTROW +
                           " PRODUKTY.[prod_id],  0 AS Wyr2 FROM PRODUKTY LEFT JOIN " + t +
                           " ON PRODUKTY.[prod_id] = " + t + "." + k + " WHERE (((" + t + "." + k +
                           ") Is Null))");
    }

    // magazyn_produktow collapsed to one row per product through the work table; a stock
    // row without a quantity counts as none, so a product whose every row has none holds 0.
    DbWykonajKonwersje("Delete from " + mag + " ");
    DbWykonajKonwersje("Insert Into " + mag +
                       " ( [prod_id], ilosc ) SELECT [magazyn_produktow].[prod_id], "
                       "Sum(Nz([magazyn_produktow].ilosc,0)) AS Sumazilosc From "
                       "[magazyn_produktow] GROUP BY [magazyn_produktow].[prod_id]");
    DbWykonajKonwersje("Delete from [magazyn_produktow] ");
    DbWykonajKonwersje("Insert Into [magazyn_produktow] ( [prod_id], ilosc ) SELECT " + mag +
                       ".[prod_id], " + mag + ".ilosc FROM " + mag);
    // The work table holds the only record of the stock until magazyn_produktow has it back.
    Sprawdz_Przeniesienie(mag.substr(1, mag.size() - 2), "magazyn_produktow", mag,
                          "[magazyn_produktow]");
    DbWykonajKonwersje("Delete from " + mag + " ");

    // The purchase register: one work row per booked document, the line nets added per
    // rate (once for every line, whether or not its product is given or still exists: the
    // register holds the whole document; a line without a net adds none), then one
    // register row each.
    DbWykonajKonwersje("Delete from tabela_vat where r_dok='zakupy'");
    DbWykonajKonwersje("Delete from " + rej);
    DbWykonajKonwersje(
        "Insert Into " + rej +
        "  ( numer, data, konh_id, wartN, wartVAT, dok_id, dokument,zwn ,zeron,[7n] "
        ",[7vat],[22n] ,[22vat] , [n3],[vat3] ) SELECT " +
        DISTINCTROW +
        " zakupy.numer_zaksiegowania, zakupy.data_zaksiegowania, zakupy.KONH_ID, "
        "zakupy.wart_n, zakupy.VAT, zakupy.numer_id, 'zakupy' AS dokdok,0,0,0,0,0,0,0,0 From "
        "zakupy WHERE [numer_zaksiegowania]<>''");
    const std::string zlaczenie = "Update " + rej + " INNER JOIN zakupy_zawart ON " + rej +
                                  ".dok_id = zakupy_zawart.numer_id SET ";
    // Each purchase line adds its net value once to its document's row: the update
    // applies once per joined line, as it is meant to.
    const Zamierzony_Raport po_linii{jet::reports::Kind::MultiPair};
    DbWykonajKonwersje(zlaczenie + rej + ".zwn   =" + rej +
                       ".zwn  +(wart_n) where wart_n is not null and VAT='zw'");
    DbWykonajKonwersje(zlaczenie + rej + ".zeron =" + rej +
                       ".zeron+(wart_n) where wart_n is not null and VAT='0'");
    DbWykonajKonwersje(zlaczenie + rej + ".[n3]  =" + rej +
                       ".[n3] +(wart_n) where wart_n is not null and VAT='3'");
    DbWykonajKonwersje(zlaczenie + rej + ".[7n]  =" + rej +
                       ".[7n] +(wart_n) where wart_n is not null and VAT='7'");
    DbWykonajKonwersje(zlaczenie + rej + ".[22n] =" + rej +
                       ".[22n]+(wart_n) where wart_n is not null and VAT='22'");

    std::unique_ptr<ado::Recordset> rs;
    DbOtwórzSELKonwersje(rs, "[zwn],[zeron],[n3],[7n],[22n],[dok_id] from " + rej);
    while (!Rekordy(rs).Eof()) {
        Zeruj_Sumy_VAT();
        static constexpr const char* kStawki[] = {"zw", "0", "3", "7", "22"};
        for (int i = 0; i < 5; ++i) {
            jet::Currency kwota = NzCur(rs->Fields(i).value());
            Dodaj_Kwote_VAT(kwota, kStawki[i]);
        }
        Zapisz_Wiersz_Rejestru_VAT(rs->Fields(5).value().to_long(), "zakupy");
        rs->MoveNext();
    }
    ZamknijRSKonwersje(rs);
    DbWykonajKonwersje("DROP table " + mag);
    DbWykonajKonwersje("DROP table " + rej);
}

void ClsKonwersje::Dodaj_Kwote_VAT(jet::Currency& kwota, const std::string& stawka) {
    kwota = NzCur(jet::Value::currency(kwota));
    const std::string s = jet::text::upper(stawka);
    int slot = -1;
    if (s == "22")
        slot = 1;
    else if (s == "7")
        slot = 2;
    else if (s == "3")
        slot = 5;
    else if (s == "0")
        slot = 3;
    else if (s == "ZW")
        slot = 4;
    if (slot >= 0)
        Sumy_Netto_VAT[slot] =
            jet::add(jet::Value::currency(Sumy_Netto_VAT[slot]), jet::Value::currency(kwota))
                .to_currency();
    Sumy_VAT[1] = Podatek(Sumy_Netto_VAT[1], 0.22);
    Sumy_VAT[2] = Podatek(Sumy_Netto_VAT[2], 0.07);
    Sumy_VAT[5] = Podatek(Sumy_Netto_VAT[5], 0.03);
}

void ClsKonwersje::Zapisz_Wiersz_Rejestru_VAT(int32_t id_dokumentu, const std::string& rodzaj) {
    std::unique_ptr<ado::Recordset> rs;
    DbOtwórzSELKonwersje(rs, "id,r_dok,vat7,vat22,n7,n22,n0,nzw,vat3,n3 from tabela_vat");
    ado::Recordset& r = Rekordy(rs);
    r.AddNew();
    const auto kwota = [](jet::Currency c) {
        return jet::Value::currency(NzCur(jet::Value::currency(c)));
    };
    r.Fields(0) = jet::Value::long_(id_dokumentu);
    r.Fields(1) = jet::Value::text(rodzaj);
    r.Fields(2) = kwota(Sumy_VAT[2]);
    r.Fields(3) = kwota(Sumy_VAT[1]);
    r.Fields(4) = kwota(Sumy_Netto_VAT[2]);
    r.Fields(5) = kwota(Sumy_Netto_VAT[1]);
    r.Fields(6) = kwota(Sumy_Netto_VAT[3]);
    r.Fields(7) = kwota(Sumy_Netto_VAT[4]);
    r.Fields(8) = kwota(Sumy_VAT[5]);
    r.Fields(9) = kwota(Sumy_Netto_VAT[5]);
    r.UpdateBatch(ado::adAffectAll);
    ZamknijRSKonwersje(rs);
}
