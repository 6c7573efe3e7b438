// Steps 3.21 and 3.22: the per-rate VAT breakdown of tabela_vat repaired where its buckets
// no longer add up to the document's totals, then moved into bucket columns of the
// document tables themselves.
#include <array>
#include <memory>
#include <string>

#include "db/postep.h"
#include "driver/konwersje.h"
#include "jet/functions.h"
#include "jet/value.h"
#include "steps/165_299/wspolne.h"

namespace {

// A document kind whose breakdown is compared with its totals: its table, the columns of
// its date, id, net and VAT totals, its kind in tabela_vat, and whether a document with a
// net total not above 0 takes the difference into its smallest bucket (corrections).
struct Rodzaj_Naprawy {
    const char* tabela;
    const char* data;
    const char* id;
    const char* netto;
    const char* vat;
    const char* rodzaj;
    bool korekta;
};

constexpr std::array<Rodzaj_Naprawy, 3> kNaprawy = {{
    {"dok_fak", "FAKOUT_DATA_WYST", "fakout_id", "FAKOUT_WART_N", "FAKOUT_WART_VAT",
     "sprzedaż_f_vat", false},
    {"dok_par", "DDOUT_DATA_WYST", "DDOUT_ID", "DDOUT_WART_N", "DDOUT_wart_VAT", "paragon", false},
    {"dok_kfa", "FKOROUT_DATA_WYST", "FKOROUT_ID", "fkorout_wart_n", "fkorout_wart_vat",
     "sprzedaż_f_vat_korekta", true},
}};

// The register rows of the kind whose buckets do not add up to the document's totals at
// two decimals, a bucket not given counting as 0 (a total not given is no difference):
// wayr and wayr3 the totals, wayr2 and wayr4 the sums of the net and VAT buckets.
std::string Niezgodne(const Rodzaj_Naprawy& n) {
    const std::string netto = kroki::Suma_Nz({"n7", "n22", "n0", "nzw", "n3"});
    const std::string vat = kroki::Suma_Nz({"vat7", "vat22", "vat3"});
    return std::string("format(") + n.data + ",'dd-mm-yyyy'),id," + n.netto + " as wayr," + netto +
           " as wayr2," + n.vat + " as wayr3," + vat +
           " as wayr4,Countt from tabela_vat inner join " + n.tabela + " on " + n.tabela + "." +
           n.id + "=tabela_vat.id where tabela_vat.r_dok='" + n.rodzaj + "' and (format(" +
           n.netto + ",'0.00')<>format(" + netto + ",'0.00') or format(" + n.vat +
           ",'0.00')<>format(" + vat + ",'0.00'))";
}

// A bucket's amount, a bucket not given counting as 0.
jet::Value Kwota(const jet::Value& v) {
    return v.is_null() || v.is_empty() ? jet::Value::currency(jet::Currency{}) : v;
}

// The document's total differs from the sum of its buckets; a total not given is no
// difference.
bool Rozne(const jet::Value& a, const jet::Value& b) {
    if (a.is_null() || b.is_null() || a.is_empty() || b.is_empty()) return false;
    return jet::compare(a, b) != 0;
}

// Puts suma - buckets (rounded to 2 decimals) into one of the bucket fields pola of the
// current row: the largest, or the smallest when najmniejszy; the first one on a tie. A
// bucket not given counts as 0, in the choice and in the sum it takes.
void Popraw_Kubelek(ado::Recordset& rs, std::initializer_list<int> pola, const jet::Value& suma,
                    const jet::Value& kubelki, bool najmniejszy) {
    const jet::Currency d = jet::fn::format(jet::subtract(suma, kubelki), "0.00").to_currency();
    int wybor = *pola.begin();
    for (int p : pola) {
        const int c = jet::compare(Kwota(rs.Fields(p).value()), Kwota(rs.Fields(wybor).value()));
        if (najmniejszy ? c < 0 : c > 0) wybor = p;
    }
    rs.Fields(wybor) = jet::add(Kwota(rs.Fields(wybor).value()), jet::Value::currency(d));
}

}  // namespace

void ClsKonwersje::Konwersja_321() {
    for (const Rodzaj_Naprawy& n : kNaprawy) {
        std::unique_ptr<ado::Recordset> rs;
        if (DbOtwórzSELKonwersje(rs, Niezgodne(n)) > 0) {
            while (!rs->Eof()) {
                const jet::Value wayr = rs->Fields("wayr").value();
                const jet::Value wayr2 = rs->Fields("wayr2").value();
                const jet::Value wayr3 = rs->Fields("wayr3").value();
                const jet::Value wayr4 = rs->Fields("wayr4").value();
                const jet::Value countt = rs->Fields("Countt").value();
                std::unique_ptr<ado::Recordset> kub;
                // Fields: 0 n7, 1 n22, 2 n0, 3 nzw, 4 n3, 5 vat7, 6 vat22, 7 vat3.
                if (DbOtwórzSELKonwersje(kub,
                                         "n7,n22,n0,nzw,n3,vat7,vat22,vat3,Countt from tabela_vat "
                                         "where Countt=" +
                                             countt.to_text()) > 0) {
                    Pokaz_Postep("", "", kub->Fields("Countt").value().to_text());
                    // A correction whose net total is not above 0 (or not given) corrects
                    // its smallest bucket.
                    const bool najmniejszy =
                        n.korekta && jet::compare(Kwota(wayr), Kwota(jet::Value::null())) <= 0;
                    if (Rozne(wayr, wayr2))
                        Popraw_Kubelek(*kub, {0, 1, 2, 3, 4}, wayr, wayr2, najmniejszy);
                    if (Rozne(wayr3, wayr4))
                        Popraw_Kubelek(*kub, {5, 6, 7}, wayr3, wayr4, najmniejszy);
                    kub->UpdateBatch();
                }
                ZamknijRSKonwersje(kub);
                rs->MoveNext();
            }
        }
        ZamknijRSKonwersje(rs);
    }
}

