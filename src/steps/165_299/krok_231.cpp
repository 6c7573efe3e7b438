// Step 2.31: the raw-material report of the order reports becomes the raw-material lines
// of the production documents, the old stock, consumption and log tables go, and the
// stock table is recomputed from the documents: the counts of the latest stocktaking as
// the opening stock, every movement dated after that stocktaking's day, the current stock.
#include <memory>
#include <string>

#include "db/daty.h"
#include "db/schemat.h"
#include "driver/konwersje.h"
#include "jet/value.h"
#include "steps/165_299/wspolne.h"

void ClsKonwersje::Konwersja_231() {
    kroki::Zmien_Nazwy_Tabel(*this, {{"ZAMOWIENIA_RAPORT_SUROWCE", "PRODUKCJA_ZAWART_SUROWCE"}});

    DbWykonajKonwersje("Drop table [magazyn_produktow]");
    DbWykonajKonwersje("Drop table [ZUZYCIE_CALKOWITE]");
    DbWykonajKonwersje("Drop table [RODZAJ_WYST_DOKUM]");
    Usun_Pole("ZAMOWIENIA_RAPORT", "ilosc_prod");
    Usun_Pole("ZAMOWIENIA_RAPORT", "ilosc_prod2");
    Usun_Pole("ZAMOWIENIA_RAPORT", "ilosc_prod3");

    const std::string surowce = "ALTER TABLE [PRODUKCJA_ZAWART_SUROWCE] ";
    DbWykonajKonwersje(surowce + "ADD COLUMN [sprz_id] long");
    DbWykonajKonwersje(surowce + "ADD COLUMN [Prod_id] long");
    DbWykonajKonwersje(surowce + "ADD COLUMN [ilosc_sur] Single DEFAULT 0");
    DbWykonajKonwersje(surowce + "ADD COLUMN [ilosc_polprod] Single DEFAULT 0");
    DbWykonajKonwersje(surowce + "ADD COLUMN [Wartosc] currency");
    // Each raw-material line belongs to the production document of its day.
    DbWykonajKonwersje(
        "Update [PRODUKCJA_ZAWART_SUROWCE] inner join [produkcja] on "
        "[produkcja].[DDOUT_DATA_WYST]=[PRODUKCJA_ZAWART_SUROWCE].[data] set "
        "[PRODUKCJA_ZAWART_SUROWCE].[sprz_id] =[PRODUKCJA].[ddout_id]");
    DbWykonajKonwersje("drop table Logi ");

    // The recomputation starts from nothing moved; the opening stock and the current
    // stock are set below.
    DbWykonajKonwersje(
        "Update [STANY_MAGAZYNOWE] set [Ilosc]=0,[zakup_il]=0,[przych_il]= "
        "0,[rozch_il]=0,[produkcja]=0,[zuzycie]=0");

    // The latest stocktaking gives the opening stock of the products it counted and the
    // day after which documents count; without one, every product starts from 0 and
    // every document from 1900 on counts. A Null date fails on reading it.
    double d = 0;
    std::unique_ptr<ado::Recordset> rs;
    if (DbOtwórzSELKonwersje(rs, "[Data],[id_ri] from [REMANENTINWENT] order by [data] desc") < 1) {
        d = jet::Value::text("01-01-1900").to_date();
        DbWykonajKonwersje(
            "Update [STANY_MAGAZYNOWE]        set    [STANY_MAGAZYNOWE].[inwent]   = 0  ");
    } else {
        d = rs->Fields(0).value().to_date();
        DbWykonajKonwersje(
            "Update [STANY_MAGAZYNOWE]    inner join [REMANENTINWENT_ZAWART] on    "
            "[STANY_MAGAZYNOWE].[prod_id]=[REMANENTINWENT_ZAWART].[id] set    "
            "[STANY_MAGAZYNOWE].[inwent]   =   [REMANENTINWENT_ZAWART].[Ilosc_stanfaktyczny]  "
            "where [REMANENTINWENT_ZAWART].[id_ri]=" +
            rs->Fields(1).value().to_text());
    }
    ZamknijRSKonwersje(rs);
    const std::string po = DataSQL_Do(d);

    // One statement per document kind; the update applies once per joined line, so a
    // product sums all of its lines.
    DbWykonajKonwersje(
        "Update [STANY_MAGAZYNOWE] inner join ([FAKTURY_WYCH_ZAWART]         inner join "
        "[FAKTURY_WYCH]         on [FAKTURY_WYCH_zawart].[FAKOUT_ID]         "
        "=[FAKTURY_WYCH].[FAKOUT_ID])          on "
        "[STANY_MAGAZYNOWE].[prod_id]=[FAKTURY_WYCH_zawart].[prod_id]         set "
        "[STANY_MAGAZYNOWE].[ilosc]    =[STANY_MAGAZYNOWE].[ilosc]    "
        "+[FAKTURY_WYCH_zawart].[ZFAKOUT_ILOSC]                                                  "
        "                    where [FAKTURY_WYCH].[FAKOUT_DATA_WYST]>" +
        po + "          and [FAKOUT_numer]<>''");
    DbWykonajKonwersje(
        "Update [STANY_MAGAZYNOWE] inner join ([FAKTURY_WYCH_KOREKTA_ZAWART] inner join "
        "[FAKTURY_WYCH_KOREKTA] on "
        "[FAKTURY_WYCH_KOREKTA_zawart].[FKOROUT_ID]=[FAKTURY_WYCH_KOREKTA].[FKOROUT_ID]) on "
        "[STANY_MAGAZYNOWE].[prod_id]=[FAKTURY_WYCH_KOREKTA_zawart].[prod_id] set "
        "[STANY_MAGAZYNOWE].[ilosc]    =[STANY_MAGAZYNOWE].[ilosc]    "
        "-[FAKTURY_WYCH_KOREKTA_zawart].[ZFKOROUT_ILOSC]+[FAKTURY_WYCH_KOREKTA_zawart].["
        "zfkorout_ilosckor]           where [FAKTURY_WYCH_KOREKTA].[FKOROUT_DATA_WYST]>" +
        po + " and [FKOROUT_numer]<>'' and [FAKTURY_WYCH_KOREKTA].[zakup]=0");
    DbWykonajKonwersje(
        "Update [STANY_MAGAZYNOWE] inner join ([Paragon_ZAWART]              inner join "
        "[Paragon]              on [Paragon_zawart].[DDOUT_ID]               "
        "=[Paragon].[DDOUT_ID])                on "
        "[STANY_MAGAZYNOWE].[prod_id]=[Paragon_zawart].[prod_id]              set "
        "[STANY_MAGAZYNOWE].[ilosc]    =[STANY_MAGAZYNOWE].[ilosc]    "
        "+[Paragon_zawart].[ZDDOUT_ILOSC]                                                       "
        "                     where [Paragon].[DDOUT_DATA_WYST]>" +
        po + "                and DDOUT_NUMER<>''");
    DbWykonajKonwersje(
        "Update [STANY_MAGAZYNOWE] inner join ([DOWODY_DOSTAW_ZAWART]        inner join "
        "[DOWODY_DOSTAW]        on [DOWODY_DOSTAW_zawart].[DDOUT_ID]         "
        "=[DOWODY_DOSTAW].[DDOUT_ID])          on "
        "[STANY_MAGAZYNOWE].[prod_id]=[DOWODY_DOSTAW_zawart].[prod_id]        set "
        "[STANY_MAGAZYNOWE].[ilosc]    =[STANY_MAGAZYNOWE].[ilosc]    "
        "+[DOWODY_DOSTAW_zawart].[ZDDOUT_ILOSC]                                                 "
        "                     where [DOWODY_DOSTAW].[DDOUT_DATA_WYST]>" +
        po + "          and [DOWODY_DOSTAW].[DDOUT_DO_ROZLICZENIA]=-1");
    DbWykonajKonwersje(
        "Update [STANY_MAGAZYNOWE] inner join ([DOWODY_ZWROTU_ZAWART]        inner join "
        "[DOWODY_ZWROTU]        on [DOWODY_ZWROTU_zawart].[DDOUT_ID]         "
        "=[DOWODY_ZWROTU].[DDOUT_ID])          on "
        "[STANY_MAGAZYNOWE].[prod_id]=[DOWODY_ZWROTU_zawart].[prod_id]        set "
        "[STANY_MAGAZYNOWE].[ilosc]    =[STANY_MAGAZYNOWE].[ilosc]    "
        "-[DOWODY_ZWROTU_zawart].[ZDDOUT_ILOSC]                                                 "
        "                     where [DOWODY_ZWROTU].[DDOUT_DATA_WYST]>" +
        po + "          and [DOWODY_ZWROTU].[DDOUT_DO_ROZLICZENIA]=-1");
    DbWykonajKonwersje(
        "Update [STANY_MAGAZYNOWE] inner join ([zakupy_zawart]               inner join "
        "[zakupy]               on [zakupy_zawart].[numer_id]                "
        "=[zakupy].[numer_id])                 on "
        "[STANY_MAGAZYNOWE].[prod_id]=[zakupy_zawart].[sur_id]                set "
        "[STANY_MAGAZYNOWE].[zakup_il] =[STANY_MAGAZYNOWE].[zakup_il] +[zakupy_zawart].[ilosc]  "
        "                                                                                  where "
        "[zakupy].[data_zaksiegowania]>" +
        po + "              and [zakupy].[numer_zaksiegowania]<>''");
    DbWykonajKonwersje(
        "Update [STANY_MAGAZYNOWE] inner join ([FAKTURY_WYCH_KOREKTA_ZAWART] inner join "
        "[FAKTURY_WYCH_KOREKTA] on "
        "[FAKTURY_WYCH_KOREKTA_zawart].[FKOROUT_ID]=[FAKTURY_WYCH_KOREKTA].[FKOROUT_ID]) on "
        "[STANY_MAGAZYNOWE].[prod_id]=[FAKTURY_WYCH_KOREKTA_zawart].[prod_id] set "
        "[STANY_MAGAZYNOWE].[zakup_il] =[STANY_MAGAZYNOWE].[zakup_il] "
        "-[FAKTURY_WYCH_KOREKTA_zawart].[ZFKOROUT_ILOSC]+[FAKTURY_WYCH_KOREKTA_zawart].["
        "zfkorout_ilosckor]           where [FAKTURY_WYCH_KOREKTA].[FKOROUT_DATA_WYST]>" +
        po + " and [FKOROUT_numer]<>'' and [FAKTURY_WYCH_KOREKTA].[zakup]=-1");
    DbWykonajKonwersje(
        "Update [STANY_MAGAZYNOWE] inner join ([Dok_Wewnentrzne_ZAWART]      inner join "
        "[Dok_Wewnentrzne]      On [Dok_Wewnentrzne_ZAWART].[sprz_id]        "
        "=[Dok_Wewnentrzne].[ddout_id])        on "
        "[STANY_MAGAZYNOWE].[prod_id]=[Dok_Wewnentrzne_ZAWART].[prod_id]      set "
        "[STANY_MAGAZYNOWE].[przych_il]=[STANY_MAGAZYNOWE].[przych_il]+[Dok_Wewnentrzne_ZAWART]."
        "[WSPRZ_ILOSC]                                                                     where "
        "[Dok_Wewnentrzne].[DDOUT_DATA_WYST]>" +
        po + "        and [Dok_Wewnentrzne].[RodzDok]<>'R'");
    DbWykonajKonwersje(
        "Update [STANY_MAGAZYNOWE] inner join ([Dok_Wewnentrzne_ZAWART]      inner join "
        "[Dok_Wewnentrzne]      on [Dok_Wewnentrzne_ZAWART].[sprz_id]        "
        "=[Dok_Wewnentrzne].[ddout_id])        on "
        "[STANY_MAGAZYNOWE].[prod_id]=[Dok_Wewnentrzne_ZAWART].[prod_id]      set "
        "[STANY_MAGAZYNOWE].[rozch_il] =[STANY_MAGAZYNOWE].[rozch_il] "
        "+[Dok_Wewnentrzne_ZAWART].[WSPRZ_ILOSC]                                                "
        "                     where [Dok_Wewnentrzne].[DDOUT_DATA_WYST]>" +
        po + "        and [Dok_Wewnentrzne].[RodzDok]='R'");
    DbWykonajKonwersje(
        "Update [STANY_MAGAZYNOWE] inner join ([PRODUKCJA_ZAWART]            inner join "
        "[Produkcja]            on [PRODUKCJA_ZAWART].[sprz_ID]              "
        "=[Produkcja].[DDOUT_ID])              on "
        "[STANY_MAGAZYNOWE].[prod_id]=[PRODUKCJA_ZAWART].[prod_id]            set "
        "[STANY_MAGAZYNOWE].[produkcja]=[STANY_MAGAZYNOWE].[produkcja]+[PRODUKCJA_ZAWART].["
        "ilosc_prod]+[PRODUKCJA_ZAWART].[ilosc_prod2]+[PRODUKCJA_ZAWART].[ilosc_prod3]          "
        "where [Produkcja].[DDOUT_DATA_WYST]>" +
        po + "              and DDOUT_NUMER<>''");
    DbWykonajKonwersje(
        "Update [STANY_MAGAZYNOWE] inner join ([PRODUKCJA_ZAWART_surowce]    inner join "
        "[Produkcja]            on [PRODUKCJA_ZAWART_SUROWCE].[sprz_ID]      "
        "=[Produkcja].[DDOUT_ID])              on "
        "[STANY_MAGAZYNOWE].[prod_id]=[PRODUKCJA_ZAWART_SUROWCE].[sur_id]    set "
        "[STANY_MAGAZYNOWE].[zuzycie]  =[STANY_MAGAZYNOWE].[zuzycie]  "
        "+[PRODUKCJA_ZAWART_SUROWCE].[ILOSC]                                                    "
        "                     where [Produkcja].[DDOUT_DATA_WYST]>" +
        po + "               and DDOUT_NUMER<>''");

    DbWykonajKonwersje(
        "Update [STANY_MAGAZYNOWE] set "
        "[stan]=[inwent]+[zakup_il]+[przych_il]+[produkcja]-[rozch_il]-[ilosc]-[zuzycie]");
}
