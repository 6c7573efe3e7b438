// Step 5.34: the general ledger's report definitions as tables of fixed positions: the
// balance sheet, the profit and loss account in both variants and the statistical
// report F-01, each with its line table; whatever the definitions held before is
// replaced, so the step leaves the same definitions on every database.
#include <string>

#include "db/schemat.h"
#include "driver/konwersje.h"

namespace {

struct Pozycja_Bilansu {
    int id;
    const char* nazwa;
    char typ;
    char wydr;
    int p[4];
    char k;
};

struct Pozycja_Rachunku {
    int id;
    const char* nazwa;
    char typ;
    int p1;
    char k;
};

struct Pozycja_F01 {
    int id;
    const char* nazwa;
};

// The balance sheet: id, name, side, print attribute, ancestors p1 to p4, flag K.
constexpr Pozycja_Bilansu kBilans[] = {
    {1, "A. KAPITAŁ(FUNDUSZ) WŁASNY", 'P', 'S', {0, 0, 0, 0}, '0'},
    {2, " I.Kapitał(fundusz) podstawowy.", 'P', 'S', {1, 0, 0, 0}, '1'},
    {3, " II.Należne wpłaty na kapitał podstawowy (wartość ujemna).", 'P', 'S', {1, 0, 0, 0}, '1'},
    {4, " III.Udziały(akcje) własne (wielkość ujemna)", 'P', 'S', {1, 0, 0, 0}, '1'},
    {5, " IV.Kapitał(fundusz) zapasowy.", 'P', 'S', {1, 0, 0, 0}, '1'},
    {6, " V.Kapitał(fundusz) z aktualizacji wyceny.", 'P', 'S', {1, 0, 0, 0}, '1'},
    {7, " VI.Pozostałe kapitały(fundusze) rezerwowe.", 'P', 'S', {1, 0, 0, 0}, '1'},
    {8, " VII.Zysk(strata) z lat ubiegłych.", 'P', 'S', {1, 0, 0, 0}, '1'},
    {9, " VIII.Zysk(strata) netto.", 'P', 'S', {1, 0, 0, 0}, '1'},
    {10,
     " IX.Odpisy z zysku netto w ciągu roku obrotowego (wielkość ujemna).",
     'P',
     'S',
     {1, 0, 0, 0},
     '1'},
    {11, "B.ZOBOWIĄZANIA I REZERWY NA ZOBOWIĄZANIA", 'P', 'S', {0, 0, 0, 0}, '0'},
    {12, " I.Rezerwy na zobowiązania.", 'P', 'S', {11, 0, 0, 0}, '0'},
    {13, "   1.Rezerwa z tytułu odroczonego podatku dochodowego", 'P', 'P', {11, 12, 0, 0}, '0'},
    {14, "   2.Rezerwa na świadczenia emerytalne i podobne.", 'P', 'P', {11, 12, 0, 0}, '0'},
    {15, "     - długoterminowa", 'P', 'P', {11, 12, 14, 0}, '1'},
    {16, "     - krótkoterminowa", 'P', 'P', {11, 12, 14, 0}, '1'},
    {17, "   3.Pozostałe rezerwy.", 'P', 'P', {11, 12, 0, 0}, '0'},
    {18, "     - długoterminowe", 'P', 'P', {11, 12, 17, 0}, '1'},
    {19, "     - krótkoterminowe", 'P', 'S', {11, 12, 17, 0}, '1'},
    {20, " II.Zobowiązania długoterminowe", 'P', 'S', {11, 0, 0, 0}, '0'},
    {21, "    1.Wobec jednostek powiązanych", 'P', 'P', {11, 20, 0, 0}, '1'},
    {22, "    2.Wobec pozostałych jednostek", 'P', 'P', {11, 20, 0, 0}, '0'},
    {23, "      a) kredyty i pożyczki", 'P', 'P', {11, 20, 22, 0}, '1'},
    {24,
     "      b) z tytułu emisji dłużnych papierów wartościowych",
     'P',
     'P',
     {11, 20, 22, 0},
     '1'},
    {25, "      c) inne zobowiązania finansowe", 'P', 'P', {11, 20, 22, 0}, '1'},
    {26, "      d) inne", 'P', 'S', {11, 20, 22, 0}, '1'},
    {27, " III.Zobowiązania krótkoterminowe.", 'P', 'S', {11, 0, 0, 0}, '0'},
    {28, "    1.Wobec jednostek powiązanych", 'P', 'P', {11, 27, 0, 0}, '0'},
    {29,
     "      a) z tytułu dostaw i usług, o okresie wymagalności:",
     'P',
     'P',
     {11, 27, 28, 0},
     '0'},
    {30, "        - do 12 miesięcy", 'P', 'P', {11, 27, 28, 29}, '1'},
    {31, "        - powyżej 12 miesięcy", 'P', 'P', {11, 27, 28, 29}, '1'},
    {32, "      b) inne", 'P', 'P', {11, 27, 28, 0}, '1'},
    {33, "    2.Wobec pozostałych jednostek", 'P', 'P', {11, 27, 0, 0}, '0'},
    {34, "      a) kredyty i pożyczki", 'P', 'P', {11, 27, 33, 0}, '1'},
    {35,
     "      b) z tytułu emisji dłużnych papierów wartościowych",
     'P',
     'P',
     {11, 27, 33, 0},
     '1'},
    {36, "      c) inne zobowiązania finansowe", 'P', 'P', {11, 27, 33, 0}, '1'},
    {37,
     "      d) z tytułu dostaw i usług, o okresie wymagalności:",
     'P',
     'S',
     {11, 27, 33, 0},
     '0'},
    {38, "        - do 12 miesięcy", 'P', 'P', {11, 27, 33, 37}, '1'},
    {39, "        - powyżej 12 miesięcy", 'P', 'P', {11, 27, 33, 37}, '1'},
    {40, "      e) zaliczki otrzymane na dostawy", 'P', 'P', {11, 27, 33, 0}, '1'},
    {41, "      f) zobowiązania wekslowe", 'P', 'P', {11, 27, 33, 0}, '1'},
    {42,
     "      g) z tytułu podatków, ceł, ubezpieczeń i innych świadczeń",
     'P',
     'P',
     {11, 27, 33, 0},
     '1'},
    {43, "      h) z tytułu wynagrodzeń", 'P', 'P', {11, 27, 33, 0}, '1'},
    {44, "      i) inne", 'P', 'P', {11, 27, 33, 0}, '1'},
    {45, "    3.Fundusze specjalne", 'P', 'S', {11, 27, 0, 0}, '1'},
    {46, " IV.Rozliczenia międzyokresowe", 'P', 'P', {11, 0, 0, 0}, '0'},
    {47, "    1.Ujemna wartość firmy", 'P', 'P', {11, 46, 0, 0}, '1'},
    {48, "    2.Inne rozliczenia międzyokresowe", 'P', 'P', {11, 46, 0, 0}, '0'},
    {49, "      - długoterminowe", 'P', 'P', {11, 46, 48, 0}, '1'},
    {50, "      - krótkoterminowe", 'P', 'P', {11, 46, 48, 0}, '1'},
    {51, "A. AKTYWA TRWAŁE", 'A', 'S', {0, 0, 0, 0}, '0'},
    {52, " I.Wartości niematerialne i prawne.", 'A', 'S', {51, 0, 0, 0}, '0'},
    {53, "   1.Koszty zakończonych prac rozwojowych", 'A', 'P', {51, 52, 0, 0}, '1'},
    {54, "   2.Wartość firmy", 'A', 'P', {51, 52, 0, 0}, '1'},
    {55, "   3.Inne wartości niematerialne i prawne", 'A', 'P', {51, 52, 0, 0}, '1'},
    {56, "   4.Zaliczki na wartości niematerialne i prawne. ", 'A', 'P', {51, 52, 0, 0}, '1'},
    {57, " II.Rzeczowe aktywa trwałe", 'A', 'S', {51, 0, 0, 0}, '0'},
    {58, "   1.Środki trwałe", 'A', 'S', {51, 57, 0, 0}, '0'},
    {59,
     "     a) grunty (w tym prawo użytkowania wieczystego gruntu)",
     'A',
     'P',
     {51, 57, 58, 0},
     '1'},
    {60,
     "     b) budynki, lokale i obiekty inżynierii lądowej i wodnej",
     'A',
     'P',
     {51, 57, 58, 0},
     '1'},
    {61, "     c) urządzenia techniczne i maszyny.", 'A', 'P', {51, 57, 58, 0}, '1'},
    {62, "     d) środki transportu.", 'A', 'P', {51, 57, 58, 0}, '1'},
    {63, "     e) inne środki trwałe.", 'A', 'P', {51, 57, 58, 0}, '1'},
    {64, "   2.Środki trwałe w budowie", 'A', 'P', {51, 57, 0, 0}, '1'},
    {65, "   3.Zaliczki na środki trwałe w budowie", 'A', 'P', {51, 57, 0, 0}, '1'},
    {66, " III.Należności długoterminowe", 'A', 'S', {51, 0, 0, 0}, '0'},
    {67, "   1.Od jednostek powiązanych", 'A', 'P', {51, 66, 0, 0}, '1'},
    {68, "   2.Od pozostałych jednostek", 'A', 'P', {51, 66, 0, 0}, '1'},
    {69, " IV.Inwestycje długoterminowe", 'A', 'S', {51, 0, 0, 0}, '0'},
    {70, "   1.Nieruchomości", 'A', 'P', {51, 69, 0, 0}, '1'},
    {71, "   2.Wartości niematerialne i prawne", 'A', 'P', {51, 69, 0, 0}, '1'},
    {72, "   3.Długoterminowe aktywa finansowe", 'A', 'P', {51, 69, 0, 0}, '0'},
    {73, "     a) w jednostkach powiązanych", 'A', 'P', {51, 69, 72, 0}, '0'},
    {74, "       - udziały lub akcje", 'A', 'P', {51, 69, 72, 73}, '1'},
    {75, "       - inne papiery wartościowe", 'A', 'P', {51, 69, 72, 73}, '1'},
    {76, "       - udzielone pożyczki", 'A', 'P', {51, 69, 72, 73}, '1'},
    {77, "       - inne długoterminowe aktywa finansowe", 'A', 'P', {51, 69, 72, 73}, '1'},
    {78, "     b) w pozostałych jednostkach", 'A', 'P', {51, 69, 72, 0}, '0'},
    {79, "       - udziały lub akcje", 'A', 'S', {51, 69, 72, 78}, '1'},
    {80, "       - inne papiery wartościowe", 'A', 'P', {51, 69, 72, 78}, '1'},
    {81, "       - udzielone pożyczki", 'A', 'P', {51, 69, 72, 78}, '1'},
    {82, "       - inne długoterminowe aktywa finansowe", 'A', 'P', {51, 69, 72, 78}, '1'},
    {83, "    4.Inne inwestycje długoterminowe", 'A', 'P', {51, 69, 0, 0}, '1'},
    {84, " V.Długoterminowe rozliczenia międzyokresowe", 'A', 'S', {51, 0, 0, 0}, '0'},
    {85, "   1.Aktywa z tytułu odroczonego podatku dochodowego", 'A', 'S', {51, 84, 0, 0}, '1'},
    {86, "   2.Inne rozliczenia międzyokresowe", 'A', 'P', {51, 84, 0, 0}, '1'},
    {87, "B.AKTYWA OBROTOWE", 'A', 'P', {0, 0, 0, 0}, '0'},
    {88, " I.Zapasy", 'A', 'S', {87, 0, 0, 0}, '0'},
    {89, "   1.Materiały", 'A', 'P', {87, 88, 0, 0}, '1'},
    {90, "   2.Półprodukty i produkty w toku", 'A', 'P', {87, 88, 0, 0}, '1'},
    {91, "   3.Produkty gotowe", 'A', 'P', {87, 88, 0, 0}, '1'},
    {92, "   4.Towary", 'A', 'P', {87, 88, 0, 0}, '1'},
    {93, "   5.Zaliczki na dostawy", 'A', 'P', {87, 88, 0, 0}, '1'},
    {94, " II.Należności krótkoterminowe", 'A', 'S', {87, 0, 0, 0}, '0'},
    {95, "    1.Należności od jednostek powiązanych", 'A', 'P', {87, 94, 0, 0}, '0'},
    {96, "      a) z tytułu dostaw i usług, o okresie spłaty:", 'A', 'P', {87, 94, 95, 0}, '0'},
    {97, "        - do 12 miesięcy", 'A', 'P', {87, 94, 95, 96}, '1'},
    {98, "        - powyżej 12 miesięcy", 'A', 'P', {87, 94, 95, 96}, '1'},
    {99, "      b) inne", 'A', 'S', {87, 94, 95, 0}, '1'},
    {100, "    2.Należności od pozostałych jednostek", 'A', 'P', {87, 94, 0, 0}, '0'},
    {101, "     a) z tytułu dostaw i usług, o okresie spłaty:", 'A', 'P', {87, 94, 100, 0}, '0'},
    {102, "       - do 12 miesięcy", 'A', 'P', {87, 94, 100, 101}, '1'},
    {103, "       - powyżej 12 miesięcy", 'A', 'P', {87, 94, 100, 101}, '1'},
    {104,
     "     b) z tytułu podatków, dotacji, ceł, ubezpieczeń społecznych i zdrowotnych oraz innych "
     "świadczeń",
     'A',
     'P',
     {87, 94, 100, 0},
     '1'},
    {105, "     c) inne", 'A', 'P', {87, 94, 100, 0}, '1'},
    {106, "     d) dochodzone na drodze sądowej", 'A', 'P', {87, 94, 100, 0}, '1'},
    {107, " III.Inwestycje krótkoterminowe", 'A', 'S', {87, 0, 0, 0}, '0'},
    {108, "     1.Krótkoterminowe aktywa finansowe", 'A', 'P', {87, 107, 0, 0}, '0'},
    {109, "       a) w jednostkach powiązanych", 'A', 'P', {87, 107, 108, 0}, '0'},
    {110, "         - udziały lub akcje", 'A', 'P', {87, 107, 108, 109}, '1'},
    {111, "         - inne papiery wartościowe", 'A', 'P', {87, 107, 108, 109}, '1'},
    {112, "         - udzielone pożyczki", 'A', 'P', {87, 107, 108, 109}, '1'},
    {113, "         - inne krótkoterminowe aktywa finansowe", 'A', 'P', {87, 107, 108, 109}, '1'},
    {114, "       b) w pozostałych jednostkach", 'A', 'P', {87, 107, 108, 0}, '0'},
    {115, "         - udziały lub akcje", 'A', 'P', {87, 107, 108, 114}, '1'},
    {116, "         - inne papiery wartościowe", 'A', 'P', {87, 107, 108, 114}, '1'},
    {117, "         - udzielone pożyczki", 'A', 'P', {87, 107, 108, 114}, '1'},
    {118, "         - inne krótkoterminowe aktywa finansowe", 'A', 'P', {87, 107, 108, 114}, '1'},
    {119, "       c) środki pieniężne i inne aktywa pieniężne", 'A', 'P', {87, 107, 108, 0}, '0'},
    {120,
     "         - środki pieniężne w kasie i na rachunkach",
     'A',
     'P',
     {87, 107, 108, 119},
     '1'},
    {121, "         - inne środki pieniężne", 'A', 'P', {87, 107, 108, 119}, '1'},
    {122, "         - inne aktywa pieniężne", 'A', 'P', {87, 107, 108, 119}, '1'},
    {123, "     2.Inne inwestycje krótkoterminowe", 'A', 'P', {87, 107, 0, 0}, '1'},
    {124, " IV.Krótkoterminowe rozliczenia międzyokresowe", 'A', 'S', {87, 0, 0, 0}, '1'},
};

// The profit and loss account: id, name, variant, parent p1, flag K.
constexpr Pozycja_Rachunku kRachunek[] = {
    {1, "A. Przychody netto ze sprzedaży produktów, towarów i materiałów", 'K', 0, '0'},
    {2, " - w tym od jednostek powiązanych", 'K', 0, '1'},
    {3, " I. Przychody netto ze sprzedaży produktów", 'K', 1, '1'},
    {4, " II. Przychody netto ze sprzedaży towarów i materiałów", 'K', 1, '1'},
    {5, "B. Koszty sprzedanych produktów, towarów i materiałów", 'K', 0, '0'},
    {6, " - w tym jednostkom powiązanym", 'K', 0, '1'},
    {7, " I. Koszt wytworzenia sprzedanych produktów", 'K', 5, '1'},
    {8, " II. Wartość sprzedanych towarów i materiałów", 'K', 5, '1'},
    {9, "C. Zysk(strata) brutto ze sprzedaży (A-B)", 'K', 0, '1'},
    {10, "D. Koszty sprzedaży", 'K', 0, '1'},
    {11, "E. Koszty ogólnego zarządu", 'K', 0, '1'},
    {12, "F. Zysk(strata) ze sprzedaży (C-D-E)", 'K', 0, '1'},
    {13, "G. Pozostałe przychody operacyjne", 'K', 0, '0'},
    {14, " I. Zysk ze zbycia niefinansowych aktywów trwałych", 'K', 13, '1'},
    {15, " II. Dotacje", 'K', 13, '1'},
    {16, " III. Inne przychody operacyjne", 'K', 13, '1'},
    {17, "H. Pozostałe koszty operacyjne", 'K', 0, '0'},
    {18, " I. Strata ze zbycia niefinansowych aktywów trwałych", 'K', 17, '1'},
    {19, " II. Aktualizacja wartości aktywów niefinansowych", 'K', 17, '1'},
    {20, " III. Inne koszty operacyjne", 'K', 17, '1'},
    {21, "I. Zysk(strata) z działalności operacyjnej (F+G-H)", 'K', 0, '1'},
    {22, "J. Przychody finansowe", 'K', 0, '0'},
    {23, " I. Dywidendy i udziały w zyskach", 'K', 22, '1'},
    {24, "   - w tym od jednostek powiązanych", 'K', 0, '1'},
    {25, " II. Odsetki", 'K', 22, '1'},
    {26, "   - w tym od jednostek powiązanych", 'K', 0, '1'},
    {27, " III. Zysk ze zbycia inwestycji", 'K', 22, '1'},
    {28, " IV. Aktualizacja wartości inwestycji", 'K', 22, '1'},
    {29, " V. Inne", 'K', 22, '1'},
    {30, "K. Koszty finansowe", 'K', 0, '0'},
    {31, " I. Odsetki", 'K', 30, '1'},
    {32, "   - w tym dla jednostek powiązanych", 'K', 0, '1'},
    {33, " II. Strata ze zbycia inwestycji", 'K', 30, '1'},
    {34, " III. Aktualizacja wartości inwestycji", 'K', 30, '1'},
    {35, " IV. Inne", 'K', 30, '1'},
    {36, "L. Zysk(strata) z działalności gospodarczej (I+J-K)", 'K', 0, '1'},
    {37, "M. Wynik zdarzeń nadzwyczajnych (M.I-M.II)", 'K', 0, '1'},
    {38, " I. Zyski nadzwyczajne", 'K', 37, '1'},
    {39, " II. Straty nadzwyczajne", 'K', 37, '1'},
    {40, "N. Zysk(strata) brutto (L+-M)", 'K', 0, '1'},
    {41, "O. Podatek dochodowy", 'K', 0, '1'},
    {42, "P. Pozostałe obowiązkowe zmniejszenia zysku(zwiększenia straty)", 'K', 0, '1'},
    {43, "R. Zysk(strata) netto (N-O-P)", 'K', 0, '1'},
    {44, "A. Przychody netto ze sprzedaży i zrównane z nimi", 'P', 0, '0'},
    {45, " - w tym od jednostek powiązanych", 'P', 0, '1'},
    {46, " I. Przychody netto ze sprzedaży produktów", 'P', 44, '1'},
    {47, " II. Zmiana stanu produktów (zwiększenie-wart.dodatnia, zmniejszenie-wart.ujemna)", 'P',
     0, '1'},
    {48, " III. Koszt wytworzenia produktów na własne potrzeby jednostki", 'P', 44, '1'},
    {49, " IV. Przychody netto ze sprzedaży towarów i materiałów", 'P', 44, '1'},
    {50, "B. Koszty działalności operacyjnej", 'P', 0, '0'},
    {51, " I. Amortyzacja", 'P', 50, '1'},
    {52, " II. Zużycie materiałów i energii", 'P', 50, '1'},
    {53, " III. Usługi obce", 'P', 50, '1'},
    {54, " IV. Podatki i opłaty", 'P', 50, '1'},
    {55, "  - w tym podatek akcyzowy", 'P', 0, '1'},
    {56, " V. Wynagrodzenia", 'P', 50, '1'},
    {57, " VI. Ubezpieczenia społeczne i inne świadczenia", 'P', 50, '1'},
    {58, " VII. Pozostałe koszty rodzajowe", 'P', 50, '1'},
    {59, " VIII. Wartość sprzedanych towarów i materiałów", 'P', 50, '1'},
    {60, "C. Zysk(strata) ze sprzedaży (A-B)", 'P', 0, '1'},
    {61, "D. Pozostałe przychody operacyjne", 'P', 0, '0'},
    {62, " I. Zysk ze zbycia niefinansowych aktywów trwałych", 'P', 61, '1'},
    {63, " II. Dotacje", 'P', 61, '1'},
    {64, " III. Inne przychody operacyjne", 'P', 61, '1'},
    {65, "E. Pozostałe koszty operacyjne", 'P', 0, '0'},
    {66, " I. Strata ze zbycia niefinansowych aktywów trwałych", 'P', 65, '1'},
    {67, " II. Aktualizacja wartości aktywów niefinansowych", 'P', 65, '1'},
    {68, " III. Inne koszty operacyjne", 'P', 65, '1'},
    {69, "F. Zysk(strata) z działalności operacyjnej (C+D-E)", 'P', 0, '1'},
    {70, "G. Przychody finansowe", 'P', 0, '0'},
    {71, " I. Dywidendy i udziały w zyskach", 'P', 70, '1'},
    {72, "   - w tym od jednostek powiązanych", 'P', 0, '1'},
    {73, " II. Odsetki", 'P', 70, '1'},
    {74, "   - w tym od jednostek powiązanych", 'P', 0, '1'},
    {75, " III. Zysk ze zbycia inwestycji", 'P', 70, '1'},
    {76, " IV. Aktualizacja wartości inwestycji", 'P', 70, '1'},
    {77, " V. Inne", 'P', 70, '1'},
    {78, "H. Koszty finansowe", 'P', 0, '0'},
    {79, " I. Odsetki", 'P', 78, '1'},
    {80, "   - w tym dla jednostek powiązanych", 'P', 0, '1'},
    {81, " II. Strata ze zbycia inwestycji", 'P', 78, '1'},
    {82, " III. Aktualizacja wartości inwestycji", 'P', 78, '1'},
    {83, " IV. Inne", 'P', 78, '1'},
    {84, "I. Zysk(strata) z działalności gospodarczej (F+G-H)", 'P', 0, '1'},
    {85, "J. Wynik zdarzeń nadzwyczajnych (J.I-J.II)", 'P', 0, '1'},
    {86, " I. Zyski nadzwyczajne", 'P', 0, '1'},
    {87, " II. Straty nadzwyczajne", 'P', 0, '1'},
    {88, "K. Zysk(strata) brutto (I+-J)", 'P', 0, '1'},
    {89, "L. Podatek dochodowy", 'P', 0, '1'},
    {90, "M. Pozostałe obowiązkowe zmniejszenia zysku(zwiększenia straty)", 'P', 0, '1'},
    {91, "N. Zysk(strata) netto (K-L-M)", 'P', 0, '1'},
};

// The statistical report F-01: id and name (part, section and row number follow from
// the id).
constexpr Pozycja_F01 kF01[] = {
    {1, "A. Przychody netto ze sprzedaży i zrównane z nimi(w.02+04+05+06)"},
    {2, "   Przychody netto ze sprzedaży produktów"},
    {3, "     w tym sprzedaż na eksport"},
    {4, "   Zmiana stanu produktów (zwiększenie-wart.dodatnia, zmniejszenie-wart.ujemna)"},
    {5, "   Koszt wytworzenia produktów na własne potrzeby jednostki"},
    {6, "   Przychody netto ze sprzedaży towarów i materiałów"},
    {7, "     w tym sprzedaż na eksport"},
    {8, "B. Koszty działalności operacyjnej(w.09+10+12+14+16+18+20+22)"},
    {9, "   Amortyzacja"},
    {10, "  Zużycie materiałów i energii"},
    {11, "    w tym energii"},
    {12, "  Usługi obce"},
    {13, "    w tym zakupione w celu odsprzedaży(podwykonawstwo)"},
    {14, "  Podatki i opłaty"},
    {15, "    w tym podatek akcyzowy"},
    {16, "  Wynagrodzenia"},
    {17, "    w tym ze stosunku pracy"},
    {18, "  Ubezpieczenia społeczne i inne świadczenia"},
    {19, "    w tym składki z tytułu ubezpieczeń społecznych"},
    {20, "  Pozostałe koszty rodzajowe"},
    {21, "    w tym podróże służbowe"},
    {22, "  Wartość sprzedanych towarów i materiałów"},
    {23, "C1. Zysk ze sprzedaży (w.01-08)>0"},
    {24, "C2. Strata ze sprzedaży (w.01-08)<0"},
    {25, "D. Pozostałe przychody operacyjne(w.26+27+29)"},
    {26, "     Zysk ze zbycia niefinansowych aktywów trwałych"},
    {27, "     Dotacje"},
    {28, "       w tym dotacje do wyrobów i usług"},
    {29, "     Inne przychody operacyjne"},
    {30, "E. Pozostałe koszty operacyjne(w.31+32+33)"},
    {31, "   Strata ze zbycia niefinansowych aktywów trwałych"},
    {32, "   Aktualizacja wartości aktywów niefinansowych"},
    {33, "   Inne koszty operacyjne"},
    {34, "F1. Zysk na działalności operacyjnej (w.01-08+25-30)>0"},
    {35, "F2. Strata na działalności operacyjnej (w.01-08+25-30)<0"},
    {36, "G. Przychody finansowe (w.01-08+25-30)"},
    {37, "     Dywidendy i udziały w zyskach"},
    {38, "     Odsetki"},
    {39, "     Zysk ze zbycia inwestycji"},
    {40, "     Aktualizacja wartości inwestycji"},
    {41, "     Inne"},
    {42, "H. Koszty finansowe(w.43+44+45+46)"},
    {43, "     Odsetki"},
    {44, "     Strata ze zbycia inwestycji"},
    {45, "     Aktualizacja wartości inwestycji"},
    {46, "     Inne"},
    {47, "I1. Zysk na działalności gospodarczej (w.01-08+25-30+36-42)>0"},
    {48, "I2. Strata na działalności gospodarczej (w.01-08+25-30+36-42)<0"},
    {49, "J1  Zyski nadzwyczajne"},
    {50, "J2  Straty nadzwyczajne"},
    {51, "K1. Zysk brutto (w.01-08+25-30+36-42+49-50)>0"},
    {52, "K2. Strata brutto (w.01-08+25-30+36-42+49-50)>0"},
    {53, "L. Podatek dochodowy"},
    {54, "     część bieżąca"},
    {55, "     część odroczona"},
    {56, "M. Pozostałe obowiązkowe zmniejszenie zysku(zwiększenie straty)"},
    {57, "N1. Zysk netto (w.01-08+25-30+36-42+49-50-53-56)>0"},
    {58, "N2. Strata netto (w.01-08+25-30+36-42+49-50-53-56)<0"},
    {59, "Przychody ze sprzedaży traktowane jako eksport, opodatkowanie stawką VAT 0%"},
    {60, "Przychody ze sprzedaży opodatkowane stawką VAT 22%"},
    {61, "Przychody ze sprzedaży opodatkowane stawką VAT 7%"},
    {62,
     "Przychody ze sprzedaży opodatkowane innymi stawkami, w tym sprzedaż w kraju ze stawką VAT "
     "0%"},
    {63, "Przychody ze sprzedaży zwolnione od podatku VAT"},
    {64, "Wartość zakupów z importu ogółem (zgodna z dokumentami SAD)"},
    {65, "  import surowców, materiałów i półfabrykatów na cele produkcyjne"},
    {66, "  import towarów przeznaczonych do dalszej odsprzedaży "},
    {67, "Z wiersza 08 dz.1 przypada na składki z tytułu ubezpieczeń majątkowych i osobowych"},
    {68, "Przeciętne zatrudnienie w osobach"},
    {69, "Liczba pracujących w osobach"},
    {70, "Zapasy ogółem"},
    {71, "  materiały"},
    {72, "  półprodukty i produkty w toku"},
    {73, "  produkty gotowe"},
    {74, "  towary"},
    {75, "Należności krótkoterminowe (w.07+09)"},
    {76, "  należności od jednostek powiązanych"},
    {77, "    w tym z tytułu dostaw i usług (bez względu na okres wymagalności zapłaty)"},
    {78, "  należności od pozostałych jednostek "},
    {79, "    w tym z tytułu dostaw i usług (bez względu na okres wymagalności zapłaty)"},
    {80, "    w tym z tytułu podatków, dotacji, ceł, ubezpieczeń społecznych i innych świadczeń"},
    {81, "Inwestycje krótkoterminowe"},
    {82, "  w tym krótkoterminowe aktywa finansowe"},
    {83, "    z tego w jednostkach powiązanych"},
    {84, "    z tego w pozostałych jednostkach"},
    {85, "    z tego środki pieniężne i inne aktywa pieniężne"},
    {86, "Krótkoterminowe rozliczenia międzyokresowe"},
    {87, "Aktywa obrotowe(w.01+06+12+17)"},
    {88, "Aktywa trwałe"},
    {89, "Zobowiązania i rezerwy na zobowiązania(w.02+04+09+17)"},
    {90, "Rezerwy na zobowiązania"},
    {91, "  w tym z tytułu odroczonego podatku dochodowego"},
    {92, "Zobowiązania długoterminowe(w.05+06)"},
    {93, "  wobec jednostek powiązanych"},
    {94, "  wobec pozostałych jednostek"},
    {95, "    w tym z tytułu kredytów i pożyczek"},
    {96, "    w tym z tytułu emisji dłużnych papierów wartościowych"},
    {97, "Zobowiązania krótkoterminowe(w.10+12)"},
    {98, "  wobec jednostek powiązanych"},
    {99, "    w tym z tytułu dostaw i usług (bez względu na okres wymagalności zapłaty)"},
    {100, "  wobec pozostałych jednostek"},
    {101, "    w tym kredyty i pożyczki"},
    {102, "    w tym z tytułu emisji dłużnych papierów wartościowych"},
    {103, "    w tym z tytułu dostaw i usług (bez względu na okres wymagalności zapłaty)"},
    {104, "    w tym z tytułu podatków, ceł, ubezpieczeń i innych świadczeń"},
    {105, "Rozliczenia międzyokresowe"},
    {106, "Podatek VAT należny ogółem"},
    {107, "Podatek VAT naliczony do odliczenia"},
    {108, "Kwota podatku VAT podlegającego wpłacie do budżetu"},
    {109, "Kwota podatku VAT do zwrotu"},
    {110, "Podatek akcyzowy ogółem"},
    {111, "  w tym od wyrobów krajowych producentów"},
    {112, "  w tym od towarów sprowadzonych z zagranicy"},
    {113, "Ogółem nakłady(w.02+04+07+08+09+11+12)"},
    {114, "  grunty(grupa 0)"},
    {115, "    w tym prawo użytkowania wieczystego"},
    {116, "  budynki i lokale oraz obiekty inżynierii lądowej i wodnej(grupy 1-2)"},
    {117, "    w tym spółdzielcze własnościowe prawo do lokalu mieszkalnego oraz użytkowego"},
    {118, "    w tym melioracje szczegółowe(rodzaj 226)"},
    {119, "  maszyny i urządzenia techniczne (grupy 3-6)"},
    {120, "  środki transportu (grupa 7)"},
    {121, "  pozostałe środki trwałe (grupy 8 i 9)"},
    {122, "    w tym narzędzia, przyrządy,ruchomości i wyposażenia (grupa 8)"},
    {123,
     "Koszty obsługi zobowiązań zaciągniętych w celu sfinansowania zakupu, budowy lub ulepszenia "
     "środka"},
    {124,
     "Pozostałe nakłady związane z budową środka trwałego, które po jej zakończeniu nie będą "
     "stanowiły środka trwałego"},
    {125, "Z wartości ogółem przypada na roboty budowlano-montażowe"},
    {126, "Wartości niematerialne i prawne"},
    {127, "Nieruchomości oraz prawa zaliczane do inwestycji"},
    {128, "Środki trwałe w budowie-nowo rozpoczęte w okresie sprawozdawczym"},
};

// Part and section of an F-01 position, and the id of the first position of its group.
struct Grupa_F01 {
    int od;
    char czesc;
    char dzial;
};
constexpr Grupa_F01 kGrupyF01[] = {
    {1, '1', '1'}, {70, '1', '2'}, {89, '1', '3'}, {106, '1', '4'}, {113, '2', '1'},
};

constexpr const char* kKolumnyZawart =
    "id int identity,ROK int DEFAULT 0,idB int DEFAULT 0,idK int DEFAULT 0,Typ Text (2),Numer "
    "Text (20)";

std::string Tekst(const char* t) {
    return std::string("'") + t + "'";
}
std::string Znak(char c) {
    return std::string("'") + c + "'";
}

}  // namespace

