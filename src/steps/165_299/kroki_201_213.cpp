// Steps 2.01 to 2.13: small column additions with their Null fills, the payroll value
// table, money columns in the book, the clean-up of unused price lists, payment forms
// folded into the codes 'G' (cash) and 'P' (other), and the Setup table.
#include "db/nz.h"
#include "driver/konwersje.h"
#include "jet/error.h"
#include "jet/text.h"
#include "steps/165_299/wspolne.h"

using kroki::Rekordy;
using kroki::W_Apostrofach;

void ClsKonwersje::Konwersja_201() {
    DbWykonajKonwersje("alter table [PRODUKTY] ADD COLUMN [Lancz_w] text(80)");
    DbWykonajKonwersje("Update [PRODUKTY] set [Lancz_w]=PROD_NAZWA_id");
}

void ClsKonwersje::Konwersja_202() {
    DbWykonajKonwersje("alter table [uzytkownicy] ADD COLUMN [Stanowisko] Long");
    DbWykonajKonwersje("update [uzytkownicy] set [Stanowisko] =1 where [Stanowisko] is null");
}

void ClsKonwersje::Konwersja_203() {
    DbWykonajKonwersje("Update SPRZEDAZ_NEW set rodzdok='R' where rodzdok<>'P'");
}

void ClsKonwersje::Konwersja_204() {
    DbWykonajKonwersje("alter table faktury_wych_zawart ADD COLUMN kpir_id long");
    DbWykonajKonwersje("DELETE FROM [GRUPY] WHERE [NAZWA]='' OR [NAZWA] is null");
    DbWykonajKonwersje(
        "UPDATE [PRODUKTY] SET [GRUPA]='Podstawowa' WHERE [GRUPA]='' OR [GRUPA] is null");
}

void ClsKonwersje::Konwersja_205() {
    DbWykonajKonwersje("alter table faktury_wych_korekta_zawart ADD COLUMN kpir_id long");
    DbWykonajKonwersje("alter table [CENNIK_LISTA] ADD COLUMN id counter");
    DbWykonajKonwersje("alter table [CENNIK] ADD COLUMN id counter");
    DbWykonajKonwersje("alter table ZAKUPY ADD COLUMN RR Logical");
    DbWykonajKonwersje(
        "Update [zakupy] set [numer_dokumentu]=[numer_zaksiegowania] where [rr]=-1 and "
        "[numer_zaksiegowania]<>''");

    // Price lists that no price row names are deleted one at a time; after each
    // deletion the walk starts again from the first list.
    int32_t znaleziony = 1;
    while (znaleziony != 0) {
        znaleziony = 0;
        std::unique_ptr<ado::Recordset> listy;
        std::unique_ptr<ado::Recordset> ceny;
        DbOtwórzSELKonwersje(listy,
                             "[CENNIK_LISTA].[LCEN_NAZWA_ID],[CENNIK_LISTA].[ID] from "
                             "[CENNIK_LISTA]");
        while (!Rekordy(listy).Eof()) {
            const int32_t n = DbOtwórzSELKonwersje(
                ceny, "[CENNIK].[LCEN_NAZWA_ID] from [CENNIK] where [CENNIK].[LCEN_NAZWA_ID]='" +
                          W_Apostrofach(NzStr(listy->Fields(0).value())) + "'");
            if (n == 0) {
                znaleziony = listy->Fields(1).value().to_long();
                break;
            }
            listy->MoveNext();
            ZamknijRSKonwersje(ceny);
        }
        ZamknijRSKonwersje(ceny);
        ZamknijRSKonwersje(listy);
        if (znaleziony != 0)
            DbWykonajKonwersje(
                "Delete [CENNIK_LISTA].* from [CENNIK_LISTA] where [CENNIK_LISTA].[ID]=" +
                std::to_string(znaleziony));
    }
}

void ClsKonwersje::Konwersja_206() {
    DbWykonajKonwersje(
        "create table [Place_Dane] (IDP long, dataK date,DP text(50),wartosc Single DEFAULT "
        "0,iddd counter)");
}

void ClsKonwersje::Konwersja_207() {
    for (const char* kolumna : {"kwota_p", "kwota_z", "kwota_z2", "kwota_w"})
        Zmien_Typ_Pola(kolumna, "money", "kpir_ksiega");
}

void ClsKonwersje::Konwersja_208() {
    // Payment forms without a kind get 'G' when the name begins with "GOT" (cash) and
    // 'P' otherwise. Any failure in the pass ends the step quietly: the kinds set so
    // far stay, and the version counts as reached. A locked file or a full disk is not
    // the pass's failure: it goes on to the run.
    std::unique_ptr<ado::Recordset> rs;
    try {
        DbWykonajKonwersje("alter table [FORMY_PLATNOSCI] ADD COLUMN [FPLAT_RODZAJ] text(1)");
        DbOtwórzSELKonwersje(rs,
                             "[FPLAT_NAZWA_ID], [FPLAT_DNI_ZWLOKI],[FPLAT_RODZAJ] from "
                             "[FORMY_PLATNOSCI]");
        while (!Rekordy(rs).Eof()) {
            if (rs->Fields(2).value().is_null()) {
                const std::string nazwa = jet::text::upper(NzStr(rs->Fields(0).value()));
                const bool gotowka = nazwa.substr(0, jet::text::offset_of_char(nazwa, 3)) == "GOT";
                rs->Fields(2).set(jet::Value::text(gotowka ? "G" : "P"));
                rs->UpdateBatch(ado::adAffectAll);
            }
            rs->MoveNext();
        }
    } catch (const jet::Error& e) {
        if (jet::environment_failure(e)) throw;
    }
    ZamknijRSKonwersje(rs);
}

