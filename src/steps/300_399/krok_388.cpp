// Step 3.88: one register of all parties. KONTRAHENCI receives the tax offices, the
// PIT-5 partners, the drivers, the employees, the free-text payees of cash documents,
// the cash desks and the bank accounts; every reference to an old register is moved onto
// the new party ids; the register is renumbered after each source; and short names and
// codes are made unique.
#include <algorithm>
#include <cstdint>
#include <ctime>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "db/nz.h"
#include "db/otworz.h"
#include "db/postep.h"
#include "db/schemat.h"
#include "driver/konwersje.h"
#include "jet/dates.h"
#include "jet/text.h"
#include "steps/165_299/wspolne.h"

namespace {

using Kolumna = std::pair<const char*, const char*>;

// The columns that the register gains, by group, in the order they are added.
constexpr Kolumna kKolumnyWspolnika[] = {
    {"Konh_Poczta", "Text  (50)"},        {"Konh_Kraj", "Text  (50)"},
    {"Konh_Wojewodztwo", "Text  (50)"},   {"Konh_Gmina", "Text  (50)"},
    {"Konh_US_id", "int DEFAULT 0"},      {"Konh_DataUR", "SmallDateTime DEFAULT null"},
    {"Konh_NumerDomu", "Text  (50)"},     {"Konh_NumerLokalu", "Text  (50)"},
    {"Konh_ProcWspolnika", "Text  (50)"},
};
constexpr Kolumna kKolumnyPracownika[] = {
    {"imie_oj", "Text  (50)"},         {"imie_m", "Text  (50)"},
    {"miejsce_ur", "Text  (50)"},      {"Plec", "Text  (1)"},
    {"numer_prac", "int DEFAULT 0"},   {"imie2", "Text  (50)"},
    {"kategoria", "Text  (1)"},        {"ube", "tinyint DEFAULT 0"},
    {"ubr", "tinyint DEFAULT 0"},      {"ubc", "tinyint DEFAULT 0"},
    {"ubw", "tinyint DEFAULT 0"},      {"ubz", "tinyint DEFAULT 0"},
    {"nazwisko_p", "Text  (50)"},      {"kodzus", "Text  (6)"},
    {"Dowod", "Text  (20)"},           {"Paszport", "Text  (20)"},
    {"Obywatelstwo", "Text  (50)"},    {"KartaStP", "tinyint DEFAULT 0"},
    {"KartaCzP", "tinyint DEFAULT 0"}, {"Etat", "Text  (20)"},
};
constexpr Kolumna kKolumnyKasy[] = {
    {"Saldo", "money DEFAULT 0"},
    {"Rodz", "Text  (1)"},
    {"DostepDoKas", "Text  (100)"},
};

// The document tables whose driver column moves onto the driver parties, in order.
constexpr Kolumna kDokumentyKierowcy[] = {
    {"DOK_FAK", "Kier_id"},     {"DOK_DD", "Kier_id"},  {"DOK_DZ", "Kier_id"},
    {"DOK_FIN", "Kierowca_id"}, {"DOK_KFA", "Kier_id"}, {"DOK_KZA", "Kier_id"},
    {"DOK_PAR", "Kier_id"},     {"DOK_PW", "Kier_id"},  {"DOK_PZ", "Kier_id"},
    {"DOK_RW", "Kier_id"},      {"DOK_WZ", "Kier_id"},
};
// The contractors' nine driver slots, in order.
constexpr const char* kSlotyKierowcow[] = {"Kier_id",  "Kier_id2", "Kier_id3",
                                           "Kier_id4", "Kier_id5", "Kier_id6",
                                           "Kier_id7", "Kier_id8", "Kier_id9"};

// The old registers of drivers and of cash desks and banks, whose ids the references
// name until they move onto the parties (the employees' is kroki::kStarzyPracownicy).
constexpr kroki::Stary_Rejestr kKierowcy{"S_Kierowcy", "Kier_id", "kier_nazwa", "KONH_NAZWA",
                                         "Kierowca"};
constexpr kroki::Stary_Rejestr kKasy{"KASYBANKI", "id_kasy", "nazwa", "KONH_Nazwa", "!!!"};
// The old register of tax offices, whose ids the employees' tax office names.
constexpr kroki::Stary_Rejestr kUrzedy{"S_US", "id", "nazwa", "KONH_NAZWA", "US"};

// The tables whose employee column moves onto the employee parties, in order.
constexpr Kolumna kOdwolaniaPracownika[] = {
    {"KADRY_ADRESY", "ID_prac"},     {"KADRY_NADGODZINY", "ID_prac"},
    {"KADRY_OPCJE", "ID_prac"},      {"KADRY_PIT", "ID_prac"},
    {"KADRY_PODATEK", "ID_prac"},    {"KADRY_RODZINA", "ID_prac"},
    {"KADRY_UMOWY", "ID_prac"},      {"KADRY_UMOWYC", "ID_prac"},
    {"KADRY_WARUNKI", "ID_prac"},    {"KADRY_NIEOBECNOSCI", "ID_prac"},
    {"KADRY_SWIADECTWA", "ID_prac"}, {"PLACE_DANE", "IDP"},
};

// A PIT-5 partner's field of the register and the key of its stored value.
constexpr Kolumna kDaneWspolnika[] = {
    {"KONH_NAZ_SKROT", "w:nazwa 1_pit5_"}, {"KONH_NAZWA", "w:nazwa 1_pit5_"},
    {"KONH_NAZWA2", "w:nazwa 2_pit5_"},    {"KONH_ulica", "w:ulica_pit5_"},
    {"konh_kodpocztowy", "w:kod_pit5_"},   {"KONH_miejscowosc", "w:miasto_pit5_"},
};
constexpr Kolumna kAdresWspolnika[] = {
    {"Konh_NumerDomu", "w:nr_domu_pit5_"}, {"Konh_NumerLokalu", "w:nr_lokalu_pit5_"},
    {"Konh_Poczta", "w:poczta_pit5_"},     {"Konh_Kraj", "w:kraj_pit5_"},
    {"Konh_Wojewodztwo", "w:wojew_pit5_"}, {"Powiat", "w:powiat_pit5_"},
    {"Konh_Gmina", "w:gmina_pit5_"},
};

// Today's date without a time (VB's Date).
double Dzisiaj() {
    const std::time_t t = std::time(nullptr);
    std::tm lt{};
    localtime_r(&t, &lt);
    return jet::dates::to_serial(lt.tm_year + 1900, lt.tm_mon + 1, lt.tm_mday).value_or(0);
}

// Writes a text into a field of the register's new row, cut to the column's width: a
// partner's value longer than its column would otherwise fail the save and stop the
// conversion at this step on every run.
void Zapisz_Tekst(ado::Recordset& rs, const char* pole, const std::string& tekst) {
    ado::Field f = rs.Fields(pole);
    const int dlugosc = f.DefinedSize();
    std::string t = tekst;
    if (dlugosc > 0 && jet::text::length(t) > static_cast<size_t>(dlugosc))
        t.resize(jet::text::offset_of_char(t, static_cast<size_t>(dlugosc)));
    f = jet::Value::text(t);
}

// Cuts the texts of zrodlo.kolumna longer than the parties' column cel before they are
// copied into it, each row cut named in the Log: the insert would otherwise fail.
void Do_Kolumny_Kontrahenta(ClsKonwersje& k, const char* zrodlo, const char* kolumna,
                            const char* cel) {
    for (const Pole_Tabeli& p : Pola_Tabeli("kontrahenci").value_or(std::vector<Pole_Tabeli>{}))
        if (jet::text::same_name(p.nazwa, cel) && p.rozmiar > 0)
            k.Przytnij_Tekst(zrodlo, kolumna, p.rozmiar);
}

// One pass over the register in its konh_numer order (a party without a number as one of
// 0, then by konh_id), descending when malejaco: the i-th record (from 1) takes numer(i),
// the counter shown on status line 3; all rows saved together at the end. An open that
// was ignored leaves the numbers as they are.
void Przypisz_Numery(ClsKonwersje& k, bool malejaco, const std::function<int64_t(int64_t)>& numer) {
    const std::string kier = malejaco ? " desc" : "";
    std::unique_ptr<ado::Recordset> rs;
    int64_t licznik = 0;
    k.DbOtwórzSELKonwersje(rs, "[konh_numer] from [kontrahenci] order by Nz([konh_numer],0)" +
                                   kier + ",[konh_id]" + kier);
    if (rs) {
        while (!rs->Eof()) {
            ++licznik;
            Pokaz_Postep("", "", " " + std::to_string(licznik));
            rs->Fields(0) = jet::Value::long_(static_cast<int32_t>(numer(licznik)));
            rs->MoveNext();
        }
        rs->UpdateBatch();
    }
    k.ZamknijRSKonwersje(rs);
}

// The renumbering: the register numbered 1 to n in its konh_numer order (a party without a
// number as one of 0), parties of one number (the new ones) in the order they were made.
// The rows are written one by one, so a run of the suite's earlier tool stopped inside the
// pass left some renumbered and the rest not: the pass writes only numbers that keep that
// order whatever part of them is written, and a rerun meets the order the pass began with.
// Numbering 1 to n upwards keeps it when each party's number is at least its place; other
// numbers (none, 0, repeated) are first moved above every number, downwards from the last
// place (below every number upwards, and then numbered downwards, where Long ends first).
void Numeruj_Kontrahentow(ClsKonwersje& k) {
    std::unique_ptr<ado::Recordset> rs;
    std::vector<int64_t> numery;
    if (k.DbOtwórzSELKonwersje(rs,
                               "Nz([konh_numer],0) from [kontrahenci] order by "
                               "Nz([konh_numer],0),[konh_id]") > 0)
        for (; !rs->Eof(); rs->MoveNext()) numery.push_back(NzLng(rs->Fields(0).value()));
    k.ZamknijRSKonwersje(rs);
    const auto n = static_cast<int64_t>(numery.size());
    bool na_miejscu = true;
    for (int64_t i = 0; i < n; ++i) na_miejscu = na_miejscu && numery[i] >= i + 1;
    bool w_dol = false;
    if (!na_miejscu) {
        const int64_t najwyzszy = std::max<int64_t>(numery.back(), 0);
        const int64_t najnizszy = std::min<int64_t>(numery.front(), 0);
        if (najwyzszy + n <= INT32_MAX) {
            Przypisz_Numery(k, true, [&](int64_t i) { return najwyzszy + n - i + 1; });
        } else {
            Przypisz_Numery(k, false, [&](int64_t i) { return najnizszy - n - 1 + i; });
            w_dol = true;
        }
    }
    Przypisz_Numery(k, w_dol, [&](int64_t i) { return w_dol ? n - i + 1 : i; });
}

// Makes the non-Null values of a register column unique: each pass gives every party
// that shares its value with a party of a lower id the first 11 characters of the value,
// trailing blanks removed, "!" and the pass number; passes repeat while any value is
// shared. An open that was ignored ends the passes.
void Unikalne_Kontrahentow(ClsKonwersje& k, const std::string& pole) {
    std::unique_ptr<ado::Recordset> rs;
    for (int32_t licznik = 1;; ++licznik) {
        Pokaz_Postep("", "", " " + std::to_string(licznik));
        if (k.DbOtwórzSELKonwersje(rs, "top 1 t1." + pole +
                                           ",t1.konh_id from kontrahenci as t1 "
                                           "inner join kontrahenci as t2 on t1." +
                                           pole + "=t2." + pole +
                                           " where t1.konh_id<>t2.konh_id") <= 0)
            break;
        // A value shared by n parties is changed once for each earlier party; the passes
        // go on until every value is unique.
        const Zamierzony_Raport po_parze{jet::reports::Kind::MultiPair};
        k.DbWykonajKonwersje("update kontrahenci as t1 inner join kontrahenci as t2 on t1." + pole +
                             "=t2." + pole + " set t1." + pole + "=Rtrim(mid(t1." + pole +
                             ",1,11))+'!" + std::to_string(licznik) +
                             "' where t1.konh_id>t2.konh_id");
    }
    ZamknijRS(rs);
}

// The PIT-5 partners as parties of kind 'Współnik', record by record in the order of their
// ids, their address read from their stored values; their declarations follow them.
void Wspolnicy_PIT5(ClsKonwersje& k) {
    std::unique_ptr<ado::Recordset> wsp;
    std::unique_ptr<ado::Recordset> rej;
    std::unique_ptr<ado::Recordset> us;
    k.DbOtwórzSELKonwersje(wsp, "[Nazwisko], [imie],[idp] from [Platnik] order by [idp]");
    k.DbOtwórzSELKonwersje(
        rej,
        "top 1 KONH_NAZ_SKROT,KONH_NAZWA,KONH_NAZWA2,KONH_ulica,konh_kodpocztowy,KONH_miejscowosc,"
        "RKONH_NAZWA_ID,konh_numer,konh_activ,Konh_ProcWspolnika,Konh_NumerDomu,Konh_NumerLokalu,"
        "Konh_Poczta,Konh_Kraj,Konh_Wojewodztwo,Powiat,Konh_Gmina,Konh_US_id,Konh_DataUR,konh_id "
        "from kontrahenci");
    // Each partner's old id and his party's id. The declarations move once all parties
    // exist: a new party id may equal the old id of a partner still to come, so moving
    // them partner by partner could carry declarations twice.
    std::vector<std::pair<int32_t, int32_t>> przeniesienia;
    while (!kroki::Rekordy(wsp).Eof()) {
        const int32_t idp = NzLng(wsp->Fields(2).value());
        ado::Recordset& r = kroki::Rekordy(rej);
        r.AddNew();
        for (const auto& [pole, klucz] : kDaneWspolnika)
            Zapisz_Tekst(r, pole, k.Wartosc_Platnik_Dane(klucz, idp));
        r.Fields("RKONH_NAZWA_ID") = jet::Value::text("Współnik");
        r.Fields("konh_numer") = jet::Value::long_(999999);
        r.Fields("konh_activ") = jet::Value::boolean(true);
        r.Fields("Konh_ProcWspolnika") = jet::Value::long_(100);
        for (const auto& [pole, klucz] : kAdresWspolnika)
            Zapisz_Tekst(r, pole, k.Wartosc_Platnik_Dane(klucz, idp));
        // Of tax offices of one name, the first made (of the lowest old id).
        int32_t us_id = 0;
        if (k.DbOtwórzSELKonwersje(
                us,
                "top 1 KONH_id from kontrahenci where RKONH_NAZWA_ID='US' "
                "and KONH_NAZWA='" +
                    kroki::W_Apostrofach(k.Wartosc_Platnik_Dane("us_pit5_", idp)) +
                    "' order by KONH_id") >= 1)
            us_id = NzLng(us->Fields(0).value());
        k.ZamknijRSKonwersje(us);
        r.Fields("Konh_US_id") = jet::Value::long_(us_id);
        const auto data = jet::dates::parse(k.Wartosc_Platnik_Dane("dataur_pit5_", idp));
        r.Fields("Konh_DataUR") = jet::Value::date(data ? *data : Dzisiaj());
        r.UpdateBatch();
        przeniesienia.emplace_back(idp, NzLng(r.Fields("konh_id").value()));
        wsp->MoveNext();
    }
    k.ZamknijRSKonwersje(wsp);
    k.ZamknijRSKonwersje(rej);
    // A declaration of no partner names none: its old id would name a party by chance.
    k.DbWykonajKonwersje(
        "UPDATE Deklaracje LEFT JOIN Platnik ON Deklaracje.IDP=Platnik.IDP SET Deklaracje.IDP=0 "
        "WHERE Platnik.IDP IS NULL AND Deklaracje.IDP<>0");
    // Through ids that no partner or party has (the negated old ids), then onto the parties.
    for (const auto& [stary, nowy] : przeniesienia) {
        (void)nowy;
        k.DbWykonajKonwersje(
            "UPDATE Deklaracje Set IDP=" + std::to_string(-static_cast<int64_t>(stary)) +
            " where IDP=" + std::to_string(stary));
    }
    for (const auto& [stary, nowy] : przeniesienia)
        k.DbWykonajKonwersje("UPDATE Deklaracje Set IDP=" + std::to_string(nowy) +
                             " where IDP=" + std::to_string(-static_cast<int64_t>(stary)));
}

}  // namespace

