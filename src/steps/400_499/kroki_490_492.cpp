// Steps 4.90 to 4.92: the table of interest rates, further user rights columns, and the
// ledger databases' date ranges from their month and year.
#include <memory>
#include <optional>
#include <string>

#include "db/daty.h"
#include "db/komunikaty.h"
#include "db/nz.h"
#include "db/otworz.h"
#include "db/schemat.h"
#include "driver/konwersje.h"
#include "jet/dates.h"
#include "steps/165_299/wspolne.h"

using jet::Value;
using kroki::Rekordy;

namespace {

// Day 1 of a month as VB's DateSerial builds it: a month outside 1 to 12 rolls over
// into the years around (month 0 of 2005 is December 2004, month 13 January 2006).
std::optional<double> Pierwszy_Dzien(int32_t rok, int32_t miesiac) {
    const int32_t od_zera = miesiac - 1;
    const int32_t lata = od_zera >= 0 ? od_zera / 12 : -((11 - od_zera) / 12);
    return jet::dates::to_serial(rok + lata, od_zera - lata * 12 + 1, 1);
}

}  // namespace

void ClsKonwersje::Konwersja_490() {
    DbWykonajKonwersje(
        "create table [S_Odsetki] (Rodzaj int DEFAULT 0,Od_Dnia SmallDateTime DEFAULT "
        "null,Procent Single DEFAULT 0,Countt int identity)");
    Utworz_Klucz_Podstawowy("S_Odsetki", "Rodzaj,Od_Dnia");
    Utworz_Index_Unikalny("Countt", "S_Odsetki", "Countt");
    Utworz_Index("Procent", "S_Odsetki", "Procent");
}

void ClsKonwersje::Konwersja_491() {
    for (const char* prawa : {"PrawaZ", "PrawaS", "PrawaM", "PrawaR", "PrawaC"})
        DbWykonajKonwersje(std::string("alter table [uzytkownicy] add ") + prawa +
                           " Text (30) DEFAULT ''");
    DbWykonajKonwersje("alter table [uzytkownicy] add NI Text (90) DEFAULT ''");
}

void ClsKonwersje::Konwersja_492() {
    DbWykonajKonwersje(
        "update [Place_Opisy] set [opis]= 'Dodatek inny 3',[skr]= 'Dod.inny3' where [pole] = 84");
    DbWykonajKonwersje(
        "update [Place_Opisy] set [opis]= 'Odprawa',[skr]= 'Odprawa' where [pole] = 85");
    Dodaj_Pole("KH_BAZY", "DataOD SmallDateTime DEFAULT null");
    Utworz_Index("DataOd", "KH_BAZY", "DataOd");
    Dodaj_Pole("KH_BAZY", "DataDo SmallDateTime DEFAULT null");
    Utworz_Index("DataDo", "KH_BAZY", "DataDo");
    Dodaj_Pole("KH_BAZY", "Wersja money DEFAULT 0");
    Utworz_Index("Wersja", "KH_BAZY", "Wersja");
    Dodaj_Pole("Nieruszac", "DataOD SmallDateTime DEFAULT null");
    Dodaj_Pole("Nieruszac", "DataDo SmallDateTime DEFAULT null");
    DbWykonajKonwersje("update [KH_BAZY] set [Wersja]=0");

    // The main database (year 0) has no range; any other covers its calendar month. A
    // database without its year or month has no known month: it gets no range either, nor
    // one whose year and month make no date (named in the Log).
    std::unique_ptr<ado::Recordset> rs;
    DbOtwórzSELKonwersje(rs, "MIESIAC,ROK,DATAOD,DATADO FROM KH_BAZY");
    while (!Rekordy(rs).Eof()) {
        const int32_t rok = NzLng(rs->Fields(1).value());
        const std::optional<double> dzien =
            rok == 0 || rs->Fields(0).value().is_null()
                ? std::nullopt
                : Pierwszy_Dzien(rok, rs->Fields(0).value().to_long());
        if (!dzien && rok != 0 && !rs->Fields(0).value().is_null())
            Zapisz_Log_Kroku("Konwersja 4.92: KH_BAZY ROK = " + std::to_string(rok) +
                                 ", MIESIAC = " + NzStr(rs->Fields(0).value()) +
                                 ": bez zakresu dat (nie dają daty)",
                             "Konwersja", "4.92");
        rs->Fields(2) = dzien ? Value::date(Poczatek_Miesiaca(*dzien)) : Value::null();
        rs->Fields(3) = dzien ? Value::date(Koniec_Miesiaca(*dzien)) : Value::null();
        rs->UpdateBatch(ado::adAffectCurrent);
        rs->MoveNext();
    }
    ZamknijRS(rs);
    DbWykonajKonwersje("DROP TABLE KADRY_PODATEK");
}
