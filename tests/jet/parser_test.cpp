// Statements: the trees the binder relies on, Jet's lexical tolerance, and the
// statements Jet refuses.
#include "jet/sql/parser.h"

#include <gtest/gtest.h>

#include <string>

#include "jet/error.h"

namespace {

using namespace jet::sql;
using jet::DataType;

template <class T>
T as(const std::string& text) {
    Statement st = parse(text);
    EXPECT_TRUE(std::holds_alternative<T>(st)) << text;
    return std::get<T>(std::move(st));
}

// "a" for a table, "(a JOIN b)" with J = I, L or R for a join.
std::string shape(const TableRef& t) {
    if (t.kind == TableRef::Kind::Table) {
        std::string s = t.database.empty() ? t.name : "[" + t.database + "]." + t.name;
        return t.alias.empty() ? s : s + " " + t.alias;
    }
    const char* j = t.join == JoinType::Inner ? " I " : t.join == JoinType::Left ? " L " : " R ";
    EXPECT_NE(t.on, nullptr);
    return "(" + shape(*t.left) + j + shape(*t.right) + ")";
}

TEST(ParserStatements, AcceptsJetsLexicalTolerance) {
    const char* ok[] = {
        "select * from t",
        "SeLeCt\t*\nFROM\r\n  t  ;",
        "INSERT INTO t (a)SELECT a FROM u",
        "CREATE UNIQUE INDEX i ON t(c)WITH PRIMARY",
        "SELECT[a]FROM[t]WHERE[a]=1",
        "SELECT [Nr faktury ], [7n], 7n, Miejscowość FROM [Dane firmy]",
        "DELETE * FROM t;",
        "SELECT * FROM t;  ",
    };
    for (const char* text : ok) EXPECT_NO_THROW(parse(text)) << text;
}

TEST(ParserStatements, SelectClauses) {
    auto s = as<Select>(
        "SELECT DISTINCTROW TOP 5 PERCENT t.*, a AS [Suma netto], Sum(b) AS s INTO "
        "[C:\\dane\\x.mdb].[kopia] "
        "FROM t WHERE a > 0 GROUP BY a, c HAVING Sum(b) > 1 ORDER BY a DESC, c");
    EXPECT_EQ(s.quantifier, Quantifier::DistinctRow);
    EXPECT_EQ(s.top, 5);
    EXPECT_TRUE(s.top_percent);
    ASSERT_EQ(s.items.size(), 3u);
    EXPECT_EQ(s.items[0].expr->kind, ExprKind::Star);
    EXPECT_EQ(s.items[0].expr->qualifier, "t");
    EXPECT_EQ(s.items[1].alias, "Suma netto");
    EXPECT_EQ(s.items[2].expr->kind, ExprKind::Function);
    EXPECT_EQ(s.into, "kopia");
    EXPECT_EQ(s.into_database, "C:\\dane\\x.mdb");
    EXPECT_EQ(s.group_by.size(), 2u);
    ASSERT_NE(s.having, nullptr);
    ASSERT_EQ(s.order_by.size(), 2u);
    EXPECT_TRUE(s.order_by[0].descending);
    EXPECT_FALSE(s.order_by[1].descending);

    auto d = as<Select>("SELECT DISTINCT a FROM t");
    EXPECT_EQ(d.quantifier, Quantifier::Distinct);
    EXPECT_FALSE(d.top.has_value());
}

TEST(ParserStatements, SourcesAndJoinShapes) {
    struct Row {
        const char* from;
        const char* shape;
    } rows[] = {
        {"a", "a"},
        {"a AS x, [b] y, [C:\\dane\\x.mdb].[tab]", "a x|b y|[C:\\dane\\x.mdb].tab"},
        {"a INNER JOIN b ON a.x = b.x", "(a I b)"},
        {"a LEFT OUTER JOIN b ON a.x = b.x", "(a L b)"},
        {"a RIGHT JOIN b ON a.x = b.x", "(a R b)"},
        {"(a INNER JOIN b ON a.x=b.x) INNER JOIN c ON c.y=b.y", "((a I b) I c)"},
        {"a INNER JOIN (b LEFT JOIN c ON b.y = c.y) ON a.x = b.x", "(a I (b L c))"},
        {"((a INNER JOIN b ON (a.x=b.x)) LEFT JOIN c ON b.y=c.y) INNER JOIN d ON d.z=c.z",
         "(((a I b) L c) I d)"},
        {"t AS t1 INNER JOIN t AS t2 ON t1.id = t2.parent", "(t t1 I t t2)"},
    };
    for (const auto& r : rows) {
        auto s = as<Select>(std::string("SELECT * FROM ") + r.from);
        std::string got;
        for (const auto& f : s.from) got += (got.empty() ? "" : "|") + shape(*f);
        EXPECT_EQ(got, r.shape) << r.from;
    }
}

TEST(ParserStatements, InsertUpdateDelete) {
    auto i = as<Insert>("INSERT INTO [x.mdb].[t] ( [a], t.b ) VALUES (1, 'x')");
    EXPECT_EQ(i.database, "x.mdb");
    EXPECT_EQ(i.table, "t");
    EXPECT_EQ(i.columns, (std::vector<std::string>{"a", "b"}));
    ASSERT_EQ(i.values.size(), 1u);
    EXPECT_EQ(i.values[0].size(), 2u);
    EXPECT_EQ(i.select, nullptr);

    auto is = as<Insert>("Insert Into t ( a ) SELECT DISTINCT u.a FROM u");
    ASSERT_NE(is.select, nullptr);
    EXPECT_EQ(is.select->quantifier, Quantifier::Distinct);
    EXPECT_TRUE(as<Insert>("INSERT INTO t SELECT * FROM u").columns.empty());

    auto u = as<Update>(
        "UPDATE DISTINCTROW a INNER JOIN b ON a.x = b.x SET a.c = b.c, d = 1 WHERE a.e = 0");
    EXPECT_TRUE(u.distinctrow);
    EXPECT_EQ(shape(*u.target), "(a I b)");
    ASSERT_EQ(u.assignments.size(), 2u);
    EXPECT_EQ(u.assignments[0].qualifier, "a");
    EXPECT_EQ(u.assignments[0].column, "c");
    EXPECT_EQ(u.assignments[1].qualifier, "");
    EXPECT_NE(u.where, nullptr);

    struct Row {
        const char* text;
        const char* qualifier;
        const char* from;
    } dels[] = {
        {"DELETE FROM t", "", "t"},
        {"DELETE * FROM t WHERE a = 1", "", "t"},
        {"DELETE *.* FROM t", "", "t"},
        {"DELETE t.* FROM t INNER JOIN u ON t.a = u.a", "t", "(t I u)"},
    };
    for (const auto& r : dels) {
        auto d = as<Delete>(r.text);
        EXPECT_EQ(d.star_qualifier, r.qualifier) << r.text;
        ASSERT_EQ(d.from.size(), 1u);
        EXPECT_EQ(shape(*d.from[0]), r.from) << r.text;
    }
}

TEST(ParserStatements, ColumnTypes) {
    struct Row {
        const char* type;
        DataType data;
        int size;
        bool counter;
    } rows[] = {
        {"TEXT(50)", DataType::Text, 50, false},    {"text(80)", DataType::Text, 80, false},
        {"Text (50)", DataType::Text, 50, false},   {"text  (255)", DataType::Text, 255, false},
        {"TEXT", DataType::Text, 255, false},       {"char", DataType::Text, 255, false},
        {"varchar(1)", DataType::Text, 1, false},   {"memo", DataType::Memo, 0, false},
        {"longtext", DataType::Memo, 0, false},     {"note", DataType::Memo, 0, false},
        {"byte", DataType::Byte, 0, false},         {"tinyint", DataType::Byte, 0, false},
        {"short", DataType::Integer, 0, false},     {"smallint", DataType::Integer, 0, false},
        {"int", DataType::Long, 0, false},          {"integer", DataType::Long, 0, false},
        {"Long", DataType::Long, 0, false},         {"single", DataType::Single, 0, false},
        {"real", DataType::Single, 0, false},       {"double", DataType::Double, 0, false},
        {"float", DataType::Double, 0, false},      {"money", DataType::Currency, 0, false},
        {"currency", DataType::Currency, 0, false}, {"date", DataType::Date, 0, false},
        {"datetime", DataType::Date, 0, false},     {"SmallDateTime", DataType::Date, 0, false},
        {"logical", DataType::Boolean, 0, false},   {"bit", DataType::Boolean, 0, false},
        {"yesno", DataType::Boolean, 0, false},     {"counter", DataType::Long, 0, true},
        {"autoincrement", DataType::Long, 0, true}, {"int identity", DataType::Long, 0, true},
        {"identity", DataType::Long, 0, true},      {"counter(1, 1)", DataType::Long, 0, true},
    };
    for (const auto& r : rows) {
        auto a = as<AlterTable>(std::string("ALTER TABLE t ADD COLUMN c ") + r.type);
        ASSERT_EQ(a.columns.size(), 1u);
        const TypeSpec& t = a.columns[0].type;
        EXPECT_EQ(t.type, r.data) << r.type;
        EXPECT_EQ(t.size, r.size) << r.type;
        EXPECT_EQ(t.counter, r.counter) << r.type;
        EXPECT_EQ(t.spelling, r.type);
    }
    const char* bad[] = {"TEXT(0)", "TEXT(256)", "TEXT(1000)", "TEXT()", "TEXT(a)",
                         "blob",    "long(4)",   "money(2)",   ""};
    for (const char* b : bad) {
        try {
            parse(std::string("CREATE TABLE t (c ") + b + ")");
            ADD_FAILURE() << b << " accepted";
        } catch (const jet::Error& e) {
            EXPECT_EQ(e.description(), "Syntax error in CREATE TABLE statement.") << b;
        }
    }
}

TEST(ParserStatements, CreateTableColumnsDefaultsAndConstraints) {
    auto c = as<CreateTable>(
        "create table [tab nowa] (id counter, nazwa TEXT(180) not null DEFAULT '', "
        "ilosc   Single DEFAULT =0, cena money DEFAULT 1 DEFAULT null, flaga logical null "
        "default -1, CONSTRAINT pk PRIMARY KEY (id, nazwa))");
    EXPECT_EQ(c.table, "tab nowa");
    ASSERT_EQ(c.columns.size(), 5u);
    EXPECT_FALSE(c.columns[0].not_null.has_value());
    EXPECT_EQ(c.columns[0].default_value, nullptr);
    EXPECT_EQ(c.columns[1].not_null, true);
    EXPECT_EQ(c.columns[1].default_text, "''");
    EXPECT_EQ(c.columns[2].default_text, "0");
    EXPECT_EQ(c.columns[2].default_value->kind, ExprKind::Integer);
    EXPECT_EQ(c.columns[3].default_text, "null");  // the last DEFAULT wins
    EXPECT_EQ(c.columns[3].default_value->kind, ExprKind::Null);
    EXPECT_EQ(c.columns[4].not_null, false);
    EXPECT_EQ(c.columns[4].default_text, "-1");
    ASSERT_EQ(c.constraints.size(), 1u);
    EXPECT_EQ(c.constraints[0].kind, ConstraintDef::Kind::PrimaryKey);
    EXPECT_EQ(c.constraints[0].name, "pk");
    EXPECT_EQ(c.constraints[0].columns, (std::vector<std::string>{"id", "nazwa"}));
}

TEST(ParserStatements, AlterTableActions) {
    auto add2 = as<AlterTable>("alter table t add  a long, [b c] TEXT(5)");
    EXPECT_EQ(add2.action, AlterTable::Action::AddColumns);
    ASSERT_EQ(add2.columns.size(), 2u);
    EXPECT_EQ(add2.columns[1].name, "b c");

    auto drop = as<AlterTable>("ALTER TABLE [t] DROP COLUMN c");
    EXPECT_EQ(drop.action, AlterTable::Action::DropColumn);
    EXPECT_EQ(drop.column, "c");
    EXPECT_EQ(as<AlterTable>("ALTER TABLE t DROP c").column, "c");

    auto alt = as<AlterTable>("ALTER TABLE t ALTER COLUMN c TEXT(100)");
    EXPECT_EQ(alt.action, AlterTable::Action::AlterColumn);
    EXPECT_EQ(alt.columns.at(0).type.size, 100);

    auto fk = as<AlterTable>("ALTER TABLE t ADD CONSTRAINT fk1 FOREIGN KEY (c) REFERENCES t2 (d)");
    EXPECT_EQ(fk.action, AlterTable::Action::AddConstraint);
    EXPECT_EQ(fk.constraint.kind, ConstraintDef::Kind::ForeignKey);
    EXPECT_EQ(fk.constraint.ref_table, "t2");
    EXPECT_EQ(fk.constraint.ref_columns, (std::vector<std::string>{"d"}));

    auto dc = as<AlterTable>("ALTER TABLE t DROP CONSTRAINT fk1");
    EXPECT_EQ(dc.action, AlterTable::Action::DropConstraint);
    EXPECT_EQ(dc.constraint_name, "fk1");
}

TEST(ParserStatements, IndexesAndDrops) {
    struct Row {
        const char* text;
        bool unique;
        IndexOption option;
    } rows[] = {
        {"CREATE INDEX i ON t (a)", false, IndexOption::None},
        {"CREATE UNIQUE INDEX i ON t (a)", true, IndexOption::None},
        {"create index i on t (a asc) with Primary", false, IndexOption::Primary},
        {"CREATE INDEX i ON t (a) WITH DISALLOW NULL", false, IndexOption::DisallowNull},
        {"CREATE INDEX i ON t (a) WITH IGNORE NULL", false, IndexOption::IgnoreNull},
    };
    for (const auto& r : rows) {
        auto c = as<CreateIndex>(r.text);
        EXPECT_EQ(c.unique, r.unique) << r.text;
        EXPECT_EQ(c.option, r.option) << r.text;
        EXPECT_EQ(c.name, "i");
        EXPECT_EQ(c.table, "t");
    }
    auto two = as<CreateIndex>("CREATE INDEX i ON t (a DESC, [b c])");
    ASSERT_EQ(two.columns.size(), 2u);
    EXPECT_TRUE(two.columns[0].descending);
    EXPECT_EQ(two.columns[1].name, "b c");

    auto di = as<DropIndex>("drop index Podstawowy ON [t]");
    EXPECT_EQ(di.name, "Podstawowy");
    EXPECT_EQ(di.table, "t");
    EXPECT_EQ(as<DropTable>("DROP TABLE [tab_nowa_fzb]").table, "tab_nowa_fzb");

    // [path].[table] names a table of a file, in DDL as in queries: "path|table".
    const std::pair<const char*, const char*> paths[] = {
        {"alter table [/tmp/x/baza.mdb].[T] ADD COLUMN c TEXT(255)", "/tmp/x/baza.mdb|T"},
        {"drop INDEX indF ON [/tmp/x/baza.mdb].[T]", "/tmp/x/baza.mdb|T"},
        {"CREATE UNIQUE INDEX i ON [C:\\dane\\x.mdb].t (a)", "C:\\dane\\x.mdb|t"},
        {"DROP TABLE [x.mdb].[t]", "x.mdb|t"},
        {"DROP TABLE t", "|t"},
    };
    for (const auto& [text, expected] : paths) {
        std::string got;
        std::visit(
            [&](const auto& s) {
                if constexpr (requires { s.database + s.table; }) got = s.database + "|" + s.table;
            },
            parse(text));
        EXPECT_EQ(got, expected) << text;
    }
}

TEST(ParserStatements, RefusedStatementsNameTheirPlace) {
    struct Row {
        const char* text;
        const char* description;
    } rows[] = {
        {"", "Syntax error in SQL statement."},
        {"EXECUTE x", "Syntax error in SQL statement."},
        {"SELECT * FROM t; SELECT 1", "Syntax error in SQL statement."},
        {"SELECT * FROM", "Syntax error in FROM clause."},
        {"SELECT * FROM t u v", "Syntax error in FROM clause."},
        {"SELECT * FROM a JOIN b ON a.x = b.x", "Syntax error in FROM clause."},
        {"SELECT * FROM a INNER b ON a.x = b.x", "Syntax error in JOIN operation."},
        {"SELECT * FROM a INNER JOIN b", "Syntax error in JOIN operation."},
        {"SELECT * FROM (a INNER JOIN b ON a.x = b.x", "Syntax error in FROM clause."},
        {"SELECT * FROM t ORDER a", "Syntax error in ORDER BY clause."},
        {"SELECT * FROM t GROUP a", "Syntax error in GROUP BY clause."},
        {"SELECT TOP x * FROM t", "Syntax error in SELECT statement."},
        {"SELECT FROM t", "Syntax error in SELECT statement."},
        {"SELECT a, FROM t", "Syntax error in SELECT statement."},
        {"CREATE TABLE t", "Syntax error in CREATE TABLE statement."},
        {"CREATE TABLE t (a TEXT(50) DEFAULT)", "Syntax error in CREATE TABLE statement."},
        {"CREATE TABLE t (a TEXT(50),)", "Syntax error in CREATE TABLE statement."},
        {"CREATE VIEW v AS SELECT 1", "Syntax error in CREATE TABLE statement."},
        {"ALTER TABLE t ADD COLUMN", "Syntax error in ALTER TABLE statement."},
        {"ALTER TABLE t RENAME a", "Syntax error in ALTER TABLE statement."},
        {"CREATE INDEX i ON t", "Syntax error in CREATE INDEX statement."},
        {"CREATE INDEX i ON t (a) WITH NOTHING", "Syntax error in CREATE INDEX statement."},
        {"DROP INDEX i", "Syntax error in DROP TABLE or DROP INDEX."},
        {"DROP TABLE", "Syntax error in DROP TABLE or DROP INDEX."},
        {"INSERT INTO t (a) VALUE (1)", "Syntax error in INSERT INTO statement."},
        {"INSERT t VALUES (1)", "Syntax error in INSERT INTO statement."},
        {"UPDATE t a = 1", "Syntax error in UPDATE statement."},
        {"DELETE t FROM t", "Syntax error in DELETE statement."},
    };
    for (const auto& r : rows) {
        try {
            parse(r.text);
            ADD_FAILURE() << r.text << " accepted";
        } catch (const jet::Error& e) {
            EXPECT_EQ(e.number(), jet::hr::Syntax) << r.text;
            EXPECT_EQ(e.description(), r.description) << r.text;
        }
    }
}

// SQLite would take a NUL byte for the end of the text: the tokenizer refuses it,
// naming where it is (the position counts characters, not bytes).
TEST(ParserStatements, NulBytesAreRefusedWhereverTheyAre) {
    using namespace std::string_literals;
    struct Row {
        std::string text;
        const char* where;
        int position;
    } rows[] = {
        {"SELECT 'a\0b' FROM t"s, "string", 10},
        {"SELECT \"ż\0\" FROM t"s, "string", 10},
        {"SELECT 'a''\0"s, "string", 12},
        {"SELECT [a\0b] FROM t"s, "bracketed name", 10},
        {"CREATE TABLE [t\0] (a long)"s, "bracketed name", 16},
        {"SELECT * FROM [Dane \0"s, "bracketed name", 21},
        {"SELECT #1/1/2000\0# FROM t"s, "date", 17},
        {"SELECT 1\0 FROM t"s, "SQL statement", 9},
        {"\0"s, "SQL statement", 1},
        {"SELECT a FROM t WHERE b = 'ą';\0"s, "SQL statement", 31},
        {"SELECT ` \0"s, "SQL statement", 10},
    };
    for (const auto& r : rows) {
        try {
            parse(r.text);
            ADD_FAILURE() << r.where << " " << r.position << " accepted";
        } catch (const jet::Error& e) {
            EXPECT_EQ(e.fault(), jet::Fault::NulCharacter) << e.description();
            EXPECT_EQ(e.number(), jet::hr::Syntax);
            EXPECT_EQ(e.description(), "Syntax error: NUL character (byte 0) in "s + r.where +
                                           " at position " + std::to_string(r.position) + ".");
        }
    }
}

TEST(ParserStatements, DeepNestingIsASyntaxErrorNotACrash) {
    for (const char* unit : {"(", "-", "NOT ", "(("}) {
        std::string deep = "SELECT * FROM t WHERE ";
        for (int i = 0; i < 100000; ++i) deep += unit;
        deep += "1";
        EXPECT_THROW(parse(deep), jet::Error) << unit;
    }
    std::string joins = "SELECT * FROM ";
    for (int i = 0; i < 100000; ++i) joins += "(";
    EXPECT_THROW(parse(joins + "a"), jet::Error);

    std::string fine = "SELECT * FROM t WHERE ";  // Access nests a few levels, not hundreds
    for (int i = 0; i < 20; ++i) fine += "(";
    fine += "a = 1";
    for (int i = 0; i < 20; ++i) fine += ")";
    EXPECT_NO_THROW(parse(fine));
}

}  // namespace
