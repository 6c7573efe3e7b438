// Steps 2.17 to 2.19: the production-document tables, the sales-stock recount since the
// latest stocktaking, and the ordered and produced quantities of the production lines.
#include <memory>
#include <string>

#include "db/daty.h"
#include "db/stan.h"
#include "driver/konwersje.h"
#include "steps/165_299/wspolne.h"

// Version 2.17: the settings tables emptied into Setup by 2.16 go, the production tables
// come, two personnel columns, the purchase-correction tables go and four purchase amounts
// become money.
void ClsKonwersje::Konwersja_217() {
    DbWykonajKonwersje("drop table wlasciciel");
    DbWykonajKonwersje("drop table ustawienia");
    DbWykonajKonwersje(
        "create table Produkcja (DDOUT_ID counter, DDOUT_NUMER TEXT(50), KONH_ID Long, "
        "DDOUT_DATA_WYST Date, ddout_data_sprz Date, DDOUT_DO_ROZLICZENIA Logical, DDOUT_DEL "
        "TEXT(50), DDOUT_WART_N  Single DEFAULT 0, DDOUT_wart_VAT  Single DEFAULT 0, "
        "ddout_zaplacona Logical, zapis Logical, rabat  Single DEFAULT 0, fplat_nazwa_id "
        "TEXT(50), zbiorczy Logical, ddout_Termin_zaplaty Date, Remanent Logical, b_rabat_n  "
        "Single DEFAULT 0, b_rabat_v  Single DEFAULT 0, wart_kp money,rodzdok text(1) null)");
    DbWykonajKonwersje(
        "create table PRODUKCJA_ZAWARTOSC (SPRZ_ID Long, PROD_ID Long,WSPRZ_ILOSC Single "
        "DEFAULT 0,WSPRZ_CENA_B money,WSPRZ_CENA_VAT text(4))");
    DbWykonajKonwersje("alter table [KADRY_Pracownicy] ADD COLUMN [Kier_symbol] Text(5)");
    DbWykonajKonwersje("ALTER TABLE [KADRY_PRACOWNICY] ADD COLUMN [ETAT] TEXT(6)");
    DbWykonajKonwersje("drop table [ZAKUPY_KOREKTA]");
    DbWykonajKonwersje("drop table [ZAKUPY_KOREKTA_ZAWART]");
    Zmien_Typ_Pola("CENA_N", "money", "ZAKUPY_ZAWART");
    Zmien_Typ_Pola("WART_N", "money", "ZAKUPY_ZAWART");
    Zmien_Typ_Pola("WART_N", "money", "zakupy");
    Zmien_Typ_Pola("VAT", "money", "zakupy");
}

