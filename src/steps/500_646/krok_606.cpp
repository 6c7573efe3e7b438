// Step 6.06: the closing flag of a book period split into one flag per area of the
// suite; the columns that the document headers no longer use removed, a different set
// from each header; a second account column on four purchase-side headers.
#include <algorithm>
#include <initializer_list>
#include <string>
#include <vector>

#include "db/schemat.h"
#include "driver/konwersje.h"

namespace {

// The removed columns in the order of removal; each header drops a subset of them.
const char* const kKolumny[] = {
    "fakout_kwota_zapl",
    "ZBIORCZY",
    "ID_KASY",
    "NR_MAG",
    "RozlNieZalDok",
    "ID_CENNIKA",
    "Platnik_id",
    "GRUPA_PLATNOSCI",
    "NUMER_DOKUMENTU",
    "blok",
    "REMANENT",
    "ID_POSZLO_DO_ZUZYCIA",
    "ID_POSZLO_NA_RW",
    "ID_GRUPAZWROTOW",
    "Zwroty_na_MZ",
    "opis",
    "NRRODDOK",
    "KONTOFK",
    "DDOUT_DO_ROZLICZENIA",
    "ID_KORFAK",
    "KORFAK",
    "ID_PODZIAL",
    "NUMER_PODZIALU",
};

struct Naglowek {
    const char* tabela;
    std::vector<std::string> kolumny;
};

using Lista = std::vector<std::string>;

Lista Bez(Lista l, std::initializer_list<const char*> usun) {
    for (const char* u : usun) l.erase(std::remove(l.begin(), l.end(), u), l.end());
    return l;
}

Lista Z(Lista l, std::initializer_list<const char*> dodaj) {
    l.insert(l.end(), dodaj.begin(), dodaj.end());
    return l;
}

// The headers and what each drops of kKolumny.
std::vector<Naglowek> Naglowki() {
    const Lista dd = {"ZBIORCZY",
                      "ID_KASY",
                      "NR_MAG",
                      "RozlNieZalDok",
                      "ID_CENNIKA",
                      "Platnik_id",
                      "NUMER_DOKUMENTU",
                      "ID_POSZLO_DO_ZUZYCIA",
                      "ID_POSZLO_NA_RW",
                      "ID_GRUPAZWROTOW",
                      "Zwroty_na_MZ",
                      "opis",
                      "NRRODDOK",
                      "KONTOFK",
                      "DDOUT_DO_ROZLICZENIA",
                      "ID_KORFAK",
                      "KORFAK"};
    const Lista fak = {"fakout_kwota_zapl",
                       "ZBIORCZY",
                       "ID_KASY",
                       "NR_MAG",
                       "RozlNieZalDok",
                       "ID_CENNIKA",
                       "Platnik_id",
                       "GRUPA_PLATNOSCI",
                       "NUMER_DOKUMENTU",
                       "blok",
                       "REMANENT",
                       "ID_POSZLO_DO_ZUZYCIA",
                       "ID_POSZLO_NA_RW",
                       "ID_GRUPAZWROTOW",
                       "Zwroty_na_MZ",
                       "opis",
                       "NRRODDOK",
                       "KONTOFK",
                       "KORFAK"};
    const Lista kza = {"RozlNieZalDok",   "ID_CENNIKA",           "Platnik_id",
                       "REMANENT",        "ID_POSZLO_DO_ZUZYCIA", "ID_POSZLO_NA_RW",
                       "ID_GRUPAZWROTOW", "Zwroty_na_MZ",         "KORFAK"};
    const Lista pw = Bez(dd, {"NUMER_DOKUMENTU"});
    const Lista pro = Bez(dd, {"NUMER_DOKUMENTU", "ID_POSZLO_DO_ZUZYCIA"});
    const Lista podzial = Z(dd, {"ID_PODZIAL", "NUMER_PODZIALU"});
    return {
        {"DOK_FAK", fak},
        {"DOK_FWE", Bez(fak, {"GRUPA_PLATNOSCI"})},
        {"DOK_KFA", kza},
        {"DOK_KZA", kza},
        {"DOK_DD", dd},
        {"DOK_DZ", Bez(dd, {"NUMER_DOKUMENTU", "ID_KORFAK"})},
        {"DOK_DAR", dd},
        {"DOK_MMA", dd},
        {"DOK_MMZ", dd},
        {"DOK_MP", Bez(podzial, {"NUMER_DOKUMENTU"})},
        {"DOK_MPP", podzial},
        {"DOK_MW", podzial},
        {"DOK_PAR", dd},
        {"DOK_PFA", dd},
        {"DOK_PRO", pro},
        {"DOK_PRS", pro},
        {"DOK_PRZ", Bez(dd, {"NUMER_DOKUMENTU", "ID_GRUPAZWROTOW"})},
        {"DOK_PW", pw},
        {"DOK_PZS", pw},
        {"DOK_PZ", Bez(pw, {"KONTOFK"})},
        {"DOK_WZ", Bez(pw, {"KONTOFK"})},
        {"DOK_ZPF", Bez(pw, {"KONTOFK"})},
        {"DOK_RW", Bez(dd, {"DDOUT_DO_ROZLICZENIA"})},
        {"DOK_ZAK",
         {"ZBIORCZY", "ID_KASY", "NR_MAG", "RozlNieZalDok", "ID_CENNIKA", "Platnik_id", "blok",
          "ID_POSZLO_DO_ZUZYCIA", "ID_GRUPAZWROTOW", "Zwroty_na_MZ", "opis", "NRRODDOK"}},
    };
}

}  // namespace

void ClsKonwersje::Konwersja_606() {
    for (const char* flaga : {"KoniecSp", "KoniecZa", "KoniecFi", "KoniecMa", "KoniecPr",
                              "KoniecKa", "KoniecPL", "KoniecKs"})
        Dodaj_Pole("kpir_okresy", std::string("[") + flaga + "] Logical");
    DbWykonajKonwersje(
        "update kpir_okresy set KoniecSp=Koniec,KoniecZa=Koniec,KoniecFi=Koniec,KoniecMa=Koniec,"
        "KoniecPr=Koniec,KoniecKa=Koniec,KoniecPl=Koniec,KoniecKs=Koniec");
    const std::vector<Naglowek> naglowki = Naglowki();
    for (const char* kolumna : kKolumny)
        for (const Naglowek& n : naglowki)
            if (std::find(n.kolumny.begin(), n.kolumny.end(), kolumna) != n.kolumny.end())
                Usun_Pole(n.tabela, kolumna);
    for (const char* kolumna : {"del_fakout_id", "NIE_KSIEGUJ", "WTYMST", "ID_POJ_DOMYSLNY"})
        Usun_Pole("DOK_KFA", kolumna);
    Usun_Pole("DOK_KZA", "del_fakout_id");
    Usun_Pole("DOK_ZAK", "RODZAJ_DOK");
    for (const char* t : {"DOK_WZ", "DOK_PZ", "DOK_ZPF", "DOK_KZA"})
        Dodaj_Pole(t, "[KONTOFK500] Text (80)");
}
