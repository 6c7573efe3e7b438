#include "db/postep.h"

#include <array>

#include "db/stan.h"
#include "platform/status_window.h"

namespace {
// The captions of the window's three labels; the window itself only draws them.
std::array<std::string, 4> etykiety;
}  // namespace

void Pokaz_Postep(std::string_view tekst1, std::string_view tekst2, std::string_view tekst3) {
    const std::array<std::string_view, 3> teksty{tekst1, tekst2, tekst3};
    for (int i = 1; i <= 3; ++i)
        if (!teksty[i - 1].empty()) set_status_line(i, teksty[i - 1]);
}

void set_status_line(int i, std::string_view text) {
    if (i < 1 || i > 3) return;
    etykiety[i] = text;
    platform::status_window().set_line(i, etykiety[i]);
}

void BArS_Update() {
    Pokaz_Postep(" " + Sciezka_Bazy + " ", "", "");
}

void Ustaw_Stale_SQL() {
    Stala_DISTINCTROW = "DISTINCTROW";
}

const std::string& status_line(int i) {
    static const std::string pusta;
    return i >= 1 && i <= 3 ? etykiety[i] : pusta;
}
