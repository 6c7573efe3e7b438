// Steps 5.55 to 5.57: payroll components of a car mileage allowance and the register of
// car-use agreements, return-group names and posting-scheme fixes, price-list activity
// on the lines, stock quantities of purchase-correction lines, and the place, name and
// parent entry of the fixed assets.
#include <array>
#include <memory>
#include <string>

#include "db/nz.h"
#include "db/otworz.h"
#include "db/schemat.h"
#include "driver/konwersje.h"
#include "jet/text.h"
#include "steps/165_299/wspolne.h"
#include "steps/400_499/wspolne_400.h"

namespace {

// Components 186 to 195: kilometres, rates, lump sums and deductions for absences.
constexpr std::array<kroki::Skladnik_Plac, 10> kSkladniki186 = {{
    {186, "Ilość kilometrów", "Ilość km."},
    {187, "Stawka za 1 km", "Stawka za km"},
    {188, "Ryczałt przyznany", "Ryczałt przyznany"},
    {189, "Potrącenia za urlopy", "Urlopy"},
    {190, "Potrącenia za delegacje", "Delegacje"},
    {191, "Potrącenia za inne nieobecności", "Inne nieobecności"},
    {192, "Razem nieobecnośi", "Razem nieobecności"},
    {193, "Stawka za 1 dzień", "Stawka za 1 dz"},
    {194, "Kwota potrącenia", "Potrącenia"},
    {195, "Ryczałt należny", "Ryczałt należny"},
}};

}  // namespace

void ClsKonwersje::Konwersja_555() {
    for (const kroki::Skladnik_Plac& s : kSkladniki186)
        kroki::Dodaj_Skladnik_Plac(*this, "[place_opisy]", s);
    for (int n = 186; n <= 195; ++n)
        DbWykonajKonwersje("alter table [Place_Listy_zawart] ADD COLUMN [wartosc" +
                           std::to_string(n) + "]  money DEFAULT 0");
    DbWykonajKonwersje(
        "create table [KADRY_UMOWYS] (countt int identity, ID_PRAC int DEFAULT 0, Numer Text "
        "(10), Limit int DEFAULT 0, Termin Text (2), Data SmallDateTime DEFAULT null,dataod "
        "SmallDateTime DEFAULT null, datado SmallDateTime DEFAULT null ,Miejscowosc Text (30), "
        "ImieR Text (30), NazwiskoR Text (30), NumerRej Text (8), Marka Text (30), Pojemnosc int "
        "DEFAULT 0, Pracodawca1 Text (64), Pracodawca2 Text (64), Pracownik Text (64), AdresPrac "
        "Text (64))");
    Utworz_Klucz_Podstawowy("KADRY_UMOWYS", "ID_PRAC,Dataod,countt");
    DbWykonajKonwersje("alter table [PLACE_LISTY] ADD COLUMN [Rycz_sam] money DEFAULT 0");
}

void ClsKonwersje::Konwersja_556() {
    Dodaj_Pole("S_GRUPY_ZWROTOW", "Nazwa_wdr Text (50)");
    DbWykonajKonwersje("update S_GRUPY_ZWROTOW set Nazwa_wdr='Produkcja Procentowa'");
    DbWykonajKonwersje("update KH_SCHEMATY_ZAWART set GrupaAsort='' where GrupaAsort='Wszystkie'");
    DbWykonajKonwersje(
        "update KH_SCHEMATY_ZAWART set Rodz_Aso='PTOSUK' where Rodz_Aso<>'PTOSUK' and "
        "(SYMBOL_SCH='DAR' or SYMBOL_SCH='FIS' or SYMBOL_SCH='KSP' or SYMBOL_SCH='PAR' or "
        "SYMBOL_SCH='SPR')");
}

