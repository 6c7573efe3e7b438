#include "db/teksty.h"

namespace vb {

std::string Trim(std::string_view s) {
    auto b = s.find_first_not_of(' ');
    if (b == std::string_view::npos) return {};
    return std::string(s.substr(b, s.find_last_not_of(' ') - b + 1));
}

std::string LTrim(std::string_view s) {
    auto b = s.find_first_not_of(' ');
    return b == std::string_view::npos ? std::string() : std::string(s.substr(b));
}

}  // namespace vb

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
    return p == std::string_view::npos ? std::string() : vb::LTrim(s.substr(p + 1));
}
