// Steps 6.39 to 6.46: booking flags of purchase corrections, balance-sheet positions
// renumbered, the products' conversion units rebuilt from the document lines, the
// pre-correction VAT code and invoice number on correction lines, payroll categories,
// a contract column, drivers of discount rows copied from the group-0 row, and the
// payroll component 203.
#include <memory>
#include <string>
#include <string_view>

#include "db/nz.h"
#include "db/otworz.h"
#include "db/teksty.h"
#include "db/wykonaj.h"
#include "driver/konwersje.h"
#include "jet/error.h"
#include "jet/text.h"
#include "steps/165_299/wspolne.h"
#include "steps/400_499/wspolne_400.h"

void ClsKonwersje::Konwersja_639() {
    DbWykonajUPDKonwersje("", "DOK_KZA_ZAWART", "ID_KPIR=0 where id_kpir=-1 and WTYMST<0", "");
    DbWykonajUPDKonwersje("", "DOK_KZA_ZAWART", "WTYMST=0 where  WTYMST<0", "");
    DbWykonajUPDKonwersje("", "DOK_KZA", "DOK_KZA.id_kpir=0", "id_kpir=-1 ");
    DbWykonajUPDKonwersje(
        "", "DOK_KZA inner join DOK_KZA_ZAWART on DOK_KZA.FKOROUT_ID=DOK_KZA_zawart.FKOROUT_ID",
        "DOK_KZA.id_kpir=-1",
        kroki::Zaksiegowany_Przez_Pozycje("DOK_KZA.id_kpir",
                                          {{"DOK_KZA_zawart.id_kpir"}, {"DOK_KZA_zawart.WTYMST"}}) +
            " ");
}

void ClsKonwersje::Konwersja_640() {
    DbWykonajUPDKonwersje("", "KH_BILANS", "ID_POZ=ID_POZ-124 where id_POZ>124 ", "");
}

