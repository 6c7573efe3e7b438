// What the programs of the roads share (drogi.cpp, relacje.cpp, klucze.cpp): the
// environment, the kinds of columns, the step's version as text, the step's entry copied
// and the runs of children from it.
#pragma once

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "db/haslo_bazy.h"
#include "db/polaczenie.h"
#include "jet/catalog.h"
#include "jet/database.h"
#include "jet/types.h"

namespace droga {

inline std::string srodowisko(const char* nazwa) {
    const char* w = std::getenv(nazwa);
    return w ? w : "";
}

inline bool liczbowa(jet::DataType t) {
    using T = jet::DataType;
    return t == T::Byte || t == T::Integer || t == T::Long || t == T::Currency || t == T::Single ||
           t == T::Double;
}

// True when an index of the kind holds the column (primary: the primary key or a required
// index; otherwise any unique one).
inline bool w_indeksie(const jet::TableInfo& t, const jet::ColumnInfo& c, bool primary) {
    for (const auto& ix : t.indexes) {
        if (primary ? !(ix.primary || ix.required) : !ix.unique) continue;
        for (const auto& ic : ix.columns)
            if (ic.column_id == c.id) return true;
    }
    return false;
}

// The steps of a list such as "165-299,541" (versions times 100); an empty list holds every
// step.
class Kroki {
  public:
    explicit Kroki(const std::string& lista) {
        std::istringstream s(lista);
        for (std::string k; std::getline(s, k, ',');) {
            const size_t m = k.find('-');
            if (!k.empty())
                zakresy_.emplace_back(std::stoi(k.substr(0, m)),
                                      std::stoi(m == std::string::npos ? k : k.substr(m + 1)));
        }
    }
    bool zawiera(int v) const {
        if (zakresy_.empty()) return true;
        for (const auto& [od, do_] : zakresy_)
            if (v >= od && v <= do_) return true;
        return false;
    }

  private:
    std::vector<std::pair<int, int>> zakresy_;
};

inline std::string wersja(int v) {
    char b[16];
    std::snprintf(b, sizeof b, "%d.%02d", v / 100, v % 100);
    return b;
}

// A name of SQLite's, quoted.
inline std::string cudzyslow(const std::string& sql_name) {
    return "\"" + sql_name + "\"";
}

// Commits the road's database as it stands at a step's entry and copies it to plik.
inline void Kopiuj_Wejscie(const std::string& plik) {
    polaczenie().Checkpoint();
    jet::Database::copy(polaczenie().database().path(), plik, std::string(kDatabasePassword));
}

// Starts this program again as a child, its standard output and error into the file err:
// with this process's environment but the variables whose names begin with one of pomin,
// and with zmienne ("NAME=VALUE") added. Returns the child's process id, -1 when none
// started.
inline pid_t Uruchom_Dziecko(const std::string& err, const std::vector<std::string>& pomin,
                             std::vector<std::string> zmienne) {
    for (char** e = environ; *e; ++e) {
        const std::string z(*e);
        bool bez = false;
        for (const std::string& p : pomin) bez = bez || z.starts_with(p);
        if (!bez) zmienne.push_back(z);
    }
    std::vector<char*> envp;
    for (auto& z : zmienne) envp.push_back(z.data());
    envp.push_back(nullptr);
    const pid_t p = ::fork();
    if (p == 0) {
        const int fd = ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd >= 0) {
            ::dup2(fd, 1);
            ::dup2(fd, 2);
        }
        char* argv[] = {const_cast<char*>("/proc/self/exe"), nullptr};
        ::execve("/proc/self/exe", argv, envp.data());
        std::_Exit(127);
    }
    return p;
}

}  // namespace droga
