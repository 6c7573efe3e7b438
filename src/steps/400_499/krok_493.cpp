// Step 4.93: numeric document numbers of the cash reports and cash documents, open
// marks released on reports of past years, and the closing balance of every cash report
// recomputed as the running sum of the reports' own balances, desk by desk and bank by
// bank, in the order of year and number, up to the first open report.
#include <memory>
#include <string>

#include "db/nz.h"
#include "db/otworz.h"
#include "db/postep.h"
#include "db/schemat.h"
#include "driver/konwersje.h"
#include "platform/clock.h"
#include "steps/165_299/wspolne.h"

using jet::Value;
using kroki::Rekordy;

namespace {
enum Raport { kBilans, kSaldo, kOpenBy };
}

void ClsKonwersje::Konwersja_493() {
    Dodaj_Pole("DOK_FRA", "num_ndok int DEFAULT 0");
    Utworz_Index("num_ndok", "DOK_FRA", "num_ndok");
    DbWykonajKonwersje("update dok_fra set num_ndok=val(raport_nr)");
    Dodaj_Pole("DOK_FIN", "num_ndok int DEFAULT 0");
    Utworz_Index("num_ndok", "DOK_FIN", "num_ndok");
    DbWykonajKonwersje("update dok_fin set num_ndok=val(nr_kp)");
    // A report without its year is of none, a past one.
    DbWykonajKonwersje("update dok_fra set OPEN_BY='' where Nz(rok,0)<>" +
                       std::to_string(platform::today().year));

    std::unique_ptr<ado::Recordset> kasy;
    std::unique_ptr<ado::Recordset> raporty;
    DbOtwórzSELKonwersje(
        kasy, "konh_id from kontrahenci where RKONH_NAZWA_ID='Kasa' or RKONH_NAZWA_ID='Bank'");
    while (!Rekordy(kasy).Eof()) {
        Value saldo = Value::currency(jet::Currency{});
        bool lancuch = true;
        // The running balance goes report by report: two reports of one year and number
        // in the order they were entered (raport_id), whatever the order stored.
        DbOtwórzSELKonwersje(raporty, "bilans,Saldo,OPEN_BY from dok_fra where ID_Kasy=" +
                                          kasy->Fields(0).value().to_text() +
                                          " order by [rok],num_ndok,raport_id");
        while (!Rekordy(raporty).Eof()) {
            ado::Recordset& r = *raporty;
            if (NzStr(r.Fields(kOpenBy).value()) != "") lancuch = false;
            const Value bilans = r.Fields(kBilans).value();
            if (lancuch) {
                // A report without a balance adds nothing to the running sum.
                saldo =
                    Value::currency(jet::add(saldo, Value::currency(NzCur(bilans))).to_currency());
                r.Fields(kSaldo) = saldo;
            } else {
                r.Fields(kSaldo) = Value::currency(jet::Currency{});
            }
            Pokaz_Postep("", "", NzStr(bilans) + ":" + saldo.to_text());
            r.UpdateBatch(ado::adAffectCurrent);
            r.MoveNext();
        }
        ZamknijRS(raporty);
        kasy->MoveNext();
    }
    ZamknijRS(kasy);
}