std::string ClsKonwersje::Wartosc_Platnik_Dane(const std::string& klucz, int32_t idp) {
    std::unique_ptr<ado::Recordset> rs;
    std::string wynik;
    // Of two values stored under one name, the highest: a Null or an empty one never
    // wins over a value.
    if (DbOtwórzSEL(rs,
                    "[Nazwa], [Wartosc] from [Platnik_dane] where [nazwa]='" +
                        jet::text::upper(klucz) + "' and [idp]=" + std::to_string(idp) +
                        " order by [Wartosc] desc",
                    kOtworzOdczyt) > 0)
        wynik = NzStr(rs->Fields(1).value());
    ZamknijRS(rs);
    return wynik;
}

void ClsKonwersje::Konwersja_388() {
    const auto dodaj_kolumny = [this](const auto& kolumny) {
        for (const auto& [kolumna, typ] : kolumny)
            DbWykonajKonwersje(std::string("alter table [Kontrahenci] ADD COLUMN ") + kolumna +
                               " " + typ);
    };
    const auto sa_strony = [this](const std::string& warunek) {
        return Liczba_Z_Zapytania("count(*) from KONTRAHENCI where " + warunek) > 0;
    };

    // The part of the step that a run of the suite's earlier tool, which committed each
    // statement on its own, began last, by what each part adds first: the parts before it
    // are done, and are not done again (their inserts would add the parties twice, their
    // re-pointing would read party ids as old ids); in that part each insert whose parties
    // stand is not made again, and each re-pointing runs once (kroki::Przepnij_Raz).
    // 0 tax offices, 1 partners, 2 drivers, 3 employees, 4 payees, 5 cash desks and banks,
    // 6 the rest. A part whose source gave no parties shows nothing: the run takes the
    // part before it for the last begun, whose insert then stands, and repeats it, which
    // the insert's check and the re-pointing's make safe.
    int czesc = -1;
    if (Jest_Tabela("Deklaracje", "ID_US"))
        czesc = 6;
    else if (Jest_Tabela("Kontrahenci", "Saldo"))
        czesc = 5;
    else if (Jest_Tabela("DOK_FIN", "NIEZALEZNE"))
        czesc = 4;
    else if (Jest_Tabela("Kontrahenci", "imie_oj"))
        czesc = 3;
    else if (Jest_Tabela("Kontrahenci", "Kier_id") &&
             sa_strony("RKONH_NAZWA_ID='Kierowca' and Kier_id=-1"))
        czesc = 2;
    else if (Jest_Tabela("Kontrahenci", "Konh_Poczta"))
        czesc = 1;
    else if (sa_strony("RKONH_NAZWA_ID='US'"))
        czesc = 0;
    // A cash document's contractor that is not given (Null) is none (0); one that names no
    // contractor names nothing (0), and the Log counts them, while no party is added yet
    // (later a new party's id could be the one it names). Its payee then becomes a party
    // like that of any document without a contractor.
    if (czesc < 4) DbWykonajKonwersje("UPDATE DOK_FIN set konh_id=0 where konh_id is null");
    if (czesc < 0) {
        const std::string tabele =
            "DOK_FIN left join KONTRAHENCI as K on DOK_FIN.konh_id=K.konh_id";
        const std::string gdzie = " where K.konh_id is null and DOK_FIN.konh_id<>0";
        kroki::Loguj_Bez_Wskazania(*this, 388,
                                   "DOK_FIN.konh_id z identyfikatorem spoza KONTRAHENCI (nie "
                                   "wskazują żadnego kontrahenta)",
                                   tabele + gdzie);
        DbWykonajKonwersje("UPDATE " + tabele + " set DOK_FIN.konh_id=0" + gdzie);
    }
    // The references of an old register move onto its parties (przepnij). The work table of
    // the old ids' parties (kroki::Strony_Starych_Id) stands from the part that makes it to
    // the next one's, or to the step's end; once every reference of the part has left the
    // ids that name no old id (kroki::Bez_Starej_Strony), it gains a column named by the old
    // register, and only then do the references move, each once (kroki::Przepnij_Raz).
    // In the part begun last the table tells how far an earlier run came: with the
    // register's column, every reference was cleared and some may have moved; without it
    // (the table of an earlier part, or this part's before the column), none moved; with no
    // table at all (a run of the suite's earlier tool, or one stopped before this program's
    // first table), a column is cleared where none of its references names a party of the
    // kind (none moved), and where one does and the clearing would change a reference (a
    // moved one, or one that names no old id) the step stops.
    struct Odwolanie {
        std::string tabela, alias, kol, nowe;
    };
    const auto przepnij = [&](int w_czesci, const kroki::Stary_Rejestr& r,
                              const std::vector<Odwolanie>& odwolania, const char* stan) {
        const std::string praca(Bez_Nawiasow(kroki::kStronaStaregoId));
        const bool ostatnia = czesc == w_czesci;
        const bool bez_tabeli = ostatnia && !Jest_Tabela(praca);
        const bool wyczyszczone = ostatnia && !bez_tabeli && Jest_Tabela(praca, r.tabela);
        kroki::Strony_Starych_Id(*this, 388, r);
        if (!wyczyszczone) {
            for (const Odwolanie& o : odwolania) {
                if (bez_tabeli && Liczba_Z_Zapytania(o.nowe) > 0 &&
                    Liczba_Z_Zapytania("count(*) from " +
                                       kroki::Wiersze_Bez_Starej_Strony(o.tabela, o.kol)) > 0)
                    Konwersja_Przerwana(388, stan);
                kroki::Bez_Starej_Strony(*this, 388, r, o.tabela, o.kol);
            }
            DbWykonajKonwersje(std::string("alter table ") + kroki::kStronaStaregoId +
                               " ADD COLUMN [" + r.tabela + "] tinyint");
        }
        for (const Odwolanie& o : odwolania)
            kroki::Przepnij_Raz(*this, wyczyszczone || bez_tabeli,
                                kroki::Na_Strony(o.tabela, o.alias, o.kol), o.nowe, 388, stan);
    };

    // Each old register's rows become parties in the order of their old ids, so that the
    // party ids do not follow the order in which the rows happen to be stored.
    // Tax offices; the employees' tax office then names its party.
    if (czesc <= 0) {
        Do_Kolumny_Kontrahenta(*this, "S_US", "miasto", "KONH_miejscowosc");
        if (czesc < 0)
            DbWykonajKonwersje(
                "insert into [kontrahenci] "
                "(KONH_NAZ_SKROT,KONH_NAZWA,KONH_ulica,konh_kodpocztowy,KONH_miejscowosc,"
                "RKONH_NAZWA_ID,konh_numer,konh_activ) select mid(nazwa,1,16)        ,nazwa     "
                ",ulica     ,Kod             , miasto,        'US',999999,-1 from S_US order by "
                "id");
        przepnij(0, kUrzedy,
                 {{"KADRY_PRACOWNICY", "PPP", "US",
                   "count(*) from KADRY_PRACOWNICY INNER JOIN KONTRAHENCI ON KADRY_PRACOWNICY.US "
                   "= KONTRAHENCI.konh_id where KONTRAHENCI.RKONH_NAZWA_ID='US'"}},
                 "po dopisaniu urzędów skarbowych do tabeli KONTRAHENCI");
        Numeruj_Kontrahentow(*this);
    }

    // PIT-5 partners. Their parties name no partner that the step could find them by: a
    // part begun with partners' parties standing stops.
    if (czesc <= 1) {
        dodaj_kolumny(kKolumnyWspolnika);
        if (czesc == 1 && sa_strony("RKONH_NAZWA_ID='Współnik'"))
            Konwersja_Przerwana(388, "po dopisaniu wspólników PIT-5 do tabeli KONTRAHENCI");
        Wspolnicy_PIT5(*this);
        Numeruj_Kontrahentow(*this);
    }

    // Drivers: the contractors' nine driver slots, then the documents' driver. Every
    // reference of a kind moves through one table of its old ids' parties
    // (kroki::Strony_Starych_Id): one party for each old id, each row moved once.
    if (czesc <= 2) {
        if (czesc < 2)
            DbWykonajKonwersje(
                "insert into [kontrahenci] "
                "(KONH_NAZ_SKROT,KONH_NAZWA,RKONH_NAZWA_ID,opis     ,konh_numer,konh_activ,"
                "Kier_id) select kier_symbol   ,kier_nazwa,'Kierowca'    ,Kier_opis,999999    "
                ",-1        ,-1 from S_Kierowcy order by Kier_id");
        std::vector<Odwolanie> odwolania;
        for (const char* kol : kSlotyKierowcow)
            odwolania.push_back(
                {"KONTRAHENCI", "kontr", kol,
                 "count(*) from KONTRAHENCI as kontr INNER JOIN KONTRAHENCI as Kier ON kontr." +
                     std::string(kol) + " = Kier.konh_id where Kier.RKONH_NAZWA_ID='Kierowca'"});
        for (const auto& [tabela, kol] : kDokumentyKierowcy)
            odwolania.push_back({tabela, "dok", kol,
                                 std::string("count(*) from ") + tabela +
                                     " as dok INNER JOIN KONTRAHENCI as Kier ON dok." + kol +
                                     " = Kier.konh_id where Kier.RKONH_NAZWA_ID='Kierowca'"});
        przepnij(2, kKierowcy, odwolania, "po dopisaniu kierowców do tabeli KONTRAHENCI");
        Numeruj_Kontrahentow(*this);
    }

    // Employees.
    if (czesc <= 3) {
        DbWykonajKonwersje("DROP TABLE [KADRY_NIEOBECNOSCI_S]");
        dodaj_kolumny(kKolumnyPracownika);
        if (czesc < 3 || !sa_strony("RKONH_NAZWA_ID='Pracownik'"))
            DbWykonajKonwersje(
                "insert into [kontrahenci] "
                "(KONH_NAZ_SKROT,KONH_NAZWA,KONH_NAZWA2,RKONH_NAZWA_ID,konh_numer,konh_activ,"
                "imie_oj,imie_m,miejsce_ur,Plec,numer_prac,imie2,kategoria,ube,ubr,ubc,ubw,ubz,"
                "nazwisko_p,kodzus,Dowod,Paszport,KartaStP,KartaCzP,Etat,Konh_US_id,Konh_DataUR, "
                "KONH_NAZ_BANK, KONH_NR_KONTA) select mid(Nazwisko,1,8)+mid(Imie1,1,8),Nazwisko,"
                "Imie1,'Pracownik',999999 ,-1,imie_oj,imie_m,miejsce_ur,Plec,numer,imie2,"
                "kategoria,ube,ubr,ubc,ubw,ubz,nazwisko_p,kodzus,Dowod,Paszport,KartaStP,KartaCzP,"
                "Etat,US ,Data_UR ,BANK, KONTO from KADRY_PRACOWNICY order by id");
        std::vector<Odwolanie> odwolania;
        for (const auto& [tabela, kol] : kOdwolaniaPracownika)
            odwolania.push_back({tabela, "PPP", kol,
                                 std::string("count(*) from ") + tabela +
                                     " as PPP INNER JOIN KONTRAHENCI ON PPP." + kol +
                                     " = KONTRAHENCI.konh_id where "
                                     "KONTRAHENCI.RKONH_NAZWA_ID='Pracownik'"});
        przepnij(3, kroki::kStarzyPracownicy, odwolania,
                 "po dopisaniu pracowników do tabeli KONTRAHENCI");
        Numeruj_Kontrahentow(*this);
    }

    // Free-text payees of cash documents. Their insert stands while its parties keep their
    // mark '!!!', and once a document took its party (NIEZALEZNE 2); the documents take
    // only parties of that mark, and only while they have none.
    if (czesc <= 4) {
        if (czesc < 4) Zmien_Typ_Pola("Konh_kod", "text (16)", "Kontrahenci");
        DbWykonajKonwersje("alter table [DOk_FIN] ADD COLUMN NIEZALEZNE tinyint DEFAULT 0");
        Do_Kolumny_Kontrahenta(*this, "DOK_FIN", "Dla", "KONH_NAZWA");
        if (czesc < 4 || (!sa_strony("RKONH_NAZWA_ID='!!!'") &&
                          Liczba_Z_Zapytania("count(*) from DOK_FIN where NIEZALEZNE=2") == 0))
            DbWykonajKonwersje(
                "insert into [kontrahenci] "
                "(KONH_NAZ_SKROT,KONH_NAZWA,RKONH_NAZWA_ID,konh_numer,konh_activ) "
                "select DISTINCTROW mid(Dla,1,16) ,Dla       ,'!!!'         ,999999    ,-1 from "
                "DOk_FIN group by Dla,Konh_id Having Konh_id=0");
        DbWykonajKonwersje(
            "UPDATE KONTRAHENCI INNER JOIN DOK_FIN ON KONTRAHENCI.KONH_NAZWA = DOK_FIN.Dla set "
            "DOK_FIN.Konh_id=KONTRAHENCI.konh_id,DOk_FIN.NIEZALEZNE=2,DOk_FIN.dla='' where "
            "KONTRAHENCI.RKONH_NAZWA_ID='!!!' and DOK_FIN.konh_id=0");
        DbWykonajKonwersje(
            "UPDATE KONTRAHENCI Set RKONH_NAZWA_ID='Pozostali' where RKONH_NAZWA_ID='!!!'");
        DbWykonajKonwersje(
            "UPDATE DOk_FIN Set DOk_FIN.NIEZALEZNE=1 where DOk_FIN.Dla='Niezależne'");
        Numeruj_Kontrahentow(*this);
    }

    // Cash desks and banks: their parties are the only ones with a kind of desk (Rodz).
    if (czesc <= 5) {
        dodaj_kolumny(kKolumnyKasy);
        for (const auto& [kolumna, cel] :
             {std::pair{"Telefon", "KONH_TEL"}, std::pair{"MIEJSCOWOSC", "KONH_miejscowosc"}})
            Do_Kolumny_Kontrahenta(*this, "KASYBANKI", kolumna, cel);
        if (czesc < 5 || !sa_strony("Rodz is not null"))
            DbWykonajKonwersje(
                "insert into [kontrahenci] "
                "(KONH_NAZ_SKROT,KONH_NAZWA,Opis,RKONH_NAZWA_ID,konh_numer,konh_activ,rodz,"
                "konh_naz_bank,konh_nr_konta,konh_kodpocztowy,KONH_ulica,KONH_TEL,KONH_miejscowosc,"
                "Saldo,nr_konta_kasowego) select mid(nazwa,1,16) ,nazwa   ,Opis,'!!!'         "
                ",999999    ,-1        ,rodz,Nr_Banku,     NR_Konta,    KodPocztowy,      "
                "Ulica,Telefon,      MIEJSCOWOSC,Saldo,NRWFK  from KASYBANKI order by id_kasy");
        std::vector<Odwolanie> odwolania;
        for (const char* tabela : {"DOK_FIN", "DOK_FRA"})
            odwolania.push_back({tabela, "PPP", "ID_KASY",
                                 std::string("count(*) from ") + tabela +
                                     " as PPP INNER JOIN KONTRAHENCI ON PPP.ID_KASY = "
                                     "KONTRAHENCI.konh_id where KONTRAHENCI.Rodz is not null"});
        przepnij(5, kKasy, odwolania, "po dopisaniu kas i banków do tabeli KONTRAHENCI");
        DbWykonajKonwersje(
            "UPDATE KONTRAHENCI Set RKONH_NAZWA_ID='Kasa' where RKONH_NAZWA_ID='!!!' and "
            "RODZ='K'");
        DbWykonajKonwersje(
            "UPDATE KONTRAHENCI Set RKONH_NAZWA_ID='Bank' where RKONH_NAZWA_ID='!!!' and "
            "RODZ='B'");
        Numeruj_Kontrahentow(*this);
    }

    DbWykonajKonwersje("alter table [Deklaracje] ADD COLUMN ID_US int DEFAULT 0");
    DbWykonajKonwersje(std::string("drop table ") + kroki::kStronaStaregoId);
    DbWykonajKonwersje("alter table [DOK_FRA] ADD COLUMN DataKasyBanku SmallDateTime DEFAULT null");
    DbWykonajKonwersje(
        "UPDATE [DOK_FIN_ZAWART] SET [rodzaj_dok]='PW' WHERE [rodzaj_dok]='Sp. pozost.zwr.'");
    DbWykonajKonwersje(
        "UPDATE [DOK_FIN_ZAWART] SET [rodzaj_dok]='RW' WHERE [rodzaj_dok]='Sp. pozost.'");

    Unikalne_Kontrahentow(*this, "konh_naz_skrot");
    Unikalne_Kontrahentow(*this, "konh_kod");
}