void ClsKonwersje::Konwersja_322() {
    // Each document table, its kind in tabela_vat and its id column.
    struct Tabela_Dokumentu {
        const char* tabela;
        const char* rodzaj;
        const char* id;
    };
    static constexpr std::array<Tabela_Dokumentu, 11> kTabele = {{
        {"DOK_DD", "sprzedaż_ddost", "ddout_id"},
        {"DOK_DZ", "sprzedaż_zwroty", "ddout_id"},
        {"DOK_FAK", "sprzedaż_f_vat", "FAKOUT_ID"},
        {"DOK_KFA", "sprzedaż_f_vat_korekta", "FKOROUT_ID"},
        {"DOK_KZA", "zakupy_korekta", "FKOROUT_ID"},
        {"DOK_PAR", "paragon", "ddout_id"},
        {"DOK_PW", "magazyn_pw", "ddout_id"},
        {"DOK_PZ", "zakup_zwroty", "ddout_id"},
        {"DOK_RW", "sprzedaż_detal", "ddout_id"},
        {"DOK_WZ", "zakup_ddost", "ddout_id"},
        {"DOK_ZAK", "zakupy", "numer_id"},
    }};
    // The register goes once the last document table holds its amounts: a register that
    // an earlier run dropped has left every amount in its documents, and the columns.
    if (Jest_Tabela("tabela_vat")) {
        for (const Tabela_Dokumentu& t : kTabele) {
            Pokaz_Postep("", "", t.tabela);
            // A document takes its amounts from its one register row: of two rows of one
            // document, one's amounts would be lost with the register.
            kroki::Jeden_Wiersz_Na_Klucz(*this, 322, "tabela_vat", "id",
                                         std::string(" and r_dok='") + t.rodzaj + "'");
            for (const char* kolumna :
                 {" [n22] CURRENCY", " [vat22] CURRENCY", " [n7] CURRENCY", " [vat7] CURRENCY",
                  " [n3] CURRENCY", " [vat3] CURRENCY", " [n0] CURRENCY", " [nZW] CURRENCY"})
                DbWykonajKonwersje(std::string("alter table ") + t.tabela + " " + "ADD COLUMN" +
                                   kolumna);
            // The register goes once every document holds its amounts.
            Przeniesione_Wartosci kwoty{
                .zrodlo = "tabela_vat",
                .cel = t.tabela,
                .zlaczenie = std::string("tabela_vat as TV inner join ") + t.tabela +
                             " as TD on TV.id=TD." + t.id,
                .warunek = std::string("TV.r_dok='") + t.rodzaj + "'",
                .alias = "T2",
                .powiazanie = std::string("T2.id=TD.") + t.id + " AND T2.r_dok='" + t.rodzaj + "'",
                .klucz = "id"};
            std::string wartosci;
            for (const char* kolumna : {"N22", "VAT22", "N7", "VAT7", "N3", "VAT3", "N0", "NZW"}) {
                wartosci +=
                    (wartosci.empty() ? "TD." : ",TD.") + std::string(kolumna) + "=TV." + kolumna;
                kwoty.pola.emplace_back(std::string("TD.") + kolumna, kolumna);
            }
            DbWykonajKonwersje(
                "update " + kwoty.zlaczenie + " set " + wartosci + " WHERE " + kwoty.warunek,
                Wartosci_Z_Wczesniejszego_Przebiegu(kwoty));
        }
        DbWykonajKonwersje("drop table tabela_vat");
    }

    DbWykonajKonwersje(std::string("alter table [S_JEDNOSTKI] ") + "ADD COLUMN" +
                       " [Do_Jednostki] Text(25)");
    DbWykonajKonwersje("update S_JEDNOSTKI set Do_Jednostki=JED_NAZWA_ID");
    DbWykonajKonwersje(
        "update S_JEDNOSTKI set JED_WAGAwKG=1 where JED_WAGAwKG<=0 or JED_WAGAwKG is null");

    DbWykonajKonwersje(std::string("alter table [PRODUKTY_RECEPTURY] ") + "ADD COLUMN" +
                       " [Jednostka_Receptury] Text(25)");
    DbWykonajKonwersje(
        "update [PRODUKTY_RECEPTURY] inner join [Produkty] on "
        "[PRODUKTY_RECEPTURY].[Sur_id]=[Produkty].[prod_id] set "
        "[PRODUKTY_RECEPTURY].[Jednostka_Receptury]=[Produkty].[prod_jed]");

    DbWykonajKonwersje(std::string("alter table [SRODKI_TRWALE] ") + "ADD COLUMN" +
                       " [Wyposazenie] logical");
}
