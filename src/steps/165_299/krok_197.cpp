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

// Rows that name a raw material by its old id and that the step re-points to the
// product carrying that id: the rows (the text after "from"), the column of the id, and
// which of the rows name a raw material (empty: all).
struct Odwolanie {
    const char* wiersze;
    const char* kolumna;
    const char* warunek;
};
constexpr std::array<Odwolanie, 9> kOdwolania = {{
    {"zakupy_ilosc", "zakupy_ilosc.sur_id", ""},
    {"zuzycie_calkowite", "zuzycie_calkowite.sur_id", ""},
    {"magazyn_SUROWCOW", "magazyn_SUROWCOW.sur_id", ""},
    {"zakupy_zawart", "zakupy_zawart.sur_id", ""},
    {"FAKTURY_WYCH_KOREKTA INNER JOIN FAKTURY_WYCH_KOREKTA_ZAWART ON "
     "FAKTURY_WYCH_KOREKTA.FKOROUT_ID = FAKTURY_WYCH_KOREKTA_ZAWART.FKOROUT_ID",
     "FAKTURY_WYCH_KOREKTA_ZAWART.PROD_ID", "FAKTURY_WYCH_KOREKTA.zakup=-1"},
    {"Zamowienia_Raport_Surowce", "Zamowienia_Raport_Surowce.sur_id", ""},
    {"REMANENTINWENT_ZAWARTOSC", "REMANENTINWENT_ZAWARTOSC.id",
     "(REMANENTINWENT_ZAWARTOSC.rodz='S' or REMANENTINWENT_ZAWARTOSC.rodz='K')"},
    {"PRODUKTY_Receptury", "PRODUKTY_Receptury.sur_id", "PRODUKTY_Receptury.ilosc_polprod=0"},
    {"PolPRODUKTY_Receptury", "PolPRODUKTY_Receptury.SUR_ID", ""},
}};

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

// The raw materials that no copy by sur_kod selects and no product names by sur_id, yet
// some row of a re-pointed table names: the re-pointing would leave those rows on
// whichever product has the old id as its own. Their choice as a condition on SUROWCE
// ("" when there are none).
std::string Surowce_Bez_Produktu(ClsKonwersje& k) {
    std::set<int32_t> kandydaci;
    Dodaj_Id(k,
             "SUROWCE.sur_id from SUROWCE left join PRODUKTY on PRODUKTY.sur_id=SUROWCE.sur_id "
             "where PRODUKTY.prod_id is null and (SUROWCE.sur_kod is null or SUROWCE.prod_wl is "
             "null or not (" +
                 Surowce_O_Kodzie("0") + " or " + Surowce_O_Kodzie("1") + "))",
             kandydaci);
    if (kandydaci.empty()) return "";
    std::set<int32_t> odwolane;
    for (const Odwolanie& o : kOdwolania) {
        const std::string kolumna = o.kolumna;
        Dodaj_Id(k,
                 "distinct " + kolumna + " from " + o.wiersze + " where " + kolumna + " In (" +
                     Lista_Id(kandydaci) + ")" + (*o.warunek ? " and " : "") + o.warunek,
                 odwolane);
    }
    return odwolane.empty() ? "" : "SUROWCE.sur_id In (" + Lista_Id(odwolane) + ")";
}

// The raw materials that wybor chooses arrived in PRODUKTY as products of kind rodzaj:
// every chosen row is counted with the product that carries its id, so that identical
// rows which the grouping merged into one product count as arrived.
void Sprawdz_Surowce(ClsKonwersje& k, const std::string& wybor, const std::string& rodzaj) {
    k.Sprawdz_Przeniesienie("SUROWCE", "PRODUKTY", "SUROWCE where " + wybor,
                            "SUROWCE inner join PRODUKTY on PRODUKTY.sur_id=SUROWCE.sur_id where " +
                                wybor + " and PRODUKTY.rodzaj='" + rodzaj + "'");
}

