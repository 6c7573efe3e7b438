// Steps 3.72 to 3.76: the annual tax form of employees, more order comment texts, the
// overtime table and the "Deputat" payroll component, the record of printed document
// duplicates, and the working hours of the calendar with every day of 2001 present.
#include <memory>
#include <string>

#include "db/daty.h"
#include "db/otworz.h"
#include "db/schemat.h"
#include "driver/konwersje.h"
#include "jet/dates.h"

void ClsKonwersje::Konwersja_372() {
    DbWykonajKonwersje(
        "CREATE TABLE [KADRY_PIT] (COUNTT int identity,ID_PRAC int DEFAULT 0,ROK Text (4),"
        "rodzaj Text (5),nip_pl Text (13),data_od SmallDateTime DEFAULT null,data_do "
        "SmallDateTime DEFAULT null,US Text (80),rodzaj_p Text (1),nazwa_p Text (80),nazwa_sk "
        "Text (40),regon Text (13),kraj_pl Text (20),woj_pl Text (20),powiat_pl Text (20),"
        "gmina_pl Text (20),ulica_pl Text (20),dom_pl Text (3),lokal_pl Text (3),miejsc_pl Text "
        "(20),kod_pl Text (6),poczta_pl Text (20),nip_pod Text (13),nazwisko_pod Text (20),"
        "imie_pod Text (20),data_ur SmallDateTime DEFAULT null,kraj_pod Text (20),woj_pod Text "
        "(20),powiat_pod Text (20),gmina_pod Text (20),ulica_pod Text (20),dom_pod Text (3),"
        "lokal_pod Text (3),miejsc_pod Text (20),kod_pod Text (6),poczta_pod Text (20),"
        "KU_podstawa Text (1),wyn1_przychod money DEFAULT 0,wyn1_ku money DEFAULT 0,wyn_dochod "
        "money DEFAULT 0,wyn_zaliczka money DEFAULT 0,wyn2_przychod money DEFAULT 0,wyn2_ku "
        "money DEFAULT 0,umcyw_przychod money DEFAULT 0,umcyw_ku money DEFAULT 0,umcyw_dochod "
        "money DEFAULT 0,umcyw_zaliczka money DEFAULT 0,umaut_przychod money DEFAULT 0,umaut_ku "
        "money DEFAULT 0,umaut_dochod money DEFAULT 0,umaut_zaliczka money DEFAULT 0,"
        "razem_przychod money DEFAULT 0,razem_ku money DEFAULT 0,razem_dochod money DEFAULT 0,"
        "razem_zaliczka money DEFAULT 0,ub_spol money DEFAULT 0,zdr_pobr money DEFAULT 0,zdr_odl "
        "money DEFAULT 0,pitr Text (1),imie_os Text (20),nazwisko_os Text (20),data_wyp "
        "SmallDateTime DEFAULT null)");
}

void ClsKonwersje::Konwersja_373() {
    for (int n = 4; n <= 9; ++n)
        DbWykonajKonwersje("alter table [ZAMOWIENIA_KOMENTARZE] ADD COLUMN TEKST" +
                           std::to_string(n) + " memo");
    for (int n = 4; n <= 9; ++n)
        DbWykonajKonwersje("alter table [ZAMOWIENIA_KOMENTARZE] ADD COLUMN nr_zamowienia" +
                           std::to_string(n) + " text(50)");
}

void ClsKonwersje::Konwersja_374() {
    DbWykonajKonwersje(
        "CREATE TABLE [KADRY_NADGODZINY] (COUNTT int identity, ID_PRAC int DEFAULT 0,data "
        "SmallDateTime DEFAULT null,NADL50 money DEFAULT 0, NADL100 money DEFAULT 0,NOCNE money "
        "DEFAULT 0,NADLNOCNE money DEFAULT 0)");
    DbWykonajKonwersje(
        "Update [PLACE_OPISY] set [opis] = 'Deputat',[skr] = 'Deputat' where [pole] = 157");
}

void ClsKonwersje::Konwersja_375() {
    DbWykonajKonwersje(
        "CREATE TABLE [DOK_DUPLIKATY] (duplikat_id int identity, ID_dok int DEFAULT 0,data_wyst "
        "SmallDateTime DEFAULT null, rodz Text (20),WYST Text (81),drukowano Logical)");
    Utworz_Klucz_Podstawowy("DOK_DUPLIKATY", "ID_dok asc,rodz ASC");
}

void ClsKonwersje::Konwersja_376() {
    DbWykonajKonwersje("alter table [KALENDARZ] add column Godziny money DEFAULT 0");
    std::unique_ptr<ado::Recordset> rs;
    for (int miesiac = 1; miesiac <= 12; ++miesiac) {
        const double pierwszy = *jet::dates::to_serial(2001, miesiac, 1);
        const double ostatni = Koniec_Miesiaca(pierwszy);
        for (double dzien = pierwszy; dzien <= ostatni; ++dzien) {
            const int32_t ile = DbOtwórzSEL(
                rs,
                "[data],[typ],[godziny] FROM [Kalendarz]  WHERE " + Warunek_Dzien(dzien, "[data]"),
                kOtworzEdycja);
            if (!rs) continue;
            if (ile == 0) {
                rs->AddNew();
                rs->Fields(0) = jet::Value::date(dzien);
                rs->Fields(1) = jet::Value::long_(0);
                rs->Fields(2) = jet::Value::long_(8);
            }
            rs->UpdateBatch();
        }
    }
    ZamknijRS(rs);
    DbWykonajKonwersje("Update [KALENDARZ] set [Godziny] = 8 where [typ] = 0");
    Zapisz_SetupKonwersje("RobGodz", "8,00");
}
