// Steps 5.35 to 5.39: second prices of RW and PW lines from the contractor's second
// price list, the product line of PRZ and MMA documents moved into their headers, recipes
// split into headers and lines, and document numbers made unique again under the
// unique number index.
#include <array>
#include <memory>
#include <string>

#include "db/komunikaty.h"
#include "db/nz.h"
#include "db/otworz.h"
#include "db/polaczenie.h"
#include "db/schemat.h"
#include "db/wykonaj.h"
#include "driver/konwersje.h"
#include "jet/text.h"
#include "platform/message_box.h"
#include "steps/165_299/wspolne.h"
#include "steps/400_499/wspolne_400.h"

namespace {

// A header table whose number is made unique: its id column and number column.
struct Numer_Dokumentu {
    const char* tabela;
    const char* id;
    const char* numer;
};
constexpr std::array<Numer_Dokumentu, 16> kNumeryDokumentow = {{
    {"Dok_dd", "ddout_id", "DDOUT_NUMER"},
    {"Dok_dz", "ddout_id", "DDOUT_NUMER"},
    {"Dok_dar", "ddout_id", "DDOUT_NUMER"},
    {"Dok_fwe", "fakout_id", "FAKOUT_NUMER"},
    {"Dok_rw", "ddout_id", "DDOUT_NUMER"},
    {"Dok_pw", "ddout_id", "DDOUT_NUMER"},
    {"Dok_pz", "ddout_id", "DDOUT_NUMER"},
    {"Dok_wz", "ddout_id", "DDOUT_NUMER"},
    {"Dok_kfa", "FKOROUT_ID", "fkorout_numer"},
    {"Dok_kza", "FKOROUT_ID", "fkorout_numer"},
    {"Dok_pro", "ddout_id", "DDOUT_NUMER"},
    {"Dok_par", "ddout_id", "DDOUT_NUMER"},
    {"Dok_prs", "ddout_id", "DDOUT_NUMER"},
    {"Dok_prz", "ddout_id", "DDOUT_NUMER"},
    {"Dok_zak", "numer_id", "numer_zaksiegowania"},
    {"Dok_fak", "fakout_id", "FAKOUT_NUMER"},
}};

// A quantity times a price as money rounded by NzCur; a Null factor gives 0.
jet::Currency Wartosc_Linii(const jet::Value& ilosc, const jet::Value& cena) {
    if (ilosc.is_null() || cena.is_null()) return NzCur(jet::Value::null());
    return NzCur(jet::Value::dbl(ilosc.to_double() * cena.to_double()));
}

// Whether the line l (of the table tabela, read in the order of its document and Countt)
// is a further line of the document of the line before it, whose id poprzedni holds:
// the header takes its document's first line only, and a further one is logged with its
// product and quantity. poprzedni takes l's document.
bool Dalsza_Pozycja(ado::Recordset& l, jet::Value& poprzedni, const std::string& tabela) {
    const jet::Value dokument = l.Fields("DDOUT_ID").value();
    const bool dalsza = !poprzedni.is_null() && jet::compare(poprzedni, dokument) == 0;
    poprzedni = dokument;
    if (dalsza)
        Zapisz_Log_Kroku("Pozycja " + tabela + " dokumentu " + dokument.to_text() + " (produkt " +
                             NzStr(l.Fields("PROD_ID").value()) + ", ilość " +
                             NzStr(l.Fields("ZDDOUT_ILOSC").value()) +
                             ") pominięta: dokument ma już pozycję",
                         "Konwersja", "Konwersja_536");
    return dalsza;
}

}  // namespace

