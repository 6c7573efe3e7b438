// Step 4.07: single-field indexes dropped schema-wide, one column set for all document
// headers, the donation kind DAR, production groups, shift and consumption-link columns;
// then every production document cut into one document per shift, renumbered in date
// order, and the production-consumption kinds PRS and PZS.
#include <cstdint>
#include <initializer_list>
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
                               "order by Grupa_w_Zam,PROD_ID",
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
    return "Nz([ilosc_prod],0)+Nz([ilosc_prod2],0)+Nz([ilosc_prod3],0)";
}

constexpr const char* kRozbicie = "DOK_PRS_ZAWART_ROZBICIE";

// The split's work table, the step's own, made before the breakdown table and dropped at
// the split's end: the sums over the rows of one key (document D, product PROD_ID, and
// raw material sur_id for the breakdown), so that a join meets each key once where a
// database that step 3.60 could not key repeats lines or breakdown rows of one key. Q is
// a quantity, T the lines' three shift quantities, W the value of Q, C the rows.
constexpr const char* kKlucze = "_Klucze_Podzialu";

// kKlucze filled anew with the production lines that gdzie selects, one row per document
// and product whose sums meet ktore: Q the sum of ilosc over its lines, T of their three
// shift quantities, W of ilosc times the unit price (a price not given counts as none), C
// the number of lines.
void Linie_Po_Kluczu(ClsKonwersje& k, const std::string& gdzie, const std::string& ilosc,
                     const std::string& ktore = "") {
    const std::string t = kKlucze;
    k.DbWykonajKonwersje("DELETE * FROM [" + t + "]");
    k.DbWykonajKonwersje("INSERT INTO [" + t +
                         "] (D,PROD_ID,Q,T,W,C) SELECT ddout_id,PROD_ID,Sum(" + ilosc + "),Sum(" +
                         Suma_Zmian() + "),Sum((" + ilosc +
                         ")*Nz(ZDDOUT_CENA_N,0)),Count(*) FROM [dok_pro_zawart]" +
                         (gdzie.empty() ? "" : " WHERE " + gdzie) + " GROUP BY ddout_id,PROD_ID" +
                         (ktore.empty() ? "" : " HAVING " + ktore));
}

// Whether the production lines still hold their three shift columns: the split has not
// been made.
bool Zmiany_Linii(ClsKonwersje& k) {
    for (int z = 1; z <= 3; ++z)
        if (!k.Jest_Tabela("DOK_PRO_ZAWART", Ilosc_Zmiany(z))) return false;
    return true;
}

// A production line's unit price: its value over its three shift quantities.
std::string Cena_Jednostkowa() {
    const std::string suma = Suma_Zmian();
    return "[ZDDOUT_CENA_N]=Nz([ZDDOUT_CENA_N],0)/IIf(" + suma + "=0,1," + suma + ")";
}

