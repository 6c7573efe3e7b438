// Steps 6.26 to 6.30, 6.36 and 6.37: renamed user-right codes, book entries of vehicle
// mileage linked to their mileage record, personnel columns, a driver column on document
// and book tables; the balance confirmation letter's wording and two backup tables.
#include <string>

#include "db/setup.h"
#include "db/wykonaj.h"
#include "driver/konwersje.h"

void ClsKonwersje::Konwersja_626() {
    DbWykonaj("Update UZYTKOWNICY_PRAWA set PRAWO='KOMIESIAC' where ucase(PRAWO)='KPMIESIAC'");
    DbWykonaj("Update UZYTKOWNICY_PRAWA set PRAWO='KOROK' where ucase(PRAWO)='KPROK'");
}

void ClsKonwersje::Konwersja_627() {
    // Of two mileage records of one entry, the first (the lowest id_p) names the vehicle; a
    // record without one names none (0).
    DbWykonajUPDKonwersje(
        "",
        "(KPIR_KSIEGA inner JOIN S_POJAZDY_PRZEJ ON KPIR_KSIEGA.kpir_id=S_POJAZDY_PRZEJ.id_kpir) "
        "left JOIN S_POJAZDY_PRZEJ AS PN ON (PN.id_kpir=S_POJAZDY_PRZEJ.id_kpir AND "
        "PN.id_p<S_POJAZDY_PRZEJ.id_p)",
        "id_dok=Nz(S_POJAZDY_PRZEJ.id_poj,0)", "rodzaj=50 and PN.id_p is null");
}

void ClsKonwersje::Konwersja_628() {
    Dodaj_Pole("KADRY_OPCJE", "[Deputat] tinyint DEFAULT 0");
    DbWykonaj("Update KADRY_OPCJE set KADRY_OPCJE.Deputat=1 ");
}

void ClsKonwersje::Konwersja_629() {
    Dodaj_Pole("KADRY_WARUNKI", "[ST_MIN] tinyint DEFAULT 0");
}

void ClsKonwersje::Konwersja_630() {
    for (const char* t : {"DOK_ZAK", "DOK_ZPF", "DOK_PZ", "DOK_WZ", "DOK_KZA", "KH_KSIEGA",
                          "KPIR_KSIEGA", "DOK_INN", "DOK_BO"})
        Dodaj_Pole(t, "[Kierowca_id] int DEFAULT 0");
    Dodaj_Pole("KH_KONTA", "[Znacznik] Text (2)");
}

namespace {

const char* const kSaldo = "Saldo_Potwierdzenie_1";
const char* const kPoczatek =
    " z dnia 29 września 1994 r. (Dz.U. Nr 121 z 1994 r., poz. 591) wzywamy Was do "
    "potwierdzenia w terminie 10 dni na kopii niniejszego potwierdzenia, zgodności następujących "
    "sald figurujących w naszych księgach";
const std::string kTekst216 =
    std::string("Na podstawie umowy o rachunkowości") + kPoczatek + " na dzień 31-10-2000";
const std::string kTekst636 =
    std::string("Na podstawie ustawy o rachunkowości") + kPoczatek + " na dzień ..........";
const std::string kTekst637 = std::string("Na podstawie ustawy o rachunkowości") + kPoczatek + ".";

// The text without its leading and trailing blanks (VB's Trim).
std::string Bez_Spacji(const std::string& s) {
    const size_t a = s.find_first_not_of(' ');
    if (a == std::string::npos) return "";
    return s.substr(a, s.find_last_not_of(' ') - a + 1);
}

}  // namespace

void ClsKonwersje::Konwersja_636() {
    if (Bez_Spacji(Czytaj_Setup(kSaldo)) == kTekst216) Zapisz_Setup(kSaldo, kTekst636);
    const std::string tekst = Czytaj_Setup(kSaldo);
    const std::string umowy = "Na podstawie umowy o rachunkowości";
    // The 34 characters of the old words, compared and replaced as one prefix.
    if (tekst.compare(0, umowy.size(), umowy) == 0)
        Zapisz_Setup(kSaldo, "Na podstawie ustawy o rachunkowości" + tekst.substr(umowy.size()));
}

void ClsKonwersje::Konwersja_637() {
    if (Bez_Spacji(Czytaj_Setup(kSaldo)) == kTekst636) Zapisz_Setup(kSaldo, kTekst637);
    DbWykonaj("Drop table KONTRAHENCI_KOPIA", 1);
    DbWykonaj("Drop table KH_KONTA_KOPIA", 1);
}
