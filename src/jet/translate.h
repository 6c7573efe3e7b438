// The statement translator: binds a parsed SELECT, INSERT, UPDATE or DELETE against
// the catalog and emits the SQLite statements (and, where one statement cannot do
// it, a small plan of them) that give Jet's result. Internal to the engine.
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "jet/catalog.h"
#include "jet/database.h"
#include "jet/reports.h"
#include "jet/session.h"
#include "jet/sql/ast.h"
#include "jet/sqlvalue.h"
#include "jet/value.h"

namespace jet::detail {

// ---------------------------------------------------------------- binding

// One table read by a statement.
struct Source {
    const TableInfo* table = nullptr;
    std::string alias;      // the name the statement qualifies it with (alias or table name)
    std::string sql_alias;  // "s<n>" in the emitted SQL
    std::string sql_table;  // the SQLite table ("t<id>")
    bool nested = false;    // inside a parenthesised outer join: its rowid is out of reach
    int row_param = 0;      // > 0: columns read as the row whose rowid is parameter ?row_param
};

// An emitted expression with its inferred Jet type.
struct Typed {
    std::string sql;
    DataType type = DataType::Text;
    bool known = false;       // false: the Null literal (type unknown)
    bool cond = false;        // SQLite truth value 1/0; Jet's -1/0 is -(sql)
    bool aggregate = false;   // contains an aggregate function
    const ColumnInfo* column = nullptr;  // a plain column of source `source`
    int source = -1;
    std::optional<Value> constant;        // a literal, as written
    // SQL giving the value's Jet type code row by row, where rows differ: IIf and Nz
    // give the value they choose in that value's own type. "" when `type` holds for
    // every row. It is read together with typed_sql (Binder::typed_value).
    std::string type_sql;
    // The value as type_sql's companion, "" when sql serves: where the type is chosen
    // row by row, this form remembers the choice that computed the value, and type_sql
    // reads it (jet_choose, jet_keep, jet_chosen), so that the choice is computed once.
    std::string typed_sql;
    // A text some of whose rows are dates (IIf or Nz of a date and a text): compared,
    // sorted, grouped and read as the dates' texts (Binder::text_value).
    bool dated_text = false;
    std::string name;         // Jet's default name of a select item ("" when ExprNNNN)
    // column + offset: a whole-number column plus or minus a constant (offset_of is
    // the column's SQL, "" otherwise), so that a store checks the column's range only.
    std::string offset_of;
    DataType offset_type = DataType::Long;
    int64_t offset = 0;
    // A left-associative chain, so that a long one ("a + b + c + ...") neither nests
    // parentheses nor function calls past what SQLite's parser takes, nor makes an
    // expression deeper than SQLite's 1000 levels. Valid only while sql is still the
    // text it was made with (chain_size == sql.size()).
    //   chain: sql is "(" body ")" with body a chain of one SQLite operator class
    //     (kChain*) of chain_count operands; a left operand of the same class goes in
    //     without its parentheses. A chain whose grouping does not change its value
    //     (AND, OR, ||) goes on past kMaxChain operands in groups (chain_groups): sql
    //     is then "(" head "(" body "))", head the full groups "(g1) op (g2) op ".
    //   fold/fold_ops/fold_args: sql is one call of a folding function: '&' jet_concat,
    //     'a' jet_add, '$' jet_curfold (money arithmetic), 'd' jet_dblfold, 'f'
    //     jet_sglfold and 't' jet_datefold (arithmetic of Doubles, Singles and dates
    //     checked for its type's range) or '#' jet_numfold (other arithmetic past
    //     kMaxChain operands); for '$', 'd', 'f', 't' and '#' fold_ops holds one operator
    //     per step.
    //   fold_depth: the folding calls nested one in the first operand of the next
    //     along the chain's first operands (this one included).
    int chain = 0;
    int chain_count = 0;
    int chain_groups = 0;
    char fold = 0;
    int fold_depth = 0;
    std::string fold_ops;
    std::vector<std::string> fold_args;
    size_t chain_size = 0;
};

bool is_text(DataType t);  // Text or Memo

// Resolves names against the catalog and emits SQLite text. One Binder serves one
// statement; its parameters (constants bound rather than spelled) are numbered
// across every SQLite statement of the plan.
class Binder {
public:
    explicit Binder(Session& s) : session_(s), catalog_(s.catalog()) {}

