// SELECT and the table sources that SELECT, UPDATE and DELETE share.
#include "jet/error.h"
#include "jet/sql/parse_internal.h"

namespace jet::sql::detail {

namespace {

std::unique_ptr<TableRef> make_ref(TableRef::Kind k, uint32_t pos) {
    auto t = std::make_unique<TableRef>();
    t->kind = k;
    t->pos = pos;
    return t;
}

}  // namespace

// SELECT [ALL|DISTINCT|DISTINCTROW] [TOP n [PERCENT]] items [INTO t] [FROM sources]
// [WHERE e] [GROUP BY e, ...] [HAVING e] [ORDER BY e [ASC|DESC], ...]
Select Parser::select() {
    Context ctx(*this, "SELECT statement");
    Select s;
    s.pos = peek().begin;
    expect_kw("SELECT");
    if (accept_kw("DISTINCT"))
        s.quantifier = Quantifier::Distinct;
    else if (accept_kw("DISTINCTROW"))
        s.quantifier = Quantifier::DistinctRow;
    else
        accept_kw("ALL");
    if (accept_kw("TOP")) {
        if (!at(Tok::Integer)) fail();
        auto e = primary();
        if (e->kind != ExprKind::Integer || e->integer <= 0) fail();
        s.top = e->integer;
        s.top_percent = accept_kw("PERCENT");
    }
    select_items(s);
    if (accept_kw("INTO")) {
        table_name(s.into_database, s.into);
        if (accept_kw("IN")) {
            if (!at(Tok::String)) fail();
            s.into_database = std::string(next().text);
        }
    }
    if (accept_kw("FROM")) {
        Context c(*this, "FROM clause");
        s.from = source_list();
        if (!(at(Tok::End) || at(Tok::Semicolon) || at(Tok::RParen) || at_kw("WHERE") ||
              at_kw("GROUP") || at_kw("HAVING") || at_kw("ORDER")))
            fail();
    }
    if (accept_kw("WHERE")) {
        size_t st = pos_;
        s.where = expression();
        end_of_expression(st, {"GROUP", "HAVING", "ORDER"});
    }
    if (at_kw("GROUP")) {
        Context c(*this, "GROUP BY clause");
        next();
        expect_kw("BY");
        do {
            size_t st = pos_;
            s.group_by.push_back(expression());
            end_of_expression(st, {"HAVING", "ORDER"});
        } while (accept(Tok::Comma));
    }
    if (accept_kw("HAVING")) {
        size_t st = pos_;
        s.having = expression();
        end_of_expression(st, {"ORDER"});
    }
    if (at_kw("ORDER")) {
        Context c(*this, "ORDER BY clause");
        next();
        expect_kw("BY");
        do {
            OrderItem o;
            size_t st = pos_;
            o.expr = expression();
            if (accept_kw("DESC"))
                o.descending = true;
            else
                accept_kw("ASC");
            end_of_expression(st, {});
            s.order_by.push_back(std::move(o));
        } while (accept(Tok::Comma));
        if (!(at(Tok::End) || at(Tok::Semicolon) || at(Tok::RParen))) fail();
    }
    return s;
}

// items: * | t.* | expr [AS alias], ...
void Parser::select_items(Select& s) {
    do {
        SelectItem it;
        it.pos = peek().begin;
        if (at(Tok::Star)) {
            it.expr = std::make_unique<Expr>(ExprKind::Star, next().begin);
        } else {
            size_t st = pos_;
            it.expr = expression();
            if (accept_kw("AS")) {
                if (!at_name()) fail_expression(st);
                it.alias = name();
            }
            end_of_expression(st, {"FROM", "INTO", "WHERE", "GROUP", "HAVING", "ORDER"});
        }
        s.items.push_back(std::move(it));
    } while (accept(Tok::Comma));
}

std::vector<TableRefPtr> Parser::source_list() {
    std::vector<TableRefPtr> out;
    do out.push_back(source());
    while (accept(Tok::Comma));
    return out;
}

// source: primary { (INNER | LEFT [OUTER] | RIGHT [OUTER]) JOIN primary ON condition }
TableRefPtr Parser::source() {
    TableRefPtr left = source_primary();
    // Each join nests the tree built so far one level deeper.
    for (int joins = 1;; ++joins) {
        JoinType type;
        if (at_kw("INNER"))
            type = JoinType::Inner;
        else if (at_kw("LEFT"))
            type = JoinType::Left;
        else if (at_kw("RIGHT"))
            type = JoinType::Right;
        else
            break;
        if (depth_ + joins > kMaxNesting) raise(Fault::TooComplex);
        auto j = make_ref(TableRef::Kind::Join, left->pos);
        j->join = type;
        {
            Context c(*this, "JOIN operation");
            next();
            if (type != JoinType::Inner) accept_kw("OUTER");
            expect_kw("JOIN");
        }
        j->left = std::move(left);
        j->right = source_primary();
        {
            Context c(*this, "JOIN operation");
            expect_kw("ON");
        }
        size_t st = pos_;
        j->on = expression();
        end_of_expression(st,
                          {"INNER", "LEFT", "RIGHT", "WHERE", "GROUP", "HAVING", "ORDER", "SET"});
        left = std::move(j);
    }
    return left;
}

// ( source ) | [database.]table [IN 'path'] [[AS] alias]
TableRefPtr Parser::source_primary() {
    if (at(Tok::LParen)) {
        Depth guard(*this);
        next();
        TableRefPtr inner = source();
        expect(Tok::RParen);
        return inner;
    }
    auto t = make_ref(TableRef::Kind::Table, peek().begin);
    table_name(t->database, t->name);
    if (accept_kw("IN")) {
        if (!at(Tok::String)) fail();
        t->database = std::string(next().text);
    }
    if (accept_kw("AS"))
        t->alias = name();
    else if (at_name())
        t->alias = name();
    return t;
}

// [database.]name: a table of the open file, or [path].[table] of another file.
void Parser::table_name(std::string& database, std::string& table) {
    std::string first = name();
    if (accept(Tok::Dot)) {
        database = std::move(first);
        table = name();
    } else {
        table = std::move(first);
    }
}

}  // namespace jet::sql::detail
