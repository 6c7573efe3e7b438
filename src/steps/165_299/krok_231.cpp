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
    // Each raw-material line belongs to the production document of its day: the first
    // of that day's documents (the lowest ddout_id) where the day has several.
    DbWykonajKonwersje(
        "Update ([PRODUKCJA_ZAWART_SUROWCE] inner join [produkcja] on "
        "[produkcja].[DDOUT_DATA_WYST]=[PRODUKCJA_ZAWART_SUROWCE].[data]) left join [produkcja] "
        "AS [P2] on ([P2].[DDOUT_DATA_WYST]=[produkcja].[DDOUT_DATA_WYST] and "
        "[P2].[ddout_id]<[produkcja].[ddout_id]) set "
        "[PRODUKCJA_ZAWART_SUROWCE].[sprz_id] =[PRODUKCJA].[ddout_id] where [P2].[ddout_id] is "
        "null");
    DbWykonajKonwersje("drop table Logi ");

    // The recomputation starts from nothing moved; the opening stock and the current
    // stock are set below.
    DbWykonajKonwersje(
        "Update [STANY_MAGAZYNOWE] set [Ilosc]=0,[zakup_il]=0,[przych_il]= "
        "0,[rozch_il]=0,[produkcja]=0,[zuzycie]=0");

    // A product's movements go to its first stock row (the lowest Countt): its other rows
    // take none, so that no movement counts twice.
    const kroki::Pierwszy_Wiersz p = kroki::Tylko_Pierwszy_Wiersz(
        *this, "[STANY_MAGAZYNOWE]",
        "[STANY_MAGAZYNOWE] AS [S2] on ([S2].[prod_id]=[STANY_MAGAZYNOWE].[prod_id] and "
        "[S2].[Countt]<[STANY_MAGAZYNOWE].[Countt])",
        "[S2].[prod_id]");
    const std::string pierwszy_wiersz = ")" + p.zlaczenie + " set [STANY_MAGAZYNOWE].";
    const std::string tylko_pierwszy = p.i();
    // Adds to kolumna of the first stock row of each product the line figure ilosc (its
    // Nulls counted as 0) of every line that linie joins to it ("([LINES] inner join
    // [DOCUMENT] on ...) on [STANY_MAGAZYNOWE].[prod_id]=..."), where warunek holds.
    const auto ruch_wyrazenia = [&](const std::string& linie, const std::string& kolumna,
                                    const std::string& ilosc, const std::string& warunek) {
        const Zamierzony_Raport po_linii{jet::reports::Kind::MultiPair};
        DbWykonajKonwersje("Update ([STANY_MAGAZYNOWE] inner join " + linie + pierwszy_wiersz +
                           "[" + kolumna + "]=[STANY_MAGAZYNOWE].[" + kolumna + "]" + ilosc +
                           " where " + tylko_pierwszy + warunek);
    };
    // The same for a figure of one column pole, added with its sign znak: a line without
    // it adds none (left out, which keeps the update's plain carry of the column).
    const auto ruch = [&](const std::string& linie, const std::string& kolumna,
                          const std::string& znak, const std::string& pole,
                          const std::string& warunek) {
        ruch_wyrazenia(linie, kolumna, znak + pole, warunek + " and " + pole + " is not null");
    };

    // The latest stocktaking (the highest id_ri of the latest day) gives the opening
    // stock of the products it counted, the sum of their lines, and the day after which
    // documents count; without one, every product starts from 0 and every document from
    // 1900 on counts. A stocktaking without a date cannot be placed and is passed over.
    double d = 0;
    std::unique_ptr<ado::Recordset> rs;
    if (DbOtwórzSELKonwersje(rs,
                             "[Data],[id_ri] from [REMANENTINWENT] where [Data] is not null order "
                             "by [data] desc,[id_ri] desc") < 1) {
        d = jet::Value::text("01-01-1900").to_date();
        DbWykonajKonwersje(
            "Update [STANY_MAGAZYNOWE]        set    [STANY_MAGAZYNOWE].[inwent]   = 0  ");
    } else {
        d = rs->Fields(0).value().to_date();
        const std::string remanent =
            "[REMANENTINWENT_ZAWART] on [STANY_MAGAZYNOWE].[prod_id]=[REMANENTINWENT_ZAWART].[id]";
        const std::string ten =
            "[REMANENTINWENT_ZAWART].[id_ri]=" + rs->Fields(1).value().to_text();
        DbWykonajKonwersje("Update [STANY_MAGAZYNOWE] inner join " + remanent +
                           " set [STANY_MAGAZYNOWE].[inwent]=0 where " + ten);
        ruch(remanent, "inwent", "+", "[REMANENTINWENT_ZAWART].[Ilosc_stanfaktyczny]", ten);
    }
    ZamknijRSKonwersje(rs);
    const std::string po = DataSQL_Do(d);

    // One statement per document kind; the update applies once per joined line, so a
    // product sums all of its lines.
    ruch(
        "([FAKTURY_WYCH_ZAWART] inner join [FAKTURY_WYCH] on [FAKTURY_WYCH_zawart].[FAKOUT_ID]="
        "[FAKTURY_WYCH].[FAKOUT_ID]) on "
        "[STANY_MAGAZYNOWE].[prod_id]=[FAKTURY_WYCH_zawart].[prod_id]",
        "ilosc", "+", "[FAKTURY_WYCH_zawart].[ZFAKOUT_ILOSC]",
        "[FAKTURY_WYCH].[FAKOUT_DATA_WYST]>" + po + " and [FAKOUT_numer]<>''");
    const std::string korekty =
        "([FAKTURY_WYCH_KOREKTA_ZAWART] inner join [FAKTURY_WYCH_KOREKTA] on "
        "[FAKTURY_WYCH_KOREKTA_zawart].[FKOROUT_ID]=[FAKTURY_WYCH_KOREKTA].[FKOROUT_ID]) on "
        "[STANY_MAGAZYNOWE].[prod_id]=[FAKTURY_WYCH_KOREKTA_zawart].[prod_id]";
    const std::string korekta =
        "-Nz([FAKTURY_WYCH_KOREKTA_zawart].[ZFKOROUT_ILOSC],0)+Nz([FAKTURY_WYCH_KOREKTA_zawart]."
        "[zfkorout_ilosckor],0)";
    const std::string korekty_po =
        "[FAKTURY_WYCH_KOREKTA].[FKOROUT_DATA_WYST]>" + po + " and [FKOROUT_numer]<>''";
    // A correction not marked a purchase (its flag not set) is a sale's.
    ruch_wyrazenia(korekty, "ilosc", korekta,
                   korekty_po + " and Nz([FAKTURY_WYCH_KOREKTA].[zakup],0)=0");
    ruch(
        "([Paragon_ZAWART] inner join [Paragon] on [Paragon_zawart].[DDOUT_ID]=[Paragon]."
        "[DDOUT_ID]) on [STANY_MAGAZYNOWE].[prod_id]=[Paragon_zawart].[prod_id]",
        "ilosc", "+", "[Paragon_zawart].[ZDDOUT_ILOSC]",
        "[Paragon].[DDOUT_DATA_WYST]>" + po + " and DDOUT_NUMER<>''");
    for (const char* t : {"DOWODY_DOSTAW", "DOWODY_ZWROTU"}) {
        const std::string d_ = t;
        ruch(
            "([" + d_ + "_ZAWART] inner join [" + d_ + "] on [" + d_ + "_zawart].[DDOUT_ID]=[" +
                d_ + "].[DDOUT_ID]) on [STANY_MAGAZYNOWE].[prod_id]=[" + d_ + "_zawart].[prod_id]",
            "ilosc", d_ == "DOWODY_DOSTAW" ? "+" : "-", "[" + d_ + "_zawart].[ZDDOUT_ILOSC]",
            "[" + d_ + "].[DDOUT_DATA_WYST]>" + po + " and [" + d_ + "].[DDOUT_DO_ROZLICZENIA]=-1");
    }
    ruch(
        "([zakupy_zawart] inner join [zakupy] on [zakupy_zawart].[numer_id]=[zakupy].[numer_id]) "
        "on [STANY_MAGAZYNOWE].[prod_id]=[zakupy_zawart].[sur_id]",
        "zakup_il", "+", "[zakupy_zawart].[ilosc]",
        "[zakupy].[data_zaksiegowania]>" + po + " and [zakupy].[numer_zaksiegowania]<>''");
    ruch_wyrazenia(korekty, "zakup_il", korekta,
                   korekty_po + " and [FAKTURY_WYCH_KOREKTA].[zakup]=-1");
    const std::string wewnetrzne =
        "([Dok_Wewnentrzne_ZAWART] inner join [Dok_Wewnentrzne] on "
        "[Dok_Wewnentrzne_ZAWART].[sprz_id]=[Dok_Wewnentrzne].[ddout_id]) on "
        "[STANY_MAGAZYNOWE].[prod_id]=[Dok_Wewnentrzne_ZAWART].[prod_id]";
    const std::string wewnetrzne_po = "[Dok_Wewnentrzne].[DDOUT_DATA_WYST]>" + po;
    ruch(wewnetrzne, "przych_il", "+", "[Dok_Wewnentrzne_ZAWART].[WSPRZ_ILOSC]",
         wewnetrzne_po + " and [Dok_Wewnentrzne].[RodzDok]<>'R'");
    ruch(wewnetrzne, "rozch_il", "+", "[Dok_Wewnentrzne_ZAWART].[WSPRZ_ILOSC]",
         wewnetrzne_po + " and [Dok_Wewnentrzne].[RodzDok]='R'");
    // A production document counts only with its number given: those that step 2.20 made
    // from the order reports have none until 2.45 numbers them.
    const std::string produkcja_po = "[Produkcja].[DDOUT_DATA_WYST]>" + po + " and DDOUT_NUMER<>''";
    ruch_wyrazenia(
        "([PRODUKCJA_ZAWART] inner join [Produkcja] on [PRODUKCJA_ZAWART].[sprz_ID]=[Produkcja]."
        "[DDOUT_ID]) on [STANY_MAGAZYNOWE].[prod_id]=[PRODUKCJA_ZAWART].[prod_id]",
        "produkcja",
        "+Nz([PRODUKCJA_ZAWART].[ilosc_prod],0)+Nz([PRODUKCJA_ZAWART].[ilosc_prod2],0)+Nz(["
        "PRODUKCJA_ZAWART].[ilosc_prod3],0)",
        produkcja_po);
    ruch(
        "([PRODUKCJA_ZAWART_surowce] inner join [Produkcja] on [PRODUKCJA_ZAWART_SUROWCE]."
        "[sprz_ID]=[Produkcja].[DDOUT_ID]) on "
        "[STANY_MAGAZYNOWE].[prod_id]=[PRODUKCJA_ZAWART_SUROWCE].[sur_id]",
        "zuzycie", "+", "[PRODUKCJA_ZAWART_SUROWCE].[ILOSC]", produkcja_po);

    DbWykonajKonwersje(
        "Update [STANY_MAGAZYNOWE] set "
        "[stan]=Nz([inwent],0)+Nz([zakup_il],0)+Nz([przych_il],0)+Nz([produkcja],0)-Nz([rozch_"
        "il],0)-Nz([ilosc],0)-Nz([zuzycie],0)");
}