void ClsKonwersje::Konwersja_535() {
    DbWykonajKonwersje("update DOK_RW_ZAWART  set ZDDOUT_CENA_N_2=0,WSPRZ_CENA_BRUTTO_2=0");
    for (const char* t : {"RW", "PW"}) {
        const std::string z = std::string("DOK_") + t + "_ZAWART";
        const std::string n = std::string("DOK_") + t;
        // A price-list name may hold several dated lists: the line takes the price of the
        // active one, of two the first (the lowest ID_CENNIKA).
        DbWykonajKonwersje(
            "update ((" + z +
            " INNER JOIN (KONTRAHENCI INNER JOIN CENNIKI_ZAWART  ON KONTRAHENCI.LCEN_NAZWA_ID_2 = "
            "CENNIKI_zawart.LCEN_NAZWA_ID) ON " +
            z + ".PROD_ID =CENNIKI_ZAWART.PROD_ID) INNER JOIN " + n + " ON (" + z +
            ".ddout_id = " + n + ".DDOUT_ID) AND (KONTRAHENCI.KONH_ID = " + n +
            ".KONH_ID)) LEFT JOIN CENNIKI_ZAWART AS CN ON (CN.LCEN_NAZWA_ID = "
            "CENNIKI_ZAWART.LCEN_NAZWA_ID AND CN.PROD_ID = CENNIKI_ZAWART.PROD_ID AND "
            "(Nz(CN.ACTIVE,0) < Nz(CENNIKI_ZAWART.ACTIVE,0) OR (Nz(CN.ACTIVE,0) = "
            "Nz(CENNIKI_ZAWART.ACTIVE,0) AND CN.ID_CENNIKA < CENNIKI_ZAWART.ID_CENNIKA))) set "
            "ZDDOUT_CENA_N_2=" +
            kroki::Kopia_Bez_Nulla(z + ".ZDDOUT_CENA_N_2", "cenniki_zawart.CEN_NETTO") +
            ",WSPRZ_CENA_BRUTTO_2=" +
            kroki::Kopia_Bez_Nulla(z + ".WSPRZ_CENA_BRUTTO_2", "cenniki_zawart.Cen_Brutto") +
            " where CN.PROD_ID is null");
    }
}