// Version 2.18: the quantity sold of every product, recounted over the numbered sales
// documents ('R') issued after the day of the latest stocktaking (every date when there
// is none), replaces the booked rozch_il of SPRZEDAZ_ILOSC, and ILOSC moves by the
// difference. The work table, named after the Windows user, lives only while the step
// runs; its quantities are 4-byte floats.
void ClsKonwersje::Konwersja_218() {
    const std::string t = "[_REMANENTINWENT_ZAWARTOSC123" + Uzytkownik_Windows + "]";

    DbWykonajKonwersje("Drop table " + t);
    DbWykonajKonwersje(
        "create table " + t +
        " (ID long , Nazwa text(50) , Ilosc_namagazynie Single DEFAULT 0 , "
        "Ilosc_stanfaktyczny Single DEFAULT 0 , Zuzyte Single DEFAULT 0 , Cena Single "
        "DEFAULT 0 , Rodz text(1) , p_id long , wlasny byte , mag_prod Single DEFAULT 0 , "
        "zak_il Single DEFAULT 0 , sprz_il Single DEFAULT 0 , przych_il Single DEFAULT 0 , "
        "rozch_il Single DEFAULT 0)");

    // The latest stocktaking day bounds the recount: documents of that day itself are
    // already in its counts. A stocktaking without a date cannot be placed.
    std::unique_ptr<ado::Recordset> rs;
    DbOtwórzSELKonwersje(
        rs, "[Data] from [REMANENTINWENT] where [Data] is not null order by [Data] desc", false);
    std::string warunek;
    if (kroki::Rekordy(rs).RecordCount() >= 1)
        warunek = " and [DDOUT_DATA_WYST]>" + DataSQL_Do(rs->Fields(0).value().to_date());
    ZamknijRSKonwersje(rs);

    DbWykonajKonwersje("Delete from " + t);
    DbWykonajKonwersje("Insert Into " + t +
                       " ([ID],[Ilosc_namagazynie],[Ilosc_stanfaktyczny],[sprz_il],[rozch_il]) "
                       "select [PRODUKTY].[prod_id],0 as wyr1,0 as wyr2,0 as wyr3,0 as wyr4 "
                       "from [PRODUKTY]");
    const std::string z_ilosciami =
        t + " INNER JOIN SPRZEDAZ_ILOSC ON " + t + ".ID = SPRZEDAZ_ILOSC.prod_id";
    // A product that the quantity table holds twice counts the quantities of all its rows
    // (a quantity not given as none), and its recount goes back to its first row alone
    // (in the table's order, numbered for the step), its other rows taking none: no
    // quantity counts twice. Only such a table needs the numbering.
    const bool powtorzone =
        Liczba_Z_Zapytania("top 1 count(*)" + Powtorzony_Klucz("SPRZEDAZ_ILOSC", "prod_id")) > 1;
    if (powtorzone) {
        DbWykonajKonwersje("alter table SPRZEDAZ_ILOSC ADD COLUMN [_nr_POM] counter");
        const Zamierzony_Raport po_wierszu{jet::reports::Kind::MultiPair};
        DbWykonajKonwersje("Update " + z_ilosciami + " SET " + t + ".[sprz_il] = " + t +
                           ".[sprz_il]+Nz([SPRZEDAZ_ILOSC].[ILOSC],0), " + t +
                           ".[rozch_il] = " + t + ".[rozch_il]+Nz([SPRZEDAZ_ILOSC].[rozch_il],0)");
    } else {
        DbWykonajKonwersje("Update " + z_ilosciami + " SET " + t +
                           ".[sprz_il] = [SPRZEDAZ_ILOSC].[ILOSC], " + t +
                           ".[rozch_il] = [SPRZEDAZ_ILOSC].[rozch_il]");
    }
    // Every qualifying line adds its quantity once (the update applies per joined row);
    // a quantity or a stock figure that is missing counts as none.
    {
        const Zamierzony_Raport po_linii{jet::reports::Kind::MultiPair};
        DbWykonajKonwersje(
            "Update ([SPRZEDAZ_ZAWARTOSC] INNER JOIN [SPRZEDAZ_NEW] ON "
            "[SPRZEDAZ_ZAWARTOSC].[SPRZ_ID] = [SPRZEDAZ_NEW].[DDOUT_ID]) INNER JOIN " +
            t + " ON [SPRZEDAZ_ZAWARTOSC].[PROD_ID] = " + t + ".[ID] SET " + t +
            ".[Ilosc_namagazynie] = " + t +
            ".[Ilosc_namagazynie]+[SPRZEDAZ_ZAWARTOSC].[WSPRZ_ILOSC] WHERE "
            "((([SPRZEDAZ_NEW].[DDOUT_NUMER])<>'') AND (([SPRZEDAZ_NEW].[rodzdok])='R') AND "
            "[SPRZEDAZ_ZAWARTOSC].[WSPRZ_ILOSC] Is Not Null " +
            warunek + ")");
    }
    DbWykonajKonwersje(
        "Update " + t +
        " set [Ilosc_stanfaktyczny]=Nz([sprz_il],0)-([Ilosc_namagazynie]-Nz([rozch_il],0))");
    // The recount lives only in the work table until SPRZEDAZ_ILOSC holds it: the work
    // table is this run's own, so a failure of the carry is never one to pass over.
    if (powtorzone) {
        DbWykonajKonwersje("Update (" + z_ilosciami +
                           ") LEFT JOIN SPRZEDAZ_ILOSC AS [SN] ON ([SN].prod_id = "
                           "SPRZEDAZ_ILOSC.prod_id AND [SN].[_nr_POM] < SPRZEDAZ_ILOSC.[_nr_POM]) "
                           "SET [SPRZEDAZ_ILOSC].[ILOSC]= IIf([SN].prod_id Is Null, " +
                           t +
                           ".[Ilosc_stanfaktyczny], 0), [SPRZEDAZ_ILOSC].[rozch_il] = "
                           "IIf([SN].prod_id Is Null, " +
                           t + ".[Ilosc_namagazynie], 0)");
        DbWykonajKonwersje("alter table SPRZEDAZ_ILOSC drop COLUMN [_nr_POM]");
    } else {
        DbWykonajKonwersje("Update " + z_ilosciami + " SET [SPRZEDAZ_ILOSC].[ILOSC]= " + t +
                           ".[Ilosc_stanfaktyczny] ,  [SPRZEDAZ_ILOSC].[rozch_il] =" + t +
                           ".[Ilosc_namagazynie]");
    }
    DbWykonajKonwersje("drop table " + t + " ");
}

// Version 2.19: three ordered and three produced quantities on the production lines.
void ClsKonwersje::Konwersja_219() {
    for (const char* kolumna :
         {"ilosc_zam", "ilosc_prod", "ilosc_zam2", "ilosc_prod2", "ilosc_zam3", "ilosc_prod3"})
        DbWykonajKonwersje(std::string("ALTER TABLE [PRODUKCJA_ZAWARTOSC] ADD COLUMN [") + kolumna +
                           "] Single DEFAULT 0");
}
