// Steps 6.07 to 6.11: further product codes, the key columns of the ledger and of seven
// other tables under their final names, obsolete tables and columns dropped, duplicate
// stocktaking lines merged, the employer fields of the employment certificate; and the
// column rename through DAO that the renames use.
#include <memory>
#include <string>

#include "db/nz.h"
#include "db/otworz.h"
#include "db/polaczenie.h"
#include "db/schemat.h"
#include "db/teksty.h"
#include "db/wykonaj.h"
#include "driver/konwersje.h"
#include "jet/text.h"
#include "steps/165_299/wspolne.h"
#include "steps/400_499/wspolne_400.h"

void ClsKonwersje::Zmiena_Nazwe_Pola_w_Tabeli2(std::string& sciezka, std::string& stara,
                                               std::string& nowa, std::string& tabela) {
    // Held by the object until closed, so that the version loop closes it when the
    // engine refuses the rename.
    BazaDAO = dao::DBEngine::OpenDatabase(sciezka);
    const std::string szukana = jet::text::upper(tabela);
    const std::string pole = jet::text::upper(stara);
    const int n = BazaDAO->TableDefCount();
    for (int i = 0; i < n; ++i) {
        dao::TableDef td = BazaDAO->TableDefs(i);
        const std::string nazwa = jet::text::upper(td.Name());
        if (nazwa.compare(0, 4, "MSYS") == 0 || nazwa.compare(0, 1, "_") == 0 ||
            nazwa == jet::text::upper("Błędy wklejania"))
            continue;
        if (nazwa != szukana) continue;
        const int pol = td.FieldCount();
        for (int j = 0; j < pol; ++j) {
            dao::Field f = td.Fields(j);
            if (jet::text::upper(f.Name()) != pole) continue;
            f.SetName(nowa);
            break;
        }
        break;
    }
    BazaDAO->Close();
    BazaDAO.reset();
    CzekajKonwersje(3);
}

