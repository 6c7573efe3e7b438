// Rows for steps 4.14 to 4.66: cash documents that settle corrections and other cash
// documents, some beyond the settled document's value; a price-list line whose price
// list is gone; purchases at the 3% and exempt rates.
#include <cstdint>
#include <memory>
#include <string>
#include <tuple>

#include "baza.h"

namespace baza {

namespace {

// The largest value of a column, 0 for an empty table.
int32_t Najwiekszy(Budowa& b, const std::string& kolumna, const std::string& tabela) {
    auto c = b.db.query("select max(" + kolumna + ") from " + tabela);
    if (!c->next() || c->value(0).is_null()) return 0;
    return c->value(0).to_long();
}

// A cash document of table t (KP receipts, KW payments) with its amount; its id.
int32_t Dokument_Kasowy(Budowa& b, const std::string& t, const std::string& numer, double kwota) {
    b.sql("insert into " + t +
          " (nr_kp, data, konh_id, kwota, opis, raport_id, pozycja) values ('" + numer + "', " +
          std::to_string(static_cast<int64_t>(b.pierwszy_dzien) + 20) + ", 1, " +
          std::to_string(kwota) + ", 'Rozliczenie', 0, 0)");
    return Najwiekszy(b, "kp_id", t);
}

void Linia(Budowa& b, const std::string& t, int32_t kp_id, const std::string& rodzaj,
           int32_t dok_id, double kwota) {
    b.sql("insert into " + t + "_ZAWART (kp_id, rodzaj_dok, dok_id, kwota) values (" +
          std::to_string(kp_id) + ", '" + rodzaj + "', " + std::to_string(dok_id) + ", " +
          std::to_string(kwota) + ")");
}

}  // namespace

void dodatki_414_466(Budowa& b) {
    // A receipt worth 300 that a payment settles for 500: the line is capped at 300.
    const int32_t kp1 = Dokument_Kasowy(b, "KP", "KP 901/R", 300);
    const int32_t kw1 = Dokument_Kasowy(b, "KW", "KW 901/R", 500);
    Linia(b, "KW", kw1, "KP", kp1, 500);
    // A receipt worth 40 whose own line settles 100 of an invoice, settled by two payments
    // of 20 and 15: its excess is more than those lines hold.
    const int32_t kp2 = Dokument_Kasowy(b, "KP", "KP 902/R", 40);
    Linia(b, "KP", kp2, "Faktura VAT", 1, 100);
    for (double kwota : {20.0, 15.0})
        Linia(b, "KW", Dokument_Kasowy(b, "KW", "KW 902/R", kwota), "KP", kp2, kwota);
    // Two receipts that settle the first sales correction, one of them under the purchase
    // correction kind.
    const int32_t korekta = Najwiekszy(b, "FKOROUT_ID", "FAKTURY_WYCH_KOREKTA");
    if (korekta > 0) {
        Linia(b, "KP", Dokument_Kasowy(b, "KP", "KP 903/R", 12.5), "Korekta", korekta, 12.5);
        Linia(b, "KP", Dokument_Kasowy(b, "KP", "KP 904/R", 7), "Korekta Zak -", korekta, 7);
    }

    // A price-list line of a price list that no longer exists.
    b.sql("insert into cennik (cen_id, LCEN_NAZWA_ID, PROD_ID, CEN_NETTO, CEN_BRUTTO) values (" +
          std::to_string(Najwiekszy(b, "cen_id", "cennik") + 1) + ", 'Wycofany', 1, 2.5, 2.68)");

    // A purchase of raw materials at 3% and exempt.
    b.sql(
        "insert into zakupy (numer_zaksiegowania, numer_dokumentu, data_zaksiegowania, "
        "data_wystawienia, data_zakupu, KONH_ID, wart_n, VAT, del, f_platnosci) values "
        "('900/R', 'FV 900', " +
        std::to_string(static_cast<int64_t>(b.pierwszy_dzien) + 10) + ", " +
        std::to_string(static_cast<int64_t>(b.pierwszy_dzien) + 9) + ", " +
        std::to_string(static_cast<int64_t>(b.pierwszy_dzien) + 9) + ", 1, 150, 3, 0, 'Przelew')");
    const int32_t zakup = Najwiekszy(b, "numer_id", "zakupy");
    for (const auto& [sur, stawka, wartosc] :
         {std::tuple{1, "3", 100.0}, std::tuple{2, "zw", 50.0}})
        b.sql(
            "insert into zakupy_zawart (numer_id, sur_id, ILOSC, CENA_N, WART_N, VAT, auto) "
            "values (" +
            std::to_string(zakup) + ", " + std::to_string(sur) + ", 10, " +
            std::to_string(wartosc / 10) + ", " + std::to_string(wartosc) + ", '" + stawka +
            "', 0)");
}

}  // namespace baza
