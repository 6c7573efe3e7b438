// Step 5.78: lines of one sales invoice that repeat a product at the same net price and
// price discount become one line: the latest line takes the quantities of the earlier ones,
// which are marked by a negative product reference and deleted.
#include <string>

#include "driver/konwersje.h"

namespace {

// Lines of one invoice with the same product, net price and price discount, the earlier
// line (DOK_FAK_ZAWART_1) joined to each later one. produkty is the condition on the
// products: equal, or the earlier line's marked (negated) product against the later line's.
std::string Duplikaty(const std::string& produkty) {
    return "DOK_FAK_ZAWART INNER JOIN DOK_FAK_ZAWART AS DOK_FAK_ZAWART_1 ON "
           "(DOK_FAK_ZAWART.RABAT_CEN = DOK_FAK_ZAWART_1.RABAT_CEN) AND "
           "(DOK_FAK_ZAWART.ZFAKOUT_CENA_N = DOK_FAK_ZAWART_1.ZFAKOUT_CENA_N) AND (" +
           produkty + ") AND (DOK_FAK_ZAWART.FAKOUT_ID = DOK_FAK_ZAWART_1.FAKOUT_ID) ";
}

}  // namespace

void ClsKonwersje::Konwersja_578() {
    // Lines without a discount compare as equal only once their discount is 0.
    DbWykonajUPDKonwersje("", "DOK_FAK_ZAWART", "RABAT_CEN=0", "RABAT_CEN is null");
    DbWykonajUPDKonwersje("", "DOK_FAK_ZAWART", "CENA_B_RABATU=ZFAKOUT_CENA_N",
                          "CENA_B_RABATU=0 or CENA_B_RABATU is null");
    // Lines marked by a run stopped after the marking go first.
    DbWykonajKonwersje("Delete  * from DOK_FAK_ZAWART where  DOK_FAK_ZAWART.PROD_ID<0");
    // Every line that has a later duplicate is marked; the mark is the same however many
    // later duplicates it has, so that of three or more repeated lines only the latest
    // stays unmarked. The latest line then takes the quantities of every marked line of
    // its group, each once, and the marked lines go.
    DbWykonajUPDKonwersje("", Duplikaty("DOK_FAK_ZAWART.PROD_ID = DOK_FAK_ZAWART_1.PROD_ID"),
                          "DOK_FAK_ZAWART_1.prod_id = -Abs(DOK_FAK_ZAWART_1.prod_id) ",
                          "DOK_FAK_ZAWART_1.COUNTT <> DOK_FAK_ZAWART.COUNTT And "
                          "DOK_FAK_ZAWART_1.COUNTT < DOK_FAK_ZAWART.COUNTT",
                          "DOK_FAK_ZAWART_1");
    DbWykonajUPDKonwersje("", Duplikaty("DOK_FAK_ZAWART_1.PROD_ID = -DOK_FAK_ZAWART.PROD_ID"),
                          "DOK_FAK_ZAWART.ZFAKOUT_ILOSC=DOK_FAK_ZAWART.ZFAKOUT_ILOSC+DOK_FAK_"
                          "ZAWART_1.ZFAKOUT_ILOSC,  DOK_FAK_ZAWART.Ilosc_Na_Magazyn= "
                          "DOK_FAK_ZAWART.Ilosc_Na_Magazyn+ DOK_FAK_ZAWART_1.Ilosc_Na_Magazyn ",
                          "DOK_FAK_ZAWART.PROD_ID > 0 And DOK_FAK_ZAWART_1.COUNTT < "
                          "DOK_FAK_ZAWART.COUNTT",
                          "DOK_FAK_ZAWART_1");
    DbWykonajDELKonwersje("DOK_FAK_ZAWART where DOK_FAK_ZAWART.PROD_ID<0", "");
    CzekajKonwersje(5);
}
