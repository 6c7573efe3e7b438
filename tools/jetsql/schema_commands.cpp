#include "schema_commands.h"

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "dao/dao.h"
#include "jet/text.h"
#include "jet/types.h"

namespace jetsql {

namespace {

std::string joined(const std::vector<std::string>& names) {
    std::string s;
    for (const std::string& n : names) s += (s.empty() ? "" : ", ") + n;
    return s;
}

// Pads to a width counted in characters, so that Polish names line up.
std::string padded(const std::string& s, size_t width) {
    size_t n = jet::text::length(s);
    return n >= width ? s : s + std::string(width - n, ' ');
}

void print_columns(const dao::TableDef& t, std::ostream& out) {
    std::vector<dao::Field> fields;
    size_t width = 0;
    for (int i = 0; i < t.FieldCount(); ++i) {
        fields.push_back(t.Fields(i));
        width = std::max(width, jet::text::length(fields.back().Name()));
    }
    out << "Columns:\n";
    if (fields.empty()) out << "  (none)\n";
    for (const dao::Field& f : fields) {
        const int type = f.Type();
        out << "  " << padded(f.Name(), width) << "  "
            << padded(std::string(jet::data_type_name(static_cast<jet::DataType>(type))), 8) << ' '
            << f.Size();
        if (f.Attributes() & dao::dbAutoIncrField) out << "  counter";
        if (!f.DefaultValue().empty()) out << "  default " << f.DefaultValue();
        if ((type == dao::dbText || type == dao::dbMemo) && f.AllowZeroLength())
            out << "  zero-length";
        out << '\n';
    }
}

void print_indexes(const dao::TableDef& t, std::ostream& out) {
    out << "Indexes:\n";
    const std::vector<dao::Index> indexes = t.Indexes();
    if (indexes.empty()) out << "  (none)\n";
    for (const dao::Index& ix : indexes) {
        out << "  " << ix.Name;
        if (ix.Primary) out << "  primary";
        if (ix.Unique) out << "  unique";
        if (ix.IgnoreNulls) out << "  ignore-nulls";
        out << "  (" << joined(ix.Fields) << ")\n";
    }
}

void print_relations(const dao::Database& db, const std::string& table, std::ostream& out) {
    out << "Relations:\n";
    bool any = false;
    for (const dao::Relation& r : db.Relations()) {
        if (!jet::text::same_name(r.Table, table) && !jet::text::same_name(r.ForeignTable, table))
            continue;
        out << "  " << r.Name << "  " << r.Table << " (" << joined(r.Fields) << ") -> "
            << r.ForeignTable << " (" << joined(r.ForeignFields) << ")\n";
        any = true;
    }
    if (!any) out << "  (none)\n";
}

}  // namespace

void print_every_schema(const dao::Database& db, std::ostream& out) {
    bool first = true;
    for (int i = 0; i < db.TableDefCount(); ++i) {
        const dao::TableDef t = db.TableDefs(i);
        if (t.IsSystem()) continue;
        if (!first) out << '\n';
        print_schema(db, t.Name(), out);
        first = false;
    }
}

void print_tables(const dao::Database& db, std::ostream& out) {
    for (int i = 0; i < db.TableDefCount(); ++i) {
        const dao::TableDef t = db.TableDefs(i);
        out << t.Name() << (t.IsSystem() ? " (system)" : "") << '\n';
    }
}

void print_schema(const dao::Database& db, std::string_view table, std::ostream& out) {
    const dao::TableDef t = db.TableDefs(table);
    // Built whole before printing, so that a failure prints nothing.
    std::ostringstream s;
    s << "Table " << t.Name() << (t.IsSystem() ? " (system)" : "") << '\n';
    print_columns(t, s);
    print_indexes(t, s);
    print_relations(db, t.Name(), s);
    out << s.str();
}

}  // namespace jetsql
