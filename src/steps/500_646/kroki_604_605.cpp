// Steps 6.04 and 6.05: every settlement line takes a copy of the settled document's
// numbers, dates, gross amount, collective link and year, one joined update per family of
// document kinds; three lists of cash accounts in the dictionary; the archived cash amount.
#include <string>

#include "db/schemat.h"
#include "driver/konwersje.h"
#include "steps/400_499/wspolne_400.h"

namespace {

using kroki::Brutto_SQL;

// One family of settled documents: the join to the settlement lines, what each copy
// column takes, and the kinds of settlement line that name such documents.
struct Rodzina {
    const char* zlaczenie;
    const char* zew;
    const char* wew;
    const char* kh;
    const char* data;
    const char* termin;
    std::string brutto;    // from 0: a document that gives no amount has 0
    const char* zbiorczy;  // a collective document not given is none (0)
    const char* rok;       // the whole assignment of ROK
    const char* rodzaje;
};

const Rodzina kRodziny[] = {
    {"DOK_ZAK as TT inner JOIN DOK_FIN_ZAWART ON tt.numer_id = DOK_FIN_ZAWART.dok_id",
     "tt.numer_dokumentu", "tt.numer_zaksiegowania", "''", "tt.DATA_zaksiegowania",
     "tt.data_zaplaty", Brutto_SQL({"tt.[wart_n]", "tt.[vat]"}), "0",
     "ROK=Year(DATA_zaksiegowania)",
     "DOK_FIN_ZAWART.rodzaj_dok='ZV' or DOK_FIN_ZAWART.rodzaj_dok='RA'or "
     "DOK_FIN_ZAWART.rodzaj_dok='ZR'"},
    {"DOK_FAK as TT inner JOIN DOK_FIN_ZAWART ON tt.fakout_id = DOK_FIN_ZAWART.dok_id",
     "tt.fakout_numer", "tt.fakout_numer", "''", "tt.FAKOUT_DATA_WYST", "tt.FAKOUT_TERMIN_ZAPLATY",
     Brutto_SQL({"tt.[fakout_wart_n]", "tt.[fakout_wart_vat]"}), "0",
     "ROK=Year(TT.FAKOUT_DATA_WYST)", "DOK_FIN_ZAWART.rodzaj_dok='SV'"},
    {"DOK_FWE as TT inner JOIN DOK_FIN_ZAWART ON tt.fakout_id = DOK_FIN_ZAWART.dok_id",
     "tt.fakout_numer", "tt.fakout_numer", "''", "tt.FAKOUT_DATA_WYST", "tt.FAKOUT_TERMIN_ZAPLATY",
     Brutto_SQL({"tt.[fakout_wart_n]", "tt.[fakout_wart_vat]"}), "0",
     "ROK=Year(TT.FAKOUT_DATA_WYST)", "DOK_FIN_ZAWART.rodzaj_dok='FW'"},
    {"DOK_PAR as TT inner JOIN DOK_FIN_ZAWART ON tt.ddout_id = DOK_FIN_ZAWART.dok_id",
     "tt.DDOUT_NUMER", "tt.DDOUT_NUMER", "''", "tt.DDOUT_DATA_WYST", "tt.DDOUT_DATA_SPRZ",
     Brutto_SQL({"[ddout_wart_n]", "[ddout_wart_vat]"}), "0", "ROK=Year(TT.DDOUT_DATA_WYST)",
     "DOK_FIN_ZAWART.rodzaj_dok='PA'"},
    {"DOK_RW as TT inner JOIN DOK_FIN_ZAWART ON tt.ddout_id = DOK_FIN_ZAWART.dok_id",
     "tt.ddout_numer", "tt.ddout_numer", "''", "tt.DDOUT_DATA_WYST", "tt.DDOUT_DATA_SPRZ",
     Brutto_SQL({"[ddout_wart_n]", "[ddout_wart_vat]"}), "0", "ROK=Year(TT.DDOUT_DATA_WYST)",
     "DOK_FIN_ZAWART.rodzaj_dok='RW'"},
    {"DOK_PW as TT inner JOIN DOK_FIN_ZAWART ON tt.ddout_id = DOK_FIN_ZAWART.dok_id",
     "tt.ddout_numer", "tt.ddout_numer", "''", "tt.DDOUT_DATA_WYST", "tt.DDOUT_DATA_SPRZ",
     Brutto_SQL({"[ddout_wart_n]", "[ddout_wart_vat]"}), "0", "ROK=Year(TT.DDOUT_DATA_WYST)",
     "DOK_FIN_ZAWART.rodzaj_dok='PW'"},
    {"DOK_WZ as TT inner JOIN DOK_FIN_ZAWART ON tt.ddout_id = DOK_FIN_ZAWART.dok_id",
     "tt.ddout_numer", "tt.ddout_numer", "''", "tt.DDOUT_DATA_WYST", "tt.DDOUT_DATA_SPRZ",
     Brutto_SQL({"[ddout_wart_n]", "[ddout_wart_vat]"}), "Nz(tt.Zbiorczy_id,0)",
     "ROK=Year(TT.DDOUT_DATA_WYST)", "DOK_FIN_ZAWART.rodzaj_dok='WZ'"},
    {"DOK_PZ as TT inner JOIN DOK_FIN_ZAWART ON tt.ddout_id = DOK_FIN_ZAWART.dok_id",
     "tt.ddout_numer", "tt.ddout_numer", "''", "tt.DDOUT_DATA_WYST", "tt.DDOUT_DATA_SPRZ",
     Brutto_SQL({"[ddout_wart_n]", "[ddout_wart_vat]"}), "Nz(tt.Zbiorczy_id,0)",
     "ROK=Year(TT.DDOUT_DATA_WYST)", "DOK_FIN_ZAWART.rodzaj_dok='PZ'"},
    {"DOK_DD as TT inner JOIN DOK_FIN_ZAWART ON tt.ddout_id = DOK_FIN_ZAWART.dok_id",
     "tt.ddout_numer", "tt.ddout_numer", "''", "tt.DDOUT_DATA_WYST", "tt.DDOUT_DATA_SPRZ",
     Brutto_SQL({"[ddout_wart_n]", "[ddout_wart_vat]"}), "Nz(tt.Zbiorczy_id,0)",
     "ROK=Year(TT.DDOUT_DATA_WYST)", "DOK_FIN_ZAWART.rodzaj_dok='DD'"},
    {"DOK_DZ as TT inner JOIN DOK_FIN_ZAWART ON tt.ddout_id = DOK_FIN_ZAWART.dok_id",
     "tt.ddout_numer", "tt.ddout_numer", "''", "tt.DDOUT_DATA_WYST", "tt.DDOUT_DATA_SPRZ",
     Brutto_SQL({"[ddout_wart_n]", "[ddout_wart_vat]"}), "Nz(tt.Zbiorczy_id,0)",
     "ROK=year(TT.DDOUT_DATA_WYST)", "DOK_FIN_ZAWART.rodzaj_dok='DZ'"},
    {"DOK_KZA as TT inner JOIN DOK_FIN_ZAWART ON tt.FKOROUT_ID= DOK_FIN_ZAWART.dok_id",
     "tt.fkorout_numer", "tt.numer_dokumentu", "''", "tt.fkorout_DATA_WYST", "tt.fkorout_TERM_PLAT",
     Brutto_SQL({"[fkorout_wart_n]", "[fkorout_wart_vat]"}), "0", "ROK=Year(TT.fkorout_DATA_WYST)",
     "DOK_FIN_ZAWART.rodzaj_dok='KZ+' OR DOK_FIN_ZAWART.rodzaj_dok='KZ-'"},
    {"DOK_KFA as TT inner JOIN DOK_FIN_ZAWART ON tt.FKOROUT_ID = DOK_FIN_ZAWART.dok_id",
     "tt.fkorout_numer", "tt.fkorout_numer", "''", "tt.fkorout_DATA_WYST", "tt.fkorout_TERM_PLAT",
     Brutto_SQL({"[fkorout_wart_n]", "[fkorout_wart_vat]"}), "0", "ROK=Year(TT.fkorout_DATA_WYST)",
     "DOK_FIN_ZAWART.rodzaj_dok='KS+' OR DOK_FIN_ZAWART.rodzaj_dok='KS-'"},
    // A payroll list's gross amount is the total of its lines (kBruttoList).
    {"(Place_Listy_Brutto_POM as TT inner JOIN PLACE_LISTY AS T1 ON TT.IDListy=T1.IDListy) INNER "
     "JOIN DOK_FIN_ZAWART ON tt.IDListy = DOK_FIN_ZAWART.dok_id",
     "t1.Numer", "t1.Numer", "''", "t1.datak", "t1.dataP", Brutto_SQL({"TT.Brutto"}), "0",
     "ROK=Year(T1.datak)", "DOK_FIN_ZAWART.rodzaj_dok='PRAC'"},
    {"DEKLARACJE as TT inner JOIN DOK_FIN_ZAWART ON tt.ID = DOK_FIN_ZAWART.dok_id", "tt.data",
     "tt.data", "''", "tt.data_wyst", "tt.data_wyst", Brutto_SQL({"TT.kwota"}), "0",
     "ROK=Year(TT.Data_Wyst)",
     "DOK_FIN_ZAWART.rodzaj_dok='PIT4' OR DOK_FIN_ZAWART.rodzaj_dok='PIT5' OR "
     "DOK_FIN_ZAWART.rodzaj_dok='V7+' OR DOK_FIN_ZAWART.rodzaj_dok='V7-'"},
    {"DOK_FIN as TT inner JOIN DOK_FIN_ZAWART ON tt.kp_id = DOK_FIN_ZAWART.dok_id", "tt.nr_kp",
     "tt.nr_kp", "''", "tt.data", "tt.data", Brutto_SQL({"TT.kwota", "TT.kwota_kw"}), "0",
     "ROK=Year(TT.Data)",
     "DOK_FIN_ZAWART.rodzaj_dok='KW' OR DOK_FIN_ZAWART.rodzaj_dok='KP' OR "
     "DOK_FIN_ZAWART.rodzaj_dok='BP' OR DOK_FIN_ZAWART.rodzaj_dok='BW'"},
    {"KPIR_KSIEGA as TT inner JOIN DOK_FIN_ZAWART ON tt.kpir_id = DOK_FIN_ZAWART.dok_id", "''",
     "''", "TT.numer", "tt.data", "tt.data", Brutto_SQL({"TT.wart_fin"}), "0",
     "DOK_FIN_ZAWART.ROK=Year(TT.Data)",
     "DOK_FIN_ZAWART.rodzaj_dok='KPIR +' OR DOK_FIN_ZAWART.rodzaj_dok='KPIR -'"},
    {"KH_KSIEGA as TT inner JOIN DOK_FIN_ZAWART ON tt.kpir_id = DOK_FIN_ZAWART.dok_id", "''", "''",
     "TT.numer", "tt.data", "tt.data", Brutto_SQL({"TT.wart_fin"}), "0",
     "DOK_FIN_ZAWART.ROK=Year(TT.Data)",
     "DOK_FIN_ZAWART.rodzaj_dok='KH +' OR DOK_FIN_ZAWART.rodzaj_dok='KH -'"},
    {"DOK_INN as TT inner JOIN DOK_FIN_ZAWART ON tt.dok_id = DOK_FIN_ZAWART.dok_id", "TT.numer",
     "TT.numer", "''", "tt.data", "tt.data", Brutto_SQL({"TT.wart_fin"}), "0",
     "DOK_FIN_ZAWART.ROK=Year(TT.Data)",
     "DOK_FIN_ZAWART.rodzaj_dok='IN +' OR DOK_FIN_ZAWART.rodzaj_dok='IN -'"},
    // Of two opening-balance documents of one dok_id, the first (the lowest IDD).
    {"(DOK_BO as TT inner JOIN DOK_FIN_ZAWART ON tt.dok_id = DOK_FIN_ZAWART.dok_id) LEFT JOIN "
     "DOK_BO AS BN ON (BN.dok_id = TT.dok_id AND BN.IDD < TT.IDD)",
     "TT.numer", "TT.numer", "''", "tt.data", "tt.data", Brutto_SQL({"TT.wart_fin"}), "0",
     "DOK_FIN_ZAWART.ROK=Year(TT.Data)",
     "(DOK_FIN_ZAWART.rodzaj_dok='BO +' OR DOK_FIN_ZAWART.rodzaj_dok='BO -') AND BN.IDD Is Null"},
};

// The work table of the payroll lists' gross amounts, one row per list: the total of
// its lines' components 11 and 117, from 0, a component not given adding nothing.
const char* const kBruttoList = "Place_Listy_Brutto_POM";

}  // namespace

