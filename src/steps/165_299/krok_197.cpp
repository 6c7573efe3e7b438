// Step 1.97: raw materials and semi-products move into the product table, told apart by
// the kind rodzaj and four activity flags; every table that named a raw material or a
// semi-product by its old id is re-pointed to the new product id, the recipes and the
// stocktaking lines follow, all products are renumbered, the product groups get their
// dictionary, and the old tables are emptied.
//
// The step works through tables of its own: the two maps of old ids, made before anything
// is copied, through which every statement carries or re-points, and the table of the old
// product numbers for the renumbering. The step is one transaction with its version, so a
// stopped run leaves none of them. The suite's earlier tool committed each statement on
// its own and re-pointed rows in place by sur_id: products copied while there are no maps
// are its work; once the column nag_pw is there (added after all the data has moved) only
// the emptying of the old tables is left; before that, which rows were re-pointed is no
// longer known, and the step stops.
#include <algorithm>
#include <array>
#include <functional>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>

#include "db/komunikaty.h"
#include "db/nz.h"
#include "db/postep.h"
#include "driver/konwersje.h"
#include "steps/165_299/wspolne.h"

using jet::Value;
using kroki::W_Apostrofach;

namespace {

// The step's work tables (names without brackets) and the column that numbers the rows
// of a table that takes carried quantities, in the table's order.
constexpr const char* kMapaSurowcow = "_surowce_POM";
constexpr const char* kMapaPolproduktow = "_polprodukty_POM";
constexpr const char* kNumery = "_numery_POM";
constexpr const char* kKolejnosc = "[_nr_POM]";

std::string W_Nawiasach(const char* nazwa) {
    return std::string("[") + nazwa + "]";
}

// Raw materials and semi-products were numbered by two counters of their own, and the
// products by a third, so an old id means nothing without the kind of item it names.
enum class Rodzaj_Id : uint8_t { Surowiec, Polprodukt };
using enum Rodzaj_Id;

// The map of the old ids of a kind: stare the old id, nowe the product's id, towar true
// when a goods product carries a raw material kept as goods.
std::string Mapa(Rodzaj_Id r) {
    return W_Nawiasach(r == Surowiec ? kMapaSurowcow : kMapaPolproduktow);
}

// A stocktaking line (of alias a) that counts a raw material ('S' or 'K'), and one that
// counts a product (any other kind, Null included).
std::string Linia_Surowca(const std::string& a) {
    return "(" + a + ".Rodz='S' Or " + a + ".Rodz='K')";
}
std::string Linia_Produktu(const std::string& a) {
    return "(" + a + ".Rodz Is Null Or Not " + Linia_Surowca(a) + ")";
}

// A column whose rows name a raw material or a semi-product by its old id: the rows (the
// text after "from": a join to the rows' header, "" for the table alone), the table and
// its column, the kind of item that the rows which warunek chooses name ("" all rows),
// and what the re-pointing assigns besides the id ("" nothing). ilosc is the quantity of
// a quantity table ("" for lines of documents, recipes, stocktakings and order reports):
// a row with no quantity does not need its raw material kept. A column that is not
// przepinany is read through the map by the step (the stock carried, the semi-product
// recipes copied), which then empties its table.
struct Odwolanie {
    std::string wiersze;
    std::string tabela;
    std::string kolumna;
    Rodzaj_Id rodzaj;
    std::string warunek;
    std::string ustaw;
    std::string ilosc;
    bool przepinany;
};
// In the order of the re-pointing: the recipe lines that name a raw material (ilosc_polprod
// 0 or Null) are re-pointed before those that name a semi-product, whose re-pointing sets
// their ilosc_polprod to 0.
const std::array<Odwolanie, 11> kOdwolania = {{
    {"", "zakupy_ilosc", "sur_id", Surowiec, "", "", "ilosc", true},
    {"", "zuzycie_calkowite", "sur_id", Surowiec, "", "", "ilosc", true},
    {"", "magazyn_SUROWCOW", "sur_id", Surowiec, "", "", "ilosc", false},
    {"", "zakupy_zawart", "sur_id", Surowiec, "", "", "", true},
    {"(FAKTURY_WYCH_KOREKTA INNER JOIN FAKTURY_WYCH_KOREKTA_ZAWART ON "
     "FAKTURY_WYCH_KOREKTA.FKOROUT_ID = FAKTURY_WYCH_KOREKTA_ZAWART.FKOROUT_ID)",
     "FAKTURY_WYCH_KOREKTA_ZAWART", "PROD_ID", Surowiec, "FAKTURY_WYCH_KOREKTA.zakup=-1", "", "",
     true},
    {"", "Zamowienia_Raport_Surowce", "sur_id", Surowiec, "", "", "", true},
    {"", "REMANENTINWENT_ZAWARTOSC", "ID", Surowiec, Linia_Surowca("REMANENTINWENT_ZAWARTOSC"), "",
     "", true},
    {"", "PRODUKTY_Receptury", "sur_id", Surowiec,
     "(PRODUKTY_Receptury.ilosc_polprod=0 or PRODUKTY_Receptury.ilosc_polprod is null)",
     "PRODUKTY_Receptury.ilosc_polprod=0", "", true},
    {"", "PRODUKTY_Receptury", "sur_id", Polprodukt, "PRODUKTY_Receptury.ilosc_polprod<>0",
     "PRODUKTY_Receptury.ilosc_sur=PRODUKTY_Receptury.ilosc_polprod,PRODUKTY_Receptury."
     "ilosc_polprod=0",
     "", true},
    // A semi-product's recipe line belongs to the semi-product that id names and uses the
    // raw material that SUR_ID names.
    {"", "PolPRODUKTY_Receptury", "SUR_ID", Surowiec, "", "", "", false},
    {"", "PolPRODUKTY_Receptury", "id", Polprodukt, "", "", "", false},
}};

const Odwolanie& Odwolanie_Tabeli(const std::string& tabela) {
    for (const Odwolanie& o : kOdwolania)
        if (o.tabela == tabela) return o;
    throw std::logic_error("no reference of " + tabela);
}

std::string Kolumna(const Odwolanie& o) {
    return o.tabela + "." + o.kolumna;
}

// The rows of o (the text after "from").
std::string Wiersze(const Odwolanie& o) {
    return o.wiersze.empty() ? o.tabela : o.wiersze;
}

// The rows of o that name an item of its kind, with "where": the condition warunek and
// the extra condition dodatkowo (either may be "").
std::string Wiersze_Gdzie(const Odwolanie& o, const std::string& dodatkowo) {
    std::string gdzie = o.warunek;
    if (!dodatkowo.empty()) gdzie += (gdzie.empty() ? "" : " and ") + dodatkowo;
    return Wiersze(o) + (gdzie.empty() ? "" : " where " + gdzie);
}

// Every row of o, joined to the map of its kind as M where its id names an item there.
std::string Wiersze_Z_Mapa(const Odwolanie& o) {
    return Wiersze(o) + " LEFT JOIN " + Mapa(o.rodzaj) + " AS M ON M.stare=" + Kolumna(o);
}

// The number of the rows of o whose id names no item of its kind goes to the Log: after
// the step they name no product. An id of 0 or Null named nothing before, and such a row
// stays as it is, but in a table that the step empties after carrying its quantities (the
// stock of raw materials), where a row of a Null id goes without its quantity going
// anywhere: those rows are counted too.
void Loguj_Bez_Pozycji(ClsKonwersje& k, const Odwolanie& o) {
    const bool oprozniana = !o.przepinany && !o.ilosc.empty();
    const int64_t n = k.Liczba_Z_Zapytania("count(*) from " + Wiersze_Z_Mapa(o) +
                                           " where M.stare is null and (" + Kolumna(o) + "<>0" +
                                           (oprozniana ? " or " + Kolumna(o) + " is null" : "") +
                                           ")" + (o.warunek.empty() ? "" : " and " + o.warunek));
    if (n <= 0) return;
    Zapisz_Log_Kroku("Konwersja 1.97: wiersze " + Kolumna(o) + " bez istniejącego " +
                         (o.rodzaj == Surowiec ? "surowca" : "półproduktu") +
                         (oprozniana ? " (ich ilości nie trafiają do żadnego produktu): "
                                     : " (nie wskazują żadnego produktu): ") +
                         std::to_string(n),
                     "Konwersja", "1.97");
}

// The copy into PRODUKTY of the raw materials that gdzie chooses as products of kind
// rodzaj: 'S' (used in recipes) or 'K' (bought only). The grouping leaves one product
// row per raw material.
std::string Kopia_Surowcow(const std::string& do_receptur, const std::string& rodzaj,
                           const std::string& gdzie) {
    return "Insert Into PRODUKTY ( prod_sww, prod_jed, STVAT_ID, PROD_NUMER_ID, prod_on, "
           "PROD_CENA_SUGERO, sur_id, PROD_NAZWA_id, grupa, prod_wl, act_buy, act_sale, "
           "act_to_rec, act_recipe,r_licz,nawazka,prod_waga,rodzaj )SELECT SUROWCE.SUR_SWW, "
           "SUROWCE.JED_NAZWA_ID, SUROWCE.STVAT_ID, SUROWCE.sur_numer, SUROWCE.sur_activ, "
           "SUROWCE.sur_cena_n_ost, SUROWCE.sur_id, SUROWCE.SUR_NAZWA_id, SUROWCE.grupa, 1 AS "
           "wyr0, 1 AS wyr1, 0 AS wyr2, " +
           do_receptur + " AS wyr3, 0 AS wyr4,0 as wyr5,1 as wyr6,1 as wyr7,'" + rodzaj +
           "' as wyr8 From SUROWCE WHERE " + gdzie +
           " GROUP BY SUROWCE.SUR_SWW, SUROWCE.JED_NAZWA_ID, SUROWCE.STVAT_ID, SUROWCE.sur_numer, "
           "SUROWCE.sur_activ, SUROWCE.sur_cena_n_ost, SUROWCE.sur_id, SUROWCE.SUR_NAZWA_id, "
           "surowce.grupa, SUROWCE.sur_kod,SUROWCE.prod_wl";
}

// The own raw materials (prod_wl 1) of one sur_kod: 0 become 'S', 1 'K'.
std::string Surowce_O_Kodzie(const std::string& sur_kod) {
    return "(((SUROWCE.sur_kod)=" + sur_kod + ") and ((SUROWCE.prod_wl)=1))";
}

// A product (alias p) that carries the item of the old id id and the name nazwa: its
// sur_id, or, for an item without an id, its name in a product without one.
std::string Niesie(const std::string& p, const std::string& id, const std::string& nazwa) {
    return "(" + p + ".sur_id=" + id + " Or (" + p + ".sur_id Is Null And " + id + " Is Null And " +
           p + ".PROD_NAZWA_id=" + nazwa + "))";
}

// Adds to id the values of the first column of "Select " & tekst, Nulls left out.
void Dodaj_Id(ClsKonwersje& k, const std::string& tekst, std::set<int32_t>& id) {
    std::unique_ptr<ado::Recordset> rs;
    if (k.DbOtwórzSELKonwersje(rs, tekst, true) > 0)
        for (; !rs->Eof(); rs->MoveNext()) {
            const Value v = rs->Fields(0).value();
            if (!v.is_null()) id.insert(NzLng(v));
        }
    k.ZamknijRSKonwersje(rs);
}

// The ids as the list of an In.
std::string Lista_Id(const std::set<int32_t>& id) {
    std::string lista;
    for (const int32_t i : id) lista += (lista.empty() ? "" : ",") + std::to_string(i);
    return lista;
}

// The raw materials that no product will carry (no copy by sur_kod, no goods product
// naming them by sur_id), split into those that some row names with a quantity or as a
// line (nazwane) and those named by no row or only by rows without a quantity (reszta).
void Surowce_Bez_Produktu(ClsKonwersje& k, const std::string& kopiowane, std::set<int32_t>& nazwane,
                          std::set<int32_t>& reszta) {
    std::set<int32_t> kandydaci;
    Dodaj_Id(k,
             "SUROWCE.sur_id from SUROWCE left join PRODUKTY on (PRODUKTY.sur_id=SUROWCE.sur_id "
             "and PRODUKTY.rodzaj='T') where PRODUKTY.prod_id is null and IIf(" +
                 kopiowane + ",0,1)=1",
             kandydaci);
    if (kandydaci.empty()) return;
    for (const Odwolanie& o : kOdwolania) {
        if (o.rodzaj != Surowiec) continue;
        const std::string kolumna = Kolumna(o);
        std::string warunek = kolumna + " In (" + Lista_Id(kandydaci) + ")";
        if (!o.ilosc.empty()) warunek += " and " + o.tabela + "." + o.ilosc + "<>0";
        Dodaj_Id(k, "distinct " + kolumna + " from " + Wiersze_Gdzie(o, warunek), nazwane);
    }
    for (const int32_t id : kandydaci)
        if (!nazwane.contains(id)) reszta.insert(id);
}

// The copies of the raw materials ('S', then 'K') and of the semi-products ('O'), each
// sent only while PRODUKTY holds no product of its kind: a copy is one statement, so its
// products there say that it ran. A raw material that neither copy by sur_kod nor a goods
// product takes, but that a row names with a quantity or as a line, is copied too ('K'
// for sur_kod 1, else 'S'), so that its rows keep naming it; rows without a quantity of
// one that nothing else names go with it.
void Kopiuj_Pozycje(ClsKonwersje& k, const std::string& surowce_S, const std::string& surowce_K) {
    std::set<int32_t> nazwane, reszta;
    Surowce_Bez_Produktu(k, "(" + surowce_S + " or " + surowce_K + ")", nazwane, reszta);
    const std::string dodatkowe = "SUROWCE.sur_id In (" + Lista_Id(nazwane) + ")";
    const auto kopia = [&](const char* do_receptur, const char* rodzaj, const std::string& wybor,
                           const std::string& dodatkowy_kod) {
        if (k.Liczba_Z_Zapytania(std::string("count(*) from PRODUKTY where rodzaj='") + rodzaj +
                                 "'") != 0)
            return;
        k.DbWykonajKonwersje(Kopia_Surowcow(
            do_receptur, rodzaj,
            nazwane.empty() ? wybor
                            : "(" + wybor + " or (" + dodatkowe + " and " + dodatkowy_kod + "))"));
    };
    kopia("1", "S", surowce_S, "(SUROWCE.sur_kod<>1 or SUROWCE.sur_kod is null)");
    kopia("0", "K", surowce_K, "SUROWCE.sur_kod=1");
    if (!reszta.empty())
        for (const Odwolanie& o : kOdwolania)
            if (o.rodzaj == Surowiec && !o.ilosc.empty())
                k.DbWykonajKonwersje("Delete from " + o.tabela + " where " + Kolumna(o) + " In (" +
                                     Lista_Id(reszta) + ") and (" + o.ilosc + "=0 or " + o.ilosc +
                                     " is null)");
    if (k.Liczba_Z_Zapytania("count(*) from PRODUKTY where rodzaj='O'") != 0) return;
    k.DbWykonajKonwersje(
        "Insert Into PRODUKTY ( prod_sww, prod_jed, STVAT_ID, PROD_NUMER_ID, prod_on, "
        "PROD_CENA_SUGERO, sur_id, PROD_NAZWA_id, grupa, prod_wl, act_buy, act_sale, act_to_rec, "
        "act_recipe,r_licz,nawazka,prod_waga,rodzaj,PROD_WYDAJNOSCzREC )SELECT '' as sww, "
        "polPRODUKTY.JED_NAZWA_ID, '22' as STVAT, 0 as numer, true as act, 0 as cena, "
        "polPRODUKTY.id, polPRODUKTY.pprod_NAZWA_id,null as grupa, 1 AS wyr0, 0 AS wyr1, 0 AS "
        "wyr2, 1 AS wyr3, 1 AS wyr4,0 as wyr5,1 as wyr6,1 as wyr7,'O' as "
        "wyr8,PPROD_WYDAJNOSCzREC From polPRODUKTY GROUP BY polPRODUKTY.JED_NAZWA_ID, "
        "polPRODUKTY.id, polPRODUKTY.pprod_NAZWA_id,PPROD_WYDAJNOSCzREC");
}

// Puts into the maps every old id that they do not hold yet: the copies of raw materials
// ('S' or 'K'), then the goods products that name a raw material kept as goods by sur_id
// (the first one), and the copies of semi-products ('O'). They are read from PRODUKTY,
// which the re-pointing does not change, so filling them again adds nothing.
void Mapuj(ClsKonwersje& k) {
    const std::string s = Mapa(Surowiec);
    const std::string p = Mapa(Polprodukt);
    const std::string nowe = " WHERE M.stare Is Null And PRODUKTY.sur_id Is Not Null And ";
    k.DbWykonajKonwersje("Insert Into " + s +
                         " ( stare, nowe, towar ) SELECT PRODUKTY.sur_id, PRODUKTY.prod_id, False "
                         "FROM PRODUKTY LEFT JOIN " +
                         s + " AS M ON M.stare=PRODUKTY.sur_id" + nowe +
                         "(PRODUKTY.rodzaj='S' Or PRODUKTY.rodzaj='K')");
    k.DbWykonajKonwersje(
        "Insert Into " + s +
        " ( stare, nowe, towar ) SELECT PRODUKTY.sur_id, Min(PRODUKTY.prod_id), "
        "True FROM (PRODUKTY INNER JOIN SUROWCE ON SUROWCE.sur_id=PRODUKTY.sur_id) "
        "LEFT JOIN " +
        s + " AS M ON M.stare=PRODUKTY.sur_id" + nowe +
        "PRODUKTY.rodzaj='T' GROUP BY PRODUKTY.sur_id");
    k.DbWykonajKonwersje("Insert Into " + p +
                         " ( stare, nowe ) SELECT PRODUKTY.sur_id, PRODUKTY.prod_id FROM PRODUKTY "
                         "LEFT JOIN " +
                         p + " AS M ON M.stare=PRODUKTY.sur_id" + nowe + "PRODUKTY.rodzaj='O'");
}

// Zero rows for every product that has none in tabela, keyed by kolumna.
std::string Zerowe_Wiersze(const std::string& tabela, const std::string& kolumna) {
    return "Insert Into " + tabela + " ( [" + kolumna + "], ilosc ) SELECT " + Stala_DISTINCTROW +
           " PRODUKTY.[prod_id],  0 AS Wyr2 FROM PRODUKTY LEFT JOIN " + tabela +
           " ON PRODUKTY.[prod_id] = " + tabela + ".[" + kolumna + "] WHERE (((" + tabela + ".[" +
           kolumna + "]) Is Null))";
}

// The stocktaking quantities that a merge of lines adds up.
constexpr std::array<const char*, 8> kIlosciRemanentu = {
    "Ilosc_namagazynie", "Ilosc_stanfaktyczny",
    "mag_prod",          "zak_il",
    "sprz_il",           "zuzyte",
    "przych_il",         "rozch_il",
};

// A raw material's quantity carried to the product that carries it: the target table,
// its key and quantity, and the table of the quantities by raw material.
struct Dopisanie {
    const char* cel;
    const char* klucz;
    const char* ilosc;
    const char* zrodlo;
};
constexpr std::array<Dopisanie, 2> kDopisania = {{
    {"magazyn_produktow", "prod_id", "ilosc", "magazyn_SUROWCOW"},
    {"SPRZEDAZ_ILOSC", "prod_id", "zakup_il", "zakupy_ilosc"},
}};

// The tables whose first row of a key takes a carried quantity: each gets the order
// column kKolejnosc for the re-pointing, which numbers its rows in the table's order.
constexpr std::array<const char*, 3> kTabeleKolejnosci = {"magazyn_produktow", "SPRZEDAZ_ILOSC",
                                                          "REMANENTINWENT_ZAWARTOSC"};

// The statements that carry quantities and re-point the old ids, in their order, each
// sent through wykonaj. Each quantity goes once to one row: the first row of its product in
// the table's order (a stocktaking's first line of the product), a Null counting as none.
void Przepnij(const std::function<void(const std::string&, const Odwolanie*)>& wykonaj) {
    const std::string m = Mapa(Surowiec) + " AS M";
    const std::string nr = std::string(".") + kKolejnosc;
    // Stock and purchases of a raw material go to the first row of its product.
    for (const Dopisanie& d : kDopisania) {
        const Odwolanie& z = Odwolanie_Tabeli(d.zrodlo);
        const std::string cel = std::string(d.cel), klucz = d.klucz, ilosc = d.ilosc;
        wykonaj("Update ((" + cel + " AS D INNER JOIN " + m + " ON M.nowe=D." + klucz +
                    ") INNER JOIN " + z.tabela + " AS Z ON Z." + z.kolumna +
                    "=M.stare) LEFT JOIN " + cel + " AS D2 ON (D2." + klucz + "=D." + klucz +
                    " AND D2" + nr + "<D" + nr + ") SET D." + ilosc + "=Nz(D." + ilosc + ",0)+Z." +
                    z.ilosc + " WHERE D2." + klucz + " Is Null AND Z." + z.ilosc + "<>0",
                nullptr);
    }
    // A stocktaking line of a raw material kept as goods joins the line of its goods
    // product in the same stocktaking, which becomes 'T'; where the stocktaking has no
    // line of the product, the raw material's first line becomes it. The lines so added go.
    const std::string r = "REMANENTINWENT_ZAWARTOSC";
    wykonaj("Update ((" + r + " AS L INNER JOIN " + m + " ON M.stare=L.ID) LEFT JOIN " + r +
                " AS G ON (G.ID_RI=L.ID_RI AND G.ID=M.nowe AND " + Linia_Produktu("G") +
                ")) LEFT JOIN " + r + " AS L2 ON (L2.ID_RI=L.ID_RI AND L2.ID=L.ID AND " +
                Linia_Surowca("L2") + " AND L2" + nr + "<L" + nr +
                ") SET L.Rodz='T',L.ID=M.nowe WHERE M.towar AND " + Linia_Surowca("L") +
                " AND G.ID Is Null AND L2.ID Is Null",
            nullptr);
    std::string sumy;
    for (const std::string c : kIlosciRemanentu)
        sumy += "G." + c + "=Nz(G." + c + ",0)+Nz(L." + c + ",0),";
    wykonaj("Update ((" + r + " AS G INNER JOIN " + m + " ON M.nowe=G.ID) INNER JOIN " + r +
                " AS L ON (L.ID_RI=G.ID_RI AND L.ID=M.stare)) LEFT JOIN " + r +
                " AS G2 ON (G2.ID_RI=G.ID_RI AND G2.ID=G.ID AND " + Linia_Produktu("G2") +
                " AND G2" + nr + "<G" + nr + ") SET " + sumy + "G.Rodz='T' WHERE M.towar AND " +
                Linia_Surowca("L") + " AND " + Linia_Produktu("G") + " AND G2.ID Is Null",
            nullptr);
    wykonaj("Delete L.* FROM " + r + " AS L INNER JOIN " + m +
                " ON M.stare=L.ID WHERE M.towar AND " + Linia_Surowca("L"),
            nullptr);
    // Every row that named a raw material or a semi-product now names the product that
    // carries it, each row once and by the kind of item it named: the old ids are read
    // only through the maps, never against ids already re-pointed. A row whose id names
    // no item of its kind gets 0: it names no product.
    for (const Odwolanie& o : kOdwolania) {
        if (!o.przepinany) continue;
        wykonaj("Update " + Wiersze_Z_Mapa(o) + " SET " + Kolumna(o) + "=Nz(M.nowe,0)" +
                    (o.ustaw.empty() ? "" : "," + o.ustaw) + " WHERE " + Kolumna(o) + "<>0" +
                    (o.warunek.empty() ? "" : " AND " + o.warunek),
                &o);
    }
}

// The lines of the semi-product recipes with the product of the semi-product (P: a line
// of a semi-product that does not exist belongs to no product and is left out) and the
// product that carries the ingredient (S, Null when the raw material does not exist).
std::string Receptury_Polproduktow() {
    const std::string linie = "PolPRODUKTY_Receptury";
    std::string z = linie;
    for (const Odwolanie& o : kOdwolania)
        if (o.tabela == linie && !o.przepinany) {
            const bool wlasciciel = o.rodzaj == Polprodukt;
            z = (z == linie ? z : "(" + z + ")") + (wlasciciel ? " INNER JOIN " : " LEFT JOIN ") +
                Mapa(o.rodzaj) + " AS " + (wlasciciel ? "P" : "S") + " ON " +
                (wlasciciel ? "P" : "S") + ".stare=" + Kolumna(o);
        }
    return z;
}

// The raw materials that wybor chooses arrived in PRODUKTY as products of kind rodzaj:
// every chosen row is counted once when a product of the kind carries it, so that
// identical rows which the grouping merged into one product count as arrived.
void Sprawdz_Surowce(ClsKonwersje& k, const std::string& wybor, const std::string& rodzaj) {
    k.Sprawdz_Przeniesienie("SUROWCE", "PRODUKTY", "SUROWCE where " + wybor,
                            "SUROWCE inner join PRODUKTY on " +
                                Niesie("PRODUKTY", "SUROWCE.sur_id", "SUROWCE.SUR_NAZWA_id") +
                                " where " + wybor + " and PRODUKTY.rodzaj='" + rodzaj + "'");
}

// Where an earlier run of the step stopped, by what it left.
enum class Przebieg : uint8_t {
    Pierwszy,     // nothing: the step runs from its start
    Dokonczenie,  // the data moved: the emptying is left, the rest is done again where
                  // that changes nothing
};

Przebieg Stan_Przebiegu(ClsKonwersje& k) {
    const bool kopie = k.Liczba_Z_Zapytania(
                           "count(*) from PRODUKTY where rodzaj='S' or rodzaj='K' or "
                           "rodzaj='O'") > 0;
    if (k.Jest_Tabela("Sposob_numeracji", "nag_pw") ||
        (kopie && k.Liczba_Z_Zapytania("count(*) from SUROWCE") == 0 &&
         k.Liczba_Z_Zapytania("count(*) from PolPRODUKTY") == 0))
        return Przebieg::Dokonczenie;
    // Products copied before the maps: a run in the suite's own order, which re-points
    // in place by sur_id; which rows it re-pointed is no longer known.
    if (kopie)
        ClsKonwersje::Konwersja_Przerwana(197, "po przeniesieniu surowców do tabeli PRODUKTY");
    return Przebieg::Pierwszy;
}

}  // namespace

