// Steps 5.42 to 5.47: recipe columns, cost and account columns dropped from products and
// document lines, keys and indexes of many tables, purchase documents marked as posted,
// the ledger's posting schemes keyed without their year, delivery-note amounts of
// corrections cleared, pack and weight figures moved onto the recipes, and the fixed
// assets split into a header table and its lines.
#include <algorithm>
#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "db/nz.h"
#include "db/otworz.h"
#include "db/schemat.h"
#include "db/wykonaj.h"
#include "driver/konwersje.h"
#include "jet/text.h"
#include "steps/165_299/wspolne.h"
#include "steps/400_499/wspolne_400.h"

namespace {

// The cost columns that leave the line tables of internal documents, in order.
constexpr std::array<const char*, 7> kKolumnyKosztow = {
    "kosztpojazdu_Z", "OdliczVAT_Z",           "Id_Poj", "Koszt_RiR_Z", "koszt_uz_Z",
    "koszt_sz_Z",     "Vat_Termin_Platnosci_Z"};

// A table's primary key columns and the indexes named after their single column.
struct Klucz_I_Indeksy {
    const char* tabela;
    const char* klucz;
    std::array<const char*, 6> indeksy;
};
constexpr std::array<Klucz_I_Indeksy, 14> kKlucze542 = {{
    {"KALENDARZ", "ID_KAL,Data", {"ID_KAL", "Data", "Typ", "Godziny"}},
    {"SETUP_STANOWISKO", "Nazwa,STAN", {"Nazwa", "STAN", "Wartosc"}},
    {"USUNIETO",
     "cOUNTT",
     {"nr_dokumentu", "id_dokumentu", "id_kontrahenta", "data_dokumentu", "kto_usunol",
      "inwentaryzacja"}},
    {"KADRY_ADRESY", "ID_PRAC,Dataod", {}},
    {"KADRY_BADANIA", "ID_PRAC,Data", {}},
    {"KADRY_NADGODZINY", "ID_PRAC,Data", {}},
    {"KADRY_NIEOBECNOSCI", "ID_PRAC,Dataod", {}},
    {"KADRY_SZKOLENIA", "ID_PRAC,Data,countt", {}},
    {"KADRY_UMOWY", "ID_PRAC,Dataod,countt", {}},
    {"KADRY_UMOWYC", "ID_PRAC,Dataod,countt", {}},
    {"KADRY_WARUNKI", "ID_PRAC,Dataod,id_umowy", {}},
    {"KH_BILANS_ZAWART", "ID", {"IDB", "IDK"}},
    {"KH_F01_ZAWART", "ID", {"IDB", "IDK"}},
    {"KH_RACHUNEK_ZAWART", "ID", {"IDB", "IDK"}},
}};

void Klucz_I_Indeksy_Tabeli(const Klucz_I_Indeksy& k) {
    Utworz_Klucz_Podstawowy(k.tabela, k.klucz);
    for (const char* kol : k.indeksy)
        if (kol) Utworz_Index(kol, k.tabela, kol);
}

// A header marked as posted where one of its lines is: its join, the header's and the
// line's posting ids, and what follows the condition.
struct Zaksiegowane_Pozycje {
    const char* zlaczenie;
    const char* naglowek;
    const char* pozycja;
    const char* koniec;
};
constexpr std::array<Zaksiegowane_Pozycje, 4> kZaksiegowane = {{
    {"dok_zak inner join     dok_zak_zawart on dok_zak.numer_id=dok_zak_zawart.numer_id",
     "dok_zak.id_kpir", "dok_zak_zawart.id_kpir", " "},
    {"DOK_KZA inner join     DOK_KZA_zawart on DOK_KZA.FKOROUT_ID=DOK_KZA_zawart.FKOROUT_ID",
     "DOK_KZA.id_kpir", "DOK_KZA_zawart.id_kpir", ""},
    {"DOK_wz inner join     DOK_wz_zawart on DOK_wz.DDOUT_ID=DOK_wz_zawart.DDOUT_ID",
     "DOK_wz.id_kpir", "DOK_wz_zawart.id_kpir", ""},
    {"DOK_pz inner join     DOK_pz_zawart on DOK_pz.DDOUT_ID=DOK_pz_zawart.DDOUT_ID",
     "DOK_pz.id_kpir", "DOK_pz_zawart.id_kpir", ""},
}};

constexpr std::array<const char*, 3> kKolumnyReceptury = {"PROD_WAGA", "PROD_WYDAJNOSCzREC",
                                                          "Szt_w_opak"};

}  // namespace