void ClsKonwersje::Konwersja_604() {
    for (const char* kolumna :
         {"Numer_zew_dokumentu Text (200)", "Numer_wew_dokumentu Text (200)",
          "Numer_KH_dokumentu Text (200)", "Data_dokumentu SmallDateTime DEFAULT null",
          "Termin_dokumentu SmallDateTime DEFAULT null", "Brutto_dokumentu money DEFAULT 0",
          "Zbiorczy_id_dokumentu int DEFAULT 0", "ROK int DEFAULT 0"})
        Dodaj_Pole("DOK_FIN_ZAWART", kolumna);
    if (Jest_Tabela(kBruttoList)) DbWykonajKonwersje(std::string("DROP TABLE ") + kBruttoList);
    DbWykonajKonwersje(std::string("SELECT IDListy, Sum(Nz(wartosc11,0)+Nz(wartosc117,0)) AS "
                                   "Brutto INTO ") +
                       kBruttoList +
                       " FROM PLACE_LISTY_ZAWART WHERE IDListy Is Not Null GROUP BY IDListy");
    Utworz_Klucz_Podstawowy(kBruttoList, "IDListy");
    for (const Rodzina& r : kRodziny)
        DbWykonajUPDKonwersje("", r.zlaczenie,
                              std::string("Numer_zew_dokumentu=") + r.zew +
                                  ",Numer_wew_dokumentu=" + r.wew + ",Numer_KH_dokumentu=" + r.kh +
                                  ",Data_dokumentu=" + r.data + ",Termin_dokumentu=" + r.termin +
                                  ",Brutto_dokumentu=" + r.brutto +
                                  ",Zbiorczy_id_dokumentu=" + r.zbiorczy + "," + r.rok,
                              r.rodzaje, "DOK_FIN_ZAWART");
    DbWykonajKonwersje(std::string("DROP TABLE ") + kBruttoList);
    // Each list once: the dictionary has no index to refuse a second copy of a list that an
    // earlier run added.
    const char* const kListy[][2] = {{"8", "nr_konta_kasowego from kontrahenci"},
                                     {"9", "KontoP_wn from DOK_FIN"},
                                     {"10", "KontoP_ma from DOK_FIN"}};
    for (const auto& l : kListy)
        Dodaj_Wiersze_Gdy_Brak(
            std::string("insert into [S_Inne] (ID_slownka,Nazwa) select  distinct  ") + l[0] + "," +
                l[1],
            std::string("[S_Inne] where ID_slownka=") + l[0], true);
}

void ClsKonwersje::Konwersja_605() {
    Dodaj_Pole("DOK_FIN_ZAWART", "WART_KP_ARCH money DEFAULT 0");
}