    // Resolves a table; raises NoSuchTable.
    const TableInfo& table(std::string_view database, std::string_view name, uint32_t pos);
    // Adds the tables of a FROM item to the scope; returns the emitted FROM text.
    std::string from_item(const sql::TableRef& ref);
    // The emitted FROM clause of comma-separated items (cross product).
    std::string from_list(const std::vector<sql::TableRefPtr>& from);
    int add_source(const TableInfo& t, std::string_view alias);
    // A tree of inner joins as a chain of (table, condition) items.
    void inner_chain(const sql::TableRef& ref, std::vector<std::pair<std::string, std::string>>& items);
    // The emitted ON condition of a join, noted in on_sql and on_exprs.
    std::string join_condition(const sql::TableRef& ref);

    // Expressions.
    Typed expr(const sql::Expr& e);
    static std::string value_sql(const Typed& t);  // Jet value (-1/0 for truth values)
    static std::string cond_sql(const Typed& t);   // SQLite truth value
    // The value for a consumer that reads its type code (type_sql) with it, in that order.
    static std::string typed_value(const Typed& t);
    // The value as a text is compared, sorted and read: a dated_text's dates as texts.
    std::string text_value(const Typed& t) const;
    // The value converted for storing into a column (jet_store unless the value needs
    // no conversion).
    std::string store_sql(const Typed& v, const TableInfo& t, const ColumnInfo& c);
    // The column's default as a stored value ("NULL" when none).
    std::string default_sql(const TableInfo& t, const ColumnInfo& c);

    // A constant bound as a parameter: returns "?N".
    std::string param(const Value& v);
    const std::vector<Value>& params() const { return params_; }
    // Reserves a parameter slot that the plan binds itself (left Empty in params());
    // returns its index.
    int reserve_param() {
        params_.emplace_back();
        return static_cast<int>(params_.size());
    }

    std::vector<Source>& sources() { return sources_; }
    // What from_item saw: the join conditions (emitted and as written) and whether any
    // join is an outer one.
    std::vector<std::string> on_sql;
    std::vector<const sql::Expr*> on_exprs;
    bool outer_join = false;
    // First or Last was used: the rows must reach the aggregates in row order.
    bool first_last = false;
    // The sources whose columns were named since the last reset (bit n: source n).
    uint64_t used_sources = 0;

    // Binding the values an action query stores (SET, INSERT ... VALUES, the select
    // list of INSERT ... SELECT and of SELECT ... INTO): a value that cannot be
    // converted, anywhere in the expression (arithmetic, a comparison, a function, a
    // division by zero) or on its way into its column's type (store_sql), makes the
    // stored value Null for that row rather than failing the statement, as Jet does.
    // The functions are called as their storing variants (call) and the stored value is
    // computed through caught; an aggregate over a row that cannot be computed is Null
    // for its group (a storing aggregate). emit_select keeps it for the select list only.
    bool storing = false;
    // The SQLite function of an emitted call: target, or its storing variant while
    // storing (see sqlfuncs.h).
    std::string call(std::string_view target) const;
    // A stored value as it is stored: Null as a whole for a row where a storing variant
    // inside it absorbed a failure (jet_caught); v itself when it calls none.
    static Typed caught(const Typed& v);

    // Select-list aliases that later items and ORDER BY may name.
    struct Alias {
        std::string name;
        const sql::Expr* expr;
    };
    std::vector<Alias> aliases;
    bool allow_aliases = false;
    bool allow_aggregates = false;
    // Emitted names of each Expr1000 item are counted here.
    int expr_counter = 1000;

private:
    Typed column(const sql::Expr& e);
    Typed function(const sql::Expr& e);
    Typed binary(const sql::Expr& e);
    Typed binary_step(const sql::Expr& e, Typed a, Typed b);
    Typed comparison(sql::Op op, const Typed& a, const Typed& b, uint32_t pos);
    Typed arithmetic(sql::Op op, Typed a, Typed b);
    Typed literal(const Value& v);

