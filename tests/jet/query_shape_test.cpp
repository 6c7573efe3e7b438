// The shape of results and writes: row order and TOP, SELECT ... INTO, INSERT field
// mapping, atomic statements, and plans that follow schema changes.
#include "query_util.h"

namespace query_test {
namespace {

class Shapes : public QueryTest {
protected:
    void SetUp() override {
        QueryTest::SetUp();
        run_all({"CREATE TABLE Towary (Id counter, Nazwa text(30) DEFAULT 'nowy', Cena money, Grupa long)",
                 "CREATE INDEX Nazwy ON Towary (Nazwa)", "INSERT INTO Towary (Nazwa, Cena, Grupa) VALUES ('Żyto', 3, 2)",
                 "INSERT INTO Towary (Nazwa, Cena, Grupa) VALUES ('bułka', 1, 1)",
                 "INSERT INTO Towary (Nazwa, Cena, Grupa) VALUES ('Chleb', 3, 1)",
                 "INSERT INTO Towary (Nazwa, Cena, Grupa) VALUES ('Ciasto', 3, 2)"});
    }
};

TEST_F(Shapes, RowOrderIsInsertionOrderAndTiesKeepIt) {
    const Case cases[] = {
        {"SELECT Nazwa FROM Towary", "Żyto;bułka;Chleb;Ciasto"},
        {"SELECT Nazwa FROM Towary WHERE Nazwa > 'a'", "Żyto;bułka;Chleb;Ciasto"},
        {"SELECT Nazwa FROM Towary ORDER BY Cena", "bułka;Żyto;Chleb;Ciasto"},
        {"SELECT Nazwa FROM Towary ORDER BY Cena DESC", "Żyto;Chleb;Ciasto;bułka"},
        {"SELECT TOP 2 Nazwa FROM Towary", "Żyto;bułka"},
        {"SELECT TOP 2 Nazwa FROM Towary ORDER BY Nazwa", "bułka;Chleb"},
        {"SELECT TOP 2 Nazwa FROM Towary ORDER BY Cena", "bułka;Żyto;Chleb;Ciasto"},
        {"SELECT TOP 1 Nazwa FROM Towary ORDER BY Cena DESC, Nazwa", "Chleb"},
        {"SELECT TOP 1 Grupa, Sum(Cena) FROM Towary GROUP BY Grupa ORDER BY Sum(Cena) DESC", "2|6"},
        {"SELECT TOP 50 PERCENT Nazwa FROM Towary ORDER BY Cena", "bułka;Żyto"},
        {"SELECT Grupa, Sum(Cena) AS S FROM Towary GROUP BY Grupa HAVING Sum(Cena) > 3", "1|4;2|6"},
        {"SELECT Grupa, Count(*) FROM Towary GROUP BY Grupa ORDER BY Count(*) DESC, Grupa", "1|2;2|2"},
        {"SELECT First(Nazwa), Last(Nazwa) FROM Towary", "Żyto|Ciasto"},
        {"SELECT Nazwa, Cena FROM Towary ORDER BY 2", "Żyto|3;bułka|1;Chleb|3;Ciasto|3"},
        {"SELECT Count(*) FROM Towary GROUP BY 1", "4"},
        {"SELECT Nazwa AS N, Cena * 2 AS Podwójna FROM Towary ORDER BY Podwójna, N", "bułka|2;Chleb|6;Ciasto|6;Żyto|6"},
        {"SELECT a.Nazwa, b.Nazwa FROM Towary a, Towary b WHERE a.Id < 3 AND b.Id > 3",
         "Żyto|Ciasto;bułka|Ciasto"},
    };
    EXPECT_CASES(cases);
}

TEST_F(Shapes, SelectIntoCreatesTheTable) {
    const Case cases[] = {
        {"SELECT Id, Nazwa AS Nazwa2, Cena, Cena * 2 AS Dwa, Nazwa & '!' AS W INTO Kopia FROM Towary "
         "WHERE Grupa = 2",
         "ok 2"},
        {"SELECT * FROM Kopia", "1|Żyto|3|6|Żyto!;4|Ciasto|3|6|Ciasto!"},
        {"SELECT Id INTO Kopia FROM Towary", "error 80040E14"},
        {"Select top 1 * into Jeden from Towary", "ok 1"},
        {"SELECT * FROM Jeden", "1|Żyto|3|2"},
        {"INSERT INTO Kopia (Nazwa2) VALUES ('nowy')", "ok 1"},
        {"SELECT Id, Nazwa2 FROM Kopia WHERE Nazwa2 = 'nowy'", "5|nowy"},
        {"INSERT INTO Kopia (Nazwa2) VALUES ('1234567890123456789012345678901')", "error 80040E57"},
    };
    EXPECT_CASES(cases);
    const jet::TableInfo* t = db->catalog().table("kopia");
    ASSERT_NE(t, nullptr);
    ASSERT_EQ(t->columns.size(), 5u);
    EXPECT_TRUE(t->columns[0].counter);
    EXPECT_EQ(t->columns[1].name, "Nazwa2");
    EXPECT_EQ(t->columns[1].size, 30);
    EXPECT_EQ(t->columns[1].default_text, "");
    EXPECT_EQ(t->columns[2].type, jet::DataType::Currency);
    EXPECT_EQ(t->columns[3].type, jet::DataType::Currency);
    EXPECT_EQ(t->columns[4].type, jet::DataType::Text);
    EXPECT_TRUE(t->indexes.empty());
}

// A plain column whose name another item of the list has too (Jet's comparison,
// Polish letters included; an alias counts) is named with its table.
TEST_F(Shapes, SameNamedColumnsAreNamedWithTheirTable) {
    run_all({"CREATE TABLE A (Łódź long, n long)", "CREATE TABLE B (ŁÓDŹ long, x long)",
             "INSERT INTO A (n) VALUES (1)", "INSERT INTO B (x) VALUES (2)"});
    auto names = [&](const std::string& sql) {
        std::string out;
        for (const auto& c : db->query(sql)->columns()) out += (out.empty() ? "" : "|") + c.name;
        return out;
    };
    struct Row {
        std::string sql;
        std::string names;
    } rows[] = {
        {"SELECT A.Łódź, B.ŁÓDŹ, n, x FROM A, B", "A.Łódź|B.ŁÓDŹ|n|x"},
        {"SELECT * FROM A, B", "A.Łódź|n|B.ŁÓDŹ|x"},
        {"SELECT n, x, 1 AS N FROM A, B", "A.n|x|N"},
        {"SELECT a.n, b.x AS N FROM A AS a, B AS b", "a.n|N"},
        {"SELECT n AS Łódź, B.łódź FROM A, B", "Łódź|B.ŁÓDŹ"},
    };
    for (const auto& r : rows) EXPECT_EQ(names(r.sql), r.names) << r.sql;

    // A wide list: every other item has the other table's name for it.
    std::string wide = "SELECT ";
    for (int i = 0; i < 1500; ++i) wide += i % 2 ? ", B.ŁÓDŹ" : (i ? ", A.Łódź" : "A.Łódź");
    auto c = db->query(wide + " FROM A, B");
    ASSERT_EQ(c->columns().size(), 1500u);
    EXPECT_EQ(c->columns()[1498].name, "A.Łódź");
    EXPECT_EQ(c->columns()[1499].name, "B.ŁÓDŹ");
    // Past what a query can return, the statement is refused, not slowly built.
    std::string wider = "SELECT n";
    for (int i = 1; i < 20000; ++i) wider += ", n";
    EXPECT_EQ(outcome(wider + " FROM A"), "error 80040E14");
}

TEST_F(Shapes, InsertMapsFieldsAndFailsAsAWhole) {
    run_all({"CREATE TABLE Cel (Nazwa text(30), Cena money, Uwagi text(5))"});
    const Case cases[] = {
        {"INSERT INTO Cel SELECT Nazwa, Cena FROM Towary WHERE Grupa = 1", "ok 2"},
        {"INSERT INTO Cel SELECT Cena AS Nazwa, Nazwa AS Uwagi FROM Towary WHERE Id = 1", "ok 1"},
        {"SELECT Nazwa, Cena, Uwagi FROM Cel", "bułka|1|Null;Chleb|3|Null;3|Null|Żyto"},
        {"INSERT INTO Cel SELECT Id FROM Towary", "error 80040E14"},
        {"INSERT INTO Cel (Nazwa) VALUES ('a', 'b')", "error 80040E14"},
        {"INSERT INTO Cel (Brak) VALUES ('a')", "error 80040E14"},
        {"INSERT INTO Cel (Nazwa, Uwagi) SELECT Nazwa, Nazwa FROM Towary", "error 80040E57"},
        {"SELECT Count(*) FROM Cel", "3"},
        {"INSERT INTO Towary (Cena) VALUES (2)", "ok 1"},
        {"SELECT Id, Nazwa FROM Towary WHERE Cena = 2", "5|nowy"},
        {"INSERT INTO [Towary] (Nazwa) SELECT Nazwa FROM Towary WHERE Grupa = 2 ORDER BY Nazwa", "ok 2"},
        {"SELECT Id, Nazwa FROM Towary WHERE Id > 5", "6|Ciasto;7|Żyto"},
    };
    EXPECT_CASES(cases);
}

TEST_F(Shapes, PlansFollowSchemaChanges) {
    const std::string q = "SELECT * FROM Towary WHERE Id = 1";
    EXPECT_EQ(rows(q), "1|Żyto|3|2");
    run("ALTER TABLE Towary ADD COLUMN Opis text(10)");
    EXPECT_EQ(rows(q), "1|Żyto|3|2|Null");
    run("ALTER TABLE Towary DROP COLUMN Opis");
    EXPECT_EQ(rows(q), "1|Żyto|3|2");
    run("DROP TABLE Towary");
    EXPECT_EQ(outcome(q), "error 80040E37");
    // The same file named by its path is the same table.
    run("CREATE TABLE Nowa (a long)");
    EXPECT_EQ(outcome("INSERT INTO [" + path_ + "].[Nowa] (a) VALUES (1)"), "ok 1");
    EXPECT_EQ(rows("SELECT a FROM [" + path_ + "].Nowa"), "1");
}

TEST_F(Shapes, CursorsOnTheSameStatementReadIndependently) {
    auto a = db->query("SELECT Id FROM Towary");
    auto b = db->query("SELECT Id FROM Towary");
    ASSERT_TRUE(a->next());
    ASSERT_TRUE(b->next());
    ASSERT_TRUE(a->next());
    EXPECT_EQ(show(a->value(0)), "2");
    EXPECT_EQ(show(b->value(0)), "1");
    EXPECT_EQ(run("UPDATE Towary SET Cena = Cena + 1 WHERE Grupa = 1"), 2);
    // A cursor that outlives its database fails cleanly.
    db.reset();
    EXPECT_THROW(a->next(), jet::Error);
    EXPECT_THROW(b->next(), jet::Error);
}

}  // namespace
}  // namespace query_test

