#include "driver/liczby.h"

#include <cmath>
#include <cstdio>

std::string Tekst_Liczby(double v) {
    char buf[64];
    // Fifteen significant digits, as VB writes a double; %g drops trailing zeros.
    std::snprintf(buf, sizeof buf, "%.15g", v);
    std::string s = buf;
    if (s == "-0") s = "0";
    return v < 0 ? s : " " + s;
}

std::string Format_Liczby_2(double v) {
    // Round the decimal value (not its binary neighbour) half away from zero.
    const double setne = std::round(v * 100.0 + (v >= 0 ? 1e-9 : -1e-9));
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.2f", setne / 100.0);
    std::string s = buf;
    for (auto& c : s)
        if (c == '.') c = ',';
    return s;
}
