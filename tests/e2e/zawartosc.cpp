// The whole database as text (droga.h), apart from the road so that the sweep of stops
// inside steps can compare databases with it too (zawartosc_bazy).
#include <algorithm>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "db/polaczenie.h"
#include "droga.h"
#include "jet/database.h"

namespace droga {

namespace {

std::string liczba(double d) {
    char b[40];
    std::snprintf(b, sizeof b, "%.17g", d);
    return b;
}

// A value with its kind, numbers with every digit.
std::string pole(const jet::Value& v) {
    using K = jet::Value::Kind;
    switch (v.kind()) {
        case K::Null:
            return "Null";
        case K::Single:
        case K::Double:
        case K::Date:
            return liczba(v.raw_double());
        default:
            return v.to_text();
    }
}

void zastap(std::string& s, const std::string& co, const std::string& czym) {
    if (co.empty()) return;
    for (size_t k = s.find(co); k != std::string::npos; k = s.find(co, k + czym.size()))
        s.replace(k, co.size(), czym);
}

}  // namespace

std::string zawartosc(const fs::path& folder) {
    auto db = jet::Database::open((folder / "baza.mdb").string(), std::string(kDatabasePassword));
    std::ostringstream out;
    const jet::DatabaseProperties& w = db->catalog().properties();
    out << "# format " << w.format_version << " locale " << w.locale << "\n";
    for (const jet::TableInfo* t : db->catalog().tables()) {
        out << "## " << t->name << "\n";
        for (const jet::ColumnInfo& c : t->columns)
            out << "kolumna " << c.name << " " << jet::data_type_name(c.type) << "(" << c.size
                << ")" << (c.counter ? " licznik" : "") << (c.required ? " wymagana" : "")
                << (c.allow_zero_length ? "" : " niepusta") << " domyslna=" << c.default_text
                << "\n";
        // Indexes and relations by name: the order of their catalog ids is the order in
        // which a run happened to create them.
        std::vector<std::string> indeksy;
        for (const jet::IndexInfo& i : t->indexes) {
            std::ostringstream x;
            x << "indeks " << i.name << (i.primary ? " podstawowy" : "")
              << (i.unique ? " unikalny" : "") << (i.ignore_nulls ? " bez_null" : "")
              << (i.required ? " wymagany" : "") << " (";
            for (const jet::IndexColumnInfo& k : i.columns) {
                const jet::ColumnInfo* c = t->column_by_id(k.column_id);
                x << " " << (c ? c->name : "?") << (k.descending ? " DESC" : "");
            }
            indeksy.push_back(x.str() + " )\n");
        }
        std::sort(indeksy.begin(), indeksy.end());
        for (const std::string& x : indeksy) out << x;
        auto c = db->query("SELECT * FROM [" + t->name + "]");
        while (c->next()) {
            for (size_t i = 0; i < c->columns().size(); ++i)
                out << (i ? "|" : "") << pole(c->value(static_cast<int>(i)));
            out << "\n";
        }
    }
    std::vector<std::string> relacje;
    for (const jet::RelationInfo& r : db->catalog().relations()) {
        std::ostringstream x;
        x << "relacja " << r.name << " " << r.table << "(";
        for (const auto& k : r.columns) x << " " << k;
        x << " ) <- " << r.foreign_table << "(";
        for (const auto& k : r.foreign_columns) x << " " << k;
        relacje.push_back(x.str() + " )\n");
    }
    std::sort(relacje.begin(), relacje.end());
    for (const std::string& x : relacje) out << x;
    db->close();
    std::string s = out.str();
    zastap(s, folder.string(), "<folder>");
    return s;
}

}  // namespace droga
