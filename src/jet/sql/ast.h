// The syntax tree of a Jet SQL statement, as the parser builds it.
//
// The tree keeps names as written (brackets removed, case kept): resolution against
// the catalog is the binder's work. Every node carries the offset of its first
// character in the statement text, for error messages.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "jet/types.h"

namespace jet::sql {

// The deepest nesting of a statement that the parser and the binder take: parentheses,
// prefix operators, function arguments, the operands of a tighter operator, select
// aliases used in later items, joined tables. Deeper text fails with TooComplex
// (0x80040E14) rather than putting the stack at risk. A chain of one operator
// ("a + b + c + ...") does not nest: it may be as long as the text.
inline constexpr int kMaxNesting = 200;

struct Expr;
using ExprPtr = std::unique_ptr<Expr>;
struct Select;

// ---------------------------------------------------------------- expressions

enum class ExprKind : uint8_t {
    Null,      // Null
    Boolean,   // True / False: boolean
    Integer,   // whole-number literal: integer
    Number,    // literal with a decimal point or exponent: number (text keeps the spelling)
    String,    // 'text' with '' folded to ': text
    Date,      // #...#: date (the parsed parts)
    Column,    // [qualifier.]name; qualifier empty when not written
    Star,      // * or qualifier.*  (select lists, Count(*), DELETE t.*)
    Unary,     // op args[0]
    Binary,    // args[0] op args[1]
    Between,   // args[0] [NOT] BETWEEN args[1] AND args[2]
    IsNull,    // args[0] IS [NOT] NULL
    InList,    // args[0] [NOT] IN (args[1..])
    Function,  // name(args...); aggregates too (Sum, Count, Max, Min, First, Last, Avg)
};

enum class Op : uint8_t {
    None,
    // unary
    Neg, Plus, Not,
    // arithmetic and text
    Add, Sub, Mul, Div, IntDiv, Mod, Pow, Concat,
    // comparison
    Eq, Ne, Lt, Le, Gt, Ge, Like,
    // logic
    And, Or, Xor, Eqv, Imp,
};

// The parts of a date literal as written; the binder turns them into a date serial.
// The parser applies Jet's reading: month first, unless the first number cannot be a
// month (then day first). A two-digit year is kept as written (the binder maps it).
struct DateParts {
    int year = 0, month = 0, day = 0;
    int hour = 0, minute = 0, second = 0;
    bool has_date = true;
    bool has_time = false;
};

struct Expr {
    ExprKind kind;
    Op op = Op::None;
    uint32_t pos = 0;          // offset of the first character in the statement
    bool negated = false;      // NOT BETWEEN, IS NOT NULL, NOT IN, NOT LIKE
    bool parenthesized = false;

    bool boolean = false;      // Boolean
    int64_t integer = 0;       // Integer
    double number = 0;         // Number (and Integer, as a double)
    std::string text;          // String value; Number spelling; Function name; Column name
    std::string qualifier;     // Column/Star: the table or alias written before the dot
    DateParts date;            // Date
    bool distinct = false;     // Function: Count(DISTINCT x) is not Jet; kept false
    std::vector<ExprPtr> args; // operands, function arguments

    explicit Expr(ExprKind k, uint32_t p = 0) : kind(k), pos(p) {}
    // Releases the operands one by one: a long chain is a tree as deep as it is long.
    ~Expr();
    Expr(const Expr&) = delete;
    Expr& operator=(const Expr&) = delete;
};

// ---------------------------------------------------------------- table sources

enum class JoinType : uint8_t { Inner, Left, Right };

struct TableRef;
using TableRefPtr = std::unique_ptr<TableRef>;

struct TableRef {
    enum class Kind : uint8_t { Table, Join } kind = Kind::Table;
    uint32_t pos = 0;

    // Table: [database].[name] AS alias. database is the path of another file
    // (or of the open file itself), empty for the open database.
    std::string database;
    std::string name;
    std::string alias;