void ClsKonwersje::Konwersja_197() {
    // 1. Price-list markup.
    DbWykonajKonwersje("alter table [Cennik] ADD COLUMN Narzut money");
    DbWykonajKonwersje("alter table [Cennik] ADD COLUMN CEN_Narzut money");
    DbWykonajKonwersje(
        "Update [Cennik] SET [CEN_narzut] = [CEN_NETTO] where [CEN_narzut]  is null");
    DbWykonajKonwersje("Update [Cennik] SET [narzut] = 0 where [narzut]  is null");

    // 2. Kind and activity flags.
    static constexpr std::array<const char*, 6> kKolumny = {
        "act_sale logical",   "act_buy logical", "act_recipe logical",
        "act_to_rec logical", "sur_id long",     "rodzaj text(1)",
    };
    for (const std::string c : kKolumny) DbWykonajKonwersje("alter table PRODUKTY ADD COLUMN " + c);
    const Przebieg przebieg = Stan_Przebiegu(*this);

    // 3. Existing products: goods 'T' and own products 'P', each product once (a copied
    // product has its kind from its copy). A product not marked own is goods.
    DbWykonajKonwersje("Update PRODUKTY SET prod_wl=0 WHERE prod_wl is null");
    DbWykonajKonwersje(
        "Update PRODUKTY SET PRODUKTY.act_sale = True, PRODUKTY.act_buy = True, "
        "PRODUKTY.act_to_rec = False, PRODUKTY.act_recipe = False,rodzaj='T' WHERE "
        "(((PRODUKTY.prod_wl)=0)) and rodzaj is null");
    DbWykonajKonwersje(
        "Update PRODUKTY SET PRODUKTY.act_sale = True, PRODUKTY.act_buy = False, "
        "PRODUKTY.act_to_rec = False, PRODUKTY.act_recipe = True,rodzaj='P' WHERE "
        "(((PRODUKTY.prod_wl)=1)) and rodzaj is null");

    const std::string surowce_S = Surowce_O_Kodzie("0");
    const std::string surowce_K = Surowce_O_Kodzie("1");
    if (przebieg == Przebieg::Pierwszy) {
        // The maps of every old raw material and semi-product to the product that carries
        // it, made before any copy.
        for (const char* m : {kMapaSurowcow, kMapaPolproduktow})
            DbWykonajKonwersje("create table " + W_Nawiasach(m) +
                               " (stare Long CONSTRAINT stare UNIQUE, nowe Long, towar Logical "
                               "DEFAULT False)");

        // 4, 7. Raw materials ('S', the bought-only 'K') and semi-products ('O').
        Kopiuj_Pozycje(*this, surowce_S, surowce_K);
        Mapuj(*this);

        // 8, 12. Quantity and stock rows for every product that has none.
        DbWykonajKonwersje(
            "Insert Into [SPRZEDAZ_ILOSC] ( [prod_id], ilosc,zakup_il,przych_il,ROZCH_IL ) "
            "SELECT " +
            Stala_DISTINCTROW +
            " PRODUKTY.[prod_id],  0 AS Wyr2,  0 AS Wyr3,  0 AS Wyr4,  0 AS Wyr5  FROM PRODUKTY "
            "LEFT JOIN [SPRZEDAZ_ILOSC] ON PRODUKTY.[prod_id] = [SPRZEDAZ_ILOSC].[prod_id] WHERE "
            "((([SPRZEDAZ_ILOSC].[prod_id]) Is Null))");
        DbWykonajKonwersje(Zerowe_Wiersze("magazyn_produktow", "prod_id"));
        for (const char* t : kTabeleKolejnosci)
            DbWykonajKonwersje(std::string("alter table ") + t + " ADD COLUMN " + kKolejnosc +
                               " counter");

        // 5, 6, 10, 11, 13 to 17.
        for (const Odwolanie& o : kOdwolania)
            if (!o.przepinany) Loguj_Bez_Pozycji(*this, o);
        Przepnij([&](const std::string& polecenie, const Odwolanie* o) {
            if (o) Loguj_Bez_Pozycji(*this, *o);
            DbWykonajKonwersje(polecenie);
        });
        for (const char* t : kTabeleKolejnosci)
            DbWykonajKonwersje(std::string("alter table ") + t + " drop COLUMN " + kKolejnosc);
    }

    // 12. Zero rows of purchases and use, keyed by the re-pointed ids.
    DbWykonajKonwersje(Zerowe_Wiersze("zakupy_ilosc", "sur_id"));
    DbWykonajKonwersje(Zerowe_Wiersze("zuzycie_calkowite", "sur_id"));

    // 9. Semi-product recipes become recipes of the 'O' products, each line as it is
    // (an ingredient that does not exist: 0), those of an 'O' product that has no
    // lines yet, while the map of semi-products stands.
    if (Jest_Tabela(kMapaPolproduktow))
        DbWykonajKonwersje(
            "Insert Into PRODUKTY_Receptury ( sur_id, PPROD_nazwa_ID, ilosc_sur, PROD_ID ) SELECT "
            "IIf(S.stare Is Null,IIf(PolPRODUKTY_Receptury.SUR_ID Is Null,Null,0),S.nowe), Null AS "
            "Wyr1, PolPRODUKTY_Receptury.ilosc_sur, P.nowe FROM (" +
            Receptury_Polproduktow() +
            ") LEFT JOIN PRODUKTY_Receptury AS J ON J.PROD_ID=P.nowe WHERE J.PROD_ID Is Null ORDER "
            "BY S.nowe, PolPRODUKTY_Receptury.ilosc_sur, P.nowe");

    // 18. Goods lose their recipes, and so do lines of no product (a product id that is
    // Null or names no product counts as 0).
    const std::string bez_produktu =
        "PRODUKTY_Receptury left join PRODUKTY on PRODUKTY.prod_id=PRODUKTY_Receptury.prod_id";
    const std::string warunek =
        " where PRODUKTY.prod_id is null and (PRODUKTY_Receptury.prod_id<>0 or "
        "PRODUKTY_Receptury.prod_id is null)";
    kroki::Loguj_Bez_Wskazania(*this, 197, "linie PRODUKTY_Receptury bez produktu (usunięte)",
                               bez_produktu + warunek);
    DbWykonajKonwersje("Update " + bez_produktu + " set PRODUKTY_Receptury.prod_id=0" + warunek);
    DbWykonajKonwersje(
        "Update PRODUKTY_Receptury inner join PRODUKTY on "
        "PRODUKTY.prod_id=PRODUKTY_Receptury.prod_id set PRODUKTY_Receptury.prod_id=0 where "
        "PRODUKTY.prod_wl=0");
    DbWykonajKonwersje("Delete from PRODUKTY_Receptury where PRODUKTY_Receptury.prod_id=0");

    // 19. From here on the kind lives in rodzaj.
    DbWykonajKonwersje("Update PRODUKTY set PRODUKTY.prod_wl=1 where PRODUKTY.prod_wl=0");

    // 20. All products numbered 1 ... N by kind, each kind in its old number order: the
    // numbers are worked out in a table of the old numbers, kept until the end.
    if (!Jest_Tabela(kNumery))
        DbWykonajKonwersje(
            "SELECT prod_id, rodzaj, prod_numer_id AS stary, prod_numer_id AS nowy INTO " +
            W_Nawiasach(kNumery) + " FROM PRODUKTY");
    int32_t n = 0;
    kroki::Numeruj(*this, "nowy from " + W_Nawiasach(kNumery) + " order by rodzaj,stary,prod_id",
                   [&](ado::Recordset&) -> std::optional<int32_t> { return ++n; });
    DbWykonajKonwersje("Update PRODUKTY INNER JOIN " + W_Nawiasach(kNumery) +
                       " AS N ON N.prod_id=PRODUKTY.prod_id SET PRODUKTY.prod_numer_id=N.nowy");

    // 21. The group dictionary.
    DbWykonajKonwersje("create table Grupy (Nazwa text(40),opis memo,w_kasie text(19))");
    DbWykonajKonwersje("alter table Vat_stawki ADD COLUMN w_kasie text(19)");
    DbWykonajKonwersje("alter table jednostki ADD COLUMN w_kasie text(19)");

    // 22. Products without a group go to 'Podstawowa'.
    DbWykonajKonwersje(
        "UPDATE [PRODUKTY] SET [GRUPA]='Podstawowa' WHERE [GRUPA]='' OR [GRUPA] is null");

    // 23. Every group that the products name gets its row. A name longer than the
    // dictionary's 40 characters is first cut to them in the products, each named in the
    // Log, so that a product names its group's row.
    Przytnij_Tekst("PRODUKTY", "grupa", 40);
    std::unique_ptr<ado::Recordset> grupy;
    DbOtwórzSELKonwersje(grupy, "distinct grupa from PRODUKTY");
    std::unique_ptr<ado::Recordset> grupa;
    for (ado::Recordset& g = kroki::Rekordy(grupy); !g.Eof(); g.MoveNext()) {
        const std::string nazwa = NzStr(g.Fields(0).value());
        if (DbOtwórzSELKonwersje(grupa, "Nazwa,opis,w_kasie from grupy where nazwa='" +
                                            W_Apostrofach(nazwa) + "'") == 0) {
            grupa->AddNew();
            grupa->Fields(0) = Value::text(nazwa);
            grupa->UpdateBatch();
        }
    }
    ZamknijRSKonwersje(grupa);
    ZamknijRSKonwersje(grupy);

    // 24. The group 'Podstawowa' always exists; nameless groups go.
    kroki::Dodaj_Wiersz_Gdy_Brak(*this, "Nazwa,opis,w_kasie from grupy where nazwa='Podstawowa'",
                                 {Value::text("Podstawowa")});
    DbWykonajKonwersje("DELETE FROM [GRUPY] WHERE [NAZWA]='' OR [NAZWA] is null");

    // 25. Numbering of the production receipts.
    DbWykonajKonwersje("alter table Sposob_numeracji ADD COLUMN nag_pw TEXT(50)");
    DbWykonajKonwersje("alter table Sposob_numeracji_zawart ADD COLUMN nr_pw Long");

    // 26. The old tables are emptied, once every copy out of them is known to have
    // arrived.
    Sprawdz_Surowce(*this, surowce_S, "S");
    Sprawdz_Surowce(*this, surowce_K, "K");
    Sprawdz_Przeniesienie("PolPRODUKTY", "PRODUKTY", "PolPRODUKTY",
                          "PolPRODUKTY inner join PRODUKTY on " +
                              Niesie("PRODUKTY", "PolPRODUKTY.id", "PolPRODUKTY.pprod_NAZWA_id") +
                              " where PRODUKTY.rodzaj='O'");
    // Each line of an existing semi-product as one line of its 'O' product.
    if (Jest_Tabela(kMapaPolproduktow))
        Sprawdz_Przeniesienie("PolPRODUKTY_Receptury", "PRODUKTY_Receptury",
                              Receptury_Polproduktow(),
                              "PRODUKTY_Receptury INNER JOIN " + Mapa(Polprodukt) +
                                  " AS P ON P.nowe=PRODUKTY_Receptury.PROD_ID");
    DbWykonajKonwersje("delete from surowce");
    DbWykonajKonwersje("delete from magazyn_surowcow");
    DbWykonajKonwersje("delete from PolPRODUKTY");
    DbWykonajKonwersje("delete from PolPRODUKTY_receptury");
    // The work tables, the map of raw materials last.
    for (const char* t : {kNumery, kMapaPolproduktow, kMapaSurowcow})
        if (Jest_Tabela(t)) DbWykonajKonwersje("DROP table " + W_Nawiasach(t));
}
