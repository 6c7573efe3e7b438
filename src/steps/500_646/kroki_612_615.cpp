// Steps 6.12, 6.13 and 6.15: the kinds, codes and signs of settlement lines brought to one
// rule (the kind text carrying its sign without a blank, the code following the kind, the
// amounts following the direction of the cash document); the tax-office settings by
// contractors' short names; booking flags of purchase-side headers, payroll list accounts
// and contract texts.
#include <memory>
#include <string>

#include "db/nz.h"
#include "db/otworz.h"
#include "db/setup.h"
#include "db/wykonaj.h"
#include "driver/konwersje.h"
#include "steps/165_299/wspolne.h"
#include "steps/400_499/wspolne_400.h"

namespace {

// A statement over the settlement lines joined to their cash document.
void Linie_Rozliczen(const std::string& reszta) {
    DbWykonaj(
        "Update DOK_FIN_ZAWART inner join DOK_FIN on dok_fin.kp_id=dok_fin_zawart.kp_id set " +
        reszta);
}

// One joined update of the settlement lines from the settled documents' table.
struct Z_Dokumentu {
    const char* tabela;
    const char* klucz;
    std::string wartosci;
    const char* warunek;
};

void Z_Dokumentow(ClsKonwersje& k, std::initializer_list<Z_Dokumentu> aktualizacje) {
    for (const Z_Dokumentu& a : aktualizacje)
        k.DbWykonajUPDKonwersje(
            "", std::string(a.tabela) + " as TT inner JOIN DOK_FIN_ZAWART ON " + a.klucz,
            a.wartosci, a.warunek, "DOK_FIN_ZAWART");
}

// A line's gross amount is its document's amount, 0 where the document gives none.
const std::string kKpir = "Brutto_dokumentu=" + kroki::Brutto_SQL({"tt.wart_fin"}) +
                          ",DOK_FIN_ZAWART.rodzaj_dok=iif(wart_fin<0,'KPIR-','KPIR+'"
                          "),DOK_FIN_ZAWART.RODZAJ=iif(wart_fin<0,91,92)";

// A line of another or BO document: its gross amount from the document's amount kwota, and
// its kind and code.
std::string Z_Kwoty(const char* kwota, const char* rodzaj, const char* kod) {
    return "Brutto_dokumentu=" + kroki::Brutto_SQL({kwota}) + ",DOK_FIN_ZAWART.rodzaj_dok='" +
           rodzaj + "',DOK_FIN_ZAWART.RODZAJ=" + kod;
}
const std::string kInPlus = Z_Kwoty("tt.wart_fin", "IN+", "98");
const std::string kInMinus = Z_Kwoty("tt.wart_finWyd", "IN-", "97");
const std::string kBoPlus = Z_Kwoty("tt.wart_fin", "BO+", "88");
const std::string kBoMinus = Z_Kwoty("tt.wart_finWyd", "BO-", "87");
const char* const kZnakKwoty =
    "dok_fin_zawart.kwota=-dok_fin_zawart.kwota where (dok_fin_zawart.kwota <0 and "
    "Brutto_dokumentu>0) or (dok_fin_zawart.kwota >0 and Brutto_dokumentu<0) ";

// A setting that names a contractor by full name takes the contractor's short name (of
// two contractors of that name, the first: the lowest id). The
// name is quoted, so that a full name with an apostrophe is one literal; a contractor
// without a short name leaves the setting as it is (there is nothing to write, and a
// failure here would stop every run at this step).
void Skrot_Kontrahenta(const std::string& nazwa, std::unique_ptr<ado::Recordset>& rs) {
    const std::string wartosc = Czytaj_Setup(nazwa);
    if (DbOtwórzSEL(rs,
                    "Select top 1 KONH_NAZ_SKROT from kontrahenci where KONH_NAZWA='" +
                        kroki::W_Apostrofach(wartosc) + "' order by konh_id",
                    kOtworzOdczyt) <= 0)
        return;
    const jet::Value skrot = rs->Fields("KONH_NAZ_SKROT").value();
    if (!skrot.is_null()) Zapisz_Setup(nazwa, skrot.to_text());
}

}  // namespace

