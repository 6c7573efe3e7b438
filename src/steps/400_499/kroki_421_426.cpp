// Steps 4.21 to 4.26: registers of training courses and medical examinations, the
// production group in the stock keys, the financial value of cash documents, orphaned
// consumption documents removed, returns groups and the PRZ and MMZ document kinds.
#include <string>

#include "db/schemat.h"
#include "driver/konwersje.h"
#include "steps/165_299/wspolne.h"

namespace {

// The stock columns that lead a unique index with the product and production group.
constexpr const char* kKolumnyStanow[] = {
    "zakup_il",  "RACHUNKI",     "RR",    "WZ_dost", "PZ_dost", "mm",
    "rozch_il",  "przych_il",    "ilosc", "WZ_odbi", "PZ_odbi", "zuzycie",
    "produkcja", "SrodekTrawly", "stan",  "Inwent",  "Nr_mag"};

// The document headers that get a returns group, in order.
constexpr const char* kNaglowki425[] = {"DOK_DAR", "DOK_DD",  "DOK_DZ",  "DOK_FAK", "DOK_KFA",
                                        "DOK_KZA", "DOK_PAR", "DOK_PFA", "DOK_PRO", "DOK_PRS",
                                        "DOK_PRZ", "DOK_PW",  "DOK_PZ",  "DOK_PZS", "DOK_RW",
                                        "DOK_WZ",  "DOK_ZAK", "DOK_ZPF", "DOK_MMZ"};

}  // namespace

void ClsKonwersje::Konwersja_421() {
    DbWykonajKonwersje(
        "Create table [KADRY_SZKOLENIA] (COUNTT int identity,ID_PRAC int DEFAULT 0,DATA "
        "SmallDateTime DEFAULT null,DATA_N SmallDateTime DEFAULT null,RODZAJ Text (20),KATEGORIA "
        "Text (80))");
    DbWykonajKonwersje(
        "Create table [KADRY_BADANIA] (COUNTT int identity,ID_PRAC int DEFAULT 0,DATA "
        "SmallDateTime DEFAULT null,DATA_N SmallDateTime DEFAULT null,DATA_OD SmallDateTime "
        "DEFAULT null,DATA_DO SmallDateTime DEFAULT null,RODZAJ Text (20),STANOWISKO Text "
        "(20),ORZECZENIE Text (80))");
}

void ClsKonwersje::Konwersja_422() {
    DbWykonajKonwersje("alter table  [dok_REI_Zawart] ADD COLUMN [id_GRProd] int DEFAULT 0");
    // The lines there before the group name none (0): their keys take no Null.
    DbWykonajKonwersje("update [dok_REI_Zawart] set id_GRProd=0 where id_GRProd is null");
    Utworz_Klucze_Z_Zawart("DOK_rei", "ID_RI asc", "ID asc,id_GRProd asc,cena asc,COUNTT asc");
    DbWykonajKonwersje("alter table  [STANY_MAGAZYNOWE] ADD COLUMN [id_GRProd] int DEFAULT 0");
    Utworz_Index_Unikalny("Podstawowy", "STANY_MAGAZYNOWE", "prod_id asc,id_GRProd asc");
    for (const char* k : kKolumnyStanow)
        Utworz_Index_Unikalny(k, "[STANY_MAGAZYNOWE]",
                              std::string(k) + " asc,prod_id asc,id_GRProd asc");
    DbWykonajKonwersje(
        "alter table  [STANY_MAGAZYNOWE_Zawart] ADD COLUMN [id_GRProd] int DEFAULT 0");
    DbWykonajKonwersje("update [STANY_MAGAZYNOWE_Zawart] set id_GRProd=0 where id_GRProd is null");
    Utworz_Klucz_Podstawowy("[Stany_magazynowe_zawart]",
                            "IDProd asc ,DataDok asc,Lp asc,konh_id asc,id_GRProd asc");
}

void ClsKonwersje::Konwersja_423() {
    DbWykonajKonwersje("alter table  [Dok_Fin] ADD COLUMN [wart_fin] money DEFAULT 0");
}

void ClsKonwersje::Konwersja_424() {
    // Headers first, so that the line deletes also catch the lines of the removed headers.
    DbWykonajDELKonwersje(
        "[DOK_PRS] left join [DOK_PRO] on [DOK_PRS].ID_Poszlo_do_zuzycia=[DOK_PRO].ddout_id "
        "where [DOK_PRO].[ddout_id] is null and [DOK_PRS].ID_Poszlo_do_zuzycia<>0",
        "[DOK_PRS].*");
    DbWykonajDELKonwersje(
        "[DOK_PRS_ZAWART_ROZBICIE] left join [DOK_PRS] on "
        "[DOK_PRS_ZAWART_ROZBICIE].ddout_id=[DOK_PRS].ddout_id where [DOK_PRS].[ddout_id] is "
        "null",
        "[DOK_PRS_ZAWART_ROZBICIE].*");
    DbWykonajDELKonwersje(
        "[DOK_PRS_ZAWART] left join [DOK_PRS] on [DOK_PRS_ZAWART].ddout_id=[DOK_PRS].ddout_id "
        "where [DOK_PRS].[ddout_id] is null",
        "[DOK_PRS_ZAWART].*");
}

void ClsKonwersje::Konwersja_425() {
    DbWykonajKonwersje("alter table  [Produkty] ADD COLUMN [Id_GrupaZwrotow] int DEFAULT 0");
    DbWykonajKonwersje(
        "Create table [S_Grupy_Zwrotow] (Id_GrupaZwrotow int identity,Nazwa Text "
        "(50),ProcentPrzetw money DEFAULT 0, id_produktu int DEFAULT 0)");
    Utworz_Index_Unikalny("Podstawowy", "S_Grupy_Zwrotow", "Id_GrupaZwrotow asc");
    for (const char* nowa : {"PRZ", "MMZ"}) {
        const std::string n = nowa;
        kroki::Pusta_Tabela_Jak(*this, "DOK_" + n, "DOK_DZ");
        kroki::Pusta_Tabela_Jak(*this, "DOK_" + n + "_ZAWART", "DOK_DZ_ZAWART");
        if (n == "PRZ") kroki::Pusta_Tabela_Jak(*this, "DOK_PRZ_ZAWART_PRO", "DOK_DZ_ZAWART");
    }
    for (const char* t : kNaglowki425) {
        const std::string n = t;
        DbWykonajKonwersje("alter table  " + n + " ADD COLUMN [Id_GrupaZwrotow] int DEFAULT 0");
        DbWykonajKonwersje("update " + n + " set Id_GrupaZwrotow=0 where Id_GrupaZwrotow is null");
        DbWykonajKonwersje("alter table  " + n + " ADD COLUMN [Zwroty_na_MZ] Logical");
    }
    DbWykonajKonwersje(
        "alter table  [STANY_MAGAZYNOWE] ADD COLUMN [MZ_ILE_ZWROTOW] Single DEFAULT 0, "
        "[MZ_ILE_WYSZLO] Single DEFAULT 0, [MZ_STAN] Single DEFAULT 0");
}

void ClsKonwersje::Konwersja_426() {
    DbWykonajKonwersje("alter table  [sposob_numeracji] ADD COLUMN [nag_mmz] text(50)");
    DbWykonajKonwersje("alter table  [sposob_numeracji] ADD COLUMN [nag_PRZ] text(50)");
}
