// What the program calls of DAO: the engine, databases, table definitions, fields,
// indexes and relations, on the engine stand-in. A DAO database opened on a file
// shares the engine session of any ADO connection on that file, so both see each
// other's changes.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "jet/error.h"

namespace jet {
class Database;
struct ColumnInfo;
struct TableInfo;
}  // namespace jet

namespace dao {

inline constexpr int dbBoolean = 1;
inline constexpr int dbByte = 2;
inline constexpr int dbInteger = 3;
inline constexpr int dbLong = 4;
inline constexpr int dbCurrency = 5;
inline constexpr int dbSingle = 6;
inline constexpr int dbDouble = 7;
inline constexpr int dbDate = 8;
inline constexpr int dbText = 10;
inline constexpr int dbMemo = 12;
inline constexpr int dbAutoIncrField = 16;

class Database;

namespace detail {
struct TableState;
}

// A column of a table. The object follows its column through renames (made through
// it or through any other object) for as long as the column exists.
class Field {
  public:
    Field(std::shared_ptr<jet::Database> db, std::string table, std::string name);
    std::string Name() const;
    void SetName(std::string_view new_name);  // renames the column
    int Type() const;
    int Size() const;
    std::string DefaultValue() const;
    void SetDefaultValue(std::string_view v);  // keeps the column's values
    bool AllowZeroLength() const;
    void SetAllowZeroLength(bool allow);  // keeps the column's values
    int32_t Attributes() const;           // dbAutoIncrField for a counter

  private:
    friend class TableDef;
    Field(std::shared_ptr<jet::Database> db, int64_t table_id, int64_t column_id, std::string table,
          std::string name);
    const jet::ColumnInfo& column() const;

    std::shared_ptr<jet::Database> db_;
    int64_t table_id_ = 0;
    int64_t column_id_ = 0;
    std::string table_;  // names as last known, for messages
    std::string name_;
};

class Index {
  public:
    std::string Name;
    bool Primary = false;
    bool Unique = false;
    bool IgnoreNulls = false;
    std::vector<std::string> Fields;  // column names in index order
};

// A table definition. Copies of one TableDef share one object, as DAO's references
// do: a rename through any copy is seen by all of them. The Fields collection is
// taken when first used and keeps its members while columns are dropped and added
// through statements, so that a walk by position visits each original column once.
class TableDef {
  public:
    TableDef(std::shared_ptr<jet::Database> db, std::string name, bool system);
    std::string Name() const;
    void SetName(std::string_view new_name);  // renames the table (a case-only rename too)
    bool IsSystem() const;
    int FieldCount() const;
    Field Fields(int index) const;
    Field Fields(std::string_view name) const;
    std::vector<Index> Indexes() const;

  private:
    friend class Database;
    TableDef(std::shared_ptr<jet::Database> db, std::shared_ptr<detail::TableState> state);
    const jet::TableInfo& table() const;
    const std::vector<int64_t>& field_ids() const;

    std::shared_ptr<jet::Database> db_;
    std::shared_ptr<detail::TableState> state_;
};

struct Relation {
    std::string Name;
    std::string Table;                       // the referenced (primary) table
    std::string ForeignTable;                // the referencing table
    std::vector<std::string> Fields;         // columns of Table, in order
    std::vector<std::string> ForeignFields;  // the matching columns of ForeignTable
};

class Database {
  public:
    // A DAO database over an engine handle. Close closes the handle; otherwise it
    // closes with its last owner, so a view over a handle that a connection or the
    // shell holds leaves it open.
    explicit Database(std::shared_ptr<jet::Database> db);
    ~Database();

    // The table definitions in Jet's order: by name without regard to case, the
    // system tables (names beginning with "MSys") included. The collection is taken
    // when first used and kept for the life of this object, as DAO keeps it until
    // refreshed: tables dropped or created through statements meanwhile do not
    // shift the positions of a walk. By name, every table of the moment is found.
    int TableDefCount() const;
    TableDef TableDefs(int index) const;
    TableDef TableDefs(std::string_view name) const;

    std::vector<Relation> Relations() const;
    void DeleteRelation(std::string_view name);

    // Runs one statement; a failure raises its description.
    void Execute(std::string_view sql);
    // Properties by position; item 6 is the format version text ("3.0" or "4.0").
    std::string Properties(int index) const;
    std::string Name() const;  // the file's path
    void Close();

    jet::Database& engine();

  private:
    const std::vector<std::shared_ptr<detail::TableState>>& tabledefs() const;

    std::shared_ptr<jet::Database> db_;
    mutable std::vector<std::shared_ptr<detail::TableState>> tabledefs_;
    mutable bool tabledefs_taken_ = false;
};

class DBEngine {
  public:
    // Opens a database file (path only). When the file is open in this process
    // through ADO, the same engine session serves both.
    static std::shared_ptr<Database> OpenDatabase(std::string_view path);
    // Writes a fresh, defragmented copy of source at destination, with the catalog,
    // the format version and the password (the copy keeps the source's locale).
    // Raises when destination exists; a source in use by a transaction is refused,
    // one open in this process has its writes committed first.
    static void CompactDatabase(std::string_view source, std::string_view destination,
                                std::string_view locale = {});
    // Workspaces(0).CreateDatabase: a new file in the current format "4.0".
    static std::shared_ptr<Database> CreateDatabase(std::string_view path, std::string_view locale);

    // The database password DAO uses for files that have one (the program's own
    // password, set once at start-up: OpenDatabase takes no connect string).
    static void SetDefaultPassword(std::string_view password);
};

}  // namespace dao
