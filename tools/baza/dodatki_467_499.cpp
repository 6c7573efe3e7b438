// Rows for steps 4.67 to 4.99. Of what these steps transform, release 1.65 carries the
// contractors (kinds, payer texts, placeholder texts), the receipts and the cash reports
// with their cash documents; settings, ledger-book entries and fixed assets come only
// from tables that later steps create.
#include <string>

#include "baza.h"
#include "jet/dates.h"

namespace baza {

namespace {

using jet::Value;

// The short name of a contractor of the register.
std::string Skrot(Budowa& b, int konh_id) {
    auto c = b.db.query("select KONH_NAZ_SKROT from KONTRAHENCI where KONH_ID = " +
                        std::to_string(konh_id));
    return c->next() ? c->value(0).to_text() : std::string();
}

// Adds a contractor and returns its id.
int Kontrahent(Budowa& b, const std::string& skrot, const std::string& rodzaj,
               const Value& platnik_kto, const std::string& cennik) {
    b.wstaw("KONTRAHENCI", {{"KONH_NAZ_SKROT", Value::text(skrot)},
                            {"KONH_NAZWA", Value::text(skrot + ", Nowy Targ")},
                            {"RKONH_ID", Value::long_(1)},
                            {"RKONH_NAZWA_ID", Value::text(rodzaj)},
                            {"KONH_ACTIV", Value::boolean(true)},
                            {"LCEN_NAZWA_ID", Value::text(cennik)},
                            {"konh_platnik", Value::boolean(false)},
                            {"sm_id", Value::long_(1)},
                            {"KONH_PLATNIK_KTO", platnik_kto}});
    auto c = b.db.query("select max(KONH_ID) from KONTRAHENCI");
    c->next();
    return c->value(0).to_long();
}

// A receipt of the contractor on the first document day, with one line of product 1
// at the given rate.
void Paragon(Budowa& b, int konh_id, const std::string& numer, const std::string& stawka) {
    b.wstaw("Paragon", {{"DDOUT_NUMER", Value::text(numer)},
                        {"KONH_ID", Value::long_(konh_id)},
                        {"DDOUT_DATA_WYST", Value::date(b.pierwszy_dzien)},
                        {"ddout_data_sprz", Value::date(b.pierwszy_dzien)},
                        {"DDOUT_WART_N", Value::single(20)},
                        {"DDOUT_wart_VAT", Value::single(4.4f)},
                        {"zapis", Value::boolean(true)},
                        {"fplat_nazwa_id", Value::text("Gotówka")},
                        {"zbiorczy", Value::boolean(false)},
                        {"kier_id", Value::long_(0)}});
    auto c = b.db.query("select max(DDOUT_ID) from Paragon");
    c->next();
    b.wstaw("Paragon_ZAWART", {{"DDOUT_ID", c->value(0)},
                               {"PROD_ID", Value::long_(1)},
                               {"ZDDOUT_ILOSC", Value::single(2)},
                               {"ZDDOUT_CENA_N", Value::currency(jet::Currency::from_double(10))},
                               {"ZDDOUT_VAT", Value::text(stawka)}});
}

}  // namespace

void dodatki_467_499(Budowa& b) {
    // Two fiscal cash registers: the shop's, paid for by the first customer (its receipts
    // become shop receipts), and the bakery's own without a payer (fiscal-register
    // receipts); a contractor without a kind (a supplier and customer from 4.70) whose
    // price-list text is the placeholder "Brak" (cleared at 4.77).
    const int sklep =
        Kontrahent(b, "Kasa sklepu Rynek", "Kasa Fiskalna", Value::text(Skrot(b, 1)), "Detal");
    const int piekarnia = Kontrahent(b, "Kasa piekarni", "Kasa Fiskalna", Value::text(""), "Detal");
    Kontrahent(b, "Młyn Dunajec", "", Value::null(), "Brak");
    // The bakery's register also sold at the exempt rate 'zw': a rate with no number in
    // it, which the gross prices of receipt lines (4.37, 4.77) meet.
    const std::string rok_paragonow =
        std::to_string(jet::dates::from_serial(b.pierwszy_dzien).year);
    Paragon(b, sklep, "PA S1/" + rok_paragonow, "22");
    Paragon(b, piekarnia, "PA K1/" + rok_paragonow, "22");
    Paragon(b, piekarnia, "PA K2/" + rok_paragonow, "zw");

    // The last cash report of the year before, with its receipt: the balance chain of the
    // cash desk runs across the turn of the year.
    const double od = b.pierwszy_dzien - 7;
    const std::string rok = std::to_string(jet::dates::from_serial(od).year);
    b.wstaw("Raport_kasowy", {{"raport_nr", Value::text("52/" + rok)},
                              {"data_od", Value::date(od)},
                              {"data_do", Value::date(od + 6)},
                              {"saldo_pocz", Value::currency(jet::Currency::from_double(860))},
                              {"saldo_konc", Value::currency(jet::Currency::from_double(1500))},
                              {"kwota_kp", Value::currency(jet::Currency::from_double(640))},
                              {"kwota_kw", Value::currency(jet::Currency::from_double(0))},
                              {"Bilans", Value::currency(jet::Currency::from_double(640))}});
    auto c = b.db.query("select max(id) from Raport_kasowy");
    c->next();
    const Value raport = c->value(0);
    b.sql("update Raport_kasowy set raport_id = id where id = " + raport.to_text());
    b.wstaw("KP", {{"nr_kp", Value::text("KP 52/" + rok)},
                   {"data", Value::date(od + 2)},
                   {"konh_id", Value::long_(1)},
                   {"kwota", Value::currency(jet::Currency::from_double(640))},
                   {"opis", Value::text("Zapłata za pieczywo")},
                   {"raport_id", raport},
                   {"pozycja", Value::long_(1)}});
    b.sql(
        "insert into KP_ZAWART (kp_id, rodzaj_dok, dok_id, kwota) select kp_id, 'Faktura VAT', "
        "kp_id, kwota from KP where nr_kp = 'KP 52/" +
        rok + "'");
}

}  // namespace baza
