// Step 4.79: every contractor gets its payer (the contractor named in its payer text,
// else itself), copied onto the declarations, the document headers, both books and the
// payroll lines; declarations name their tax office by id; both books get a settled
// amount; and every settlement line of the cash documents gets the numeric kind of the
// document it settles, some kind texts turning into signed ones on the way.
#include <string>

#include "db/postep.h"
#include "db/schemat.h"
#include "driver/konwersje.h"

namespace {

// The tables that take the payer of their contractor (konh_id), in order.
constexpr const char* kTabelePlatnika[] = {
    "DEKLARACJE", "DOK_DAR", "DOK_DD",  "DOK_DZ",      "DOK_FAK",   "DOK_FIN", "DOK_FWE",
    "DOK_KFA",    "DOK_KZA", "DOK_PAR", "DOK_PFA",     "DOK_PW",    "DOK_PZ",  "DOK_RW",
    "DOK_WZ",     "DOK_ZAK", "DOK_ZPF", "KPIR_KSIEGA", "KH_KSIEGA",
};

// The kind codes of the settlement lines; later statements rely on earlier ones.
constexpr const char* kRodzajeRozliczen[] = {
    "DOK_FIN_ZAWART set rodzaj=10 where rodzaj_dok='Zakup'",
    "DOK_FIN_ZAWART set rodzaj=11 where rodzaj_dok='Zakup RR'",
    "DOK_FIN_ZAWART set rodzaj=12 where rodzaj_dok='Rachunek'",
    "DOK_FIN_ZAWART set rodzaj=13,rodzaj_dok='Korekta Zak -' where rodzaj_dok='Korekta RR'",
    "DOK_FIN_ZAWART inner join dok_kza as tt on DOK_FIN_ZAWART.dok_id=tt.fkorout_id set "
    "DOK_FIN_ZAWART.rodzaj=96,DOK_FIN_ZAWART.rodzaj_dok='Korekta Zak +' where "
    "DOK_FIN_ZAWART.rodzaj_dok='Korekta Zak -' and "
    "(Nz(tt.[fkorout_wart_n],0)+Nz(tt.[fkorout_wart_vat],0))>0",
    "DOK_FIN_ZAWART set rodzaj=14 where rodzaj_dok='PZ'",
    "DOK_FIN_ZAWART set rodzaj=15 where rodzaj_dok='WZ'",
    "DOK_FIN_ZAWART set rodzaj=20,rodzaj_dok='SV' where rodzaj_dok='SV'",
    "DOK_FIN_ZAWART set rodzaj=21,rodzaj_dok='Paragon' where rodzaj_dok='Paragon'",
    "DOK_FIN_ZAWART set rodzaj=23,rodzaj_dok='Korekta -' where rodzaj_dok='Korekta'",
    "DOK_FIN_ZAWART inner join dok_kfa as tt on DOK_FIN_ZAWART.dok_id=tt.fkorout_id set "
    "DOK_FIN_ZAWART.rodzaj=95,DOK_FIN_ZAWART.rodzaj_dok='Korekta +' where "
    "DOK_FIN_ZAWART.rodzaj_dok='Korekta -' and "
    "(Nz(tt.[fkorout_wart_n],0)+Nz(tt.[fkorout_wart_vat],0))>0",
    "DOK_FIN_ZAWART set rodzaj=25 where rodzaj_dok='faktura wew'",
    "DOK_FIN_ZAWART set rodzaj=26 where rodzaj_dok='RW'",
    "DOK_FIN_ZAWART set rodzaj=27 where rodzaj_dok='PW'",
    "DOK_FIN_ZAWART set rodzaj=28 where rodzaj_dok='DD'",
    "DOK_FIN_ZAWART set rodzaj=29 where rodzaj_dok='DZ'",
    "DOK_FIN_ZAWART set rodzaj=55 where rodzaj_dok='KW'",
    "DOK_FIN_ZAWART set rodzaj=56 where rodzaj_dok='KP'",
    "DOK_FIN_ZAWART AS FZ INNER JOIN DOK_FIN AS DF ON FZ.KP_ID=DF.KP_ID set "
    "FZ.rodzaj=57,FZ.rodzaj_dok='BP' where FZ.rodzaj_dok='KP' AND DF.KB='B'",
    "DOK_FIN_ZAWART AS FZ INNER JOIN DOK_FIN AS DF ON FZ.KP_ID=DF.KP_ID set "
    "FZ.rodzaj=58,FZ.rodzaj_dok='BW' where FZ.rodzaj_dok='KW' AND DF.KB='B'",
    "DOK_FIN_ZAWART set rodzaj=70 where rodzaj_dok='PRAC'",
    "DOK_FIN_ZAWART set rodzaj=81 where rodzaj_dok='PIT4'",
    "DOK_FIN_ZAWART set rodzaj=82 where rodzaj_dok='PIT5'",
    "DOK_FIN_ZAWART set rodzaj=83 where rodzaj_dok='VAT7 -'",
    "DOK_FIN_ZAWART inner join deklaracje as tt on DOK_FIN_ZAWART.dok_id=tt.id set "
    "rodzaj=84,rodzaj_dok='VAT7 +' where rodzaj_dok='VAT7 -' and (tt.kwota)<0 and "
    "mid(tt.Nazwa,1,4)='Vat7'",
};

}  // namespace

