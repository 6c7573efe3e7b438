// Steps 3.94 to 3.99: empty texts for Null, the third product code, the columns of the
// pro-forma purchase documents, the administrator's password, delivery-note settings of
// parties, and the tax settings of employees merged into their dated option rows.
#include <memory>
#include <string>

#include "db/daty.h"
#include "db/nz.h"
#include "db/schemat.h"
#include "driver/konwersje.h"
#include "steps/165_299/wspolne.h"

void ClsKonwersje::Konwersja_394() {
    DbWykonajUPDKonwersje("dok_fin set nr_kp='' where nr_kp is null", "", "", "");
    DbWykonajUPDKonwersje("kontrahenci set konh_kodpocztowy='' where konh_kodpocztowy is null", "",
                          "", "");
}

void ClsKonwersje::Konwersja_395() {
    DbWykonajKonwersje("alter table [Produkty] ADD COLUMN [prod_kod3] Text (20)");
    DbWykonajKonwersje("alter table [Kontrahenci] ADD COLUMN [kod_prod3] Logical");
}

void ClsKonwersje::Konwersja_396() {
    DbWykonajKonwersje("alter table [DOK_PFA] drop COLUMN  [Rodz_Dok]");
    DbWykonajKonwersje("alter table [DOK_ZPF] drop COLUMN  [Rodz_Dok]");
    DbWykonajKonwersje("alter table [DOK_ZPF] drop COLUMN  [RodzDok]");
    DbWykonajKonwersje("alter table [Sposob_numeracji] ADD COLUMN [nag_zpf] Text (50)");
    DbWykonajKonwersje("alter table [DOK_ZPF] ADD COLUMN [Opis_Zdarzenia] Text (50)");
    DbWykonajKonwersje("alter table [DOK_ZPF] ADD COLUMN [RodzDok] int DEFAULT 0");
    static const char* const kLinie[][2] = {
        {"ZDDOUT_Wart_N", "money DEFAULT 0"},
        {"Id_Poj", "int DEFAULT 0"},
        {"WtymST", "Single DEFAULT 0"},
        {"Nie_Ksieguj", "Logical"},
        {"kosztpojazdu_Z", "Logical"},
        {"OdliczVAT_Z", "Logical"},
        {"Koszt_RiR_Z", "Logical"},
        {"koszt_uz_Z", "Logical"},
        {"koszt_sz_Z", "Logical"},
        {"Vat_Termin_Platnosci_Z", "Logical"},
        {"KontoFK", "Text (80)"},
    };
    for (const auto& [kolumna, typ] : kLinie)
        DbWykonajKonwersje(std::string("alter table [DOK_ZPF_zawart] ADD COLUMN [") + kolumna +
                           "] " + typ);
}

void ClsKonwersje::Konwersja_397() {
    DbWykonajKonwersje(
        "UPDATE [uzytkownicy] SET [Haslo]='mokrwĘ' where "
        "ucase([nazwisko_uzytkownika])='ADMINISTRATOR'");
}

void ClsKonwersje::Konwersja_398() {
    DbWykonajKonwersje("alter table [Kontrahenci] ADD COLUMN [ProcentDD] money DEFAULT 0");
    DbWykonajKonwersje("alter table [Kontrahenci] ADD COLUMN [Sm_DD_id] int DEFAULT 0");
    DbWykonajKonwersje("alter table [Dok_FIN] ADD COLUMN [RozlNieZalDok] Logical");
}

namespace {

// The option columns, in the order in which the option rows are read: the date, the
// three tax settings, the eight settings a new row takes from its model, the employee.
constexpr const char* kKolumnyOpcji =
    "Dataod,KOSZT,ULGA,prog,ZAS_WYCH,IL_ZAS_PIEL,PROCENT_K,KWOTA_K,PODST_URL,PODST_ZAS,ID_GRUPY,"
    "ID_KAL";
constexpr int kPierwszeZModelu = 4;
constexpr int kOstatnieZModelu = 11;

}  // namespace

