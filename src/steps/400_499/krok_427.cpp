// Step 4.27: the settlement data of cash and bank documents repaired. Correction lines
// that name a correction of the other kind get that kind; the amount settled on every
// correction and the financial value of every KP and KW document are recomputed from
// the settlement lines; each cash document's settled total is rebuilt from its own lines.
#include <cstdint>
#include <memory>
#include <string>

#include "db/nz.h"
#include "db/postep.h"
#include "driver/konwersje.h"
#include "steps/165_299/wspolne.h"

namespace {

// Lines of kind z whose document is not a correction of their own table (swoja) but one of
// the other table (inna) get the kind na; newest settled document first.
void Popraw_Rodzaj(ClsKonwersje& k, const std::string& z, const std::string& swoja,
                   const std::string& inna, const std::string& na) {
    std::unique_ptr<ado::Recordset> rs;
    std::unique_ptr<ado::Recordset> dok;
    k.DbOtwórzSELKonwersje(
        rs, " rodzaj_dok,dok_id,kwota,kp_id from dok_fin_zawart where rodzaj_dok='" + z +
                "' order by dok_id desc");
    ado::Recordset& linie = kroki::Rekordy(rs);
    while (!linie.Eof()) {
        // A line that names no document keeps its kind.
        if (linie.Fields(1).value().is_null()) {
            linie.MoveNext();
            continue;
        }
        const std::string id = NzStr(linie.Fields(1).value());
        Pokaz_Postep("", "", id);
        const std::string glowa = " top 1 fkorout_wart_n,fkorout_wart_vat,wart_kp from ";
        if (k.DbOtwórzSELKonwersje(dok, glowa + swoja + " where FKOROUT_ID=" + id) <= 0) {
            if (k.DbOtwórzSELKonwersje(dok, glowa + inna + " where FKOROUT_ID=" + id) > 0) {
                linie.Fields(0) = jet::Value::text(na);
                linie.UpdateBatch(ado::adAffectCurrent);
            }
        }
        k.ZamknijRSKonwersje(dok);
        linie.MoveNext();
    }
    k.ZamknijRSKonwersje(rs);
}

// One pass of the recomputation: the documents of the query, the kind condition of
// their lines, and whether the stored value (field 3) is the negation of field 0. A
// correction's net or VAT without a value (Null) counts as none, so that it does not take
// the correction out of its pass.
struct Przebieg {
    const char* dokumenty;
    const char* warunek;
    bool ujemny;
};

constexpr Przebieg kPrzebiegi[] = {
    {"[wart_kp],Nz(fkorout_wart_n,0)+Nz(fkorout_wart_vat,0),FKOROUT_ID from DOK_KFA WHERE  "
     "Nz(fkorout_wart_n,0)+Nz(fkorout_wart_vat,0)>0 order by FKOROUT_ID desc",
     "(rodzaj_dok='Korekta')", false},
    {"[wart_kp],Nz(fkorout_wart_n,0)+Nz(fkorout_wart_vat,0),FKOROUT_ID from DOK_KZA WHERE  "
     "Nz(fkorout_wart_n,0)+Nz(fkorout_wart_vat,0)>0 order by FKOROUT_ID desc",
     "(rodzaj_dok='Korekta Zak -')", false},
    {"-[wart_kp],-(Nz(fkorout_wart_n,0)+Nz(fkorout_wart_vat,0)),FKOROUT_ID,[wart_kp] from DOK_KFA "
     "WHERE  "
     "Nz(fkorout_wart_n,0)+Nz(fkorout_wart_vat,0)<0 order by FKOROUT_ID desc",
     "(rodzaj_dok='Korekta')", true},
    {"-[wart_kp],-(Nz(fkorout_wart_n,0)+Nz(fkorout_wart_vat,0)),FKOROUT_ID,[wart_kp] from DOK_KZA "
     "WHERE  "
     "Nz(fkorout_wart_n,0)+Nz(fkorout_wart_vat,0)<0 order by FKOROUT_ID desc",
     "(rodzaj_dok='Korekta Zak -')", true},
    {"[wart_fin],0,KP_ID from DOK_FIN WHERE pw='P'  order by KP_ID desc", "(rodzaj_dok='KP')",
     false},
    {"[wart_fin],0,KP_ID from DOK_FIN WHERE pw='W'  order by KP_ID desc", "(rodzaj_dok='KW')",
     false},
};

}  // namespace

