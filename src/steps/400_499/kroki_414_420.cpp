// Steps 4.14 to 4.20: the general ledger's tables (chart of accounts, postings, posting
// schemes), the documents settled in full when issued, the ledger's own book, order
// routes taken from the contractor, the opening balances of the accounts and the book
// entry and contractor of a posting.
#include <memory>
#include <string>

#include "db/nz.h"
#include "db/otworz.h"
#include "db/schemat.h"
#include "driver/konwersje.h"
#include "steps/165_299/wspolne.h"

namespace {

// A document header table with its net and VAT columns.
struct Naglowek {
    const char* tabela;
    const char* netto;
    const char* vat;
};

// The headers that get the flag of a document settled in full when issued, in order.
constexpr Naglowek kNaglowki414[] = {
    {"DOK_DAR", "DDOUT_WART_N", "DDOUT_wart_VAT"},
    {"DOK_DD", "DDOUT_WART_N", "DDOUT_wart_VAT"},
    {"DOK_DZ", "DDOUT_WART_N", "DDOUT_wart_VAT"},
    {"DOK_RW", "DDOUT_WART_N", "DDOUT_wart_VAT"},
    {"DOK_PW", "DDOUT_WART_N", "DDOUT_wart_VAT"},
    {"DOK_PAR", "DDOUT_WART_N", "DDOUT_wart_VAT"},
    {"DOK_WZ", "DDOUT_WART_N", "DDOUT_wart_VAT"},
    {"DOK_PZ", "DDOUT_WART_N", "DDOUT_wart_VAT"},
    {"DOK_PFA", "DDOUT_WART_N", "DDOUT_wart_VAT"},
    {"DOK_FAK", "FakOUT_WART_N", "FakOUT_wart_VAT"},
    {"DOK_KFA", "FkorOUT_WART_N", "FkorOUT_wart_VAT"},
    {"DOK_KZA", "FkorOUT_WART_N", "FkorOUT_wart_VAT"},
    {"DOK_PRO", "DDOUT_WART_N", "DDOUT_wart_VAT"},
    {"DOK_PRS", "DDOUT_WART_N", "DDOUT_wart_VAT"},
    {"DOK_ZPF", "DDOUT_WART_N", "DDOUT_wart_VAT"},
    {"DOK_ZAK", "WART_N", "VAT"},
    {"DOK_PZS", "DDOUT_WART_N", "DDOUT_wart_VAT"},
};

// The book-only columns that the ledger's book loses, in order.
constexpr const char* kKolumnyTylkoKPIR[] = {
    "kwota_p", "kwota_pp", "kwota_w", "kwota_z", "kwota_z2", "kwota_rir", "kwota_wp",
    "id_kb",   "AN_KON",   "AN_Kas",  "AN_ban",  "AN_urz",   "AN_pra"};

// The chart of accounts: the account's columns, then WN_00..WN_12 and MA_00..MA_12.
std::string Tworz_KH_KONTA() {
    std::string s =
        "CREATE TABLE [KH_KONTA] (COUNTT int identity, ROK int DEFAULT 0, NR_K_1 Text (3), "
        "NR_K_2 Text (6), NR_K_3 Text (6), NR_K_4 Text (6), Nazwa_konta Text (50), Typ Text (1), "
        "Rodzaj int DEFAULT 0, Kartoteka Logical";
    for (const char* strona : {"WN_", "MA_"})
        for (int m = 0; m <= 12; ++m)
            s += std::string(", ") + strona + (m < 10 ? "0" : "") + std::to_string(m) +
                 " money DEFAULT 0";
    return s + ")";
}

}  // namespace