namespace query_test {
namespace {

TEST_F(Shapes, TablesOfAnotherFile) {
    const std::string other = (dir_ / "stara.mdb").string();
    jet::Database::create(other);
    {
        auto old = jet::Database::open(other);
        old->execute("CREATE TABLE Stara (Id counter, Nazwa text(12), Cena money)");
        old->execute("CREATE UNIQUE INDEX Podstawowy ON Stara (Id) WITH PRIMARY");
        old->execute("INSERT INTO Stara (Nazwa, Cena) VALUES ('mąka', 2.5)");
        old->execute("INSERT INTO Stara (Nazwa, Cena) VALUES ('cukier', Null)");
    }
    const std::string t = "[" + other + "].[Stara]";
    const Case cases[] = {
        {"SELECT * INTO Stara FROM " + t + "", "ok 2"},
        {"SELECT Id, Nazwa, Cena FROM Stara", "1|mąka|2.5;2|cukier|Null"},
        {"UPDATE " + t + " SET Cena = 1 WHERE Cena IS NULL", "ok 1"},
        {"SELECT Nazwa, Cena FROM " + t + " ORDER BY Nazwa", "cukier|1;mąka|2.5"},
        {"SELECT * INTO Stara FROM " + t, "error 80040E14"},
        {"SELECT s.Id FROM Towary s INNER JOIN " + t + " o ON s.Id = o.Id", "error 80040E37"},
    };
    EXPECT_CASES(cases);
    const jet::TableInfo* copy = db->catalog().table("Stara");
    ASSERT_NE(copy, nullptr);
    EXPECT_TRUE(copy->columns[0].counter);
    EXPECT_EQ(copy->columns[1].size, 12);
    EXPECT_TRUE(copy->indexes.empty());
    // The other file's change was committed there.
    auto reopened = jet::Database::open(other);
    auto c = reopened->query("SELECT Cena FROM Stara WHERE Id = 2");
    ASSERT_TRUE(c->next());
    EXPECT_EQ(show(c->value(0)), "1");
}

}  // namespace
}  // namespace query_test