// The old price column is gone, the shift columns stand and the breakdown table does
// not: the lines' values were copied whole as their prices, and the split divides them
// by the lines' quantities, and the raw materials' values likewise, right before it makes
// the breakdown table. The suite's earlier tool adds the last number prefix column
// (nag_pzs) before it divides them: after that column nothing in the database tells
// whether they were divided, and the step stops where rows would be divided.
void Ceny_Po_Wczesniejszym(ClsKonwersje& k) {
    if (k.Jest_Tabela(kRozbicie) || !Zmiany_Linii(k) ||
        !k.Jest_Tabela("dok_PRO_Zawart", "ZDDOUT_CENA_N") ||
        !k.Jest_Tabela("sposob_numeracji", "nag_pzs"))
        return;
    const std::string suma = Suma_Zmian();
    if (k.Liczba_Z_Zapytania("count(*) from dok_PRO_Zawart where Nz(ZDDOUT_CENA_N,0)<>0 and " +
                             suma + "<>0 and " + suma + "<>1") > 0 ||
        k.Liczba_Z_Zapytania("count(*) from DOK_PRO_surowce where Nz(wartosc,0)<>0 and "
                             "Nz(ilosc,0)<>0 and ilosc<>1") > 0)
        ClsKonwersje::Konwersja_Przerwana(
            407,
            "po przeniesieniu cen pozycji produkcji do kolumny ZDDOUT_CENA_N i dodaniu kolumny "
            "nag_pzs tabeli sposob_numeracji; ceny pozycji produkcji i wartości surowców mogły "
            "zostać już podzielone przez ich ilości");
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

// Document h's lines and breakdown rows go to the day's document s of shift zmiana.
// Without a product in common they are copied whole and take the shift's share with
// every other line after the loop. With one, a plain copy would meet s's key, so s is
// brought to its shift (its lines' other shifts' quantities 0, its breakdown at its
// shift's share) and h's part of the shift is merged in: per product the quantities and
// values (quantity times unit price) are added into one line of s, per raw material of a
// product likewise, and what s lacks is added. Each document's share is its own, so the
// sums are those of the two documents split apart. The lines are met per product
// (kKlucze, a for s's, z for h's): repeated lines of one product are summed, never met
// once each. The shift quantities, unit prices and breakdown values hold no Null by then.
void Kopiuj_Do_Zmiany(ClsKonwersje& k, const std::string& h, const std::string& s, int zmiana) {
    const std::string rozbicie = kRozbicie, t = kKlucze;
    const std::string linie =
        "insert into [dok_pro_zawart] "
        "(PROD_ID,ilosc_prod,ilosc_prod2,ilosc_prod3,ZDDOUT_CENA_N,ZDDOUT_ILOSC,ZDDOUT_VAT,"
        "ddout_id) ";
    if (!Wspolne_Produkty(k, h, s)) {
        k.DbWykonajKonwersje(linie +
                             "select PROD_ID,ilosc_prod,ilosc_prod2,ilosc_prod3,ZDDOUT_CENA_N,"
                             "ZDDOUT_ILOSC,ZDDOUT_VAT," +
                             s + " from [dok_pro_zawart] where ddout_id=" + h);
        k.DbWykonajKonwersje("insert into [" + rozbicie +
                             "] (sur_id,Ilosc,Prod_id,Wartosc,ddout_id) select sur_id,Ilosc,"
                             "Prod_id,Wartosc," +
                             s + " from [" + rozbicie + "] where ddout_id=" + h);
    } else {
        const std::string q = "[" + Ilosc_Zmiany(zmiana) + "]";
        Linie_Po_Kluczu(k, "ddout_id in (" + h + "," + s + ")", q);
        std::string inne, ilosci;
        for (int i = 1; i <= 3; ++i) {
            if (i != zmiana) inne += ",[" + Ilosc_Zmiany(i) + "]=0";
            ilosci += i == zmiana ? ",a.Q+z.Q" : ",0";
        }
        // s's breakdown at its shift's share (a row without a line of s, or of lines
        // without quantities, whole), and s's lines at their shift's quantity.
        k.DbWykonajKonwersje("UPDATE [" + rozbicie + "] AS s INNER JOIN [" + t +
                             "] AS a ON (a.D=s.ddout_id AND a.PROD_ID=s.Prod_id) SET "
                             "s.Ilosc=s.Ilosc*(a.Q/a.T) WHERE s.ddout_id=" +
                             s + " AND a.T<>0");
        k.DbWykonajKonwersje("UPDATE [dok_pro_zawart] SET [ZDDOUT_ILOSC]=" + q + inne +
                             " WHERE ddout_id=" + s);
        // h's part of a product that s has once is added to that line; s's lines of a
        // product that it has more than once become one line with the sums.
        const std::string para = "[" + t + "] AS a INNER JOIN [" + t +
                                 "] AS z ON (z.PROD_ID=a.PROD_ID AND z.D=" + h + " AND a.D=" + s +
                                 ")";
        const std::string cena = "IIf(a.Q+z.Q=0,", po = ",(a.W+z.W)/(a.Q+z.Q))";
        k.DbWykonajKonwersje("UPDATE [dok_pro_zawart] AS s INNER JOIN (" + para +
                             ") ON (a.D=s.ddout_id AND a.PROD_ID=s.PROD_ID) SET "
                             "s.ZDDOUT_CENA_N=" +
                             cena + "s.ZDDOUT_CENA_N" + po + ",s.ZDDOUT_ILOSC=a.Q+z.Q,s." + q +
                             "=a.Q+z.Q WHERE s.ddout_id=" + s + " AND a.C=1");
        k.DbWykonajKonwersje("DELETE s.* FROM [dok_pro_zawart] AS s INNER JOIN (" + para +
                             ") ON (a.D=s.ddout_id AND a.PROD_ID=s.PROD_ID) WHERE s.ddout_id=" + s +
                             " AND a.C>1");
        k.DbWykonajKonwersje(linie + "SELECT a.PROD_ID" + ilosci + "," + cena + "0" + po +
                             ",a.Q+z.Q,'0'," + s + " FROM " + para + " WHERE a.C>1");
        // h's lines of the products that s lacks.
        k.DbWykonajKonwersje(linie + "SELECT h.PROD_ID" +
                             (zmiana == 1   ? ",h." + q + ",0,0"
                              : zmiana == 2 ? ",0,h." + q + ",0"
                                            : ",0,0,h." + q) +
                             ",h.ZDDOUT_CENA_N,h." + q + ",h.ZDDOUT_VAT," + s +
                             " FROM [dok_pro_zawart] AS h LEFT JOIN [" + t +
                             "] AS a ON (a.PROD_ID=h.PROD_ID AND a.D=" + s +
                             ") WHERE h.ddout_id=" + h + " AND a.PROD_ID Is Null");
        // h's breakdown at h's share: merged into the rows s has, added where s has none.
        const std::string c =
            "IIf(z.PROD_ID Is Null,Nz(h.Ilosc,0),IIf(z.T=0,Nz(h.Ilosc,0),Nz(h.Ilosc,0)*(z.Q/z.T)))";
        const std::string udzial =
            " LEFT JOIN [" + t + "] AS z ON (z.D=h.ddout_id AND z.PROD_ID=h.Prod_id)";
        k.DbWykonajKonwersje("UPDATE ([" + rozbicie + "] AS s INNER JOIN [" + rozbicie +
                             "] AS h ON (s.Prod_id=h.Prod_id AND s.sur_id=h.sur_id))" + udzial +
                             " SET s.Wartosc=IIf(Nz(s.Ilosc,0)+" + c +
                             "=0,s.Wartosc,(Nz(s.Ilosc,0)*s.Wartosc+" + c +
                             "*h.Wartosc)/(Nz(s.Ilosc,0)+" + c + ")),s.Ilosc=Nz(s.Ilosc,0)+" + c +
                             " WHERE s.ddout_id=" + s + " AND h.ddout_id=" + h);
        k.DbWykonajKonwersje(
            "INSERT INTO [" + rozbicie +
            "] (sur_id,Ilosc,Prod_id,Wartosc,ddout_id) SELECT h.sur_id," + c +
            ",h.Prod_id,h.Wartosc," + s + " FROM ([" + rozbicie + "] AS h LEFT JOIN [" + rozbicie +
            "] AS s ON (s.Prod_id=h.Prod_id AND s.sur_id=h.sur_id AND "
            "s.ddout_id=" +
            s + "))" + udzial + " WHERE h.ddout_id=" + h + " AND s.ddout_id Is Null");
    }
    // The shift's quantities live in columns that the step drops: every line and
    // breakdown row of h must have its counterpart in s by then.
    for (const char* tb : {"DOK_PRO_ZAWART", kRozbicie}) {
        const std::string tabela = tb;
        const std::string klucz = tabela == "DOK_PRO_ZAWART"
                                      ? "s.PROD_ID=h.PROD_ID"
                                      : "s.Prod_id=h.Prod_id AND s.sur_id=h.sur_id";
        k.Sprawdz_Przeniesienie(tabela, tabela + " (DDOUT_ID=" + s + ")",
                                "[" + tabela + "] where ddout_id=" + h,
                                "[" + tabela + "] AS h INNER JOIN [" + tabela + "] AS s ON (" +
                                    klucz + ") where h.ddout_id=" + h + " AND s.ddout_id=" + s);
    }
}

// The breakdown of the lines, one row per document, product and raw material, each raw
// material at its value per unit: made from the breakdown rows that have a quantity,
// without those of a product whose lines in the document have none (a breakdown row goes
// with its line; a row of no line stays). Rows of one key (a breakdown table that a
// database took past 3.60 without its key holds them) become one row that sums their
// quantities and values, so that the table takes its key and every later join meets each
// row once.
void Rozbicie(ClsKonwersje& k) {
    const std::string r = kRozbicie, t = kKlucze;
    k.DbWykonajKonwersje("SELECT DOK_PRO_ZAWART_SUROWCE.* INTO [" + r +
                         "] FROM DOK_PRO_ZAWART_SUROWCE WHERE Nz(Ilosc,0)<>0");
    const std::string suma = Suma_Zmian();
    if (k.Liczba_Z_Zapytania("count(*) from [dok_pro_zawart] where " + suma + "=0") > 0) {
        Linie_Po_Kluczu(k, "", "IIf(" + suma + "=0,0,1)", "Sum(IIf(" + suma + "=0,0,1))=0");
        k.DbWykonajKonwersje("DELETE [" + r + "].* FROM [" + r + "] INNER JOIN [" + t +
                             "] AS p ON (p.D=[" + r + "].ddout_id AND p.PROD_ID=[" + r +
                             "].Prod_id)");
    }
    const std::string p = "(p.D=[" + r + "].ddout_id AND p.PROD_ID=[" + r +
                          "].Prod_id AND p.sur_id=[" + r + "].sur_id)";
    k.DbWykonajKonwersje("DELETE * FROM [" + t + "]");
    k.DbWykonajKonwersje("INSERT INTO [" + t +
                         "] (D,PROD_ID,sur_id,Q,W,C) SELECT ddout_id,Prod_id,sur_id,"
                         "Sum(Nz(Ilosc,0)),Sum(Nz(Wartosc,0)),Count(*) FROM [" +
                         r +
                         "] WHERE ddout_id Is Not Null AND Prod_id Is Not Null AND sur_id "
                         "Is Not Null GROUP BY ddout_id,Prod_id,sur_id HAVING Count(*)>1");
    k.DbWykonajKonwersje("DELETE [" + r + "].* FROM [" + r + "] INNER JOIN [" + t + "] AS p ON " +
                         p);
    k.DbWykonajKonwersje("INSERT INTO [" + r +
                         "] (ddout_id,Prod_id,sur_id,Ilosc,Wartosc) SELECT D,PROD_ID,sur_id,"
                         "Q,W FROM [" +
                         t + "]");
    Utworz_Klucz_Podstawowy(r, "DDOUT_ID asc,PROD_ID asc,sur_ID asc");
    k.DbWykonajKonwersje("UPDATE [" + r + "] set wartosc=Nz(wartosc,0)/ilosc");
}

// Operations 14.4 to 14.6: the lines' shift quantities and breakdown rows split among the
// documents of the shifts.
void Podziel_Zmiany(ClsKonwersje& k) {
    // The lines that have no quantity go (their breakdown did not enter the split), and
    // a shift without a quantity counts as 0 from here on, so that no sum of the split or
    // of a merge into the day's shift document turns Null.
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
    // shift, made when there is none; of several of that day and shift (documents that
    // took it as their first), the one of the lowest id. A document without an issue date
    // shares the documents of no date.
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
                        const std::string dzien =
                            data.is_null() ? "[DDOUT_DATA_WYST] Is Null"
                                           : Warunek_Okres(data.to_date(), "[DDOUT_DATA_WYST]",
                                                           data.to_date());
                        if (k.DbOtwórzSELKonwersje(
                                l,
                                "top 1 [DDOUT_DATA_WYST],[nr_zM_PROD],DDOUT_ID from [dok_pro] "
                                "where [nr_zM_PROD]=" +
                                    z + " and " + dzien + " order by DDOUT_ID") < 1) {
                            ado::Recordset& s = kroki::Rekordy(l);
                            s.AddNew();
                            s.Fields(0) = data;
                            s.Fields(1) = jet::Value::long_(zmiana);
                            s.UpdateBatch();
                        }
                        Kopiuj_Do_Zmiany(k, id, NzStr(kroki::Rekordy(l).Fields(2).value()), zmiana);
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
    // cut from. The share of a breakdown row is its product's in the document: the
    // shift's quantity over the three of all its lines there.
    for (int zmiana = 1; zmiana <= 3; ++zmiana) {
        const std::string kolumna = Ilosc_Zmiany(zmiana);
        k.DbWykonajKonwersje(
            "UPDATE DOK_PRO_Zawart INNER JOIN DOK_PRO ON DOK_PRO_Zawart.ddout_id = "
            "DOK_PRO.DDOUT_ID "
            "SET DOK_PRO_Zawart.ZDDOUT_ILOSC = " +
            kolumna + " WHERE ((([nr_zM_PROD])=" + std::to_string(zmiana) +
            ")) and [ilosc_prod]+[ilosc_prod2]+[ilosc_prod3]<>0");
    }
    const std::string r = kRozbicie, t = kKlucze;
    // Only the products whose share is not the whole.
    const std::string q = "IIf(" + suma + "=0,0,ZDDOUT_ILOSC)";
    Linie_Po_Kluczu(k, "", q, "Sum(" + suma + ")<>0 AND Sum(" + q + ")<>Sum(" + suma + ")");
    k.DbWykonajKonwersje("UPDATE [" + r + "] INNER JOIN [" + t + "] AS p ON (p.D=[" + r +
                         "].ddout_id AND p.PROD_ID=[" + r + "].Prod_id) SET [" + r + "].Ilosc=[" +
                         r + "].Ilosc*(p.Q/p.T)");
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
                        " and " + dzien + " order by DDOUT_ID");
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
    // The split reads the lines' three shift columns, which go once it is made. A
    // breakdown table beside them is the suite's earlier tool's: before the split has
    // given a document its shift it is made again from the lines' breakdown, which the
    // step never changes; after, the earlier split goes on or the step stops.
    const bool zmiany = Zmiany_Linii(k);
    const bool rozbicie = k.Jest_Tabela(kRozbicie);
    bool nowe_rozbicie = !rozbicie;
    if (zmiany && rozbicie) {
        if (k.Liczba_Z_Zapytania("count(*) from [dok_pro] where Nz(nr_zM_PROD,0)<>0") > 0) {
            Podzial_Wczesniejszy(k);
        } else {
            k.DbWykonajKonwersje("drop table [" + std::string(kRozbicie) + "]");
            nowe_rozbicie = true;
        }
    }

    // 14.1-3. Raw materials and lines at their value per unit, the breakdown, and the
    // payment date of every production document before the split makes the shift
    // documents, which have none. A raw material without a quantity (Null) has none: its
    // row goes. The values were divided before the breakdown table was made.
    if (zmiany) {
        if (!rozbicie) {
            k.DbWykonajKonwersje(
                "delete DOK_PRO_surowce.* from  DOK_PRO_surowce where Nz(ilosc,0)=0");
            k.DbWykonajKonwersje("UPDATE DOK_PRO_surowce set wartosc=Nz(wartosc,0)/ilosc");
            k.DbWykonajKonwersje("UPDATE dok_PRO_Zawart SET " + Cena_Jednostkowa());
        }
        k.DbWykonajKonwersje("CREATE TABLE [" + std::string(kKlucze) +
                             "] (D long,PROD_ID long,sur_id long,Q double,T double,W double,C "
                             "long)");
        if (nowe_rozbicie) {
            Rozbicie(k);
            k.DbWykonajKonwersje("UPDATE DOK_PRO set ddout_Termin_zaplaty=DDOUT_DATA_WYST");
        }
        Podziel_Zmiany(k);
        k.DbWykonajKonwersje("drop table [" + std::string(kKlucze) + "]");
    }
    // 16.1. The shift columns go as soon as the split is made.
    for (const char* kol : {"ilosc_prod", "ilosc_prod2", "ilosc_prod3"})
        Usun_Pole("dok_pro_zawart", kol);

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
            // A document without a date keeps its proposed ordinal through the retries of a
            // save that failed: the failed save wrote nothing, so no ordinal is skipped.
            const int32_t proponowany = data.is_null() ? ++bez_daty : 0;
            for (int proby = 1;; ++proby) {
                const std::string tekst = k.Naglowek_Numeru_Dokumentu("produkcja", "", konh, 0, 0);
                const int32_t numer = k.Nastepny_Numer_Dokumentu(konh, Data_Dzisiaj, "produkcja",
                                                                 proponowany, "", id, 0);
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
    k.DbWykonajKonwersje("Delete * from DOK_PRS_ZAWART");
    k.DbWykonajKonwersjeNoErr("CREATE UNIQUE INDEX UnicNumer ON DOK_PRS (DDOUT_NUMER)",
                              k.Powtorzona_Wartosc("DOK_PRS", "DDOUT_NUMER"));
    Utworz_Klucze_Z_Zawart("DOK_PRS", "DDOUT_ID asc", "PROD_ID asc");
    k.DbWykonajKonwersje(
        "insert into [DOK_PRS_zawart] (ddout_id,prod_id,ZDDOUT_ILOSC,ZDDOUT_CENA_N) select "
        "ddout_id,sur_id,sum(Nz(Ilosc,0)),sum(Nz(Ilosc,0)*Nz(Wartosc,0))/"
        "IIf(sum(Nz(Ilosc,0))=0,1,sum(Nz(Ilosc,0))) from DOK_PRS_ZAWART_ROZBICIE group by  "
        "ddout_id,sur_id");
    k.DbWykonajKonwersje("UPDATE DOK_PRO SET DOK_PRO.ID_Poszlo_do_zuzycia=ddout_id");
    k.DbWykonajKonwersje("UPDATE DOK_PRs SET DOK_PRs.ID_Poszlo_do_zuzycia=ddout_id");
    k.DbWykonajKonwersje("drop table DOK_PZS");
    k.DbWykonajKonwersje("drop table DOK_PZS_Zawart");
    k.DbWykonajKonwersje("SELECT DOK_PRO.* INTO DOK_PZS FROM DOK_PRO");
    k.DbWykonajKonwersje("SELECT DOK_PRO_ZAWART.* INTO DOK_PZS_ZAWART FROM DOK_PRO_ZAWART");
    k.DbWykonajKonwersje("Delete * from DOK_PZS");
    k.DbWykonajKonwersje("Delete * from DOK_PZS_ZAWART");
    k.DbWykonajKonwersjeNoErr("CREATE UNIQUE INDEX UnicNumer ON DOK_PZS (DDOUT_NUMER)",
                              k.Powtorzona_Wartosc("DOK_PZS", "DDOUT_NUMER"));
    Utworz_Klucze_Z_Zawart("DOK_PZS", "DDOUT_ID asc", "PROD_ID asc");

    // 17. Net values of the production documents from their lines.
    for (const char* t : {"PRO", "PRs", "Pzs"}) {
        const std::string d = std::string("DOK_") + t;
        k.DbWykonajUPDKonwersje("[" + d + "] set DDOUT_WART_N=0", "", "", "");
        // Each line adds its value once; a line without a quantity or a price adds none.
        const Zamierzony_Raport po_linii{jet::reports::Kind::MultiPair};
        k.DbWykonajUPDKonwersje(
            "[" + d + "] inner join [" + d + "_ZAWART] on [" + d + "].[ddout_id]=[" + d +
                "_ZAWART].[DDOUT_ID] set " + (d == "DOK_Pzs" ? "" : d + ".") +
                "DDOUT_WART_N=" + (d == "DOK_Pzs" ? "" : d + ".") +
                "DDOUT_WART_N+ZDDOUT_ILOSC*ZDDOUT_CENA_N where ZDDOUT_ILOSC is not null and "
                "ZDDOUT_CENA_N is not null",
            "", "", "");
    }
}

}  // namespace

