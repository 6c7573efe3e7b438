// CREATE TABLE, ALTER TABLE, CREATE INDEX, DROP TABLE and DROP INDEX, and the
// column types of DDL.
#include <array>

#include "jet/sql/parse_internal.h"

namespace jet::sql::detail {

namespace {

enum class TypeForm : uint8_t { Plain, Sized, Counter };

struct TypeWord {
    std::string_view word;  // upper case
    DataType type;
    TypeForm form;
};

// Every type name Jet's DDL accepts that has a column type here.
constexpr std::array kTypeWords = {
    TypeWord{"TEXT", DataType::Text, TypeForm::Sized},
    TypeWord{"CHAR", DataType::Text, TypeForm::Sized},
    TypeWord{"VARCHAR", DataType::Text, TypeForm::Sized},
    TypeWord{"CHARACTER", DataType::Text, TypeForm::Sized},
    TypeWord{"ALPHANUMERIC", DataType::Text, TypeForm::Sized},
    TypeWord{"NCHAR", DataType::Text, TypeForm::Sized},
    TypeWord{"NVARCHAR", DataType::Text, TypeForm::Sized},
    TypeWord{"MEMO", DataType::Memo, TypeForm::Plain},
    TypeWord{"LONGTEXT", DataType::Memo, TypeForm::Plain},
    TypeWord{"LONGCHAR", DataType::Memo, TypeForm::Plain},
    TypeWord{"NOTE", DataType::Memo, TypeForm::Plain},
    TypeWord{"NTEXT", DataType::Memo, TypeForm::Plain},
    TypeWord{"BYTE", DataType::Byte, TypeForm::Plain},
    TypeWord{"TINYINT", DataType::Byte, TypeForm::Plain},
    TypeWord{"INTEGER1", DataType::Byte, TypeForm::Plain},
    TypeWord{"SHORT", DataType::Integer, TypeForm::Plain},
    TypeWord{"SMALLINT", DataType::Integer, TypeForm::Plain},
    TypeWord{"INTEGER2", DataType::Integer, TypeForm::Plain},
    TypeWord{"INT", DataType::Long, TypeForm::Plain},
    TypeWord{"INTEGER", DataType::Long, TypeForm::Plain},
    TypeWord{"LONG", DataType::Long, TypeForm::Plain},
    TypeWord{"INTEGER4", DataType::Long, TypeForm::Plain},
    TypeWord{"SINGLE", DataType::Single, TypeForm::Plain},
    TypeWord{"REAL", DataType::Single, TypeForm::Plain},
    TypeWord{"FLOAT4", DataType::Single, TypeForm::Plain},
    TypeWord{"IEEESINGLE", DataType::Single, TypeForm::Plain},
    TypeWord{"DOUBLE", DataType::Double, TypeForm::Plain},
    TypeWord{"FLOAT", DataType::Double, TypeForm::Plain},
    TypeWord{"FLOAT8", DataType::Double, TypeForm::Plain},
    TypeWord{"IEEEDOUBLE", DataType::Double, TypeForm::Plain},
    TypeWord{"NUMBER", DataType::Double, TypeForm::Plain},
    TypeWord{"MONEY", DataType::Currency, TypeForm::Plain},
    TypeWord{"CURRENCY", DataType::Currency, TypeForm::Plain},
    TypeWord{"DATE", DataType::Date, TypeForm::Plain},
    TypeWord{"TIME", DataType::Date, TypeForm::Plain},
    TypeWord{"DATETIME", DataType::Date, TypeForm::Plain},
    TypeWord{"TIMESTAMP", DataType::Date, TypeForm::Plain},
    TypeWord{"SMALLDATETIME", DataType::Date, TypeForm::Plain},
    TypeWord{"LOGICAL", DataType::Boolean, TypeForm::Plain},
    TypeWord{"LOGICAL1", DataType::Boolean, TypeForm::Plain},
    TypeWord{"BIT", DataType::Boolean, TypeForm::Plain},
    TypeWord{"YESNO", DataType::Boolean, TypeForm::Plain},
    TypeWord{"COUNTER", DataType::Long, TypeForm::Counter},
    TypeWord{"AUTOINCREMENT", DataType::Long, TypeForm::Counter},
    TypeWord{"IDENTITY", DataType::Long, TypeForm::Counter},
};

const TypeWord* find_type(const Token& t) {
    if (t.kind != Tok::Name) return nullptr;
    for (const auto& w : kTypeWords)
        if (keyword_equals(t.text, w.word)) return &w;
    return nullptr;
}

// Expression errors inside DDL (defaults) are errors of the statement itself.
struct DdlScope {
    explicit DdlScope(bool& flag) : flag_(flag), saved_(flag) { flag = true; }
    ~DdlScope() { flag_ = saved_; }
    bool& flag_;
    bool saved_;
};

}  // namespace

// type: one of kTypeWords; text types take an optional (1..255); counters an optional
// (seed, increment); "int identity" / "long identity" is a counter.
TypeSpec Parser::type_spec() {
    TypeSpec t;
    uint32_t begin = peek().begin;
    const TypeWord* w = find_type(peek());
    if (!w) fail();
    next();
    t.type = w->type;
    if (w->form == TypeForm::Sized) {
        t.size = kMaxTextSize;
        if (accept(Tok::LParen)) {
            if (!at(Tok::Integer)) fail();
            std::string_view digits = next().text;
            if (digits.size() > 3) fail();
            int n = 0;
            for (char c : digits) n = n * 10 + (c - '0');
            if (n < 1 || n > kMaxTextSize) fail();
            t.size = n;
            expect(Tok::RParen);
        }
    } else {
        if (t.type == DataType::Long && w->form == TypeForm::Plain && accept_kw("IDENTITY"))
            t.counter = true;
        if (w->form == TypeForm::Counter) t.counter = true;
        if (t.counter && accept(Tok::LParen)) {  // (seed, increment)
            expect(Tok::Integer);
            expect(Tok::Comma);
            expect(Tok::Integer);
            expect(Tok::RParen);
        }
    }
    t.spelling = std::string(slice(begin, prev_end()));
    return t;
}

// name type { NOT NULL | NULL | DEFAULT [=] value | PRIMARY KEY | UNIQUE
//             | CONSTRAINT name (PRIMARY KEY | UNIQUE) }
ColumnDef Parser::column_def() {
    ColumnDef c;
    c.pos = peek().begin;
    c.name = name();
    c.type = type_spec();
    for (;;) {
        if (accept_kw("NOT")) {
            expect_kw("NULL");
            c.not_null = true;
        } else if (accept_kw("NULL")) {
            c.not_null = false;
        } else if (accept_kw("DEFAULT")) {
            accept(Tok::Eq);
            uint32_t begin = peek().begin;
            c.default_value = expression();
            c.default_text = std::string(slice(begin, prev_end()));
        } else if (accept_kw("PRIMARY")) {
            expect_kw("KEY");
            c.primary_key = true;
        } else if (accept_kw("UNIQUE")) {
            c.unique = true;
        } else if (accept_kw("CONSTRAINT")) {
            name();
            if (accept_kw("PRIMARY")) {
                expect_kw("KEY");
                c.primary_key = true;
            } else {
                expect_kw("UNIQUE");
                c.unique = true;
            }
        } else {
            break;
        }
    }
    if (!(at(Tok::Comma) || at(Tok::RParen) || at(Tok::End) || at(Tok::Semicolon))) fail();
    return c;
}

// CONSTRAINT name PRIMARY KEY (cols) | UNIQUE (cols)
//   | FOREIGN KEY (cols) REFERENCES table [(cols)]
ConstraintDef Parser::constraint_def() {
    ConstraintDef d;
    d.pos = peek().begin;
    expect_kw("CONSTRAINT");
    d.name = name();
    if (accept_kw("PRIMARY")) {
        expect_kw("KEY");
        d.kind = ConstraintDef::Kind::PrimaryKey;
        d.columns = name_list();
    } else if (accept_kw("UNIQUE")) {
        d.kind = ConstraintDef::Kind::Unique;
        d.columns = name_list();
    } else {
        expect_kw("FOREIGN");
        expect_kw("KEY");
        d.kind = ConstraintDef::Kind::ForeignKey;
        d.columns = name_list();
        expect_kw("REFERENCES");
        d.ref_table = name();
        if (at(Tok::LParen)) d.ref_columns = name_list();
    }
    return d;
}

// ( name, ... )
std::vector<std::string> Parser::name_list() {
    std::vector<std::string> out;
    expect(Tok::LParen);
    do out.push_back(name());
    while (accept(Tok::Comma));
    expect(Tok::RParen);
    return out;
}

// CREATE TABLE name ( column | CONSTRAINT ..., ... )
CreateTable Parser::create_table() {
    Context ctx(*this, "CREATE TABLE statement");
    DdlScope ddl(expr_errors_in_context_);
    CreateTable ct;
    ct.pos = peek().begin;
    expect_kw("CREATE");
    expect_kw("TABLE");
    ct.table = name();
    expect(Tok::LParen);
    do {
        if (at_kw("CONSTRAINT"))
            ct.constraints.push_back(constraint_def());
        else
            ct.columns.push_back(column_def());
    } while (accept(Tok::Comma));
    expect(Tok::RParen);
    expect_end();
    return ct;
}

// ALTER TABLE [database.]t ADD [COLUMN] col, ... | ADD CONSTRAINT ... | DROP [COLUMN] c
//   | DROP CONSTRAINT name | ALTER [COLUMN] col
AlterTable Parser::alter_table() {
    Context ctx(*this, "ALTER TABLE statement");
    DdlScope ddl(expr_errors_in_context_);
    AlterTable alt;
    alt.pos = peek().begin;
    expect_kw("ALTER");
    expect_kw("TABLE");
    table_name(alt.database, alt.table);
    if (accept_kw("ADD")) {
        if (at_kw("CONSTRAINT")) {
            alt.action = AlterTable::Action::AddConstraint;
            alt.constraint = constraint_def();
        } else {
            alt.action = AlterTable::Action::AddColumns;
            accept_kw("COLUMN");
            do alt.columns.push_back(column_def());
            while (accept(Tok::Comma));
        }
    } else if (accept_kw("DROP")) {
        if (accept_kw("CONSTRAINT")) {
            alt.action = AlterTable::Action::DropConstraint;
            alt.constraint_name = name();
        } else {
            alt.action = AlterTable::Action::DropColumn;
            accept_kw("COLUMN");
            alt.column = name();
        }
    } else if (accept_kw("ALTER")) {
        alt.action = AlterTable::Action::AlterColumn;
        accept_kw("COLUMN");
        alt.columns.push_back(column_def());
    } else {
        fail();
    }
    expect_end();
    return alt;
}

// CREATE [UNIQUE] INDEX i ON [database.]t (col [ASC|DESC], ...)
//   [WITH PRIMARY | WITH DISALLOW NULL | WITH IGNORE NULL]
CreateIndex Parser::create_index(bool unique) {
    Context ctx(*this, "CREATE INDEX statement");
    CreateIndex ci;
    ci.pos = peek().begin;
    expect_kw("CREATE");
    ci.unique = unique && accept_kw("UNIQUE");
    expect_kw("INDEX");
    ci.name = name();
    expect_kw("ON");
    table_name(ci.database, ci.table);
    expect(Tok::LParen);
    do {
        IndexColumn c;
        c.name = name();
        if (accept_kw("DESC"))
            c.descending = true;
        else
            accept_kw("ASC");
        ci.columns.push_back(std::move(c));
    } while (accept(Tok::Comma));
    expect(Tok::RParen);
    if (accept_kw("WITH")) {
        if (accept_kw("PRIMARY")) {
            ci.option = IndexOption::Primary;
        } else if (accept_kw("DISALLOW")) {
            expect_kw("NULL");
            ci.option = IndexOption::DisallowNull;
        } else {
            expect_kw("IGNORE");
            expect_kw("NULL");
            ci.option = IndexOption::IgnoreNull;
        }
    }
    expect_end();
    return ci;
}

// DROP TABLE [database.]t | DROP INDEX i ON [database.]t
Statement Parser::drop() {
    Context ctx(*this, "DROP TABLE or DROP INDEX");
    uint32_t pos = peek().begin;
    expect_kw("DROP");
    if (accept_kw("TABLE")) {
        DropTable d;
        d.pos = pos;
        table_name(d.database, d.table);
        expect_end();
        return d;
    }
    expect_kw("INDEX");
    DropIndex d;
    d.pos = pos;
    d.name = name();
    expect_kw("ON");
    table_name(d.database, d.table);
    expect_end();
    return d;
}

}  // namespace jet::sql::detail
