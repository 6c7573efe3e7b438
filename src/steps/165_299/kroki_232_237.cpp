// Steps 2.32 to 2.37: cash desks and bank accounts, print templates and dated payroll
// parameters; the new names of the sales invoice tables; the cash payments merged into
// the cash receipt table; the kinds of the revenue and expense book entries; the marks
// of collective documents.
#include <memory>
#include <string>

#include "db/nz.h"
#include "db/postep.h"
#include "db/schemat.h"
#include "driver/konwersje.h"
#include "steps/165_299/wspolne.h"

namespace {

// The lowest identifier of the cash desks (rodz 'K') or banks ('B'). The first row is
// read without testing for one (the step has seeded each kind that was missing): a
// KASYBANKI without a row of that kind fails as a read past the end, an error that
// reaches the version loop.
int32_t Najnizszy_Identyfikator(ClsKonwersje& k, const char* rodz) {
    std::unique_ptr<ado::Recordset> rs;
    k.DbOtwórzSELKonwersje(rs, std::string("[ID_Kasy] FROM [KASYBANKI] where [rodz]='") + rodz +
                                   "' order by [ID_Kasy]");
    const int32_t id = kroki::Rekordy(rs).Fields(0).value().to_long();
    k.ZamknijRSKonwersje(rs);
    return id;
}

// An owner's setting for the bank row, cut to the 50 characters of its column. The
// Setup row keeps the whole text; a longer bank name or account number would otherwise
// fail the row's write after the cash desk was written, and every later run would then
// find the table not empty, seed no bank and stop at the bank lookup.
jet::Value Z_Setup(ClsKonwersje& k, const std::string& nazwa) {
    return jet::Value::text(NzStr_Dl(jet::Value::text(k.Czytaj_SetupKonwersje(nazwa)), 50));
}

}  // namespace

void ClsKonwersje::Konwersja_232() {
    DbWykonajKonwersje("drop table [_KPiR_Obrot_1]");
    DbWykonajKonwersje(
        "create table [Wydruki] (nazwa text(50),rodz long,nr long,tekst memo,Czcionka memo)");
    DbWykonajKonwersje("alter table [REMANENTINWENT_ZAWART] ADD COLUMN wartosc money");
    DbWykonajKonwersje(
        "create table [Place_Parametry] (id long,dataod date,wartosc currency,wartosc2 "
        "currency,wartosc3 currency,wartosc4 currency,wartosc5 currency,wartosc6 "
        "currency,wartosc7 currency,wartosc8 currency,wartosc9 currency,wartosc10 currency,idc "
        "counter)");
    DbWykonajKonwersje("alter table [KADRY_Pracownicy] ADD COLUMN [Kier_symbol] Text(5)");

    // Documents get their cash desk, warehouse and printed mark.
    const auto kasa_magazyn_druk = [this](const std::string& tabela) {
        const std::string prefiks = "alter table [" + tabela + "] ADD COLUMN";
        DbWykonajKonwersje(prefiks + " [ID_Kasy] Long");
        DbWykonajKonwersje(prefiks + " [Nr_Mag] Long");
        DbWykonajKonwersje(prefiks + " [Drukowano] Logical");
    };
    for (const char* tabela : {"Dok_Wewnentrzne", "DOWODY_DOSTAW", "DOWODY_ZWROTU", "FAKTURY_WYCH",
                               "Paragon", "Produkcja"})
        kasa_magazyn_druk(tabela);
    for (const char* tabela : {"Raport_kasowy", "KP", "KW"})
        DbWykonajKonwersje(std::string("alter table [") + tabela + "] ADD COLUMN [ID_Kasy] Long");
    kasa_magazyn_druk("ZAKUPY");
    DbWykonajKonwersje("alter table [FAKTURY_WYCH_KOREKTA] ADD COLUMN [Drukowano] Logical");

    DbWykonajKonwersje(
        "create table [KASYBANKI] (ID_Kasy counter,nazwa text(50),rodz text(1),Opis "
        "memo,Nr_Banku text(20),NR_Konta Text(50),KodPocztowy text(6),Miejscowość "
        "Text(30),Ulica Text(40),Telefon Text(50))");
}

