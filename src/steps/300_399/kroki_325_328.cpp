// Steps 3.25 to 3.28: the receipts, payments and balances of the cash reports and the
// balances of the cash boxes recomputed from the cash documents, the receipts' totals
// rebuilt from their VAT buckets where they hold a 3 % amount, a field of the cash boxes
// and the table of employees' income-tax settings.
#include <string>

#include "db/schemat.h"
#include "driver/konwersje.h"

void ClsKonwersje::Konwersja_325() {
    Usun_Pole("DOK_FRA", "Closed");
    DbWykonajKonwersje(std::string("alter table [KasyBanki] ") + "ADD COLUMN" +
                       " [Saldo] Currency");
    // Every report starts from 0 and adds each of its documents once per joined row; an
    // amount that a document lacks counts as none. A document of report id 0 is in no
    // report, and no report (not even one stored with id 0) takes it.
    DbWykonajKonwersje(
        "Update DOK_FRA SET DOK_FRA.[kwota_kp] = 0, DOK_FRA.[kwota_kw] = 0,DOK_FRA.[Saldo] = 0 , "
        "DOK_FRA.[Bilans] = 0");
    {
        const Zamierzony_Raport po_dokumencie{jet::reports::Kind::MultiPair};
        DbWykonajKonwersje(
            "Update DOK_FRA INNER JOIN [DOK_FIN] ON DOK_FRA.[raport_id] = [DOK_FIN].[raport_id] "
            "SET "
            "DOK_FRA.[kwota_kp] = DOK_FRA.[kwota_kp]+Nz([DOK_FIN].[kwota],0), DOK_FRA.[kwota_kw] = "
            "DOK_FRA.[kwota_kw]+Nz([DOK_FIN].[kwota_kw],0),DOK_FRA.[Bilans] = "
            "DOK_FRA.[Bilans]+Nz([DOK_FIN].[kwota],0)-Nz([DOK_FIN].[kwota_kw],0) WHERE "
            "[DOK_FIN].[raport_id]<>0");
    }
    // The box's balance is the sum of its reports' balances.
    DbWykonajKonwersje("Update KASYBANKI set Saldo=0");
    {
        // Each report adds its balance once to its box.
        const Zamierzony_Raport po_linii{jet::reports::Kind::MultiPair};
        DbWykonajKonwersje(
            "Update KASYBANKI INNER JOIN [DOK_Fra] ON KASYBANKI.[id_kasy] = [DOK_fra].[id_kasy] "
            "SET "
            "KASYBANKI.[Saldo] = KASYBANKI.[Saldo]+[DOK_fra].[Bilans]");
    }
}

void ClsKonwersje::Konwersja_326() {
    Usun_Pole("DOK_FRA", "Closed");
    DbWykonajUPDKonwersje(
        "[DOK_PAR] set DDOUT_WART_N=Nz(n22,0)+Nz(n7,0)+Nz(n3,0)+Nz(n0,0)+Nz(nZW,0), "
        "DDOUT_wart_VAT=Nz(vat22,0)+Nz(vat7,0)+Nz(vat3,0) where vat3<>0 or n3<>0",
        "", "", "");
}

void ClsKonwersje::Konwersja_327() {
    DbWykonajKonwersje(std::string("alter table [KasyBanki] ") + "ADD COLUMN" +
                       " [NrWFK] text(20)");
}

void ClsKonwersje::Konwersja_328() {
    DbWykonajKonwersje(
        "create table [KADRY_PODATEK] ([ID_prac] long, [Dataod] date,[KOSZT] text(1),[ULGA] "
        "text(1),[prog] text(1), [Countt] counter)");
}
