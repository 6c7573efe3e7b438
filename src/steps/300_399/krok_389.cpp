// Step 3.89: cash documents without a party take the party of the document that their
// first settlement line settles, and payee parties that share a short name are merged
// into the first of them.
#include <cstdint>
#include <memory>
#include <string>
#include <utility>

#include "db/nz.h"
#include "db/otworz.h"
#include "driver/konwersje.h"
#include "jet/text.h"
#include "steps/165_299/wspolne.h"

namespace {

// The settled document's kind (exact text) and the query, up to the document's id, that
// reads its party.
constexpr std::pair<const char*, const char*> kDokumentyRozliczane[] = {
    {"DD", "konh_id,DDOUT_ID from DOK_DD where DDOUT_ID="},
    {"DZ", "konh_id,DDOUT_ID from DOK_DZ where DDOUT_ID="},
    {"Faktura", "konh_id,FAKOUT_ID from DOK_FAK where FAKOUT_ID="},
    {"Korekta", "konh_id,FKOROUT_ID from DOK_KFA where FKOROUT_ID="},
    {"Korekta RR", "konh_id,FKOROUT_ID from DOK_KZA where FKOROUT_ID="},
    {"paragon", "konh_id,DDOUT_ID from DOK_PAR where DDOUT_ID="},
    {"PW", "konh_id,DDOUT_ID from DOK_PW where DDOUT_ID="},
    {"PZ", "konh_id,DDOUT_ID from DOK_PZ where DDOUT_ID="},
    {"RW", "konh_id,DDOUT_ID from DOK_RW where DDOUT_ID="},
    {"WZ", "konh_id,DDOUT_ID from DOK_WZ where DDOUT_ID="},
    {"Rachunek", "konh_id,numer_dokumentu from DOK_ZAK where numer_id="},
    {"Faktura RR", "konh_id,numer_dokumentu from DOK_ZAK where numer_id="},
    {"Zakup", "konh_id,numer_dokumentu from DOK_ZAK where numer_id="},
};

// The party query of a settled document's kind; nullptr for a kind that names no document.
const char* Zapytanie_Dokumentu(const std::string& rodzaj) {
    for (const auto& [r, zapytanie] : kDokumentyRozliczane)
        if (rodzaj == r) return zapytanie;
    return nullptr;
}

// Merges payee parties of kind 'Pozostali' that share a short name (compared without
// regard to case) into the one of the lowest id: the others' cash documents move to it
// and the others are deleted. After each merge the list of payees is read again.
void Scal_Pozostalych(ClsKonwersje& k) {
    std::unique_ptr<ado::Recordset> p;
    std::unique_ptr<ado::Recordset> q;
    bool od_nowa = true;
    while (od_nowa) {
        od_nowa = false;
        k.DbOtwórzSELKonwersje(
            p,
            "konh_id,KONH_NAZ_SKROT from kontrahenci where RKONH_NAZWA_ID='Pozostali'  order by "
            "konh_id",
            true);
        while (!kroki::Rekordy(p).Eof()) {
            const std::string id = NzStr(p->Fields(0).value());
            const std::string skrot =
                kroki::W_Apostrofach(jet::text::upper(NzStr(p->Fields(1).value())));
            bool znalezione = false;
            DbOtwórzSEL(q,
                        "konh_id,KONH_NAZ_SKROT from kontrahenci  where RKONH_NAZWA_ID='Pozostali' "
                        "and konh_id<>" +
                            id + " and ucase(KONH_NAZ_SKROT)='" + skrot + "'  ",
                        kOtworzOdczyt);
            for (; q && !q->Eof(); q->MoveNext()) {
                znalezione = true;
                k.DbWykonajKonwersje("UPDATE [DOK_FIN] set konh_id=" + id +
                                     " Where konh_id=" + NzStr(q->Fields(0).value()));
            }
            ZamknijRS(q);
            k.DbWykonajKonwersje(
                "DELETE from kontrahenci  where RKONH_NAZWA_ID='Pozostali' and konh_id<>" + id +
                " and ucase(KONH_NAZ_SKROT)='" + skrot + "'");
            if (znalezione) {
                od_nowa = true;
                break;
            }
            p->MoveNext();
        }
    }
    ZamknijRS(p);
}

}  // namespace

void ClsKonwersje::Kontrahenci_Dokumentow_Kasowych(const std::string& zawart) {
    std::unique_ptr<ado::Recordset> fin;
    std::unique_ptr<ado::Recordset> linie;
    std::unique_ptr<ado::Recordset> dok;
    DbOtwórzSELKonwersje(fin, "konh_id,kp_id from dok_fin where konh_id=0");
    for (; !kroki::Rekordy(fin).Eof(); fin->MoveNext()) {
        // The first settlement line is the first entered (the lowest counter), whatever
        // the order in which the lines are stored.
        if (DbOtwórzSEL(linie,
                        "kp_id,rodzaj_dok,dok_id from " + zawart +
                            " where kp_id=" + NzStr(fin->Fields(1).value()) + " order by Countt",
                        kOtworzOdczyt) <= 0)
            continue;
        const char* zapytanie = Zapytanie_Dokumentu(NzStr(linie->Fields(1).value()));
        if (zapytanie == nullptr) continue;
        if (DbOtwórzSELKonwersje(dok, zapytanie + NzStr(linie->Fields(2).value()), true) >= 1) {
            fin->Fields(0) = dok->Fields(0).value();
            fin->UpdateBatch();
        }
    }
    ZamknijRS(fin);
    ZamknijRS(linie);
    ZamknijRS(dok);
}

void ClsKonwersje::Konwersja_389() {
    Kontrahenci_Dokumentow_Kasowych("dok_fin_zawart");
    Scal_Pozostalych(*this);
}