void ClsKonwersje::Konwersja_641() {
    DbWykonajDEL("PRODUKTY_WSP_PRZEL");
    CzekajKonwersje(1);
    CzekajKonwersje(1);
    std::unique_ptr<ado::Recordset> zrodlo;
    std::unique_ptr<ado::Recordset> jednostki;
    // Units come from the lines' factors other than 1; a factor of 0 or less, or not given,
    // converts nothing and makes no unit. Each unit once, in the order of its first line (the
    // lowest Countt): of two names of one product and factor, the first written is kept. A
    // line without its product is of product 0, as one that names none.
    for (const char* zrodla : {"Nz(SUR_ID,0),SP_PRZEL,WSP_PRZEL from DOK_ZAK_ZAWART",
                               "Nz(PROD_ID,0),SP_PRZEL,WSP_PRZEL from DOK_PZ_ZAWART",
                               "Nz(PROD_ID,0),SP_PRZEL,WSP_PRZEL from DOK_WZ_ZAWART"}) {
        const std::string kolumny(zrodla, std::string_view(zrodla).find(" from"));
        DbOtwórzSEL(zrodlo,
                    std::string(zrodla) + " where WSP_PRZEL<>1 and WSP_PRZEL>0 group by " +
                        kolumny + " order by Min(Countt)",
                    kOtworzOdczyt);
        // Once a unit has been added, failures of this source are passed over, as the
        // pass goes on with the next statement.
        bool pomijaj = false;
        auto wykonaj = [&pomijaj](const auto& f) {
            if (!pomijaj) return f();
            try {
                f();
            } catch (const jet::Error& e) {
                if (jet::environment_failure(e)) throw;
            }
        };
        for (ado::Recordset& z = kroki::Rekordy(zrodlo); !z.Eof(); z.MoveNext()) {
            int32_t znalezione = -1;
            wykonaj([&] {
                znalezione = DbOtwórzSEL(
                    jednostki,
                    " PROD_ID,SP_PRZEL,WSP_PRZEL from PRODUKTY_WSP_PRZEL where prod_id=" +
                        NzStr(z.Fields(0).value()) +
                        " and wsp_przel=" + Przecinek_Na_Kropke(NzStr(z.Fields(2).value())),
                    kOtworzEdycja);
            });
            if (znalezione != 0) continue;
            pomijaj = true;
            try {
                ado::Recordset& j = kroki::Rekordy(jednostki);
                j.AddNew();
                j.Fields(0) = z.Fields(0).value();
                j.Fields(1) = z.Fields(1).value();
                j.Fields(2) = z.Fields(2).value();
                try {
                    j.UpdateBatch(ado::adAffectCurrent);
                } catch (const jet::Error& e) {
                    if (jet::environment_failure(e)) throw;
                    // A name that the product already uses for another factor: the name
                    // extended by the factor, its end given up where the column cannot hold
                    // both, so that the factor stays readable. Refused again, the row is
                    // given up, so that the pass always ends. Either is named in the Log:
                    // the lines of that factor take the new name.
                    const std::string nazwa = NzStr(z.Fields(1).value());
                    const std::string przyrostek = NzStr(j.Fields(2).value());
                    const int rozmiar = j.Fields(1).DefinedSize();
                    const std::string nowa =
                        rozmiar > 0
                            ? jet::text::with_suffix(nazwa, przyrostek, static_cast<size_t>(rozmiar))
                            : nazwa + przyrostek;
                    const std::string opis = "Jednostka '" + nazwa + "' produktu " +
                                             NzStr(z.Fields(0).value()) + " (przelicznik " +
                                             przyrostek + ")";
                    j.Fields(1) = jet::Value::text(nowa);
                    try {
                        j.UpdateBatch(ado::adAffectCurrent);
                        Zapisz_Log_Kroku(opis + " zapisana jako '" + nowa + "'", "Konwersja",
                                         "Konwersja_641");
                    } catch (const jet::Error& e) {
                        if (jet::environment_failure(e)) throw;
                        j.CancelUpdate();
                        Zapisz_Log_Kroku(opis + " nie dodana: " + e.description(), "Konwersja",
                                         "Konwersja_641");
                    }
                }
            } catch (const jet::Error& e) {
                // A locked file or a full disk is no row's failure: it stops the pass.
                if (jet::environment_failure(e)) throw;
            }
        }
    }
    // The table now holds one row per product and factor (a pair is added only where the
    // lookup finds none): each line meets one unit.
    DbWykonaj("Update DOK_ZAK_ZAWART  set dok_zak_zawart.SP_PRZEL='Brak' where WSP_PRZEL=1");
    DbWykonaj(
        "Update DOK_ZAK_ZAWART inner join PRODUKTY_WSP_PRZEL on "
        "(dok_zak_zawart.sur_id=PRODUKTY_WSP_PRZEL.prod_id and "
        "dok_zak_zawart.WSP_PRZEL=PRODUKTY_WSP_PRZEL.WSP_PRZEL) set "
        "dok_zak_zawart.SP_PRZEL=PRODUKTY_WSP_PRZEL.SP_PRZEL");
    DbWykonaj("Update DOK_PZ_ZAWART  set dok_PZ_zawart.SP_PRZEL='Brak' where WSP_PRZEL=1");
    DbWykonaj(
        "Update DOK_PZ_ZAWART inner join PRODUKTY_WSP_PRZEL on "
        "(dok_PZ_zawart.PROD_id=PRODUKTY_WSP_PRZEL.prod_id and "
        "dok_PZ_zawart.WSP_PRZEL=PRODUKTY_WSP_PRZEL.WSP_PRZEL) set "
        "dok_PZ_zawart.SP_PRZEL=PRODUKTY_WSP_PRZEL.SP_PRZEL");
    DbWykonaj("Update DOK_WZ_ZAWART  set dok_wZ_zawart.SP_PRZEL='Brak' where WSP_PRZEL=1");
    DbWykonaj(
        "Update DOK_WZ_ZAWART inner join PRODUKTY_WSP_PRZEL on "
        "(dok_wZ_zawart.PROD_id=PRODUKTY_WSP_PRZEL.prod_id and "
        "dok_wZ_zawart.WSP_PRZEL=PRODUKTY_WSP_PRZEL.WSP_PRZEL) set "
        "dok_wZ_zawart.SP_PRZEL=PRODUKTY_WSP_PRZEL.SP_PRZEL");
    ZamknijRS(zrodlo);
    ZamknijRS(jednostki);
}

// Each payroll line takes the category of its person; a person whose category is not
// given (Null) leaves the line's own.
void ClsKonwersje::Konwersja_642() {
    DbWykonaj(
        "Update PLACE_LISTY_ZAWART inner join KONTRAHENCI on "
        "PLACE_LISTY_ZAWART.idp=KONTRAHENCI.KONH_id  set "
        "place_listy_zawart.kategoria=kontrahenci.kategoria where kontrahenci.kategoria Is Not "
        "Null");
}

