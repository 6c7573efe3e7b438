// INSERT, UPDATE and DELETE.
#include "jet/sql/parse_internal.h"

namespace jet::sql::detail {

// INSERT INTO [database.]table [IN 'path'] [(col, ...)] VALUES (e, ...) | SELECT ...
Insert Parser::insert() {
    Context ctx(*this, "INSERT INTO statement");
    Insert ins;
    ins.pos = peek().begin;
    expect_kw("INSERT");
    expect_kw("INTO");
    table_name(ins.database, ins.table);
    if (accept_kw("IN")) {
        if (!at(Tok::String)) fail();
        ins.database = std::string(next().text);
    }
    if (at(Tok::LParen) && !peek(1).is("SELECT")) {
        next();
        do {
            std::string col = name();
            if (accept(Tok::Dot)) col = name();  // t.col: the target's own column
            ins.columns.push_back(std::move(col));
        } while (accept(Tok::Comma));
        expect(Tok::RParen);
    }
    if (accept_kw("VALUES")) {
        expect(Tok::LParen);
        std::vector<ExprPtr> row;
        do {
            size_t st = pos_;
            row.push_back(expression());
            end_of_expression(st, {});
        } while (accept(Tok::Comma));
        expect(Tok::RParen);
        ins.values.push_back(std::move(row));
    } else if (at_kw("SELECT")) {
        ins.select = std::make_unique<Select>(select());
    } else if (at(Tok::LParen) && peek(1).is("SELECT")) {
        Depth guard(*this);
        next();
        ins.select = std::make_unique<Select>(select());
        expect(Tok::RParen);
    } else {
        fail();
    }
    return ins;
}

// UPDATE [DISTINCTROW] source SET [q.]col = e, ... [WHERE e]
Update Parser::update() {
    Context ctx(*this, "UPDATE statement");
    Update up;
    up.pos = peek().begin;
    expect_kw("UPDATE");
    up.distinctrow = accept_kw("DISTINCTROW");
    up.target = source();
    expect_kw("SET");
    do {
        Assignment a;
        a.pos = peek().begin;
        a.column = name();
        if (accept(Tok::Dot)) {
            a.qualifier = std::move(a.column);
            a.column = name();
        }
        expect(Tok::Eq);
        size_t st = pos_;
        a.value = expression();
        end_of_expression(st, {"WHERE"});
        up.assignments.push_back(std::move(a));
    } while (accept(Tok::Comma));
    if (accept_kw("WHERE")) {
        size_t st = pos_;
        up.where = expression();
        end_of_expression(st, {});
    }
    expect_end();
    return up;
}

// DELETE [DISTINCTROW] [* | t.*] FROM sources [WHERE e]
Delete Parser::delete_() {
    Context ctx(*this, "DELETE statement");
    Delete del;
    del.pos = peek().begin;
    expect_kw("DELETE");
    del.distinctrow = accept_kw("DISTINCTROW");
    if (accept(Tok::Star)) {
        if (accept(Tok::Dot)) expect(Tok::Star);  // "DELETE *.*": every table's rows, as *
    } else if (at_name()) {
        del.star_qualifier = name();
        expect(Tok::Dot);
        expect(Tok::Star);
    }
    expect_kw("FROM");
    {
        Context c(*this, "FROM clause");
        del.from = source_list();
        if (!(at(Tok::End) || at(Tok::Semicolon) || at_kw("WHERE"))) fail();
    }
    if (accept_kw("WHERE")) {
        size_t st = pos_;
        del.where = expression();
        end_of_expression(st, {});
    }
    expect_end();
    return del;
}

}  // namespace jet::sql::detail
