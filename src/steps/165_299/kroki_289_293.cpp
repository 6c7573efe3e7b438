// Steps 2.89 to 2.93: the corrections prepared for collective corrections. Delivery
// notes and returns get a link to a correction, corrections a collective flag and a
// second amount, the correction lines a wider primary key, and every collective sales
// correction its two amounts recomputed from its settlement lines and linked returns.
// The payroll lists get three columns on the way.
#include <string>

#include "db/schemat.h"
#include "driver/konwersje.h"

void ClsKonwersje::Konwersja_289() {
    DbWykonajKonwersje("alter table [Place_Listy] ADD COLUMN CZY_FP LOGICAL");
    DbWykonajKonwersje("alter table [Place_Listy] ADD COLUMN  CZY_FGSP LOGICAL");
    for (const char* t : {"[DOK_DD]", "[DOK_DZ]"}) {
        DbWykonajKonwersje(std::string("alter table ") + t + " ADD COLUMN Id_KorFak long");
        DbWykonajKonwersje(std::string("alter table ") + t + " ADD COLUMN KorFak LOGICAL");
    }
}

void ClsKonwersje::Konwersja_290() {
    DbWykonajKonwersje("alter table [DOK_KFA] ADD COLUMN Zbiorcza LOGICAL");
    DbWykonajKonwersje("alter table [DOK_KZA] ADD COLUMN Zbiorcza LOGICAL");
}

void ClsKonwersje::Konwersja_291() {
    DbWykonajKonwersje("alter table [Place_Listy] ADD COLUMN ID_KPIRZ LONG");
    DbWykonajKonwersje("update [Place_Listy] set id_kpirZ=0 where id_kpirZ is null");
}

void ClsKonwersje::Konwersja_292() {
    DbWykonajKonwersje("drop index Podstawowy on DOK_KFA_ZAWART");
    Utworz_Klucz_Podstawowy("DOK_KFA_ZAWART",
                            "FKOROUT_ID asc, PROD_ID asc, ZFKOROUT_CENA_N asc,CENA_ORG asc", 0);
}

void ClsKonwersje::Konwersja_293() {
    DbWykonajKonwersje("alter table [DOK_KFA] ADD COLUMN wart_dd money");
    DbWykonajKonwersje("alter table [DOK_KZA] ADD COLUMN wart_dd money");
    // Both amounts start from 0, so that a repeated run counts every line once.
    const auto zmien = [this](const std::string& tekst) {
        DbWykonajUPDKonwersje(tekst, "", "", "", "", false);
    };
    zmien("DOK_KFA set wart_kp=0 where zbiorcza=-1");
    zmien("DOK_KFA set wart_dd=0");
    zmien("DOK_KZA set wart_dd=0");
    // What the cash documents settled of a collective correction...
    {
        // Each cash line of a collective correction subtracts its amount once.
        const Zamierzony_Raport po_linii{jet::reports::Kind::MultiPair};
        zmien(
            "DOK_FIN_ZAWART INNER JOIN DOK_KFA ON DOK_FIN_ZAWART.dok_id = DOK_KFA.FKOROUT_ID SET "
            "DOK_KFA.wart_kp = [DOK_KFA].[wart_kp]-[DOK_FIN_ZAWART].[kwota] WHERE "
            "(DOK_KFA.zbiorcza=-1 and ((DOK_FIN_ZAWART.rodzaj_dok)='Korekta') and "
            "DOK_FIN_ZAWART.kwota is not null)");
    }
    // ... and what its linked returns hold.
    {
        // Each linked return subtracts its amount once.
        const Zamierzony_Raport po_linii{jet::reports::Kind::MultiPair};
        zmien(
            "DOK_DZ INNER JOIN DOK_KFA ON DOK_DZ.Id_KorFak = DOK_KFA.FKOROUT_ID SET "
            "DOK_KFA.wart_dd "
            "= [DOK_KFA].[wart_dd]-[DOK_DZ].[wart_kp] where DOK_KFA.zbiorcza=-1 and "
            "DOK_DZ.KorFak=-1 and DOK_DZ.wart_kp is not null");
    }
    // A collective correction without a discount (none given counts as none) takes its net
    // value (none given, 0) as the value before the discount.
    zmien(
        "DOK_KFA SET DOK_KFA.b_rabat_n = Nz([DOK_KFA].[fkorout_wart_n],0), DOK_KFA.b_rabat_v = "
        "[DOK_KFA].[b_rabat_v] Where (((DOK_KFA.Zbiorcza)=-1) And (Nz(DOK_KFA.fkorout_rabat,0) = "
        "0))");
}
