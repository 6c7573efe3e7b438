// Step 5.58: codes of 25 characters for account segments, contractors' short names and
// codes and product codes; the last three made unique and indexed uniquely, and the
// contractors numbered 1 to N.
#include <memory>
#include <string>

#include "db/komunikaty.h"
#include "db/nz.h"
#include "db/otworz.h"
#include "db/schemat.h"
#include "driver/konwersje.h"
#include "jet/functions.h"
#include "jet/text.h"
#include "steps/165_299/wspolne.h"

namespace {

constexpr const char* kTypKodu = "Text (25) default ''";
constexpr size_t kDlugoscKodu = 25;

// Values longer than the new 25 characters are cut to them before the column is
// retyped: the copy back into the narrower column would otherwise fail and stop the
// conversion at this step on every run. Each cut value is logged with its row's key;
// equal values that the cut makes are then made unique like any other.
void Przytnij_Do_Kodu(ClsKonwersje& k, const std::string& tabela, const std::string& klucz,
                      const std::string& pole) {
    std::unique_ptr<ado::Recordset> rs;
    const std::string warunek = " from " + tabela + " where len(" + pole + ")>25";
    if (k.DbOtwórzSELKonwersje(rs, klucz + "," + pole + warunek) < 1) {
        ZamknijRS(rs);
        return;
    }
    for (; !rs->Eof(); rs->MoveNext())
        Zapisz_Log(tabela + "." + pole + " " + NzStr(rs->Fields(0).value()) + ": '" +
                       NzStr(rs->Fields(1).value()) + "' skrócono do 25 znaków",
                   "Konwersja", "Naprawa kodu");
    ZamknijRS(rs);
    k.DbWykonajKonwersje("update " + tabela + " set " + pole + "=left(" + pole + ",25) where len(" +
                         pole + ")>25");
}

// The walk that makes the values of a contractor column unique (see Konwersja_558):
// passes over the duplicates in value order until a pass changes nothing.
void Unikalne_Wartosci(ClsKonwersje& k, const std::string& lista, bool krotka, int32_t& licznik) {
    std::unique_ptr<ado::Recordset> rs;
    for (;;) {
        k.DbOtwórzSELKonwersje(rs, lista);
        ado::Recordset& r = kroki::Rekordy(rs);
        std::string poprzedni;
        int32_t zmiany = 0;
        for (; !r.Eof(); r.MoveNext()) {
            const std::string wartosc = std::string(jet::fn::trim_view(NzStr(r.Fields(0).value())));
            const std::string klucz = jet::text::upper(wartosc);
            if (klucz != poprzedni) {
                poprzedni = klucz;
            } else {
                const std::string przyrostek = std::to_string(krotka ? licznik : zmiany);
                std::string nowa = wartosc + przyrostek;
                if (jet::text::length(nowa) > kDlugoscKodu) {
                    nowa = przyrostek + (krotka ? klucz : wartosc);
                    nowa.resize(jet::text::offset_of_char(nowa, kDlugoscKodu));
                }
                r.Fields(0) = jet::Value::text(nowa);
                r.UpdateBatch(ado::adAffectCurrent);
                ++zmiany;
            }
            ++licznik;
        }
        if (zmiany == 0) break;
        ZamknijRS(rs);
        k.CzekajKonwersje(3);
    }
    ZamknijRS(rs);
}

}  // namespace

void ClsKonwersje::Przenumeruj_Kontrahentow() {
    std::unique_ptr<ado::Recordset> rs;
    DbOtwórzSELKonwersje(rs, "[konh_numer] from [kontrahenci] order by [konh_numer]");
    ado::Recordset& r = kroki::Rekordy(rs);
    int32_t licznik = 0;
    for (; !r.Eof(); r.MoveNext()) r.Fields(0) = jet::Value::long_(++licznik);
    r.UpdateBatch();
    ZamknijRS(rs);
}

