#include "db/teksty.h"

#include "jet/functions.h"

std::string Apostrof_Na_Cudzyslow(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c == '\'') c = '"';
    return out;
}

std::string Przecinek_Na_Kropke(std::string_view s) {
    std::string out(s);
    if (auto p = out.find(','); p != std::string::npos) out[p] = '.';
    return out;
}

std::string Usun_Znaki_Sterujace(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c == '\r' || c == '\n' || c == '\t' || c == '\0') c = ' ';
    return out;
}

std::string Tekst_Po_Ukosniku(std::string_view s) {
    auto p = s.find('/');
    return p == std::string_view::npos ? std::string()
                                       : std::string(jet::fn::ltrim_view(s.substr(p + 1)));
}