void ClsKonwersje::Konwersja_534() {
    DbWykonajKonwersje("DROP TABLE KH_Bilans");
    DbWykonajKonwersje(
        "create table KH_Bilans (id_poz int identity,Nazwa Text (150) default '',Typ Text "
        "(1),Wydr Text (1),ROK int DEFAULT 0,BO money DEFAULT 0,Saldo money DEFAULT 0,p1 int "
        "DEFAULT 0,p2 int DEFAULT 0,p3 int DEFAULT 0,p4 int DEFAULT 0,p5 int DEFAULT 0,K Text "
        "(1))");
    Utworz_Klucz_Podstawowy("KH_Bilans", "id_poz");
    for (const Pozycja_Bilansu& p : kBilans)
        DbWykonajIINKonwersje("KH_Bilans (ID_poz,NAZWA,Typ,Wydr,p1,p2,p3,p4,k) values (" +
                              std::to_string(p.id) + "," + Tekst(p.nazwa) + "," + Znak(p.typ) +
                              "," + Znak(p.wydr) + "," + std::to_string(p.p[0]) + "," +
                              std::to_string(p.p[1]) + "," + std::to_string(p.p[2]) + "," +
                              std::to_string(p.p[3]) + "," + Znak(p.k) + ")");
    // The balance sheet's lines are kept where they exist.
    DbWykonajKonwersje(std::string("create table KH_Bilans_zawart (") + kKolumnyZawart + ")");

    DbWykonajKonwersje("DROP TABLE KH_Rachunek");
    DbWykonajKonwersje(
        "create table KH_Rachunek (id_poz int identity,Nazwa Text (150) default '',Typ Text "
        "(1),Wydr Text (1),ROK int DEFAULT 0,BO money DEFAULT 0,Saldo money DEFAULT 0,p1 int "
        "DEFAULT 0,p2 int DEFAULT 0,K Text (1))");
    Utworz_Klucz_Podstawowy("KH_Rachunek", "id_poz");
    for (const Pozycja_Rachunku& p : kRachunek)
        DbWykonajIINKonwersje("KH_RACHUNEK (ID_poz,NAZWA,Typ,Wydr,p1,p2,k) values (" +
                              std::to_string(p.id) + "," + Tekst(p.nazwa) + "," + Znak(p.typ) +
                              ",'S'," + std::to_string(p.p1) + ",0," + Znak(p.k) + ")");
    DbWykonajKonwersje("DROP TABLE KH_Rachunek_zawart");
    DbWykonajKonwersje(std::string("create table KH_Rachunek_zawart (") + kKolumnyZawart +
                       ",TypA Text (8),Operator Text (1))");
    DbWykonajKonwersje("Update KH_Bilans set Rok=2002 where rok is null or rok=0");
    DbWykonajKonwersje("Update KH_Rachunek set Rok=2002 where rok is null or rok=0");

    DbWykonajKonwersje("DROP TABLE KH_F01");
    DbWykonajKonwersje(
        "create table KH_F01 (id_poz int identity,Nazwa Text (150) default '',Pozycja Text "
        "(2),Czesc Text (1),Dzial Text (1),ROK int DEFAULT 0,BO money DEFAULT 0,Saldo money "
        "DEFAULT 0,p1 int DEFAULT 0,p2 int DEFAULT 0,K Text (1))");
    Utworz_Klucz_Podstawowy("KH_F01", "id_poz");
    for (const Pozycja_F01& p : kF01) {
        const Grupa_F01* g = &kGrupyF01[0];
        for (const Grupa_F01& kand : kGrupyF01)
            if (p.id >= kand.od) g = &kand;
        const int wiersz = p.id - g->od + 1;
        const std::string pozycja = (wiersz < 10 ? "0" : "") + std::to_string(wiersz);
        DbWykonajIINKonwersje("KH_F01 (ID_poz,NAZWA,Pozycja,Czesc,Dzial,p1,p2,k) values (" +
                              std::to_string(p.id) + "," + Tekst(p.nazwa) + ",'" + pozycja + "'," +
                              Znak(g->czesc) + "," + Znak(g->dzial) + ",0,0,'1')");
    }
    DbWykonajKonwersje("DROP TABLE KH_F01_zawart");
    DbWykonajKonwersje(std::string("create table KH_F01_zawart (") + kKolumnyZawart +
                       ",TypA Text (8),Operator Text (1))");
    DbWykonajKonwersje("Update KH_F01 set Rok=2002 where rok is null or rok=0");
}
