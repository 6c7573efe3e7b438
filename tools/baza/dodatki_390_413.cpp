// Rows for steps 3.90 to 4.13: production of the last two weeks spread over the three
// shifts (the production documents that step 4.07 cuts by shift), and a cash receipt
// without an amount in the first cash report (the reports that step 3.93 sums again).
#include <cstdio>
#include <string>

#include "baza.h"
#include "jet/dates.h"

namespace baza {

namespace {

// A day as a Jet date literal (month first).
std::string Dzien(double serial) {
    const jet::dates::Parts p = jet::dates::from_serial(serial);
    char tekst[16];
    std::snprintf(tekst, sizeof tekst, "#%02d-%02d-%04d#", p.month, p.day, p.year);
    return tekst;
}

}  // namespace

void dodatki_390_413(Budowa& b) {
    // The production report keeps the last two weeks (the large database: every day).
    // Every third day runs two shifts, the day after it three, and the last day has no
    // first shift at all.
    const int dni = b.opcje.large ? b.dni : 14;
    const double pierwszy = b.pierwszy_dzien + b.dni - dni;
    for (int d = 0; d < dni; ++d) {
        const std::string gdzie = " where data=" + Dzien(pierwszy + d);
        if (d == dni - 1)
            b.sql(
                "update Zamowienia_raport set ilosc_prod2=ilosc_prod-int(ilosc_prod/3), "
                "ilosc_prod3=int(ilosc_prod/3), ilosc_prod=0" +
                gdzie);
        else if (d % 3 == 1)
            b.sql(
                "update Zamowienia_raport set ilosc_prod2=int(ilosc_prod/3), "
                "ilosc_prod=ilosc_prod-int(ilosc_prod/3)" +
                gdzie);
        else if (d % 3 == 2)
            b.sql(
                "update Zamowienia_raport set ilosc_prod2=int(ilosc_prod/4), "
                "ilosc_prod3=int(ilosc_prod/4), ilosc_prod=ilosc_prod-2*int(ilosc_prod/4)" +
                gdzie);
    }

    // A receipt whose amount was never entered, third position of the first report.
    b.sql(
        "insert into KP (nr_kp, data, konh_id, kwota, opis, raport_id, pozycja) values ('KP "
        "0/" +
        std::to_string(jet::dates::from_serial(b.pierwszy_dzien).year) + "', " +
        Dzien(b.pierwszy_dzien + 4) + ", 1, Null, 'Zapłata gotówką', 1, 3)");
}

}  // namespace baza
