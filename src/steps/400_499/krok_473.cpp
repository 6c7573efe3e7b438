// Step 4.73: the payroll lines and breaks move to the payroll-list tables, the payroll
// summary definitions get their tables, the settings split into global, per-user and
// per-workstation ones, the contractors' NumerWFK is trimmed, and the ledger accounts
// and postings of the current year get their account texts rebuilt from the segments.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "db/polaczenie.h"
#include "db/postep.h"
#include "db/schemat.h"
#include "driver/konwersje.h"
#include "jet/catalog.h"
#include "jet/database.h"
#include "jet/functions.h"
#include "jet/text.h"
#include "platform/clock.h"
#include "steps/165_299/wspolne.h"
#include "steps/400_499/wspolne_400.h"

using jet::Value;
using kroki::Rekordy;

namespace {

// The key of a moved setting: the name from position od (1-based) on, upper-cased,
// less one final backslash.
std::string Klucz_Ustawienia(const Value& nazwa, int64_t od) {
    std::string klucz = jet::fn::ucase(jet::fn::mid(nazwa, od)).to_text();
    if (!klucz.empty() && klucz.back() == '\\') klucz.pop_back();
    return klucz;
}

// True when the setting's name begins with prefiks, compared upper-cased.
bool Zaczyna_Sie(const Value& nazwa, const std::string& prefiks) {
    const int64_t dl = jet::fn::len(Value::text(prefiks)).raw_int();
    return jet::fn::ucase(jet::fn::left(nazwa, dl)).to_text() == jet::text::upper(prefiks);
}

// The workstation of a setting named "ST" & n & a separator (n from 1 to 999, the
// letters in either case), 0 for none. n is the whole run of digits after "ST", without
// a leading zero: the setting ST10_X belongs to workstation 10, not to workstation 1
// under the key "0_X".
int Stanowisko_Ustawienia(const Value& nazwa) {
    const std::string tekst = nazwa.to_text();
    if (tekst.size() < 3 || (tekst[0] != 'S' && tekst[0] != 's') ||
        (tekst[1] != 'T' && tekst[1] != 't') || tekst[2] == '0')
        return 0;
    int n = 0;
    for (size_t i = 2; i < tekst.size() && tekst[i] >= '0' && tekst[i] <= '9'; ++i) {
        n = n * 10 + (tekst[i] - '0');
        if (n > 999) return 0;
    }
    return n;
}

// The account text from the segments nr_k_1 to nr_k_4: joined by "-", ending before
// the first empty segment.
const char* const kKontoZSegmentow =
    "nr_k_1 & iif(nr_k_2<>'','-' & nr_k_2 & iif(nr_k_3<>'','-' & nr_k_3 & "
    "iif(nr_k_4<>'','-' & nr_k_4,''),'') ,'')";

// Moves the table stara to the name nowa through a copy (the make-table statement kopiuj,
// then the copy's indexes): a copy found while the old table stands is what a stopped run
// left and gives way to a fresh one, or, while the old table has no rows, may be their only
// record and stays, the make-table meeting it as that run's table; the old table is dropped
// only when its copy holds its rows. The old table gone while its copy stands: an earlier
// run moved it, and only the copy's indexes are made again.
void Przenies_Przez_Kopie(ClsKonwersje& k, const std::string& stara, const std::string& nowa,
                          const std::string& kopiuj, const std::function<void()>& indeksy) {
    if (k.Jest_Tabela(stara) || !k.Jest_Tabela(nowa)) {
        k.Usun_Pozostala_Kopie(stara, nowa);
        k.DbWykonajKonwersje(
            kopiuj, k.Tabela_Z_Wczesniejszego_Przebiegu(nowa, "* from [" + stara + "]", ""));
    }
    indeksy();
    k.Sprawdz_Kopie(stara, nowa);
    k.DbWykonajKonwersje(" drop table " + stara);
}

// True when the table has its primary key. A settings table takes it once it is emptied,
// and only then take settings moved into it: a table with its key holds moved settings
// only, and no setting moves before both tables have theirs.
bool Ma_Klucz(const std::string& tabela) {
    const jet::TableInfo* t = polaczenie().database().catalog().table(tabela);
    return t != nullptr && t->primary_key() != nullptr;
}

// True when a setting of Setup is named as one that moves to a user (the user's name in
// front) or to a workstation ("ST" & n), whatever its value: one that has moved has left
// "" there.
bool Sa_Ustawienia_Do_Przeniesienia(ClsKonwersje& k) {
    std::unique_ptr<ado::Recordset> rs;
    std::vector<std::string> nazwiska;
    if (k.DbOtwórzSELKonwersje(rs, "nazwisko_uzytkownika from UZYTKOWNICY", true) > 0)
        for (; !rs->Eof(); rs->MoveNext())
            if (const Value u = rs->Fields(0).value(); !u.is_null() && u.to_text() != "")
                nazwiska.push_back(u.to_text());
    bool sa = false;
    if (k.DbOtwórzSELKonwersje(rs, "Nazwa from SETUP", true) > 0) {
        for (; !sa && !rs->Eof(); rs->MoveNext()) {
            const Value nazwa = rs->Fields(0).value();
            if (nazwa.is_null()) continue;
            sa = Stanowisko_Ustawienia(nazwa) != 0;
            for (const std::string& n : nazwiska) sa = sa || Zaczyna_Sie(nazwa, n);
        }
    }
    k.ZamknijRSKonwersje(rs);
    return sa;
}

// The two new settings tables take the columns of Setup (a table that an earlier run made
// is met as such) and end empty, each emptied before its key (the copied rows, whose new
// column is Null, could not take it); then the settings of users and workstations move to
// them.
// A copy with its key was emptied by an earlier run, which may have moved settings into it:
// it stays as it is. One without it that holds no rows while Setup holds some was emptied
// by an earlier run, which had given it its columns: it takes its key.
void Przenies_Ustawienia(ClsKonwersje& k) {
    Usun_Index("Podstawowy", "Setup");
    k.DbWykonajKonwersje(" select Setup.* into [UZYTKOWNICY_Setup] from Setup",
                         k.Pusta_Tabela_Z_Wczesniejszego_Przebiegu("UZYTKOWNICY_Setup", "Setup"));
    k.DbWykonajKonwersje(" select Setup.* into [Setup_stanowisko] from Setup",
                         k.Pusta_Tabela_Z_Wczesniejszego_Przebiegu("Setup_stanowisko", "Setup"));
    Usun_Pole("Setup", "USERS");
    Usun_Pole("Setup", "STAN");
    Utworz_Klucz_Podstawowy("Setup", "Nazwa");
    const auto oprozniona = [&k](const char* kopia) {
        return k.Liczba_Z_Zapytania(std::string("count(*) from ") + kopia) == 0 &&
               k.Liczba_Z_Zapytania("count(*) from Setup") > 0;
    };
    if (!Ma_Klucz("Setup_stanowisko")) {
        if (!oprozniona("Setup_stanowisko")) {
            Usun_Pole("Setup_stanowisko", "USERS");
            Usun_Pole("Setup_stanowisko", "STAN");
            k.DbWykonajKonwersje("alter table [Setup_stanowisko] ADD COLUMN STAN int DEFAULT 0");
            k.DbWykonajKonwersje("delete * from Setup_stanowisko");
        }
        Utworz_Klucz_Podstawowy("Setup_stanowisko", "Nazwa,Stan");
    }
    if (!Ma_Klucz("UZYTKOWNICY_Setup")) {
        if (!oprozniona("UZYTKOWNICY_Setup")) {
            Usun_Pole("UZYTKOWNICY_Setup", "STAN");
            k.DbWykonajKonwersje("delete * from UZYTKOWNICY_Setup");
        }
        Utworz_Klucz_Podstawowy("UZYTKOWNICY_Setup", "Nazwa,Users");
    }

    // A setting named by a user's name and a separator goes to that user, one named
    // "ST" & n and a separator to workstation n; its value in Setup becomes "", so that
    // the passes of later users skip it.
    std::unique_ptr<ado::Recordset> uzytkownicy;
    std::unique_ptr<ado::Recordset> ustawienia;
    std::unique_ptr<ado::Recordset> nowe;
    k.DbOtwórzSELKonwersje(uzytkownicy, "nazwisko_uzytkownika from UZYTKOWNICY");
    while (!Rekordy(uzytkownicy).Eof()) {
        const Value uzytkownik = uzytkownicy->Fields(0).value();
        const std::string nazwisko = uzytkownik.to_text();  // a Null name fails here
        Pokaz_Postep("", "", nazwisko);
        // A user without a name would take every setting: such a user takes none.
        const int64_t dl = jet::fn::len(uzytkownik).raw_int();
        k.DbOtwórzSELKonwersje(ustawienia, "Nazwa,Wartosc from SETUP");
        while (!Rekordy(ustawienia).Eof()) {
            ado::Recordset& u = *ustawienia;
            const Value nazwa = u.Fields(0).value();
            const Value wartosc = u.Fields(1).value();
            // A setting without a name matches no prefix and stays where it is.
            if (!wartosc.is_null() && wartosc.to_text() != "" && !nazwa.is_null()) {
                bool przeniesione = false;
                if (dl > 0 && Zaczyna_Sie(nazwa, nazwisko)) {
                    k.DbOtwórzSELKonwersje(nowe, "Nazwa,Wartosc,Users from UZYTKOWNICY_Setup");
                    ado::Recordset& n = Rekordy(nowe);
                    n.AddNew();
                    n.Fields(0) = Value::text(Klucz_Ustawienia(nazwa, dl + 2));
                    n.Fields(1) = wartosc;
                    n.Fields(2) = uzytkownik;
                    n.UpdateBatch(ado::adAffectCurrent);
                    k.ZamknijRSKonwersje(nowe);
                    przeniesione = true;
                } else if (const int st = Stanowisko_Ustawienia(nazwa)) {
                    const int64_t dl_prefiksu = 2 + static_cast<int64_t>(std::to_string(st).size());
                    k.DbOtwórzSELKonwersje(nowe, "Nazwa,Wartosc,Stan from Setup_stanowisko");
                    ado::Recordset& n = Rekordy(nowe);
                    n.AddNew();
                    n.Fields(0) = Value::text(Klucz_Ustawienia(nazwa, dl_prefiksu + 2));
                    n.Fields(1) = wartosc;
                    n.Fields(2) = Value::long_(st);
                    n.UpdateBatch(ado::adAffectCurrent);
                    k.ZamknijRSKonwersje(nowe);
                    przeniesione = true;
                }
                if (przeniesione) {
                    u.Fields(1) = Value::text("");
                    u.UpdateBatch(ado::adAffectCurrent);
                }
            }
            u.MoveNext();
        }
        k.ZamknijRSKonwersje(ustawienia);
        uzytkownicy->MoveNext();
    }
    k.ZamknijRSKonwersje(uzytkownicy);
}

}  // namespace

