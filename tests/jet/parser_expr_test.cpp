// Expressions and date literals: what the parser builds from the text of a WHERE clause.
#include <gtest/gtest.h>

#include <string>

#include "jet/error.h"
#include "jet/sql/parser.h"

namespace {

using namespace jet::sql;

const char* op_name(Op op) {
    static const char* const kNames[] = {
        "?", "neg", "plus", "not", "+", "-",  "*",    "/",   "\\", "mod", "^",   "&",
        "=", "<>",  "<",    "<=",  ">", ">=", "like", "and", "or", "xor", "eqv", "imp"};
    return kNames[static_cast<int>(op)];
}

// The tree as a compact prefix text: (op a b), f(x), t.c, 'text', #y-m-d h:m:s#.
std::string show(const Expr& e) {
    auto args = [&](size_t from) {
        std::string s;
        for (size_t i = from; i < e.args.size(); ++i) s += " " + show(*e.args[i]);
        return s;
    };
    switch (e.kind) {
        case ExprKind::Null:
            return "Null";
        case ExprKind::Boolean:
            return e.boolean ? "True" : "False";
        case ExprKind::Integer:
            return std::to_string(e.integer);
        case ExprKind::Number:
            return e.text;
        case ExprKind::String:
            return "'" + e.text + "'";
        case ExprKind::Date: {
            const auto& d = e.date;
            std::string s = "#";
            if (d.has_date)
                s += std::to_string(d.year) + "-" + std::to_string(d.month) + "-" +
                     std::to_string(d.day);
            if (d.has_time)
                s += (d.has_date ? " " : "") + std::to_string(d.hour) + ":" +
                     std::to_string(d.minute) + ":" + std::to_string(d.second);
            return s + "#";
        }
        case ExprKind::Column:
            return e.qualifier.empty() ? e.text : e.qualifier + "." + e.text;
        case ExprKind::Star:
            return e.qualifier.empty() ? "*" : e.qualifier + ".*";
        case ExprKind::Unary:
        case ExprKind::Binary:
            return std::string("(") + (e.negated ? "not " : "") + op_name(e.op) + args(0) + ")";
        case ExprKind::Between:
            return std::string(e.negated ? "(notbetween" : "(between") + args(0) + ")";
        case ExprKind::IsNull:
            return std::string(e.negated ? "(notnull" : "(isnull") + args(0) + ")";
        case ExprKind::InList:
            return std::string(e.negated ? "(notin" : "(in") + args(0) + ")";
        case ExprKind::Function:
            return e.text + "(" + (e.args.empty() ? "" : args(0).substr(1)) + ")";
    }
    return "?";
}

std::string where_of(const std::string& condition) {
    auto st = parse("SELECT * FROM t WHERE " + condition);
    return show(*std::get<Select>(st).where);
}

struct ExprCase {
    const char* text;
    const char* tree;
};

TEST(ParserExpressions, PrecedenceAndFormsAsJetReadsThem) {
    const ExprCase rows[] = {
        {"a + b * c", "(+ a (* b c))"},
        {"a - b - c", "(- (- a b) c)"},
        {"-a ^ 2", "(neg (^ a 2))"},
        {"2 ^ -1", "(^ 2 (neg 1))"},
        {"-a * b", "(* (neg a) b)"},
        {"a * b \\ c", "(\\ (* a b) c)"},
        {"a \\ b Mod c", "(mod (\\ a b) c)"},
        {"a Mod b + c", "(+ (mod a b) c)"},
        {"a + b & c", "(& (+ a b) c)"},
        {"a & b = c", "(= (& a b) c)"},
        {"NOT a = b AND c", "(and (not (= a b)) c)"},
        {"a AND b OR c AND d", "(or (and a b) (and c d))"},
        {"a OR b XOR c", "(xor (or a b) c)"},
        {"a XOR b EQV c IMP d", "(imp (eqv (xor a b) c) d)"},
        {"a <> b AND c <= d AND e >= f", "(and (and (<> a b) (<= c d)) (>= e f))"},
        {"a LIKE 'x*' OR a NOT LIKE \"y\"", "(or (like a 'x*') (not like a 'y'))"},
        {"a IS NULL AND b Is Not Null", "(and (isnull a) (notnull b))"},
        {"a BETWEEN 1 AND 2 AND b", "(and (between a 1 2) b)"},
        {"a NOT BETWEEN b + 1 AND c", "(notbetween a (+ b 1) c)"},
        {"a IN (1, 'x', Null) OR b NOT IN (2)", "(or (in a 1 'x' Null) (notin b 2))"},
        {"t.a = [t].[b] AND t.[c] = [Nr faktury ]", "(and (= t.a t.b) (= t.c Nr faktury ))"},
        {"Miejscowość = fpłat_id AND [7n] = 7n", "(and (= Miejscowość fpłat_id) (= 7n 7n))"},
        {"Count(*) > 0 AND Now() > x", "(and (> Count(*) 0) (> Now() x))"},
        {"IIf(a Is Null, 0, a) = trim$(b)", "(= IIf((isnull a) 0 a) trim$(b))"},
        {"Left(a, 2) = Right(b, 2)", "(= Left(a 2) Right(b 2))"},
        {"a = 'it''s' & \"say \"\"hi\"\"\"", "(= a (& 'it's' 'say \"hi\"'))"},
        {"a = True OR b = False", "(or (= a True) (= b False))"},
        {"a = 1.5 OR b = 2E3 OR c = .5 OR d = 1.25e-2",
         "(or (or (or (= a 1.5) (= b 2E3)) (= c .5)) (= d 1.25e-2))"},
        {"(((t.a)=1) AND ((t.b)<>'x'))", "(and (= t.a 1) (<> t.b 'x'))"},
        {"a\t=\n1\r\nAND  b=2", "(and (= a 1) (= b 2))"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.text);
        EXPECT_EQ(where_of(r.text), r.tree);
    }
}

TEST(ParserExpressions, ParenthesesAreKept) {
    auto st = parse("SELECT * FROM t WHERE (a) = 1");
    const Expr& w = *std::get<Select>(st).where;
    EXPECT_FALSE(w.parenthesized);
    EXPECT_TRUE(w.args[0]->parenthesized);
}

TEST(ParserExpressions, DateLiteralsMonthFirstUnlessTheFirstNumberCannotBeAMonth) {
    const ExprCase rows[] = {
        {"#02-20-2001 13:05:09#", "#2001-2-20 13:5:9#"},
        {"#02 20 2001 13:05:09#", "#2001-2-20 13:5:9#"},
        {"#02-20-2001#", "#2001-2-20#"},
        {"#2/3/2001#", "#2001-2-3#"},
        {"#2001-02-20#", "#2001-2-20#"},
        {"#20-02-2001#", "#2001-2-20#"},
        {"#12/31/99#", "#99-12-31#"},
        {"# 02-29-2000 #", "#2000-2-29#"},
        {"#10:30#", "#10:30:0#"},
        {"#1-2-2003 1:00:00 PM#", "#2003-1-2 13:0:0#"},
        {"#1-2-2003 12:00:00 AM#", "#2003-1-2 0:0:0#"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.text);
        EXPECT_EQ(where_of(std::string("d = ") + r.text), std::string("(= d ") + r.tree + ")");
    }
    const char* bad[] = {"#13-13-2001#", "#02-30-2001#", "#02-29-2001#",  "#1-2#",      "#x#", "##",
                         "#1-2-3-4#",    "#25:00#",      "#1-2-2001 10#", "#02-20-2001"};
    for (const char* b : bad) {
        SCOPED_TRACE(b);
        try {
            where_of(std::string("d = ") + b);
            ADD_FAILURE() << "accepted";
        } catch (const jet::Error& e) {
            EXPECT_EQ(e.number(), jet::hr::Syntax);
        }
    }
}

TEST(ParserExpressions, MalformedExpressionsQuoteTheExpression) {
    const ExprCase rows[] = {
        {"SELECT * FROM t WHERE a b", "'a b'"},
        {"SELECT * FROM t WHERE a = 1 b = 2 ORDER BY a", "'a = 1 b = 2'"},
        {"SELECT a b, c FROM t", "'a b'"},
        {"SELECT * FROM t WHERE a = ", "'a ='"},
        {"SELECT * FROM t WHERE (a = 1", "'(a = 1'"},
        {"SELECT * FROM t WHERE a IS 1", "'a IS 1'"},
        {"SELECT * FROM t WHERE a BETWEEN 1 OR 2", "'a BETWEEN 1 OR 2'"},
        {"SELECT * FROM t WHERE a = 'open", "'a = 'open'"},
        {"UPDATE t SET a = 1 2 WHERE b = 1", "'1 2'"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.text);
        try {
            parse(r.text);
            ADD_FAILURE() << "accepted";
        } catch (const jet::Error& e) {
            EXPECT_EQ(e.number(), jet::hr::Syntax);
            EXPECT_EQ(
                e.description(),
                std::string("Syntax error (missing operator) in query expression ") + r.tree + ".");
        }
    }
}

}  // namespace
