// Step 5.78: lines of one sales invoice that repeat a product at the same net price and
// price discount become one line: the latest line takes the quantities of the earlier ones,
// which are marked by a negative product reference and deleted.
//
// A run stopped at any statement (the suite's earlier tool committed each one) is
// repeated whole, so no statement may depend on one of its own earlier effects being
// absent: the totals of each group are taken once, from the untouched lines, into a work
// table that a repeated run finds already made (and proves: it holds what the untouched
// lines give, or the lines are marked and give nothing); the earlier lines are marked
// (a marked line matches no group again), then the latest lines are set to those totals
// (setting them again changes nothing), and only then are the marked lines deleted. While
// the work table stands, the marked lines are this step's, counted in it and not yet
// perhaps in their latest line.
#include <string>

#include "driver/konwersje.h"

namespace {

// The group's total of a quantity column: a line without a quantity adds nothing, and a
// group of lines none of which has one stays without.
std::string Suma(const std::string& kolumna) {
    return "Sum(" + kolumna + ") AS " + kolumna;
}

}  // namespace

void ClsKonwersje::Konwersja_578() {
    // The work table: one row per group of repeated lines, keyed by its latest line.
    const std::string sumy = "DOK_FAK_ZAWART_SUMY";
    // Lines without a discount compare as equal only once their discount is 0.
    DbWykonajUPDKonwersje("", "DOK_FAK_ZAWART", "RABAT_CEN=0", "RABAT_CEN is null");
    DbWykonajUPDKonwersje("", "DOK_FAK_ZAWART", "CENA_B_RABATU=Nz(ZFAKOUT_CENA_N,0)",
                          "CENA_B_RABATU=0 or CENA_B_RABATU is null");
    // Lines marked by a run of the merge without the work table, stopped after the marking,
    // go first: their quantities are already in their latest line.
    if (!Jest_Tabela(sumy))
        DbWykonajKonwersje("Delete  * from DOK_FAK_ZAWART where  DOK_FAK_ZAWART.PROD_ID<0");
    // Repeated lines are those of one invoice, product, net price and discount, none of
    // them Null (a Null never matches); lines without a product are left alone. A
    // repeated run keeps the totals of the first.
    const std::string pola =
        "Max(COUNTT) AS COUNTT, FAKOUT_ID, PROD_ID, ZFAKOUT_CENA_N, RABAT_CEN, " +
        Suma("ZFAKOUT_ILOSC") + ", " + Suma("Ilosc_Na_Magazyn");
    const std::string grupy =
        " FROM DOK_FAK_ZAWART WHERE PROD_ID > 0 And FAKOUT_ID Is Not Null And ZFAKOUT_CENA_N Is "
        "Not Null And RABAT_CEN Is Not Null GROUP BY FAKOUT_ID, PROD_ID, ZFAKOUT_CENA_N, "
        "RABAT_CEN HAVING Count(*) > 1";
    DbWykonajKonwersje("SELECT " + pola + " INTO " + sumy + grupy,
                       Tabela_Z_Wczesniejszego_Przebiegu(sumy, pola + grupy, "COUNTT"));
    // The work table holds one row per group, and so one per latest line: each line
    // meets one row of it.
    // Every other line of a group is earlier than its latest line.
    DbWykonajUPDKonwersje("",
                          "DOK_FAK_ZAWART INNER JOIN " + sumy + " ON (DOK_FAK_ZAWART.RABAT_CEN = " +
                              sumy + ".RABAT_CEN) AND (DOK_FAK_ZAWART.ZFAKOUT_CENA_N = " + sumy +
                              ".ZFAKOUT_CENA_N) AND (DOK_FAK_ZAWART.PROD_ID = " + sumy +
                              ".PROD_ID) AND (DOK_FAK_ZAWART.FAKOUT_ID = " + sumy + ".FAKOUT_ID)",
                          "DOK_FAK_ZAWART.PROD_ID = -DOK_FAK_ZAWART.PROD_ID",
                          "DOK_FAK_ZAWART.COUNTT < " + sumy + ".COUNTT");
    DbWykonajUPDKonwersje(
        "", "DOK_FAK_ZAWART INNER JOIN " + sumy + " ON DOK_FAK_ZAWART.COUNTT = " + sumy + ".COUNTT",
        "DOK_FAK_ZAWART.ZFAKOUT_ILOSC=" + sumy +
            ".ZFAKOUT_ILOSC, DOK_FAK_ZAWART.Ilosc_Na_Magazyn=" + sumy + ".Ilosc_Na_Magazyn",
        "");
    DbWykonajDELKonwersje("DOK_FAK_ZAWART where DOK_FAK_ZAWART.PROD_ID<0", "");
    DbWykonajKonwersje("DROP TABLE " + sumy);
    CzekajKonwersje(5);
}