void ClsKonwersje::Konwersja_536() {
    for (const char* def :
         {"Prod_id_wyprodukowano int DEFAULT 0", "Ile_wyprodukowano Single DEFAULT 0",
          "Cena_wyprodukowano money DEFAULT 0", "Wartosc_wyprodukowano money DEFAULT 0",
          "W_kg_wyprodukowano Logical", "Proc_przetworzenia_wyprodukowano Single DEFAULT 0"})
        Dodaj_Pole("DOK_PRZ", def);
    std::unique_ptr<ado::Recordset> linie;
    std::unique_ptr<ado::Recordset> nag;
    std::unique_ptr<ado::Recordset> grupa;
    if (Jest_Tabela("DOK_PRZ_ZAWART_PRO")) {
        // A document's first line by Countt is its product line, whatever the order stored.
        DbOtwórzSELKonwersje(linie,
                             " DDOUT_ID,PROD_ID,ZDDOUT_CENA_N,ZDDOUT_ILOSC from DOK_PRZ_ZAWART_PRO "
                             "order by DDOUT_ID,Countt");
        jet::Value poprzedni = jet::Value::null();
        for (ado::Recordset& l = kroki::Rekordy(linie); !l.Eof(); l.MoveNext()) {
            // A line without a document's id names no document: logged and left as below.
            if (l.Fields("DDOUT_ID").value().is_null()) {
                Zapisz_Log_Kroku("Pozycja DOK_PRZ_ZAWART_PRO bez dokumentu ", "Konwersja",
                                 "Konwersja_536");
                continue;
            }
            if (Dalsza_Pozycja(l, poprzedni, "DOK_PRZ_ZAWART_PRO")) continue;
            DbOtwórzSELKonwersje(
                nag,
                " Prod_id_wyprodukowano,Ile_wyprodukowano,Cena_wyprodukowano,Wartosc_wyprodukowano,"
                "W_kg_wyprodukowano,Proc_przetworzenia_wyprodukowano,Id_GrupaZwrotow from DOK_PRZ "
                "where DDOUT_ID=" +
                    l.Fields("DDOUT_ID").value().to_text());
            ado::Recordset& n = kroki::Rekordy(nag);
            // A line of no document, or of a document without a return group, would stop
            // the conversion here on every run: the first is logged and left (its table
            // goes), the second keeps its product and quantity without the group's
            // figures.
            if (n.Eof()) {
                Zapisz_Log_Kroku("Pozycja DOK_PRZ_ZAWART_PRO bez dokumentu " +
                                     l.Fields("DDOUT_ID").value().to_text(),
                                 "Konwersja", "Konwersja_536");
                ZamknijRSKonwersje(nag);
                continue;
            }
            const jet::Value id_grupy = n.Fields("Id_GrupaZwrotow").value();
            const jet::Value ilosc = l.Fields("ZDDOUT_ILOSC").value();
            n.Fields("Prod_id_wyprodukowano") = l.Fields("PROD_ID").value();
            n.Fields("Ile_wyprodukowano") = ilosc;
            if (!id_grupy.is_null() &&
                DbOtwórzSEL(grupa,
                            "top 1 ProcentPrzetw,Na_KG,CenaMag from S_GRUPY_ZWROTOW where "
                            "Id_GrupaZwrotow=" +
                                id_grupy.to_text(),
                            kOtworzOdczyt) >= 1) {
                ado::Recordset& g = *grupa;
                const jet::Value cena = g.Fields("CenaMag").value();
                n.Fields("Cena_wyprodukowano") = cena;
                n.Fields("Wartosc_wyprodukowano") =
                    jet::Value::currency(Wartosc_Linii(ilosc, cena));
                n.Fields("W_kg_wyprodukowano") = g.Fields("Na_KG").value();
                n.Fields("Proc_przetworzenia_wyprodukowano") = g.Fields("ProcentPrzetw").value();
            } else {
                Zapisz_Log_Kroku("Dokument DOK_PRZ " + l.Fields("DDOUT_ID").value().to_text() +
                                     " bez grupy zwrotów",
                                 "Konwersja", "Konwersja_536");
            }
            n.UpdateBatch(ado::adAffectCurrent);
            ZamknijRSKonwersje(nag);
            ZamknijRSKonwersje(grupa);
        }
        ZamknijRSKonwersje(linie);
        DbWykonajKonwersje("drop table DOK_PRZ_ZAWART_PRO");
    }

    for (const char* def : {"Prod_id_MMA int DEFAULT 0", "Ile_MMA Single DEFAULT 0",
                            "Cena_MMA money DEFAULT 0", "Wartosc_MMA money DEFAULT 0"})
        Dodaj_Pole("DOK_MMA", def);
    if (Jest_Tabela("DOK_MMA_ZAWART_PRO")) {
        DbOtwórzSELKonwersje(linie,
                             " DDOUT_ID,PROD_ID,ZDDOUT_CENA_N,ZDDOUT_ILOSC from DOK_MMA_ZAWART_PRO "
                             "order by DDOUT_ID,Countt");
        jet::Value poprzedni = jet::Value::null();
        for (ado::Recordset& l = kroki::Rekordy(linie); !l.Eof(); l.MoveNext()) {
            if (l.Fields("DDOUT_ID").value().is_null()) {
                Zapisz_Log_Kroku("Pozycja DOK_MMA_ZAWART_PRO bez dokumentu ", "Konwersja",
                                 "Konwersja_536");
                continue;
            }
            if (Dalsza_Pozycja(l, poprzedni, "DOK_MMA_ZAWART_PRO")) continue;
            DbOtwórzSELKonwersje(nag,
                                 " Prod_id_MMA,Ile_MMA,Cena_MMA,Wartosc_MMA from DOK_MMA where "
                                 "DDOUT_ID=" +
                                     l.Fields("DDOUT_ID").value().to_text());
            ado::Recordset& n = kroki::Rekordy(nag);
            if (n.Eof()) {
                Zapisz_Log_Kroku("Pozycja DOK_MMA_ZAWART_PRO bez dokumentu " +
                                     l.Fields("DDOUT_ID").value().to_text(),
                                 "Konwersja", "Konwersja_536");
                ZamknijRSKonwersje(nag);
                continue;
            }
            const jet::Value ilosc = l.Fields("ZDDOUT_ILOSC").value();
            const jet::Value cena = l.Fields("ZDDOUT_CENA_N").value();
            n.Fields("Prod_id_MMA") = l.Fields("PROD_ID").value();
            n.Fields("Ile_MMA") = ilosc;
            n.Fields("Cena_MMA") = cena;
            n.Fields("Wartosc_MMA") = jet::Value::currency(Wartosc_Linii(ilosc, cena));
            n.UpdateBatch(ado::adAffectCurrent);
            ZamknijRSKonwersje(nag);
        }
        ZamknijRSKonwersje(linie);
        DbWykonajKonwersje("drop table DOK_MMA_ZAWART_PRO");
    }
}

