// Step 4.07: single-field indexes dropped schema-wide, one column set for all document
// headers, the donation kind DAR, production groups, shift and consumption-link columns;
// then every production document cut into one document per shift, renumbered in date
// order, and the production-consumption kinds PRS and PZS.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "db/daty.h"
#include "db/komunikaty.h"
#include "db/nz.h"
#include "db/postep.h"
#include "db/schemat.h"
#include "driver/konwersje.h"
#include "jet/text.h"
#include "steps/165_299/wspolne.h"

namespace {

// A column added by "alter table  [tabela] ADD COLUMN [kolumna] typ".
struct Kolumna {
    const char* nazwa;
    const char* typ;
};

// The header tables in the order in which the step gives them a column.
constexpr const char* kNaglowki[] = {"dok_DD",  "dok_RW",  "dok_FAK", "dok_PAR", "dok_DZ",
                                     "dok_PW",  "dok_PZ",  "dok_WZ",  "dok_KFA", "dok_KZA",
                                     "dok_ZAK", "dok_PRO", "dok_PFA", "dok_ZPF"};

// The header columns one header table gains or loses: the columns added before the
// drops, the dropped ones, and those added after them.
struct Ujednolicenie {
    const char* tabela;
    std::vector<Kolumna> przed;
    std::vector<const char*> usuniete;
    std::vector<Kolumna> po;
};

const std::vector<Ujednolicenie>& Ujednolicenia() {
    static const Kolumna opis{"Opis", "Text (255)"}, konto{"KontoFK", "Text (80)"},
        kpir{"id_kpir", "int DEFAULT 0"}, id_kor{"Id_KorFak", "int DEFAULT 0"},
        kor{"KorFak", "Logical"}, koment{"Komentarz", "Text DEFAULT ''"};
    static const std::vector<Ujednolicenie> u = {
        {"DOK_DD", {opis, konto}, {"rodzdok", "Remanent", "zakup"}, {kpir}},
        {"DOK_DZ", {}, {"rodzdok", "Remanent", "zakup"}, {kpir}},
        {"DOK_PAR",
         {},
         {"zakup"},
         {{"ddout_Termin_zaplaty", "SmallDateTime DEFAULT null"}, id_kor, kor, opis, konto}},
        {"DOK_PW", {}, {"rodzdok", "Remanent", "zakup"}, {id_kor, kor, opis, konto, kpir}},
        {"DOK_PZ", {}, {"rodzdok", "Remanent", "zakup"}, {koment, id_kor, kor, opis, kpir}},
        {"DOK_WZ", {}, {"rodzdok", "Remanent", "zakup"}, {koment, id_kor, kor, opis, konto, kpir}},
        {"DOK_RW", {}, {"rodzdok", "Remanent", "zakup"}, {id_kor, kor, opis, konto, kpir}},
        {"DOK_ZPF", {}, {"Remanent", "zakup"}, {opis, konto, kpir}},
        {"DOK_PFA", {}, {"Remanent", "zakup"}, {opis, konto, kpir}},
    };
    return u;
}

// The columns that the production header takes over from the other headers; the first
// 16 are named bare in their statements, the others in brackets.
constexpr Kolumna kKolumnyPro[] = {
    {"KONH_ID", "int DEFAULT 0"},
    {"ddout_data_sprz", "SmallDateTime DEFAULT null"},
    {"DDOUT_DO_ROZLICZENIA", "Logical"},
    {"DDOUT_wart_VAT", "money DEFAULT 0"},
    {"rabat", "money DEFAULT 0"},
    {"fplat_nazwa_id", "Text (50)"},
    {"zbiorczy", "Logical"},
    {"ddout_Termin_zaplaty", "SmallDateTime DEFAULT null"},
    {"kier_id", "int DEFAULT 0"},
    {"wart_kp", "money DEFAULT 0"},
    {"ID_Kasy", "int DEFAULT 0"},
    {"Zbiorczy_id", "int DEFAULT 0"},
    {"numer_dokumentu", "Text (100)"},
    {"zam_id", "int DEFAULT 0"},
    {"b_rabat_n", "money DEFAULT 0"},
    {"b_rabat_V", "money DEFAULT 0"},
    {"n22", "money DEFAULT 0"},
    {"vat22", "money DEFAULT 0"},
    {"n7", "money DEFAULT 0"},
    {"vat7", "money DEFAULT 0"},
    {"n3", "money DEFAULT 0"},
    {"vat3", "money DEFAULT 0"},
    {"n0", "money DEFAULT 0"},
    {"nZW", "money DEFAULT 0"},
    {"Komentarz", "Text DEFAULT ''"},
    {"Id_KorFak", "int DEFAULT 0"},
    {"KorFak", "Logical"},
    {"Opis", "Text (255)"},
    {"KontoFK", "Text (80)"},
    {"id_kpir", "int DEFAULT 0"},
};
constexpr int kBezNawiasow = 16;

// The shift and consumption-link columns that every header gets.
constexpr const char* kKolumnyZmian[] = {"nr_zM_PROD", "ID_Poszlo_do_zuzycia", "ID_Poszlo_na_RW"};

// Number of failed writes of one production document's number after which the step
// gives up instead of trying for ever.
constexpr int kProbyNumeru = 100;

std::string Dodaj(const std::string& tabela, const std::string& kolumna, const std::string& typ) {
    return "alter table  [" + tabela + "] ADD COLUMN [" + kolumna + "] " + typ;
}

// Operations 9 to 13.
void Grupy_Produkcyjne(ClsKonwersje& k) {
    // 9. The free-text order group of products becomes a dictionary of production groups.
    k.DbWykonajKonwersje(
        "Create table [S_Grupy_Produkcyjne] (id_GRProd int identity,Grupa_w_Zam Text (50))");
    Utworz_Klucz_Podstawowy("S_Grupy_Produkcyjne", "id_GRProd asc");
    Utworz_Klucz_Podstawowy("S_Grupy_Produkcyjne", "Grupa_w_Zam asc");
    k.DbWykonajKonwersjeNoErr(
        "insert into [S_Grupy_Produkcyjne] (id_GRProd,Grupa_w_Zam) values (0,'Wszystkie')",
        k.Wiersz_Z_Wczesniejszego_Przebiegu(
            "[S_Grupy_Produkcyjne] where id_GRProd=0 or Grupa_w_Zam='Wszystkie'"));
    std::unique_ptr<ado::Recordset> produkty;
    std::unique_ptr<ado::Recordset> grupa;
    if (k.DbOtwórzSELKonwersje(produkty,
                               "[Grupa_w_Zam],id_GRProd from [PRODUKTY] where [Grupa_w_Zam]<>'' "
                               "order by Grupa_w_Zam",
                               true) > 0) {
        for (; !produkty->Eof(); produkty->MoveNext()) {
            const jet::Value nazwa = produkty->Fields(0).value();
            k.DbOtwórzSELKonwersje(grupa,
                                   "top 1 Grupa_w_Zam,id_GRProd from [S_Grupy_Produkcyjne] where "
                                   "Grupa_w_Zam='" +
                                       kroki::W_Apostrofach(NzStr(nazwa)) + "'");
            ado::Recordset& g = kroki::Rekordy(grupa);
            if (g.Eof()) {
                g.AddNew();
                g.Fields(0) = nazwa;
                g.UpdateBatch();
            }
            produkty->Fields(1) = g.Fields(1).value();
            produkty->UpdateBatch();
        }
        k.ZamknijRSKonwersje(grupa);
    }
    k.ZamknijRSKonwersje(produkty);
    Usun_Pole("PRODUKTY", "Grupa_w_Zam");

    // 10. Shift and consumption-link columns of every header (the production header is
    // named twice; its second addition is absorbed).
    for (const char* kolumna : kKolumnyZmian) {
        for (const char* t : kNaglowki) k.DbWykonajKonwersje(Dodaj(t, kolumna, "int DEFAULT 0"));
        k.DbWykonajKonwersje(Dodaj("dok_pro", kolumna, "int DEFAULT 0"));
        k.DbWykonajKonwersje(Dodaj("dok_DAR", kolumna, "int DEFAULT 0"));
    }

    // 11-13.
    for (const char* kol : {"ilosc_zam", "ilosc_zam2", "ilosc_zam3"})
        Usun_Pole("dok_pro_zawart", kol);
    k.DbWykonajKonwersje("DROP TABLE [S_US]");
    k.DbWykonajKonwersje("DROP TABLE [Platnik]");
    k.DbWykonajKonwersje("DROP TABLE [Platnik_Dane]");
    k.DbWykonajKonwersje("DROP TABLE [S_KIEROWCY]");
    k.DbWykonajKonwersje("DROP TABLE [KADRY_PRACOWNICY]");
    k.DbWykonajKonwersje("DROP table [KASYBANKI]");
    k.DbWykonajKonwersje(Dodaj("sposob_numeracji", "nag_prs", "text(50)"));
    k.DbWykonajKonwersje(Dodaj("sposob_numeracji", "nag_pzs", "text(50)"));
}

// The column of a production line that holds the quantity of shift zmiana.
std::string Ilosc_Zmiany(int zmiana) {
    return zmiana == 1 ? "ilosc_prod" : "ilosc_prod" + std::to_string(zmiana);
}

// A production line's quantity over its three shifts, a shift without a quantity (Null)
// counting as 0, so that one empty shift does not take the others' quantities with it.
std::string Suma_Zmian() {
    std::string suma;
    for (int z = 1; z <= 3; ++z) suma += (z == 1 ? "Nz([" : "+Nz([") + Ilosc_Zmiany(z) + "],0)";
    return suma;
}

// A production line's shift share of a breakdown row's quantity: the row's quantity times
// the shift's part of its line's three quantities, the whole quantity when the row has no
// line (such a row is never scaled). h is the breakdown row, z its line, left-joined.
std::string Udzial_Rozbicia(const std::string& q) {
    return "IIf(z.PROD_ID Is Null,h.Ilosc,h.Ilosc*(z.[" + q +
           "]/(z.ilosc_prod+z.ilosc_prod2+z.ilosc_prod3)))";
}

// The split's work tables and columns, each the step's own and gone at its end, are the
// facts by which a run resumed after a stopped one (the suite's earlier tool committed
// each statement on its own) knows what that run did, so that no statement divides,
// scales or adds a second time:
// - kSurowce, the raw materials' keys, made in one statement before the breakdown table
//   exists, each with the mark that its rows' values were divided by their quantities
//   (Zrobione), set by the statement that divides them;
// - the breakdown table itself, made with its unit values in the column kWartoscJedn:
//   while the column stands they are carried into Wartosc;
// - kKopie, a copy of one document's shift to the day's document, decided before it is
//   made; kLinie and kRozbicieDnia, the day's document's lines and breakdown as they were
//   before a merge, taken before it: the copy and the merge are made from them, as often
//   as a run resumes them (they go once every document has its shift);
// - kUdzial, each line's shift share (its shift quantity over its three), made in one
//   statement after the split, and the mark that the breakdown has taken it (Zrobione):
//   one statement multiplies the line's breakdown rows by the share and sets the mark,
//   so that the rows are multiplied once however often a run resumes, and two rows of
//   one key each take their own share.
constexpr const char* kRozbicie = "DOK_PRS_ZAWART_ROZBICIE";
constexpr const char* kSurowce = "_Surowce_Jednostkowe";
constexpr const char* kWartoscJedn = "Wartosc_Jednostkowa";
constexpr const char* kKopie = "_Zmiany_Kopie";
constexpr const char* kLinie = "_Zmiany_Linie";
constexpr const char* kRozbicieDnia = "_Zmiany_Rozbicie";
constexpr const char* kUdzial = "_Rozbicie_Udzial";
// The lines' unit prices are per unit while this table stands (until the breakdown table
// is made). Made empty when they are taken from the old price column, which stands until
// they are; made with each line key once (Zrobione 0) when the suite's earlier tool
// copied them whole, and then each key is marked by the statement that divides its lines.
constexpr const char* kCeny = "_Ceny_Jednostkowe";

// Whether the production lines still hold their three shift columns: the split has not
// been made.
bool Zmiany_Linii(ClsKonwersje& k) {
    for (int z = 1; z <= 3; ++z)
        if (!k.Jest_Tabela("DOK_PRO_ZAWART", Ilosc_Zmiany(z))) return false;
    return true;
}

// Changes the rows of tabela that the work table praca names by the columns klucz (of the
// same names in both) and marks their key there (Zrobione 1) in the same statement, so
// that a resumed run changes no row twice and rows of one key each change once. zmiana
// is the SET list; it may read praca as p.
void Zmien_Raz(ClsKonwersje& k, const std::string& tabela, const std::string& praca,
               std::initializer_list<const char*> klucz, const std::string& zmiana) {
    std::string warunek;
    for (const char* kol : klucz)
        warunek +=
            std::string(warunek.empty() ? "" : " AND ") + "p." + kol + "=[" + tabela + "]." + kol;
    k.DbWykonajKonwersje("UPDATE [" + tabela + "] INNER JOIN [" + praca + "] AS p ON (" + warunek +
                         ") SET " + zmiana + ",p.Zrobione=1 WHERE p.Zrobione=0");
}

// A production line's unit price: its value in column zrodlo over its three shift
// quantities.
std::string Cena_Jednostkowa(const std::string& zrodlo) {
    const std::string suma = Suma_Zmian();
    return "[ZDDOUT_CENA_N]=Nz([" + zrodlo + "],0)/IIf(" + suma + "=0,1," + suma + ")";
}

// The old price column is gone and the breakdown table does not stand. Without kCeny
// the suite's earlier tool copied the price as it was and dropped the column, and divides
// the prices by the quantities, and the raw materials' values likewise, only once the
// last number prefix column (nag_pzs) is added, right before it makes the breakdown
// table. Before that prefix column the prices are divided here; after it nothing in the
// database tells whether they and the raw materials' values were divided, and the step
// stops where rows would be divided. The lines that kCeny lists unmarked are divided,
// each line once (two lines of one key both), in the statement that marks their key.
void Ceny_Po_Wczesniejszym(ClsKonwersje& k) {
    if (k.Jest_Tabela(kRozbicie) || !Zmiany_Linii(k) ||
        !k.Jest_Tabela("dok_PRO_Zawart", "ZDDOUT_CENA_N"))
        return;
    const std::string suma = Suma_Zmian(), c = kCeny;
    if (!k.Jest_Tabela(c) && k.Jest_Tabela("sposob_numeracji", "nag_pzs") &&
        (k.Liczba_Z_Zapytania("count(*) from dok_PRO_Zawart where Nz(ZDDOUT_CENA_N,0)<>0 and " +
                              suma + "<>0 and " + suma + "<>1") > 0 ||
         k.Liczba_Z_Zapytania("count(*) from DOK_PRO_surowce where Nz(wartosc,0)<>0 and "
                              "Nz(ilosc,0)<>0 and ilosc<>1") > 0))
        ClsKonwersje::Konwersja_Przerwana(
            407,
            "po przeniesieniu cen pozycji produkcji do kolumny ZDDOUT_CENA_N i dodaniu kolumny "
            "nag_pzs tabeli sposob_numeracji; ceny pozycji produkcji i wartości surowców mogły "
            "zostać już podzielone przez ich ilości");
    if (!k.Jest_Tabela(c))
        k.DbWykonajKonwersje("SELECT DISTINCT ddout_id,PROD_ID,0 AS Zrobione INTO [" + c +
                             "] FROM dok_PRO_Zawart");
    Zmien_Raz(k, "dok_PRO_Zawart", c, {"ddout_id", "PROD_ID"}, Cena_Jednostkowa("ZDDOUT_CENA_N"));
}

// Whether a product of document h, in its lines or in its breakdown, is one of document
// s's: a line or a breakdown row of h would then meet s's key.
bool Wspolne_Produkty(ClsKonwersje& k, const std::string& h, const std::string& s) {
    constexpr const char* kTabele[] = {"dok_pro_zawart", kRozbicie};
    for (const char* a : kTabele)
        for (const char* b : kTabele)
            if (k.Liczba_Z_Zapytania("count(*) from [" + std::string(a) + "] as h inner join [" +
                                     b + "] as s on s.PROD_ID=h.PROD_ID where h.ddout_id=" + h +
                                     " and s.ddout_id=" + s) != 0)
                return true;
    return false;
}

// How far an earlier run took document h's shift zmiana: not at all, or its copy or its
// merge decided (the journal's rows are there).
enum class Przebieg { Nowy, Kopia, Scalenie };

// The earlier run's decision for h's shift zmiana, and in s its day's document. With
// none, what that run took of a merge's journal before it decided is dropped.
Przebieg Wczesniejszy(ClsKonwersje& k, const std::string& h, int zmiana, std::string& s) {
    const std::string gdzie = " where H=" + h + " and zmiana=" + std::to_string(zmiana);
    int64_t cel = k.Liczba_Z_Zapytania("top 1 S from [" + std::string(kLinie) + "]" + gdzie);
    if (cel > 0) {
        s = std::to_string(cel);
        return Przebieg::Scalenie;
    }
    cel = k.Liczba_Z_Zapytania("top 1 S from [" + std::string(kKopie) + "]" + gdzie);
    if (cel > 0) {
        s = std::to_string(cel);
        return Przebieg::Kopia;
    }
    k.DbWykonajKonwersje("delete [" + std::string(kRozbicieDnia) + "].* from [" + kRozbicieDnia +
                         "]" + gdzie);
    return Przebieg::Nowy;
}

// Document h's lines and breakdown rows go to the day's document s of shift zmiana.
// Without a product in common they are copied whole and take the shift's share with
// every other line after the loop. With one, a plain copy would meet s's key and be
// refused whole, so s's lines and breakdown are brought to their shift's share (their
// other shifts' quantities 0), and h's contribution to the shift is merged in: per
// product the quantities and values (quantity times unit price) are added, per raw
// material of a product likewise, and what s lacks is added. Each document's share is
// its own, so the sums are those of the two documents split apart. The shift quantities,
// unit prices and breakdown values hold no Null by then (the clean-up before the split
// made each a 0), so that no sum here turns Null and wipes s's own figures.
// The decision and s's rows before the merge are written down first (p: what an earlier
// run wrote down), and every change is made from them and from h, whose rows the split
// never changes: run again, each statement gives what it gave, and a row that is there
// is not added again.
void Kopiuj_Do_Zmiany(ClsKonwersje& k, const std::string& h, const std::string& s, int zmiana,
                      Przebieg p) {
    const std::string z = std::to_string(zmiana);
    const bool nowy = p == Przebieg::Nowy;
    if (nowy) p = Wspolne_Produkty(k, h, s) ? Przebieg::Scalenie : Przebieg::Kopia;
    const std::string rozbicie = kRozbicie;
    if (p == Przebieg::Kopia) {
        if (nowy)
            k.DbWykonajKonwersje("insert into [" + std::string(kKopie) + "] (H,zmiana,S) values (" +
                                 h + "," + z + "," + s + ")");
        // Resumed, only what is not there yet.
        const std::string brak_linii =
            nowy ? ""
                 : " AS h LEFT JOIN [dok_pro_zawart] AS s ON (s.PROD_ID=h.PROD_ID AND "
                   "s.ddout_id=" +
                       s + ")";
        const std::string h_ = nowy ? "" : "h.";
        k.DbWykonajKonwersje(
            "insert into [dok_pro_zawart] "
            "(PROD_ID,ilosc_prod,ilosc_prod2,ilosc_prod3,ZDDOUT_CENA_N,ZDDOUT_ILOSC,ZDDOUT_VAT,"
            "ddout_id) select " +
            h_ + "PROD_ID," + h_ + "ilosc_prod," + h_ + "ilosc_prod2," + h_ + "ilosc_prod3," + h_ +
            "ZDDOUT_CENA_N," + h_ + "ZDDOUT_ILOSC," + h_ + "ZDDOUT_VAT," + s +
            " from [dok_pro_zawart]" + brak_linii + " where " + h_ + "ddout_id=" + h +
            (nowy ? "" : " and s.PROD_ID Is Null"));
        const std::string brak_rozbicia = nowy ? ""
                                               : " AS h LEFT JOIN [" + rozbicie +
                                                     "] AS s ON (s.Prod_id=h.Prod_id AND "
                                                     "s.sur_id=h.sur_id AND s.ddout_id=" +
                                                     s + ")";
        k.DbWykonajKonwersje("insert into [" + rozbicie +
                             "] (sur_id,Ilosc,Prod_id,Wartosc,ddout_id) select " + h_ + "sur_id," +
                             h_ + "Ilosc," + h_ + "Prod_id," + h_ + "Wartosc," + s + " from [" +
                             rozbicie + "]" + brak_rozbicia + " where " + h_ + "ddout_id=" + h +
                             (nowy ? "" : " and s.ddout_id Is Null"));
    } else {
        const std::string q = Ilosc_Zmiany(zmiana);
        std::string inne;
        for (int i = 1; i <= 3; ++i)
            if (i != zmiana) inne += ",s.[" + Ilosc_Zmiany(i) + "]=0";
        const std::string dziennik = " AND b.H=" + h + " AND b.zmiana=" + z;
        // s's breakdown and lines as they are before the merge, the lines last: they are
        // never none, so that their rows say that both are written down.
        if (nowy) {
            k.DbWykonajKonwersje("INSERT INTO [" + std::string(kRozbicieDnia) +
                                 "] (H,zmiana,Prod_id,sur_id,Ilosc,Wartosc) SELECT " + h + "," + z +
                                 ",Prod_id,sur_id,Ilosc,Wartosc FROM [" + rozbicie +
                                 "] WHERE ddout_id=" + s);
            k.DbWykonajKonwersje(
                "INSERT INTO [" + std::string(kLinie) +
                "] (H,zmiana,S,PROD_ID,ilosc_prod,ilosc_prod2,ilosc_prod3,ZDDOUT_CENA_N) SELECT " +
                h + "," + z + "," + s +
                ",PROD_ID,ilosc_prod,ilosc_prod2,ilosc_prod3,ZDDOUT_CENA_N FROM [dok_pro_zawart] "
                "WHERE ddout_id=" +
                s);
        }
        // s's breakdown at its shift's share (a row without a line of s, or of a line
        // without quantities, whole), its values as they were.
        const std::string suma_l = "(b2.ilosc_prod+b2.ilosc_prod2+b2.ilosc_prod3)";
        k.DbWykonajKonwersje(
            "UPDATE ([" + rozbicie + "] AS s INNER JOIN [" + kRozbicieDnia +
            "] AS b ON (b.Prod_id=s.Prod_id AND b.sur_id=s.sur_id)) LEFT JOIN [" + kLinie +
            "] AS b2 ON (b2.PROD_ID=s.Prod_id AND b2.H=b.H AND b2.zmiana=b.zmiana) SET "
            "s.Ilosc=IIf(b2.PROD_ID Is Null,b.Ilosc,IIf(" +
            suma_l + "=0,b.Ilosc,b.Ilosc*(b2.[" + q + "]/IIf(" + suma_l + "=0,1," + suma_l +
            ")))),s.Wartosc=b.Wartosc WHERE s.ddout_id=" + s + dziennik);
        // s's lines at their shift's quantity, h's merged in where s has the product.
        k.DbWykonajKonwersje(
            "UPDATE ([dok_pro_zawart] AS s INNER JOIN [" + std::string(kLinie) +
            "] AS b ON b.PROD_ID=s.PROD_ID) LEFT JOIN [dok_pro_zawart] AS h ON "
            "(h.PROD_ID=s.PROD_ID AND h.ddout_id=" +
            h + ") SET s.ZDDOUT_CENA_N=IIf(h.PROD_ID Is Null,b.ZDDOUT_CENA_N,IIf(b.[" + q +
            "]+h.[" + q + "]=0,b.ZDDOUT_CENA_N,(b.[" + q + "]*b.ZDDOUT_CENA_N+h.[" + q +
            "]*h.ZDDOUT_CENA_N)/IIf(b.[" + q + "]+h.[" + q + "]=0,1,b.[" + q + "]+h.[" + q +
            "]))),s.ZDDOUT_ILOSC=b.[" + q + "]+Nz(h.[" + q + "],0),s.[" + q + "]=b.[" + q +
            "]+Nz(h.[" + q + "],0)" + inne + " WHERE s.ddout_id=" + s + dziennik);
        // h's lines that s lacks.
        std::string ilosci;
        for (int i = 1; i <= 3; ++i) ilosci += i == zmiana ? ",h.[" + q + "]" : ",0";
        k.DbWykonajKonwersje(
            "INSERT INTO [dok_pro_zawart] "
            "(PROD_ID,ilosc_prod,ilosc_prod2,ilosc_prod3,ZDDOUT_CENA_N,ZDDOUT_ILOSC,ZDDOUT_VAT,"
            "ddout_id) SELECT h.PROD_ID" +
            ilosci + ",h.ZDDOUT_CENA_N,h.[" + q + "],h.ZDDOUT_VAT," + s +
            " FROM [dok_pro_zawart] AS h LEFT JOIN [dok_pro_zawart] AS s ON "
            "(s.PROD_ID=h.PROD_ID AND s.ddout_id=" +
            s + ") WHERE h.ddout_id=" + h + " AND s.PROD_ID Is Null");
        // h's breakdown at h's share: merged into the rows s had, added where s has none.
        const std::string c = Udzial_Rozbicia(q);
        k.DbWykonajKonwersje(
            "UPDATE (([" + rozbicie + "] AS s INNER JOIN [" + kRozbicieDnia +
            "] AS b ON (b.Prod_id=s.Prod_id AND b.sur_id=s.sur_id)) INNER JOIN [" + rozbicie +
            "] AS h ON (s.Prod_id=h.Prod_id AND s.sur_id=h.sur_id)) LEFT JOIN [DOK_PRO_Zawart] "
            "AS z ON (z.ddout_id=h.ddout_id AND z.PROD_ID=h.Prod_id) SET s.Wartosc=IIf(s.Ilosc+" +
            c + "=0,s.Wartosc,(s.Ilosc*s.Wartosc+" + c + "*h.Wartosc)/(s.Ilosc+" + c +
            ")),s.Ilosc=s.Ilosc+" + c + " WHERE s.ddout_id=" + s + " AND h.ddout_id=" + h +
            dziennik);
        k.DbWykonajKonwersje("INSERT INTO [" + rozbicie +
                             "] (sur_id,Ilosc,Prod_id,Wartosc,ddout_id) "
                             "SELECT h.sur_id," +
                             c + ",h.Prod_id,h.Wartosc," + s + " FROM ([" + rozbicie +
                             "] AS h LEFT JOIN [" + rozbicie +
                             "] AS s ON "
                             "(s.Prod_id=h.Prod_id AND s.sur_id=h.sur_id AND s.ddout_id=" +
                             s +
                             ")) LEFT JOIN [DOK_PRO_Zawart] AS z ON (z.ddout_id=h.ddout_id AND "
                             "z.PROD_ID=h.Prod_id) WHERE h.ddout_id=" +
                             h + " AND s.ddout_id Is Null");
    }
    // The shift's quantities live in columns that the step drops: every line and
    // breakdown row of h must have its counterpart in s by then.
    for (const char* t : {"DOK_PRO_ZAWART", kRozbicie}) {
        const std::string tabela = t;
        const std::string klucz = tabela == "DOK_PRO_ZAWART"
                                      ? "s.PROD_ID=h.PROD_ID"
                                      : "s.Prod_id=h.Prod_id AND s.sur_id=h.sur_id";
        k.Sprawdz_Przeniesienie(tabela, tabela + " (DDOUT_ID=" + s + ")",
                                "[" + tabela + "] where ddout_id=" + h,
                                "[" + tabela + "] AS h INNER JOIN [" + tabela + "] AS s ON (" +
                                    klucz + ") where h.ddout_id=" + h + " AND s.ddout_id=" + s);
    }
}

// The breakdown of the lines, each raw material at its value per unit: made from the
// breakdown of the production lines that have a quantity (a breakdown row goes with its
// line), without rows of no quantity, with the unit values in a column of their own that
// is carried into Wartosc, after the key, and dropped. Its table says that the clean-up
// before the split is made.
void Rozbicie(ClsKonwersje& k, bool zrob) {
    const std::string r = kRozbicie;
    if (zrob)
        k.DbWykonajKonwersje(
            "SELECT DOK_PRO_ZAWART_SUROWCE.*,Nz(DOK_PRO_ZAWART_SUROWCE.Wartosc,0)/"
            "DOK_PRO_ZAWART_SUROWCE.Ilosc AS [" +
            std::string(kWartoscJedn) + "] INTO [" + r +
            "] FROM DOK_PRO_ZAWART_SUROWCE LEFT JOIN DOK_PRO_ZAWART AS z ON "
            "(z.ddout_id=DOK_PRO_ZAWART_SUROWCE.ddout_id AND "
            "z.PROD_ID=DOK_PRO_ZAWART_SUROWCE.Prod_id) WHERE "
            "Nz(DOK_PRO_ZAWART_SUROWCE.Ilosc,0)<>0 AND (z.PROD_ID Is Null OR "
            "Nz(z.ilosc_prod,0)+Nz(z.ilosc_prod2,0)+Nz(z.ilosc_prod3,0)<>0)");
    if (k.Jest_Tabela(r, kWartoscJedn)) {
        Utworz_Klucz_Podstawowy(r, "DDOUT_ID asc,PROD_ID asc,sur_ID asc");
        k.DbWykonajKonwersje("UPDATE [" + r + "] set wartosc=[" + kWartoscJedn + "]");
        Usun_Pole(r, kWartoscJedn);
    }
}

// Operations 14.4 to 14.6: the lines' shift quantities and breakdown rows split among the
// documents of the shifts.
void Podziel_Zmiany(ClsKonwersje& k, bool wznowienie) {
    // The lines that have no quantity go (their breakdown did not enter the split), and
    // a shift without a quantity counts as 0 from here on, so that no sum of the split or
    // of a merge into the day's shift document turns Null. Only documents the split has
    // not reached yet: a line of a day's document that a merge left at 0 goes with the
    // other empty lines after the split.
    const std::string suma = Suma_Zmian();
    k.DbWykonajKonwersje(
        "delete DOK_PRO_ZAWART.* from  DOK_PRO_ZAWART inner join DOK_PRO on "
        "DOK_PRO.DDOUT_ID=DOK_PRO_ZAWART.ddout_id where (DOK_PRO.nr_zM_PROD=0 or "
        "DOK_PRO.nr_zM_PROD is null) and " +
        suma + "=0");
    std::string zmiany;
    for (int z = 1; z <= 3; ++z)
        zmiany += std::string(z == 1 ? "" : ",") + "[" + Ilosc_Zmiany(z) + "]=Nz([" +
                  Ilosc_Zmiany(z) + "],0)";
    k.DbWykonajKonwersje("UPDATE DOK_PRO_ZAWART set " + zmiany);

    // 14.4. Each unassigned document takes the first shift it has quantities in; the
    // lines and breakdown of each further shift are copied to that day's document of the
    // shift, made when there is none. A document without an issue date shares the
    // documents of no date.
    std::unique_ptr<ado::Recordset> h;
    std::unique_ptr<ado::Recordset> l;
    if (k.DbOtwórzSELKonwersje(h,
                               "konh_id,[DDOUT_DATA_WYST],[nr_zM_PROD],[DDOUT_ID],[DDOUT_WART_N],["
                               "DDOUT_NUMER],[id_GRProd] from [dok_pro] where nr_zM_PROD=0 or "
                               "nr_zM_PROD is null order by DDOUT_DATA_WYST asc,ddout_id asc") >
        0) {
        for (; !h->Eof(); h->MoveNext()) {
            const jet::Value data = h->Fields(1).value();
            const std::string id = NzStr(h->Fields(3).value());
            Pokaz_Postep("", "", NzStr(data));
            h->Fields(2) = jet::Value::long_(0);
            const std::string linie =
                "top 1 prod_id,ilosc_prod,ilosc_prod2,ilosc_prod3,ZDDOUT_ILOSC,ZDDOUT_CENA_N from "
                "[dok_pro_zawart] where ddout_id=" +
                id;
            if (k.DbOtwórzSELKonwersje(l, linie + " and ilosc_prod>0") >= 1)
                h->Fields(2) = jet::Value::long_(1);
            k.ZamknijRSKonwersje(l);
            for (int zmiana = 2; zmiana <= 3; ++zmiana) {
                const std::string z = std::to_string(zmiana);
                if (k.DbOtwórzSELKonwersje(l, linie + " and ilosc_prod" + z + ">0") >= 1) {
                    if (NzLng(h->Fields(2).value()) == 0) {
                        h->Fields(2) = jet::Value::long_(zmiana);
                    } else {
                        k.ZamknijRSKonwersje(l);
                        std::string cel;
                        const Przebieg p =
                            wznowienie ? Wczesniejszy(k, id, zmiana, cel) : Przebieg::Nowy;
                        if (p == Przebieg::Nowy) {
                            const std::string dzien =
                                data.is_null() ? "[DDOUT_DATA_WYST] Is Null"
                                               : Warunek_Okres(data.to_date(), "[DDOUT_DATA_WYST]",
                                                               data.to_date());
                            if (k.DbOtwórzSELKonwersje(
                                    l,
                                    "top 1 [DDOUT_DATA_WYST],[nr_zM_PROD],DDOUT_ID from [dok_pro] "
                                    "where [nr_zM_PROD]=" +
                                        z + " and " + dzien) < 1) {
                                ado::Recordset& s = kroki::Rekordy(l);
                                s.AddNew();
                                s.Fields(0) = data;
                                s.Fields(1) = jet::Value::long_(zmiana);
                                s.UpdateBatch();
                            }
                            cel = NzStr(kroki::Rekordy(l).Fields(2).value());
                        }
                        Kopiuj_Do_Zmiany(k, id, cel, zmiana, p);
                    }
                }
                k.ZamknijRSKonwersje(l);
            }
            h->UpdateBatch();
        }
    }
    k.ZamknijRSKonwersje(h);

    // 14.5-6. Each line keeps the quantity of its document's shift at the unit price of
    // the whole line, and each breakdown row the shift's share of its quantity at its
    // unit price, so that the documents of the shifts add up to the document they were
    // cut from. The shares are taken in one statement, before the journals go, and
    // carried while they stand.
    for (int zmiana = 1; zmiana <= 3; ++zmiana) {
        const std::string kolumna = Ilosc_Zmiany(zmiana);
        k.DbWykonajKonwersje(
            "UPDATE DOK_PRO_Zawart INNER JOIN DOK_PRO ON DOK_PRO_Zawart.ddout_id = "
            "DOK_PRO.DDOUT_ID "
            "SET DOK_PRO_Zawart.ZDDOUT_ILOSC = " +
            kolumna + " WHERE ((([nr_zM_PROD])=" + std::to_string(zmiana) +
            ")) and [ilosc_prod]+[ilosc_prod2]+[ilosc_prod3]<>0");
    }
    const std::string r = kRozbicie, u = kUdzial;
    if (!k.Jest_Tabela(u))
        k.DbWykonajKonwersje("SELECT ddout_id,PROD_ID,[ZDDOUT_ILOSC]/(" + suma +
                             ") AS Udzial,0 AS Zrobione INTO [" + u +
                             "] FROM DOK_PRO_Zawart where " + suma + "<>0");
    for (const char* t : {kKopie, kLinie, kRozbicieDnia})
        k.DbWykonajKonwersje("drop table [" + std::string(t) + "]");
    Zmien_Raz(k, r, u, {"ddout_id", "Prod_id"}, "[" + r + "].Ilosc=[" + r + "].Ilosc*p.Udzial");
}

// The suite's earlier tool's split has given documents their shifts: it copies a
// document's lines and breakdown to the day's document of each further shift before it
// gives the document its own, and takes the breakdown's shift shares after the split,
// none of which leaves a fact in the database. The step stops where what it would copy
// or share may have been copied or shared: a document that the split has not given a
// shift, with quantities in a further shift whose day's document shares a product with
// it, or a breakdown row of a line with quantities in two shifts.
void Podzial_Wczesniejszy(ClsKonwersje& k) {
    std::string w_zmianach;
    for (int z = 1; z <= 3; ++z)
        w_zmianach += std::string(z == 1 ? "" : "+") + "IIf(z.[" + Ilosc_Zmiany(z) + "]>0,1,0)";
    bool moglo = k.Liczba_Z_Zapytania("count(*) from [" + std::string(kRozbicie) +
                                      "] AS r INNER JOIN DOK_PRO_ZAWART AS z ON "
                                      "(z.ddout_id=r.ddout_id AND z.PROD_ID=r.Prod_id) where " +
                                      w_zmianach + ">1") > 0;
    std::unique_ptr<ado::Recordset> h;
    if (!moglo && k.DbOtwórzSELKonwersje(h,
                                         "[DDOUT_ID],[DDOUT_DATA_WYST] from [dok_pro] where "
                                         "Nz(nr_zM_PROD,0)=0") > 0) {
        for (; !moglo && !h->Eof(); h->MoveNext()) {
            const std::string id = NzStr(h->Fields(0).value());
            const jet::Value data = h->Fields(1).value();
            const std::string dzien =
                data.is_null() ? "[DDOUT_DATA_WYST] Is Null"
                               : Warunek_Okres(data.to_date(), "[DDOUT_DATA_WYST]", data.to_date());
            bool wczesniej = false;
            for (int z = 1; z <= 3 && !moglo; ++z) {
                const bool jest = k.Liczba_Z_Zapytania(
                                      "count(*) from [dok_pro_zawart] where "
                                      "ddout_id=" +
                                      id + " and [" + Ilosc_Zmiany(z) + "]>0") > 0;
                if (jest && wczesniej) {
                    const int64_t s = k.Liczba_Z_Zapytania(
                        "top 1 DDOUT_ID from [dok_pro] where [nr_zM_PROD]=" + std::to_string(z) +
                        " and " + dzien);
                    moglo = s > 0 && Wspolne_Produkty(k, id, std::to_string(s));
                }
                wczesniej = wczesniej || jest;
            }
        }
    }
    k.ZamknijRSKonwersje(h);
    if (moglo)
        ClsKonwersje::Konwersja_Przerwana(
            407,
            "w trakcie podziału dokumentów produkcji na zmiany; pozycje dokumentu mogły zostać "
            "już skopiowane do dokumentu zmiany z tego dnia albo rozbicie surowców już "
            "podzielone między zmiany");
}

// Operations 14 to 17.
void Podzial_Produkcji(ClsKonwersje& k) {
    // The split reads the lines' three shift columns, which go once it is made: lines
    // without them were split by an earlier run. The breakdown table is made after the
    // clean-up before the split, and stays.
    const bool zmiany = Zmiany_Linii(k);
    const bool rozbicie = k.Jest_Tabela(kRozbicie);
    const bool wznowienie = k.Jest_Tabela(kKopie);
    // A breakdown table with none of the split's work tables or columns beside it is the
    // suite's earlier tool's, which keys it, divides its values and then splits: before
    // the split has given a document its shift it is made again from the lines'
    // breakdown, which the step never changes.
    bool nowe_rozbicie = !rozbicie;
    if (zmiany && rozbicie && !wznowienie && !k.Jest_Tabela(kRozbicie, kWartoscJedn) &&
        !k.Jest_Tabela(kUdzial)) {
        if (k.Liczba_Z_Zapytania("count(*) from [dok_pro] where Nz(nr_zM_PROD,0)<>0") > 0) {
            Podzial_Wczesniejszy(k);
        } else {
            k.DbWykonajKonwersje("drop table [" + std::string(kRozbicie) + "]");
            nowe_rozbicie = true;
        }
    }

    // 14.1-3. Raw materials at their value per unit, and the payment date of every
    // production document before the split makes the shift documents, which have none.
    // A raw material without a quantity (Null) has none: its row goes.
    const std::string surowce = kSurowce;
    if (nowe_rozbicie)
        k.DbWykonajKonwersje("UPDATE DOK_PRO set ddout_Termin_zaplaty=DDOUT_DATA_WYST");
    if (!rozbicie && zmiany) {
        k.DbWykonajKonwersje("delete DOK_PRO_surowce.* from  DOK_PRO_surowce where Nz(ilosc,0)=0");
        if (!k.Jest_Tabela(surowce))
            k.DbWykonajKonwersje("SELECT DISTINCT ddout_id,sur_id,0 AS Zrobione INTO [" + surowce +
                                 "] FROM DOK_PRO_surowce");
    }
    if (k.Jest_Tabela(surowce))
        Zmien_Raz(k, "DOK_PRO_surowce", surowce, {"ddout_id", "sur_id"},
                  "[DOK_PRO_surowce].wartosc=Nz([DOK_PRO_surowce].wartosc,0)/"
                  "[DOK_PRO_surowce].ilosc");
    if (zmiany) {
        // The split's journals stand from before the breakdown table is made until its
        // shares are taken.
        k.DbWykonajKonwersje("CREATE TABLE [" + std::string(kKopie) +
                             "] (H long,zmiana long,S long)");
        k.DbWykonajKonwersje("CREATE TABLE [" + std::string(kLinie) +
                             "] (H long,zmiana long,S long,PROD_ID long,ilosc_prod "
                             "single,ilosc_prod2 single,ilosc_prod3 single,ZDDOUT_CENA_N money)");
        k.DbWykonajKonwersje("CREATE TABLE [" + std::string(kRozbicieDnia) +
                             "] (H long,zmiana long,Prod_id long,sur_id long,Ilosc "
                             "single,Wartosc money)");
        Rozbicie(k, nowe_rozbicie);
        if (k.Jest_Tabela(surowce)) k.DbWykonajKonwersje("drop table [" + surowce + "]");
    }
    if (k.Jest_Tabela(kCeny)) k.DbWykonajKonwersje("drop table [" + std::string(kCeny) + "]");
    if (zmiany) Podziel_Zmiany(k, wznowienie);
    // 16.1. The shift columns go as soon as the split is made.
    for (const char* kol : {"ilosc_prod", "ilosc_prod2", "ilosc_prod3"})
        Usun_Pole("dok_pro_zawart", kol);
    if (k.Jest_Tabela(kUdzial)) k.DbWykonajKonwersje("drop table [" + std::string(kUdzial) + "]");

    // 14.7-8. What is left empty goes; every document gets a placeholder number that no
    // new number can clash with.
    k.DbWykonajKonwersje("delete DOK_PRO_zawart.* from DOK_PRO_Zawart where ZDDOUT_ILOSC=0");
    k.DbWykonajKonwersje(
        "delete DOK_PRS_ZAWART_ROZBICIE.* from DOK_PRS_ZAWART_ROZBICIE where Ilosc=0");
    k.DbWykonajKonwersje("delete DOK_PRO_SUROWCE.* from DOK_PRO_SUROWCE where Ilosc=0");
    k.DbWykonajKonwersje(
        "delete DOK_PRO.* from DOK_PRO left join DOK_PRO_Zawart on "
        "DOK_PRO.ddout_id=DOK_PRO_Zawart.ddout_id where DOK_PRO_Zawart.ddout_id is null");
    k.DbWykonajKonwersje(
        "update [dok_pro] set konh_id=0,[DDOUT_NUMER]='ssTT' & VAL(DDOUT_ID),num_ndok=0");

    // 15. New numbers in the order issue date, id. The numbering period follows the
    // database's setting, so that a run resumed at this step numbers as an uninterrupted
    // one does. Documents without an issue date fall in no period that the next number is
    // looked for in: they are proposed the numbers 1, 2, ... of their own, in order.
    Numeracja_Miesieczna = k.Czytaj_SetupKonwersje("roczna") == "0";
    int32_t bez_daty = 0;
    std::unique_ptr<ado::Recordset> r;
    if (k.DbOtwórzSELKonwersje(r,
                               "konh_id,[DDOUT_DATA_WYST],[nr_zM_PROD],[DDOUT_ID],[DDOUT_WART_N],["
                               "DDOUT_NUMER] from [dok_pro] order by DDOUT_DATA_WYST asc,ddout_id "
                               "asc") > 0) {
        for (; !r->Eof(); r->MoveNext()) {
            const jet::Value data = r->Fields(1).value();
            Pokaz_Postep("", "", NzStr(data));
            Data_Dzisiaj = data.is_null() ? 0 : data.to_date();
            const int32_t konh = NzLng(r->Fields(0).value());
            const int32_t id = NzLng(r->Fields(3).value());
            for (int proby = 1;; ++proby) {
                const std::string tekst = k.Naglowek_Numeru_Dokumentu("produkcja", "", konh, 0, 0);
                const int32_t numer = k.Nastepny_Numer_Dokumentu(
                    konh, Data_Dzisiaj, "produkcja", data.is_null() ? ++bez_daty : 0, "", id, 0);
                if (k.Zapisz_Numer_Dokumentu("produkcja", numer, tekst, "", konh, id, 0)) break;
                if (proby >= kProbyNumeru)
                    Blad_Krytyczny("Konwersja_407", "DOK_PRO DDOUT_ID=" + std::to_string(id),
                                   "Mam problemy z nadaniem numeru dokumentu.");
            }
        }
    }
    k.ZamknijRSKonwersje(r);

    // 16. The production-consumption kinds: PRS holds the shift-1 documents and, per
    // document and raw material, the quantity used at its average unit price; PZS is
    // empty.
    k.DbWykonajKonwersje("drop table DOK_PRS");
    k.DbWykonajKonwersje("drop table DOK_PRS_Zawart");
    k.DbWykonajKonwersje("SELECT DOK_PRO.* INTO DOK_PRS FROM DOK_PRO where nr_zM_PROD=1");
    k.DbWykonajKonwersje("SELECT DOK_PRO_ZAWART.* INTO DOK_PRS_ZAWART FROM DOK_PRO_ZAWART");
    k.DbWykonajKonwersjeNoErr("CREATE UNIQUE INDEX UnicNumer ON DOK_PRS (DDOUT_NUMER)");
    Utworz_Klucze_Z_Zawart("DOK_PRS", "DDOUT_ID asc", "PROD_ID asc");
    k.DbWykonajKonwersje("Delete * from DOK_PRS_ZAWART");
    k.DbWykonajKonwersje(
        "insert into [DOK_PRS_zawart] (ddout_id,prod_id,ZDDOUT_ILOSC,ZDDOUT_CENA_N) select "
        "ddout_id,sur_id,sum(Ilosc),sum(Ilosc*Wartosc)/IIf(sum(Ilosc)=0,1,sum(Ilosc)) from "
        "DOK_PRS_ZAWART_ROZBICIE group by  ddout_id,sur_id");
    k.DbWykonajKonwersje("UPDATE DOK_PRO SET DOK_PRO.ID_Poszlo_do_zuzycia=ddout_id");
    k.DbWykonajKonwersje("UPDATE DOK_PRs SET DOK_PRs.ID_Poszlo_do_zuzycia=ddout_id");
    k.DbWykonajKonwersje("drop table DOK_PZS");
    k.DbWykonajKonwersje("drop table DOK_PZS_Zawart");
    k.DbWykonajKonwersje("SELECT DOK_PRO.* INTO DOK_PZS FROM DOK_PRO");
    k.DbWykonajKonwersje("SELECT DOK_PRO_ZAWART.* INTO DOK_PZS_ZAWART FROM DOK_PRO_ZAWART");
    k.DbWykonajKonwersjeNoErr("CREATE UNIQUE INDEX UnicNumer ON DOK_PZS (DDOUT_NUMER)");
    Utworz_Klucze_Z_Zawart("DOK_PZS", "DDOUT_ID asc", "PROD_ID asc");
    k.DbWykonajKonwersje("Delete * from DOK_PZS");
    k.DbWykonajKonwersje("Delete * from DOK_PZS_ZAWART");

    // 17. Net values of the production documents from their lines.
    for (const char* t : {"PRO", "PRs", "Pzs"}) {
        const std::string d = std::string("DOK_") + t;
        k.DbWykonajUPDKonwersje("[" + d + "] set DDOUT_WART_N=0", "", "", "");
        k.DbWykonajUPDKonwersje(
            "[" + d + "] inner join [" + d + "_ZAWART] on [" + d + "].[ddout_id]=[" + d +
                "_ZAWART].[DDOUT_ID] set " + (d == "DOK_Pzs" ? "" : d + ".") + "DDOUT_WART_N=" +
                (d == "DOK_Pzs" ? "" : d + ".") + "DDOUT_WART_N+ZDDOUT_ILOSC*ZDDOUT_CENA_N",
            "", "", "");
    }
}

}  // namespace

