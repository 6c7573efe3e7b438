// The one failure type of the engine stand-in and of every layer above it.
//
// A failure carries the provider's number (an HRESULT such as 0x80040E14) and its
// description, the way a VB error carries Err.Number and Err.Description. The
// executors of the program turn it into result texts; nothing else inspects it.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace jet {

// The provider's numbers that the program tests, as unsigned HRESULTs.
namespace hr {
inline constexpr uint32_t Unspecified = 0x80004005;      // lost/locked database, duplicates, bad file
inline constexpr uint32_t Syntax = 0x80040E14;           // syntax or schema error
inline constexpr uint32_t MultipleStep = 0x80040E21;     // multiple-step operation failed
inline constexpr uint32_t NoSuchTable = 0x80040E37;      // table or view does not exist
inline constexpr uint32_t TooLong = 0x80040E57;          // data too long for the field
inline constexpr uint32_t MissingParameter = 0x80040E10; // unknown column: parameter without value
inline constexpr uint32_t TypeMismatch = 0x80040E07;     // value cannot be converted
inline constexpr uint32_t WrongPassword = 0x80040E4D;    // authentication failed
inline constexpr uint32_t NoCurrentRecord = 0x800A0BCD;  // ADO: BOF or EOF is True
inline constexpr uint32_t ItemNotFound = 0x800A0CC1;     // ADO: item not found in the collection
inline constexpr uint32_t NotAllowed = 0x800A0CB3;       // ADO: operation not allowed in this context
inline constexpr uint32_t ObjectClosed = 0x800A0E78;     // ADO: object is closed
inline constexpr uint32_t ObjectOpen = 0x800A0E79;       // ADO: object is open
}  // namespace hr

// Every condition the engine reports. The number and the description of each are
// kept in one table (error.cpp); a description may take up to two arguments, put
// in place of "{1}" and "{2}".
enum class Fault {
    SyntaxError,            // {1}: where ("CREATE TABLE statement", "FROM clause", ...)
    SyntaxInExpression,     // {1}: the expression text
    TableExists,            // {1}: table
    FieldExists,            // {1}: field, {2}: table
    IndexExists,            // {1}: index
    PrimaryKeyExists,       // (no argument)
    NoSuchTable,            // {1}: table, in a query
    DropMissingTable,       // {1}: table, in DROP TABLE
    NoSuchField,            // {1}: field, {2}: table (DROP COLUMN, rename)
    NoSuchIndex,            // {1}: index, {2}: table
    FieldInIndex,           // {1}: field
    MissingParameter,       // unknown name in a query
    AmbiguousField,         // {1}: a field name that more than one table read has
    UndefinedFunction,      // {1}: a function name the engine does not know
    UnknownInsertField,     // {1}: an INSERT INTO field the table does not have
    ValuesCount,            // INSERT INTO: values and destination fields differ in number
    TooLong,                // text too long for its column
    TypeMismatch,           // value that cannot be converted / text compared with a number
    Duplicate,              // duplicate values in a unique index or primary key
    NullInKey,              // Null in a primary key column
    RequiredNull,           // {1}: table.field declared not null / required
    ZeroLength,             // {1}: table.field that does not allow ""
    DivisionByZero,         // arithmetic
    Overflow,               // numeric overflow on conversion
    NoNumber,               // no number as a result (negative ^ fraction): invalid call
    TableLocked,            // {1}: table, another process holds it
    TableInUse,             // a statement of this process still reads a table that a
                            // statement other than a drop or a change of a table met
    FileLocked,             // the file cannot be locked
    FileNotFound,           // {1}: path
    NotReadable,            // {1}: path the process may not read
    ReadOnlyFolder,         // {1}: path in a folder or file system that cannot be written
    PathTooLong,            // {1}: path longer than the engine or the system takes
    DiskFull,               // a write found no space left on the disk
    IoError,                // the system failed a read, a write or a flush of the file
    OutOfMemory,            // the system gave no memory for the engine's work
    CannotOpen,             // {1}: path of a database whose file (or its log) cannot be opened
    UnrecognizedDatabase,   // {1}: path
    DamagedDatabase,        // {1}: path, {2}: what is wrong (the catalog breaks its rules)
    FolderNotFile,          // {1}: path of a folder given as the database file
    FileNotFolder,          // {1}: path, {2}: a file on the path where a folder should be
    WrongPassword,          // database password does not match
    BadProvider,            // {1}: provider name in the connection string
    NoCurrentRecord,        // ADO: BOF or EOF
    ItemNotFound,           // ADO/DAO: {1}: name
    NotUpdatable,           // ADO: {1}: field or recordset cannot be updated
    ObjectClosed,           // ADO: the connection or recordset is closed
    ObjectOpen,             // ADO: Open on a connection or recordset that is open
    BadConnectionString,    // ADO: {1}: the connection string cannot be read
    ReadOnlyDatabase,       // the file cannot be written
    DatabaseExists,         // {1}: path, when creating a database file
    TooManyCounters,        // a table with more than one counter column
    TooManyFields,          // a table of more columns than a table may have (255)
    NulCharacter,           // {1}: where ("string", "bracketed name", ...), {2}: position
    NoTransaction,          // commit or rollback without a transaction
    TooComplex,             // a statement nested or chained past what the engine takes
    UnitRolledBack,         // a write after a failure rolled the open work unit back
    Interrupted,            // the user stopped the statement (Database::interrupt)
    Internal,               // {1}: what went wrong inside the engine
};

