// Step 1.97: raw materials and semi-products move into the product table, told apart by
// the kind rodzaj and four activity flags; every table that named a raw material or a
// semi-product by its old id is re-pointed to the new product id, the recipes and the
// stocktaking lines follow, all products are renumbered, the product groups get their
// dictionary, and the old tables are emptied.
#include <array>
#include <optional>
#include <set>
#include <string>

#include "db/nz.h"
#include "db/postep.h"
#include "driver/konwersje.h"
#include "jet/error.h"
#include "steps/165_299/wspolne.h"

using jet::Value;
using kroki::W_Apostrofach;

namespace {

// The copy into PRODUKTY of raw materials as products of kind rodzaj: 'S' (used in
// recipes) or 'K' (bought only). wl is what prod_wl takes; gdzie (a where clause with
// its blank after) and having choose the raw materials around the grouping, which
// leaves one product row per raw material.
std::string Kopia_Surowcow(const std::string& do_receptur, const std::string& rodzaj,
                           const std::string& wl, const std::string& gdzie,
                           const std::string& having) {
    return "Insert Into PRODUKTY ( prod_sww, prod_jed, STVAT_ID, PROD_NUMER_ID, prod_on, "
           "PROD_CENA_SUGERO, sur_id, PROD_NAZWA_id, grupa, prod_wl, act_buy, act_sale, "
           "act_to_rec, act_recipe,r_licz,nawazka,prod_waga,rodzaj )SELECT SUROWCE.SUR_SWW, "
           "SUROWCE.JED_NAZWA_ID, SUROWCE.STVAT_ID, SUROWCE.sur_numer, SUROWCE.sur_activ, "
           "SUROWCE.sur_cena_n_ost, SUROWCE.sur_id, SUROWCE.SUR_NAZWA_id, SUROWCE.grupa, " +
           wl + ", 1 AS wyr1, 0 AS wyr2, " + do_receptur +
           " AS wyr3, 0 AS wyr4,0 as wyr5,1 as wyr6,1 as wyr7,'" + rodzaj +
           "' as wyr8 From SUROWCE " + gdzie +
           "GROUP BY SUROWCE.SUR_SWW, SUROWCE.JED_NAZWA_ID, SUROWCE.STVAT_ID, SUROWCE.sur_numer, "
           "SUROWCE.sur_activ, SUROWCE.sur_cena_n_ost, SUROWCE.sur_id, SUROWCE.SUR_NAZWA_id, "
           "surowce.grupa, SUROWCE.sur_kod,SUROWCE.prod_wl " +
           having;
}

// The own raw materials (prod_wl 1) of one sur_kod: 0 become 'S', 1 'K'.
std::string Surowce_O_Kodzie(const std::string& sur_kod) {
    return "(((SUROWCE.sur_kod)=" + sur_kod + ") and ((SUROWCE.prod_wl)=1))";
}

// The step's work tables: for every old raw material and every old semi-product, the
// product that carries it from now on (stare the old id, nowe the product's id, towar
// true when a goods product carries a raw material kept as goods).
constexpr const char* kMapaSurowcow = "[_surowce_POM]";
constexpr const char* kMapaPolproduktow = "[_polprodukty_POM]";

// Raw materials and semi-products were numbered by two counters of their own, and the
// products by a third, so an old id means nothing without the kind of item it names.
enum class Rodzaj_Id : uint8_t { Surowiec, Polprodukt };

// A column whose rows name a raw material or a semi-product by its old id: the rows (the
// text after "from": a join to the rows' header, "" for the table alone), the table and
// its column, the kind of item that the rows which warunek chooses name ("" all rows),
// and what the re-pointing assigns besides the id ("" nothing). ilosc is the quantity of a quantity
// table ("" for lines of documents, recipes, stocktakings and order reports): a row with
// no quantity does not need its raw material kept. A column that is not przepinany is
// read through the map by the step, which then empties its table.
struct Odwolanie {
    const char* wiersze;
    const char* tabela;
    const char* kolumna;
    Rodzaj_Id rodzaj;
    const char* warunek;
    const char* ustaw;
    const char* ilosc;
    bool przepinany;
};
using enum Rodzaj_Id;
// In the order of the re-pointing: the recipe lines that name a raw material (ilosc_polprod
// 0 or Null) are re-pointed before those that name a semi-product, whose re-pointing sets
// their ilosc_polprod to 0.
constexpr std::array<Odwolanie, 11> kOdwolania = {{
    {"", "zakupy_ilosc", "sur_id", Surowiec, "", "", "ilosc", true},
    {"", "zuzycie_calkowite", "sur_id", Surowiec, "", "", "ilosc", true},
    {"", "magazyn_SUROWCOW", "sur_id", Surowiec, "", "", "ilosc", true},
    {"", "zakupy_zawart", "sur_id", Surowiec, "", "", "", true},
    {"(FAKTURY_WYCH_KOREKTA INNER JOIN FAKTURY_WYCH_KOREKTA_ZAWART ON "
     "FAKTURY_WYCH_KOREKTA.FKOROUT_ID = FAKTURY_WYCH_KOREKTA_ZAWART.FKOROUT_ID)",
     "FAKTURY_WYCH_KOREKTA_ZAWART", "PROD_ID", Surowiec, "FAKTURY_WYCH_KOREKTA.zakup=-1", "", "",
     true},
    {"", "Zamowienia_Raport_Surowce", "sur_id", Surowiec, "", "", "", true},
    // A line of a raw material kept as goods that is not added to its goods product's line
    // becomes that product's line.
    {"", "REMANENTINWENT_ZAWARTOSC", "ID", Surowiec,
     "(REMANENTINWENT_ZAWARTOSC.Rodz='S' or REMANENTINWENT_ZAWARTOSC.Rodz='K')",
     "REMANENTINWENT_ZAWARTOSC.Rodz=IIf([_surowce_POM].towar,'T',REMANENTINWENT_ZAWARTOSC.Rodz)",
     "", true},
    {"", "PRODUKTY_Receptury", "sur_id", Surowiec,
     "(PRODUKTY_Receptury.ilosc_polprod=0 or PRODUKTY_Receptury.ilosc_polprod is null)",
     "PRODUKTY_Receptury.ilosc_polprod=0", "", true},
    {"", "PRODUKTY_Receptury", "sur_id", Polprodukt, "PRODUKTY_Receptury.ilosc_polprod<>0",
     "PRODUKTY_Receptury.ilosc_sur=PRODUKTY_Receptury.ilosc_polprod,PRODUKTY_Receptury."
     "ilosc_polprod=0",
     "", true},
    {"", "PolPRODUKTY_Receptury", "SUR_ID", Surowiec, "", "", "", false},
    {"", "PolPRODUKTY_Receptury", "id", Polprodukt, "", "", "", false},
}};

const char* Mapa(Rodzaj_Id r) {
    return r == Surowiec ? kMapaSurowcow : kMapaPolproduktow;
}

std::string Kolumna(const Odwolanie& o) {
    return std::string(o.tabela) + "." + o.kolumna;
}

// The rows of o (the text after "from").
std::string Wiersze(const Odwolanie& o) {
    return *o.wiersze ? o.wiersze : o.tabela;
}

// The rows of o that name an item of its kind, with "where": the condition warunek and
// the extra condition dodatkowo (either may be "").
std::string Wiersze_Gdzie(const Odwolanie& o, const std::string& dodatkowo) {
    std::string gdzie = o.warunek;
    if (!dodatkowo.empty()) gdzie += (gdzie.empty() ? "" : " and ") + dodatkowo;
    return Wiersze(o) + (gdzie.empty() ? "" : " where " + gdzie);
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

// The raw materials that no product carries yet (no copy by sur_kod, no goods product
// naming them by sur_id), split into those that some row names with a quantity or as a
// line (nazwane) and those named by no row or only by rows without a quantity (reszta).
void Surowce_Bez_Produktu(ClsKonwersje& k, std::set<int32_t>& nazwane, std::set<int32_t>& reszta) {
    std::set<int32_t> kandydaci;
    Dodaj_Id(k,
             std::string("SUROWCE.sur_id from SUROWCE left join ") + kMapaSurowcow + " on " +
                 kMapaSurowcow + ".stare=SUROWCE.sur_id where " + kMapaSurowcow + ".stare is null",
             kandydaci);
    if (kandydaci.empty()) return;
    for (const Odwolanie& o : kOdwolania) {
        if (o.rodzaj != Surowiec) continue;
        const std::string kolumna = Kolumna(o);
        std::string warunek = kolumna + " In (" + Lista_Id(kandydaci) + ")";
        if (*o.ilosc) warunek += std::string(" and ") + o.tabela + "." + o.ilosc + "<>0";
        Dodaj_Id(k, "distinct " + kolumna + " from " + Wiersze_Gdzie(o, warunek), nazwane);
    }
    for (const int32_t id : kandydaci)
        if (!nazwane.contains(id)) reszta.insert(id);
}

// Puts into the map of raw materials every copied raw material ('S' or 'K') that it does
// not hold yet.
void Mapuj_Kopie_Surowcow(ClsKonwersje& k) {
    const std::string m = kMapaSurowcow;
    k.DbWykonajKonwersje("Insert Into " + m +
                         " ( stare, nowe, towar ) SELECT PRODUKTY.sur_id, PRODUKTY.prod_id, False "
                         "FROM PRODUKTY LEFT JOIN " +
                         m + " ON " + m +
                         ".stare=PRODUKTY.sur_id WHERE (PRODUKTY.rodzaj='S' Or "
                         "PRODUKTY.rodzaj='K') And " +
                         m + ".stare Is Null");
}

// The raw materials that wybor chooses arrived in PRODUKTY as products of kind rodzaj:
// every chosen row is counted with the product that carries its id, so that identical
// rows which the grouping merged into one product count as arrived.
void Sprawdz_Surowce(ClsKonwersje& k, const std::string& wybor, const std::string& rodzaj) {
    k.Sprawdz_Przeniesienie("SUROWCE", "PRODUKTY", "SUROWCE where " + wybor,
                            "SUROWCE inner join PRODUKTY on PRODUKTY.sur_id=SUROWCE.sur_id where " +
                                wybor + " and PRODUKTY.rodzaj='" + rodzaj + "'");
}

// The lines of the semi-product recipes with the product of the semi-product (P) and the
// product that carries the ingredient (S), both found by the old id in its own kind.
std::string Receptury_Polproduktow() {
    return std::string("(PolPRODUKTY_Receptury INNER JOIN ") + kMapaPolproduktow +
           " AS P ON P.stare = PolPRODUKTY_Receptury.id) INNER JOIN " + kMapaSurowcow +
           " AS S ON S.stare = PolPRODUKTY_Receptury.SUR_ID";
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

// A stocktaking line of a raw material kept as goods is added to the line of its goods
// product in the same stocktaking (a line that names a product: not 'S' or 'K'), which
// becomes 'T', a Null quantity counting as none; each line so added goes. Several lines of
// one raw material all add up, the update adding pair by pair. A line whose stocktaking
// has no line of the goods product stays, for the re-pointing.
void Scal_Remanent_Towarow(ClsKonwersje& k) {
    std::string sumy;
    for (const std::string c : kIlosciRemanentu)
        sumy += "G." + c + "=Nz(G." + c + ",0)+Nz(L." + c + ",0),";
    const std::string pary =
        std::string("(REMANENTINWENT_ZAWARTOSC AS L INNER JOIN ") + kMapaSurowcow +
        " AS M ON M.stare = L.ID) INNER JOIN REMANENTINWENT_ZAWARTOSC AS G ON (G.ID_RI = "
        "L.ID_RI AND G.ID = M.nowe)";
    const std::string gdzie =
        " WHERE M.towar And (L.Rodz='S' Or L.Rodz='K') And (G.Rodz Is Null Or (G.Rodz<>'S' And "
        "G.Rodz<>'K'))";
    k.DbWykonajKonwersje("Update " + pary + " SET " + sumy + "G.Rodz='T'" + gdzie);
    k.DbWykonajKonwersje("Delete L.* FROM " + pary + gdzie);
}

// A run of this step that stopped after the copy of the raw materials left copied rows in
// PRODUKTY while the old tables still hold theirs; the tables it re-pointed can no longer
// be told apart, so the step refuses to copy again instead of duplicating products and
// re-pointing twice. The failure reaches the version loop; the version stays at 1.96.
void Sprawdz_Przerwany_Przebieg(ClsKonwersje& k) {
    if (k.Liczba_Z_Zapytania(
            "count(*) from PRODUKTY where rodzaj='S' or rodzaj='K' or rodzaj='O'") <= 0)
        return;
    if (k.Liczba_Z_Zapytania("count(*) from SUROWCE") <= 0 &&
        k.Liczba_Z_Zapytania("count(*) from PolPRODUKTY") <= 0)
        return;
    throw jet::Error(jet::hr::Unspecified,
                     "Poprzednia konwersja do wersji 1.97 została przerwana po przeniesieniu "
                     "surowców do tabeli PRODUKTY. Przywróć kopię bazy sprzed konwersji.");
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
    Sprawdz_Przerwany_Przebieg(*this);

    // 3. Existing products: goods 'T' and own products 'P'.
    DbWykonajKonwersje(
        "Update PRODUKTY SET PRODUKTY.act_sale = True, PRODUKTY.act_buy = True, "
        "PRODUKTY.act_to_rec = False, PRODUKTY.act_recipe = False,rodzaj='T' WHERE "
        "(((PRODUKTY.prod_wl)=0))");
    DbWykonajKonwersje(
        "Update PRODUKTY SET PRODUKTY.act_sale = True, PRODUKTY.act_buy = False, "
        "PRODUKTY.act_to_rec = False, PRODUKTY.act_recipe = True,rodzaj='P' WHERE "
        "(((PRODUKTY.prod_wl)=1))");

    // 4. Raw materials of own use: 'S', then the bought-only 'K'.
    const std::string surowce_S = Surowce_O_Kodzie("0");
    const std::string surowce_K = Surowce_O_Kodzie("1");
    DbWykonajKonwersje(Kopia_Surowcow("1", "S", "surowce.prod_wl", "", "HAVING " + surowce_S));
    DbWykonajKonwersje(Kopia_Surowcow("0", "K", "surowce.prod_wl", "", "HAVING " + surowce_K));

    // The map of every old raw material to the product that carries it: its copy, else
    // the goods product that names it by sur_id (the first one).
    for (const char* m : {kMapaSurowcow, kMapaPolproduktow}) {
        DbWykonajKonwersje(std::string("DROP table ") + m);
        DbWykonajKonwersje(std::string("create table ") + m +
                           " (stare Long, nowe Long, towar Logical DEFAULT False)");
        DbWykonajKonwersje(std::string("create unique index stare on ") + m + " (stare)");
    }
    Mapuj_Kopie_Surowcow(*this);
    const std::string m = kMapaSurowcow;
    DbWykonajKonwersje("Insert Into " + m +
                       " ( stare, nowe, towar ) SELECT PRODUKTY.sur_id, Min(PRODUKTY.prod_id), "
                       "True FROM (PRODUKTY INNER JOIN SUROWCE ON SUROWCE.sur_id=PRODUKTY.sur_id) "
                       "LEFT JOIN " +
                       m + " ON " + m + ".stare=PRODUKTY.sur_id WHERE PRODUKTY.rodzaj='T' And " +
                       m + ".stare Is Null GROUP BY PRODUKTY.sur_id");
    // A raw material that neither takes, but that a row names with a quantity or as a
    // line, is copied too ('K' for sur_kod 1, else 'S'), so that its rows keep naming it;
    // rows without a quantity of one that nothing else names go with it.
    std::set<int32_t> nazwane, reszta;
    Surowce_Bez_Produktu(*this, nazwane, reszta);
    const std::string dodatkowe = "SUROWCE.sur_id In (" + Lista_Id(nazwane) + ")";
    const std::string dodatkowe_K = dodatkowe + " and SUROWCE.sur_kod=1";
    const std::string dodatkowe_S =
        dodatkowe + " and (SUROWCE.sur_kod<>1 or SUROWCE.sur_kod is null)";
    if (!nazwane.empty()) {
        DbWykonajKonwersje(Kopia_Surowcow("1", "S", "1 AS wyr0", "WHERE " + dodatkowe_S + " ", ""));
        DbWykonajKonwersje(Kopia_Surowcow("0", "K", "1 AS wyr0", "WHERE " + dodatkowe_K + " ", ""));
        Mapuj_Kopie_Surowcow(*this);
    }
    if (!reszta.empty())
        for (const Odwolanie& o : kOdwolania)
            if (o.rodzaj == Surowiec && *o.ilosc)
                DbWykonajKonwersje(std::string("Delete from ") + o.tabela + " where " + Kolumna(o) +
                                   " In (" + Lista_Id(reszta) + ") and (" + o.ilosc + "=0 or " +
                                   o.ilosc + " is null)");

    // 7. Semi-products: 'O', and the map of every old semi-product to its product.
    DbWykonajKonwersje(
        "Insert Into PRODUKTY ( prod_sww, prod_jed, STVAT_ID, PROD_NUMER_ID, prod_on, "
        "PROD_CENA_SUGERO, sur_id, PROD_NAZWA_id, grupa, prod_wl, act_buy, act_sale, act_to_rec, "
        "act_recipe,r_licz,nawazka,prod_waga,rodzaj,PROD_WYDAJNOSCzREC )SELECT '' as sww, "
        "polPRODUKTY.JED_NAZWA_ID, '22' as STVAT, 0 as numer, true as act, 0 as cena, "
        "polPRODUKTY.id, polPRODUKTY.pprod_NAZWA_id,null as grupa, 1 AS wyr0, 0 AS wyr1, 0 AS "
        "wyr2, 1 AS wyr3, 1 AS wyr4,0 as wyr5,1 as wyr6,1 as wyr7,'O' as "
        "wyr8,PPROD_WYDAJNOSCzREC From polPRODUKTY GROUP BY polPRODUKTY.JED_NAZWA_ID, "
        "polPRODUKTY.id, polPRODUKTY.pprod_NAZWA_id,PPROD_WYDAJNOSCzREC");
    DbWykonajKonwersje(std::string("Insert Into ") + kMapaPolproduktow +
                       " ( stare, nowe ) SELECT PRODUKTY.sur_id, PRODUKTY.prod_id FROM PRODUKTY "
                       "WHERE PRODUKTY.rodzaj='O'");

    // 5, 6, 10, 11, 14 to 17. Every row that named a raw material or a semi-product now
    // names the product that carries it, each row once and by the kind of item it named:
    // the old ids are read only through the maps, never against ids already re-pointed.
    // A stocktaking line of a raw material kept as goods first joins its goods product's
    // line of the same stocktaking.
    Scal_Remanent_Towarow(*this);
    for (const Odwolanie& o : kOdwolania) {
        if (!o.przepinany) continue;
        const std::string mapa = Mapa(o.rodzaj);
        std::string ustaw = Kolumna(o) + "=" + mapa + ".nowe";
        if (*o.ustaw) ustaw += std::string(",") + o.ustaw;
        DbWykonajKonwersje("Update " + Wiersze(o) + " INNER JOIN " + mapa + " ON " + mapa +
                           ".stare=" + Kolumna(o) + " SET " + ustaw +
                           (*o.warunek ? std::string(" WHERE ") + o.warunek : ""));
    }

    // 8. Quantity rows for every product that has none.
    DbWykonajKonwersje(
        "Insert Into [SPRZEDAZ_ILOSC] ( [prod_id], ilosc,zakup_il,przych_il,ROZCH_IL ) SELECT " +
        Stala_DISTINCTROW +
        " PRODUKTY.[prod_id],  0 AS Wyr2,  0 AS Wyr3,  0 AS Wyr4,  0 AS Wyr5  FROM PRODUKTY LEFT "
        "JOIN [SPRZEDAZ_ILOSC] ON PRODUKTY.[prod_id] = [SPRZEDAZ_ILOSC].[prod_id] WHERE "
        "((([SPRZEDAZ_ILOSC].[prod_id]) Is Null))");

    // 9. Semi-product recipes become recipes of the 'O' products.
    DbWykonajKonwersje(
        "Insert Into PRODUKTY_Receptury ( sur_id, PPROD_nazwa_ID, ilosc_sur, PROD_ID ) SELECT " +
        Stala_DISTINCTROW + " S.nowe, Null AS Wyr1, PolPRODUKTY_Receptury.ilosc_sur, P.nowe FROM " +
        Receptury_Polproduktow() + " GROUP BY S.nowe, PolPRODUKTY_Receptury.ilosc_sur, P.nowe");

    // 12. Zero rows of purchases, use and stock for every product.
    DbWykonajKonwersje(Zerowe_Wiersze("zakupy_ilosc", "sur_id"));
    DbWykonajKonwersje(Zerowe_Wiersze("zuzycie_calkowite", "sur_id"));
    DbWykonajKonwersje(Zerowe_Wiersze("magazyn_produktow", "prod_id"));

    // 13. Raw-material stock and purchases added to the products', a Null counting as
    // none; a row with nothing to add is left as it is.
    DbWykonajKonwersje(
        "Update [magazyn_produktow] inner join magazyn_SUROWCOW on "
        "magazyn_SUROWCOW.sur_id=[magazyn_produktow].prod_id set "
        "[magazyn_produktow].ilosc=Nz([magazyn_produktow].ilosc,0)+magazyn_SUROWCOW.ilosc where "
        "magazyn_SUROWCOW.ilosc<>0");
    DbWykonajKonwersje(
        "Update [SPRZEDAZ_ILOSC] inner join zakupy_ilosc on "
        "[SPRZEDAZ_ILOSC].prod_id=zakupy_ilosc.sur_id set "
        "[SPRZEDAZ_ILOSC].zakup_il=Nz([SPRZEDAZ_ILOSC].zakup_il,0)+zakupy_ilosc.ilosc where "
        "zakupy_ilosc.ilosc<>0");

    // 18. Goods lose their recipes.
    DbWykonajKonwersje(
        "Update PRODUKTY_Receptury inner join PRODUKTY on "
        "PRODUKTY.prod_id=PRODUKTY_Receptury.prod_id set PRODUKTY_Receptury.prod_id=0 where "
        "PRODUKTY.prod_wl=0");
    DbWykonajKonwersje("Delete from PRODUKTY_Receptury where PRODUKTY_Receptury.prod_id=0");

    // 19. From here on the kind lives in rodzaj.
    DbWykonajKonwersje("Update PRODUKTY set PRODUKTY.prod_wl=1 where PRODUKTY.prod_wl=0");

    // 20. All products numbered 1 ... N by kind, each kind in its old number order.
    int32_t n = 0;
    kroki::Numeruj(*this, "prod_numer_id from PRODUKTY order by rodzaj,prod_numer_id",
                   [&](ado::Recordset&) -> std::optional<int32_t> { return ++n; });

    // 21. The group dictionary.
    DbWykonajKonwersje("create table Grupy (Nazwa text(40),opis memo,w_kasie text(19))");
    DbWykonajKonwersje("alter table Vat_stawki ADD COLUMN w_kasie text(19)");
    DbWykonajKonwersje("alter table jednostki ADD COLUMN w_kasie text(19)");

    // 22. Products without a group go to 'Podstawowa'.
    DbWykonajKonwersje(
        "UPDATE [PRODUKTY] SET [GRUPA]='Podstawowa' WHERE [GRUPA]='' OR [GRUPA] is null");

    // 23. Every group that the products name gets its row.
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
    // arrived: a copy's failure that the executor absorbed ("duplicate values" of a
    // unique index) would otherwise lose the rows with their source.
    Sprawdz_Surowce(*this, surowce_S, "S");
    Sprawdz_Surowce(*this, surowce_K, "K");
    if (!nazwane.empty()) {
        Sprawdz_Surowce(*this, dodatkowe_S, "S");
        Sprawdz_Surowce(*this, dodatkowe_K, "K");
    }
    Sprawdz_Przeniesienie("PolPRODUKTY", "PRODUKTY", "PolPRODUKTY",
                          "PolPRODUKTY inner join PRODUKTY on PRODUKTY.sur_id=PolPRODUKTY.id "
                          "where PRODUKTY.rodzaj='O'");
    // Each line that the recipe copy selects is counted with a line of its product and
    // ingredient, for the same reason.
    Sprawdz_Przeniesienie("PolPRODUKTY_Receptury", "PRODUKTY_Receptury", Receptury_Polproduktow(),
                          "(" + Receptury_Polproduktow() +
                              ") INNER JOIN PRODUKTY_Receptury ON (PRODUKTY_Receptury.PROD_ID = "
                              "P.nowe AND PRODUKTY_Receptury.sur_id = S.nowe)");
    DbWykonajKonwersje("delete from surowce");
    DbWykonajKonwersje("delete from magazyn_surowcow");
    DbWykonajKonwersje("delete from PolPRODUKTY");
    DbWykonajKonwersje("delete from PolPRODUKTY_receptury");
    for (const char* mapa : {kMapaSurowcow, kMapaPolproduktow})
        DbWykonajKonwersje(std::string("DROP table ") + mapa);
}