void ClsKonwersje::Konwersja_209() {
    DbWykonajKonwersje(
        "alter table [faktury_wych_korekta_zawart] ADD COLUMN WtymST Single DEFAULT 0");
    DbWykonajKonwersje("update [faktury_wych_korekta_zawart] set WtymST =0 where WtymST is null");
}

void ClsKonwersje::Konwersja_210() {
    DbWykonajKonwersje("alter table [SRODKI_TRWALE] ADD COLUMN [nazwa] text(80)");
    DbWykonajKonwersje("update [SRODKI_TRWALE] set [nazwa] =' '  where [nazwa] is null");
    DbWykonajKonwersje("alter table [SRODKI_TRWALE] ADD COLUMN [Z_LISTY] logical");
}

void ClsKonwersje::Konwersja_211() {
    DbWykonajKonwersje("alter table [SRODKI_TRWALE] ADD COLUMN [Rodzaj] text(1)");
    DbWykonajKonwersje("Update [SRODKI_TRWALE] set [id_prod]=0 where [id_prod] is null");
    DbWykonajKonwersje("Update [SRODKI_TRWALE] set [id_dok]=0 where [id_dok] is null");
    DbWykonajKonwersje("Update [SRODKI_TRWALE] set [ksiega_id]=0 where [ksiega_id] is null");
    DbWykonajKonwersje("Update [SRODKI_TRWALE] set [rodzaj]=' '  where [rodzaj] is null");
}

void ClsKonwersje::Konwersja_212() {
    DbWykonajKonwersje("alter table [Kontrahenci] ADD COLUMN [FPLAT_DNI_ZWLOKI] Long");
    // Cash forms first: a contractor turned into 'G' no longer matches any form name
    // in the second statement. Each takes only the contractors that the step has not
    // given their days yet (the column is its own, Null until it writes it): after a stop
    // past the default form below, a contractor given 'Gotówka' there is not a cash form
    // to turn into 'G'. A contractor takes one form of its name: the forms of a kind are
    // first made one per name (names compared as the join compares them), a name held
    // by several forms taking the fewest days among them (a form without days takes no
    // part, unless no form of the name has any).
    const auto forma = [this](const std::string& kod, const std::string& rodzaj) {
        const std::string jedna = "[FORMY_PLATNOSCI_" + kod + "]";
        DbWykonajKonwersje("drop table " + jedna);
        DbWykonajKonwersje("SELECT [FPLAT_NAZWA_ID], Min([FPLAT_DNI_ZWLOKI]) AS "
                           "[FPLAT_DNI_ZWLOKI] INTO " +
                           jedna + " FROM [FORMY_PLATNOSCI] WHERE [FORMY_PLATNOSCI].[FPLAT_RODZAJ]" +
                           rodzaj + " GROUP BY [FPLAT_NAZWA_ID]");
        DbWykonajKonwersje("UPDATE [Kontrahenci] INNER JOIN " + jedna +
                           " AS [FORMY_PLATNOSCI] ON "
                           "[FORMY_PLATNOSCI].[FPLAT_NAZWA_ID]=[Kontrahenci].[FPLAT_NAZWA_ID] SET "
                           "[Kontrahenci].[FPLAT_NAZWA_ID]='" +
                           kod +
                           "', [Kontrahenci].[FPLAT_DNI_ZWLOKI]=[FORMY_PLATNOSCI].[FPLAT_DNI_"
                           "ZWLOKI] WHERE [Kontrahenci].[FPLAT_DNI_ZWLOKI] is null");
        DbWykonajKonwersje("drop table " + jedna);
    };
    forma("G", "<>'P'");
    forma("P", "='P'");
    DbWykonajKonwersje(
        "update [Kontrahenci] set [FPLAT_DNI_ZWLOKI] =0 where [FPLAT_DNI_ZWLOKI] is null ");
    DbWykonajKonwersje(
        "update [Kontrahenci] set [FPLAT_NAZWA_ID] ='Gotówka' where [FPLAT_NAZWA_ID] is null "
        "or [FPLAT_NAZWA_ID]=''");
    DbWykonajKonwersje(
        "update [Kontrahenci] set [konh_ilosc_kopi_f] ='1' where [konh_ilosc_kopi_f] is null "
        "or [konh_ilosc_kopi_f]=0");
    DbWykonajKonwersje(
        "update [Kontrahenci] set [konh_ilosc_kopi_dd] ='1' where [konh_ilosc_kopi_dd] is "
        "null or [konh_ilosc_kopi_dd]=0");
    DbWykonajKonwersje("update [Kontrahenci] set [konh_platnik] =0 where [konh_platnik] is null ");
}

void ClsKonwersje::Konwersja_213() {
    DbWykonajKonwersje("Drop Table [FORMY_PLATNOSCI]");
    DbWykonajKonwersje("create table [Setup] ([Nazwa] TEXT (255), [Wartosc] memo)");
}