// The lines of the semi-product recipes with the product of the semi-product (PRODUKTY_1)
// and the product that carries the ingredient's old id (PRODUKTY).
constexpr const char* kRecepturyPolproduktow =
    "(PRODUKTY AS PRODUKTY_1 INNER JOIN PolPRODUKTY ON PRODUKTY_1.sur_id = PolPRODUKTY.id) "
    "INNER JOIN (PolPRODUKTY_Receptury INNER JOIN PRODUKTY ON PolPRODUKTY_Receptury.SUR_ID = "
    "PRODUKTY.sur_id) ON PolPRODUKTY.id = PolPRODUKTY_Receptury.id";

// Zero rows for every product that has none in tabela, keyed by kolumna.
std::string Zerowe_Wiersze(const std::string& tabela, const std::string& kolumna) {
    return "Insert Into " + tabela + " ( [" + kolumna + "], ilosc ) SELECT " + Stala_DISTINCTROW +
           " PRODUKTY.[prod_id],  0 AS Wyr2 FROM PRODUKTY LEFT JOIN " + tabela +
           " ON PRODUKTY.[prod_id] = " + tabela + ".[" + kolumna + "] WHERE (((" + tabela + ".[" +
           kolumna + "]) Is Null))";
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
    // A raw material of another sur_kod (or kept as goods with no goods product naming
    // it) that rows still name becomes an own raw material 'S', so that the re-pointing
    // below takes its rows along instead of leaving them on an unrelated product.
    const std::string bez_produktu = Surowce_Bez_Produktu(*this);
    if (!bez_produktu.empty())
        DbWykonajKonwersje(
            Kopia_Surowcow("1", "S", "1 AS wyr0", "WHERE " + bez_produktu + " ", ""));

    // 5. Tables that named a raw material now name its product.
    static constexpr std::array<const char*, 4> kSurowcowe = {"zakupy_ilosc", "zuzycie_calkowite",
                                                              "magazyn_SUROWCOW", "zakupy_zawart"};
    for (const std::string t : kSurowcowe)
        DbWykonajKonwersje("Update [" + t + "] inner join [PRODUKTY] on [PRODUKTY].[sur_id]=[" + t +
                           "].[sur_id] set [" + t + "].[sur_id]=[PRODUKTY].[prod_id]");

    // 6. Lines of purchase corrections.
    DbWykonajKonwersje(
        "Update (FAKTURY_WYCH_KOREKTA INNER JOIN FAKTURY_WYCH_KOREKTA_ZAWART ON "
        "FAKTURY_WYCH_KOREKTA.FKOROUT_ID = FAKTURY_WYCH_KOREKTA_ZAWART.FKOROUT_ID) INNER JOIN "
        "PRODUKTY ON FAKTURY_WYCH_KOREKTA_ZAWART.PROD_ID = PRODUKTY.sur_id SET "
        "FAKTURY_WYCH_KOREKTA_ZAWART.PROD_ID = [PRODUKTY].[prod_id] WHERE "
        "(((FAKTURY_WYCH_KOREKTA.zakup)=-1))");

    // 7. Semi-products: 'O'.
    DbWykonajKonwersje(
        "Insert Into PRODUKTY ( prod_sww, prod_jed, STVAT_ID, PROD_NUMER_ID, prod_on, "
        "PROD_CENA_SUGERO, sur_id, PROD_NAZWA_id, grupa, prod_wl, act_buy, act_sale, act_to_rec, "
        "act_recipe,r_licz,nawazka,prod_waga,rodzaj,PROD_WYDAJNOSCzREC )SELECT '' as sww, "
        "polPRODUKTY.JED_NAZWA_ID, '22' as STVAT, 0 as numer, true as act, 0 as cena, "
        "polPRODUKTY.id, polPRODUKTY.pprod_NAZWA_id,null as grupa, 1 AS wyr0, 0 AS wyr1, 0 AS "
        "wyr2, 1 AS wyr3, 1 AS wyr4,0 as wyr5,1 as wyr6,1 as wyr7,'O' as "
        "wyr8,PPROD_WYDAJNOSCzREC From polPRODUKTY GROUP BY polPRODUKTY.JED_NAZWA_ID, "
        "polPRODUKTY.id, polPRODUKTY.pprod_NAZWA_id,PPROD_WYDAJNOSCzREC");

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
        Stala_DISTINCTROW +
        " PRODUKTY.PROD_ID, Null AS Wyr1, PolPRODUKTY_Receptury.ilosc_sur, PRODUKTY_1.PROD_ID "
        "FROM " +
        kRecepturyPolproduktow +
        " GROUP BY PRODUKTY.PROD_ID, PolPRODUKTY_Receptury.ilosc_sur, PRODUKTY_1.PROD_ID, "
        "PRODUKTY_1.rodzaj HAVING (((PRODUKTY_1.rodzaj)='O'))");

    // 10 and 11. Product recipe lines: a semi-product ingredient becomes the 'O' product
    // with its quantity moved into ilosc_sur; a raw-material ingredient its 'S' product,
    // or its 'K' product when it is one bought only (left on its old id, the line would
    // name whichever product has that id as its own).
    const std::string receptury =
        "Update " + Stala_DISTINCTROW +
        " PRODUKTY AS PRODUKTY_1 INNER JOIN (PRODUKTY INNER JOIN PRODUKTY_Receptury ON "
        "PRODUKTY.PROD_ID = PRODUKTY_Receptury.PROD_ID) ON PRODUKTY_1.sur_id = "
        "PRODUKTY_Receptury.sur_id SET ";
    DbWykonajKonwersje(receptury +
                       "PRODUKTY_Receptury.[ilosc_sur] = "
                       "[PRODUKTY_Receptury].ilosc_polprod,PRODUKTY_Receptury.ilosc_polprod = 0, "
                       "PRODUKTY_Receptury.sur_id = [PRODUKTY_1].[prod_id] WHERE "
                       "(((PRODUKTY_Receptury.ilosc_polprod)<>0) AND ((PRODUKTY_1.rodzaj)='O'))");
    DbWykonajKonwersje(receptury +
                       "PRODUKTY_Receptury.ilosc_polprod = 0, PRODUKTY_Receptury.sur_id = "
                       "[PRODUKTY_1].[prod_id] WHERE (((PRODUKTY_Receptury.ilosc_polprod)=0) AND "
                       "((PRODUKTY_1.rodzaj)='S' Or (PRODUKTY_1.rodzaj)='K'))");

    // 12. Zero rows of purchases, use and stock for every product.
    DbWykonajKonwersje(Zerowe_Wiersze("zakupy_ilosc", "sur_id"));
    DbWykonajKonwersje(Zerowe_Wiersze("zuzycie_calkowite", "sur_id"));
    DbWykonajKonwersje(Zerowe_Wiersze("magazyn_produktow", "prod_id"));

    // 13. Raw-material stock and purchases added to the products'.
    DbWykonajKonwersje(
        "Update [magazyn_produktow] inner join magazyn_SUROWCOW on "
        "magazyn_SUROWCOW.sur_id=[magazyn_produktow].prod_id set "
        "[magazyn_produktow].ilosc=[magazyn_produktow].ilosc+magazyn_SUROWCOW.ilosc");
    DbWykonajKonwersje(
        "Update [SPRZEDAZ_ILOSC] inner join zakupy_ilosc on "
        "[SPRZEDAZ_ILOSC].prod_id=zakupy_ilosc.sur_id set "
        "[SPRZEDAZ_ILOSC].zakup_il=[SPRZEDAZ_ILOSC].zakup_il+zakupy_ilosc.ilosc");

    // 14. The order reports' raw-material summary.
    DbWykonajKonwersje(
        "Update Zamowienia_Raport_Surowce inner join PRODUKTY on "
        "PRODUKTY.sur_id=Zamowienia_Raport_Surowce.sur_id set "
        "Zamowienia_Raport_Surowce.sur_id=PRODUKTY.prod_id");

    // 15. Stocktaking lines of the copied raw materials.
    DbWykonajKonwersje(
        "Update REMANENTINWENT_ZAWARTOSC inner join PRODUKTY on "
        "PRODUKTY.sur_id=REMANENTINWENT_ZAWARTOSC.id set "
        "REMANENTINWENT_ZAWARTOSC.id=PRODUKTY.prod_id "
        "where (REMANENTINWENT_ZAWARTOSC.rodz='S' or REMANENTINWENT_ZAWARTOSC.rodz='K') and "
        "PRODUKTY.prod_wl=1");

    // 16. A raw material kept as goods: its count in the same stocktaking is added to the
    // goods line, which becomes 'T'.
    static constexpr std::array<const char*, 8> kIlosci = {
        "Ilosc_namagazynie", "Ilosc_stanfaktyczny",
        "mag_prod",          "zak_il",
        "sprz_il",           "zuzyte",
        "przych_il",         "rozch_il",
    };
    std::string sumy;
    for (const std::string c : kIlosci) {
        if (!sumy.empty()) sumy += ",";
        sumy += "REMANENTINWENT_ZAWARTOSC." + c + "=REMANENTINWENT_ZAWARTOSC." + c +
                "+REMANENTINWENT_ZAWARTOSC_1." + c;
    }
    DbWykonajKonwersje(
        "Update (REMANENTINWENT_ZAWARTOSC INNER JOIN PRODUKTY ON REMANENTINWENT_ZAWARTOSC.ID = "
        "PRODUKTY.PROD_ID) INNER JOIN REMANENTINWENT_ZAWARTOSC AS REMANENTINWENT_ZAWARTOSC_1 ON "
        "PRODUKTY.sur_id = REMANENTINWENT_ZAWARTOSC_1.ID SET " +
        sumy +
        ",REMANENTINWENT_ZAWARTOSC.Rodz='T' WHERE (((PRODUKTY.prod_wl)=0) AND "
        "((REMANENTINWENT_ZAWARTOSC_1.Rodz)='S') and REMANENTINWENT_ZAWARTOSC.ID_RI "
        "=REMANENTINWENT_ZAWARTOSC_1.ID_RI) ");

    // 17. The merged raw-material lines go.
    DbWykonajKonwersje(
        "Update REMANENTINWENT_ZAWARTOSC inner join PRODUKTY on "
        "PRODUKTY.sur_id=REMANENTINWENT_ZAWARTOSC.id set REMANENTINWENT_ZAWARTOSC.id=0 where "
        "(REMANENTINWENT_ZAWARTOSC.rodz='S' or REMANENTINWENT_ZAWARTOSC.rodz='K') and "
        "PRODUKTY.prod_wl=0");
    DbWykonajKonwersje("Delete from REMANENTINWENT_ZAWARTOSC where REMANENTINWENT_ZAWARTOSC.id=0");

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
    if (!bez_produktu.empty()) Sprawdz_Surowce(*this, bez_produktu, "S");
    Sprawdz_Przeniesienie("PolPRODUKTY", "PRODUKTY", "PolPRODUKTY",
                          "PolPRODUKTY inner join PRODUKTY on PRODUKTY.sur_id=PolPRODUKTY.id "
                          "where PRODUKTY.rodzaj='O'");
    // Each line that the recipe copy selects is counted with a line of its product and
    // ingredient, for the same reason.
    const std::string receptury_O = std::string(kRecepturyPolproduktow);
    Sprawdz_Przeniesienie("PolPRODUKTY_Receptury", "PRODUKTY_Receptury",
                          receptury_O + " where PRODUKTY_1.rodzaj='O'",
                          "(" + receptury_O +
                              ") INNER JOIN PRODUKTY_Receptury ON (PRODUKTY_Receptury.PROD_ID = "
                              "PRODUKTY_1.PROD_ID AND PRODUKTY_Receptury.sur_id = "
                              "PRODUKTY.PROD_ID) where PRODUKTY_1.rodzaj='O'");
    DbWykonajKonwersje("delete from surowce");
    DbWykonajKonwersje("delete from magazyn_surowcow");
    DbWykonajKonwersje("delete from PolPRODUKTY");
    DbWykonajKonwersje("delete from PolPRODUKTY_receptury");
}