void ClsKonwersje::Konwersja_233() {
    kroki::Zmien_Nazwy_Tabel(*this, {{"FAKTURY_WYCH", "FAKTURY"},
                                     {"FAKTURY_WYCH_ZAWART", "FAKTURY_ZAWART"},
                                     {"FAKTURY_WYCH_KOREKTA", "K_FAKTUR"},
                                     {"FAKTURY_WYCH_KOREKTA_ZAWART", "K_FAKTUR_ZAWART"}});
    std::string nowa_nazwa;
    Zmien_Typ_Pola("Uwagi", "memo", "KPIR_KSIEGA", nowa_nazwa);
}

void ClsKonwersje::Konwersja_234() {
    // The merge of the payments. Once KW is gone the merge is done: a run resumed after
    // a stop further on (the payments copied and KW dropped) goes straight to the
    // removal of the link column, so that it neither stops at the copy from the missing
    // KW nor adds the link column back. Each statement of the merge that is not safe to
    // run twice runs only where the database shows that an earlier run has not made it.
    std::unique_ptr<ado::Recordset> rs;
    const bool kw_jest = DbOtwórzSELKonwersje(rs, "* FROM [KW]", true) >= 0;
    ZamknijRSKonwersje(rs);
    // The payments' lines counted in KP_ZAWART (or KW_ZAWART) through the payment rows
    // of KP, found by their KP_ID.
    const std::string linie_wyplat = " inner join [KP] on [KP].[KP_ID]=";
    const std::string linie_w_kp =
        "[KP_ZAWART]" + linie_wyplat + "[KP_ZAWART].[kp_id] where [KP].[KW_ID]<>0";
    if (kw_jest) {
        DbWykonajKonwersje("alter table [KP] ADD COLUMN kwota_kw money");
        DbWykonajKonwersje("alter table [KP] ADD COLUMN PW text(1)");
        DbWykonajKonwersje("alter table [KP] ADD COLUMN KW_id long");
        DbWykonajKonwersje("update [KP] set [PW]='P' where [PW] is null");
        DbWykonajKonwersje("update [KP] set [kwota_kw]=0 where [kwota_kw] is null");
        DbWykonajKonwersje("update [KP] set [KW_id]=0 where [KW_id] is null");
        // The payments are in KP once it has rows with a KW_id (every other row has 0).
        const bool skopiowane = Liczba_Z_Zapytania("count(*) from [KP] where [KW_id]<>0") > 0;
        if (!skopiowane)
            DbWykonajKonwersje(
                "INSERT INTO [KP] "
                "([kw_id],[nr_kp],[data],[kwota_kw],[konh_id],[opis],[raport_id],[pozycja],[KB],"
                "[Prz],[ID_Kasy],[kwota],[PW]) SELECT [KW].[kp_id], [KW].[nr_kp], [KW].[data], "
                "[KW].[kwota], [KW].[konh_id], [KW].[opis], [KW].[raport_id], [KW].[pozycja], "
                "[KW].[KB], [KW].[Prz], [KW].[ID_Kasy],0 as kwota,'W' as typ from [KW]");
        // The lines are in KP_ZAWART once it has lines of a payment row; otherwise they
        // are pointed at the payment rows and copied.
        if (Liczba_Z_Zapytania("count(*) from " + linie_w_kp) <= 0) {
            // A line whose kp_id names no payment names nothing (0): kept, it would land
            // on whichever receipt of KP has that id. A line that an earlier run pointed
            // already names a payment row by its KP_ID. The Log counts the lines that
            // name nothing.
            const std::string wskazuja_wyplate =
                "count(*) from [KW_ZAWART] inner join [KP] on [KP].[KP_ID]=[KW_ZAWART].[kp_id] "
                "where [KP].[KW_ID]<>0";
            std::string bez_wyplaty =
                "update [KW_ZAWART] LEFT JOIN [KW] ON [KW].[kp_id]=[KW_ZAWART].[kp_id] set "
                "[KW_ZAWART].[kp_id]=0 where [KW_ZAWART].[kp_id]<>0 and [KW].[kp_id] is null";
            if (skopiowane && Liczba_Z_Zapytania(wskazuja_wyplate) > 0)
                bez_wyplaty =
                    "update ([KW_ZAWART] LEFT JOIN [KW] ON [KW].[kp_id]=[KW_ZAWART].[kp_id]) LEFT "
                    "JOIN [KP] ON [KP].[KP_ID]=[KW_ZAWART].[kp_id] set [KW_ZAWART].[kp_id]=0 "
                    "where [KW_ZAWART].[kp_id]<>0 and [KW].[kp_id] is null and ([KP].[KP_ID] is "
                    "null or [KP].[KW_ID]=0)";
            DbWykonajKonwersje(bez_wyplaty);
            kroki::Loguj_Bez_Wskazania(
                *this, 234,
                "pozycje KW_ZAWART bez istniejącej wypłaty (nie wskazują żadnego dokumentu "
                "kasowego)",
                "[KW_ZAWART] where [kp_id] is null or [kp_id]=0");
            // The lines pointed at the payments' rows, once: the lines that an earlier
            // run pointed find a payment row by its KP_ID. A payment id that KW held twice
            // takes its lines to the first of its rows (the lowest KP_ID).
            kroki::Przepnij_Raz(
                *this, skopiowane,
                "update ([Kw_ZAWART] INNER JOIN [KP] ON [Kw_ZAWART].[KP_id] = [KP].[KW_ID]) LEFT "
                "JOIN [KP] AS [P] ON ([P].[KW_ID]=[KP].[KW_ID] AND [P].[KP_ID]<[KP].[KP_ID]) set "
                "[KW_ZAWART].[kp_id]= [KP].[KP_ID] WHERE [KP].[KW_ID]<>0 and [P].[KP_ID] is null",
                wskazuja_wyplate, 234,
                "po skopiowaniu wypłat (KW) do tabeli KP, przed przeniesieniem ich pozycji");
            DbWykonajKonwersje(
                "INSERT INTO [KP_ZAWART] ( kp_id, rodzaj_dok, dok_id, kwota ) "
                "SELECT " +
                Stala_DISTINCTROW + " kp_id, rodzaj_dok, dok_id, kwota FROM KW_ZAWART");
        }
        // The payments and their lines leave only when KP and KP_ZAWART hold them (a copy
        // that a unique index refused would lose them): the payments are the rows with a
        // KW_id, and on both sides the lines counted are those pointing at such a row, so
        // that the receipts' lines stay out of the count. DISTINCTROW over one table copies
        // every line.
        Sprawdz_Przeniesienie("KW", "KP", "[KW]", "[KP] where [KW_id]<>0");
        Sprawdz_Przeniesienie(
            "KW_ZAWART", "KP_ZAWART",
            "[KW_ZAWART]" + linie_wyplat + "[KW_ZAWART].[kp_id] where [KP].[KW_ID]<>0", linie_w_kp);
        DbWykonajKonwersje("drop table [KW]");
    }
    // The lines go after KW, whose drop followed their check.
    DbWykonajKonwersje("drop table [KW_Zawart]");
    Usun_Pole("KP", "kw_id");

    // The first cash desk and the owner's bank account, each when there is none of its
    // kind yet (an earlier run may have stopped between the two).
    DbOtwórzSELKonwersje(rs,
                         "[ID_Kasy],[nazwa],[rodz],[Opis],[Nr_Banku],[NR_Konta],[KodPocztowy],"
                         "[Miejscowość],[Ulica],[Telefon] FROM [KASYBANKI]");
    const jet::Value blank = jet::Value::text(" ");
    if (Liczba_Z_Zapytania("count(*) FROM [KASYBANKI] where [rodz]='K'") == 0) {
        ado::Recordset& r = kroki::Rekordy(rs);
        r.AddNew();
        r.Fields(1) = jet::Value::text("Kasa główna");
        r.Fields(2) = jet::Value::text("K");
        for (int i = 3; i <= 9; ++i) r.Fields(i) = blank;
        r.UpdateBatch();
    }
    if (Liczba_Z_Zapytania("count(*) FROM [KASYBANKI] where [rodz]='B'") == 0) {
        ado::Recordset& r = kroki::Rekordy(rs);
        r.AddNew();
        r.Fields(1) = Z_Setup(*this, "w:bank");
        r.Fields(2) = jet::Value::text("B");
        r.Fields(3) = blank;
        r.Fields(4) = blank;
        r.Fields(5) = Z_Setup(*this, "w:konto");
        for (int i = 6; i <= 9; ++i) r.Fields(i) = blank;
        r.UpdateBatch();
    }
    ZamknijRSKonwersje(rs);

    // Cash documents and cash reports without a desk go to the first cash desk or bank.
    for (const char* rodz : {"K", "B"}) {
        const std::string id = std::to_string(Najnizszy_Identyfikator(*this, rodz));
        const std::string warunek =
            std::string(" where ([ID_Kasy] is null or [ID_Kasy]=0) and [KB]='") + rodz + "'";
        DbWykonajKonwersje("update [KP] set [ID_Kasy]=" + id + warunek);
        DbWykonajKonwersje("update [Raport_Kasowy] set [ID_Kasy]=" + id + warunek);
    }
}