// How the step meets a database that the suite's earlier tool left inside it. That tool
// committed each statement on its own; this program runs the step as one transaction with
// its version, so that a stop of its own leaves nothing of the step and its run again is
// a first run. What that tool left is told by the schema and the rows, in the step's
// order:
// - operations 1 to 13: what exists is not added again and what is gone is not dropped
//   again; a PW or RW line table without its old price column lost its other old columns
//   after their copy, and they go; the returns' shift and link columns, which the
//   donations' copy takes without their defaults, go from it and are added again; the
//   production groups' reference row that stands is kept;
// - the production lines' old price column gone while their shift columns and no
//   breakdown table stand: their values were copied whole, and the split divides them
//   and the raw materials' values, unless the last number prefix column stands, after
//   which that tool may have divided them: the step stops (Ceny_Po_Wczesniejszym);
// - a breakdown table beside the lines' shift columns is that tool's: made again while no
//   document has its shift; once one has, its split goes on, or the step stops where it
//   may have copied or shared rows already (Podzial_Wczesniejszy);
// - the shift columns gone: the split was made, and what follows it runs again whole.
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
    // an earlier run left of the others goes too. A production line's value is copied
    // whole; the split divides it by the line's quantities.
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
            DbWykonajKonwersje(
                "UPDATE dok_PRO_Zawart SET [ZDDOUT_CENA_N]=[WSPRZ_CENA_B],"
                "[ZDDOUT_ILOSC]=" +
                Suma_Zmian() + ",[ZDDOUT_VAT]=0");
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
    DbWykonajKonwersjeNoErr("CREATE UNIQUE INDEX UnicNumer ON DOK_DAR (DDOUT_NUMER)",
                            Powtorzona_Wartosc("DOK_DAR", "DDOUT_NUMER"));
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