    // Join: left JOIN right ON condition
    JoinType join = JoinType::Inner;
    TableRefPtr left, right;
    ExprPtr on;
};

// ---------------------------------------------------------------- statements

struct SelectItem {
    ExprPtr expr;          // may be a Star
    std::string alias;     // AS alias, empty when not written
    uint32_t pos = 0;
};

struct OrderItem {
    ExprPtr expr;
    bool descending = false;
};

enum class Quantifier : uint8_t { All, Distinct, DistinctRow };

struct Select {
    uint32_t pos = 0;
    Quantifier quantifier = Quantifier::All;
    std::optional<int64_t> top;   // TOP n
    bool top_percent = false;     // TOP n PERCENT
    std::vector<SelectItem> items;
    std::string into;             // SELECT ... INTO table
    std::string into_database;    // IN 'path' / [path].[table] of the INTO target
    std::vector<TableRefPtr> from;  // comma-separated sources (cross product)
    ExprPtr where;
    std::vector<ExprPtr> group_by;
    ExprPtr having;
    std::vector<OrderItem> order_by;
};

struct Insert {
    uint32_t pos = 0;
    std::string database;             // [path].[table] target of another file
    std::string table;
    std::vector<std::string> columns; // empty: all columns in table order
    std::vector<std::vector<ExprPtr>> values;  // VALUES (...) rows; empty when select is set
    std::unique_ptr<Select> select;
};

struct Assignment {
    std::string qualifier;  // table or alias, may be empty
    std::string column;
    ExprPtr value;
    uint32_t pos = 0;
};

struct Update {
    uint32_t pos = 0;
    bool distinctrow = false;
    TableRefPtr target;                  // a table or a join tree
    std::vector<Assignment> assignments;
    ExprPtr where;
};

struct Delete {
    uint32_t pos = 0;
    bool distinctrow = false;
    std::string star_qualifier;  // DELETE t.* FROM ...: "t"; DELETE * / DELETE: ""
    std::vector<TableRefPtr> from;
    ExprPtr where;
};

// A column type as written in DDL: "TEXT(50)", "money", "int identity", "counter", ...
struct TypeSpec {
    DataType type = DataType::Text;
    int size = 0;          // Text: 1..255 (TEXT without size: 255); 0 for other types
    bool counter = false;  // counter, autoincrement, "int identity", identity
    std::string spelling;  // the type text as written, for messages
};

struct ColumnDef {
    uint32_t pos = 0;
    std::string name;
    TypeSpec type;
    std::optional<bool> not_null;   // "not null" -> true, "null" -> false, absent -> nullopt
    ExprPtr default_value;          // the last DEFAULT clause wins ("DEFAULT =0" too)
    std::string default_text;       // the default's source text as Jet keeps it ("0", "''")
    bool primary_key = false;       // inline PRIMARY KEY
    bool unique = false;            // inline UNIQUE
};

// CONSTRAINT name PRIMARY KEY (cols) | UNIQUE (cols) | FOREIGN KEY (cols) REFERENCES t (cols)
struct ConstraintDef {
    enum class Kind : uint8_t { PrimaryKey, Unique, ForeignKey } kind = Kind::PrimaryKey;
    uint32_t pos = 0;
    std::string name;
    std::vector<std::string> columns;
    std::string ref_table;
    std::vector<std::string> ref_columns;
};

struct CreateTable {
    uint32_t pos = 0;
    std::string table;
    std::vector<ColumnDef> columns;
    std::vector<ConstraintDef> constraints;
};

// In the statements below that name an existing table, database is the path written
// before it in [path].[table] (another file, or the open file itself), empty when
// not written.
struct AlterTable {
    enum class Action : uint8_t { AddColumns, DropColumn, AlterColumn, AddConstraint, DropConstraint };
    uint32_t pos = 0;
    std::string database;
    std::string table;
    Action action = Action::AddColumns;
    std::vector<ColumnDef> columns;   // AddColumns (one or more), AlterColumn (one)
    std::string column;               // DropColumn
    ConstraintDef constraint;         // AddConstraint
    std::string constraint_name;      // DropConstraint
};

struct IndexColumn {
    std::string name;
    bool descending = false;
};

enum class IndexOption : uint8_t { None, Primary, DisallowNull, IgnoreNull };

struct CreateIndex {
    uint32_t pos = 0;
    bool unique = false;
    std::string name;
    std::string database;
    std::string table;
    std::vector<IndexColumn> columns;
    IndexOption option = IndexOption::None;
};

struct DropIndex {
    uint32_t pos = 0;
    std::string name;
    std::string database;
    std::string table;
};

struct DropTable {
    uint32_t pos = 0;
    std::string database;
    std::string table;
};

using Statement = std::variant<Select, Insert, Update, Delete, CreateTable, AlterTable,
                               CreateIndex, DropIndex, DropTable>;

}  // namespace jet::sql