void ClsKonwersje::Konwersja_537() {
    // A run that stopped after the calculation table was dropped has nothing left to
    // split: the headers and lines stay as they are and only the last column is added.
    if (Jest_Tabela("PRODUKTY_kalkulacja")) {
        DbWykonajKonwersje("drop table DOK_PRS_ZAWART_ROZBICIE");
        Dodaj_Pole("DOK_FIN_zawart", "Id_bazy int DEFAULT 0");
        Utworz_Index("Id_bazy", "DOK_FIN_zawart", "Id_bazy");
        DbWykonajKonwersje("update DOK_FIN_zawart set Id_bazy=0 where Id_bazy is null");
        // While PRODUKTY_RECEPTURY is still the line table (it has sur_id), a copy of it
        // found here is what a stopped run left and gives way to a fresh one, and the
        // line table is dropped only when its copy holds its rows. Once it is gone, or is
        // the header table that a stopped run made from the calculations, the copy holds
        // the lines: the headers are made again from the calculations, which are still
        // there.
        const bool linie = Jest_Tabela("PRODUKTY_RECEPTURY", "sur_id");
        if (linie) {
            Dodaj_Pole("PRODUKTY_RECEPTURY", "ID_RECEPTURY int DEFAULT 0");
            Dodaj_Pole("PRODUKTY_RECEPTURY", "active Logical");
            Usun_Pole("PRODUKTY_RECEPTURY", "Countt");
            Usun_Pole("PRODUKTY_RECEPTURY", "pprod_nazwa_id");
            Usun_Pozostala_Kopie("PRODUKTY_RECEPTURY", "PRODUKTY_RECEPTURY_zawart");
            DbWykonajKonwersje("select * into PRODUKTY_RECEPTURY_zawart from PRODUKTY_RECEPTURY");
        }
        std::unique_ptr<ado::Recordset> rs;
        if (DbOtwórzSELKonwersje(rs, " * FROM PRODUKTY_RECEPTURY_ZAWART") == -1) {
            platform::message_box("Błąd tworzenia tablicy ", platform::mb::ok_only, "");
            Wylogowanie();
        }
        ZamknijRSKonwersje(rs);
        // A line names no recipe (0) until the headers below are made; its key takes no Null.
        DbWykonajKonwersje(
            "update PRODUKTY_RECEPTURY_ZAWART set id_receptury=0 where id_receptury is null");
        Utworz_Klucz_Podstawowy("PRODUKTY_RECEPTURY_ZAWART", "id_receptury,prod_id,sur_id");
        for (const char* kol : {"active", "id_receptury", "prod_id", "sur_id"})
            Utworz_Index(kol, "PRODUKTY_RECEPTURY_ZAWART", kol);
        if (linie) Sprawdz_Kopie("PRODUKTY_RECEPTURY", "PRODUKTY_RECEPTURY_zawart");
        if (Jest_Tabela("PRODUKTY_RECEPTURY")) DbWykonajKonwersje("DROP TABLE PRODUKTY_RECEPTURY");
        // A calculation that names no product is one of product 0: it takes that
        // product's lines as one of 0 would.
        DbWykonajKonwersje("update PRODUKTY_kalkulacja set prod_id=0 where prod_id is null");
        DbWykonajKonwersje("select * into PRODUKTY_RECEPTURY from PRODUKTY_kalkulacja");
        Usun_Pole("PRODUKTY_RECEPTURY", "kalkulacja");
        Dodaj_Pole("PRODUKTY_RECEPTURY", "ID_RECEPTURY int identity");
        Dodaj_Pole("PRODUKTY_RECEPTURY", "Active Logical");
        Dodaj_Pole("PRODUKTY_RECEPTURY", "DATAod SmallDateTime DEFAULT null");
        // A product's lines without a calculation get a header of their own; lines of no
        // product (0, or one that names none) get none (such a header would name no
        // product) and stay without a recipe.
        DbWykonajKonwersje(
            "insert into PRODUKTY_RECEPTURY (prod_id,ACTIVE,DATAod) select "
            "PRODUKTY_RECEPTURY_ZAWART.prod_id,-1,#01-01-1990# from (PRODUKTY_RECEPTURY_ZAWART "
            "inner join PRODUKTY on PRODUKTY_RECEPTURY_ZAWART.prod_id=PRODUKTY.PROD_ID) left join "
            "produkty_kalkulacja on "
            "PRODUKTY_RECEPTURY_ZAWART.prod_id=produkty_kalkulacja.prod_id where "
            "produkty_kalkulacja.prod_id is null group by PRODUKTY_RECEPTURY_ZAWART.PROD_ID");
        // A product with two calculations has two headers: its lines go to the first
        // (the lowest id), not to whichever the join meets last.
        DbWykonajKonwersje(
            "Update (PRODUKTY_RECEPTURY_ZAWART inner join PRODUKTY_RECEPTURY on  "
            "PRODUKTY_RECEPTURY_ZAWART.prod_id=PRODUKTY_RECEPTURY.prod_id) left join "
            "PRODUKTY_RECEPTURY AS RN on (RN.prod_id=PRODUKTY_RECEPTURY.prod_id and "
            "RN.id_receptury<PRODUKTY_RECEPTURY.id_receptury) set "
            "PRODUKTY_RECEPTURY_ZAWART.active=-1,PRODUKTY_RECEPTURY_ZAWART.id_receptury="
            "PRODUKTY_RECEPTURY.id_receptury where RN.prod_id is null");
        kroki::Loguj_Bez_Wskazania(*this, 537,
                                   "pozycje receptur bez produktu (nie należą do żadnej receptury)",
                                   "PRODUKTY_RECEPTURY_ZAWART where id_receptury=0");
        DbWykonajKonwersje("Update PRODUKTY_RECEPTURY set active=-1,dataod=#01-01-1990#");
        Utworz_Klucz_Podstawowy("PRODUKTY_RECEPTURY", "id_receptury,prod_id,active");
        for (const char* kol : {"active", "id_receptury", "prod_id"})
            Utworz_Index(kol, "PRODUKTY_RECEPTURY", kol);
        // The calculations leave only when the recipe headers made from them hold them.
        Sprawdz_Kopie("PRODUKTY_kalkulacja", "PRODUKTY_RECEPTURY");
        DbWykonajKonwersje("drop table PRODUKTY_kalkulacja");
    }
    Dodaj_Pole("PRODUKTY_RECEPTURY", "Okruchy Single DEFAULT 0");
}

