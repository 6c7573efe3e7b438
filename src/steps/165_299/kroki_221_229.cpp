// Steps 2.21 to 2.29: the value of stocktaking lines, users' rights reset, fixed-asset
// depreciation amounts and the depreciation-lines table, the purchase document kind in
// place of the RR flag, a default payment form and an event description on purchases,
// four amounts of the revenue and expense book and two cost flags on products.
#include <string>

#include "db/schemat.h"
#include "driver/konwersje.h"

void ClsKonwersje::Konwersja_221() {
    DbWykonajKonwersje("alter table [REMANENTINWENT_ZAWARTOSC] ADD COLUMN wartosc money");
}

void ClsKonwersje::Konwersja_222() {
    DbWykonajKonwersje("update [uzytkownicy] set [prawa]=null");
}

// The amount still to be depreciated starts as the initial value less the depreciation
// to date, either missing counted as none (0 for an asset that is not depreciated); the depreciated
// amount and the number of instalments start at 0.
void ClsKonwersje::Konwersja_223() {
    DbWykonajKonwersje(
        "create table [SRODKI_TRWALE_ZAWART] ([ID] long ,[MIESIAC] long ,[ROK] LONG,[KPiR_ID] "
        "LONG,[KWOTA] MONEY)");
    const std::string t = "alter table [SRODKI_TRWALE] ";
    DbWykonajKonwersje(t + "ADD COLUMN [KWOTA_DO_AMORT] MONEY");
    DbWykonajKonwersje(t + "ADD COLUMN [KWOTA_ZAMORT] MONEY");
    DbWykonajKonwersje(t + "ADD COLUMN [ILOSC_AMORT] LONG");
    DbWykonajKonwersje(
        "Update [SRODKI_TRWALE] SET [KWOTA_DO_AMORT]=Nz([wartosc],0)-Nz([umorzenie],0) where "
        "[KWOTA_DO_AMORT] is null and ([wartosc] is not null or [umorzenie] is not null)");
    DbWykonajKonwersje(
        "Update [SRODKI_TRWALE] SET [KWOTA_DO_AMORT]=0 where [sp_amort]='Bez amortyzacji'");
    DbWykonajKonwersje("Update [SRODKI_TRWALE] SET [KWOTA_ZAMORT]=0 where [KWOTA_ZAMORT] is null");
    DbWykonajKonwersje("Update [SRODKI_TRWALE] SET [ILOSC_AMORT]=0 where [ILOSC_AMORT] is null");
}

// The purchase's document kind: 1 where the RR flag was set, 0 otherwise. RR is added
// first (absorbed where it exists) so that a database without it reads 0 everywhere.
void ClsKonwersje::Konwersja_224() {
    DbWykonajKonwersje("Alter table [Zakupy] ADD COLUMN [RodzDok] Long");
    DbWykonajKonwersje("alter table ZAKUPY ADD COLUMN RR Logical");
    DbWykonajKonwersje("update [Zakupy] SET [RodzDok]=0 where [RR]=0 or [RR] is null");
    DbWykonajKonwersje("update [Zakupy] SET [RodzDok]=1 where [RR]=-1");
    Usun_Pole("Zakupy", "RR");
    DbWykonajKonwersje("Drop table [zakupy_ilosc]");
}

void ClsKonwersje::Konwersja_227() {
    DbWykonajKonwersje("Update [ZAKUPY] SET [f_platnosci]='Gotówka' where [f_platnosci] is null");
    DbWykonajKonwersje("alter table [ZAKUPY] ADD COLUMN [Opis_Zdarzenia] text(50)");
}

void ClsKonwersje::Konwersja_228() {
    const std::string t = "alter table [KPIR_KSIEGA] ";
    DbWykonajKonwersje(t + "ADD COLUMN kwota_pp currency");
    DbWykonajKonwersje(t + "ADD COLUMN kwota_rir currency");
    DbWykonajKonwersje(t + "ADD COLUMN kwota_wp currency");
    DbWykonajKonwersje(t + "ADD COLUMN kwota_in currency");
    DbWykonajKonwersje("alter table [PRODUKTY] ADD COLUMN koszt_uz logical");
}

void ClsKonwersje::Konwersja_229() {
    DbWykonajKonwersje("alter table [PRODUKTY] ADD COLUMN koszt_sz logical");
}
