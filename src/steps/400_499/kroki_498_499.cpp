// Steps 4.98 and 4.99: the ledger descriptions of entries from purchases, purchase
// corrections and sales corrections replaced by the event descriptions typed on those
// documents (the purchase entries' posting lines too, where they begin with the
// generated document reference), and the cancelled-document flag of the document
// headers.
#include <memory>
#include <string>
#include <tuple>

#include "db/komunikaty.h"
#include "db/nz.h"
#include "db/postep.h"
#include "db/schemat.h"
#include "driver/konwersje.h"
#include "jet/text.h"
#include "steps/165_299/wspolne.h"

using jet::Value;
using kroki::Rekordy;

namespace {

// Fields of the posting lines' recordset.
enum Linia { kOpis, kNumerDokumentu, kNumerZaksiegowania, kOpisZdarzenia, kLinia };

// The words that begin a generated reference, tested in this order.
constexpr const char* kPrefiksy[] = {"Faktura Vat ", "ZV ", "Rachunek ", "RA ", "RR "};

}  // namespace

void ClsKonwersje::Konwersja_498() {
    DbWykonajUPDKonwersje("", "kh_ksiega as kh inner join dok_zak as dz on kh.id_dok=dz.numer_id",
                          "kh.opis=dz.Opis_Zdarzenia",
                          "(kh.rodzaj Between 10 and 12) and dz.Opis_Zdarzenia<>''");
    // A correction's text may make the description longer than its column: it is cut
    // there, each entry so cut named in the Log.
    for (const auto& [zrodla, opis, wiersze] :
         {std::tuple<const char*, const char*, const char*>{
              "(kh_ksiega as kh inner join dok_kza as kz on kh.id_dok=kz.FKOROUT_ID) inner join "
              "dok_zak as dz on kz.FKOROUT_ID=dz.numer_id",
              "dz.Opis_Zdarzenia & ' ' & kz.tekst_kor",
              "(kh.rodzaj=13) and (dz.Opis_Zdarzenia<>'' OR kz.tekst_kor<>'')"},
          {"(kh_ksiega as kh inner join dok_kfa as kz on kh.id_dok=kz.FKOROUT_ID)", "kz.tekst_kor",
           "(kh.rodzaj=23) and kz.tekst_kor<>''"}})
        DbWykonajUPDKonwersje("", zrodla,
                              std::string("kh.opis=") + Przytnij_Wartosc("kh_ksiega", "kh", "opis",
                                                                         zrodla, opis, wiersze),
                              wiersze);

    std::unique_ptr<ado::Recordset> rs;
    // The line's own key (countt) comes last, for the log of a cut description.
    DbOtwórzSELKonwersje(
        rs,
        " kd.opis,dz.numer_dokumentu,dz.numer_zaksiegowania,dz.Opis_Zdarzenia,kd.countt from "
        "(kh_dekrety as kd inner join kh_ksiega as kh on kd.kpir_id=kh.kpir_id) inner join "
        "dok_zak as dz on dz.numer_id=kh.id_dok where (kh.rodzaj Between 10 and 12) and "
        "dz.Opis_Zdarzenia<>''");
    while (!Rekordy(rs).Eof()) {
        ado::Recordset& r = *rs;
        // A line without a description matches no reference.
        const std::string opis = NzStr(r.Fields(kOpis).value());
        Pokaz_Postep("", "", opis);
        const std::string numery = NzStr(r.Fields(kNumerDokumentu).value()) + "," +
                                   NzStr(r.Fields(kNumerZaksiegowania).value());
        for (const char* prefiks : kPrefiksy) {
            const std::string klucz = prefiks + numery;
            if (opis.compare(0, klucz.size(), klucz) != 0) continue;
            // The event description may make the line longer than its column: it is cut
            // there, or the save would stop the conversion at this step on every run. Each
            // cut is logged with the line's key and the whole text.
            std::string nowy = NzStr(r.Fields(kOpisZdarzenia).value()) + opis.substr(klucz.size());
            const int dlugosc = r.Fields(kOpis).DefinedSize();
            if (dlugosc > 0 && dlugosc <= 255 &&
                jet::text::length(nowy) > static_cast<size_t>(dlugosc)) {
                Zapisz_Log_Kroku("kh_dekrety.opis " + NzStr(r.Fields(kLinia).value()) + ": '" +
                                     nowy + "' skrócono do " + std::to_string(dlugosc) + " znaków",
                                 "Konwersja", "Naprawa opisu");
                nowy = NzStr_Dl(Value::text(nowy), static_cast<int16_t>(dlugosc));
            }
            r.Fields(kOpis) = Value::text(nowy);
            r.UpdateBatch(ado::adAffectCurrent);
            break;
        }
        r.MoveNext();
    }
    ZamknijRSKonwersje(rs);
}

void ClsKonwersje::Konwersja_499() {
    DbWykonajKonwersje("alter table [Dok_dd] ADD COLUMN [F_Anulowana] Logical");
    Utworz_Index("F_Anulowana", "Dok_dd", "F_Anulowana", 0);
    DbWykonajKonwersje("alter table [Dok_dz] ADD COLUMN [F_Anulowana] Logical");
    Utworz_Index("F_Anulowana", "Dok_dz", "F_Anulowana", 0);
    for (const char* tabela : {"Dok_dar", "Dok_fwe", "Dok_par", "Dok_pfa", "Dok_rw", "Dok_pw",
                               "Dok_WZ", "Dok_PZ", "Dok_ZAK"})
        DbWykonajKonwersje(std::string("alter table [") + tabela +
                           "] ADD COLUMN [F_Anulowana] Logical");
}