namespace {

// The pairs of equal stocktaking lines, the lower key first.
constexpr const char* kParyLinii =
    " FROM DOK_REI_ZAWART INNER JOIN DOK_REI_ZAWART AS DOK_REI_ZAWART_1 ON (DOK_REI_ZAWART.CENA = "
    "DOK_REI_ZAWART_1.CENA) AND (DOK_REI_ZAWART.ID = DOK_REI_ZAWART_1.ID) AND "
    "(DOK_REI_ZAWART.ID_RI = DOK_REI_ZAWART_1.ID_RI) Where "
    "(((DOK_REI_ZAWART.countt) < [DOK_REI_ZAWART_1].[countt]))";

// Two lines of one stocktaking document with the same product and price become one,
// the lower key keeping the sums of both quantities; one pair per round, until none
// is left. The step of 6.08 sends the statements through the conversion executors,
// that of 6.10 through the module's.
void Scal_Linie_Remanentu(ClsKonwersje& k, bool wykonawcy_konwersji) {
    std::unique_ptr<ado::Recordset> rs;
    for (;;) {
        DbOtwórzSEL(
            rs,
            std::string("Select DOK_REI_ZAWART.COUNTT,DOK_REI_ZAWART_1.COUNTT,DOK_REI_ZAWART.ID_RI,"
                        "DOK_REI_ZAWART.ID,DOK_REI_ZAWART.CENA ") +
                kParyLinii + " order by DOK_REI_ZAWART.COUNTT,DOK_REI_ZAWART_1.COUNTT",
            kOtworzEdycja);
        ado::Recordset& r = kroki::Rekordy(rs);
        if (r.Eof()) break;
        const std::string zostaje = NzStr(r.Fields(0).value());
        const std::string scalona = NzStr(r.Fields(1).value());
        // A quantity not given adds nothing to the other line's.
        const std::string dodaj =
            "Update DOK_REI_ZAWART INNER JOIN DOK_REI_ZAWART AS DOK_REI_ZAWART_1 ON "
            "DOK_REI_ZAWART.ID_RI = DOK_REI_ZAWART_1.ID_RI set DOK_REI_ZAWART.ILOSC_NAMAGAZYNIE=" +
            kroki::Suma_SQL("DOK_REI_ZAWART.ILOSC_NAMAGAZYNIE",
                            "DOK_REI_ZAWART_1.ILOSC_NAMAGAZYNIE") +
            ",DOK_REI_ZAWART.ILOSC_STANFAKTYCZNY=" +
            kroki::Suma_SQL("DOK_REI_ZAWART.ILOSC_STANFAKTYCZNY",
                            "DOK_REI_ZAWART_1.ILOSC_STANFAKTYCZNY") +
            " where DOK_REI_ZAWART.COUNTT=" + zostaje + " and DOK_REI_ZAWART_1.COUNTT=" + scalona;
        // The merged line is named by the whole key of the lines, its Countt with the
        // document, product and price that the pair shares.
        const std::string usun =
            "DOK_REI_ZAWART where DOK_REI_ZAWART.COUNTT=" + scalona +
            " and DOK_REI_ZAWART.ID_RI=" + NzStr(r.Fields(2).value()) +
            " and DOK_REI_ZAWART.ID=" + NzStr(r.Fields(3).value()) +
            " and DOK_REI_ZAWART.CENA=" + Przecinek_Na_Kropke(r.Fields(4).value().to_text());
        if (wykonawcy_konwersji) {
            k.DbWykonajKonwersje(dodaj);
            k.DbWykonajDELKonwersje(usun);
        } else {
            DbWykonaj(dodaj);
            DbWykonajDEL(usun);
        }
        ZamknijRS(rs);
    }
    ZamknijRS(rs);
}

// Renames of key columns: old name, new name, table.
struct Zmiana_Pola {
    const char* stara;
    const char* nowa;
    const char* tabela;
};

void Zmien_Nazwy_Pol(ClsKonwersje& k, std::initializer_list<Zmiana_Pola> zmiany) {
    for (const Zmiana_Pola& z : zmiany) {
        std::string sciezka = polaczenie().Properties(7);
        std::string stara = z.stara;
        std::string nowa = z.nowa;
        std::string tabela = z.tabela;
        k.Zmiena_Nazwe_Pola_w_Tabeli2(sciezka, stara, nowa, tabela);
    }
}

}  // namespace

void ClsKonwersje::Konwersja_607() {
    for (const char* kolumna :
         {"[prod_kod_ean2] Text (13)", "[prod_kod_ean3] Text (13)", "[prod_kod_ean4] Text (13)"})
        Dodaj_Pole("PRODUKTY", kolumna);
    for (const char* kolumna : {"prod_kod_ean2", "prod_kod_ean3", "prod_kod_ean4"})
        DbWykonajKonwersje(std::string("Update PRODUKTY set ") + kolumna + "='' where " + kolumna +
                           " is null");
    DbWykonajKonwersje(
        "Update DOK_FIN_ZAWART set Brutto_dokumentu=-Brutto_dokumentu where Brutto_dokumentu<0");
}