void ClsKonwersje::Konwersja_612() {
    // The book entries' lines take their gross amount from the entry again also under the
    // kinds that this step writes, so that a run repeated over lines that an earlier run
    // renamed and negated negates the entry's amount, not its own result once more.
    Linie_Rozliczen("dok_fin_zawart.KWOTA=-dok_fin_zawart.KWOTA where (dok_fin_zawart.KWOTA<0)");
    Linie_Rozliczen(
        "dok_fin_zawart.BRUTTO_DOKUMENTU=-dok_fin_zawart.BRUTTO_DOKUMENTU where "
        "(dok_fin_zawart.BRUTTO_DOKUMENTU<0)");
    Z_Dokumentow(
        *this,
        {{"DOK_KZA", "tt.FKOROUT_ID= DOK_FIN_ZAWART.dok_id",
          "Brutto_dokumentu=" + kroki::Brutto_SQL({"[fkorout_wart_n]", "[fkorout_wart_vat]"}) +
              ",DOK_FIN_ZAWART.rodzaj_dok=iif(Nz(FKOROUT_WART_N,0)+Nz(FKOROUT_WART_VAT,0)<0,'KZ-',"
              "'KZ+'),RODZAJ=iif(Nz(FKOROUT_WART_N,0)+Nz(FKOROUT_WART_VAT,0)<0,96,13)",
          "DOK_FIN_ZAWART.rodzaj_dok='KZ+' OR DOK_FIN_ZAWART.rodzaj_dok='KZ-'"},
         {"DOK_KFA", "tt.FKOROUT_ID = DOK_FIN_ZAWART.dok_id",
          "Brutto_dokumentu=" + kroki::Brutto_SQL({"[fkorout_wart_n]", "[fkorout_wart_vat]"}),
          "DOK_FIN_ZAWART.rodzaj_dok='KS+' OR DOK_FIN_ZAWART.rodzaj_dok='KS-'"},
         {"DEKLARACJE", "tt.ID= DOK_FIN_ZAWART.dok_id",
          "Brutto_dokumentu=" + kroki::Brutto_SQL({"tt.kwota"}) +
              ",DOK_FIN_ZAWART.rodzaj_dok=iif(TT.kwota<0,'V7-','V7+')"
              ",DOK_FIN_ZAWART.RODZAJ=iif(TT.kwota<0,84,83)",
          "DOK_FIN_ZAWART.rodzaj_dok='V7+' OR DOK_FIN_ZAWART.rodzaj_dok='V7-'"},
         {"KPIR_KSIEGA", "tt.kpir_id= DOK_FIN_ZAWART.dok_id", kKpir,
          "DOK_FIN_ZAWART.rodzaj_dok='KPIR +' OR DOK_FIN_ZAWART.rodzaj_dok='KPIR -' OR "
          "DOK_FIN_ZAWART.rodzaj_dok='KPIR+' OR DOK_FIN_ZAWART.rodzaj_dok='KPIR-'"},
         {"DOK_INN", "tt.DOK_ID= DOK_FIN_ZAWART.dok_id", kInPlus,
          "(DOK_FIN_ZAWART.rodzaj_dok='IN +' OR DOK_FIN_ZAWART.rodzaj_dok='IN -') and "
          "tt.wart_fin>0"},
         {"DOK_INN", "tt.DOK_ID= DOK_FIN_ZAWART.dok_id", kInMinus,
          "(DOK_FIN_ZAWART.rodzaj_dok='IN +' OR DOK_FIN_ZAWART.rodzaj_dok='IN -') and "
          "tt.wart_finWyd>0"},
         {"DOK_BO", "tt.IDD= DOK_FIN_ZAWART.dok_id", kBoPlus,
          "(DOK_FIN_ZAWART.rodzaj_dok='BO +' OR DOK_FIN_ZAWART.rodzaj_dok='BO -') and "
          "tt.wart_fin>0"},
         {"DOK_BO", "tt.IDD= DOK_FIN_ZAWART.dok_id", kBoMinus,
          "(DOK_FIN_ZAWART.rodzaj_dok='BO +' OR DOK_FIN_ZAWART.rodzaj_dok='BO -') and "
          "tt.wart_finWyd>0"},
         {"KH_KSIEGA", "tt.kpir_ID= DOK_FIN_ZAWART.dok_id",
          "Brutto_dokumentu=" + kroki::Brutto_SQL({"tt.wart_fin"}) +
              ",DOK_FIN_ZAWART.rodzaj_dok=iif(wart_fin<0,'KH+','"
              "KH-"
              "'),DOK_FIN_ZAWART.RODZAJ=iif(wart_fin<0,94,93)",
          "DOK_FIN_ZAWART.rodzaj_dok='KH +' OR DOK_FIN_ZAWART.rodzaj_dok='KH -' OR "
          "DOK_FIN_ZAWART.rodzaj_dok='KH+' OR DOK_FIN_ZAWART.rodzaj_dok='KH-'"}});
    Linie_Rozliczen(
        "Brutto_dokumentu=-Brutto_dokumentu where (PW='W' and (RODZAJ_DOK='KS-' or "
        "RODZAJ_DOK='KS+')) or (PW='P' and (RODZAJ_DOK='KZ+' or RODZAJ_DOK='KZ-' or "
        "RODZAJ_DOK='V7+' or RODZAJ_DOK='V7-' or rodzaj_dok='KPIR+' OR rodzaj_dok='KPIR-' or "
        "rodzaj_dok='KH+' OR rodzaj_dok='KH-')) ");
    Linie_Rozliczen(kZnakKwoty);
    Linie_Rozliczen("Brutto_dokumentu=-Brutto_dokumentu where  (RODZAJ_DOK='SV' and PW='W')");
    std::unique_ptr<ado::Recordset> rs;
    Skrot_Kontrahenta("us_vat", rs);
    Skrot_Kontrahenta("us_pit", rs);
    ZamknijRS(rs);
}