void ClsKonwersje::Konwersja_542() {
    Dodaj_Pole("PRODUKTY_RECEPTURY", "Okruchy Single DEFAULT 0 DEFAULT =0");
    DbWykonajKonwersje("UPDATE PRODUKTY_RECEPTURY set Okruchy=0");
    Dodaj_Pole("PRODUKTY_RECEPTURY", "Wydajnosc Single DEFAULT 0 DEFAULT =1");
    DbWykonajKonwersje("UPDATE PRODUKTY_RECEPTURY set Wydajnosc=1");

    Usun_Pole("PRODUKTY", "Vat_Termin_Platnosci");
    Usun_Pole("DOK_ZAK_ZAWART", "Vat_Termin_Platnosci_Z");
    Usun_Pole("DOK_KZA_ZAWART", "Vat_Termin_Platnosci_Z");
    for (const char* kol : kKolumnyKosztow) Usun_Pole("DOK_KFA_ZAWART", kol);
    Usun_Pole("DOK_KFA_ZAWART", "KontoFK");
    for (const char* t : {"DOK_MMA_ZAWART", "DOK_MMZ_ZAWART", "DOK_MP_ZAWART", "DOK_MW_ZAWART",
                          "DOK_MPP_ZAWART", "DOK_PRZ_ZAWART"}) {
        for (const char* kol : kKolumnyKosztow) {
            const bool pierwsza_mw =
                std::string(t) == "DOK_MW_ZAWART" && std::string(kol) == "kosztpojazdu_Z";
            Usun_Pole(pierwsza_mw ? "DOK_Mw_ZAWART" : t, kol);
        }
    }

    DbWykonajKonwersje(
        "DELETE * FROM DRUKARKI WHERE TRIM(Port)='' OR Emulacja='Bez emulacji' OR "
        "Podajnik='Nie zdefiniowany' OR StronaKodowa='Nie zdefiniowana' OR PORT='DOT4_001' OR "
        "PORT='DOT4_002' OR PORT='Ekran'");
    DbWykonajKonwersje("DROP TABLE HELP");

    Klucz_I_Indeksy_Tabeli(kKlucze542[0]);
    Utworz_Klucz_Podstawowy("PRODUKTY_KOSZTY", "KOSZT_ID");
    Utworz_Index_Unikalny("Td", "PRODUKTY_KOSZTY", "TYP,data");
    for (const char* kol : {"TYP", "data", "NAZWA"}) Utworz_Index(kol, "PRODUKTY_KOSZTY", kol);
    Klucz_I_Indeksy_Tabeli(kKlucze542[1]);
    Dodaj_Pole("USUNIETO", "cOUNTT int identity");
    for (size_t i = 2; i < kKlucze542.size(); ++i) Klucz_I_Indeksy_Tabeli(kKlucze542[i]);

    for (const Zaksiegowane_Pozycje& z : kZaksiegowane)
        DbWykonajUPD("", z.zlaczenie, std::string(z.naglowek) + "=-1",
                     kroki::Zaksiegowany_Przez_Pozycje(z.naglowek, {{z.pozycja}}) + z.koniec);
}