    Session& session_;
    Catalog& catalog_;
    std::vector<Source> sources_;
    std::vector<Value> params_;
    int alias_depth_ = 0;
    int depth_ = 0;  // expr() calls in progress: sql::kMaxNesting at most
    int choices_ = 0;  // the choice slots given (jet_choose) in this statement
    // Binding the operands of a comparison (and of BETWEEN and IN): floating arithmetic
    // there is computed with its range checked even in a stored value (see arithmetic).
    bool in_comparison_ = false;
    // Emitting the topmost operator of a stored value, which the store checks (see
    // arithmetic).
    bool stored_top_ = false;
};

// True when `database` (a [path] qualifier) names the file at open_path.
bool same_file(const std::string& database, const std::string& open_path);

// A SQL string literal.
std::string quote(std::string_view s);

// ---------------------------------------------------------------- plans

struct Plan;

// The per-session cache of parsed and translated statements (Session's translation
// cache slot), keyed by statement text. It keeps at most kMaxEntries: when full, the
// least recently used quarter is dropped, so that a hit costs a lookup and a store.
class TranslationCache {
public:
    struct Entry {
        std::shared_ptr<const sql::Statement> statement;
        std::shared_ptr<Plan> plan;  // null for DDL and until first translated
        // Another file the statement is about ([path].[table]): "" for the open one.
        // whole: every table named is of that file; otherwise a SELECT ... INTO a
        // table of the open file reads only tables of that file.
        std::string other_file;
        bool whole = false;
    };
    static constexpr size_t kMaxEntries = 2048;

