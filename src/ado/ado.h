// What the program calls of ADO: a Connection and Recordsets on the engine stand-in.
//
// Names follow ADO so that the program's code reads as it did on Windows. Failures
// raise jet::Error carrying the provider's number and description.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "jet/error.h"
#include "jet/value.h"

namespace jet {
class Database;
}

namespace ado {

using jet::Value;

inline constexpr int adUseServer = 2;
inline constexpr int adUseClient = 3;
inline constexpr int adOpenKeyset = 1;
inline constexpr int adOpenStatic = 3;
inline constexpr int adLockReadOnly = 1;
inline constexpr int adLockOptimistic = 3;
inline constexpr int adModeRead = 1;
inline constexpr int adModeReadWrite = 3;
inline constexpr int adModeShareDenyNone = 16;
inline constexpr int adAffectCurrent = 1;
inline constexpr int adAffectAll = 3;
inline constexpr int adAffectAllChapters = 4;
inline constexpr int adStateClosed = 0;
inline constexpr int adStateOpen = 1;

class Connection {
public:
    Connection();
    ~Connection();

    int Mode = adModeReadWrite;
    int CursorLocation = adUseClient;

    // Opens with an OLE DB connection string ("Provider=Microsoft.Jet.OLEDB.4.0;
    // Data source=...;Jet OLEDB:Database Password=...;..."). The provider must be
    // Microsoft.Jet.OLEDB.4.0. With Mode adModeRead (a caller that only reads), a file
    // that may not be written opens for reading, its writes failing (jet::Unwritable).
    void Open(std::string_view connection_string, std::string_view user = {},
              std::string_view password = {}, int options = -1);
    void Close();
    int State() const;

    // The provider's version text, read as a number by the program ("2.8").
    std::string Version() const;
    // Properties by position; item 7 is the data source (the database file's full path).
    std::string Properties(int index) const;

    // Runs one statement; records_affected receives the count for INSERT, UPDATE, DELETE.
    void Execute(std::string_view sql, int32_t* records_affected = nullptr, int options = -1);

    int BeginTrans();
    void CommitTrans();
    void RollbackTrans();

    // Commits the engine's grouped write transaction now (the version loop calls it
    // after each step's version write); a durable commit survives a power cut.
    void Checkpoint(bool durable = false);

    jet::Database& database();
    std::shared_ptr<jet::Database> shared_database();

private:
    std::shared_ptr<jet::Database> db_;
    std::string data_source_;
};

class Recordset;

// A field of the current record: read and, on an updatable recordset, written.
class Field {
public:
    Field(Recordset* rs, int index) : rs_(rs), index_(index) {}
    Value value() const;
    void set(const Value& v);
    Field& operator=(const Value& v) {
        set(v);
        return *this;
    }
    std::string Name() const;
    int Type() const;  // the Jet type (DAO numbering)
    int DefinedSize() const;

private:
    Recordset* rs_;
    int index_;
};

class Recordset {
public:
    Recordset();
    ~Recordset();

    int CursorLocation = adUseServer;
    int CacheSize = 1;

    void Open(std::string_view sql, Connection& conn, int cursor_type = adOpenStatic,
              int lock_type = adLockReadOnly, int options = -1);
    void Close();
    int State() const;

    int32_t RecordCount() const;
    bool Eof() const;
    bool Bof() const;
    void MoveNext();
    void MoveFirst();
    // Moves to the first record from the current one on (inclusive) that meets a
    // criterion "column = value" / "column > value" ...; EOF when none does.
    void Find(std::string_view criteria);

    int FieldCount() const;
    Field Fields(int index);
    Field Fields(std::string_view name);
    Field operator()(int index) { return Fields(index); }
    Field operator()(std::string_view name) { return Fields(name); }

    void AddNew();
    void Update();
    void UpdateBatch(int affect_records = adAffectAll);
    void CancelUpdate();
    void Delete();

    // Implementation, shared with Field.
    struct Impl;
    Impl& impl();

private:
    std::unique_ptr<Impl> impl_;
};

}  // namespace ado
