// Steps 5.00 to 5.07: the stock-movement documents MP, MPp and MW as empty copies of the
// return documents with their numbering prefixes, indexes and keys, the dictionary of
// movement kinds, and single columns of price groups, posting schemes and book entries.
#include <array>
#include <string>
#include <utility>

#include "db/postep.h"
#include "db/schemat.h"
#include "driver/konwersje.h"
#include "steps/165_299/wspolne.h"
#include "steps/400_499/wspolne_400.h"

namespace {

// The three movement kinds: the header table, its line table and the numbering prefix.
struct Rodzaj_Ruchu {
    const char* naglowek;
    const char* zawart;
    const char* prefiks;
};
constexpr std::array<Rodzaj_Ruchu, 3> kRodzajeRuchu = {{
    {"DOK_MP", "DOK_MP_ZAWART", "nag_mp"},
    {"DOK_MPp", "DOK_MPp_ZAWART", "nag_mpp"},
    {"DOK_MW", "DOK_MW_ZAWART", "nag_mw"},
}};

// The headers that carry a document number, in the order their indexes are made.
constexpr std::array<const char*, 6> kNaglowkiRuchu = {"Dok_pro", "Dok_prz", "Dok_pzs",
                                                       "Dok_mp",  "Dok_mpp", "Dok_mw"};

constexpr std::array<const char*, 9> kZawartRuchu = {
    "DOK_PRS_ZAWART", "DOK_PRZ_ZAWART", "DOK_PZS_ZAWART", "DOK_PRZ_ZAWART_PRO", "DOK_mma_ZAWART",
    "DOK_mmz_ZAWART", "DOK_mp_ZAWART",  "DOK_mpp_ZAWART", "DOK_mw_ZAWART"};

// Payroll and personnel tables and the columns of their primary keys.
constexpr std::array<std::array<const char*, 2>, 4> kKluczeKadr = {{
    {"Kadry_opcje", "ID_prac,Dataod,countt"},
    {"KADRY_PIT", "ID_PRAC,ROK,rodzaj,COUNTT"},
    {"KADRY_RODZINA", "ID_PRAC,NAZWISKO,Imie,COUNTT"},
    {"KADRY_SWIADECTWA", "ID_PRAC,ID_UMOWY,data,COUNTT"},
}};

// The documents whose payment due date starts as the sale date.
constexpr std::array<const char*, 7> kTerminyZaplaty = {"DOK_DAR", "DOK_DD", "DOK_DZ", "DOK_PAR",
                                                        "DOK_PFA", "DOK_PW", "DOK_RW"};

}  // namespace

void ClsKonwersje::Konwersja_500() {
    DbWykonajKonwersje(
        "alter table [S_GRUPY_PRODUKCYJNE] ADD COLUMN [CENNIK] Text (20) dEFAULT ''");
}

void ClsKonwersje::Konwersja_501() {
    DbWykonajKonwersje("alter table [KH_SCHEMATY_ZAWART] ADD COLUMN [Vat] Text (2) dEFAULT ''");
    DbWykonajKonwersje("alter table [KH_SCHEMATY_ZAWART] ADD COLUMN [ID_GrProd_Aso] int DEFAULT 0");
    DbWykonajKonwersje("update [KH_SCHEMATY_ZAWART] set vat='',[ID_GrProd_Aso]=0");
}

