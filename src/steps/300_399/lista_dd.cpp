// The walk of a collective invoice's note list.
#include "steps/300_399/lista_dd.h"

#include <string_view>

namespace kroki {

namespace {

constexpr std::string_view kOtwarcie = "«";
constexpr std::string_view kDostawa = "«+»";
constexpr std::string_view kZwrot = "«-»";

}  // namespace

std::vector<Pozycja_Listy_DD> Pozycje_Listy_DD(const jet::Value& lista) {
    std::vector<Pozycja_Listy_DD> pozycje;
    if (lista.is_null() || lista.is_empty()) return pozycje;
    const std::string tekst = lista.to_text();
    std::string_view s = tekst;
    // Only blanks are trimmed, as the suite trims the list.
    const size_t od = s.find_first_not_of(' ');
    if (od == std::string_view::npos) return pozycje;
    s = s.substr(od, s.find_last_not_of(' ') - od + 1);
    // "«" is one character: its bytes never occur inside another character's, so a byte
    // search finds exactly the positions where a marker can begin.
    for (size_t p = s.find(kOtwarcie); p != std::string_view::npos; p = s.find(kOtwarcie, p + 1)) {
        const std::string_view reszta = s.substr(p);
        const bool dostawa = reszta.starts_with(kDostawa);
        if (!dostawa && !reszta.starts_with(kZwrot)) continue;
        std::string_view numer = reszta.substr(kDostawa.size());
        numer = numer.substr(0, numer.find(kOtwarcie));
        pozycje.push_back({!dostawa, std::string(numer)});
    }
    return pozycje;
}

}  // namespace kroki