    // The entry of a text, marked as used now; null when there is none.
    Entry* find(std::string_view sql) {
        auto it = slots_.find(sql);
        if (it == slots_.end()) return nullptr;
        it->second.used = ++clock_;
        return &it->second.entry;
    }
    // Adds the entry of a text not in the cache (entries found before may be gone).
    Entry& add(std::string sql, Entry e);
    size_t size() const { return slots_.size(); }
    void clear() { slots_.clear(); }

private:
    struct Hash {
        using is_transparent = void;
        size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
    };
    struct Slot {
        Entry entry;
        uint64_t used = 0;  // clock_ at the last use
    };
    std::unordered_map<std::string, Slot, Hash, std::equal_to<>> slots_;
    uint64_t clock_ = 0;
};

// The session's translation cache (created on first use).
std::shared_ptr<TranslationCache> translation_cache(Session& s);

// The parse tree of a statement text, parsed once per session (while it stays among
// the most recently used). The entry is valid until another text is added.
TranslationCache::Entry& cached_statement(Session& s, std::string_view sql);
// The entry's plan, translated again when the catalog has changed since.
std::shared_ptr<Plan> cached_plan(Session& s, TranslationCache::Entry& e);

// Opens a cursor over SQLite text; keep_alive holds what columns refers to.
std::unique_ptr<Cursor> open_cursor(std::shared_ptr<Session> s, std::shared_ptr<const void> keep_alive,
                                    const std::string& sql, const std::vector<Value>& params,
                                    const std::vector<ColumnMeta>& columns);
// Runs a query's SQLite text to its end, its rows discarded.
void run_query(Session& s, const std::string& sql, const std::vector<Value>& params);

// A translated statement, cached per session until the catalog changes.
struct Plan {
    uint64_t version = 0;
    virtual ~Plan() = default;
    // Runs the statement (inside the caller's atomic scope); returns records affected.
    virtual int64_t execute(Session& s) = 0;
    // True when execute runs one SQLite statement, which SQLite makes atomic.
    virtual bool one_statement() const { return false; }
    // Opens the rows of a query; raises for statements that return none.
    virtual std::unique_ptr<Cursor> open(std::shared_ptr<Session> s, bool row_ids);
};

// A plan of one SQLite statement that changes rows; returns the rows it changed.
struct StatementPlan : Plan {
    std::string sql;
    std::vector<Value> params;
    int64_t execute(Session& s) override;
    bool one_statement() const override { return true; }
};

// The SQLite text of a SELECT with the metadata of its columns.
struct SelectSql {
    std::string sql;
    std::vector<ColumnMeta> columns;
    std::vector<bool> counter;    // per column: a plain counter column
    std::string sql_with_rowids;  // "" when rows cannot be mapped back
    std::vector<ColumnMeta> rowid_columns;
    std::vector<int> rowid_sources;  // the source of each rowid column ("r<source>")
};

// Emits a SELECT; item_exprs receives the emitted items (for INSERT ... SELECT).
SelectSql emit_select(Binder& b, const sql::Select& s, std::vector<Typed>* items = nullptr);

// Select item i as the outer statement reads it from the query "(...) AS q": q.v<i>,
// its type and origin kept (a type that differs row by row read from q.t<i>).
Typed query_output(const Typed& item, size_t i);

std::shared_ptr<Plan> plan_select(Session& s, const sql::Select& q);
// The rows of a SELECT as a query (any INTO ignored).
std::shared_ptr<Plan> plan_query(Session& s, const sql::Select& q);
// The SQLite text of a query's plan and its constants; nullopt for other plans.
struct QueryText {
    const std::string& sql;
    const std::vector<Value>& params;
};
std::optional<QueryText> query_text(const Plan& p);
std::shared_ptr<Plan> plan_insert(Session& s, const sql::Insert& q);

// The columns an INSERT leaves out, as the engine fills them: the counter numbered
// (the session's next number, through the seq parameter), the others their default.
// With the table's counter comes what run_insert needs to keep the numbering.
struct OmittedColumns {
    std::vector<std::string> columns;  // SQLite column names
    std::vector<std::string> values;   // the SQL of each one's value
    int seq_param = 0;                 // the jet_seq start parameter, 0 unless numbered
    int64_t table_id = 0;
    std::string table_sql;             // the SQLite table
    std::string counter_sql;           // its counter column; "" when it has none
};
OmittedColumns omitted_columns(Binder& b, const TableInfo& t,
                               const std::vector<const ColumnInfo*>& targets);
// Runs an INSERT statement built with omitted_columns (inside the caller's atomic
// scope); returns the rows inserted.
int64_t run_insert(Session& s, const std::string& sql, const std::vector<Value>& params,
                   const OmittedColumns& omitted);
// The counter numbering: the session keeps each table's next number (see
// emit_insert.cpp). A write that may store counter values other than through an
// INSERT (an UPDATE of the counter column) has the table's number checked again
// against the rows before it is next used.
void counter_values_changed(Session& s, int64_t table_id);
// A plan that runs p, then counter_values_changed for each of tables.
std::shared_ptr<Plan> changing_counters(std::shared_ptr<Plan> p, std::vector<int64_t> tables);
std::shared_ptr<Plan> plan_update(Session& s, const sql::Update& q);

// The engine's report checks of a statement (reports.h), planned only while reports are
// on: each case is met when every one of its read-only queries gives a row, judged
// before the statement runs.
struct ReportChecks {
    struct Case {
        reports::Kind kind;
        std::vector<std::string> all;
        std::string table = {};  // the table written, when not the statement's table
    };
    std::vector<Case> cases;
    std::string table;          // the table written, as the report names it
    std::vector<Value> params;  // the statement's constants, which the queries share
};
// p, or, with checks, a plan that runs the checks, reports each case met, then p.
std::shared_ptr<Plan> with_report_checks(std::shared_ptr<Plan> p, ReportChecks checks);
// True when the expression computes arithmetic (a Null operand makes it Null).
bool has_arithmetic(const sql::Expr& e);
std::shared_ptr<Plan> plan_delete(Session& s, const sql::Delete& q);

// Runs a prepared statement to its end; returns the rows it changed.
int64_t run_to_end(Session& s, sqlite3_stmt* st);

}  // namespace jet::detail