void ClsKonwersje::Konwersja_235() {
    DbWykonajKonwersje(
        "update [KPIR_KSIEGA] set [Rodzaj]=1  where [zaksieg]='Sprzedaż' and [konh_id]<>0");
    // A sale without a contractor: 0, none given, or one that names no contractor.
    DbWykonajKonwersje(
        "update [KPIR_KSIEGA] left join [KONTRAHENCI] on "
        "[KPIR_KSIEGA].[konh_id]=[KONTRAHENCI].[konh_id] set [KPIR_KSIEGA].[Rodzaj]=11 where "
        "[KPIR_KSIEGA].[zaksieg]='Sprzedaż' and (Nz([KPIR_KSIEGA].[konh_id],0)=0 or "
        "[KONTRAHENCI].[konh_id] is null)");
    DbWykonajKonwersje("update [KPIR_KSIEGA] set [Rodzaj]=2  where [zaksieg]='Zakupy'");
    DbWykonajKonwersje("update [KPIR_KSIEGA] set [Rodzaj]=4  where [kwota_w]<>0");
    DbWykonajKonwersje(
        "update [KPIR_KSIEGA] set [Rodzaj]=0  where [Rodzaj]<>1 and [Rodzaj]<>11 and "
        "[Rodzaj]<>2 and [Rodzaj]<>4");
    DbWykonajKonwersje("delete from [KPIR_KSIEGA] where [data] is null");
}

