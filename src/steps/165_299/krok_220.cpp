// Step 2.20: production documents made from the order reports, and the raw-material
// cost of every production line.
#include <array>
#include <memory>
#include <string>

#include "db/daty.h"
#include "db/polaczenie.h"
#include "db/postep.h"
#include "db/stan.h"
#include "driver/konwersje.h"
#include "jet/error.h"

namespace {

// A new recordset on the process connection: static cursor, optimistic locking.
std::unique_ptr<ado::Recordset> Otworz_RS220(const std::string& polecenie) {
    auto rs = std::make_unique<ado::Recordset>();
    rs->Open(polecenie, polaczenie(), ado::adOpenStatic, ado::adLockOptimistic, -1);
    return rs;
}

}  // namespace

// Version 2.20. Phase 1: every day of the order report that has no production document
// gets one, with the day's report rows as its lines. Phase 2: every production line is
// costed: its produced quantity is taken through the recipes two levels deep to raw
// materials, each priced at its average net purchase price over the purchases booked up
// to the end of the production day, and the sum goes into WSPRZ_CENA_B.
//
// A failure of the step's own recordsets or of a value (anything the executors do not
// handle) ends the step's work where it happened; the work tables are dropped and the
// step returns normally, so the version counts as reached and what was written stays.
// The statements themselves go through the main executor, which absorbs the expected
// schema failures and ends the process on any other.
void ClsKonwersje::Konwersja_220() {
    const std::string& u = Uzytkownik_Windows;
    const std::string& DR = Stala_DISTINCTROW;
    const std::string kpir = "_KPIR_pomoc2" + u;
    const std::string raport = "_raport_sprzedazy1" + u;
    const std::string p1 = "_zuzycie_pomoc_1" + u;
    const std::string p2 = "_zuzycie_pomoc_2" + u;
    const std::string p3 = "_zuzycie_pomoc_3" + u;
    const std::string p4 = "_zuzycie_pomoc_4" + u;
    const std::string suma = "_zuzycie_surowcow_pomoc" + u;
    const std::string do_zuz = "_DO_ZUZYCIA" + u;
    const std::string zam = "_Zamowienia_araport_pomoc" + u;
    const std::array<const std::string*, 8> pozostale = {&raport, &p1,   &p2,     &p3,
                                                         &p4,     &suma, &do_zuz, &zam};

    auto Usun_Tabele_Robocze = [&] {
        DbWykonajKonwersje("drop table [" + kpir + "] ");
        for (const std::string* n : pozostale) DbWykonajKonwersje("drop table [" + *n + "]");
    };

    std::unique_ptr<ado::Recordset> rs_raport, rs_dzien, rs_dok, rs_lin, rs_do, rs_koszt;
    try {
        Usun_Tabele_Robocze();
        DbWykonajKonwersje(
            "create table [" + kpir +
            "] (produkt TEXT(80),produkt_id long,cena money,kpir_id long,id_sp long,"
            "ksiegowalne logical,rodz text(20),iddd counter,ilosc Single DEFAULT 0,W_tym_ST "
            "Single DEFAULT 0)");
        DbWykonajKonwersje("create table [" + raport +
                           "] ([prod_id] Long , ilosc Single DEFAULT 0)");
        DbWykonajKonwersje("create table [" + p1 + "] ([prod_id] Long , ilosc Single DEFAULT 0)");
        DbWykonajKonwersje("create table [" + p2 + "] ([sur_id] Long , ilosc Single DEFAULT 0)");
        DbWykonajKonwersje("create table [" + p3 +
                           "] (pprod_nazwa_id long , ilosc Single DEFAULT 0)");
        DbWykonajKonwersje("create table [" + p4 + "] ([sur_id] Long , ilosc Single DEFAULT 0)");
        DbWykonajKonwersje("create table [" + suma + "] ([sur_id] Long , ilosc Single DEFAULT 0)");
        DbWykonajKonwersje("create table [" + do_zuz +
                           "] ([prod_id] Long , ilosc Single DEFAULT 0)");
        DbWykonajKonwersje(
            "create table [" + zam +
            "] (data Date , [prod_id] Long , ilosc_zam Single DEFAULT 0 , ilosc_prod Single "
            "DEFAULT 0 , TRYB Text(50) , ilosc_prod2 Single DEFAULT 0 , ilosc_prod3 Single "
            "DEFAULT 0 , ilosc_zam2 Single DEFAULT 0 , ilosc_zam3 Single DEFAULT 0,blok "
            "long,wartosc money)");

        DbWykonajKonwersje("delete from [" + zam + "]");
        DbWykonajKonwersje(
            "Insert into [" + zam +
            "] ( data, prod_id, ilosc_zam, ilosc_prod, ilosc_prod2, ilosc_prod3, ilosc_zam2, "
            "ilosc_zam3, blok,wartosc ) SELECT ZAMOWIENIA_RAPORT.data, ZAMOWIENIA_RAPORT.prod_id, "
            "ZAMOWIENIA_RAPORT.ilosc_zam, ZAMOWIENIA_RAPORT.ilosc_prod, "
            "ZAMOWIENIA_RAPORT.ilosc_prod2, ZAMOWIENIA_RAPORT.ilosc_prod3, "
            "ZAMOWIENIA_RAPORT.ilosc_zam2, ZAMOWIENIA_RAPORT.ilosc_zam3, ZAMOWIENIA_RAPORT.blok,0 "
            "as wart FROM ZAMOWIENIA_RAPORT");

        // Phase 1. One table only: every report row comes back, and a later row of a day
        // finds the document that an earlier row of the same day added. The days are read
        // in date order (a row without one last) and their lines in product order, so the
        // documents and their lines follow the reports' content, not the order stored.
        rs_raport =
            Otworz_RS220("Select " + DR + " [" + zam + "].data FROM [" + zam + "] ORDER BY IIf([" +
                         zam + "].data Is Null,1,0), [" + zam + "].data");
        if (rs_raport->RecordCount() > 0) {
            while (!rs_raport->Eof()) {
                const double dzien = rs_raport->Fields(0).value().to_date();
                rs_dzien =
                    Otworz_RS220("Select [DDOUT_DATA_WYST],[DDOUT_ID] FROM [Produkcja] where " +
                                 Warunek_Dzien(dzien, "[DDOUT_DATA_WYST]"));
                if (rs_dzien->RecordCount() == 0) {
                    rs_dzien->AddNew();
                    rs_dzien->Fields(0).set(rs_raport->Fields(0).value());
                    rs_dzien->UpdateBatch(ado::adAffectAll);
                    const std::string id = rs_dzien->Fields(1).value().to_text();
                    DbWykonajKonwersje(
                        "insert into PRODUKCJA_ZAWARTOSC ( PROD_ID, ilosc_zam, ilosc_prod, "
                        "ilosc_prod2, ilosc_prod3, ilosc_zam2, ilosc_zam3, SPRZ_ID,WSPRZ_CENA_B ) "
                        "SELECT [" +
                        zam + "].prod_id, [" + zam + "].ilosc_zam, [" + zam + "].ilosc_prod, [" +
                        zam + "].ilosc_prod2, [" + zam + "].ilosc_prod3, [" + zam +
                        "].ilosc_zam2, [" + zam + "].ilosc_zam3, " + id +
                        " as wyr,0 as kwota FROM [" + zam + "] where " +
                        Warunek_Dzien(dzien, "[" + zam + "].data") + " ORDER BY [" + zam +
                        "].prod_id, [" + zam + "].ilosc_zam, [" + zam + "].ilosc_prod, [" + zam +
                        "].ilosc_prod2, [" + zam + "].ilosc_prod3, [" + zam + "].ilosc_zam2, [" +
                        zam + "].ilosc_zam3");
                }
                rs_raport->MoveNext();
            }

            // Phase 2: every production document, also those made before this step; one
            // without an issue date has no day to price its raw materials at, and its
            // lines keep their values.
            rs_dok = Otworz_RS220(
                "Select [DDOUT_ID],[DDOUT_DATA_WYST] from [PRODUKCJA] where [DDOUT_DATA_WYST] is "
                "not null");
            if (rs_dok->RecordCount() > 0) {
                while (!rs_dok->Eof()) {
                    const std::string koniec_dnia = DataSQL_Do(rs_dok->Fields(1).value().to_date());
                    rs_lin = Otworz_RS220(
                        "Select "
                        "Nz(ilosc_prod,0)+Nz(ilosc_prod2,0)+Nz(ilosc_prod3,0),WSPRZ_CENA_B,PROD_ID "
                        "from "
                        "[PRODUKCJA_ZAWARTOSC] where SPRZ_ID=" +
                        rs_dok->Fields(0).value().to_text());
                    while (!rs_lin->Eof()) {
                        rs_lin->Fields(1).set(jet::Value::long_(0));

                        DbWykonajKonwersje("delete from [" + do_zuz + "]");
                        rs_do = Otworz_RS220("Select ilosc, prod_id from [" + do_zuz + "] ");
                        rs_do->AddNew();
                        rs_do->Fields("ilosc").set(rs_lin->Fields(0).value());
                        rs_do->Fields("prod_id").set(rs_lin->Fields(2).value());
                        rs_do->UpdateBatch(ado::adAffectAll);
                        ZamknijRSKonwersje(rs_do);

                        for (const std::string* n : {&suma, &p1, &p2, &p3, &p4, &raport})
                            DbWykonajKonwersje("delete from [" + *n + "]");
                        DbWykonajKonwersje(
                            "Insert into [" + raport + "] ( [prod_id], [ilosc] ) SELECT [" +
                            do_zuz + "].[prod_id], Sum(Nz([" + do_zuz + "].[ilosc],0)) From [" +
                            do_zuz + "] GROUP BY [" + do_zuz + "].[prod_id]");
                        // The quantity in recipe units.
                        DbWykonajKonwersje(
                            "Insert into [" + p1 + "] ( [prod_id], ilosc ) SELECT " + DR + " [" +
                            raport + "].[prod_id], [" + raport +
                            "].[ilosc]/[PRODUKTY].[PROD_WYDAJNOSCzREC]*[PRODUKTY].[PROD_WAGA] AS "
                            "Wyr1 FROM PRODUKTY INNER JOIN [" +
                            raport + "] ON PRODUKTY.[prod_id] = [" + raport + "].[prod_id]");
                        // The first recipe level of a product made by its recipe. Through
                        // the chain, a quantity not given counts as none, and a semi-product
                        // whose yield is not given turns into none of its components. The
                        // rows of the work tables all name products that exist (each is
                        // taken from PRODUKTY itself), so the joins to PRODUKTY drop none.
                        DbWykonajKonwersje(
                            "Insert into " + p2 + " ( ilosc, sur_id ) SELECT " + DR +
                            " Sum(Nz([ilosc_sur],0)*Nz([ilosc],0)) AS Wyr1, "
                            "PRODUKTY_Receptury.sur_id FROM "
                            "(PRODUKTY INNER JOIN PRODUKTY_Receptury ON PRODUKTY.PROD_ID = "
                            "PRODUKTY_Receptury.PROD_ID) INNER JOIN " +
                            p1 + " ON PRODUKTY.PROD_ID = [" + p1 +
                            "].prod_id GROUP BY PRODUKTY_Receptury.sur_id, "
                            "PRODUKTY.act_recipe,PRODUKTY.act_to_rec HAVING "
                            "(((PRODUKTY_Receptury.sur_id) Is Not Null And "
                            "(PRODUKTY_Receptury.sur_id)<>0) AND ((PRODUKTY.act_recipe)=-1))");
                        // Semi-products among the components, in their own recipe units.
                        DbWykonajKonwersje(
                            "Insert into " + p3 + " ( ilosc, pprod_nazwa_id ) SELECT " + DR +
                            " Sum(IIf([PRODUKTY_1].[PROD_WYDAJNOSCzREC] Is Null,0,"
                            "Nz([PRODUKTY_Receptury].[ilosc_sur],0)*Nz([ilosc],0)/"
                            "[PRODUKTY_1].[PROD_WYDAJNOSCzREC])) AS Wyr1, PRODUKTY_1.PROD_ID FROM "
                            "((PRODUKTY INNER JOIN PRODUKTY_Receptury ON PRODUKTY.PROD_ID = "
                            "PRODUKTY_Receptury.PROD_ID) INNER JOIN " +
                            p1 + " ON PRODUKTY.PROD_ID = [" + p1 +
                            "].prod_id) INNER JOIN PRODUKTY AS PRODUKTY_1 ON "
                            "PRODUKTY_Receptury.sur_id = PRODUKTY_1.PROD_ID GROUP BY "
                            "PRODUKTY_1.PROD_ID, PRODUKTY_1.act_recipe, PRODUKTY_1.act_to_rec "
                            "HAVING (((PRODUKTY_1.PROD_ID) Is Not Null) AND "
                            "((PRODUKTY_1.act_recipe)=-1) AND ((PRODUKTY_1.act_to_rec)=-1))");
                        // The second recipe level: the components of those semi-products.
                        DbWykonajKonwersje(
                            "Insert into " + p4 + " ( sur_id, ilosc ) SELECT " + DR +
                            " PRODUKTY_Receptury.SUR_ID, Sum(Nz([ilosc_sur],0)*Nz([ilosc],0)) AS "
                            "Wyr1 FROM (" +
                            p3 + " INNER JOIN PRODUKTY ON [" + p3 +
                            "].pprod_nazwa_id = PRODUKTY.PROD_ID) INNER JOIN PRODUKTY_Receptury "
                            "ON PRODUKTY.PROD_ID = PRODUKTY_Receptury.PROD_ID GROUP BY "
                            "PRODUKTY_Receptury.SUR_ID, PRODUKTY.act_recipe,PRODUKTY.act_to_rec "
                            "HAVING (((PRODUKTY.act_recipe)=-1)AND ((PRODUKTY.act_to_rec)=-1))");
                        DbWykonajKonwersje("Insert into [" + p2 + "] ( [sur_id], ilosc ) SELECT [" +
                                           p4 + "].[sur_id], [" + p4 + "].ilosc FROM [" + p4 + "]");
                        DbWykonajKonwersje(
                            "Insert into [" + suma + "] ( [sur_id], ilosc ) SELECT [" + p2 +
                            "].[sur_id], Sum(Nz([" + p2 + "].ilosc,0)) AS Sumazilosc From [" + p2 +
                            "] GROUP BY [" + p2 + "].[sur_id]");

                        // Average net purchase prices up to the end of the production day;
                        // a purchase line's value or quantity not given counts as none (0)
                        // in its sums, and never wipes what the other lines add.
                        DbWykonajKonwersje("delete from [" + kpir + "]");
                        DbWykonajKonwersje("Insert into [" + kpir +
                                           "] ([produkt_id],[cena],[ilosc]) select [sur_id],0 as "
                                           "wyr,0 as wyr1 FROM [" +
                                           suma + "]");
                        // Each purchase line adds its value and quantity once: the
                        // update applies once per joined line, as it is meant to.
                        const Zamierzony_Raport po_linii{jet::reports::Kind::MultiPair};
                        DbWykonajKonwersje(
                            "Update [" + kpir +
                            "] INNER JOIN (ZAKUPY INNER JOIN ZAKUPY_ZAWART ON "
                            "ZAKUPY.numer_id = ZAKUPY_ZAWART.numer_id) ON [" +
                            kpir + "].produkt_id = ZAKUPY_ZAWART.sur_id SET [" + kpir +
                            "].cena = [" + kpir + "].[cena]+Nz([ZAKUPY_ZAWART].[WART_N],0), [" +
                            kpir + "].ilosc = [" + kpir +
                            "].[ilosc]+Nz([ZAKUPY_ZAWART].[ILOSC],0) Where "
                            "((ZAKUPY.[numer_zaksiegowania]<>'') and data_zaksiegowania<=" +
                            koniec_dnia + ")");
                        DbWykonajKonwersje("Update [" + kpir + "] SET [" + kpir + "].cena = [" +
                                           kpir + "].[cena]/[" + kpir + "].[ilosc] where [" + kpir +
                                           "].[ilosc]<>0");

                        // The line's cost: consumed quantity times price, summed.
                        rs_koszt = Otworz_RS220("Select [" + suma + "].[ilosc]*[" + kpir +
                                                "].[cena] FROM [" + suma + "] inner join [" + kpir +
                                                "] on [" + kpir + "].[produkt_id]=[" + suma +
                                                "].[sur_id]  where [" + suma +
                                                "].[ilosc]<>0 and [" + kpir + "].[cena]<>0 ");
                        while (!rs_koszt->Eof()) {
                            rs_lin->Fields(1).set(
                                jet::add(rs_lin->Fields(1).value(), rs_koszt->Fields(0).value()));
                            rs_koszt->MoveNext();
                        }
                        rs_lin->UpdateBatch(ado::adAffectAll);
                        rs_lin->MoveNext();
                    }
                    rs_dok->MoveNext();
                }
            }
        }
    } catch (const jet::Error& e) {
        // The step's own trap: its work ends here, nothing is shown or logged. A locked
        // file or a full disk is not the step's to pass over: it goes on to the run.
        if (jet::environment_failure(e)) throw;
    }

    // The end, also of the trap: release the recordsets (a pending change is dropped),
    // then drop the work tables.
    for (auto* rs : {&rs_koszt, &rs_do, &rs_lin, &rs_dok, &rs_dzien, &rs_raport}) rs->reset();
    Usun_Tabele_Robocze();
}