class Error : public std::runtime_error {
public:
    Error(uint32_t number, std::string description);
    // The failure of an engine condition (make_error).
    Error(Fault fault, uint32_t number, std::string description);

    uint32_t number() const { return number_; }
    // The engine condition this failure reports; nullopt for a failure built from a
    // number and a description alone.
    std::optional<Fault> fault() const { return fault_; }
    // The number as VB's Err.Number shows it: a signed 32-bit value (-2147217900).
    int32_t signed_number() const { return static_cast<int32_t>(number_); }
    const std::string& description() const { return description_; }

private:
    uint32_t number_;
    std::string description_;
    std::optional<Fault> fault_;
};

// The number and the description template of a condition.
uint32_t fault_number(Fault f);
std::string_view fault_template(Fault f);

// True for the failure of a value that cannot be converted or computed: TypeMismatch,
// Overflow, DivisionByZero, NoNumber.
bool conversion_failure(const Error& e);

// The failure as a statement reports it: a value that cannot be converted or computed
// (conversion_failure) fails the statement with 0x80040E07, as a type mismatch does
// (0x80004005 would read as a lost connection); any other failure as it is.
Error statement_failure(const Error& e);

// True for a failure of the environment rather than of the statement: the file locked
// by another process, the disk full, the memory exhausted, the database or its folder
// read-only, an I/O error, a file that cannot be opened, a damaged file or one that is
// not a database, a work unit that such a failure rolled back; and a table held by an
// open statement of the process, met where no drop or change of a table met it
// (TableInUse). No statement expects one, so no executor's rule or quiet flag absorbs it.
// Decided by the number and the condition's description template alone (never by a
// message of SQLite's), so that a failure carried as a result text is classed as the
// raised one.
bool environment_failure(uint32_t number, std::string_view description);
bool environment_failure(const Error& e);

// True for the failure of a file that another process holds locked (FileLocked).
bool file_locked(const Error& e);

// The failure f of a unique index or key over its rows (Duplicate: duplicate values;
// NullInKey: a Null in a primary key): Jet's text, then " Table and key: " and key
// ("TABLE (column, column)") when key is not "".
Error key_error(Fault f, std::string_view key);

// Builds the failure of a condition with its arguments in place.
Error make_error(Fault f, std::string_view arg1 = {}, std::string_view arg2 = {});
[[noreturn]] void raise(Fault f, std::string_view arg1 = {}, std::string_view arg2 = {});

}  // namespace jet
