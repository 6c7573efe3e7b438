// Steps 4.45 to 4.53: goods-receipt and goods-issue lines in stock units with their
// ledger columns, linked ledger accounts, the assortment kind renamed, overtime columns,
// home trips of production groups, the cash-and-bank posting scheme, price lists keyed
// by id, the price list on documents and the VAT settlement date of purchases.
#include <memory>
#include <string>

#include "db/schemat.h"
#include "driver/konwersje.h"
#include "steps/165_299/wspolne.h"
#include "steps/400_499/wspolne_400.h"

namespace {

// The stock-unit columns of receipt or issue lines and their fills; t is the table as
// the statements write it inside brackets.
void Kolumny_Magazynowe(ClsKonwersje& k, const std::string& t) {
    k.DbWykonajKonwersje("alter table  [" + t + "] ADD COLUMN [Ilosc_Mag] Single DEFAULT 0");
    k.DbWykonajKonwersje("alter table  [" + t + "] ADD COLUMN [Wsp_Przel] Single DEFAULT 0");
    k.DbWykonajKonwersje("alter table  [" + t + "] ADD COLUMN [Sp_Przel] text(40)");
    k.DbWykonajKonwersje("alter table  [" + t + "] ADD COLUMN [Nazwa_Asort] text(80)");
    // A line without its quantity has none in stock units either.
    k.DbWykonajKonwersje(
        "update [" + t +
        "] set [Ilosc_Mag]=Nz([ZDDOUT_ILOSC],0) where [Ilosc_Mag]=0 or [Ilosc_Mag] is null");
    k.DbWykonajKonwersje("update [" + t +
                         "] set [Wsp_Przel]=1 where [Wsp_Przel]=0 or [Wsp_Przel] is null");
    k.DbWykonajKonwersje("update [" + t +
                         "] set [Sp_Przel]='Brak' where [Sp_Przel]='' or [Sp_Przel] is null");
    k.DbWykonajKonwersje("update [" + t + "] inner join  [produkty] on [produkty].[PROD_ID]=[" + t +
                         "].[PROD_ID] set [Nazwa_Asort]=[produkty].[PROD_NAZWA_id] where "
                         "[Nazwa_Asort]='' or [Nazwa_Asort] is null");
}

void Kolumny_Ksiegowania(ClsKonwersje& k, const std::string& t) {
    k.DbWykonajKonwersje("alter table " + t + " ADD COLUMN [Nie_Ksieguj] Logical");
    k.DbWykonajKonwersje("alter table " + t + " ADD COLUMN [ZDDOUT_Wart_N] money DEFAULT 0");
    k.DbWykonajKonwersje("alter table [" + t + "] ADD COLUMN [KontoFK] Text (80)");
}

// The headers that get the contractor's price list, in order.
constexpr const char* kNaglowki452[] = {"DOK_DAR", "DOK_DD",  "DOK_DZ",  "DOK_FAK", "DOK_KFA",
                                        "DOK_KZA", "DOK_PAR", "DOK_PFA", "DOK_PW",  "DOK_PZ",
                                        "DOK_RW",  "DOK_WZ",  "DOK_ZAK", "DOK_ZPF", "DOK_FWE"};

// CENNIKI has no key on the price list name before step 4.54 makes one: a name that it
// holds twice gives the lines and documents of that name its first price list, the
// lowest ID_CENNIKA, so that each takes one.
kroki::Pierwszy_Wiersz Tylko_Pierwszy_Cennik(ClsKonwersje& k) {
    return kroki::Tylko_Pierwszy_Wiersz(k, "CENNIKI",
                                        "CENNIKI AS C2 on (C2.LCEN_NAZWA_ID=CENNIKI.LCEN_NAZWA_ID "
                                        "and C2.ID_CENNIKA<CENNIKI.ID_CENNIKA)",
                                        "C2.ID_CENNIKA");
}

}  // namespace

void ClsKonwersje::Konwersja_445() {
    DbWykonajKonwersje("alter table DOK_PZ_zawart ADD COLUMN WtymST Single DEFAULT 0");
    DbWykonajKonwersje("update DOK_PZ_zawart set WtymST =0 where WtymST is null");
    Kolumny_Ksiegowania(*this, "DOK_PZ_zawart");
    Kolumny_Magazynowe(*this, "dok_PZ_zawart");
    DbWykonajKonwersje("alter table [DOK_PZ] ADD COLUMN [Opis_Zdarzenia] Text (50)");
    Utworz_Klucze_Z_Zawart("DOK_PZ", "DDOUT_ID asc", "PROD_ID asc,ZDDOUT_CENA_N asc");
    Kolumny_Ksiegowania(*this, "DOK_WZ_zawart");
    Kolumny_Magazynowe(*this, "DOK_WZ_zawart");
    DbWykonajKonwersje("alter table [DOK_WZ] ADD COLUMN [Opis_Zdarzenia] Text (50)");
    DbWykonajKonwersje("alter table DOK_WZ_zawart ADD COLUMN WtymST Single DEFAULT 0");
    DbWykonajKonwersje("update DOK_WZ_zawart set WtymST =0 where WtymST is null");
    DbWykonajKonwersje("alter table [DOK_WZ_zawart] ADD COLUMN [Id_Poj] int DEFAULT 0");
    for (const char* k : {"kosztpojazdu_Z", "OdliczVAT_Z", "Koszt_RiR_Z", "koszt_uz_Z",
                          "koszt_sz_Z", "Vat_Termin_Platnosci_Z"})
        DbWykonajKonwersje(std::string("alter table [DOK_WZ_zawart] ADD COLUMN [") + k +
                           "] Logical");
    Utworz_Klucze_Z_Zawart("DOK_WZ", "DDOUT_ID asc", "PROD_ID asc,ZDDOUT_CENA_N asc");
}

