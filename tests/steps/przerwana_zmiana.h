// A step stopped inside a change of a column's type, as a run that commits each
// statement on its own leaves it: after its column was added anew (in the wait before
// the copy back), or after any statement of a change or a widening sent as such a run
// sends them; and a table or the whole database as text, to compare a rerun from there
// with an uninterrupted run.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "db/polaczenie.h"
#include "jet/catalog.h"
#include "jet/database.h"
#include "jet/error.h"
#include "jet/text.h"
#include "jet/write_hook.h"

namespace kroki_test {

// While it lives, the first write made when column kolumna stands after the temporary
// column in table tabela fails (the change's copy back, the write after the column was
// added anew): the step's executor ends the run, which keeps what the step wrote before.
class Stop_Po_Dodaniu {
  public:
    Stop_Po_Dodaniu(std::string tabela, std::string kolumna) {
        tabela_ = std::move(tabela);
        kolumna_ = jet::text::upper(kolumna);
        zatrzymany_ = false;
        jet::set_write_hook(&Stop_Po_Dodaniu::Przed_Zapisem);
    }
    ~Stop_Po_Dodaniu() { jet::set_write_hook(nullptr); }
    Stop_Po_Dodaniu(const Stop_Po_Dodaniu&) = delete;
    Stop_Po_Dodaniu& operator=(const Stop_Po_Dodaniu&) = delete;

    static bool zatrzymany() { return zatrzymany_; }

  private:
    static void Przed_Zapisem() {
        if (zatrzymany_) return;
        const jet::TableInfo* t = polaczenie().database().catalog().table(tabela_);
        if (t == nullptr) return;
        bool po_kopii = false;
        for (const jet::ColumnInfo& c : t->columns) {
            const std::string nazwa = jet::text::upper(c.name);
            if (nazwa == "CCXXDFREDVVCXDS__DDFR") po_kopii = true;
            if (po_kopii && nazwa == kolumna_) {
                zatrzymany_ = true;
                throw jet::Error(jet::hr::TypeMismatch, "zatrzymanie");
            }
        }
    }

    static inline std::string tabela_, kolumna_;
    static inline bool zatrzymany_ = false;
};

// A table: a line with its columns, their types, sizes and defaults in order, then its
// rows (values as text, "Null" for Null) sorted.
inline std::vector<std::string> Zawartosc_Tabeli(const jet::TableInfo& t) {
    std::string kolumny = "[" + t.name + "]";
    for (const jet::ColumnInfo& c : t.columns)
        kolumny += " " + c.name + ":" + std::to_string(static_cast<int>(c.type)) + ":" +
                   std::to_string(c.size) + ":" + c.default_text;
    std::vector<std::string> w = {kolumny};
    ado::Recordset rs;
    rs.Open("SELECT * FROM [" + t.name + "]", polaczenie());
    std::vector<std::string> wiersze;
    for (; !rs.Eof(); rs.MoveNext()) {
        std::string wiersz;
        for (int i = 0; i < rs.FieldCount(); ++i) {
            const jet::Value v = rs.Fields(i).value();
            wiersz += (i ? "|" : "") + (v.is_null() ? std::string("Null") : v.to_text());
        }
        wiersze.push_back(std::move(wiersz));
    }
    std::sort(wiersze.begin(), wiersze.end());
    w.insert(w.end(), wiersze.begin(), wiersze.end());
    return w;
}

inline std::vector<std::string> Zawartosc_Tabeli(const std::string& tabela) {
    return Zawartosc_Tabeli(*polaczenie().database().catalog().table(tabela));
}

// Every user table, as Zawartosc_Tabeli.
inline std::vector<std::string> Zawartosc_Bazy() {
    std::vector<std::string> w;
    for (const jet::TableInfo* t : polaczenie().database().catalog().tables()) {
        const std::vector<std::string> tabela = Zawartosc_Tabeli(*t);
        w.insert(w.end(), tabela.begin(), tabela.end());
    }
    return w;
}

// The statements of a change of kolumna to typ under the name nowa ("" for its own) in
// tabela, as a run of the suite's earlier tool sends them, each committed on its own.
inline std::vector<std::string> Polecenia_Zmiany(const std::string& T, const std::string& C,
                                                 const std::string& typ,
                                                 const std::string& nowa = "") {
    const std::string tmp = "ccxxdfredvvcxds__ddfr", M = nowa.empty() ? C : nowa;
    return {"alter table " + T + " drop COLUMN " + tmp + " ",
            "alter table " + T + " ADD " + tmp + " " + typ,
            "UPDATE " + T + " SET " + tmp + "=[" + C + "]",
            "drop INDEX ind" + C + " ON " + T,
            "drop INDEX " + C + " ON " + T,
            "alter table " + T + " drop COLUMN " + C,
            "alter table " + T + " ADD " + M + " " + typ,
            "UPDATE " + T + " SET " + M + "=" + tmp,
            "alter table " + T + " drop COLUMN " + tmp};
}

// The statements of the widening of column F of tabela, as the widening sends them.
inline std::vector<std::string> Polecenia_Poszerzenia(const std::string& T, const std::string& F) {
    const std::string tmp = "ccxxdfredvvcxds__ddfr";
    return {"alter table " + T + " drop COLUMN " + tmp + " ",
            "alter table " + T + " ADD " + tmp + " text(255)",
            "UPDATE " + T + " SET " + tmp + "=[" + F + "]",
            "drop INDEX ind" + F + " ON " + T,
            "alter table " + T + " drop COLUMN " + F,
            "alter table " + T + " ADD " + F + " text(255)",
            "UPDATE " + T + " SET " + F + "=" + tmp,
            "alter table " + T + " drop COLUMN " + tmp};
}

// Runs the first n statements, a failing one changing nothing.
inline void Wykonaj_Polecenia(const std::vector<std::string>& polecenia, size_t n) {
    for (size_t i = 0; i < n && i < polecenia.size(); ++i) {
        try {
            polaczenie().Execute(polecenia[i]);
        } catch (const jet::Error&) {
        }
    }
}

}  // namespace kroki_test