void ClsKonwersje::Konwersja_236() {
    Usun_Pole("KPIR_KSIEGA", "kwota_in");
    Usun_Pole("KPIR_KSIEGA", "zaksieg");
    DbWykonajKonwersje("drop INDEX [INDid_poj] ON [KPIR_KSIEGA]");
    Usun_Pole("KPIR_KSIEGA", "id_poj");
    DbWykonajKonwersje("alter table [PRODUKTY] ADD COLUMN [act_wew] logical ");
    DbWykonajKonwersje("update [PRODUKTY] set [act_wew]=-1 where [ACT_SALE]=-1 OR [ACT_buy]=-1");
}

void ClsKonwersje::Konwersja_237() {
    DbWykonajKonwersje("alter table [DOWODY_ZWROTU] ADD COLUMN [Zbiorczy_id] long ");
    DbWykonajKonwersje("update [DOWODY_ZWROTU] set [Zbiorczy_id]=0 where [Zbiorczy_id] is null");
    DbWykonajKonwersje("alter table [DOWODY_DOSTAW] ADD COLUMN [Zbiorczy_id] long ");
    DbWykonajKonwersje("update [DOWODY_DOSTAW] set [Zbiorczy_id]=0 where [Zbiorczy_id] is null");
    DbWykonajKonwersje("alter table [DOWODY_ZWROTU] ADD COLUMN [Zakup] logical");
    DbWykonajKonwersje("alter table [DOWODY_DOSTAW] ADD COLUMN [Zakup] logical");
    DbWykonajKonwersje("alter table [ZAKUPY] ADD COLUMN [Zbiorcza] logical");
}
