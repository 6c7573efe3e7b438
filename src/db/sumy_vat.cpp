#include "db/sumy_vat.h"

#include "db/nz.h"

using jet::Currency;
using jet::Value;

void Zeruj_Sumy_VAT() {
    Sumy_Netto_VAT.fill(Currency{});
    Sumy_VAT.fill(Currency{});
}

namespace {

size_t slot_of(std::string_view stawka) {
    if (stawka == "22") return 1;
    if (stawka == "12") return 6;
    if (stawka == "7") return 2;
    if (stawka == "3") return 5;
    if (stawka == "0") return 3;
    return 4;
}

Currency tax(size_t slot, double factor) {
    return NzCur(Value::dbl(Sumy_Netto_VAT[slot].to_double() * factor));
}

}  // namespace

void Dodaj_Do_Sum_VAT(Currency kwota, std::string_view stawka) {
    Currency a = NzCur(Value::currency(kwota));
    size_t slot = slot_of(stawka);
    Sumy_Netto_VAT[slot] =
        NzCur(jet::add(Value::currency(Sumy_Netto_VAT[slot]), Value::currency(a)));
    Sumy_VAT[1] = tax(1, 0.22);
    Sumy_VAT[6] = tax(6, 0.12);
    Sumy_VAT[2] = tax(2, 0.07);
    Sumy_VAT[5] = tax(5, 0.03);
}
