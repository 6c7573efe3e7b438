#include "driver/klucze.h"

#include <string>
#include <vector>

#include "jet/text.h"

namespace {

constexpr Regula_Klucza kReguly[] = {
#define KLUCZ(krok, tabela, pola, sposob, powod) {krok, tabela, pola, Sposob_Klucza::sposob, powod},
#include "driver/klucze.inc"
#undef KLUCZ
    {0, "", "", Sposob_Klucza::Stop, ""},
};

// A name without its brackets, upper-cased.
std::string nazwa(std::string_view n) {
    while (!n.empty() && (n.front() == ' ' || n.front() == '[')) n.remove_prefix(1);
    while (!n.empty() && (n.back() == ' ' || n.back() == ']')) n.remove_suffix(1);
    return jet::text::upper(n);
}

// The key's columns, each without its order mark.
std::vector<std::string> kolumny(std::string_view pola) {
    std::vector<std::string> out;
    for (size_t p = 0; p <= pola.size();) {
        const size_t q = std::min(pola.find(',', p), pola.size());
        std::string k = nazwa(pola.substr(p, q - p));
        for (const std::string_view znak : {" ASC", " DESC"})
            if (k.size() > znak.size() && k.ends_with(znak))
                k = nazwa(k.substr(0, k.size() - znak.size()));
        if (!k.empty()) out.push_back(k);
        p = q + 1;
    }
    return out;
}

}  // namespace

std::span<const Regula_Klucza> Reguly_Kluczy() {
    return std::span(kReguly).first(std::size(kReguly) - 1);
}

const Regula_Klucza* Regula_Klucza_Dla(int krok, std::string_view tabela, std::string_view pola) {
    const std::string t = nazwa(tabela);
    const std::vector<std::string> k = kolumny(pola);
    for (const Regula_Klucza& r : Reguly_Kluczy())
        if (r.krok == krok && nazwa(r.tabela) == t && kolumny(r.pola) == k) return &r;
    return nullptr;
}