void ClsKonwersje::Konwersja_414() {
    DbWykonajKonwersje("alter table kontrahenci ADD COLUMN Grup_Asort_Wydr Logical");
    Utworz_Klucze_Z_Zawart("DOK_zak", "numer_id asc", "sur_ID asc,CENA_N asc,VAT asc");
    Utworz_Index_Unikalny("DoCzyTowHan", "Dok_zak_zawart",
                          "Sur_id asc,Numer_id asc,CENA_N asc,VAT asc");
    for (const char* t : {"DOK_KZA_ZAWART", "DOK_KFA_ZAWART"})
        Utworz_Klucz_Podstawowy(
            t, "FKOROUT_ID asc, PROD_ID asc, ZFKOROUT_CENA_N asc,CENA_ORG asc,ZFKOROUT_VAT asc");
    for (const Naglowek& n : kNaglowki414) {
        const std::string t = n.tabela;
        DbWykonajKonwersje("alter table  " + t + " ADD COLUMN [RozlNieZalDok] Logical");
        // Settled in full when issued: the value paid is the document's; a figure not given
        // counts as none.
        DbWykonajKonwersje("update " + t + " set RozlNieZalDok=-1 where format(Nz(" + n.netto +
                           ",0) + Nz(" + n.vat + ",0),'0.00')=format(Nz(wart_kp,0),'0.00')");
    }
    Usun_Pole("DOK_FIN", "Zmiana_kwoty_na_dekretacji");
    DbWykonajKonwersje("DROP TABLE [KH_KONTA]");
    DbWykonajKonwersje(Tworz_KH_KONTA());
    DbWykonajKonwersje("DROP TABLE [KH_DEKRETY]");
    DbWykonajKonwersje(
        "CREATE TABLE [KH_DEKRETY] (COUNTT int identity, ID_DOK int DEFAULT 0,  NR_K_1 Text "
        "(3),NR_K_2 Text (6),NR_K_3 Text (6),NR_K_4 Text (6), KWOTA_WN money DEFAULT 0, KWOTA_MA "
        "money DEFAULT 0, OPIS Text (25), STATUS Text (1), ROK int DEFAULT 0, MIESIAC  int "
        "DEFAULT 0)");
    DbWykonajKonwersje("DROP TABLE [KH_SCHEMATY]");
    DbWykonajKonwersje(
        "CREATE TABLE [KH_SCHEMATY] (COUNTT int identity, SYMBOL_SCH Text (3), NAZWA_SCH Text "
        "(40), ROK int DEFAULT 0)");
    DbWykonajKonwersje("DROP TABLE [KH_SCHEMATY_ZAWART]");
    DbWykonajKonwersje(
        "CREATE TABLE [KH_SCHEMATY_ZAWART] (COUNTT int identity, SYMBOL_SCH Text (3), POLE Text "
        "(40), KONTO Text (15), STRONA Text (2), TRESC Text (60))");
    for (const char* k : {"[NETTO] money DEFAULT 0 ", "[VAT] money DEFAULT 0 ",
                          "[Data_K] SmallDateTime DEFAULT null ", "[WPŁATA] money DEFAULT 0 ",
                          "[WYPŁATA] money DEFAULT 0 ", "[KWOTA] money DEFAULT 0 ",
                          "[ID_KB] int DEFAULT 0 ", "[AN_KON] Text (6)  ", "[AN_KAS] Text (3)  ",
                          "[AN_BAN] Text (3)  ", "[AN_URZ] Text (3)  ", "[AN_PRA] Text (3)  "})
        DbWykonajKonwersje(std::string("alter table [KPIR_KSIEGA] ADD COLUMN ") + k);
    DbWykonajKonwersje("alter table [DOK_ZAK] ADD COLUMN [ID_KH] int DEFAULT 0 ");
    DbWykonajKonwersje("alter table [DOK_FIN] ADD COLUMN [ID_KH] int DEFAULT 0 ");
    DbWykonajKonwersje("alter table [KADRY_PIT] ADD COLUMN [Drukowano] Logical");
}

void ClsKonwersje::Konwersja_415() {
    kroki::Pusta_Tabela_Jak(*this, "KH_KSIEGA", "KPIR_KSIEGA");
    DbWykonajKonwersje("alter table [KH_KSIEGA] ADD COLUMN [Glowna] Logical ");
    DbWykonajKonwersje("alter table [KH_KSIEGA] ADD COLUMN [Anulowana] Logical ");
    DbWykonajKonwersje("alter table [KH_KSIEGA] ADD COLUMN [Dziennik] Text (50) ");
}

