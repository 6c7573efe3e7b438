// The catalog: what Jet knows of a database and SQLite does not.
//
// Each Jet table is an SQLite table with an internal name ("t<id>") whose columns
// have internal names ("c<id>"); the catalog maps Jet names (compared without
// regard to case, Polish letters included) to them and keeps each column's Jet
// type, size, counter flag, default (as Jet text) and zero-length permission; each
// table's indexes with their Jet names (an index name belongs to its table) and
// their Primary, Unique, IgnoreNulls and Required flags; the relations; and the
// database's format version, password and locale. It lives in tables of the same
// file whose names begin with "MSys", so that listings treat them as system tables.
//
// Schema changes go through this class only: each writes the SQLite schema and the
// catalog tables in the current transaction and bumps version(), which keys the
// translation cache.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "jet/types.h"

struct sqlite3;

namespace jet {

// The most columns a table may have.
inline constexpr size_t kMaxFields = 255;

struct ColumnInfo {
    int64_t id = 0;               // stable across renames
    std::string name;             // Jet name
    std::string sql_name;         // SQLite column name
    DataType type = DataType::Text;
    int size = 0;                 // Text: characters (1..255); other types: DAO's Size in bytes
    bool counter = false;         // engine-numbered Long
    std::string default_text;     // DefaultValue as Jet keeps it; "" when none
    bool allow_zero_length = true;
    bool required = false;        // NOT NULL
};

struct IndexColumnInfo {
    int64_t column_id = 0;
    bool descending = false;
};

struct IndexInfo {
    int64_t id = 0;
    std::string name;             // Jet name, unique within its table
    std::string sql_name;         // SQLite index name
    bool primary = false;
    bool unique = false;          // primary implies unique
    bool ignore_nulls = false;
    bool required = false;        // WITH DISALLOW NULL (and primary)
    std::vector<IndexColumnInfo> columns;
};

struct RelationInfo {
    int64_t id = 0;
    std::string name;
    std::string table;                   // the referenced (primary) table
    std::vector<std::string> columns;
    std::string foreign_table;           // the referencing table
    std::vector<std::string> foreign_columns;
};

struct TableInfo {
    int64_t id = 0;
    std::string name;
    std::string sql_name;
    std::vector<ColumnInfo> columns;     // in the table's column order
    std::vector<IndexInfo> indexes;

    const ColumnInfo* column(std::string_view jet_name) const;
    const ColumnInfo* column_by_id(int64_t id) const;
    const IndexInfo* index(std::string_view jet_name) const;
    const IndexInfo* primary_key() const;
    const ColumnInfo* counter_column() const;
};

// A column to create or add, from DDL or from SELECT ... INTO.
struct ColumnSpec {
    std::string name;
    DataType type = DataType::Text;
    int size = 0;
    bool counter = false;
    bool required = false;
    std::string default_text;
    bool allow_zero_length = true;
};

struct IndexSpec {
    std::string name;
    std::vector<std::pair<std::string, bool>> columns;  // Jet column name, descending
    bool primary = false;
    bool unique = false;
    bool ignore_nulls = false;
    bool required = false;
};

struct DatabaseProperties {
    std::string format_version = "4.0";  // "4.0" Jet 4 (Access 2000); "3.0" Access 97
    std::string locale;                  // e.g. ";LANGID=0x0415;CP=1250;COUNTRY=0"
    std::string password;                // "" when the file has none
};

// True for a format version the engine keeps: "4.0" or "3.0".
bool known_format_version(std::string_view v);

class Catalog {
public:
    explicit Catalog(sqlite3* db);
    ~Catalog();

    // Creates the catalog tables in a new, empty file.
    void initialize(const DatabaseProperties& props);
    // Reads the catalog of an existing file, as one committed state, and checks its
    // rules: table names unique, column names unique within their table, every table,
    // column and index present in the file, type codes known, NextId above every id in
    // use and with a number left for a new object, the format version known. Raises
    // UnrecognizedDatabase when the file has no catalog of ours, DamagedDatabase (saying
    // what is wrong) when the catalog breaks one of its rules, and a failure of the file
    // itself (locked, failing, full) as what it is. On failure the model stays as it was
    // and is stale until a load succeeds.
    void load(std::string_view path_for_messages);
    // True after a load that failed: the model may then disagree with the file, and
    // nothing may be written on it until a load succeeds.
    bool stale() const;
    // Raises the failure of that load when the model is stale.
    void refuse_if_stale() const;

    uint64_t version() const { return version_; }
    const DatabaseProperties& properties() const { return props_; }

    // Lookups; nullptr when missing. Names compare without regard to case.
    const TableInfo* table(std::string_view jet_name) const;
    // Every user table, in DAO's order (by name without regard to case).
    std::vector<const TableInfo*> tables() const;
    // The SQLite names of every user table, in no particular order (cheaper than
    // tables(), which sorts by Jet name).
    std::vector<std::string> sql_names() const;
    const std::vector<RelationInfo>& relations() const { return relations_; }
    // The catalog's own tables, named as listings show them (all begin with "MSys").
    std::vector<std::string> system_table_names() const;

    // Schema changes. Each raises the Jet failure the engine reports for it
    // (TableExists, FieldExists, IndexExists, PrimaryKeyExists, DropMissingTable,
    // NoSuchField, NoSuchIndex, FieldInIndex, Duplicate, NullInKey ...). A failure of
    // the catalog's own bookkeeping (its tables or the SQLite schema refusing what the
    // catalog holds true) raises DamagedDatabase; a transaction that SQLite rolled back
    // inside a change (a write to the file failed) raises the file's failure at once and
    // nothing more is run. On failure the file is as it was before the change, and the
    // model is read again from it; a failure of that reading is raised in place of a
    // failure of the statement's own rows (see schema_change).
    const TableInfo& create_table(std::string_view name, const std::vector<ColumnSpec>& columns);
    void drop_table(std::string_view name);
    void rename_table(std::string_view name, std::string_view new_name);
    void add_column(std::string_view table, const ColumnSpec& column);
    // A dropped column leaves the catalog at once; its values stay in the SQLite
    // table until drop_leftover_columns rebuilds it (once for all its dropped
    // columns), which the session does before each commit.
    void drop_column(std::string_view table, std::string_view column);
    // Rebuilds the SQLite tables that still hold dropped columns (only the one named,
    // when given) without them, their rows, rowids and indexes kept; returns the
    // tables rebuilt. On failure the table stays as it was (and is tried again next
    // time) and the failure is raised.
    std::vector<std::string> drop_leftover_columns(const std::string& only = "");
    void rename_column(std::string_view table, std::string_view column, std::string_view new_name);
    void alter_column(std::string_view table, std::string_view column, DataType type, int size);
    void set_default(std::string_view table, std::string_view column, std::string_view default_text);
    void set_allow_zero_length(std::string_view table, std::string_view column, bool allow);
    void set_required(std::string_view table, std::string_view column, bool required);
    void create_index(std::string_view table, const IndexSpec& index);
    void drop_index(std::string_view table, std::string_view index);
    void add_relation(const RelationInfo& relation);
    void drop_relation(std::string_view name);
    void set_format_version(std::string_view v);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
    sqlite3* db_;
    uint64_t version_ = 1;
    DatabaseProperties props_;
    std::vector<std::unique_ptr<TableInfo>> tables_;
    std::unordered_map<std::string, TableInfo*> by_name_;  // folded name -> table
    std::vector<RelationInfo> relations_;
};

}  // namespace jet