void ClsKonwersje::Konwersja_407() {
    // 1-2. Every index named "ind" & one of its table's columns goes, except in the
    // system, work and paste-error tables and in Nieruszac.
    kroki::Przebieg_DAO(*this, [this](dao::TableDef& td) {
        const std::string tabela = td.Name();
        if (tabela.empty() || tabela[0] == '_' || tabela == "Błędy wklejania") return;
        if (jet::text::upper(tabela) == "NIERUSZAC") return;
        Pokaz_Postep("", "", tabela);
        const int pol = td.FieldCount();
        for (int i = 0; i < pol; ++i)
            DbWykonajKonwersjeNoErr("drop index [ind" + td.Fields(i).Name() + "] on [" + tabela +
                                    "]");
    });

    // 3-4. Production group and number prefixes.
    DbWykonajKonwersje("alter table PRODUKTY ADD COLUMN [id_GRProd] int DEFAULT 0");
    for (const char* t : kNaglowki) DbWykonajKonwersje(Dodaj(t, "id_GRProd", "int DEFAULT 0"));
    for (const char* n : {"nag_pro", "nag_dar", "nag_zak", "nag_wz", "nag_pz", "nag_zam"})
        DbWykonajKonwersje(Dodaj("sposob_numeracji", n, "text(50)"));

    // 5. Line columns of PW, RW and PRO, where the old ones are still there. The old
    // columns go after the copy, the price first: without it the copy was made, and what
    // an earlier run left of the others goes too. A production line's unit price is its
    // value over its three shift quantities, read from the old column while it stands;
    // kCeny, made first, says that the prices are per unit once it is gone.
    for (const char* t : {"dok_PW_Zawart", "dok_RW_Zawart", "dok_PRO_Zawart"}) {
        const std::string tabela = t;
        const bool pro = tabela == "dok_PRO_Zawart";
        std::unique_ptr<ado::Recordset> proba;
        const int32_t n = DbOtwórzSELKonwersje(proba, "top 1 WSPRZ_CENA_B from " + tabela, true);
        ZamknijRSKonwersje(proba);
        if (n < 0) {
            if (pro)
                Ceny_Po_Wczesniejszym(*this);
            else if (Jest_Tabela(tabela, "ZDDOUT_VAT"))
                for (const char* k : {"WSPRZ_ILOSC", "WSPRZ_CENA_VAT"})
                    if (Jest_Tabela(tabela, k)) Usun_Pole(tabela, k);
            continue;
        }
        DbWykonajKonwersje(Dodaj(tabela, "ZDDOUT_CENA_N", "money DEFAULT 0"));
        DbWykonajKonwersje(Dodaj(tabela, "ZDDOUT_ILOSC", "Single DEFAULT 0"));
        DbWykonajKonwersje(Dodaj(tabela, "ZDDOUT_VAT", "Text (4)"));
        if (pro) {
            if (!Jest_Tabela(kCeny))
                DbWykonajKonwersje("CREATE TABLE [" + std::string(kCeny) +
                                   "] (ddout_id long,PROD_ID long,Zrobione long)");
            DbWykonajKonwersje("UPDATE dok_PRO_Zawart SET " + Cena_Jednostkowa("WSPRZ_CENA_B") +
                               ",[ZDDOUT_ILOSC]=" + Suma_Zmian() + ",[ZDDOUT_VAT]=0");
            Usun_Pole(tabela, "WSPRZ_CENA_B");
        } else {
            DbWykonajKonwersje(
                "update [" + tabela +
                "] set "
                "[ZDDOUT_CENA_N]=[WSPRZ_CENA_B],[ZDDOUT_ILOSC]=[WSPRZ_ILOSC],[ZDDOUT_"
                "VAT]=[WSPRZ_CENA_VAT]");
            for (const char* k : {"WSPRZ_CENA_B", "WSPRZ_ILOSC", "WSPRZ_CENA_VAT"})
                Usun_Pole(tabela, k);
        }
    }

    // 6. One column set for the document headers.
    for (const Ujednolicenie& u : Ujednolicenia()) {
        for (const Kolumna& k : u.przed) DbWykonajKonwersje(Dodaj(u.tabela, k.nazwa, k.typ));
        for (const char* k : u.usuniete) Usun_Pole(u.tabela, k);
        for (const Kolumna& k : u.po) DbWykonajKonwersje(Dodaj(u.tabela, k.nazwa, k.typ));
    }

    // 7. Donations: an empty copy of the returns.
    DbWykonajKonwersje("drop table DOK_DAR");
    DbWykonajKonwersje("drop table DOK_DAR_Zawart");
    DbWykonajKonwersje("SELECT DOK_Dz.* INTO DOK_DAR FROM DOK_Dz");
    DbWykonajKonwersje("SELECT DOK_Dz_ZAWART.* INTO DOK_DAR_ZAWART FROM DOK_Dz_ZAWART");
    DbWykonajKonwersje("Delete * from DOK_DAR");
    DbWykonajKonwersje("Delete * from  DOK_DAR_ZAWART");
    // The shift and link columns that an earlier run already gave the returns came with
    // the copy, without their defaults: they go, and are added again below.
    for (const char* kol : kKolumnyZmian)
        if (Jest_Tabela("DOK_DAR", kol)) Usun_Pole("DOK_DAR", kol);
    DbWykonajKonwersjeNoErr("CREATE UNIQUE INDEX UnicNumer ON DOK_DAR (DDOUT_NUMER)");
    Utworz_Klucze_Z_Zawart("DOK_DAR", "DDOUT_ID asc", "PROD_ID asc");

    // 8. The production header takes the columns of the others.
    DbWykonajKonwersje("alter table  [dok_pro] drop column  [Remanent]");
    for (int i = 0; i < static_cast<int>(std::size(kKolumnyPro)); ++i) {
        const Kolumna& k = kKolumnyPro[i];
        const std::string nazwa =
            i < kBezNawiasow ? std::string(k.nazwa) : "[" + std::string(k.nazwa) + "]";
        DbWykonajKonwersje("alter table  [dok_pro] ADD COLUMN " + nazwa + " " + k.typ);
    }

    Grupy_Produkcyjne(*this);
    Podzial_Produkcji(*this);
}
