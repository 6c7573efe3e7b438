#include "jet/error.h"

#include <algorithm>
#include <array>

namespace jet {

namespace {

struct FaultRow {
    Fault fault;
    uint32_t number;
    std::string_view text;
};

// The engine's conditions, their numbers and their descriptions in the engine's words.
// The executors of the program match some of these fragments ("already exists",
// "No such index", "There is no field", "duplicate values", "doesn't exist",
// "The database engine couldn't lock table"): keep them as they stand.
constexpr std::array kFaults = {
    FaultRow{Fault::SyntaxError, hr::Syntax, "Syntax error in {1}."},
    FaultRow{Fault::SyntaxInExpression, hr::Syntax,
             "Syntax error (missing operator) in query expression '{1}'."},
    FaultRow{Fault::TableExists, hr::Syntax, "Table '{1}' already exists."},
    FaultRow{Fault::FieldExists, hr::Syntax, "Field '{1}' already exists in table '{2}'."},
    FaultRow{Fault::IndexExists, hr::Syntax, "Index '{1}' already exists."},
    FaultRow{Fault::PrimaryKeyExists, hr::Syntax, "Primary key already exists."},
    FaultRow{Fault::NoSuchTable, hr::NoSuchTable,
             "The Microsoft Jet database engine cannot find the input table or query '{1}'.  "
             "Make sure it exists and that its name is spelled correctly."},
    FaultRow{Fault::DropMissingTable, hr::NoSuchTable, "Table '{1}' doesn't exist."},
    FaultRow{Fault::NoSuchField, hr::Syntax, "There is no field named '{1}' in table '{2}'."},
    FaultRow{Fault::NoSuchIndex, hr::Syntax, "No such index '{1}' on table '{2}'."},
    FaultRow{Fault::FieldInIndex, hr::Syntax,
             "Cannot delete field '{1}'. It is part of an index or is needed by the system."},
    FaultRow{Fault::MissingParameter, hr::MissingParameter,
             "No value given for one or more required parameters. (Nie podano wartości dla "
             "jednego lub więcej wymaganych parametrów.)"},
    FaultRow{Fault::AmbiguousField, hr::Unspecified,
             "The specified field '{1}' could refer to more than one table listed in the FROM "
             "clause of your SQL statement."},
    FaultRow{Fault::UndefinedFunction, hr::Syntax, "Undefined function '{1}' in expression."},
    FaultRow{Fault::UnknownInsertField, hr::Syntax,
             "The INSERT INTO statement contains the following unknown field name: '{1}'.  Make "
             "sure you have typed the name correctly, and try the operation again."},
    FaultRow{Fault::ValuesCount, hr::Syntax,
             "Number of query values and destination fields are not the same."},
    FaultRow{Fault::TooLong, hr::TooLong,
             "The field is too small to accept the amount of data you attempted to add.  "
             "Try inserting or pasting less data."},
    FaultRow{Fault::TypeMismatch, hr::TypeMismatch, "Data type mismatch in criteria expression."},
    FaultRow{Fault::Duplicate, hr::Unspecified,
             "The changes you requested to the table were not successful because they would "
             "create duplicate values in the index, primary key, or relationship.  Change the "
             "data in the field or fields that contain duplicate data, remove the index, or "
             "redefine the index to permit duplicate entries and try again."},
    FaultRow{Fault::NullInKey, hr::Unspecified,
             "Index or primary key cannot contain a Null value."},
    FaultRow{Fault::RequiredNull, hr::Unspecified,
             "The field '{1}' cannot contain a Null value because the Required property for "
             "this field is set to True.  Enter a value in this field."},
    FaultRow{Fault::ZeroLength, hr::Unspecified, "Field '{1}' cannot be a zero-length string."},
    FaultRow{Fault::DivisionByZero, hr::Unspecified, "Division by zero."},
    FaultRow{Fault::Overflow, hr::Unspecified, "Overflow."},
    FaultRow{Fault::NoNumber, hr::Unspecified, "Invalid procedure call or argument"},
    FaultRow{Fault::TableLocked, hr::Unspecified,
             "The database engine couldn't lock table '{1}' because it is already in use by "
             "another person or process."},
    FaultRow{Fault::TableInUse, hr::Unspecified,
             "A table is in use by a statement of this process that has not finished."},
    FaultRow{Fault::FileLocked, hr::Unspecified, "Could not lock file."},
    FaultRow{Fault::FileNotFound, hr::Unspecified, "Could not find file '{1}'."},
    FaultRow{Fault::NotReadable, hr::Unspecified,
             "Cannot open the file '{1}': you do not have permission to read it."},
    FaultRow{Fault::ReadOnlyFolder, hr::Unspecified,
             "Cannot update '{1}': its folder or file system is read-only."},
    FaultRow{Fault::PathTooLong, hr::Unspecified,
             "The path '{1}' is too long: the database engine takes paths of at most 504 "
             "bytes."},
    FaultRow{Fault::DiskFull, hr::Unspecified, "Not enough space on disk."},
    FaultRow{Fault::IoError, hr::Unspecified, "Disk or network error."},
    FaultRow{Fault::OutOfMemory, hr::Unspecified, "Out of memory."},
    FaultRow{Fault::CannotOpen, hr::Unspecified,
             "The database engine cannot open the file '{1}'.  It is already opened "
             "exclusively by another user, or you need permission to view its data."},
    FaultRow{Fault::UnrecognizedDatabase, hr::Unspecified, "Unrecognized database format '{1}'."},
    FaultRow{Fault::DamagedDatabase, hr::Unspecified, "The database '{1}' is damaged: {2}."},
    FaultRow{Fault::FolderNotFile, hr::Unspecified,
             "Cannot open '{1}': it is a folder, not a database file."},
    FaultRow{Fault::FileNotFolder, hr::Unspecified,
             "Cannot open '{1}': '{2}' is a file, not a folder."},
    FaultRow{Fault::WrongPassword, hr::WrongPassword, "Not a valid password."},
    FaultRow{Fault::BadProvider, hr::Unspecified,
             "Provider cannot be found. It may not be properly installed: '{1}'."},
    FaultRow{Fault::NoCurrentRecord, hr::NoCurrentRecord,
             "Either BOF or EOF is True, or the current record has been deleted. Requested "
             "operation requires a current record."},
    FaultRow{Fault::ItemNotFound, hr::ItemNotFound,
             "Item cannot be found in the collection corresponding to the requested name or "
             "ordinal: '{1}'."},
    FaultRow{Fault::NotUpdatable, hr::NotAllowed,
             "Operation is not allowed in this context: '{1}' cannot be updated."},
    FaultRow{Fault::ObjectClosed, hr::ObjectClosed,
             "Operation is not allowed when the object is closed."},
    FaultRow{Fault::ObjectOpen, hr::ObjectOpen,
             "Operation is not allowed when the object is open."},
    FaultRow{Fault::BadConnectionString, hr::Unspecified,
             "Format of the initialization string is not valid: {1}."},
    FaultRow{Fault::ReadOnlyDatabase, hr::Unspecified,
             "Cannot update.  Database or object is read-only."},
    FaultRow{Fault::DatabaseExists, hr::Unspecified, "Database '{1}' already exists."},
    FaultRow{Fault::TooManyCounters, hr::Syntax,
             "Resultant table not allowed to have more than one AutoNumber field."},
    FaultRow{Fault::TooManyFields, hr::Unspecified, "Too many fields defined."},
    FaultRow{Fault::NulCharacter, hr::Syntax,
             "Syntax error: NUL character (byte 0) in {1} at position {2}."},
    FaultRow{Fault::NoTransaction, hr::Unspecified, "No transaction is active."},
    FaultRow{Fault::TooComplex, hr::Syntax, "Query is too complex."},
    FaultRow{Fault::UnitRolledBack, hr::Unspecified,
             "A failure rolled back every change made since the last commit; the work must be "
             "done again from its start."},
    FaultRow{Fault::Interrupted, hr::Unspecified, "Operation canceled by user."},
    FaultRow{Fault::Internal, hr::Unspecified, "Unexpected engine failure: {1}."},
};

const FaultRow& row_of(Fault f) {
    for (const auto& r : kFaults)
        if (r.fault == f) return r;
    return kFaults.back();
}

std::string fill(std::string_view tpl, std::string_view a1, std::string_view a2) {
    std::string out;
    out.reserve(tpl.size() + a1.size() + a2.size());
    for (size_t i = 0; i < tpl.size(); ++i) {
        if (tpl[i] == '{' && i + 2 < tpl.size() && tpl[i + 2] == '}' &&
            (tpl[i + 1] == '1' || tpl[i + 1] == '2')) {
            out += tpl[i + 1] == '1' ? a1 : a2;
            i += 2;
        } else {
            out += tpl[i];
        }
    }
    return out;
}

// True when text is the template's text with its arguments in place: the template's
// fixed parts in order, each argument any text.
bool fills_template(std::string_view tpl, std::string_view text) {
    size_t pos = 0;
    for (bool first = true;; first = false) {
        const size_t arg = tpl.find('{');
        const std::string_view part = tpl.substr(0, arg);
        if (arg == std::string_view::npos)  // the last fixed part ends the text
            return text.size() >= pos + part.size() && text.ends_with(part) &&
                   (!first || text.size() == part.size());
        const size_t at =
            first ? (text.starts_with(part) ? 0 : std::string_view::npos) : text.find(part, pos);
        if (at == std::string_view::npos) return false;
        pos = at + part.size();
        tpl.remove_prefix(std::min(arg + 3, tpl.size()));
    }
}

// The environment's conditions. A work unit rolled back by such a failure fails every
// later write with UnitRolledBack, which is no statement's failure either. A table that
// the process's own open statement holds is expected by a drop or a change of a table
// alone, which reports it as TableLocked: met by any other statement it is no
// statement's failure either.
constexpr std::array kEnvironmentFaults = {Fault::FileLocked,      Fault::DiskFull,
                                           Fault::IoError,         Fault::OutOfMemory,
                                           Fault::CannotOpen,      Fault::ReadOnlyDatabase,
                                           Fault::ReadOnlyFolder,  Fault::UnrecognizedDatabase,
                                           Fault::DamagedDatabase, Fault::UnitRolledBack,
                                           Fault::TableInUse,      Fault::Interrupted};

}  // namespace

Error::Error(uint32_t number, std::string description)
    : std::runtime_error(description), number_(number), description_(std::move(description)) {}

Error::Error(Fault fault, uint32_t number, std::string description)
    : Error(number, std::move(description)) {
    fault_ = fault;
}

uint32_t fault_number(Fault f) {
    return row_of(f).number;
}
std::string_view fault_template(Fault f) {
    return row_of(f).text;
}

Error make_error(Fault f, std::string_view arg1, std::string_view arg2) {
    const auto& r = row_of(f);
    return Error(f, r.number, fill(r.text, arg1, arg2));
}

void raise(Fault f, std::string_view arg1, std::string_view arg2) {
    throw make_error(f, arg1, arg2);
}

bool environment_failure(uint32_t number, std::string_view description) {
    if (number != hr::Unspecified) return false;
    return std::any_of(kEnvironmentFaults.begin(), kEnvironmentFaults.end(),
                       [&](Fault f) { return fills_template(fault_template(f), description); });
}

bool environment_failure(const Error& e) {
    return environment_failure(e.number(), e.description());
}

bool file_locked(const Error& e) {
    return e.fault() == Fault::FileLocked;
}

bool conversion_failure(const Error& e) {
    const auto f = e.fault();
    return f == Fault::TypeMismatch || f == Fault::Overflow || f == Fault::DivisionByZero ||
           f == Fault::NoNumber;
}

Error statement_failure(const Error& e) {
    if (!conversion_failure(e)) return e;
    return Error(*e.fault(), hr::TypeMismatch, e.description());
}

Error key_error(Fault f, std::string_view key) {
    Error e = make_error(f);
    if (key.empty()) return e;
    return Error(f, e.number(), e.description() + " Table and key: " + std::string(key) + ".");
}

}  // namespace jet