void ClsKonwersje::Konwersja_538() {
    Dodaj_Pole("DOK_KFA", "Scal_Id int DEFAULT 0");
    DbWykonajKonwersje("Update DOK_KFA set Scal_Id=0");
}

void ClsKonwersje::Konwersja_539() {
    std::string naprawione;
    std::unique_ptr<ado::Recordset> rs;
    for (const Numer_Dokumentu& d : kNumeryDokumentow) {
        const std::string t = d.tabela;
        const std::string n = d.numer;
        const std::string i = d.id;
        // Each pass renames every header that shares its number with a header of lower
        // id; a new number that meets an old one is found by the next pass.
        while (DbOtwórzSELKonwersje(rs, t + "." + n + " FROM " + t + " INNER JOIN " + t +
                                            " AS D1 ON " + t + ".[" + n + "]=D1." + n + " WHERE " +
                                            t + "." + i + ">D1." + i) >= 1) {
            naprawione += t + ",";
            int32_t licznik = 0;
            for (ado::Recordset& r = *rs; !r.Eof(); r.MoveNext()) {
                ++licznik;
                const std::string stary = NzStr(r.Fields(0).value());
                r.Fields(0) = jet::Value::text(stary + "N" + std::to_string(licznik));
                r.UpdateBatch(ado::adAffectCurrent);
                const std::string nowy = NzStr(r.Fields(0).value());
                Zapisz_Log_Kroku("Dokument nr " + stary + " w " + t + " zmieniono na " + nowy,
                                 "Konwersja", "Naprawa numeru");
            }
            ZamknijRS(rs);
        }
        ZamknijRS(rs);
        const std::string indeks = "CREATE UNIQUE INDEX UnicNumer ON " + t + " (" + n + ")";
        if (DbWykonaj(indeks, 1).empty()) {
            Zapisz_Log_Kroku("Brakowało indeksu  w " + t + ".", "Konwersja", "Naprawa numeru");
        } else {
            DbWykonaj("drop index UnicNumer ON " + t, 1);
            DbWykonaj(indeks, 1);
        }
    }
    if (!naprawione.empty())
        FMsg_box(
            "Proszę sprawdzić dokumenty (indexy) w tablicach : " + jet::text::upper(naprawione),
            vbOKOnly);
    kroki::Dodaj_Skladnik_Plac(*this, "[place_opisy]", {185, "Bon towarowy inny", "Bon inny"});
    DbWykonajKonwersje("alter table [Place_Listy_zawart] ADD COLUMN [wartosc185]  money DEFAULT 0");
    // A unit without a name or a factor above 0 converts nothing (a factor not given is none).
    DbWykonajKonwersje(
        "DELETE *.* FROM PRODUKTY_WSP_PRZEL WHERE TRIM(Sp_Przel)='' OR Nz(Wsp_Przel,0)<=0");
    Utworz_Index("Wsp_Przel", "PRODUKTY_WSP_PRZEL", "Wsp_Przel");
    Usun_Index("Podstawowy", "PRODUKTY_WSP_PRZEL");
    Utworz_Klucz_Podstawowy("PRODUKTY_WSP_PRZEL", "prod_id,Sp_Przel");
}
