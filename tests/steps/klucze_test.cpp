// The rules of the keys that steps make over rows an older release could hold: the rows at
// a step's entry, the key statements as the steps run them, the rows and the key after.
#include <sqlite3.h>

#include <functional>
#include <utility>

#include "db/awaria_zapisu.h"
#include "db/schemat.h"
#include "steps/baza_kroku.h"

namespace kroki_test {
namespace {

class Klucze : public BazaKroku {
  protected:
    void SetUp() override { Otworz(2.71); }

    // The primary key's columns of a table, joined by ","; "" for none.
    static std::string Klucz(const std::string& tabela) {
        const jet::TableInfo* t = polaczenie().database().catalog().table(tabela);
        const jet::IndexInfo* p = t ? t->primary_key() : nullptr;
        std::string pola;
        for (size_t i = 0; p && i < p->columns.size(); ++i)
            pola += (i ? "," : "") + t->column_by_id(p->columns[i].column_id)->name;
        return pola;
    }
    static void Usun_Tabele() {
        std::vector<std::string> tabele;
        for (const jet::TableInfo* t : polaczenie().database().catalog().tables())
            tabele.push_back(t->name);
        for (const std::string& t : tabele) Sql("drop table [" + t + "]");
    }
};

constexpr const char* kFaktura =
    "create table DOK_FAK_ZAWART (FAKOUT_ID long, PROD_ID long, ZFAKOUT_ILOSC single, "
    "ZFAKOUT_CENA_N money, ZFAKOUT_VAT text(4), Countt counter)";
constexpr const char* kPozycjeFaktury =
    "select FAKOUT_ID, PROD_ID, ZFAKOUT_ILOSC, ZFAKOUT_CENA_N from DOK_FAK_ZAWART order by Countt";

constexpr const char* kDowod =
    "create table DOK_DD_ZAWART (DDOUT_ID long, PROD_ID long, ZDDOUT_ILOSC single, "
    "ZDDOUT_CENA_N money, Countt counter)";
constexpr const char* kPozycjeDowodu =
    "select DDOUT_ID, PROD_ID, ZDDOUT_ILOSC, ZDDOUT_CENA_N from DOK_DD_ZAWART order by Countt";

TEST_F(Klucze, RowsThatTheKeyCannotTakeAreKeptByTheRuleOfTheKey) {
    const auto klucz_dowodow_272 = [] {
        Utworz_Klucz_Podstawowy("DOK_DD_ZAWART", "DDOUT_ID asc,PROD_ID asc", 0);
    };
    const auto klucz_faktur_272 = [] {
        Utworz_Klucze_Z_Zawart("DOK_fak", "FAKOUT_ID asc", "PROD_ID asc");
    };
    const auto krok_283 = [this] { k.Konwersja_283(); };
    const struct {
        const char* nazwa;
        std::vector<std::string> wejscie;  // the tables and rows at the first step's entry
        std::vector<std::pair<int, std::function<void()>>> kroki;  // what each step runs
        const char* zapytanie;
        Wiersze po;
        const char* tabela;  // and its primary key after the steps
        const char* klucz;
        std::string tekst;  // in a Log line, or in the stop's message when konczy
        bool konczy;
    } przypadki[] = {
        {"a product on two lines at two prices: the key over the price takes them at 2.83",
         {kFaktura, "create table DOK_FAK (FAKOUT_ID long)", "insert into DOK_FAK values (1)",
          "create table PRODUKTY (PROD_ID long)", "insert into PRODUKTY values (12)",
          "insert into DOK_FAK_ZAWART (FAKOUT_ID, PROD_ID, ZFAKOUT_ILOSC, ZFAKOUT_CENA_N) "
          "values (1, 12, 33, 0.60)",
          "insert into DOK_FAK_ZAWART (FAKOUT_ID, PROD_ID, ZFAKOUT_ILOSC, ZFAKOUT_CENA_N) "
          "values (1, 12, 5, 0.55)"},
         {{272, klucz_faktur_272}, {283, krok_283}},
         kPozycjeFaktury,
         {{"1", "12", "33", "0,6"}, {"1", "12", "5", "0,55"}},
         "DOK_FAK_ZAWART",
         "FAKOUT_ID,PROD_ID,ZFAKOUT_CENA_N",
         "Konwersja 2.72: DOK_fak_ZAWART (FAKOUT_ID, PROD_ID): klucza nie utworzono; wiersze, "
         "które go powtarzają, przyjmie klucz (FAKOUT_ID,PROD_ID,ZFAKOUT_CENA_N) kroku 2.83: "
         "FAKOUT_ID = 1, PROD_ID = 12 (2)",
         false},
        {"a product on two lines of a goods receipt at two prices: keyed with the price at 4.45",
         {"create table DOK_PZ (DDOUT_ID long)", "insert into DOK_PZ values (1)",
          "create table DOK_PZ_ZAWART (DDOUT_ID long, PROD_ID long, ZDDOUT_ILOSC single, "
          "ZDDOUT_CENA_N money, Countt counter)",
          "insert into DOK_PZ_ZAWART (DDOUT_ID, PROD_ID, ZDDOUT_ILOSC, ZDDOUT_CENA_N) values "
          "(1, 7, 10, 1.20)",
          "insert into DOK_PZ_ZAWART (DDOUT_ID, PROD_ID, ZDDOUT_ILOSC, ZDDOUT_CENA_N) values "
          "(1, 7, 5, 1.40)"},
         {{278, [] { Utworz_Klucze_Z_Zawart("DOK_PZ", "DDOUT_ID asc", "PROD_ID asc"); }},
          {360, [] { Utworz_Klucze_Z_Zawart("DOK_pz", "DDOUT_ID asc", "PROD_ID asc"); }},
          {445,
           [] {
               Utworz_Klucze_Z_Zawart("DOK_PZ", "DDOUT_ID asc", "PROD_ID asc,ZDDOUT_CENA_N asc");
           }}},
         "select ZDDOUT_ILOSC, ZDDOUT_CENA_N from DOK_PZ_ZAWART order by Countt",
         {{"10", "1,2"}, {"5", "1,4"}},
         "DOK_PZ_ZAWART",
         "DDOUT_ID,PROD_ID,ZDDOUT_CENA_N",
         "Konwersja 3.60: DOK_pz_ZAWART (DDOUT_ID, PROD_ID): klucza nie utworzono; wiersze, "
         "które go powtarzają, przyjmie klucz (DDOUT_ID,PROD_ID,ZDDOUT_CENA_N) kroku 4.45",
         false},
        {"two order remarks of one customer for one day: one remark of both texts",
         {"create table ZAMOWIENIA_KOMENTARZE (Data date, konh_id long, TEKST memo, iddd "
          "counter, nr_zamowienia text(20))",
          "insert into ZAMOWIENIA_KOMENTARZE (Data, konh_id, TEKST, nr_zamowienia) values "
          "(#03-05-2003#, 4, 'bez maku', '" +
              std::string(20, '1') + "')",
          "insert into ZAMOWIENIA_KOMENTARZE (Data, konh_id, TEKST, nr_zamowienia) values "
          "(#03-05-2003#, 4, 'dowieźć do 6:00', '" +
              std::string(20, '2') + "')"},
         {{360,
           [] { Utworz_Klucz_Podstawowy("ZAMOWIENIA_KOMENTARZE", "Data asc,konh_id asc", 0); }}},
         "select iddd, konh_id, TEKST, nr_zamowienia from ZAMOWIENIA_KOMENTARZE",
         // the order numbers joined are longer than their column: it is widened, as far
         // as 4.12's column of 50 characters takes them
         {{"1", "4", "bez maku; dowieźć do 6:00",
           std::string(20, '1') + "; " + std::string(20, '2')}},
         "ZAMOWIENIA_KOMENTARZE",
         "Data,konh_id",
         "Konwersja 3.60: ZAMOWIENIA_KOMENTARZE (Data = 2003-03-05, konh_id = 4, iddd = 2): "
         "usunięty, scalony z wierszem iddd = 1",
         false},
        {"two order numbers that joined would not fit 4.12's column: the second in the Log",
         {"create table ZAMOWIENIA_KOMENTARZE (Data date, konh_id long, TEKST memo, iddd "
          "counter, nr_zamowienia text(50))",
          "insert into ZAMOWIENIA_KOMENTARZE (Data, konh_id, TEKST, nr_zamowienia) values "
          "(#03-05-2003#, 4, 'bez maku', '" +
              std::string(32, '1') + "')",
          "insert into ZAMOWIENIA_KOMENTARZE (Data, konh_id, TEKST, nr_zamowienia) values "
          "(#03-05-2003#, 4, 'dowieźć do 6:00', '" +
              std::string(32, '2') + "')"},
         {{360,
           [] { Utworz_Klucz_Podstawowy("ZAMOWIENIA_KOMENTARZE", "Data asc,konh_id asc", 0); }},
          {412,
           [this] {
               std::string tekst = "TEKST1", numer = "nr_zamowienia1";
               k.Zmien_Typ_Pola("TEKST", "Text DEFAULT ''", "ZAMOWIENIA_KOMENTARZE", tekst);
               k.Zmien_Typ_Pola("nr_zamowienia", "Text  (50)", "ZAMOWIENIA_KOMENTARZE", numer);
           }}},
         "select iddd, TEKST1, nr_zamowienia1 from ZAMOWIENIA_KOMENTARZE",
         {{"1", "bez maku; dowieźć do 6:00", std::string(32, '1')}},
         "ZAMOWIENIA_KOMENTARZE",
         "Data,konh_id",
         "nr_zamowienia: \"" + std::string(32, '2') +
             "\" nie mieści się w 50 znakach kolumny kroku 4.12, zostaje tylko w tym wpisie Logu",
         false},
        {"a price list without its date takes 4.51's; a copy under another id is one list",
         {"create table CENNIKI (LCEN_NAZWA_ID text(50), LCEN_DATA date, ID_CENNIKA counter, "
          "ACTIVE logical)",
          "create table CENNIKI_ZAWART (LCEN_NAZWA_ID text(50), PROD_ID long, ID_CENNIKA long)",
          "insert into CENNIKI (LCEN_NAZWA_ID, LCEN_DATA, ID_CENNIKA) values ('A', Null, 1)",
          "insert into CENNIKI (LCEN_NAZWA_ID, LCEN_DATA, ID_CENNIKA) values ('B', #1/1/1990#, 2)",
          "insert into CENNIKI (LCEN_NAZWA_ID, LCEN_DATA, ID_CENNIKA) values ('B', #1/1/1990#, 3)",
          "insert into CENNIKI_ZAWART values ('B', 5, 3)"},
         {{454, [] { Utworz_Klucz_Podstawowy("CENNIKI", "LCEN_NAZWA_ID asc,LCEN_DATA asc", 0); }}},
         "select C.LCEN_NAZWA_ID, C.LCEN_DATA, Z.PROD_ID from CENNIKI C left join CENNIKI_ZAWART "
         "Z on C.ID_CENNIKA = Z.ID_CENNIKA order by C.ID_CENNIKA",
         {{"A", "1990-01-01", "Null"}, {"B", "1990-01-01", "5"}},
         "CENNIKI",
         "LCEN_NAZWA_ID,LCEN_DATA",
         "CENNIKI_ZAWART.ID_CENNIKA 3 -> 2 (wiersze, które go wskazywały: 1)",
         false},
        {"a numbering period stored twice under two ids: one row, its documents re-pointed",
         {"create table SPOSOB_NUMERACJI (sm_id long)", "insert into SPOSOB_NUMERACJI values (5)",
          "create table S_KIEROWCY (kier_id long)",
          "create table SPOSOB_NUMERACJI_ZAWART (id counter, sm_id long, rok long, miesiac long, "
          "kierowca_id long, numer long)",
          "insert into SPOSOB_NUMERACJI_ZAWART (sm_id, rok, miesiac, kierowca_id, numer) values "
          "(5, 2001, 3, 0, 17)",
          "insert into SPOSOB_NUMERACJI_ZAWART (sm_id, rok, miesiac, kierowca_id, numer) values "
          "(5, 2001, 3, 0, 17)",
          "create table DOK_FAK (FAKOUT_ID long, smz_id long)", "insert into DOK_FAK values (1, 2)",
          "insert into DOK_FAK values (2, 1)"},
         {{279,
           [] {
               Utworz_Klucz_Podstawowy("SPOSOB_NUMERACJI_ZAWART",
                                       "sm_id asc,rok asc,miesiac asc,kierowca_id asc", 0);
           }}},
         "select smz_id from DOK_FAK order by FAKOUT_ID",
         {{"1"}, {"1"}},
         "SPOSOB_NUMERACJI_ZAWART",
         "sm_id,rok,miesiac,kierowca_id",
         "DOK_FAK.smz_id 2 -> 1 (wiersze, które go wskazywały: 1)",
         false},
        {"two costs of one type on one day: one cost of their sum and both names",
         {"create table PRODUKTY_KOSZTY (KOSZT_ID counter, NAZWA text(255), KWOTA money, TYP "
          "long, POBRANE logical, data date)",
          "insert into PRODUKTY_KOSZTY (NAZWA, KWOTA, TYP, data) values ('Energia elektryczna "
          "piec', 1250.40, 1, #3/31/2005#)",
          "insert into PRODUKTY_KOSZTY (NAZWA, KWOTA, TYP, data) values ('Gaz piec obrotowy', "
          "830.15, 1, #3/31/2005#)"},
         {{542,
           [] {
               Utworz_Klucz_Podstawowy("PRODUKTY_KOSZTY", "KOSZT_ID", 0);
               Utworz_Index_Unikalny("Td", "PRODUKTY_KOSZTY", "TYP,data", 0);
           }}},
         "select KOSZT_ID, NAZWA, KWOTA from PRODUKTY_KOSZTY",
         {{"1", "Energia elektryczna piec; Gaz piec obrotowy", "2080,55"}},
         "PRODUKTY_KOSZTY",
         "KOSZT_ID",
         "(TYP = 1, data = 2005-03-31, KOSZT_ID = 2): usunięty, scalony z wierszem KOSZT_ID = 1; "
         "KWOTA 830,15",
         false},
        {"a line without its product names none; one product at one price is one line",
         {kFaktura,
          "insert into DOK_FAK_ZAWART (FAKOUT_ID, PROD_ID, ZFAKOUT_ILOSC, ZFAKOUT_CENA_N) "
          "values (2, Null, 1, 2.5)",
          "insert into DOK_FAK_ZAWART (FAKOUT_ID, PROD_ID, ZFAKOUT_ILOSC, ZFAKOUT_CENA_N) "
          "values (2, 0, 2, 2.5)"},
         {{283, krok_283}},
         kPozycjeFaktury,
         {{"2", "0", "3", "2,5"}},
         "DOK_FAK_ZAWART",
         "FAKOUT_ID,PROD_ID,ZFAKOUT_CENA_N",
         "(FAKOUT_ID = 2, PROD_ID = Null, ZFAKOUT_CENA_N = 2,5, Countt = 1): PROD_ID Null -> 0 "
         "(nie wskazuje żadnego wiersza)",
         false},
        {"a product on two delivery-note lines at two prices: one line that keeps the value",
         {kDowod,
          "insert into DOK_DD_ZAWART (DDOUT_ID, PROD_ID, ZDDOUT_ILOSC, ZDDOUT_CENA_N) values (1, "
          "7, 10, 1.2)",
          "insert into DOK_DD_ZAWART (DDOUT_ID, PROD_ID, ZDDOUT_ILOSC, ZDDOUT_CENA_N) values (1, "
          "7, 5, 1.5)"},
         {{272, klucz_dowodow_272}},
         kPozycjeDowodu,
         {{"1", "7", "15", "1,3"}},
         "DOK_DD_ZAWART",
         "DDOUT_ID,PROD_ID",
         "(DDOUT_ID = 1, PROD_ID = 7, Countt = 1): pierwszy według Countt, przejmuje wiersze "
         "Countt = 2; ZDDOUT_CENA_N 1,2 -> 1,3 (wartość 19,5); ZDDOUT_ILOSC 10 -> 15",
         false},
        {"a copy of a product under another id: not one product, the copy takes a new number",
         {"create table PRODUKTY (prod_id counter, prod_numer_id long, prod_on logical)",
          "insert into PRODUKTY (prod_numer_id, prod_on) values (8, -1)",
          "insert into PRODUKTY (prod_numer_id, prod_on) values (8, -1)",
          "insert into PRODUKTY (prod_numer_id, prod_on) values (5, -1)"},
         {{360,
           [] {
               Utworz_Klucz_Podstawowy("PRODUKTY", "PROD_ID asc", 0);
               Utworz_Index_Unikalny("prod_numer_id", "Produkty", "prod_numer_id asc", 0);
           }}},
         "select prod_id, prod_numer_id from PRODUKTY order by prod_id",
         {{"1", "8"}, {"2", "9"}, {"3", "5"}},
         "PRODUKTY",
         "prod_id",
         "Konwersja 3.60: Produkty (prod_numer_id = 8, prod_id = 2): prod_numer_id 8 -> 9",
         false},
        {"stock of one product in two warehouses: one row of both, the first's warehouse",
         {"create table STANY_MAGAZYNOWE (prod_id long, ilosc single, NR_MAG long, Countt "
          "counter)",
          "insert into STANY_MAGAZYNOWE (prod_id, ilosc, NR_MAG) values (1, 5, 1)",
          "insert into STANY_MAGAZYNOWE (prod_id, ilosc, NR_MAG) values (1, 3, 2)"},
         {{360,
           [] {
               Utworz_Klucz_Podstawowy("STANY_MAGAZYNOWE", "prod_id asc,NR_MAG asc", 0);
               Utworz_Index_Unikalny("Podstawowy", "STANY_MAGAZYNOWE", "prod_id asc", 0);
           }}},
         "select prod_id, ilosc, NR_MAG from STANY_MAGAZYNOWE",
         {{"1", "8", "1"}},
         "STANY_MAGAZYNOWE",
         "",
         "(prod_id = 1, Countt = 2): usunięty, scalony z wierszem Countt = 1; ilosc 3, NR_MAG 2",
         false},
        {"a settlement line of no document names none; twice, one line of both amounts",
         {"create table DOK_FIN_ZAWART (kp_id long, rodzaj_dok text(20), dok_id long, kwota "
          "money, Countt counter)",
          "insert into DOK_FIN_ZAWART (kp_id, rodzaj_dok, dok_id, kwota) values (1, 'F', Null, "
          "10)",
          "insert into DOK_FIN_ZAWART (kp_id, rodzaj_dok, dok_id, kwota) values (1, 'F', 0, 5)"},
         {{360,
           [] {
               Utworz_Klucz_Podstawowy("DOK_fin_ZAWART", "kp_id asc,rodzaj_dok asc,dok_id asc", 0);
           }}},
         "select kp_id, rodzaj_dok, dok_id, kwota from DOK_FIN_ZAWART",
         {{"1", "F", "0", "15"}},
         "DOK_FIN_ZAWART",
         "kp_id,rodzaj_dok,dok_id",
         "dok_id = Null, Countt = 1): dok_id Null -> 0 (nie wskazuje żadnego wiersza)",
         false},
        {"two settlement lines of one counter are two lines: the later takes a new number",
         {"create table DOK_FIN_ZAWART (kp_id long, kwota money, COUNTT counter)",
          "insert into DOK_FIN_ZAWART (kp_id, kwota) values (1, 10)",
          "insert into DOK_FIN_ZAWART (kp_id, kwota, COUNTT) values (2, 20, 1)",
          "insert into DOK_FIN_ZAWART (kp_id, kwota) values (3, 30)"},
         {{462, [] { Utworz_Index_Unikalny("COUNTT", "DOK_FIN_ZAWART", "COUNTT", 0); }}},
         "select kp_id, kwota, COUNTT from DOK_FIN_ZAWART order by kp_id",
         {{"1", "10", "1"}, {"2", "20", "3"}, {"3", "30", "2"}},
         "DOK_FIN_ZAWART",
         "",
         "DOK_FIN_ZAWART (COUNTT = 1, wiersz 2. w kolejności zapisu): COUNTT 1 -> 3 (nowy numer); "
         "1 zachowuje wiersz 1. w kolejności zapisu",
         false},
        {"a posting scheme twice for one year, once without its year: one scheme of year 0",
         {"create table KH_SCHEMATY (COUNTT counter, SYMBOL_SCH text(3), NAZWA_SCH text(40), "
          "ROK int)",
          "insert into KH_SCHEMATY (SYMBOL_SCH, NAZWA_SCH, ROK) values ('KB', 'Kasy', Null)",
          "insert into KH_SCHEMATY (SYMBOL_SCH, NAZWA_SCH, ROK) values ('KB', 'Banki', 0)"},
         {{458, [] { Utworz_Klucz_Podstawowy("KH_Schematy", "SYMBOL_SCH,rok", 0); }}},
         "select SYMBOL_SCH, NAZWA_SCH, ROK from KH_SCHEMATY",
         {{"KB", "Kasy; Banki", "0"}},
         "KH_SCHEMATY",
         "SYMBOL_SCH,ROK",
         "ROK Null -> 0",
         false},
        {"an account twice for one year and number, whole: both left to 5.58, which merges them",
         {"create table KH_KONTA (COUNTT counter, ROK int, NR_K_1 text(3), NR_K_2 text(6), "
          "NR_K_3 text(6), NR_K_4 text(6), WN_01 money)",
          "insert into KH_KONTA (ROK, NR_K_1, NR_K_2, NR_K_3, NR_K_4, WN_01) values (2004, "
          "'201', '', '', '', 10)",
          "insert into KH_KONTA (ROK, NR_K_1, NR_K_2, NR_K_3, NR_K_4, WN_01) values (2004, "
          "'201', '', '', '', 10)"},
         {{459, [] { Utworz_Klucz_Podstawowy("KH_KONTA", "rok,NR_K_1,NR_K_2,NR_K_3,NR_K_4", 0); }}},
         "select COUNTT, WN_01 from KH_KONTA order by COUNTT",
         {{"1", "10"}, {"2", "10"}},
         "KH_KONTA",
         "",
         "przyjmie klucz (ROK,NR_K_1,NR_K_2,NR_K_3,NR_K_4) kroku 5.58",
         false},
        {"one product at one price at two VAT rates: no rule keeps both, the step stops",
         {kFaktura,
          "insert into DOK_FAK_ZAWART (FAKOUT_ID, PROD_ID, ZFAKOUT_ILOSC, ZFAKOUT_CENA_N, "
          "ZFAKOUT_VAT) values (3, 12, 1, 0.6, '22')",
          "insert into DOK_FAK_ZAWART (FAKOUT_ID, PROD_ID, ZFAKOUT_ILOSC, ZFAKOUT_CENA_N, "
          "ZFAKOUT_VAT) values (3, 12, 1, 0.6, '7')"},
         {{283, krok_283}},
         kPozycjeFaktury,
         {{"3", "12", "1", "0,6"}, {"3", "12", "1", "0,6"}},
         "DOK_FAK_ZAWART",
         "",
         "Wiersze: FAKOUT_ID = 3, PROD_ID = 12, ZFAKOUT_CENA_N = 0,6 (2 wiersze). Klucza nie "
         "utworzono (wiersze o tym samym kluczu różnią się w kolumnach, których reguła klucza "
         "nie sumuje ani nie łączy). Konwersję zatrzymano; baza zostaje w ostatniej ukończonej "
         "wersji. Naprawa w jetsql --suite: UPDATE [DOK_FAK_ZAWART] SET [ZFAKOUT_VAT] = '22' "
         "WHERE [FAKOUT_ID] = 3 AND [PROD_ID] = 12 AND [ZFAKOUT_CENA_N] = 0.6",
         true},
        {"two book entries of one counter that postings name: the mend names the second alone",
         {"create table KH_KSIEGA (kpir_id counter, opis text(50))",
          "create table KH_DEKRETY (Countt counter, kpir_id long)",
          "insert into KH_KSIEGA (kpir_id, opis) values (801, 'a')",
          "insert into KH_KSIEGA (kpir_id, opis) values (801, 'b')",
          "insert into KH_DEKRETY (kpir_id) values (801)"},
         {{458, [] { Utworz_Klucz_Podstawowy("KH_ksiega", "kpir_id", 0); }}},
         "select kpir_id, opis from KH_KSIEGA order by opis",
         {{"801", "a"}, {"801", "b"}},
         "KH_KSIEGA",
         "",
         "wskazują go wiersze KH_DEKRETY.kpir_id = 801 (1): po naprawie wskazują wiersz, który "
         "zachowa 801, a te, które dotyczą drugiego, użytkownik przepina na jego nową wartość). "
         "Konwersję zatrzymano; baza zostaje w ostatniej ukończonej wersji. Naprawa w jetsql "
         "--suite: UPDATE [KH_ksiega] SET [kpir_id] = WARTOŚĆ WHERE [kpir_id] = 801 AND [opis] = "
         "'b'",
         true},
        {"two absences without their date: the step stops, its mend naming the first alone",
         {"create table KADRY_PRACOWNICY (id long)", "insert into KADRY_PRACOWNICY values (1)",
          "create table KADRY_NIEOBECNOSCI (ID_prac long, ID_Nieob long, Dataod date, Countt "
          "counter)",
          "insert into KADRY_NIEOBECNOSCI (ID_prac, ID_Nieob) values (1, 2)",
          "insert into KADRY_NIEOBECNOSCI (ID_prac, ID_Nieob) values (1, 3)"},
         {{272,
           [] {
               Utworz_Klucz_Podstawowy("KADRY_NIEOBECNOSCI", "ID_prac asc,ID_Nieob asc,Dataod asc",
                                       0);
           }}},
         "select ID_Nieob from KADRY_NIEOBECNOSCI order by Countt",
         {{"2"}, {"3"}},
         "KADRY_NIEOBECNOSCI",
         "",
         "Naprawa w jetsql --suite: UPDATE [KADRY_NIEOBECNOSCI] SET [Dataod] = WARTOŚĆ WHERE "
         "[Dataod] IS NULL AND [Countt] = 1",
         true},
        {"lines at two prices whose quantities sum to 0: no price keeps the value, the step stops",
         {kDowod,
          "insert into DOK_DD_ZAWART (DDOUT_ID, PROD_ID, ZDDOUT_ILOSC, ZDDOUT_CENA_N) values (1, "
          "7, 10, 1.2)",
          "insert into DOK_DD_ZAWART (DDOUT_ID, PROD_ID, ZDDOUT_ILOSC, ZDDOUT_CENA_N) values (1, "
          "7, 5, 1.5)",
          "insert into DOK_DD_ZAWART (DDOUT_ID, PROD_ID, ZDDOUT_ILOSC, ZDDOUT_CENA_N) values (2, "
          "7, 10, 1.2)",
          "insert into DOK_DD_ZAWART (DDOUT_ID, PROD_ID, ZDDOUT_ILOSC, ZDDOUT_CENA_N) values (2, "
          "7, -10, 1.5)"},
         {{272, klucz_dowodow_272}},
         kPozycjeDowodu,
         {{"1", "7", "10", "1,2"},
          {"1", "7", "5", "1,5"},
          {"2", "7", "10", "1,2"},
          {"2", "7", "-10", "1,5"}},
         "DOK_DD_ZAWART",
         "",
         "(DDOUT_ID = 2, PROD_ID = 7, Countt = 3; DDOUT_ID = 2, PROD_ID = 7, Countt = 4) w "
         "różnych cenach ZDDOUT_CENA_N mają razem ilość 0). Konwersję zatrzymano; baza zostaje w "
         "ostatniej ukończonej wersji. Naprawa w jetsql --suite: UPDATE [DOK_DD_ZAWART] SET "
         "[ZDDOUT_CENA_N] = 1.2 WHERE [DDOUT_ID] = 2 AND [PROD_ID] = 7",
         true},
        {"two price lists without a name: each gets a name that no list holds",
         {"create table CENNIKI (LCEN_NAZWA_ID text(20), opis text(50), id counter)",
          "insert into CENNIKI (LCEN_NAZWA_ID, opis) values ('N1', 'a')",
          "insert into CENNIKI (opis) values ('b')", "insert into CENNIKI (opis) values ('c')"},
         {{272, [] { Utworz_Klucz_Podstawowy("CENNIKI", "LCEN_NAZWA_ID asc", 0); }}},
         "select LCEN_NAZWA_ID, opis from CENNIKI order by id",
         {{"N1", "a"}, {"N2", "b"}, {"N3", "c"}},
         "CENNIKI",
         "LCEN_NAZWA_ID",
         "Konwersja 2.72: CENNIKI (LCEN_NAZWA_ID = Null, id = 3): LCEN_NAZWA_ID Null -> \"N3\" "
         "(nowa nazwa)",
         false},
        {"a line of no list beside two prices of one product: the stop names the two",
         {"create table CENNIKI_ZAWART (LCEN_NAZWA_ID text(20), PROD_ID long, CEN_NETTO money, "
          "id counter)",
          "insert into CENNIKI_ZAWART (LCEN_NAZWA_ID, PROD_ID, CEN_NETTO) values ('A', 1, 1)",
          "insert into CENNIKI_ZAWART (LCEN_NAZWA_ID, PROD_ID, CEN_NETTO) values ('A', 1, 2)",
          "insert into CENNIKI_ZAWART (CEN_NETTO) values (3)"},
         {{272,
           [] { Utworz_Klucz_Podstawowy("CENNIKI_ZAWART", "LCEN_NAZWA_ID asc,PROD_ID asc", 0); }}},
         "select CEN_NETTO from CENNIKI_ZAWART order by id",
         {{"1"}, {"2"}, {"3"}},
         "CENNIKI_ZAWART",
         "",
         "Wiersze: LCEN_NAZWA_ID = 'A', PROD_ID = 1 (2 wiersze). Klucza nie utworzono (wiersze o "
         "tym samym kluczu różnią się w kolumnach, których reguła klucza nie sumuje ani nie "
         "łączy). Konwersję zatrzymano; baza zostaje w ostatniej ukończonej wersji. Naprawa w "
         "jetsql --suite: DELETE FROM [CENNIKI_ZAWART] WHERE [LCEN_NAZWA_ID] = 'A' AND [PROD_ID] "
         "= 1 AND [CEN_NETTO] = 2",
         true},
        {"a line of no document, product nor price beside a line of none: one line of both",
         {"create table DOK_PRZ_ZAWART (ddout_id long, PROD_ID long, ZDDOUT_ILOSC single, "
          "ZDDOUT_CENA_N money, ZDDOUT_VAT text(4), id_kpir long, Countt counter)",
          "insert into DOK_PRZ_ZAWART (ddout_id, PROD_ID, ZDDOUT_ILOSC, ZDDOUT_CENA_N, "
          "ZDDOUT_VAT, id_kpir) values (0, 0, 2, 0, '', 0)",
          "insert into DOK_PRZ_ZAWART (ZDDOUT_ILOSC) values (3)"},
         {{502,
           [] { Utworz_Klucz_Podstawowy("DOK_PRZ_ZAWART", "ddout_id,PROD_ID,ZDDOUT_CENA_N", 0); }}},
         "select ddout_id, PROD_ID, ZDDOUT_ILOSC, ZDDOUT_VAT, id_kpir from DOK_PRZ_ZAWART",
         {{"0", "0", "5", "", "0"}},
         "DOK_PRZ_ZAWART",
         "ddout_id,PROD_ID,ZDDOUT_CENA_N",
         "Konwersja 5.02: DOK_PRZ_ZAWART (ddout_id = Null, PROD_ID = Null, ZDDOUT_CENA_N = Null, "
         "Countt = 2): usunięty, scalony z wierszem Countt = 1; ZDDOUT_ILOSC 3",
         false},
    };
    for (const auto& p : przypadki) {
        SCOPED_TRACE(p.nazwa);
        Usun_Tabele();
        for (const std::string& s : p.wejscie) Sql(s);
        std::string wynik;
        for (const auto& [v, krok] : p.kroki) {
            Krok_Konwersji = v;
            wynik = Uruchom(krok);
            Krok_Konwersji = 0;
            if (!wynik.empty()) break;
        }
        EXPECT_EQ(wynik.empty(), !p.konczy) << wynik;
        if (p.konczy) DbOtwórz();
        EXPECT_EQ(Wiersze_Z(p.zapytanie), p.po);
        EXPECT_EQ(Klucz(p.tabela), p.klucz);
        EXPECT_EQ(
            p.konczy ? wynik.find(p.tekst) != std::string::npos : Linie_Logu(p.tekst).size() == 1,
            true)
            << wynik;
    }
}

// A read of a rule that fails (an I/O error, a file busy or locked) stops the step as a failed
// write does: the rows stay as they were, without the key, and the Log names nothing.
TEST_F(Klucze, AReadOfARuleThatFailsStopsTheStep) {
    for (const jet::Error& awaria : {Blad_Sqlite(SQLITE_IOERR_READ), Blad_Sqlite(SQLITE_BUSY),
                                     jet::make_error(jet::Fault::FileLocked)}) {
        for (const char* odczyt : {"FROM [PRODUKTY]", "FROM [DOK_DD_ZAWART]"}) {
            SCOPED_TRACE(awaria.description() + " " + odczyt);
            Usun_Tabele();
            for (const char* s :
                 {kDowod, "create table PRODUKTY (PROD_ID long)", "insert into PRODUKTY values (7)",
                  "create table DOK_DD (DDOUT_ID long)", "insert into DOK_DD values (1)",
                  "insert into DOK_DD_ZAWART (DDOUT_ID, PROD_ID, ZDDOUT_ILOSC, ZDDOUT_CENA_N) "
                  "values (1, 7, 10, 1.2)",
                  "insert into DOK_DD_ZAWART (DDOUT_ID, PROD_ID, ZDDOUT_ILOSC, ZDDOUT_CENA_N) "
                  "values (1, 7, 5, 1.2)"})
                Sql(s);
            std::string wynik;
            {
                const Awaria_Odczytu a(awaria, odczyt);
                Krok_Konwersji = 272;
                wynik = Uruchom([] {
                    Utworz_Klucz_Podstawowy("DOK_DD_ZAWART", "DDOUT_ID asc,PROD_ID asc", 0);
                });
                Krok_Konwersji = 0;
            }
            EXPECT_NE(wynik.find(awaria.description()), std::string::npos) << wynik;
            DbOtwórz();
            EXPECT_EQ(Wiersze_Z(kPozycjeDowodu),
                      (Wiersze{{"1", "7", "10", "1,2"}, {"1", "7", "5", "1,2"}}));
            EXPECT_EQ(Klucz("DOK_DD_ZAWART"), "");
            EXPECT_TRUE(Linie_Logu("Konwersja 2.72: DOK_DD_ZAWART").empty());
        }
    }
}

}  // namespace
}  // namespace kroki_test