void ClsKonwersje::Konwersja_613() {
    struct Naglowek {
        const char* tabela;
        const char* zlaczenie;
        const char* id_kpir;
        const char* pozycja;  // the line table as the condition names it
        const char* koniec;
    };
    const Naglowek naglowki[] = {
        {"DOK_ZAK", "DOK_ZAK inner join DOK_ZAK_ZAWART on dok_zak.numer_id=dok_zak_zawart.numer_id",
         "dok_zak.id_kpir", "dok_zak_zawart", " "},
        {"DOK_KZA",
         "DOK_KZA inner join DOK_KZA_ZAWART on DOK_KZA.FKOROUT_ID=DOK_KZA_zawart.FKOROUT_ID",
         "DOK_KZA.id_kpir", "DOK_KZA_zawart", ""},
        {"DOK_WZ", "DOK_WZ inner join DOK_WZ_ZAWART on DOK_wz.DDOUT_ID=DOK_wz_zawart.DDOUT_ID",
         "DOK_wz.id_kpir", "DOK_wz_zawart", ""},
        {"DOK_PZ", "DOK_PZ inner join DOK_PZ_ZAWART on DOK_pz.DDOUT_ID=DOK_pz_zawart.DDOUT_ID",
         "DOK_pz.id_kpir", "DOK_pz_zawart", ""},
    };
    // A line is posted by its posting id, its fixed-asset amount or its vehicle-cost flag.
    for (const Naglowek& n : naglowki) {
        const std::string p = n.pozycja;
        DbWykonajUPDKonwersje(
            "", n.zlaczenie, std::string(n.id_kpir) + "=-1",
            kroki::Zaksiegowany_Przez_Pozycje(
                n.id_kpir, {{p + ".id_kpir"}, {p + ".WTYMST"}, {p + ".KOSZTPOJAZDU_Z", true}}) +
                n.koniec,
            n.tabela);
    }
    for (const char* kolumna : {"[Konto_51] money DEFAULT 0", "[Konto_52] money DEFAULT 0",
                                "[Konto_53] money DEFAULT 0", "[Konto_54] money DEFAULT 0",
                                "[świadcz_u] money DEFAULT 0", "[świadcz_b] money DEFAULT 0"})
        Dodaj_Pole("PLACE_LISTY", kolumna);
    Dodaj_Pole("KADRY_UMOWY", "[inne_postanowienia] Text (255)");
    Zmien_Typ_Pola("Inne_skł", "Text (255)", "KADRY_WARUNKI");
    Zmien_Typ_Pola("Inne_war", "Text (255)", "KADRY_WARUNKI");
}

