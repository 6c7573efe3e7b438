// Step 2.72: the employee table cleared of the columns the personnel module no longer
// keeps, the payroll values turned into one line per employee and list with a money
// column per component, every user table rebuilt under its upper-cased name (without
// indexes), and the primary keys of 60 tables.
#include <functional>
#include <memory>
#include <string>
#include <utility>

#include "db/schemat.h"
#include "driver/konwersje.h"
#include "jet/text.h"
#include "steps/165_299/wspolne.h"

namespace {

// The employee columns dropped, in order.
constexpr const char* kKolumnyPracownika[] = {
    "DataOD",
    "Nazwisko_r",
    "Stan_Cywilny",
    "Narodowosc",
    "Obywatelstwo",
    "Nr_dow",
    "MiejsceWystDOW",
    "DataWystDow",
    "NrPaszp",
    "NrPrawaJadzy",
    "STOSUNK_DO_WOJ",
    "KATEGORIA_WOJ",
    "SPECJALIZACJA_woj",
    "NUMER_DOKUMNETU_WOJ",
    "PRZYDZIAl_MOBIL_woj",
    "ID_WKU",
    "id_US",
    "ID_WYKSZTALCENIA",
    "STOPIEN_NAUKOWY",
    "ID_ZAWODU_WYU",
    "ID_ZAWODU_WYK",
    "ID_DZIALU_KADROWEGO",
    "ID_DZIALU_PLACOWEGO",
    "ID_STANOWISKA",
    "WSPCZYNNIK_ZATR",
    "KATEGORIA_ZASZer",
    "ID_GRUPY_FU",
    "ZATR_OD",
    "ZATRUD_DO",
    "TRYB_ZWOL",
    "KWOTA_ODSZ_ZA_SOW",
    "DNI_EKWIWALENTU_ZA_URLOP",
    "DNI_WYKORZYSTANEJ_OPIEKI",
    "NUMER_UMOWY",
    "DATA_ZAWARCIA_UMOWY",
    "DATA_ROZPOCZECIA_PRACY",
    "RODZAJ_UMOWY",
    "DATA_UMOWY_OD",
    "DATA_UMOWY_DO",
    "SPOSOB_PRZYJECIA",
    "ID_MIEJSCA_WYK_PRACY",
    "PODSTAWA_ZMIANY_UMOWY",
    "PODSTAWA_DO_STAWKI",
    "PODSTAWA_DO_DODATKU",
    "PODSTAWA_DO_PREMI",
    "KOMENTARZ_UMOWY",
    "ID_KALENDARZA",
    "ID_GRUPY_ALGORYTMOW",
    "ID_BANKU",
    "PREFIX_KONTA",
    "SUFFIX_KONTA",
    "ID_GRUPY_INW",
    "DATA_OD_INWAL",
    "DATA_DO_INWAL",
    "RODZAJ_RENTY",
    "NR_DECYZJI_RENTY",
    "PRZECIWSKAZANIA_RENTY",
    "SCHORZENIE",
    "ZAZYWANE_LEKI",
    "Kier_symbol",
    "ETAT",
};
static_assert(std::size(kKolumnyPracownika) == 61);

// The last payroll component with a column of its own.
constexpr int kOstatniSkladnik = 134;

// The option columns Owartosc<N>, in order.
constexpr int kOpcje[] = {7000, 7001, 7002, 7003, 8000, 8001, 9000, 9001};

// The option columns filled from the copy, and the component each one takes. The
// tax-relief and cost options take the component one above their own number, so a
// relief or cost option of 1 lands in the column of 0.
constexpr std::pair<int, int> kOpcjeZeSkladnika[] = {
    {7000, 7000}, {7001, 7001}, {7002, 7002}, {8000, 8001},
    {8001, 8002}, {9000, 9001}, {9001, 9002},
};

// A primary key: the table and its key columns, and, for a document table, the key
// columns that its line table adds (nullptr for a table keyed alone).
struct Klucz {
    const char* tabela;
    const char* pola;
    const char* pola_zawart;
};

constexpr Klucz kKlucze1[] = {
    {"CENNIKI", "LCEN_NAZWA_ID asc", "PROD_ID asc"},
    {"deklaracje", "id asc", "typ asc"},
    {"DOK_DD", "DDOUT_ID asc", "PROD_ID asc"},
    {"DOK_DZ", "DDOUT_ID asc", "PROD_ID asc"},
    {"DOK_fak", "FAKOUT_ID asc", "PROD_ID asc"},
    {"DOK_fin", "kp_id asc", "rodzaj_dok asc,dok_id asc"},
    {"DOK_fra", "raport_id asc", nullptr},
    {"DOK_kfa", "FKOROUT_ID asc", "PROD_ID asc"},
    {"DOK_pro", "DDOUT_ID asc", "PROD_ID asc"},
};

constexpr Klucz kKlucze2[] = {
    {"DOK_PRO_ZAWART_SUROWCE", "ddout_id asc,Prod_id asc,sur_id asc", nullptr},
    {"DOK_rei", "ID_RI asc", "ID asc"},
    {"DOK_rw", "DDOUT_ID asc", "PROD_ID asc"},
    {"DOK_zak", "numer_id asc", "sur_ID asc"},
    {"DOK_zam", "zam_id asc", "prod_ID asc"},
    {"drukarki", "id asc", nullptr},
    {"kadry_adresy", "ID_prac asc,Rodzaj asc", nullptr},
    {"KADRY_NIEOBECNOSCI", "ID_prac asc,ID_Nieob asc,Dataod asc", nullptr},
    {"KADRY_pracownicy", "id asc", nullptr},
    {"kasybanki", "ID_Kasy asc", nullptr},
    {"KONTRAHENCI", "KONH_ID asc", nullptr},
    {"KPIR_KSIEGA", "kpir_id asc", nullptr},
    {"KPIR_OKRESY", "rok asc,miesiac asc", nullptr},
    {"NUMERY_OST_DOK", "rodzaj_dok asc,rok asc,MIESIAC asc", nullptr},
    {"NUMERY_OST_DOK_NAG", "dokument asc", nullptr},
    {"OKRESY_ROZLICZEN", "Nazwa asc", nullptr},
    {"PLACE_DANE", "IDP asc,IDListy asc", nullptr},
    {"PLACE_LISTY", "IDListy asc", nullptr},
    {"PLACE_opisy", "pole asc", nullptr},
    {"PLACE_PARAMETRY", "id asc,dataod", nullptr},
    {"POJAZDY", "id asc", nullptr},
    {"PRODUKTY", "PROD_ID asc", nullptr},
    {"PRODUKTY_RECEPTURY", "PROD_ID asc,sur_id asc", nullptr},
    {"S_GRUPY", "Nazwa asc", nullptr},
    {"S_JEDNOSTKI", "JED_NAZWA_ID asc", nullptr},
    {"S_KIEROWCY", "kier_id asc", nullptr},
    {"S_POJAZDY_PRZEJ", "id_poj asc,id_p asc", nullptr},
    {"S_STAWKIKM", "id asc,DataOd asc,Ponizej900 asc", nullptr},
    {"S_TRASY", "id asc", nullptr},
    {"S_US", "id asc", nullptr},
    {"S_VAT_STAWKI", "STVAT_ID asc", nullptr},
};

constexpr Klucz kKlucze3[] = {
    {"SETUP", "Nazwa asc,Users asc,Stan asc", nullptr},
    {"SPOSOB_NUMERACJI", "sm_id asc", nullptr},
    {"SRODKI_TRWALE", "id asc", "rok asc,miesiac asc"},
    {"STANY_MAGAZYNOWE", "prod_id asc,NR_MAG asc", nullptr},
    {"TABELA_VAT", "id asc,r_dok asc", nullptr},
    {"UZYTKOWNICY_PRAWA", "p_id asc,p_login asc,Prawo asc", nullptr},
    {"ZAMOWIENIA_SZABLON", "konh_id asc,prod_id asc,dzien asc", nullptr},
};

template <size_t N>
void Utworz_Klucze(const Klucz (&klucze)[N]) {
    for (const Klucz& k : klucze) {
        if (k.pola_zawart)
            Utworz_Klucze_Z_Zawart(k.tabela, k.pola, k.pola_zawart);
        else
            Utworz_Klucz_Podstawowy(k.tabela, k.pola, 0);
    }
}

// One pass of the rebuild over the names of the tables listed as it opens.
void Przebieg_Przebudowy(ClsKonwersje& k, const std::function<void(const std::string&)>& tabela) {
    kroki::Przebieg_DAO(k, [&](dao::TableDef& td) { tabela(td.Name()); });
}

// True when the payroll values are already lines per employee and list: the table
// reads but has no component column any more. A missing table is not.
bool Place_Przeliczone(ClsKonwersje& k) {
    return k.Jest_Tabela("Place_Dane") && !k.Jest_Tabela("Place_Dane", "pole");
}

// A rebuild's work copy: the upper-cased name begins with "X_".
bool Kopia_Robocza(const std::string& NAZWA) {
    return NAZWA.compare(0, 2, "X_") == 0;
}

// The rebuild of every user table under its upper-cased name, then the keys.
void Przebuduj_Tabele_I_Klucze(ClsKonwersje& k) {
    // Rebuild: every user table copied out to X_<NAME>, dropped, copied back under its
    // upper-cased name and the copy dropped. The copies carry columns and rows, no
    // index. Each pass walks the tables the file listed when the pass opened it. A table
    // whose upper-cased name begins with "X_" is a work copy: one found while its table
    // stands is what a stopped run left, and gives way to a fresh copy (unless the table
    // has no rows left to copy: the copy then stays as their only record, and the copy
    // statement's "already exists" is expected); one whose table is gone holds the table's
    // rows and comes back in its place. A table is dropped only when its copy holds its
    // rows, and a copy only when the table holds the copy's.
    Przebieg_Przebudowy(k, [&k](const std::string& nazwa) {
        const std::string NAZWA = jet::text::upper(nazwa);
        k.Usun_Pozostala_Kopie(NAZWA, "X_" + NAZWA);
        if (!Kopia_Robocza(NAZWA))
            k.DbWykonajKonwersje(
                "select * into [X_" + NAZWA + "] from [" + NAZWA + "]",
                k.Tabela_Z_Wczesniejszego_Przebiegu("X_" + NAZWA, "* from [" + NAZWA + "]", ""));
    });
    Przebieg_Przebudowy(k, [&k](const std::string& nazwa) {
        const std::string NAZWA = jet::text::upper(nazwa);
        if (Kopia_Robocza(NAZWA)) return;
        k.Sprawdz_Kopie(NAZWA, "X_" + NAZWA);
        k.DbWykonajKonwersje("drop table [" + NAZWA + "]");
    });
    Przebieg_Przebudowy(k, [&k](const std::string& nazwa) {
        const std::string NAZWA = jet::text::upper(nazwa);
        if (Kopia_Robocza(NAZWA))
            k.DbWykonajKonwersje(
                "select * into [" + NAZWA.substr(2) + "] from [" + NAZWA + "]",
                k.Tabela_Z_Wczesniejszego_Przebiegu(NAZWA.substr(2), "* from [" + NAZWA + "]", ""));
    });
    Przebieg_Przebudowy(k, [&k](const std::string& nazwa) {
        const std::string NAZWA = jet::text::upper(nazwa);
        if (!Kopia_Robocza(NAZWA)) return;
        k.Sprawdz_Kopie(NAZWA, NAZWA.substr(2));
        k.DbWykonajKonwersje("drop table [" + NAZWA + "]");
    });

    // Keys. Production lines and their raw materials without a product go just before
    // the key of the raw-material lines, and setup rows without a name just before the key
    // of SETUP, each named in the Log; rows before the setup's user and workstation and
    // before the rights' names name none (""). Rows that a key cannot take as they stand
    // are kept by its rule (driver/klucze.inc).
    Utworz_Klucze(kKlucze1);
    kroki::Usun_Produkcje_Bez_Produktu(k, 272, "delete");
    Utworz_Klucze(kKlucze2);
    kroki::Loguj_Usuwane(k, 272, "ustawienia bez nazwy (usunięte)", "setup where nazwa is null",
                         {"Wartosc", "Users", "Stan"});
    k.DbWykonajKonwersje("delete from setup where nazwa is null");
    k.DbWykonajKonwersje("update setup set Users='' where Users is null");
    k.DbWykonajKonwersje("update setup set Stan='' where Stan is null");
    if (k.Jest_Tabela("UZYTKOWNICY_PRAWA", "Prawo"))
        k.DbWykonajKonwersje("update UZYTKOWNICY_PRAWA set Prawo='' where Prawo is null");
    Utworz_Klucze(kKlucze3);

    k.DbWykonajDELKonwersje(
        "tabela_vat where r_dok='Zak_prod' or r_dok='Zak_sur' or r_dok='Zak_koszty' or "
        "r_dok='nie_koszty'",
        "");
}

// True while a rebuild is past its first pass: a table that the step changes before its
// rebuild is gone while its work copy stands. The run that stopped then did all the step
// does before its rebuild, on tables of which some stand only as their copies.
bool Przebudowa_W_Toku(ClsKonwersje& k) {
    for (const char* tabela :
         {"DOK_DZ", "DOK_KFA_ZAWART", "DOK_ZAK_ZAWART", "KADRY_PRACOWNICY", "KPIR_KSIEGA",
          "PLACE_DANE", "PLACE_LISTY", "PLACE_OPISY", "PRODUKTY"})
        if (!k.Jest_Tabela(tabela) && k.Jest_Tabela(std::string("X_") + tabela)) return true;
    return false;
}

}  // namespace

