#include "driver/odwolania.h"

#include "jet/text.h"

namespace {

constexpr Odwolanie_Pakietu kOdwolania[] = {
#define ODWOLANIE(od_, do_, tabela_, kolumna_, cel_, id_) {od_, do_, tabela_, kolumna_, cel_, id_},
#define ODWOLANIE_RODZAJ(od_, do_, tabela_, kolumna_)
#include "driver/odwolania.inc"
#undef ODWOLANIE_RODZAJ
#undef ODWOLANIE
};

constexpr Odwolanie_Wedlug_Rodzaju kWedlugRodzaju[] = {
#define ODWOLANIE(od_, do_, tabela_, kolumna_, cel_, id_)
#define ODWOLANIE_RODZAJ(od_, do_, tabela_, kolumna_) {od_, do_, tabela_, kolumna_},
#include "driver/odwolania.inc"
#undef ODWOLANIE_RODZAJ
#undef ODWOLANIE
};

// A name without its brackets.
std::string_view nazwa(std::string_view n) {
    while (!n.empty() && (n.front() == ' ' || n.front() == '[')) n.remove_prefix(1);
    while (!n.empty() && (n.back() == ' ' || n.back() == ']')) n.remove_suffix(1);
    return n;
}

template <class O>
bool obowiazuje(const O& o, int krok) {
    return o.od_kroku <= krok && (o.do_kroku == 0 || krok < o.do_kroku);
}

}  // namespace

std::span<const Odwolanie_Pakietu> Odwolania_Pakietu() {
    return kOdwolania;
}

const Odwolanie_Pakietu* Odwolanie_Kolumny(int krok, std::string_view tabela,
                                           std::string_view kolumna) {
    for (const Odwolanie_Pakietu& o : kOdwolania)
        if (obowiazuje(o, krok) && jet::text::same_name(o.tabela, nazwa(tabela)) &&
            jet::text::same_name(o.kolumna, nazwa(kolumna)))
            return &o;
    return nullptr;
}

std::span<const Odwolanie_Wedlug_Rodzaju> Odwolania_Wedlug_Rodzaju() {
    return kWedlugRodzaju;
}

bool Kolumna_Wskazuje(int krok, std::string_view tabela, std::string_view kolumna) {
    if (Odwolanie_Kolumny(krok, tabela, kolumna) != nullptr) return true;
    for (const Odwolanie_Wedlug_Rodzaju& o : kWedlugRodzaju)
        if (obowiazuje(o, krok) && jet::text::same_name(o.tabela, nazwa(tabela)) &&
            jet::text::same_name(o.kolumna, nazwa(kolumna)))
            return true;
    return false;
}

std::vector<const Odwolanie_Pakietu*> Odwolania_Do(int krok, std::string_view cel,
                                                   std::string_view id) {
    std::vector<const Odwolanie_Pakietu*> out;
    for (const Odwolanie_Pakietu& o : kOdwolania)
        if (obowiazuje(o, krok) && jet::text::same_name(o.cel, nazwa(cel)) &&
            jet::text::same_name(o.id, nazwa(id)))
            out.push_back(&o);
    return out;
}