void ClsKonwersje::Konwersja_399() {
    DbWykonajKonwersje("alter table [Deklaracje] ADD COLUMN [Kwota_KW] money DEFAULT 0");
    DbWykonajKonwersje("alter table [Deklaracje] ADD COLUMN [KW_pit_5] money DEFAULT 0");
    DbWykonajKonwersje(
        "Create table [Kadry_Opcje_roczne] (id_prac int DEFAULT 0,Rok int DEFAULT "
        "0,LimitUrlopu int DEFAULT 0,ZostaloUrlopu int DEFAULT 0,Countt int identity)");
    Utworz_Klucz_Podstawowy("Kadry_Opcje_roczne", "id_prac asc,Rok asc");
    for (const char* kolumna : {"KOSZT", "ULGA", "prog"})
        DbWykonajKonwersje(std::string("alter table [KADRY_OPCJE] ADD COLUMN [") + kolumna +
                           "] Text  (1)");

    // Each dated tax row goes into the employee's option row of that day; without one, a
    // new option row takes its other settings from the employee's latest earlier row (or
    // his latest row when none is earlier). Of two rows of one date, the one entered last
    // (kroki::kOpcjeOdNajnowszej), as every step that picks the latest option row.
    std::unique_ptr<ado::Recordset> podatek;
    std::unique_ptr<ado::Recordset> opcja;
    std::unique_ptr<ado::Recordset> model;
    if (DbOtwórzSELKonwersje(podatek, "Dataod,KOSZT,ULGA,prog,ID_prac from KADRY_PODATEK") <= 0) {
        ZamknijRSKonwersje(podatek);
        return;
    }
    for (; !podatek->Eof(); podatek->MoveNext()) {
        // A tax row without its date or its employee (0, Null, or an id that no party has)
        // names no option row: it is skipped.
        const jet::Value dataod = podatek->Fields(0).value();
        if (dataod.is_null() || NzLng(podatek->Fields(4).value()) == 0) continue;
        const double dzien = dataod.to_date();
        const std::string prac = NzStr(podatek->Fields(4).value());
        if (Liczba_Z_Zapytania("count(*) from KONTRAHENCI where konh_id=" + prac) == 0) continue;
        const int32_t jest = DbOtwórzSELKonwersje(
            opcja, std::string("top 1 ") + kKolumnyOpcji + ",ID_prac from KADRY_OPCJE where " +
                       Warunek_Okres(dzien, "Dataod", dzien) + " and ID_prac=" + prac +
                       " order by " + kroki::kOpcjeOdNajnowszej);
        if (jest > 0) {
            for (int i = 1; i <= 3; ++i) opcja->Fields(i) = podatek->Fields(i).value();
        } else {
            kroki::Rekordy(opcja).AddNew();
            for (int i = 0; i <= 3; ++i) opcja->Fields(i) = podatek->Fields(i).value();
            opcja->Fields(12) = podatek->Fields(4).value();
            int32_t znaleziony = DbOtwórzSELKonwersje(
                model, std::string("top 1 ") + kKolumnyOpcji + " from KADRY_OPCJE where Dataod<" +
                           DataSQL_Od(dzien) + "  and ID_prac=" + prac + "  order by " +
                           kroki::kOpcjeOdNajnowszej);
            if (znaleziony <= 0)
                znaleziony =
                    DbOtwórzSELKonwersje(model, std::string("top 1 ") + kKolumnyOpcji +
                                                    " from KADRY_OPCJE where ID_prac=" + prac +
                                                    " order by " + kroki::kOpcjeOdNajnowszej);
            if (znaleziony > 0) {
                for (int i = kPierwszeZModelu; i <= kOstatnieZModelu; ++i)
                    opcja->Fields(i) = model->Fields(i).value();
                if (NzStr(model->Fields(1).value()).empty()) {
                    for (int i = 1; i <= 3; ++i) model->Fields(i) = podatek->Fields(i).value();
                    model->UpdateBatch();
                }
            }
        }
        opcja->UpdateBatch();
        ZamknijRSKonwersje(opcja);
        ZamknijRSKonwersje(model);
    }
    ZamknijRSKonwersje(podatek);
}