void ClsKonwersje::Konwersja_643() {
    Dodaj_Pole("DOK_KFA_ZAWART", "VAT_ORG Text (4)");
    Dodaj_Pole("DOK_KFA_ZAWART", "Numer_faktury Text (200)");
    CzekajKonwersje(3);
    DbWykonaj(
        "Update DOK_KFA_ZAWART   inner join Produkty ON dok_kfa_zawart.prod_id=produkty.prod_id "
        "set DOK_KFA_ZAWART.VAT_ORG=produkty.STVAT_ID");
    DbWykonaj(
        "Update (DOK_FAK_ZAWART  as dok inner join DOK_KFA_ZAWART ON "
        "dok_kfa_zawart.FAKOUT_ID_Z=dok.FAKOUT_ID and dok_kfa_zawart.prod_id=dok.prod_id and "
        "dok_kfa_zawart.CENA_ORG=dok.ZFAKOUT_CENA_N) inner join DOK_FAK on "
        "dok_fak.fakout_id=dok.fakout_id set "
        "DOK_KFA_ZAWART.VAT_ORG=dok.ZFAKOUT_VAT,DOK_KFA_ZAWART.Numer_faktury=dok_fak.FAKOUT_NUMER");
    std::unique_ptr<ado::Recordset> linie;
    std::unique_ptr<ado::Recordset> wczesniejsze;
    // Lines of corrections that name no invoice (0) correct no common invoice line, and a
    // line that names no correction (0, Null or an id no correction has) is of none: it is
    // neither corrected in the chain nor an earlier correction of another line.
    DbOtwórzSEL(
        linie,
        "distinctrow DOK_KFA_ZAWART.VAT_ORG,dok_kfa_zawart.PROD_ID,dok_kfa_zawart.CENA_ORG,"
        "dok_kfa_zawart.FAKOUT_ID_Z,dok_kfa_zawart.FKOROUT_ID,dok_kfa_zawart.Countt,DOK_KFA_ZAWART."
        "ZFKOROUT_VAT,k2.ZFKOROUT_VAT FROM  (DOK_KFA_ZAWART inner join DOK_KFA_ZAWART as k2 on "
        "dok_kfa_zawart.FAKOUT_ID_Z=k2.FAKOUT_ID_Z and dok_kfa_zawart.prod_id=k2.prod_id) inner "
        "join DOK_KFA as KF on KF.FKOROUT_ID=dok_kfa_zawart.FKOROUT_ID WHERE "
        "dok_kfa_zawart.FKOROUT_ID<>k2.FKOROUT_ID and dok_kfa_zawart.FAKOUT_ID_Z<>0 and "
        "(dok_kfa_zawart.ZFKOROUT_VAT<>k2.ZFKOROUT_VAT "
        "or dok_kfa_zawart.ZFKOROUT_VAT<>dok_kfa_zawart.VAT_ORG or k2.ZFKOROUT_VAT<>k2.VAT_ORG) "
        "order by dok_kfa_zawart.FKOROUT_ID",
        kOtworzEdycja);
    // Each line takes the VAT of the latest earlier correction of its invoice line: the
    // highest correction, and of its lines for the product the one entered last.
    for (ado::Recordset& l = kroki::Rekordy(linie); !l.Eof(); l.MoveNext()) {
        if (DbOtwórzSEL(wczesniejsze,
                        "distinctrow DOK_KFA_ZAWART.ZFKOROUT_VAT  FROM  (DOK_KFA_ZAWART inner "
                        "join DOK_KFA_ZAWART as dok ON dok_kfa_zawart.FAKOUT_ID_Z=dok.FAKOUT_ID_Z "
                        "and dok_kfa_zawart.prod_id=dok.prod_id) inner join DOK_KFA as KF on "
                        "KF.FKOROUT_ID=dok_kfa_zawart.FKOROUT_ID WHERE "
                        "dok_kfa_zawart.FKOROUT_ID<dok.FKOROUT_ID and dok.COUNTT=" +
                            NzStr(l.Fields(5).value()) +
                            " order by dok_kfa_zawart.FKOROUT_ID desc,dok_kfa_zawart.Countt desc",
                        kOtworzOdczyt) > 0) {
            l.Fields(0) = jet::Value::text(NzStr_Spacja(wczesniejsze->Fields(0).value()));
            l.UpdateBatch(ado::adAffectCurrent);
        }
    }
    ZamknijRS(linie);
    ZamknijRS(wczesniejsze);
}

void ClsKonwersje::Konwersja_644() {
    Dodaj_Pole("KADRY_UMOWY", "Rodzaj_cd Text (100)");
}

void ClsKonwersje::Konwersja_645() {
    // The key (Konh_id, Id_GR_prod) gives each contractor one row of group 0; a driver it
    // does not give leaves the other row's.
    for (int i = 1; i <= 9; ++i) {
        const std::string n = std::to_string(i);
        std::string wartosci;
        for (const std::string k : {"KIER_ID", "KIER_ID10", "KIER_ID20"})
            wartosci += (wartosci.empty() ? "k1." : ",k1.") + k + n + "=" +
                        kroki::Kopia_Bez_Nulla("k1." + k + n, "k2." + k + n);
        DbWykonajUPDKonwersje("",
                              "KONTRAHENCI_RABATY as k1 inner join KONTRAHENCI_RABATY as k2 on "
                              "k1.KONH_ID=k2.KONH_ID",
                              wartosci + " where k1.ID_GR_PROD<>k2.ID_GR_PROD and k2.ID_GR_PROD=0",
                              "");
    }
}

void ClsKonwersje::Konwersja_646() {
    kroki::Dodaj_Skladnik_Plac(*this, "PLACE_OPISY", {203, "Dodatki inne", "Dodatki inne"});
    for (int pole = 203; pole <= 203; ++pole)
        DbWykonaj("alter table PLACE_LISTY_ZAWART ADD COLUMN [wartosc" + std::to_string(pole) +
                  "]  money DEFAULT 0");
}