void ClsKonwersje::Konwersja_608() {
    Scal_Linie_Remanentu(*this, true);
    Dodaj_Pole("PRODUKTY", "[DoSTrw] Logical");
    Dodaj_Pole("DOK_ZAK", "[DoSTrw_Z] Logical");
    Dodaj_Pole("DOK_KZA", "[DoSTrw_Z] Logical");
    Zmien_Nazwy_Pol(*this, {{"Countt_Konta_Ojaca_1", "id_Konta_Ojaca_1", "KH_KONTA"},
                            {"Countt_Konta_Ojaca_2", "id_Konta_Ojaca_2", "KH_KONTA"},
                            {"Countt_Konta_Ojaca_3", "id_Konta_Ojaca_3", "KH_KONTA"},
                            {"Countt_Konta", "Konta_id", "KH_DEKRETY"},
                            {"Countt_Konta", "Konta_id", "KH_SCHEMATY_ZAWART"},
                            {"Countt", "Kontaid", "KH_KONTA"},
                            {"Countt", "ID", "USUNIETO"}});
    for (const char* t : {"Stany_magazynowe_zawart", "DOWODY_DOSTAW_ROZLICZANIE", "KONTA_BANKOWE",
                          "PRAC_KIER", "REJESTR_VAT"})
        DbWykonajKonwersje(std::string("drop table ") + t);
    Usun_Pole("kontrahenci_rabaty", "countt");
    for (const char* t : {"kontrahenci_rabaty", "PRODUKTY_RECEPTURY_ZAWART",
                          "ZAMOWIENIA_PRZEKIEROWANIA", "Nieruszac"})
        Dodaj_Pole(t, "countt int identity");
}

void ClsKonwersje::Konwersja_609() {
    Dodaj_Pole("PRODUKTY", "[prod_kod_ean5] Text (13)");
    Dodaj_Pole("PRODUKTY", "[prod_kod5] Text (20)");
    Dodaj_Pole("KONTRAHENCI", "[kod_prod5] Logical");
    DbWykonajKonwersje("Update PRODUKTY set prod_kod_ean5='' where prod_kod_ean5 is null");
    DbWykonajKonwersje("Update PRODUKTY set prod_kod5='' where prod_kod5 is null");
}

void ClsKonwersje::Konwersja_610() {
    // The merge adds the quantities of one of two equal stocktaking lines to the other and
    // then deletes it; run again between the two, it would add them once more, and no fact
    // of the database tells whether it has. The column zakup of DOK_KFA, dropped right
    // before the merge, tells that an earlier run may have reached it.
    if (Jest_Tabela("DOK_KFA") && !Jest_Tabela("DOK_KFA", "zakup") &&
        Liczba_Z_Zapytania(std::string("count(*)") + kParyLinii) > 0)
        Konwersja_Przerwana(610,
                            "po usunięciu kolumny zakup tabeli DOK_KFA; ilości powtórzonych "
                            "pozycji remanentu mogły zostać już dodane do pozycji, które "
                            "zostają");
    Zmien_Nazwy_Pol(*this, {{"IDDD", "Countt", "ZAMOWIENIA_KOMENTARZE"},
                            {"iD", "Countt", "S_NUMERY_DOK"},
                            {"IDDD", "Countt", "KALENDARZ"},
                            {"ID", "Countt", "PRODUKTY_WSP_PRZEL"},
                            {"ID", "Countt", "CENNIKI_ZAWART"},
                            {"IDDD", "Countt", "PLACE_OPISY"},
                            {"IDC", "Countt", "PLACE_PARAMETRY"}});
    Usun_Pole("DOK_KZA", "zakup");
    Usun_Pole("DOK_KFA", "zakup");
    Scal_Linie_Remanentu(*this, false);
    DbWykonaj("delete * from KADRY_SWIADECTWA where trim$(sposobRozw)=''");
    DbWykonaj(
        "delete k1.* from KADRY_SWIADECTWA as k1 inner join KADRY_SWIADECTWA as k2 on "
        "k1.ID_PRAC=k2.ID_PRAC and k1.ID_UMOWY=k2.ID_UMOWY and  k1.data=k2.data where "
        "k1.countt<k2.countt");
    DbWykonaj("update KADRY_WARUNKI set Dataod=format(Dataod,'dd-MM-yyyy')");
}

void ClsKonwersje::Konwersja_611() {
    Dodaj_Pole("KADRY_SWIADECTWA", "[Pracodawca1] Text (80)");
    Dodaj_Pole("KADRY_SWIADECTWA", "[Pracodawca2] Text (80)");
}
