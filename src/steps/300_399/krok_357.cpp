// Step 3.57: the terms of employment contracts get a table of their own, first a copy
// of the contracts pointing back to them; the contracts get their signing and start
// dates, place of work, payslip text and two small numeric fields.
#include <string>

#include "driver/konwersje.h"

void ClsKonwersje::Konwersja_357() {
    DbWykonajKonwersje(
        "SELECT * INTO [KADRY_WARUNKI] FROM [KADRY_UMOWY]",
        Tabela_Z_Wczesniejszego_Przebiegu("KADRY_WARUNKI", "* FROM [KADRY_UMOWY]", "Countt"));
    for (const char* kolumna : {" Data_um date", " Data_rozp date", " Miejsce_wyk text(40)",
                                " Skroc_wyp text(40)", " Zwolnienie Byte", " Ekwiwalent integer"})
        DbWykonajKonwersje(std::string("alter table [KADRY_UMOWY] ") + "ADD COLUMN" + kolumna);
    for (const char* wypelnienie :
         {"Update [KADRY_UMOWY] set Data_rozp=dataod where Data_rozp is null",
          "Update [KADRY_UMOWY] set Data_um=dataod where Data_um is null",
          "Update [KADRY_UMOWY] set Miejsce_wyk='' where Miejsce_wyk is null",
          "Update [KADRY_UMOWY] set Skroc_wyp='' where Skroc_wyp is null",
          "Update [KADRY_UMOWY] set Zwolnienie=0 where Zwolnienie is null",
          "Update [KADRY_UMOWY] set Ekwiwalent=0 where Ekwiwalent is null"})
        DbWykonajKonwersje(wypelnienie);
    DbWykonajKonwersje(std::string("alter table [KADRY_WARUNKI] ") + "ADD COLUMN" +
                       " ID_Umowy long");
    DbWykonajKonwersje("Update [KADRY_WARUNKI] set ID_UMOWY= COUNTT where ID_UMOWY is null");
}
