// Expressions: names resolved, Jet types inferred, SQLite text emitted with Jet's
// rules (text compared without case under COLLATE JET, Null rules, exact money,
// floating division, truth values -1/0, date literals as serials, functions as the
// jet_* functions).
#include <cstdio>

#include "jet/dates.h"
#include "jet/sql/parser.h"
#include "jet/sqlfuncs.h"
#include "jet/text.h"
#include "jet/translate.h"

namespace jet::detail {

namespace {

using sql::ExprKind;
using sql::Op;

std::string type_code(const Typed& t) {
    if (!t.type_sql.empty()) return t.type_sql;
    return t.known ? std::to_string(static_cast<int>(t.type)) : "0";
}

// The rank of a numeric type in VB's arithmetic widening.
int rank(DataType t) {
    switch (t) {
        case DataType::Boolean: return 1;
        case DataType::Byte: return 0;
        case DataType::Integer: return 1;
        case DataType::Long: return 2;
        case DataType::Single: return 3;
        case DataType::Double: return 4;
        case DataType::Currency: return 5;
        default: return 4;
    }
}

DataType widen(DataType a, DataType b) {
    if (a == DataType::Boolean) a = DataType::Integer;
    if (b == DataType::Boolean) b = DataType::Integer;
    if ((a == DataType::Long && b == DataType::Single) || (a == DataType::Single && b == DataType::Long))
        return DataType::Double;
    return rank(a) >= rank(b) ? a : b;
}

// The values a whole-number column holds.
std::pair<int64_t, int64_t> whole_range(DataType t) {
    switch (t) {
        case DataType::Boolean: return {-1, 0};
        case DataType::Byte: return {0, 255};
        case DataType::Integer: return {INT16_MIN, INT16_MAX};
        default: return {INT32_MIN, INT32_MAX};
    }
}

bool whole(DataType t) {
    return t == DataType::Byte || t == DataType::Integer || t == DataType::Long || t == DataType::Boolean;
}

// The fold (Typed::fold) of arithmetic of type t whose steps are checked against t's
// range: 'd' Double, 'f' Single, 't' Date; 0 for other types.
char checked_fold(DataType t) {
    return t == DataType::Double   ? 'd'
           : t == DataType::Single ? 'f'
           : t == DataType::Date   ? 't'
                                   : 0;
}

std::string folded_function_name(std::string_view name) {
    std::string n = text::fold(name);
    if (!n.empty() && n.back() == '$') n.pop_back();
    return n;
}

// The text form of an operand for text functions and `&`, as b calls jet_totext.
std::string as_text(const Binder& b, const Typed& t) {
    if (t.type_sql.empty() && (!t.known || is_text(t.type))) return Binder::value_sql(t);
    return b.call("jet_totext") + "(" + Binder::typed_value(t) + ", " + type_code(t) + ")";
}

// Operator classes of a chain (Typed::chain): SQLite groups each class left to right.
enum : int { kChainAnd = 1, kChainOr, kChainAdd, kChainMul, kChainConcat };
// The most operands of one chain group: SQLite nests each operand of a chain one level
// deeper in its expression tree.
constexpr int kMaxChain = 100;
// The most groups of a chain: each one more level of SQLite's expression tree.
constexpr int kMaxChainGroups = 800;
// The most operands one folding call takes (SQLite allows 127 arguments, one of which
// may be the operators); a longer chain nests one call per this many operands, as the
// first argument of the next, where nesting costs SQLite's parser least: it takes
// about 30 such levels.
constexpr size_t kMaxFold = 125;
constexpr int kMaxFoldNesting = 30;

bool chain_valid(const Typed& x) {
    return x.chain_size == x.sql.size() && x.sql.size() >= 2;
}

bool chain_of(const Typed& x, int cls) {
    return x.chain == cls && chain_valid(x);
}

// t becomes the chain "a o right" of class cls: a's chain continued (its text taken
// and extended in place, so that a long chain costs no copy per operand), or a new
// chain whose first operand is a (its truth value when cond). A full group of a chain
// of cls starts a new group (only for AND, OR and ||, see Typed::chain).
void extend_chain(Typed& t, Typed& a, int cls, bool cond, std::string_view o,
                  const std::string& right) {
    if (!chain_of(a, cls)) {
        t.sql = "(" + (cond ? Binder::cond_sql(a) : Binder::value_sql(a)) + std::string(o) + right +
                ")";
        t.chain_count = 2;
        t.chain_groups = 0;
    } else if (a.chain_count >= kMaxChain) {
        // "(" body ")" or "(" head "(" body "))" becomes "(" head "(" body ")" o "(" right "))".
        if (a.chain_groups + 1 > kMaxChainGroups) raise(Fault::TooComplex);
        t.sql = std::move(a.sql);
        if (a.chain_groups)
            t.sql.pop_back();
        else
            t.sql.insert(1, "(");
        t.sql.append(o).append("(").append(right).append("))");
        t.chain_count = 1;
        t.chain_groups = a.chain_groups + 1;
    } else {
        t.sql = std::move(a.sql);
        t.sql.resize(t.sql.size() - (a.chain_groups ? 2 : 1));
        t.sql.append(o).append(right).append(a.chain_groups ? "))" : ")");
        t.chain_count = a.chain_count + 1;
        t.chain_groups = a.chain_groups;
    }
    t.chain = cls;
    t.chain_size = t.sql.size();
    t.fold_depth = a.fold_depth;
}

// The kind of fold x is (Typed::fold), 0 none.
char fold_kind(const Typed& x) {
    return chain_valid(x) ? x.fold : 0;
}

// t becomes a fold of kind `kind` whose operands, so far, are those of the left
// operand x when x is such a fold with room left (limit: operands per call; x's are
// taken), or just x (x_sql() its SQL) as the first operand of a new call. t.fold_ops
// holds the operators so far. The calls of a long chain nest one in the next: past
// kMaxFoldNesting of them SQLite's parser would not take the text, and the chain fails
// here, before any more of it is built.
template <typename F>
void fold_start(Typed& t, Typed& x, char kind, F&& x_sql, size_t limit = kMaxFold) {
    t.fold = kind;
    if (fold_kind(x) == kind && x.fold_args.size() < limit) {
        t.fold_ops = std::move(x.fold_ops);
        t.fold_args = std::move(x.fold_args);
        t.fold_depth = x.fold_depth;
        return;
    }
    t.fold_depth = x.fold_depth + 1;
    if (t.fold_depth > kMaxFoldNesting) raise(Fault::TooComplex);
    t.fold_ops.clear();
    t.fold_args = {x_sql()};
}

std::string join_args(const std::vector<std::string>& args) {
    std::string s;
    for (const auto& a : args) {
        if (!s.empty()) s += ", ";
        s += a;
    }
    return s;
}

// A call of jet_curfold or jet_numfold: the first operand (which may be the call of
// the chain's earlier operands) comes first, where nesting costs SQLite's parser
// least, then the operators, then the other operands.
std::string arithmetic_fold(const std::string& name, const std::string& ops,
                            const std::vector<std::string>& args) {
    std::string s = name + "(" + args[0] + ", '" + ops + "'";
    for (size_t i = 1; i < args.size(); ++i) s += ", " + args[i];
    return s + ")";
}

[[noreturn]] void wrong_arguments(const sql::Expr& e) { raise(Fault::SyntaxInExpression, e.text); }

// True when emitted SQL calls a storing variant (a name ending in kStoringSuffix before
// its "("), string literals skipped.
bool calls_storing_variant(std::string_view sql) {
    const std::string call = std::string(kStoringSuffix) + "(";
    bool quoted = false;
    for (size_t i = 0; i < sql.size(); ++i) {
        if (sql[i] == '\'')
            quoted = !quoted;  // '' inside a literal toggles twice
        else if (!quoted && sql.compare(i, call.size(), call) == 0)
            return true;
    }
    return false;
}

// A comparison of a text with a number, a date or a Yes/No value, which Jet refuses.
bool text_meets_other(const Typed& a, const Typed& b) {
    return a.known && b.known && is_text(a.type) != is_text(b.type);
}

bool is_comparison(Op op) {
    return op == Op::Eq || op == Op::Ne || op == Op::Lt || op == Op::Le || op == Op::Gt ||
           op == Op::Ge;
}

// Sets a flag (or keeps it set) for the life of the guard.
class FlagScope {
  public:
    FlagScope(bool& flag, bool on) : flag_(flag), saved_(flag) { flag_ = saved_ || on; }
    ~FlagScope() { flag_ = saved_; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

  private:
    bool& flag_;
    bool saved_;
};

}  // namespace

std::string Binder::value_sql(const Typed& t) { return t.cond ? "(-" + t.sql + ")" : t.sql; }

std::string Binder::typed_value(const Typed& t) {
    return t.typed_sql.empty() ? value_sql(t) : t.typed_sql;
}

std::string Binder::text_value(const Typed& t) const {
    return t.dated_text ? as_text(*this, t) : value_sql(t);
}

std::string Binder::call(std::string_view target) const {
    std::string name(target);
    if (storing && has_storing_variant(target)) name.append(kStoringSuffix);
    return name;
}

Typed Binder::caught(const Typed& v) {
    if (!calls_storing_variant(v.sql)) return v;
    Typed t;
    t.sql = "jet_caught(jet_mark(), " + value_sql(v) + ")";
    t.type = v.cond ? DataType::Boolean : v.type;
    t.known = v.known;
    t.aggregate = v.aggregate;
    t.name = v.name;
    t.type_sql = v.type_sql;
    if (!v.typed_sql.empty()) t.typed_sql = "jet_caught(jet_mark(), " + v.typed_sql + ")";
    t.dated_text = v.dated_text;
    return t;
}

std::string Binder::cond_sql(const Typed& t) { return t.sql; }

std::string Binder::param(const Value& v) {
    params_.push_back(v);
    return "?" + std::to_string(params_.size());
}

Typed Binder::literal(const Value& v) {
    Typed t;
    t.constant = v;
    t.known = true;
    char buf[32];
    switch (v.kind()) {
        case Value::Kind::Empty:
        case Value::Kind::Null:
            t.known = false;
            t.sql = "NULL";
            return t;
        case Value::Kind::Boolean:
            t.type = DataType::Boolean;
            t.sql = v.raw_int() ? "-1" : "0";
            return t;
        case Value::Kind::Byte: t.type = DataType::Byte; break;
        case Value::Kind::Integer: t.type = DataType::Integer; break;
        case Value::Kind::Long: t.type = DataType::Long; break;
        case Value::Kind::Currency:
            t.type = DataType::Currency;
            t.sql = param(v);
            return t;
        case Value::Kind::Single: t.type = DataType::Single; t.sql = param(v); return t;
        case Value::Kind::Double: t.type = DataType::Double; t.sql = param(v); return t;
        case Value::Kind::Date: t.type = DataType::Date; t.sql = param(v); return t;
        case Value::Kind::Text:
            t.type = DataType::Text;
            t.sql = quote(v.raw_text());
            return t;
    }
    std::snprintf(buf, sizeof buf, "%lld", static_cast<long long>(v.raw_int()));
    t.sql = buf;
    return t;
}

Typed Binder::column(const sql::Expr& e) {
    int found = -1;
    const ColumnInfo* col = nullptr;
    if (!e.qualifier.empty()) {
        for (size_t i = 0; i < sources_.size(); ++i) {
            if (!text::same_name(sources_[i].alias, e.qualifier)) continue;
            found = static_cast<int>(i);
            col = sources_[i].table->column(e.text);
            break;
        }
    } else {
        for (size_t i = 0; i < sources_.size(); ++i) {
            const ColumnInfo* c = sources_[i].table->column(e.text);
            if (!c) continue;
            if (col) raise(Fault::AmbiguousField, e.text);
            col = c;
            found = static_cast<int>(i);
        }
        if (!col && allow_aliases && alias_depth_ < 16) {
            for (const Alias& a : aliases) {
                if (!text::same_name(a.name, e.text)) continue;
                ++alias_depth_;
                Typed t = expr(*a.expr);
                --alias_depth_;
                return t;
            }
        }
    }
    // A name that is no column of the tables read is a parameter without a value.
    if (!col) raise(Fault::MissingParameter);
    if (found < 64) used_sources |= uint64_t{1} << found;
    Typed t;
    const Source& src = sources_[found];
    t.sql = src.row_param ? "(SELECT " + col->sql_name + " FROM " + src.sql_table + " WHERE rowid = ?" +
                                std::to_string(src.row_param) + ")"
                          : src.sql_alias + "." + col->sql_name;
    t.type = col->type;
    t.known = true;
    t.column = col;
    t.source = found;
    t.name = col->name;
    return t;
}

Typed Binder::expr(const sql::Expr& e) {
    struct Depth {
        int& depth;
        explicit Depth(int& d) : depth(d) {
            if (++depth > sql::kMaxNesting) {
                --depth;
                raise(Fault::TooComplex);
            }
        }
        ~Depth() { --depth; }
    } guard(depth_);
    switch (e.kind) {
        case ExprKind::Null: return literal(Value::null());
        case ExprKind::Boolean: return literal(Value::boolean(e.boolean));
        case ExprKind::Integer:
            if (e.integer >= INT32_MIN && e.integer <= INT32_MAX)
                return literal(Value::long_(static_cast<int32_t>(e.integer)));
            return literal(Value::dbl(static_cast<double>(e.integer)));
        case ExprKind::Number: return literal(Value::dbl(e.number));
        case ExprKind::String: return literal(Value::text(e.text));
        case ExprKind::Date: {
            const auto& d = e.date;
            // A date before 30 December 1899 counts its days back and its time forward.
            auto s = d.has_date ? dates::to_serial(dates::expand_year(d.year), d.month, d.day,
                                                   d.hour, d.minute, d.second)
                                : dates::to_serial(1899, 12, 30, d.hour, d.minute, d.second);
            if (!s) raise(Fault::SyntaxInExpression, "#date#");
            return literal(Value::date(*s));
        }
        case ExprKind::Column: return column(e);
        case ExprKind::Star: raise(Fault::SyntaxInExpression, "*");
        case ExprKind::Unary: {
            Typed a = expr(*e.args.at(0));
            Typed t;
            t.aggregate = a.aggregate;
            if (e.op == Op::Not) {
                t.sql = "(NOT " + cond_sql(a) + ")";
                t.type = DataType::Boolean;
                t.known = true;
                t.cond = true;
                return t;
            }
            if (e.op == Op::Plus) return a;
            if (a.constant && a.constant->kind() == Value::Kind::Long && a.constant->raw_int() != INT32_MIN)
                return literal(Value::long_(static_cast<int32_t>(-a.constant->raw_int())));
            if (a.constant && a.constant->kind() == Value::Kind::Double)
                return literal(Value::dbl(-a.constant->raw_double()));
            if (a.known && is_text(a.type)) {
                t.sql = "(-" + call("jet_cdbl") + "(" + a.sql + "))";
                t.type = DataType::Double;
            } else {
                t.sql = "(-" + value_sql(a) + ")";
                t.type = a.type == DataType::Boolean ? DataType::Integer : a.type;
            }
            t.known = a.known;
            return t;
        }
        case ExprKind::Binary: return binary(e);
        case ExprKind::Between: {
            Typed a, lo, hi;
            {
                FlagScope operands(in_comparison_, true);
                a = expr(*e.args.at(0));
                lo = expr(*e.args.at(1));
                hi = expr(*e.args.at(2));
            }
            // Each bound is checked as a comparison would be.
            const Typed ge = comparison(Op::Ge, a, lo, e.pos);
            const Typed le = comparison(Op::Le, a, hi, e.pos);
            Typed t;
            std::string lhs = text_value(a);
            if ((a.known && is_text(a.type)) || (lo.known && is_text(lo.type)))
                lhs = "(" + lhs + " COLLATE JET)";
            if (text_meets_other(a, lo) || text_meets_other(a, hi))
                t.sql = std::string(e.negated ? "(NOT (" : "((") + ge.sql + " AND " + le.sql + "))";
            else
                t.sql = "(" + lhs + (e.negated ? " NOT BETWEEN " : " BETWEEN ") + text_value(lo) +
                        " AND " + text_value(hi) + ")";
            t.type = DataType::Boolean;
            t.known = t.cond = true;
            t.aggregate = a.aggregate || lo.aggregate || hi.aggregate;
            return t;
        }
        case ExprKind::IsNull: {
            Typed a = expr(*e.args.at(0));
            Typed t;
            t.sql = "(" + value_sql(a) + (e.negated ? " IS NOT NULL)" : " IS NULL)");
            t.type = DataType::Boolean;
            t.known = t.cond = true;
            t.aggregate = a.aggregate;
            return t;
        }
        case ExprKind::InList: {
            FlagScope operands(in_comparison_, true);
            Typed a = expr(*e.args.at(0));
            Typed t;
            bool text_cmp = a.known && is_text(a.type), mismatch = false;
            std::string list, each;
            for (size_t i = 1; i < e.args.size(); ++i) {
                Typed x = expr(*e.args[i]);
                each += (i > 1 ? " OR " : "") + comparison(Op::Eq, a, x, e.pos).sql;
                mismatch = mismatch || text_meets_other(a, x);
                if (x.known && is_text(x.type)) text_cmp = true;
                if (i > 1) list += ", ";
                list += text_value(x);
            }
            std::string lhs = text_value(a);
            if (text_cmp) lhs = "(" + lhs + " COLLATE JET)";
            if (mismatch)
                t.sql = std::string(e.negated ? "(NOT (" : "((") + each + "))";
            else
                t.sql = "(" + lhs + (e.negated ? " NOT IN (" : " IN (") + list + "))";
            t.type = DataType::Boolean;
            t.known = t.cond = true;
            t.aggregate = a.aggregate;
            return t;
        }
        case ExprKind::Function: return function(e);
    }
    raise(Fault::Internal, "expression kind");
}

Typed Binder::comparison(Op op, const Typed& a, const Typed& b, uint32_t) {
    const bool ta = a.known && is_text(a.type), tb = b.known && is_text(b.type);
    // Jet refuses to compare a text with a number, a date or a Yes/No value: the
    // statement fails, or, in a value that is stored, the comparison fails as each row
    // is computed (jet_cmp raises it) and the row's value is Null.
    const bool mismatch = text_meets_other(a, b);
    if (mismatch && !storing) raise(Fault::TypeMismatch);
    const char* o = "=";
    switch (op) {
        case Op::Eq: o = " = "; break;
        case Op::Ne: o = " <> "; break;
        case Op::Lt: o = " < "; break;
        case Op::Le: o = " <= "; break;
        case Op::Gt: o = " > "; break;
        case Op::Ge: o = " >= "; break;
        default: break;
    }
    Typed t;
    if (mismatch)
        t.sql = "(" + call("jet_cmp") + "(" + typed_value(a) + ", " + type_code(a) + ", " +
                typed_value(b) + ", " + type_code(b) + ")" + o + "0)";
    else
        t.sql = "(" + text_value(a) + o + text_value(b) + ((ta || tb) ? " COLLATE JET)" : ")");
    t.type = DataType::Boolean;
    t.known = t.cond = true;
    t.aggregate = a.aggregate || b.aggregate;
    return t;
}

Typed Binder::arithmetic(Op op, Typed a, Typed b) {
    Typed t;
    t.aggregate = a.aggregate || b.aggregate;
    if (!a.known || !b.known) {
        // Null in arithmetic gives Null.
        t.sql = "NULL";
        t.known = a.known || b.known;
        t.type = a.known ? a.type : b.type;
        return t;
    }
    auto numeric = [&](Typed& x) {
        if (is_text(x.type)) {
            x.sql = call("jet_cdbl") + "(" + x.sql + ")";
            x.type = DataType::Double;
            x.cond = false;
        }
    };
    numeric(a);
    numeric(b);
    DataType rt;
    if (a.type == DataType::Date || b.type == DataType::Date) {
        rt = (op == Op::Sub && a.type == DataType::Date && b.type == DataType::Date) ? DataType::Double
             : (op == Op::Mul)                                                        ? DataType::Double
                                                                                      : DataType::Date;
    } else {
        rt = widen(a.type, b.type);
    }
    const char* o = op == Op::Add ? " + " : op == Op::Sub ? " - " : " * ";
    if (rt == DataType::Currency) {
        // Money stays exact: every step rounds back to 4 decimals. A chain of steps is
        // one jet_curfold call that does each step as jet_cur((acc op x)) would.
        fold_start(t, a, '$', [&] { return value_sql(a); });
        t.fold_args.push_back(value_sql(b));
        t.fold_ops += op == Op::Add ? '+' : op == Op::Sub ? '-' : '*';
        t.sql = t.fold_ops.size() == 1 ? call("jet_cur") + "((" + t.fold_args[0] + o + t.fold_args[1] + "))"
                                       : arithmetic_fold(call("jet_curfold"), t.fold_ops, t.fold_args);
        t.chain_size = t.sql.size();
    } else if (rt == DataType::Double && op != Op::Mul && fold_kind(a) == 'a' &&
               a.fold_args.size() < 60) {
        // A number added to a jet_add chain continues its call (type -1/-2: SQLite's +/-).
        fold_start(
            t, a, 'a', [&] { return value_sql(a); }, 60);
        t.fold_args.push_back(value_sql(b) + (op == Op::Add ? ", -1" : ", -2"));
        t.sql = call("jet_add") + "(" + join_args(t.fold_args) + ")";
        t.chain_size = t.sql.size();
    } else if (const char kind = checked_fold(rt);
               kind && (!storing || in_comparison_ || (rt != DataType::Double && !stored_top_))) {
        // Arithmetic of Doubles, Singles and dates whose value is not stored: a step
        // that is no value of its type (past a Double's or a Single's range, a date past
        // the ends of the range) fails (Overflow) where SQLite would go on with it. A
        // stored value is checked once, as it is stored (jet_store, which checks a date
        // or a Single against its own type too); a comparison inside it is not, and is
        // computed checked, and so are a Single's and a date's steps below the top of
        // the stored value: a Double past its range stays infinite through SQLite's
        // later steps (or becomes Null), a date or a Single past theirs does not. A
        // chain of one type is one jet_dblfold, jet_sglfold or jet_datefold call.
        fold_start(t, a, kind, [&] { return value_sql(a); });
        t.fold_args.push_back(value_sql(b));
        t.fold_ops += op == Op::Add ? '+' : op == Op::Sub ? '-' : '*';
        t.sql = arithmetic_fold(call(kind == 'd'   ? "jet_dblfold"
                                     : kind == 'f' ? "jet_sglfold"
                                                   : "jet_datefold"),
                                t.fold_ops, t.fold_args);
        t.chain_size = t.sql.size();
    } else if (const int cls = op == Op::Mul ? kChainMul : kChainAdd;
               fold_kind(a) == '#' || (chain_of(a, cls) && a.chain_count >= kMaxChain)) {
        // Past a full chain, SQLite's arithmetic goes on step by step in jet_numfold.
        fold_start(t, a, '#', [&] { return value_sql(a); });
        t.fold_args.push_back(value_sql(b));
        t.fold_ops += op == Op::Add ? '+' : op == Op::Sub ? '-' : '*';
        t.sql = arithmetic_fold(call("jet_numfold"), t.fold_ops, t.fold_args);
        t.chain_size = t.sql.size();
    } else {
        extend_chain(t, a, cls, false, o, value_sql(b));
    }
    t.type = rt;
    t.known = true;
    auto is_whole_column = [](const Typed& x) { return x.column && !x.cond && whole(x.type); };
    auto is_long_constant = [](const Typed& x) { return x.constant && x.constant->kind() == Value::Kind::Long; };
    if (op != Op::Mul && is_whole_column(a) && is_long_constant(b)) {
        t.offset_of = a.sql;
        t.offset_type = a.type;
        t.offset = op == Op::Add ? b.constant->raw_int() : -b.constant->raw_int();
    } else if (op == Op::Add && is_whole_column(b) && is_long_constant(a)) {
        t.offset_of = b.sql;
        t.offset_type = b.type;
        t.offset = a.constant->raw_int();
    }
    return t;
}

// A chain "a op b op c ..." is a tree that leans left, as deep as the chain is long:
// its left spine is walked here rather than recursed into, so that the stack does not
// grow with the length of a chain. Operands are bound left to right, as the recursion
// would bind them.
Typed Binder::binary(const sql::Expr& e) {
    std::vector<const sql::Expr*> spine{&e};
    while (spine.back()->args.at(0)->kind == ExprKind::Binary)
        spine.push_back(spine.back()->args[0].get());
    // What lies under the spine's topmost comparison (spine[cmp]) is a comparison's
    // operand: the spine below it, their right operands and its own.
    size_t cmp = spine.size();
    for (size_t i = 0; i < spine.size() && cmp == spine.size(); ++i)
        if (is_comparison(spine[i]->op)) cmp = i;
    Typed acc;
    {
        FlagScope operand(in_comparison_, cmp < spine.size());
        acc = expr(*spine.back()->args[0]);
    }
    for (size_t i = spine.size(); i-- > 0;) {
        Typed b;
        {
            FlagScope operand(in_comparison_, i >= cmp);
            b = expr(*spine[i]->args.at(1));
        }
        FlagScope operand(in_comparison_, i > cmp);
        FlagScope top(stored_top_, i == 0 && storing && depth_ == 1);
        acc = binary_step(*spine[i], std::move(acc), std::move(b));
    }
    return acc;
}

// One operator of a chain: a op b, with a and b bound.
Typed Binder::binary_step(const sql::Expr& e, Typed a, Typed b) {
    const Op op = e.op;
    Typed t;
    t.aggregate = a.aggregate || b.aggregate;
    switch (op) {
        case Op::And:
        case Op::Or:
            extend_chain(t, a, op == Op::And ? kChainAnd : kChainOr, true,
                         op == Op::And ? " AND " : " OR ", cond_sql(b));
            t.type = DataType::Boolean;
            t.known = t.cond = true;
            return t;
        case Op::Xor:
        case Op::Eqv:
            t.sql = "((" + cond_sql(a) + " <> 0)" + (op == Op::Xor ? " <> " : " = ") + "(" +
                    cond_sql(b) + " <> 0))";
            t.type = DataType::Boolean;
            t.known = t.cond = true;
            return t;
        case Op::Imp:
            t.sql = "((NOT " + cond_sql(a) + ") OR " + cond_sql(b) + ")";
            t.type = DataType::Boolean;
            t.known = t.cond = true;
            return t;
        case Op::Eq:
        case Op::Ne:
        case Op::Lt:
        case Op::Le:
        case Op::Gt:
        case Op::Ge: return comparison(op, a, b, e.pos);
        case Op::Like:
            t.sql = std::string(e.negated ? "(NOT " : "(") + call("jet_like") + "(" +
                    as_text(*this, a) + ", " + as_text(*this, b) + "))";
            t.type = DataType::Boolean;
            t.known = t.cond = true;
            return t;
        case Op::Concat: {
            // One jet_concat call takes the whole chain (Null as "" is associative).
            fold_start(t, a, '&', [&] { return as_text(*this, a); });
            t.fold_args.push_back(as_text(*this, b));
            t.sql = call("jet_concat") + "(" + join_args(t.fold_args) + ")";
            t.chain_size = t.sql.size();
            t.type = DataType::Text;
            t.known = true;
            return t;
        }
        case Op::Add: {
            const bool ta = a.known && is_text(a.type), tb = b.known && is_text(b.type);
            if ((ta && (tb || !b.known)) || (tb && !a.known)) {
                // Text + text concatenates; Null on either side gives Null.
                if (a.dated_text) {
                    a.sql = as_text(*this, a);
                    a.chain = 0;
                }
                extend_chain(t, a, kChainConcat, false, " || ",
                             b.dated_text ? as_text(*this, b) : b.sql);
                t.type = DataType::Text;
                t.known = true;
                return t;
            }
            if (ta || tb) {
                // A chain is one jet_add call of (value, type) pairs, 60 to a call.
                fold_start(
                    t, a, 'a', [&] { return typed_value(a) + ", " + type_code(a); }, 60);
                t.fold_args.push_back(typed_value(b) + ", " + type_code(b));
                t.sql = call("jet_add") + "(" + join_args(t.fold_args) + ")";
                t.chain_size = t.sql.size();
                t.type = DataType::Double;  // jet_add's folded steps rely on it
                t.known = true;
                return t;
            }
            return arithmetic(op, std::move(a), std::move(b));
        }
        case Op::Sub:
        case Op::Mul: return arithmetic(op, std::move(a), std::move(b));
        case Op::Div:
        case Op::IntDiv:
        case Op::Mod:
        case Op::Pow: {
            const std::string f = op == Op::Div      ? call("jet_div")
                                  : op == Op::IntDiv ? call("jet_intdiv")
                                  : op == Op::Mod    ? call("jet_mod")
                                                     : call("jet_pow");
            t.sql = f + "(" + value_sql(a) + ", " + value_sql(b) + ")";
            t.type = (op == Op::IntDiv || op == Op::Mod) ? DataType::Long : DataType::Double;
            t.known = true;
            return t;
        }
        default: break;
    }
    raise(Fault::SyntaxInExpression, e.text);
}

Typed Binder::function(const sql::Expr& e) {
    const std::string f = folded_function_name(e.text);
    const size_t n = e.args.size();
    Typed t;
    t.known = true;

    // Aggregates.
    const bool is_agg = f == "sum" || f == "count" || f == "max" || f == "min" || f == "avg" ||
                        f == "first" || f == "last";
    if (is_agg) {
        if (!allow_aggregates) raise(Fault::SyntaxError, "WHERE clause");
        if (n != 1) wrong_arguments(e);
        t.aggregate = true;
        if (f == "count" && e.args[0]->kind == ExprKind::Star) {
            t.sql = "count(*)";
            t.type = DataType::Long;
            return t;
        }
        const bool saved = allow_aggregates;
        allow_aggregates = false;
        Typed a = expr(*e.args[0]);
        allow_aggregates = saved;
        // Sum adds each row's value in its own type; the others take a dated text's
        // dates as texts.
        const std::string v = f == "sum" ? typed_value(a) : text_value(a);
        // A stored aggregate whose value may fail on a row (and a stored Sum or Avg,
        // which may overflow) is computed by its storing aggregate, jet_<f>_s(jet_mark(),
        // v, ...): a row that cannot be computed makes the group's result Null, and
        // jet_group_s makes the stored value that holds it Null as a whole.
        const bool failing = storing && (f == "sum" || f == "avg" || calls_storing_variant(v));
        auto aggregate = [&](const std::string& name, const std::string& args) {
            return failing ? "jet_group_s(" + name + std::string(kStoringSuffix) + "(jet_mark(), " +
                                 args + "))"
                           : name + "(" + args + ")";
        };
        std::string prefix;
        if (f == "sum") {
            prefix = "SumOf";
            t.sql = aggregate("jet_sum", v + ", " + type_code(a));
            t.type = !a.known                    ? DataType::Double
                     : a.type == DataType::Currency ? DataType::Currency
                     : whole(a.type)                ? DataType::Long
                                                    : DataType::Double;
        } else if (f == "count") {
            prefix = "CountOf";
            t.sql = failing ? aggregate("jet_count", v) : "count(" + v + ")";
            t.type = DataType::Long;
        } else if (f == "max" || f == "min") {
            prefix = f == "max" ? "MaxOf" : "MinOf";
            const bool text = a.known && is_text(a.type);
            t.sql = failing ? aggregate("jet_" + f, v + (text ? ", 1" : ", 0"))
                            : f + "(" + v + (text ? " COLLATE JET)" : ")");
            t.type = a.type;
            t.known = a.known;
        } else if (f == "avg") {
            prefix = "AvgOf";
            t.sql = aggregate("jet_avg", v);
            t.type = DataType::Double;
            if (a.known && a.type == DataType::Currency) {
                t.sql = call("jet_cur") + "(" + t.sql + ")";
                t.type = DataType::Currency;
            }
        } else {
            prefix = f == "first" ? "FirstOf" : "LastOf";
            first_last = true;
            t.sql = aggregate("jet_" + f, v);
            t.type = a.type;
            t.known = a.known;
        }
        if (a.column) t.name = prefix + a.column->name;
        return t;
    }

    std::vector<Typed> a;
    a.reserve(n);
    for (const auto& arg : e.args) a.push_back(expr(*arg));
    for (const auto& x : a) t.aggregate = t.aggregate || x.aggregate;
    auto need = [&](size_t lo, size_t hi) {
        if (n < lo || n > hi) wrong_arguments(e);
    };

    // IIf and Nz give the value they choose in its own type, whatever type is inferred
    // for them (a date over a text is the date, a text whose rows are dates reads as
    // their texts). form(slot, x, y) is the SQL choosing between x and y; given a slot,
    // the form that remembers its choice there (jet_choose, jet_keep).
    auto choose = [&](const Typed& first, const Typed& second, const auto& form) {
        t.sql = form(std::string(), value_sql(first), value_sql(second));
        t.dated_text = is_text(t.type) && (first.dated_text || second.dated_text ||
                                           (first.known && first.type == DataType::Date) ||
                                           (second.known && second.type == DataType::Date));
        // A value's type code matters unless it is Null or a text (a text is read as a
        // text whatever the code). Where only one code matters it serves every row;
        // where two differ, the type is chosen row by row: typed_sql remembers the
        // choice in a slot and type_sql reads it, the choice computed once.
        auto matters = [](const Typed& x) {
            return x.known && (!is_text(x.type) || !x.type_sql.empty());
        };
        const std::string c1 = matters(first) ? type_code(first) : "",
                          c2 = matters(second) ? type_code(second) : "";
        const bool typed = !first.typed_sql.empty() || !second.typed_sql.empty();
        if (!c1.empty() && !c2.empty() && c1 != c2) {
            const std::string slot = std::to_string(++choices_);
            t.typed_sql = form(slot, typed_value(first), typed_value(second));
            t.type_sql = "jet_chosen(" + slot + ", " + c1 + ", " + c2 + ")";
            return;
        }
        const std::string& code = c1.empty() ? c2 : c1;
        if (code.empty() || (t.known && code == std::to_string(static_cast<int>(t.type)))) return;
        t.type_sql = code;
        if (typed) t.typed_sql = form(std::string(), typed_value(first), typed_value(second));
    };
    // IIf and the clock are SQL expressions rather than calls.
    if (f == "iif") {
        need(3, 3);
        if (a[1].known && a[2].known && a[1].type != a[2].type) {
            t.type = (is_text(a[1].type) || is_text(a[2].type)) ? DataType::Text : widen(a[1].type, a[2].type);
        } else {
            t.type = a[1].known ? a[1].type : a[2].type;
            t.known = a[1].known || a[2].known;
        }
        const std::string c = cond_sql(a[0]);
        choose(
            a[1], a[2], [&](const std::string& slot, const std::string& x, const std::string& y) {
                const std::string when = slot.empty() ? c : "jet_choose(" + slot + ", " + c + ")";
                return "(CASE WHEN " + when + " THEN " + x + " ELSE " + y + " END)";
            });
        return t;
    }
    // The clock, as Jet reads it: local time as a date serial.
    if (f == "now" || f == "date" || f == "time") {
        need(0, 0);
        const std::string serial = "(julianday('now', 'localtime') - 2415018.5)";
        t.sql = f == "now" ? serial : f == "date" ? "floor" + serial : "(" + serial + " - floor" + serial + ")";
        t.type = DataType::Date;
        return t;
    }
    // The other functions as the function table has them.
    const FunctionDef* d = jet_function(f);
    if (!d) raise(Fault::UndefinedFunction, e.text);
    need(static_cast<size_t>(d->min_args), static_cast<size_t>(d->max_args));
    const Typed& x = a.front();
    switch (d->result) {
        case FnResult::Fixed:
            t.type = d->type;
            break;
        case FnResult::TextOrMemo:
            t.type = x.known && x.type == DataType::Memo ? DataType::Memo : DataType::Text;
            break;
        case FnResult::Numeric:
        case FnResult::NumericOrNull:
            t.type = x.known && !is_text(x.type) ? x.type : DataType::Double;
            if (t.type == DataType::Boolean) t.type = DataType::Integer;
            if (d->result == FnResult::NumericOrNull) t.known = x.known;
            break;
        case FnResult::First:
            // Nz(Null, v) is v; Nz(Null) a zero-length text.
            t.type = x.known ? x.type : n > 1 && a[1].known ? a[1].type : DataType::Text;
            break;
    }
    if (d->result == FnResult::First && n == 2) {
        choose(a[0], a[1],
               [&](const std::string& slot, const std::string& v, const std::string& other) {
                   if (slot.empty()) return call(d->target) + "(" + v + ", " + other + ")";
                   return "coalesce(jet_keep(" + slot + ", " + v + "), " + other + ")";
               });
        return t;
    }
    t.sql = call(d->target) + "(";
    for (size_t i = 0; i < n; ++i) {
        const FnArg k = d->arg(static_cast<int>(i));
        if (i) t.sql += ", ";
        t.sql += k == FnArg::Text    ? as_text(*this, a[i])
                 : k == FnArg::Typed ? typed_value(a[i]) + ", " + type_code(a[i])
                                     : value_sql(a[i]);
    }
    t.sql += ")";
    return t;
}

std::string Binder::store_sql(const Typed& value, const TableInfo& t, const ColumnInfo& c) {
    const Typed v = caught(value);
    int flags = 0;
    if (c.required) flags |= 1;
    if (const IndexInfo* pk = t.primary_key()) {
        for (const auto& ic : pk->columns)
            if (ic.column_id == c.id) flags |= 2;
    }
    if (!c.allow_zero_length && is_text(c.type)) flags |= 4;
    if (storing) flags |= 8;

    if (v.constant) {
        // A literal is converted once, here; what it cannot satisfy is left to jet_store
        // so that the failure is raised as Jet raises it, when the statement runs.
        Value conv;
        try {
            conv = v.constant->coerce_to(c.type, c.size);
        } catch (const Error& e) {
            if (!storing || !conversion_failure(e)) throw;
            conv = Value::null();
        }
        const bool null_fails = conv.is_null() && (flags & 3);
        const bool empty_fails = conv.is_text() && conv.raw_text().empty() && (flags & 4);
        if (!null_fails && !empty_fails) return literal(conv).sql;
    } else if ((flags & 4) == 0 && v.known && v.type_sql.empty()) {
        const DataType s = v.cond ? DataType::Boolean : v.type, d = c.type;
        std::string plain;
        if (v.column && !v.cond) {
            if ((s == d && !(s == DataType::Text && v.column->size > c.size)) ||
                (s == DataType::Text && d == DataType::Memo) ||
                (s == DataType::Byte && (d == DataType::Integer || d == DataType::Long)) ||
                (s == DataType::Integer && d == DataType::Long) || (s == DataType::Single && d == DataType::Double))
                plain = v.sql;
        } else if (s == d &&
                   (s == DataType::Memo || s == DataType::Currency || s == DataType::Boolean)) {
            // Already in the column's form: money expressions are rounded as they are
            // computed, truth values are -1/0. (A Double or a date computed goes through
            // jet_store, which refuses an infinity that SQLite's arithmetic leaves, or a
            // date past the ends of the range: checked there, at less cost per row than
            // a bounds check written in SQL.)
            plain = value_sql(v);
        } else if (whole(s) && s != DataType::Boolean && whole(d) && d != DataType::Boolean) {
            // Whole-number arithmetic: stored as it is when it fits the column; jet_store
            // raises the overflow otherwise. A column plus a constant fits when the column
            // lies in the range shifted by the constant, checked on the column alone.
            const auto [lo, hi] = whole_range(d);
            const std::string fallback = " ELSE jet_store(" + v.sql + ", " + std::to_string(static_cast<int>(d)) +
                                         ", 0, " + std::to_string(flags) + ", " + quote(t.name + "." + c.name) +
                                         ") END)";
            if (!v.offset_of.empty()) {
                const auto [slo, shi] = whole_range(v.offset_type);
                std::string check;
                if (shi + v.offset > hi) check = v.offset_of + " <= " + std::to_string(hi - v.offset);
                if (slo + v.offset < lo)
                    check += (check.empty() ? "" : " AND ") + v.offset_of + " >= " + std::to_string(lo - v.offset);
                plain = check.empty() ? v.sql : "(CASE WHEN " + check + " THEN " + v.sql + fallback;
            } else if (v.sql.find('(', 1) == std::string::npos) {
                plain = "(CASE WHEN " + v.sql + " BETWEEN " + std::to_string(lo) + " AND " + std::to_string(hi) +
                        " THEN " + v.sql + fallback;
            }
        }
        if (!plain.empty()) {
            if (flags == 0) return plain;
            // Only Null is refused: jet_store sees the value only when it is Null.
            return "coalesce(" + plain + ", jet_store(NULL, " + std::to_string(static_cast<int>(d)) + ", " +
                   std::to_string(c.size) + ", " + std::to_string(flags) + ", " + quote(t.name + "." + c.name) +
                   "))";
        }
    }
    // Into a text column the value's own type says what its text is: a date gives its
    // date text (CStr), not the number SQLite keeps. Into a column of another type a
    // date or a Single is checked against its own type's range too.
    const bool typed = v.known && !v.cond && (!is_text(v.type) || !v.type_sql.empty());
    const bool narrower = v.known && !v.cond && v.type_sql.empty() && v.type != c.type &&
                          (v.type == DataType::Date || v.type == DataType::Single);
    const std::string source = (is_text(c.type) && typed) || narrower ? ", " + type_code(v) : "";
    return "jet_store(" + (source.empty() ? value_sql(v) : typed_value(v)) + ", " +
           std::to_string(static_cast<int>(c.type)) + ", " + std::to_string(c.size) + ", " +
           std::to_string(flags) + ", " + quote(t.name + "." + c.name) + source + ")";
}

std::string Binder::default_sql(const TableInfo& t, const ColumnInfo& c) {
    std::string_view d = c.default_text;
    while (!d.empty() && (d.front() == ' ' || d.front() == '=')) d.remove_prefix(1);
    Typed v;
    if (d.empty()) {
        v = literal(Value::null());
    } else {
        // The default is kept as Jet text: an expression; a text that does not read
        // as one is taken as the text itself.
        bool parsed = false;
        try {
            sql::Statement st = sql::parse("SELECT " + std::string(d) + " FROM [x]");
            if (auto* s = std::get_if<sql::Select>(&st); s && s->items.size() == 1 && s->items[0].expr) {
                Binder inner(session_);
                inner.params_ = params_;
                inner.choices_ = choices_;
                Typed x = inner.expr(*s->items[0].expr);
                if (!x.aggregate) {
                    params_ = std::move(inner.params_);
                    choices_ = inner.choices_;
                    v = std::move(x);
                    parsed = true;
                }
            }
        } catch (const Error&) {
        }
        if (!parsed) v = literal(Value::text(std::string(d)));
    }
    return store_sql(v, t, c);
}

}  // namespace jet::detail