void ClsKonwersje::Konwersja_416() {
    std::unique_ptr<ado::Recordset> zam;
    DbOtwórzSELKonwersje(
        zam,
        "konh_id,data,zam_id,tryb,[kier_id1],[kier_id2],[kier_id3],[kier_id4],[kier_id5],[kier_"
        "id6],[kier_id7],[kier_id8],[kier_id9] ,[kier_id101],[kier_id102],[kier_id103],[kier_"
        "id104],[kier_id105],[kier_id106],[kier_id107],[kier_id108],[kier_id109] ,[kier_id201],["
        "kier_id202],[kier_id203],[kier_id204],[kier_id205],[kier_id206],[kier_id207],[kier_"
        "id208],[kier_id209]  from DOK_ZAM where [kier_id1]=0",
        true);
    if (zam) {
        std::unique_ptr<ado::Recordset> kon;
        while (!zam->Eof()) {
            const std::string sql =
                "top 1 [kier_id1],[kier_id2],[kier_id3],[kier_id4],[kier_id5],[kier_id6],[kier_"
                "id7],[kier_id8],[kier_id9]  FROM kontrahenci where konh_id=" +
                std::to_string(NzLng(zam->Fields(0).value()));
            if (DbOtwórzSEL(kon, sql, kOtworzOdczyt) > 0) {
                const int32_t pierwszy = NzLng(kon->Fields(0).value());
                for (int i = 1; i <= 9; ++i) {
                    int32_t r = NzLng(kon->Fields(i - 1).value());
                    if (r == 0) r = pierwszy;
                    for (int rzad = 0; rzad < 3; ++rzad)
                        zam->Fields(3 + i + 9 * rzad) = jet::Value::long_(r);
                }
                ZamknijRS(kon);
                zam->UpdateBatch(ado::adAffectCurrent);
            }
            zam->MoveNext();
        }
    }
    ZamknijRSKonwersje(zam);
}

void ClsKonwersje::Konwersja_417() {
    DbWykonajKonwersje("alter table [KH_KSIEGA] ADD COLUMN [KONH_NIP] Text (20) ");
    DbWykonajKonwersje("alter table [KPIR_KSIEGA] ADD COLUMN [KONH_NIP] Text (20) ");
    for (const char* k : kKolumnyTylkoKPIR) Usun_Pole("KH_KSIEGA", k);
    DbWykonajKonwersje("alter table [DOK_KZA] ADD COLUMN [numer_dokumentu] Text (200) ");
    DbWykonajKonwersje("alter table [DOK_KFA] ADD COLUMN [numer_dokumentu] Text (200) ");
    DbWykonajKonwersje("alter table [DOK_ZAK] ADD COLUMN [id_kpir] int DEFAULT 0");
    Usun_Pole("DOK_ZAK", "ID_KH");
    DbWykonajKonwersje("alter table [DOK_fra] ADD COLUMN [id_kpir] int DEFAULT 0");
    DbWykonajKonwersje("alter table [KH_KONTA] ADD COLUMN [Konh_id] int DEFAULT 0");
    Usun_Pole("KH_SCHEMATY", "Opis");
    DbWykonajKonwersje("alter table [KH_ScHEMATY] ADD COLUMN [Opis] Text (255)");
    Usun_Pole("KH_Dekrety", "Opis");
    DbWykonajKonwersje("alter table [KH_Dekrety] ADD COLUMN [Opis] Text (255)");
}

// Each account's opening balance is the total of its month-0 postings: the update adds
// once per posting, so an account with two such postings keeps both amounts. A posting
// without a month (Null) is one of month 0.
void ClsKonwersje::Konwersja_418() {
    DbWykonajUPDKonwersje("KH_KONTA set KH_KONTA.WN_00=0,KH_KONTA.MA_00=0", "", "", "");
    {
        // Each month-0 posting adds its amounts once to its account.
        const Zamierzony_Raport po_linii{jet::reports::Kind::MultiPair};
        DbWykonajUPDKonwersje(
            "KH_KONTA inner join kh_dekrety on (KH_KONTA.NR_K_1=kh_dekrety.NR_K_1) and "
            "(KH_KONTA.NR_K_2=kh_dekrety.NR_K_2) and (KH_KONTA.NR_K_3=kh_dekrety.NR_K_3) and "
            "(KH_KONTA.NR_K_4=kh_dekrety.NR_K_4) and (kh_konta.ROK=kh_dekrety.rok) set "
            "KH_KONTA.WN_00=KH_KONTA.WN_00+Nz(KWOTA_WN,0),"
            "KH_KONTA.MA_00=KH_KONTA.MA_00+Nz(KWOTA_MA,0) Where Nz(kh_dekrety.miesiac,0)=0",
            "", "", "");
    }
}

void ClsKonwersje::Konwersja_419() {
    DbWykonajKonwersje("alter table [KH_Dekrety] ADD COLUMN [kpir_id] int DEFAULT 0");
    // A run that stopped after dropping ID_DOK had carried it.
    if (Jest_Tabela("KH_Dekrety", "ID_DOK"))
        DbWykonajUPDKonwersje("KH_Dekrety set KPIR_ID=ID_DOK", "", "", "");
    Usun_Pole("KH_Dekrety", "ID_DOK");
}

void ClsKonwersje::Konwersja_420() {
    DbWykonajKonwersje("alter table [KH_Dekrety] ADD COLUMN [Konh_id] int DEFAULT 0");
}
