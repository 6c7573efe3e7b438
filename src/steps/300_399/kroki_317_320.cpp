// Steps 3.17 to 3.20: benefit flags of employees, the employment-contract table, closed
// cash reports, settled amounts of declarations and payroll, bank data of tax offices,
// the packaging print flag of customers and the cash account of cash documents.
#include <string>

#include "driver/konwersje.h"

void ClsKonwersje::Konwersja_317() {
    for (const char* pole : {"UBE", "UBR", "UBC", "UBW", "UBZ"}) {
        DbWykonajKonwersje(std::string("ALTER TABLE [KADRY_PRACOWNICY] ") + "ADD COLUMN" + " [" +
                           pole + "] BYTE");
        DbWykonajUPDKonwersje(
            std::string("KADRY_PRACOWNICY set ") + pole + "=0  where " + pole + " is null", "", "",
            "");
    }

    // The contract table starts anew: what it held is dropped with it.
    DbWykonajKonwersje("drop table [KADRY_UMOWY]");
    DbWykonajKonwersje(
        "create table [KADRY_UMOWY] ([ID_prac] long,[RodzajUm] text(1), [Dataod] date,[Datado] "
        "date, [numer] text(10),[Stanowisko] text(3),[Dział] text(3),[etat] "
        "text(6),[RodzajStawki] text(1),[StawkaG] currency,[StawkaM] currency,[Dodatek] "
        "currency,[ProcentP] currency, [Countt] counter)");

    // Every cash report closed and opened by nobody.
    DbWykonajUPDKonwersje("dok_fra set Closed=-1  ,Open_by=''", "", "", "");

    DbWykonajKonwersje(std::string("ALTER TABLE [DEKLARACJE] ") + "ADD COLUMN" +
                       " [Wart_KP] money");
    DbWykonajUPDKonwersje("DEKLARACJE set Wart_KP=0  where Wart_KP is null", "", "", "");
    DbWykonajKonwersje(std::string("ALTER TABLE [PLACE_DANE] ") + "ADD COLUMN" +
                       " [Wart_KP] money");
    DbWykonajUPDKonwersje("PLACE_DANE set Wart_KP=0  where Wart_KP is null", "", "", "");

    for (const char* kolumna :
         {" [NAZWABANKU] TEXT(50)", " [NR_BANKU] TEXT(15)", " [NR_KONTA] TEXT(25)",
          " [ZUS51] TEXT(25)", " [ZUS52] TEXT(25)", " [ZUS53] TEXT(25)",
          " [NR_KONTA_KON_VAT] TEXT(25)", " [NR_KONTA_KON_DOCH4] TEXT(25)",
          " [NR_KONTA_KON_DOCH5] TEXT(25)", " [ADRESBANKU] TEXT(50)"})
        DbWykonajKonwersje(std::string("ALTER TABLE [s_us] ") + "ADD COLUMN" + kolumna);
}

void ClsKonwersje::Konwersja_318() {
    Zmien_Typ_Pola("Stanowisko", "text(40)", "KADRY_UMOWY");
    Zmien_Typ_Pola("Dział", "text(40)", "KADRY_UMOWY");
    DbWykonajUPDKonwersje(
        "KADRY_PRACOWNICY set Kategoria='P' where Kategoria is null or "
        "Kategoria='' ",
        "", "", "");
}

void ClsKonwersje::Konwersja_319() {
    DbWykonajKonwersje(std::string("ALTER TABLE [Kontrahenci] ") + "ADD COLUMN" +
                       " [Czy_Drukowac_Opakowania] Logical");
}

void ClsKonwersje::Konwersja_320() {
    DbWykonajKonwersje("drop index Podstawowy ON DOK_rei_ZAWART");
    DbWykonajKonwersje(std::string("ALTER TABLE [dok_fin] ") + "ADD COLUMN" +
                       " [NR_KONTA_Fk] TEXT(50)");
    DbWykonajKonwersje(
        "update [dok_fin] inner join [kontrahenci] on [dok_fin].[konh_id]=[kontrahenci].[konh_id] "
        "set [dok_fin].[NR_KONTA_Fk]=[kontrahenci].[nr_konta_kasowego]");
}