void ClsKonwersje::Konwersja_502() {
    // Empty copies of the return documents: a copy that exists is absorbed and emptied.
    for (const Rodzaj_Ruchu& r : kRodzajeRuchu) {
        kroki::Pusta_Tabela_Jak(*this, r.naglowek, "DOK_DZ");
        kroki::Pusta_Tabela_Jak(*this, r.zawart, "DOK_DZ_ZAWART");
        DbWykonajKonwersje(std::string("alter table  [sposob_numeracji] ADD COLUMN [") + r.prefiks +
                           "] text(50)");
    }
    // A header whose number repeats is refused the index.
    for (const char* t : kNaglowkiRuchu)
        Utworz_Index_Unikalny("UnicNumer", t, "DDOUT_NUMER", Powtorzona_Wartosc(t, "DDOUT_NUMER"));
    for (const char* t : kNaglowkiRuchu)
        Utworz_Index_Unikalny("DONumeru", t, "smz_id,DDOUT_DATA_WYST,num_ndok,DDOUT_ID");
    for (const char* t : kNaglowkiRuchu) Utworz_Index("ZBIORCZY", t, "Zbiorczy_id");
    for (const char* t : kNaglowkiRuchu)
        Utworz_Index("DDOUT_DO_ROZLICZENIA", t, "DDOUT_DO_ROZLICZENIA");
    for (const char* t : kNaglowkiRuchu) Utworz_Klucz_Podstawowy(t, "DDOUT_ID");
    for (const char* t : kZawartRuchu) Utworz_Klucz_Podstawowy(t, "ddout_id,PROD_ID,ZDDOUT_CENA_N");
    for (const auto& [tabela, pola] : kKluczeKadr) Utworz_Klucz_Podstawowy(tabela, pola);
    for (const char* kol : {"MP", "MW", "Mpp"})
        DbWykonajKonwersje(std::string("alter table  [STANY_MAGAZYNOWE] ADD COLUMN [") + kol +
                           "] Single DEFAULT 0");
    // A fresh counter, numbered anew by the engine.
    DbWykonajKonwersje("alter table  [S_KONTA_POLACZONE] Drop column [Countt] ");
    DbWykonajKonwersje("alter table  [S_KONTA_POLACZONE] ADD COLUMN [Countt] int identity");
}

void ClsKonwersje::Konwersja_503() {
    DbWykonajKonwersje("alter table  [KH_KSIEGA] ADD COLUMN [TerminPl] SmallDateTime DEFAULT null");
    DbWykonajKonwersje(
        "alter table  [KH_KSIEGA] ADD COLUMN [TerminPlOrg] SmallDateTime DEFAULT null");
    DbWykonajKonwersje("update KH_KSIEGA set TerminPl=Data");
    DbWykonajKonwersje("update KH_KSIEGA set TerminPlOrg=Data");
}

void ClsKonwersje::Konwersja_506() {
    // A document without a sale date keeps the due date it has: no date puts none there.
    for (const char* t : kTerminyZaplaty) {
        Pokaz_Postep("", "", t);
        DbWykonajKonwersje(
            std::string("update ") + t +
            " set ddout_Termin_zaplaty=ddout_data_sprz where ddout_data_sprz is not null");
    }
}

void ClsKonwersje::Konwersja_507() {
    DbWykonajKonwersje(
        "create table S_Rodzaj_MWP (id_mwp int identity, Nazwa Text (50) default '',Magazyn2 "
        "Logical, sm_id int DEFAULT 0)");
    Utworz_Klucz_Podstawowy("s_rodzaj_mwp", "ID_MWP");
    // A kind that an earlier run inserted is not inserted again: its key would refuse it.
    for (const auto& [id, reszta] :
         {std::pair{"0", "'Pozostale',0,0"}, std::pair{"1", "'Kierowcy',-1,0"},
          std::pair{"2", "'Zniszczono',0,0"}, std::pair{"3", "'Reklama',0,0"}})
        kroki::Wstaw_Jesli_Brak(*this, std::string("s_rodzaj_mwp where ID_MWP=") + id,
                                std::string("s_rodzaj_mwp (ID_MWP,NAZWA,Magazyn2,sm_id) values(") +
                                    id + "," + reszta + ")");
    Dodaj_Pole("dok_Mw", "Magazyn2 Logical");
    Dodaj_Pole("dok_Mp", "Magazyn2 Logical");
    Dodaj_Pole("s_GRUPY_ZWROTOW", "Caly_ASO Logical");
}