void ClsKonwersje::Konwersja_543() {
    Usun_Index("Podstawowy", "KH_SCHEMATY");
    Usun_Pole("KH_SCHEMATY", "ROK");
    Utworz_Klucz_Podstawowy("KH_SCHEMATY", "SYMBOL_SCH");
    Usun_Pole("KH_SCHEMATY_ZAWART", "ROK");
    Usun_Index("Podstawowy", "S_KONTA_POLACZONE");
    Usun_Pole("S_KONTA_POLACZONE", "ROK");
    Utworz_Klucz_Podstawowy("S_KONTA_POLACZONE",
                            "NR_K_1,NR_K_2,NR_K_3,NR_K_4,NR_P_1,NR_P_2,NR_P_3,NR_P_4");
}

void ClsKonwersje::Konwersja_544() {
    std::unique_ptr<ado::Recordset> kfa;
    std::unique_ptr<ado::Recordset> suma;
    DbOtwórzSELKonwersje(kfa, "fkorout_id,wart_dd from dok_kfa where wart_dd<>0");
    {
        for (ado::Recordset& r = kroki::Rekordy(kfa); !r.Eof(); r.MoveNext()) {
            // A correction that no delivery note refers to carries no delivery amount; one
            // without an id names nothing that a note could refer to, and stays as it is.
            if (r.Fields("fkorout_id").value().is_null()) continue;
            if (DbOtwórzSELKonwersje(suma, "sum(wart_kp) from dok_dz where Id_KorFak=" +
                                               r.Fields("fkorout_id").value().to_text()) >= 1 &&
                NzCur(suma->Fields(0).value()).scaled == 0) {
                r.Fields("wart_dd") = jet::Value::long_(0);
                r.UpdateBatch(ado::adAffectCurrent);
            }
            ZamknijRS(suma);
        }
    }
    ZamknijRS(kfa);
    ZamknijRS(suma);
    DbWykonajKonwersje("alter table PRODUKTY_RECEPTURY ADD COLUMN [Szt_w_opak] Single DEFAULT 0");
    DbWykonajKonwersje("alter table PRODUKTY_RECEPTURY ADD COLUMN [Waga] Single DEFAULT 1");
    // The products' recipe columns go once the recipes hold their values; a value that a
    // product does not give leaves the recipe's own (the yield of 1 that 5.42 gave it).
    const Przeniesione_Wartosci receptury{
        .zrodlo = "PRODUKTY",
        .cel = "PRODUKTY_RECEPTURY",
        .zlaczenie =
            "PRODUKTY_RECEPTURY INNER JOIN PRODUKTY ON "
            "PRODUKTY_RECEPTURY.PROD_ID=PRODUKTY.PROD_ID",
        .alias = "P2",
        .powiazanie = "P2.PROD_ID=PRODUKTY_RECEPTURY.PROD_ID",
        .klucz = "PROD_ID",
        .pola = {{"PRODUKTY_RECEPTURY.Szt_w_opak", "Szt_w_opak"},
                 {"PRODUKTY_RECEPTURY.WAGA", "PROD_WAGA"},
                 {"PRODUKTY_RECEPTURY.WYDAJNOSC", "PROD_WYDAJNOSCzREC"}},
        .zostawia_cel = true};
    DbWykonajKonwersje(
        "UPDATE " + receptury.zlaczenie +
            " SET "
            "PRODUKTY_RECEPTURY.Szt_w_opak=Nz(PRODUKTY.Szt_w_opak,PRODUKTY_RECEPTURY.Szt_w_opak),"
            "PRODUKTY_RECEPTURY.WAGA=Nz(PRODUKTY.PROD_WAGA,PRODUKTY_RECEPTURY.WAGA),"
            "PRODUKTY_RECEPTURY.WYDAJNOSC=Nz(PRODUKTY.PROD_WYDAJNOSCzREC,PRODUKTY_RECEPTURY."
            "WYDAJNOSC)",
        Wartosci_Z_Wczesniejszego_Przebiegu(receptury));
    for (const char* kol : kKolumnyReceptury) Usun_Pole("PRODUKTY", kol);
    for (const char* kol : kKolumnyReceptury) Utworz_Index(kol, "PRODUKTY_RECEPTURY", kol);
}