void ClsKonwersje::Konwersja_558() {
    int32_t licznik = 0;

    for (const char* indeks : {"Podstawowy", "NR_K_2", "NR_K_3", "NR_K_4"})
        Usun_Index(indeks, "KH_KONTA");
    for (const char* kol : {"NR_K_2", "NR_K_3", "NR_K_4"})
        Zmien_Typ_Pola(kol, kTypKodu, "kh_konta");
    Utworz_Klucz_Podstawowy("kh_konta", "ROK,NR_K_1,NR_K_2,NR_K_3,NR_K_4", 1);
    for (const char* kol : {"NR_K_2", "NR_K_3", "NR_K_4"}) Utworz_Index(kol, "kh_konta", kol, 1);

    Usun_Index("Cennik", "kontrahenci");
    Usun_Index("indKONH_NAZ_SKROT", "kontrahenci");
    Przytnij_Do_Kodu(*this, "kontrahenci", "konh_id", "KONH_NAZ_SKROT");
    Zmien_Typ_Pola("KONH_NAZ_SKROT", kTypKodu, "kontrahenci");
    Utworz_Index("KONH_NAZ_SKROT", "kontrahenci", "KONH_NAZ_SKROT");
    DbWykonajUPDKonwersje("",
                          "kontrahenci as k1 inner join kontrahenci as k2 on "
                          "k1.KONH_NAZ_SKROT=k2.KONH_NAZ_SKROT",
                          "k1.KONH_NAZ_SKROT=ucase(k1.KONH_NAZ_SKROT)", "k1.konh_id<>k2.konh_id");
    Unikalne_Wartosci(*this,
                      "k1.[KONH_NAZ_SKROT] from kontrahenci as k1 inner join kontrahenci as k2 on "
                      "k1.KONH_NAZ_SKROT=k2.KONH_NAZ_SKROT where k1.konh_id<>k2.konh_id order by "
                      "k1.KONH_NAZ_SKROT",
                      true, licznik);
    Usun_Index("KONH_NAZ_SKROT", "kontrahenci");
    Utworz_Index_Unikalny("KONH_NAZ_SKROT", "kontrahenci", "KONH_NAZ_SKROT", 1);
    Utworz_Index("Cennik", "kontrahenci", "KONH_NAZ_SKROT,LCEN_NAZWA_ID,KONH_ID", 1);

    Przytnij_Do_Kodu(*this, "kontrahenci", "konh_id", "Konh_kod");
    Zmien_Typ_Pola("Konh_kod", kTypKodu, "kontrahenci");
    Utworz_Index("Konh_kod", "kontrahenci", "Konh_kod");
    DbWykonajUPDKonwersje(
        "", "kontrahenci as k1 inner join kontrahenci as k2 on k1.Konh_kod=k2.Konh_kod",
        "k1.Konh_kod=ucase(k1.Konh_kod)", "k1.konh_id<>k2.konh_id");
    Unikalne_Wartosci(*this,
                      "k1.[Konh_kod] from kontrahenci as k1 inner join kontrahenci as k2 on "
                      "k1.Konh_kod=k2.Konh_kod  where k1.konh_id<>k2.konh_id order by k1.konh_kod",
                      false, licznik);
    DbWykonajUPDKonwersje(
        "", "kontrahenci as k1 inner join kontrahenci as k2 on k1.Konh_kod=k2.Konh_kod",
        "k1.Konh_kod=k1.Konh_kod & '1' ", "k1.KONH_ID>k2.KONH_ID");
    Usun_Index("Konh_kod", "kontrahenci");
    Utworz_Index_Unikalny("Konh_kod", "kontrahenci", "Konh_kod", 1);

    Przenumeruj_Kontrahentow();
    Utworz_Index_Unikalny("konh_numer", "kontrahenci", "konh_numer", 1);

    Usun_Index("prod_kod", "produkty");
    Przytnij_Do_Kodu(*this, "produkty", "prod_id", "prod_kod");
    Zmien_Typ_Pola("prod_kod", kTypKodu, "produkty");
    Utworz_Index("prod_kod", "produkty", "prod_kod");
    DbWykonajUPDKonwersje("", "produkty as k1 inner join produkty as k2 on k1.prod_kod=k2.prod_kod",
                          "k1.prod_kod=k1.prod_kod & '1' ", "k1.prod_id>k2.prod_id");
    Usun_Index("prod_kod", "produkty");
    Utworz_Index_Unikalny("prod_kod", "produkty", "prod_kod", 1);
}
