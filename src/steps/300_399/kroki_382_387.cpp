// Steps 3.82 to 3.87: costing columns, the register of employment certificates, the
// reshaped employment contracts, a party on stocktaking documents, payroll components
// 161 to 167 and correction-invoice lines that name one product twice.
#include <array>
#include <string>

#include "driver/konwersje.h"
#include "steps/165_299/wspolne.h"

namespace {

// Components 161 to 167: absence and holiday-equivalent rates, days and hours.
constexpr std::array<kroki::Skladnik_Plac, 7> kSkladniki161 = {{
    {161, "Stawka za dzień nieob.usprawiedliwionej", "Stawka za nieob.pł"},
    {162, "Ilość dni nieob.uspr.pł.", "Il.dni n.uspr.pł."},
    {163, "Wynagrodzenie za nieob.uspr.płatne", "Wyn.za nieob.uspr."},
    {164, "Stawka za dzień ekwiwalentu ", "Sawka za ekw.url."},
    {165, "Ilość dni ekwiwalentu za urlop", "Il.dni ekw.za url."},
    {166, "Ilość godzin roboczych w miesiącu", "Il.godz.rob.mies."},
    {167, "Ilość godzin nieobecności", "Il.godz.nieob."},
}};

// Components whose description and short name are reworded, in this order.
constexpr std::array<kroki::Skladnik_Plac, 4> kNoweOpisy = {{
    {72, "Ilość dni bez umowy", "Il.dni b.um."},
    {71, "Stawka zasiłku opiekuńczego", "St.zas.op."},
    {159, "Stawka zasiłku macierzyńskiego", "St.zas.mac."},
    {160, "Stawka świadczenia rehabilitacyjnegoi", "St.św.reh."},
}};

}  // namespace

void ClsKonwersje::Konwersja_382() {
    DbWykonajKonwersje("alter table [PRODUKTY_KOSZTY] ADD COLUMN data SmallDateTime DEFAULT null");
}

void ClsKonwersje::Konwersja_383() {
    DbWykonajKonwersje("alter table [PRODUKTY_KALKULACJA] ADD COLUMN Ilosc_wypr money DEFAULT 0");
    DbWykonajKonwersje(
        "alter table [PRODUKTY_KALKULACJA] ADD COLUMN Koszty_na_rec money DEFAULT 0");
}

void ClsKonwersje::Konwersja_384() {
    DbWykonajKonwersje(
        "CREATE TABLE [KADRY_SWIADECTWA] (COUNTT int identity,ID_PRAC int DEFAULT 0,ID_UMOWY int "
        "DEFAULT 0,data SmallDateTime DEFAULT null,dataRozw SmallDateTime DEFAULT "
        "null,Miejscowosc Text (20),sposobRozw Text (80),urlop Single DEFAULT 0,ekwiwalent "
        "Single DEFAULT 0,Ubezpł Text (80),Uwych Text (80),art92 Single DEFAULT 0,art188 Single "
        "DEFAULT 0,skrwyp Text (20),wojsko Text (20),szczwarunki Text (80),dodUpr Text "
        "(80),okrNieskł Text (255),zajWyn Text (80),infUzup Text (80),sądRej Text (20))");
}

void ClsKonwersje::Konwersja_385() {
    // The position, department and working time go without a copy.
    for (const char* kolumna : {"Stanowisko", "Dział", "Etat"})
        DbWykonajKonwersje(std::string("alter table [KADRY_UMOWY] drop column [") + kolumna + "]");
    DbWykonajKonwersje("alter table [KADRY_UMOWY] ADD COLUMN ImięR Text (20)");
    DbWykonajKonwersje("alter table [KADRY_UMOWY] ADD COLUMN NazwiskoR Text (20)");
    DbWykonajKonwersje("alter table [KADRY_UMOWY] ADD COLUMN data SmallDateTime DEFAULT null");
}

void ClsKonwersje::Konwersja_386() {
    DbWykonajKonwersje("alter table [DOK_REI] ADD COLUMN Konh_id int DEFAULT 0");
    DbWykonajKonwersje("update [DOK_REI] set Konh_id=0 where Konh_id is null");
}

void ClsKonwersje::Konwersja_387() {
    // The seven components go first, so that a repeated step leaves each of them once.
    kroki::Dodaj_Skladniki_Plac(*this, "[place_opisy] where [pole]>=161 and [pole]<=167",
                                kSkladniki161);
    for (const kroki::Skladnik_Plac& s : kNoweOpisy)
        DbWykonajKonwersje(std::string("Update [place_opisy] set OPIS = '") + s.opis + "', SKR='" +
                           s.skr + "' where POLE = " + std::to_string(s.pole));
    for (int n = 161; n <= 167; ++n)
        DbWykonajKonwersje("alter table [Place_Dane] ADD COLUMN [wartosc" + std::to_string(n) +
                           "]money DEFAULT 0");
    // Of the 'p' lines of one product in one correction only the last (highest COUNTT)
    // stays; the engine applies the SET once per joined pair.
    DbWykonajKonwersje(
        "UPDATE DOK_KFA_ZAWART INNER JOIN DOK_KFA_ZAWART AS DOK_KFA_ZAWART_1 ON "
        "DOK_KFA_ZAWART.FKOROUT_ID = DOK_KFA_ZAWART_1.FKOROUT_ID SET    "
        "DOK_KFA_ZAWART.zfkorout_tryb='n',DOK_KFA_ZAWART.ZFKOROUT_ILOSC=0    WHERE "
        "(((DOK_KFA_ZAWART.PROD_ID)=[DOK_KFA_ZAWART_1].[PROD_ID]) AND "
        "((DOK_KFA_ZAWART.COUNTT)<[DOK_KFA_ZAWART_1].[countt]) AND "
        "((DOK_KFA_ZAWART.zfkorout_tryb)='p') AND ((DOK_KFA_ZAWART_1.zfkorout_tryb)='p'))");
}