void ClsKonwersje::Konwersja_545() {
    Usun_Pole("kh_dekrety", "STATUs");
    Usun_Pole("kh_dekrety", "kontoBAK");
    Dodaj_Pole("kh_bazy", "Archiwum Logical");
}

void ClsKonwersje::Konwersja_546() {
    Usun_Index("UnicNumer", "Dok_zak");
    Utworz_Index_Unikalny("UnicNumer", "Dok_zak", "numer_zaksiegowania,RodzDok",
                          Powtorzona_Wartosc("Dok_zak", "numer_zaksiegowania,RodzDok"));
    Usun_Index("DONumeru", "Dok_zak");
    Utworz_Index_Unikalny("DONumeru", "Dok_zak", "data_zaksiegowania,num_ndok,numer_id,RodzDok");
    for (const char* kol : kKolumnyReceptury) Utworz_Index(kol, "PRODUKTY_RECEPTURY", kol);
}

void ClsKonwersje::Konwersja_547() {
    // The header table is a copy of the asset rows. While they still carry the header
    // columns (SYMBOL goes first) and their ID as it was (its change not begun), a header
    // table found here is what a stopped run left and gives way to a fresh copy; once they
    // do not, it was copied from the rows as they were, holds the only record of those
    // columns and of the autonumber, and stays. The columns leave the asset rows only when
    // the copy holds them.
    static constexpr char kTypId[] = "int DEFAULT 0";
    const std::optional<std::vector<Pole_Tabeli>> pola = Pola_Tabeli("SRODKI_TRWALE_ZAWART");
    const bool id_zmienione =
        pola && std::ranges::any_of(*pola, [](const Pole_Tabeli& p) {
            return jet::text::same_name(p.nazwa, "ID") && Jak_Po_Zmianie_Typu(p, kTypId);
        });
    const bool w_toku = Jest_Kolumna_Tymczasowa("SRODKI_TRWALE_ZAWART");
    if (!id_zmienione && !w_toku && Jest_Tabela("SRODKI_TRWALE_ZAWART", "SYMBOL"))
        Usun_Pozostala_Kopie("SRODKI_TRWALE_ZAWART", "SRODKI_TRWALE");
    // A change of ID that a stopped run left under way ends first: the header table, copied
    // before it began, then finds each row's id among the asset rows.
    const auto zmien_id = [this] { Zmien_Typ_Pola("ID", kTypId, "SRODKI_TRWALE_ZAWART"); };
    if (w_toku) zmien_id();
    DbWykonajKonwersje(
        "SELECT * INTO SRODKI_TRWALE FROM SRODKI_TRWALE_ZAWART",
        Tabela_Z_Wczesniejszego_Przebiegu("SRODKI_TRWALE", "* FROM SRODKI_TRWALE_ZAWART", "ID"));
    Usun_Index("Podstawowy", "SRODKI_TRWALE_ZAWART");
    // Made again, the change would move ID to the end once more, behind id_el, which the
    // step adds after it.
    if (!w_toku && !Jest_Tabela("SRODKI_TRWALE_ZAWART", "id_el")) zmien_id();
    Sprawdz_Kopie("SRODKI_TRWALE_ZAWART", "SRODKI_TRWALE");
    for (const char* kol : {"SYMBOL", "data_n", "data_zdj_e", "umorzenie", "wprowadz", "sp_amort",
                            "stawka_amort", "ksiega_id", "KWOTA_DO_AMORT", "KWOTA_ZAMORT",
                            "ILOSC_AMORT", "Wyposazenie", "WSPOLCZYNNIK", "KONTOFK"})
        Usun_Pole("SRODKI_TRWALE_ZAWART", kol);
    for (const char* kol : {"numer", "id_prod", "id_dok", "nazwa", "Z_LISTY", "Rodzaj",
                            "CalyAsortyment", "Prod_Countt"})
        Usun_Pole("SRODKI_TRWALE", kol);
    CzekajKonwersje(1);
    Dodaj_Pole("SRODKI_TRWALE_ZAWART", "id_el int identity");
    Utworz_Klucz_Podstawowy("SRODKI_TRWALE", "id asc");
}