void ClsKonwersje::Konwersja_615() {
    // The lines that step 6.12 gave an outgoing other or BO document's amount, of a document
    // with no incoming amount, take it again too: the payments' negation below would
    // otherwise negate its own result when the step runs again.
    Z_Dokumentow(
        *this,
        {{"KPIR_KSIEGA", "tt.kpir_id= DOK_FIN_ZAWART.dok_id", kKpir,
          "DOK_FIN_ZAWART.rodzaj_dok='KPIR+' OR DOK_FIN_ZAWART.rodzaj_dok='KPIR-'"},
         {"DOK_INN", "tt.DOK_ID= DOK_FIN_ZAWART.dok_id", kInPlus,
          "(DOK_FIN_ZAWART.rodzaj_dok='IN+' OR DOK_FIN_ZAWART.rodzaj_dok='IN-') and tt.wart_fin>0"},
         {"DOK_INN", "tt.DOK_ID= DOK_FIN_ZAWART.dok_id", kInMinus,
          "(DOK_FIN_ZAWART.rodzaj_dok='IN+' OR DOK_FIN_ZAWART.rodzaj_dok='IN-') and "
          "tt.wart_finWyd<0"},
         {"DOK_BO", "tt.IDD= DOK_FIN_ZAWART.dok_id", kBoPlus,
          "(DOK_FIN_ZAWART.rodzaj_dok='BO+' OR DOK_FIN_ZAWART.rodzaj_dok='BO-') and tt.wart_fin>0"},
         {"DOK_BO", "tt.IDD= DOK_FIN_ZAWART.dok_id", kBoMinus,
          "(DOK_FIN_ZAWART.rodzaj_dok='BO+' OR DOK_FIN_ZAWART.rodzaj_dok='BO-') and "
          "tt.wart_finWyd<0"},
         {"DOK_INN", "tt.DOK_ID= DOK_FIN_ZAWART.dok_id", kInMinus,
          "DOK_FIN_ZAWART.rodzaj_dok='IN-' and tt.wart_finWyd>0 and (tt.wart_fin<=0 or "
          "tt.wart_fin is null)"},
         {"DOK_BO", "tt.IDD= DOK_FIN_ZAWART.dok_id", kBoMinus,
          "DOK_FIN_ZAWART.rodzaj_dok='BO-' and tt.wart_finWyd>0 and (tt.wart_fin<=0 or "
          "tt.wart_fin is null)"},
         {"KH_KSIEGA", "tt.kpir_ID= DOK_FIN_ZAWART.dok_id",
          "Brutto_dokumentu=" + kroki::Brutto_SQL({"tt.wart_fin"}) +
              ",DOK_FIN_ZAWART.rodzaj_dok=iif(wart_fin>0,'KH+','"
              "KH-"
              "'),dOK_FIN_ZAWART.RODZAJ=iif(wart_fin>0,93,94)",
          "DOK_FIN_ZAWART.rodzaj_dok='KH+' OR DOK_FIN_ZAWART.rodzaj_dok='KH-'"}});
    Linie_Rozliczen(
        "Brutto_dokumentu=-Brutto_dokumentu where (PW='W' and (rodzaj_dok='KPIR+' OR "
        "rodzaj_dok='KPIR-' or rodzaj_dok='KH+' OR rodzaj_dok='KH-' OR rodzaj_dok='IN+' OR "
        "rodzaj_dok='IN-' or rodzaj_dok='BO+' or rodzaj_dok='BO-')) ");
    Linie_Rozliczen(
        "Brutto_dokumentu=-Brutto_dokumentu where  RODZAJ_DOK='SV' and ((PW='W' AND "
        "Brutto_dokumentu>0) OR (PW='P' AND Brutto_dokumentu<0))");
    Linie_Rozliczen(kZnakKwoty);
    Linie_Rozliczen("dok_fin_zawart.kwota=-dok_fin_zawart.kwota where RODZAJ_DOK='SV' and PW='W'");
}