void ClsKonwersje::Konwersja_446() {
    Utworz_Tabele("S_Konta_polaczone",
                  "Nazwa Text (50), ROK int DEFAULT 0,[NR_K_1] Text (3), NR_K_2 Text (6), NR_K_3 "
                  "Text (6), NR_K_4 Text (6), [NR_P_1] Text (3), NR_P_2 Text (6), NR_P_3 Text (6), "
                  "NR_P_4 Text (6), Countt int DEFAULT 0",
                  "Countt asc");
    Utworz_Klucz_Podstawowy("S_Konta_polaczone", "Nazwa  asc");
    Utworz_Klucz_Podstawowy("S_Konta_polaczone",
                            "Rok asc,NR_K_1 asc,NR_K_2 asc,NR_K_3 asc,NR_K_4 asc,NR_p_1 "
                            "asc,NR_p_2 asc,NR_p_3 asc,NR_p_4 asc");
}

void ClsKonwersje::Konwersja_447() {
    DbWykonajKonwersje("Update KH_SCHEMATY_ZAWART set Rodz_Aso='PTOSUKŚ' where Rodz_Aso ='PTOSUK'");
}

void ClsKonwersje::Konwersja_448() {
    for (const char* k :
         {"ADD COLUMN [NOMINALNE] money DEFAULT 0", "ADD COLUMN [PODSTAWOWE] money DEFAULT 0",
          "ADD COLUMN [TYP] int DEFAULT 0", "ADD COLUMN [KOD] Text (5)",
          "ADD COLUMN [ID_N] int DEFAULT 0"})
        DbWykonajKonwersje(std::string("alter table [KADRY_NADGODZINY] ") + k);
}

void ClsKonwersje::Konwersja_449() {
    DbWykonajKonwersje("alter table [S_Grupy_Produkcyjne] ADD COLUMN [dom_wyjazd] int DEFAULT 0");
    DbWykonajKonwersje("update [S_Grupy_Produkcyjne] set [dom_wyjazd]=1");
}

void ClsKonwersje::Konwersja_450() {
    // The card-file column, the step's first, tells that an earlier run began the step.
    const bool wczesniej = Jest_Tabela("KH_SCHEMATY_ZAWART", "Kartoteka");
    DbWykonajKonwersje("alter table [KH_SCHEMATY_ZAWART] ADD COLUMN [Kartoteka] Text (1)");
    DbWykonajKonwersje(
        "Update KH_SCHEMATY_ZAWART set Kartoteka='K' where KONTO='200' and Kartoteka is null");
    DbWykonajKonwersje("Update KH_SCHEMATY_ZAWART set Kartoteka='' where Kartoteka is null");
    const int rok = kroki::Rok_Dzisiaj();
    std::unique_ptr<ado::Recordset> rs;
    if (DbOtwórzSELKonwersje(
            rs, "top 1 SYMBOL_SCH,NAZWA_SCH,ROK,Opis FROM [KH_SCHEMATY] where [SYMBOL_SCH]='KB'") ==
        0) {
        // The scheme KB and its line are added together, each written at once.
        rs->AddNew();
        rs->Fields("SYMBOL_SCH") = jet::Value::text("KB");
        rs->Fields("NAZWA_SCH") = jet::Value::text("Kasy i Banki");
        rs->Fields("ROK") = jet::Value::long_(rok);
        rs->UpdateBatch();
        ZamknijRSKonwersje(rs);
        DbOtwórzSELKonwersje(rs,
                             "top 1 SYMBOL_SCH,POLE,KONTO,STRONA,TRESC,ID_DP,Rodz_Aso,Kartoteka "
                             "FROM [KH_SCHEMATY_zawart]");
        ado::Recordset& z = *rs;
        z.AddNew();
        z.Fields("SYMBOL_SCH") = jet::Value::text("KB");
        z.Fields("POLE") = jet::Value::text("BRUTTO");
        z.Fields("KONTO") = jet::Value::text("200");
        z.Fields("STRONA") = jet::Value::text("WN");
        z.Fields("TRESC") = jet::Value::text("Kasy i Banki");
        z.Fields("ID_DP") = jet::Value::long_(0);
        z.Fields("Rodz_Aso") = jet::Value::text("PTOSUKŚ");
        z.Fields("Kartoteka") = jet::Value::text("K");
        z.UpdateBatch();
    } else if (wczesniej && !Jest_Tabela("KH_SCHEMATY_ZAWART", "ROK") &&
               Liczba_Z_Zapytania("count(*) FROM [KH_SCHEMATY_zawart] where [SYMBOL_SCH]='KB'") ==
                   0) {
        // A scheme KB without a line, found by a run that an earlier one began and did not
        // take past the lines' ROK column: that run may have added the scheme and not its
        // line, or found the user's own scheme without lines, as this run would.
        ZamknijRSKonwersje(rs);
        Konwersja_Przerwana(450,
                            "po dodaniu kolumny Kartoteka tabeli KH_SCHEMATY_ZAWART; "
                            "schemat KB (Kasy i Banki) nie ma pozycji i nie wiadomo, czy "
                            "to tamta konwersja dodała go bez pozycji");
    }
    ZamknijRSKonwersje(rs);
    // Schemes and lines without a year take this one: the lines' year column, new, holds
    // Null in the rows from before it (its default is not given to them).
    DbWykonajKonwersje("Update KH_SCHEMATY set rok=" + std::to_string(rok) +
                       "  where rok=0 or rok is null");
    DbWykonajKonwersje("alter table [KH_SCHEMATY_ZAWART] ADD COLUMN [ROK] int DEFAULT 0");
    DbWykonajKonwersje("Update KH_SCHEMATY_ZAWART set rok=" + std::to_string(rok) +
                       "  where rok=0 or rok is null");
}

