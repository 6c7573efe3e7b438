// What the relations reach: the shapes of a step's data statements and the rows whose
// values they changed.
// The row writes' old and new values (sqlite3_preupdate_*), which the system's SQLite
// library has.
#define SQLITE_ENABLE_PREUPDATE_HOOK 1
#include "pokrycie.h"

#include <sqlite3.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <utility>

#include "jet/text.h"
#include "jet/trace.h"
#include "jet/write_hook.h"

namespace pokrycie {

namespace {

bool slowo(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_' ||
           static_cast<unsigned char>(c) >= 0x80;
}

}  // namespace

bool Ma_Slowo(const std::string& s, const std::string& w) {
    for (size_t p = s.find(w); p != std::string::npos; p = s.find(w, p + 1))
        if ((p == 0 || !slowo(s[p - 1])) && (p + w.size() == s.size() || !slowo(s[p + w.size()])))
            return true;
    return false;
}

namespace {

std::map<std::string, Zasieg>& zebrane() {
    static std::map<std::string, Zasieg> m;
    return m;
}

// Rows of the file's own tables whose values the write statement running now changed
// (counted from its start: a write of no statement, the Log's, is not one of them).
int64_t zmienione = 0;

void Na_Poczatku_Zapisu() {
    zmienione = 0;
}

bool rowne(sqlite3_value* a, sqlite3_value* b) {
    const int ta = sqlite3_value_type(a), tb = sqlite3_value_type(b);
    const auto liczba = [](int t) { return t == SQLITE_INTEGER || t == SQLITE_FLOAT; };
    if (liczba(ta) && liczba(tb))
        return ta == SQLITE_INTEGER && tb == SQLITE_INTEGER
                   ? sqlite3_value_int64(a) == sqlite3_value_int64(b)
                   : sqlite3_value_double(a) == sqlite3_value_double(b);
    if (ta != tb) return false;
    if (ta == SQLITE_NULL) return true;
    const void* pa =
        ta == SQLITE_TEXT ? static_cast<const void*>(sqlite3_value_text(a)) : sqlite3_value_blob(a);
    const void* pb =
        tb == SQLITE_TEXT ? static_cast<const void*>(sqlite3_value_text(b)) : sqlite3_value_blob(b);
    const int n = sqlite3_value_bytes(a);
    return n == sqlite3_value_bytes(b) &&
           (n == 0 || std::memcmp(pa, pb, static_cast<size_t>(n)) == 0);
}

// Before each row write of the file: a row put in or deleted changes values; a row
// updated, when some cell's value differs. The engine's catalog (MSys...), SQLite's own
// tables and temporary tables are not the data.
void Przed_Zapisem(void*, sqlite3* h, int op, const char* baza, const char* tabela, sqlite3_int64,
                   sqlite3_int64) {
    const std::string t = jet::text::upper(tabela);
    if (std::strcmp(baza, "main") != 0 || t.starts_with("MSYS") || t.starts_with("SQLITE_")) return;
    if (op != SQLITE_UPDATE) {
        ++zmienione;
        return;
    }
    for (int i = 0, n = sqlite3_preupdate_count(h); i < n; ++i) {
        sqlite3_value *a = nullptr, *b = nullptr;
        if (sqlite3_preupdate_old(h, i, &a) != SQLITE_OK ||
            sqlite3_preupdate_new(h, i, &b) != SQLITE_OK || !rowne(a, b)) {
            ++zmienione;
            return;
        }
    }
}

void Dolicz(std::map<std::string, Zasieg>& m, const std::string& k, Zasieg z) {
    Zasieg& w = m.emplace(k, z).first->second;
    w.zmienione = std::max(w.zmienione, z.zmienione);
    w.zapisane = std::max(w.zapisane, z.zapisane);
}

void Obserwuj(std::string_view sql, int64_t wiersze) {
    const int64_t z = std::exchange(zmienione, 0);
    const std::string k = Ksztalt(sql);
    if (!k.empty()) Dolicz(zebrane(), k, {wiersze < 0 ? -1 : z, wiersze});
}

// Whether s matches the pattern w, in which "*" stands for any text.
bool pasuje(const char* w, const char* s) {
    const char *gwiazdka = nullptr, *po = nullptr;
    while (*s) {
        if (*w == '*') {
            gwiazdka = w++;
            po = s;
        } else if (*w == *s) {
            ++w;
            ++s;
        } else if (gwiazdka) {
            w = gwiazdka + 1;
            s = ++po;
        } else {
            return false;
        }
    }
    while (*w == '*') ++w;
    return *w == 0;
}

}  // namespace

std::string Bez_Literalow(std::string_view sql) {
    std::string out;
    auto literal = [&] {
        // A literal after "?," (blanks apart) joins the list: one "?" stands for it.
        size_t k = out.find_last_not_of(' ');
        if (k != std::string::npos && out[k] == ',') {
            const size_t q = out.find_last_not_of(' ', k - 1);
            if (q != std::string::npos && out[q] == '?') {
                out.resize(q + 1);
                return;
            }
        }
        out += '?';
    };
    for (size_t i = 0; i < sql.size(); ++i) {
        const char c = sql[i];
        if (c == '[') {
            const size_t j = sql.find(']', i);
            const size_t e = j == std::string_view::npos ? sql.size() : j + 1;
            out.append(sql.substr(i, e - i));
            i = e - 1;
        } else if (c == '\'' || c == '"' || c == '#') {
            size_t j = i + 1;
            for (; j < sql.size(); ++j)
                if (sql[j] == c) {
                    if (c != '#' && j + 1 < sql.size() && sql[j + 1] == c)
                        ++j;  // a quote doubled inside the text
                    else
                        break;
                }
            literal();
            i = std::min(j, sql.size());
        } else if (std::isdigit(static_cast<unsigned char>(c)) && (i == 0 || !slowo(sql[i - 1]))) {
            size_t j = i;
            auto cyfra = [&](size_t k) {
                return k < sql.size() && std::isdigit(static_cast<unsigned char>(sql[k]));
            };
            while (cyfra(j) || (j < sql.size() && sql[j] == '.' && cyfra(j + 1))) ++j;
            if (j < sql.size() && slowo(sql[j])) {  // a name that begins with a digit
                while (j < sql.size() && slowo(sql[j])) ++j;
                out.append(sql.substr(i, j - i));
            } else {
                literal();
            }
            i = j - 1;
        } else if (std::isspace(static_cast<unsigned char>(c))) {
            if (!out.empty() && out.back() != ' ') out += ' ';
        } else {
            out += c;
        }
    }
    while (!out.empty() && out.back() == ' ') out.pop_back();
    return out;
}

std::string Ksztalt(std::string_view sql) {
    const std::string out = Bez_Literalow(sql);
    const std::string duze = jet::text::upper(out);
    const size_t p = duze.find_first_not_of("( ");
    const std::string pierwsze =
        p == std::string::npos ? "" : duze.substr(p, duze.find_first_of(" (", p) - p);
    const bool dane = pierwsze == "INSERT" || pierwsze == "UPDATE" || pierwsze == "DELETE" ||
                      (pierwsze == "SELECT" && Ma_Slowo(duze, "INTO"));
    return dane ? out : "";
}

void Sledz(sqlite3* h) {
    zmienione = 0;
    sqlite3_preupdate_hook(h, Przed_Zapisem, nullptr);
    jet::set_write_hook(Na_Poczatku_Zapisu);
    jet::set_statement_trace(Obserwuj);
}

void Zapisz(const std::string& plik) {
    std::ofstream out(plik);
    for (const auto& [k, w] : zebrane())
        out << w.zmienione << '\t' << w.zapisane << '\t' << k << '\n';
}

void Wczytaj(const std::string& plik, std::map<std::string, Zasieg>& m) {
    std::ifstream in(plik);
    for (std::string l; std::getline(in, l);) {
        const size_t t = l.find('\t'), u = l.find('\t', t + 1);
        if (u == std::string::npos) continue;
        Dolicz(m, l.substr(u + 1), {std::stoll(l.substr(0, t)), std::stoll(l.substr(t + 1, u))});
    }
}

Nieosiagalne::Nieosiagalne(const std::string& plik) {
    std::ifstream in(plik);
    for (std::string l; std::getline(in, l);) {
        const size_t h = l.find(" #");
        if (l.empty() || l[0] == '#' || h == std::string::npos) continue;
        std::istringstream s(l.substr(0, h));
        std::string krok, wzor, slowo_;
        s >> krok;
        while (s >> slowo_) wzor += (wzor.empty() ? "" : " ") + slowo_;
        if (!wzor.empty()) wzory_.emplace_back(krok, jet::text::upper(wzor));
    }
}

bool Nieosiagalne::stwierdza(const std::string& krok, const std::string& ksztalt) const {
    const std::string k = jet::text::upper(ksztalt);
    for (const auto& [s, w] : wzory_)
        if ((s == krok || s == "*") && pasuje(w.c_str(), k.c_str())) return true;
    return false;
}

}  // namespace pokrycie