void ClsKonwersje::Konwersja_557() {
    DbWykonajUPDKonwersje("",
                          "CENNIKI_ZAWART inner join CENNIKI on "
                          "CENNIKI_ZAWART.ID_CENNIKA=CENNIKI.ID_CENNIKA",
                          "CENNIKI_ZAWART.ACTIVE=" +
                              kroki::Kopia_Bez_Nulla("CENNIKI_ZAWART.ACTIVE", "CENNIKI.ACTIVE"),
                          "");
    // The stock quantity of a correction line: the corrected quantity less the original,
    // a quantity not given counting as 0 (a line given neither keeps its own), in stock
    // units where the corrected purchase line gives its conversion factor.
    const std::string roznica =
        "DOK_KZA_ZAWART.Ilosc_Na_Magazyn=(Nz(DOK_KZA_ZAWART.zfkorout_ilosckor,0)-Nz(DOK_KZA_"
        "ZAWART.ZFKOROUT_ILOSC,0))";
    const std::string podane =
        "(DOK_KZA_ZAWART.zfkorout_ilosckor is not null or DOK_KZA_ZAWART.ZFKOROUT_ILOSC is not "
        "null)";
    DbWykonajUPDKonwersje("", "DOK_KZA_ZAWART", roznica, podane);
    // Of two purchase lines of the product at the price, the first (the lowest Countt).
    DbWykonajUPDKonwersje("",
                          "((DOK_KZA INNER JOIN DOK_KZA_ZAWART ON DOK_KZA.FKOROUT_ID = "
                          "DOK_KZA_ZAWART.FKOROUT_ID) INNER JOIN DOK_ZAK_ZAWART ON "
                          "(DOK_KZA.FAKOUT_ID = DOK_ZAK_ZAWART.numer_id) and "
                          "(DOK_KZA_ZAWART.PROD_ID = DOK_ZAK_ZAWART.sur_ID)) " +
                              kroki::Pierwsza_Linia_Zakupu(" AND ZN.Wsp_Przel is not null"),
                          roznica + "*DOK_ZAK_ZAWART.Wsp_Przel",
                          "DOK_KZA_ZAWART.CENA_ORG=DOK_ZAK_ZAWART.CENA_N and " + podane +
                              " and DOK_ZAK_ZAWART.Wsp_Przel is not null and ZN.Countt is null");

    Dodaj_Pole("SRODKI_TRWALE", "Miejsce_U Text (60)");
    std::unique_ptr<ado::Recordset> st;
    // The place goes into the statement between apostrophes, its own ones doubled.
    if (DbOtwórzSELKonwersje(st, "wartosc from setup where Nazwa='MIEJSCE_WYST'") < 1)
        DbWykonajUPDKonwersje("", "SRODKI_TRWALE", "Miejsce_U=''", "");
    else
        DbWykonajUPDKonwersje(
            "", "SRODKI_TRWALE",
            "Miejsce_U='" + kroki::W_Apostrofach(NzStr(st->Fields(0).value())) + "'", "");
    Dodaj_Pole("SRODKI_TRWALE", "Nazwa_St Text (40)");
    Dodaj_Pole("SRODKI_TRWALE_ZAWART", "ID_Oj int DEFAULT 0");
    CzekajKonwersje(2);

    std::unique_ptr<ado::Recordset> el;
    DbOtwórzSELKonwersje(st, "id,Nazwa_St from SRODKI_TRWALE");
    // Each asset takes the name of its first element: the earliest entered, the dearest,
    // and of two alike the one entered first (the lowest id_el).
    DbOtwórzSELKonwersje(
        el, "id,nazwa from SRODKI_TRWALE_ZAWART order by id,data_wpr_e,wartosc desc,id_el");
    ado::Recordset& s = kroki::Rekordy(st);
    int32_t poprzedni = 0;
    for (ado::Recordset& e = kroki::Rekordy(el); !e.Eof(); e.MoveNext()) {
        const jet::Value id = e.Fields("id").value();
        if (id.is_null() || id.to_long() == poprzedni) continue;
        poprzedni = id.to_long();
        s.MoveFirst();
        s.Find("id=" + id.to_text());
        if (s.Eof()) continue;
        // A name longer than the asset's column is cut to it, so that one long entry
        // name does not stop the conversion here on every run.
        std::string nazwa = NzStr(e.Fields("nazwa").value());
        if (jet::text::length(nazwa) > 40) nazwa.resize(jet::text::offset_of_char(nazwa, 40));
        s.Fields("Nazwa_St") =
            e.Fields("nazwa").value().is_null() ? jet::Value::null() : jet::Value::text(nazwa);
        s.UpdateBatch(ado::adAffectCurrent);
    }
    DbWykonajUPDKonwersje("", "SRODKI_TRWALE_ZAWART", "ID_OJ=id_el", "");
    ZamknijRS(el);
    ZamknijRS(st);
}