void ClsKonwersje::Konwersja_451() {
    Usun_Pole("CENNIKI", "ID");
    DbWykonajKonwersje("alter table [CENNIKI] ADD COLUMN [ID_CENNIKA] int identity");
    DbWykonajKonwersje("alter table [CENNIKI] ADD COLUMN [ACTIVE] Logical");
    DbWykonajKonwersje("alter table [CENNIKI_ZAWART] ADD COLUMN [ID_CENNIKA] int DEFAULT 0");
    DbWykonajKonwersje("alter table [CENNIKI_ZAWART] ADD COLUMN [ACTIVE] Logical");
    const kroki::Pierwszy_Wiersz p = Tylko_Pierwszy_Cennik(*this);
    DbWykonajKonwersje("Update " + p.otworz() +
                       "CENNIKI_ZAWART inner join CENNIKI on CENNIKI_ZAWART.LCEN_NAZWA_ID=CENNIKI."
                       "LCEN_NAZWA_ID" +
                       p.zamknij() + " set CENNIKI_ZAWART.ID_CENNIKA=CENNIKI.ID_CENNIKA where " +
                       p.i() + "CENNIKI_ZAWART.ID_CENNIKA is null");
    DbWykonajKonwersje(
        "update [cenniki] set active=true,[LCEN_DATA]=format('01-01-1990','dd-MM-yyyy')");
    DbWykonajKonwersje("update [CENNIKI_ZAWART] set active=true");
    Utworz_Index_Unikalny("id", "CENNIKI", "ID_CENNIKA asc");
    Utworz_Index_Unikalny("id", "CENNIKI_ZAWART", "ID_CENNIKA asc,PROD_ID asc ");
    Utworz_Index("DoCzyTowHan", "CENNIKI_ZAWART", "PROD_ID,LCEN_NAZWA_ID");
}

void ClsKonwersje::Konwersja_452() {
    const kroki::Pierwszy_Wiersz p = Tylko_Pierwszy_Cennik(*this);
    for (const char* t : kNaglowki452) {
        const std::string n = t;
        DbWykonajKonwersje("alter table  " + n + " ADD COLUMN [ID_Cennika] int DEFAULT 0");
        DbWykonajKonwersje("update " + p.otworz() + "(" + n + " inner join kontrahenci on " + n +
                           ".konh_id=kontrahenci.konh_id) inner join cenniki on "
                           "kontrahenci.lcen_nazwa_id=cenniki.lcen_nazwa_id" +
                           p.zamknij() + " set " + n + ".ID_Cennika=cenniki.id_cennika where " +
                           p.i() + n + ".ID_Cennika is null");
    }
}

void ClsKonwersje::Konwersja_453() {
    DbWykonajKonwersje("alter table [DOK_ZAK] ADD COLUMN [Data_Rozl] SmallDateTime DEFAULT null");
    DbWykonajKonwersje("alter table [DOK_KZA] ADD COLUMN [Data_Rozl] SmallDateTime DEFAULT null");
    DbWykonajKonwersje("alter table [DOK_ZAK] ADD COLUMN [Na_Nast_M] Logical");
    DbWykonajKonwersje("alter table [DOK_KZA] ADD COLUMN [Na_Nast_M] Logical");
    DbWykonajKonwersje(
        "update [DOK_ZAK] set [Data_Rozl]=[data_zaksiegowania] where Data_Rozl is null");
    DbWykonajKonwersje(
        "update [DOK_KZA] set [Data_Rozl]=[FKOROUT_DATA_WYST]  where Data_Rozl is null");
    DbWykonajKonwersje("alter table  DOK_DZ ADD COLUMN [Numer_Podzialu] int DEFAULT 0");
    DbWykonajKonwersje("update DOK_DZ set [Numer_Podzialu]=0 where [Numer_Podzialu] is null");
}