void ClsKonwersje::Konwersja_479() {
    DbWykonajKonwersje("alter table [Kontrahenci] ADD COLUMN Act_SNal Logical");
    Utworz_Index("Act_SNal", "Kontrahenci", "Act_SNal");
    DbWykonajKonwersje("alter table [Kontrahenci] ADD COLUMN Act_SZob Logical");
    Utworz_Index("Act_SZob", "Kontrahenci", "Act_SZob");
    DbWykonajKonwersje("alter table [Kontrahenci] ADD COLUMN Platnik_id int DEFAULT 0");
    Utworz_Index("Platnik_id", "Kontrahenci", "Platnik_id");

    DbWykonajUPDKonwersje("[kontrahenci] set platnik_id=konh_id where platnik_id is null", "", "",
                          "");
    // The payer texts are matched before the declarations get their tax office's column:
    // where it stands, a stopped run matched them and may have emptied the texts that
    // named their own contractor, which matched again would take a contractor whose short
    // name is empty for their payer.
    // Of two contractors of the payer's short name, the first (the lowest konh_id) pays.
    if (!Jest_Tabela("DEKLARACJE", "Konh_id"))
        DbWykonajUPDKonwersje(
            "([kontrahenci] as ko inner join kontrahenci as pl on "
            "ko.[konh_platnik_kto]=pl.[KONH_NAZ_SKROT]) left join kontrahenci as pn on "
            "(pn.[KONH_NAZ_SKROT]=pl.[KONH_NAZ_SKROT] and pn.konh_id<pl.konh_id) set "
            "ko.platnik_id=pl.konh_id where ko.platnik_id=ko.konh_id and pn.konh_id is null",
            "", "", "");

    DbWykonajKonwersje("alter table [DEKLARACJE] ADD COLUMN Konh_id int DEFAULT 0");
    // A run that stopped after dropping id_us had carried it. A declaration without its
    // tax office names none (0).
    if (Jest_Tabela("deklaracje", "id_us"))
        DbWykonajUPDKonwersje("Deklaracje set konh_id=Nz(id_us,0)", "", "", "");
    Usun_Pole("deklaracje", "id_us");
    Utworz_Index("Konh_id", "deklaracje", "Konh_id");

    for (const char* ksiega : {"KPIR_KSIEGA", "KH_KSIEGA"}) {
        DbWykonajKonwersje(std::string("alter table [") + ksiega +
                           "] ADD COLUMN Wart_fin money DEFAULT 0");
        Utworz_Index("Wart_fin", ksiega, "Wart_fin");
        Utworz_Index("Wart_kp", ksiega, "Wart_kp");
    }

    for (const char* tabela : kTabelePlatnika) {
        Pokaz_Postep("", "", tabela);
        DbWykonajKonwersje(std::string("alter table  ") + tabela +
                           " ADD COLUMN [Platnik_id] int DEFAULT 0");
        Utworz_Index("Platnik_id", tabela, "Platnik_id");
        DbWykonajUPDKonwersje(std::string(tabela) +
                                  " as Ta inner join kontrahenci as ko on "
                                  "ta.[konh_id]=ko.[konh_id] set ta.platnik_id=ko.platnik_id "
                                  "where ta.platnik_id is null",
                              "", "", "");
    }
    DbWykonajKonwersje("alter table PLACE_LISTY_ZAWART ADD COLUMN [Platnik_id] int DEFAULT 0");
    Utworz_Index("Platnik_id", "PLACE_LISTY_ZAWART", "Platnik_id");
    DbWykonajUPDKonwersje(
        "PLACE_LISTY_ZAWART as Ta inner join kontrahenci as ko on ta.idp=ko.[konh_id] set "
        "ta.platnik_id=ko.platnik_id where ta.platnik_id is null",
        "", "", "");

    DbWykonajKonwersje("alter table  DOK_FIN_ZAWART ADD COLUMN [rodzaj] int DEFAULT 0");
    Utworz_Index("rodzaj", "DOK_FIN_ZAWART", "rodzaj");
    for (const char* rodzaj : kRodzajeRozliczen) DbWykonajUPDKonwersje(rodzaj, "", "", "");

    DbWykonajKonwersje(
        " update [Kontrahenci] as ko inner join [Kontrahenci] as ue on "
        "ko.KONH_PLATNIK_KTO=ue.KONH_PLATNIK_KTO set "
        "ko.konh_platnik=0,ko.konh_platnik_kto='',ko.Platnik_id=ko.konh_id WHERE "
        "ko.KONH_PLATNIK_KTO=ko.KONH_NAZ_SKROT");
}