void ClsKonwersje::Konwersja_473() {
    Przenies_Przez_Kopie(*this, "place_dane", "Place_Listy_Zawart",
                         "select [place_dane].* into [Place_Listy_Zawart] from [place_dane]", [&] {
                             Utworz_Klucz_Podstawowy("Place_Listy_Zawart", "IDP,IDListy");
                             for (const char* indeks : {"dataK", "ID_GRUPY", "Kategoria"})
                                 Utworz_Index(indeks, "Place_Listy_Zawart", indeks);
                         });
    Przenies_Przez_Kopie(
        *this, "PLACE_SWIADCZ_PRZERWY", "PLACE_LISTY_SWIADCZ_PRZERWY",
        "select [PLACE_SWIADCZ_PRZERWY].* into [PLACE_LISTY_SWIADCZ_PRZERWY] "
        "from [PLACE_SWIADCZ_PRZERWY]",
        [&] {
            for (const char* indeks : {"IDListy", "ID_prac", "DataK", "DataP", "ID_Nieob", "Dataod",
                                       "Datado", "Id_Kadry_nieob"})
                Utworz_Index(indeks, "PLACE_LISTY_SWIADCZ_PRZERWY", indeks);
        });

    DbWykonajKonwersje(
        "create table [PLACE_zestawienia] (ID_ZEST int identity,NAZWA Text (255),ACTIVE Logical)");
    Utworz_Klucz_Podstawowy("PLACE_zestawienia", "ID_ZEST");
    DbWykonajKonwersje(
        "create table [PLACE_zestawienia_ZAWART] (ID_ZEST int DEFAULT 0,LP int DEFAULT 0,ID_DP "
        "int DEFAULT 0,nazwa Text (50))");
    Utworz_Klucz_Podstawowy("PLACE_zestawienia_ZAWART", "ID_ZEST,lp");
    DbWykonajKonwersje(
        "create table [PLACE_zestawienia_ZAWART_SUMY] (ID_ZEST int DEFAULT 0,LP int DEFAULT "
        "0,LP_SUMY int DEFAULT 0,ZNAK Text (1))");
    Utworz_Klucz_Podstawowy("PLACE_zestawienia_ZAWART_SUMY", "ID_ZEST,lp,LP_SUMY");

    // A run that had added kontoBAK (below) had moved the settings. Settings move only once
    // both settings tables have their keys (UZYTKOWNICY_Setup's is made after
    // Setup_stanowisko was emptied); a move leaves a row in one of them and its setting
    // named in Setup until the settings that moved are deleted from it: rows there while a
    // setting named as one that moves stands are a move that may be half done. A run of
    // the suite's earlier tool gave UZYTKOWNICY_Setup its key before emptying it: its rows
    // are settings moved only where Setup_stanowisko holds some too.
    const bool przeniesione = Jest_Tabela("KH_dekrety", "kontoBAK");
    if (!przeniesione && Ma_Klucz("UZYTKOWNICY_Setup")) {
        const int64_t uzytkownikow = Liczba_Z_Zapytania("count(*) from UZYTKOWNICY_Setup");
        const int64_t stanowisk = Liczba_Z_Zapytania("count(*) from Setup_stanowisko");
        if (uzytkownikow > 0 && stanowisk == 0)
            Konwersja_Przerwana(473,
                                "po nadaniu klucza tabeli UZYTKOWNICY_Setup (jej wiersze mogą "
                                "być kopią tabeli Setup albo przeniesionymi ustawieniami)");
        if ((uzytkownikow > 0 || stanowisk > 0) && Sa_Ustawienia_Do_Przeniesienia(*this))
            Konwersja_Przerwana(473,
                                "po skopiowaniu tabeli Setup do tabel UZYTKOWNICY_Setup i "
                                "Setup_stanowisko (ustawienia użytkowników i stanowisk mogły "
                                "zostać do nich przeniesione)");
    }
    if (!przeniesione) Przenies_Ustawienia(*this);

    DbWykonajKonwersje("delete * from Setup where trim(Wartosc)=''");
    DbWykonajKonwersje("delete * from Setup_Stanowisko where trim(Wartosc)=''");
    DbWykonajKonwersje("delete * from Uzytkownicy_Setup where trim(Wartosc)=''");

    DbWykonajUPDKonwersje("Kontrahenci set NumerWFK=trim(NumerWFK)", "", "", "");

    // The ledger of the current year takes the account texts from the segments; every
    // posting keeps its own segments' text in kontoBAK.
    const std::string rok = std::to_string(platform::today().year);
    DbWykonajKonwersje(std::string("update kh_konta set konto=") + kKontoZSegmentow +
                       " where rok=" + rok);
    DbWykonajKonwersje("alter table [KH_dekrety] ADD COLUMN kontoBAK Text (255)");
    // A run that stopped after dropping a segment had kept every posting's text.
    if (kroki::Sa_Kolumny(*this, "kh_dekrety", {"NR_K_1", "NR_K_2", "NR_K_3", "NR_K_4"}))
        DbWykonajKonwersje(std::string("update kh_dekrety set kontobak=") + kKontoZSegmentow);
    // countt is the accounts' counter: a posting meets its one account (one without a
    // text leaves the posting's).
    DbWykonajKonwersje(
        "update kh_dekrety as d inner join kh_konta as k on d.countt_konta=k.countt set "
        "d.konto=" +
        kroki::Kopia_Bez_Nulla("d.konto", "k.konto") + " where d.rok=" + rok);
    for (const char* kolumna :
         {"Countt_Konta_Ojaca_1", "Countt_Konta_Ojaca_2", "Countt_Konta_Ojaca_3"})
        Usun_Pole("kh_dekrety", kolumna);
    Usun_Index("d", "kh_dekrety");
    for (const char* kolumna : {"NR_K_1", "NR_K_2", "NR_K_3", "NR_K_4", "Dziennik"})
        Usun_Pole("kh_dekrety", kolumna);
}
