#include "db/konta.h"

#include "jet/functions.h"
#include "jet/text.h"

namespace {
std::string trim(std::string_view s) {
    return std::string(jet::fn::trim_view(s));
}
}  // namespace

std::string Obetnij_Myslniki(std::string& s) {
    s = trim(s);
    while (!s.empty() && s.front() == '-') s = trim(std::string_view(s).substr(1));
    while (!s.empty() && s.back() == '-') s = trim(std::string_view(s).substr(0, s.size() - 1));
    return s;
}

std::string Zlacz_Konto(std::string& k1, std::string& k2, std::string& k3, std::string& k4) {
    std::string konto = Obetnij_Myslniki(k1);
    for (std::string* k : {&k2, &k3, &k4})
        if (!Obetnij_Myslniki(*k).empty()) konto += "-" + *k;
    return konto;
}

namespace {

// One pass of the split: each segment that holds a "-" gives the text after its first
// dash to the next segment; the fourth keeps what it holds.
void podziel(const std::string& konto, std::string& k1, std::string& k2, std::string& k3,
             std::string& k4) {
    std::string* seg[] = {&k1, &k2, &k3, &k4};
    *seg[0] = konto;
    Obetnij_Myslniki(*seg[0]);
    for (int i = 0; i < 3; ++i) {
        std::string& k = *seg[i];
        std::string& dalej = *seg[i + 1];
        auto p = k.find('-');
        if (p == std::string::npos) {
            dalej.clear();
            continue;
        }
        dalej = k.substr(p + 1);
        Obetnij_Myslniki(dalej);
        k = k.substr(0, p);
        Obetnij_Myslniki(k);
    }
}

}  // namespace

void Rozdziel_Konto(const std::string& konto, std::string& k1, std::string& k2, std::string& k3,
                    std::string& k4) {
    podziel(konto, k1, k2, k3, k4);
    podziel(Zlacz_Konto(k1, k2, k3, k4), k1, k2, k3, k4);
    k1.resize(jet::text::offset_of_char(k1, 4));
}

std::string Symbol_Dokumentu(int16_t kod) {
    switch (kod) {
        case 10:
            return "ZV";
        case 11:
            return "ZR";
        case 12:
            return "RA";
        case 13:
            return "KZ";
        case 14:
            return "PZ";
        case 15:
            return "WZ";
        case 20:
            return "SV";
        case 21:
            return "PA";
        case 22:
            return "KF";
        case 23:
            return "KS";
        case 24:
            return "DA";
        case 25:
            return "FW";
        case 26:
            return "RW";
        case 27:
            return "PW";
        case 28:
            return "DD";
        case 29:
            return "DZ";
        case 30:
            return "AM";
        case 31:
            return "KFS";
        case 32:
            return "FS";
        case 40:
            return "LP";
        case 51:
            return "RK";
        case 52:
            return "WB";
        case 55:
            return "KP";
        case 56:
            return "KW";
        case 57:
            return "BP";
        case 58:
            return "BW";
        case 70:
            return "PR";
        case 81:
            return "P4";
        case 82:
            return "P5";
        case 83:
            return "V7";
        case 84:
            return "V7";
        case 95:
            return "KS";
        case 96:
            return "KZ";
        default:
            return "WW";
    }
}