void ClsKonwersje::Konwersja_272() {
    // A run that stopped inside the rebuild after its first pass had done all before it:
    // the rebuild goes on.
    if (Przebudowa_W_Toku(*this)) {
        Przebuduj_Tabele_I_Klucze(*this);
        return;
    }

    // Personnel: the employee table keeps the columns the personnel module still uses.
    DbWykonajKonwersje("drop INDEX indDataOD ON KADRY_PRACOWNICY");
    for (const char* kolumna : kKolumnyPracownika) Usun_Pole("KADRY_PRACOWNICY", kolumna);
    Zmien_Typ_Pola("pesel", "text(13)", "KADRY_PRACOWNICY");

    // Payroll: the component-0 row of each employee and list becomes the payroll line,
    // with the value of every component of the same employee and list in its column.
    // The values are pivoted once: a repeated run of the step (after a failure further
    // on) finds the payroll lines without their component column and keeps them, where
    // the statements below would clear every amount or stop on the missing column.
    if (!Place_Przeliczone(*this)) {
        // The value of component skladnik of the line's employee and list into kolumna; a
        // value not given leaves the 0 that the column starts from. An amount that the old
        // table holds twice for one component adds to the other (sumuj); an option takes
        // one of them.
        const auto przenies = [this](const std::string& kolumna, int skladnik, bool sumuj) {
            const Zamierzony_Raport po_wierszu{jet::reports::Kind::MultiPair};
            DbWykonajKonwersje(
                "update [Place_Dane] inner join [_Place_Dane] on "
                "[Place_Dane].idp=[_Place_Dane].idp set [Place_Dane]." +
                kolumna + "= " + (sumuj ? "[Place_Dane]." + kolumna + "+" : std::string()) +
                "[_Place_Dane].[wartosc] where [_Place_Dane].[pole]=" + std::to_string(skladnik) +
                " and [Place_Dane].idlisty=[_Place_Dane].idlisty and [_Place_Dane].[wartosc] is "
                "not null");
        };
        // A copy that a stopped run left before the payroll table got its component
        // columns is replaced; once the table has them, the copy holds the only whole
        // record of the values and stays: it was made whole, by one statement, before
        // them, and the payroll table may since have lost its rows of other components.
        const bool kopia_cala = Jest_Tabela("Place_Dane", "wartosc0");
        if (!kopia_cala) Usun_Pozostala_Kopie("Place_Dane", "_Place_Dane");
        if (!kopia_cala || !Jest_Tabela("_Place_Dane"))
            DbWykonajKonwersje(
                "Select * into [_Place_dane] from [Place_Dane]",
                Tabela_Z_Wczesniejszego_Przebiegu("_Place_Dane", "* from [Place_Dane]", ""));
        for (int n = 0; n <= kOstatniSkladnik; ++n)
            DbWykonajKonwersje("alter table [Place_Dane] ADD COLUMN wartosc" + std::to_string(n) +
                               "  money");
        for (int n : kOpcje)
            DbWykonajKonwersje("alter table [Place_Dane] ADD COLUMN Owartosc" + std::to_string(n) +
                               " byte");
        Sprawdz_Kopie("Place_Dane", "_Place_Dane");
        // A value without its employee, list or component is one of 0: it moves as such.
        for (const char* tabela : {"Place_Dane", "_Place_Dane"})
            for (const char* kolumna : {"idp", "idlisty", "pole"})
                DbWykonajKonwersje(std::string("update [") + tabela + "] set [" + kolumna +
                                   "]=0 where [" + kolumna + "] is null");
        DbWykonajKonwersje("delete from [Place_Dane] where [pole]<>0");
        // One line an employee and list: a second line of component 0 (by the counter iddd
        // that 2.70 gives the table) goes, named in the Log; its amounts stay in the copy and
        // add to the first's.
        if (Jest_Tabela("Place_Dane", "iddd")) {
            const std::string druga =
                "[Place_Dane] inner join [Place_Dane] as [P2] on ([P2].idp=[Place_Dane].idp and "
                "[P2].idlisty=[Place_Dane].idlisty and [P2].iddd<[Place_Dane].iddd)";
            kroki::Loguj_Usuwane(*this, 272,
                                 "druga pozycja płac pracownika na liście (usunięta, jej składniki "
                                 "dodane do pierwszej)",
                                 druga,
                                 {"Place_Dane.idp", "Place_Dane.idlisty", "Place_Dane.iddd"});
            DbWykonajKonwersje("delete [Place_Dane].* from " + druga);
        }
        for (int n = 0; n <= kOstatniSkladnik; ++n) {
            const std::string kolumna = "wartosc" + std::to_string(n);
            DbWykonajKonwersje("update [Place_Dane] set [Place_Dane]." + kolumna + "=0");
            przenies(kolumna, n, true);
        }
        for (int n : kOpcje)
            DbWykonajKonwersje("update [Place_Dane] set [Place_Dane].Owartosc" + std::to_string(n) +
                               "=0");
        for (const auto& [kolumna, skladnik] : kOpcjeZeSkladnika)
            przenies("owartosc" + std::to_string(kolumna), skladnik, false);
        Usun_Pole("Place_Dane", "pole");
    }
    // The old columns and the copy go once the component column has: after a run that
    // stopped among these drops too.
    Usun_Pole("Place_Dane", "DP");
    Usun_Pole("Place_Dane", "wartosc");
    DbWykonajKonwersje("drop table [_Place_Dane]");

    for (const char* kolumna :
         {"ZUSSKł", "ZUSZDR", "ZUSFP", "ZUSFGSP", "PODDOCH", "PRKONTO", "PRKASA"})
        DbWykonajKonwersje(std::string("alter table [Place_Listy] ADD COLUMN [") + kolumna +
                           "] money");
    for (const char* tabela : {"KADRY_DANE_BO", "KADRY_DANE_MIES", "KADRY_DANE_ROK", "KADRY_DK_S"})
        DbWykonajKonwersje(std::string("drop table [") + tabela + "]");

    kroki::Opis_Skladnika(*this, 117, "Konto", "Konto");
    kroki::Opis_Skladnika(*this, 118, "Procent Konto", "Procent Konto");
    for (int n = 119; n <= kOstatniSkladnik; ++n) kroki::Opis_Skladnika(*this, n, "", "");

    // A list takes the book entry of its cost, the first (lowest kpir_id) of those of the
    // same amount; a list without a cost names no entry.
    const kroki::Pierwszy_Wiersz p = kroki::Tylko_Pierwszy_Wiersz(
        *this, "[KPIR_Ksiega]",
        "[KPIR_Ksiega] AS [K2] on ([K2].[kwota_w]=[KPIR_Ksiega].[kwota_w] and "
        "[K2].[kpir_id]<[KPIR_Ksiega].[kpir_id])",
        "[K2].[kpir_id]");
    DbWykonajKonwersje("update " + p.otworz() +
                       "[Place_listy] inner join [KPIR_Ksiega] on "
                       "[Place_listy].[kosztPr]=[KPIR_Ksiega].[kwota_w]" +
                       p.zamknij() + " set [Place_listy].[id_kpir]=[KPIR_Ksiega].[kpir_id] where " +
                       p.i() + "[Place_listy].[kosztPr]<>0");

    for (const char* tabela : {"dok_zak_zawart", "dok_kfa_zawart", "dok_dz"}) {
        const std::string przedrostek = std::string("alter table  [") + tabela + "] ";
        DbWykonajKonwersje(przedrostek + "ADD COLUMN [Opis] text(255)");
        DbWykonajKonwersje(przedrostek + "ADD COLUMN [KontoFK] text(80)");
    }
    DbWykonajKonwersje("alter table  [produkty] ADD COLUMN [Dom_Konto] text(40)");

    Przebuduj_Tabele_I_Klucze(*this);
}