void ClsKonwersje::Konwersja_427() {
    Popraw_Rodzaj(*this, "Korekta", "DOK_KFA", "DOK_KZA", "Korekta RR");
    Popraw_Rodzaj(*this, "Korekta Zak -", "DOK_KZA", "DOK_KFA", "Korekta");

    int32_t licznik = 0;
    std::unique_ptr<ado::Recordset> rs;
    std::unique_ptr<ado::Recordset> lin;
    for (const Przebieg& p : kPrzebiegi) {
        const std::string warunek = p.warunek;
        DbOtwórzSELKonwersje(rs, p.dokumenty);
        ado::Recordset& dok = kroki::Rekordy(rs);
        Pokaz_Postep("", "", warunek + std::to_string(licznik));
        while (!dok.Eof()) {
            // A document without an id is named by no line: its amount stays as it is.
            if (dok.Fields(2).value().is_null()) {
                dok.MoveNext();
                continue;
            }
            const std::string id = NzStr(dok.Fields(2).value());
            const auto postep = [&] {
                Pokaz_Postep("", "", warunek + "." + id + "." + std::to_string(licznik));
            };
            postep();
            DbOtwórzSELKonwersje(
                lin, "kwota,kp_id  from DOK_FIN_ZAWART where " + warunek + " and dok_id=" + id,
                true);
            ado::Recordset& linie = kroki::Rekordy(lin);
            jet::Currency suma{};
            while (!linie.Eof()) {
                suma = NzCur(jet::Value::currency(
                    jet::Currency::from_scaled(NzCur(jet::Value::currency(suma)).scaled +
                                               NzCur(linie.Fields(0).value()).scaled)));
                linie.MoveNext();
            }
            ZamknijRSKonwersje(lin);
            if (NzCur(jet::Value::currency(suma)) != NzCur(dok.Fields(0).value())) {
                ++licznik;
                postep();
                if (p.ujemny)
                    dok.Fields(3) = jet::Value::currency(jet::Currency::from_scaled(-suma.scaled));
                else
                    dok.Fields(0) = jet::Value::currency(suma);
                dok.UpdateBatch(ado::adAffectCurrent);
            }
            dok.MoveNext();
        }
        ZamknijRSKonwersje(rs);
    }

    DbWykonajUPDKonwersje("DOK_FIN set Wart_Rozl=0", "", "", "");
    {
        // Each settling line adds its amount once to its cash document, a negative one
        // its absolute value.
        const Zamierzony_Raport po_linii{jet::reports::Kind::MultiPair};
        DbWykonajUPDKonwersje(
            "DOK_FIN inner join [Dok_fin_zawart] on DOK_FIN.[kp_id]=[Dok_fin_zawart].[kp_id] set "
            "DOK_FIN.[wart_Rozl]=DOK_FIN.[wart_Rozl]+[Dok_fin_zawart].[kwota] where "
            "[Dok_fin_zawart].[kwota]>0",
            "", "", "");
        DbWykonajUPDKonwersje(
            "DOK_FIN inner join [Dok_fin_zawart] on DOK_FIN.[kp_id]=[Dok_fin_zawart].[kp_id] set "
            "DOK_FIN.[wart_Rozl]=DOK_FIN.[wart_Rozl]-[Dok_fin_zawart].[kwota] where "
            "[Dok_fin_zawart].[kwota]<0",
            "", "", "");
    }
}
