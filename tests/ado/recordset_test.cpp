#include <algorithm>
#include <fstream>
#include <iterator>

#include "ado_fixture.h"
#include "jet/reports.h"
#include "jet/trace.h"

namespace ado_test {
namespace {

using ado::adLockOptimistic;
using ado::adLockReadOnly;
using ado::adOpenKeyset;
using ado::adOpenStatic;

uint32_t failure(const std::function<void()>& fn) {
    try {
        fn();
    } catch (const jet::Error& e) {
        return e.number();
    }
    return 0;
}

class RecordsetTest : public AdoTest {
  protected:
    void SetUp() override {
        AdoTest::SetUp();
        exec(
            "CREATE TABLE h (id counter, nr long, name TEXT(10), total money, "
            "CONSTRAINT pk PRIMARY KEY (id))");
        exec(
            "CREATE TABLE l (lid counter, hid long, amount money, CONSTRAINT pkl PRIMARY KEY "
            "(lid))");
        for (int i = 1; i <= 3; ++i)
            exec("INSERT INTO h (nr, name, total) VALUES (" + std::to_string(i * 10) + ", 'n" +
                 std::to_string(i) + "', 0)");
        exec("INSERT INTO l (hid, amount) VALUES (1, 1.5)");
        exec("INSERT INTO l (hid, amount) VALUES (1, 2.5)");
        exec("INSERT INTO l (hid, amount) VALUES (2, 4)");
    }
};

// The shape observer sees each statement parsed and, as a recordset closes, whether its
// reader took a row of the query (not one the recordset added) and stopped on a row.
TEST_F(RecordsetTest, ShapeObserverSeesStatementsAndWhereReadersStop) {
    struct Zapis : jet::ShapeObserver {
        std::vector<std::string> widziane;
        void statement(std::string_view sql, const jet::sql::Statement& st, const jet::Catalog&,
                       bool query) override {
            widziane.push_back(std::string(query ? "Q " : "X ") + std::to_string(st.index()) +
                               " " + std::string(sql));
        }
        void closed(std::string_view sql, bool read, bool on_row) override {
            widziane.push_back("C " + std::string(sql) + (read ? " read" : "") +
                               (on_row ? " on row" : ""));
        }
    } z;
    jet::set_shape_observer(&z);
    exec("UPDATE h SET total = 1 WHERE nr = 10");
    const struct {
        const char* sql;
        int krokow;  // MoveNext calls after the first field read; -1: AddNew, no read
    } przypadki[] = {{"SELECT nr FROM h ORDER BY nr", 0},
                     {"SELECT name FROM h", 3},
                     {"SELECT nr, name FROM h", -1}};
    for (const auto& p : przypadki) {
        ado::Recordset rs;
        rs.Open(p.sql, conn, adOpenKeyset, adLockOptimistic);
        if (p.krokow < 0) {
            rs.AddNew();
            rs.Fields(0) = jet::Value::long_(99);
            rs.Update();
            (void)rs.Fields(0).value();
        } else {
            (void)rs.Fields(0).value();
            for (int i = 0; i < p.krokow; ++i) rs.MoveNext();
        }
    }
    jet::set_shape_observer(nullptr);
    EXPECT_EQ(z.widziane, (std::vector<std::string>{
                              "X 2 UPDATE h SET total = 1 WHERE nr = 10",
                              "Q 0 SELECT nr FROM h ORDER BY nr",
                              "C SELECT nr FROM h ORDER BY nr read on row",
                              "Q 0 SELECT name FROM h",
                              "C SELECT name FROM h read",
                              "Q 0 SELECT nr, name FROM h",
                              "C SELECT nr, name FROM h on row",
                          }));
}

TEST_F(RecordsetTest, CountsMovesAndEofErrors) {
    ado::Recordset rs;
    rs.CursorLocation = ado::adUseServer;
    rs.CacheSize = 999;
    rs.Open("Select nr, name FROM h ORDER BY nr DESC", conn, adOpenStatic, adLockReadOnly, -1);
    EXPECT_EQ(rs.RecordCount(), 3);
    EXPECT_FALSE(rs.Bof());
    Strings seen;
    for (; !rs.Eof(); rs.MoveNext()) seen.push_back(rs.Fields("NAME").value().to_text());
    EXPECT_EQ(seen, (Strings{"n3", "n2", "n1"}));
    EXPECT_EQ(failure([&] { rs.Fields(0).value(); }), 0x800A0BCDu);
    EXPECT_EQ(failure([&] { rs.MoveNext(); }), 0x800A0BCDu);
    rs.MoveFirst();
    EXPECT_EQ(rs.Fields(0).value().to_long(), 30);
    EXPECT_EQ(failure([&] { rs.Fields(2); }), 0x800A0CC1u);
    EXPECT_EQ(failure([&] { rs.Fields("nope"); }), 0x800A0CC1u);
    EXPECT_EQ(failure([&] { rs.Fields(0) = Value::long_(1); }), 0x800A0CB3u);  // read-only
    rs.Close();
    EXPECT_EQ(rs.State(), ado::adStateClosed);
    EXPECT_EQ(failure([&] { rs.RecordCount(); }), 0x800A0E78u);

    // A failed open leaves the recordset closed, ready to be opened again.
    ado::Recordset again;
    EXPECT_EQ(
        failure([&] { again.Open("SELECT nope FROM h", conn, adOpenStatic, adLockOptimistic); }),
        0x80040E10u);
    EXPECT_EQ(
        failure([&] { again.Open("SELECT * FROM missing", conn, adOpenKeyset, adLockOptimistic); }),
        0x80040E37u);
    EXPECT_EQ(again.State(), ado::adStateClosed);
    again.Open("SELECT nr FROM h", conn, adOpenStatic, adLockOptimistic);
    EXPECT_EQ(failure([&] { again.Open("SELECT nr FROM h", conn); }), 0x800A0E79u);
    EXPECT_EQ(again.RecordCount(), 3);

    ado::Recordset empty;
    empty.Open("SELECT nr FROM h WHERE nr > 100", conn, adOpenKeyset, adLockOptimistic);
    EXPECT_EQ(empty.RecordCount(), 0);
    EXPECT_TRUE(empty.Eof());
    EXPECT_TRUE(empty.Bof());
    EXPECT_EQ(failure([&] { empty.Fields(0).value(); }), 0x800A0BCDu);
    EXPECT_NO_THROW(empty.UpdateBatch(ado::adAffectAllChapters));  // nothing pending
}

TEST_F(RecordsetTest, StaticKeepsItsMomentKeysetReadsCurrentValues) {
    ado::Recordset snap, keys;
    snap.Open("SELECT nr, name FROM h ORDER BY nr", conn, adOpenStatic, adLockOptimistic);
    keys.Open("SELECT nr, name FROM h ORDER BY nr", conn, adOpenKeyset, adLockOptimistic);
    exec("UPDATE h SET name = 'new' WHERE nr = 20");
    exec("DELETE FROM h WHERE nr = 30");
    snap.MoveNext();
    keys.MoveNext();
    EXPECT_EQ(snap.Fields(1).value().to_text(), "n2");
    EXPECT_EQ(keys.Fields(1).value().to_text(), "new");
    snap.MoveNext();
    keys.MoveNext();
    EXPECT_EQ(snap.Fields(1).value().to_text(), "n3");
    EXPECT_EQ(failure([&] { keys.Fields(1).value(); }), 0x800A0BCDu);  // deleted meanwhile
    EXPECT_EQ(snap.RecordCount(), 3);
}

TEST_F(RecordsetTest, WritesMadeBeforeTheOpenAreVisible) {
    conn.BeginTrans();
    exec("UPDATE h SET name = 'tx' WHERE nr = 10");
    EXPECT_EQ(column("SELECT name FROM h WHERE nr = 10"), (Strings{"tx"}));
    conn.CommitTrans();
    ado::Connection other;
    other.Open(connection_string(path));
    ado::Recordset rs;
    rs.Open("SELECT name FROM h WHERE nr = 10", other, adOpenStatic, adLockReadOnly);
    EXPECT_EQ(rs.Fields(0).value().to_text(), "tx");
}

TEST_F(RecordsetTest, EditingTheOrderColumnNeitherReordersNorRequeries) {
    // Renumbering through an ordered recordset, as the steps do.
    ado::Recordset rs;
    rs.Open("SELECT nr FROM h WHERE nr >= 10 ORDER BY nr", conn, adOpenStatic, adLockOptimistic);
    int n = 100;
    for (; !rs.Eof(); rs.MoveNext()) {
        rs.Fields(0) = Value::long_(n--);
        rs.UpdateBatch(ado::adAffectAllChapters);
    }
    EXPECT_EQ(rs.RecordCount(), 3);
    EXPECT_EQ(column("SELECT nr FROM h ORDER BY id"), (Strings{"100", "99", "98"}));
}

TEST_F(RecordsetTest, MovingOffSavesAndPendingEditsSurviveStatements) {
    ado::Recordset rs;
    rs.Open("SELECT nr, name FROM h ORDER BY nr", conn, adOpenKeyset, adLockOptimistic);
    rs.Fields(1) = Value::text("edited");
    EXPECT_EQ(rs.Fields(1).value().to_text(), "edited");  // the pending value reads back
    exec("UPDATE l SET amount = amount + 1");             // an unrelated statement
    exec("CREATE TABLE unrelated (x long)");
    EXPECT_EQ(column("SELECT name FROM h WHERE nr = 10"), (Strings{"n1"}));  // not saved yet
    rs.MoveNext();                                                           // saves
    EXPECT_EQ(column("SELECT name FROM h WHERE nr = 10"), (Strings{"edited"}));

    // One UpdateBatch after a loop writes every record (each move saved the last).
    rs.MoveFirst();
    for (; !rs.Eof(); rs.MoveNext())
        rs.Fields(0) = Value::long_(rs.Fields(0).value().to_long() + 1);
    rs.UpdateBatch(ado::adAffectAllChapters);
    EXPECT_EQ(column("SELECT nr FROM h ORDER BY id"), (Strings{"11", "21", "31"}));

    // CancelUpdate drops a pending edit; Close drops one never saved.
    rs.MoveFirst();
    rs.Fields(1) = Value::text("dropped");
    rs.CancelUpdate();
    EXPECT_EQ(rs.Fields(1).value().to_text(), "edited");
    rs.Fields(1) = Value::text("lost");
    rs.Close();
    EXPECT_EQ(column("SELECT name FROM h WHERE nr = 11"), (Strings{"edited"}));
}

TEST_F(RecordsetTest, CountersAndDefaultsReadableRightAfterTheSave) {
    exec("ALTER TABLE h ADD COLUMN flag long DEFAULT 7");
    ado::Recordset rs;
    rs.Open("SELECT id, nr, name, flag FROM h WHERE nr = -1", conn, adOpenStatic, adLockOptimistic);
    EXPECT_TRUE(rs.Eof());
    rs.AddNew();
    EXPECT_FALSE(rs.Eof());
    rs.Fields("nr") = Value::long_(40);
    rs.Fields("name") = Value::text("four");
    rs.UpdateBatch(ado::adAffectAllChapters);
    EXPECT_EQ(rs.Fields("id").value().to_long(), 4);
    EXPECT_EQ(rs.Fields("flag").value().to_long(), 7);
    EXPECT_EQ(rs.RecordCount(), 1);
    rs.AddNew();
    rs.Fields(1) = Value::long_(50);
    rs.AddNew();  // saves the previous new record first
    rs.Fields(1) = Value::long_(60);
    rs.Update();
    EXPECT_EQ(rs.Fields(0).value().to_long(), 6);
    EXPECT_EQ(rs.RecordCount(), 3);
    EXPECT_EQ(column("SELECT nr FROM h WHERE id > 3 ORDER BY id"), (Strings{"40", "50", "60"}));

    // A new record cancelled returns to the record that was current.
    rs.MoveFirst();
    rs.AddNew();
    rs.CancelUpdate();
    EXPECT_EQ(rs.Fields(1).value().to_long(), 40);
    EXPECT_EQ(rs.RecordCount(), 3);
}

TEST_F(RecordsetTest, FailedSavesRaiseAndStayPending) {
    exec("CREATE UNIQUE INDEX u ON h (nr)");
    exec("ALTER TABLE h ADD COLUMN d date");
    ado::Recordset rs;
    rs.Open("SELECT id, nr, name, d FROM h ORDER BY nr", conn, adOpenKeyset, adLockOptimistic);
    struct Case {
        int field;
        Value bad;
        uint32_t number;
        Value good;
    };
    const Case cases[] = {
        {1, Value::long_(20), 0x80004005, Value::long_(15)},                   // duplicate key
        {2, Value::text("far too long text"), 0x80040E57, Value::text("ok")},  // too long
        {3, Value::text("no date"), 0x80040E07, Value::text("03-04-2001")},    // no conversion
        {0, Value::null(), 0x80004005, Value::long_(1)},                       // Null in the key
    };
    for (const auto& c : cases) {
        rs.Fields(c.field) = c.bad;
        EXPECT_EQ(failure([&] { rs.UpdateBatch(ado::adAffectAllChapters); }), c.number) << c.field;
        EXPECT_EQ(failure([&] { rs.MoveNext(); }), c.number) << "moving off saves first";
        EXPECT_FALSE(rs.Eof());
        rs.Fields(c.field) = c.good;  // corrected and saved again
        rs.UpdateBatch(ado::adAffectAllChapters);
    }
    EXPECT_EQ(column("SELECT nr FROM h ORDER BY id"), (Strings{"15", "20", "30"}));
    EXPECT_EQ(column("SELECT name FROM h ORDER BY id"), (Strings{"ok", "n2", "n3"}));
    EXPECT_EQ(column("SELECT Year(d) FROM h ORDER BY id"), (Strings{"2001", "Null", "Null"}));

    // A new record that fails can be cancelled; nothing reaches the table.
    rs.AddNew();
    rs.Fields(1) = Value::long_(30);
    EXPECT_EQ(failure([&] { rs.Update(); }), 0x80004005u);
    rs.CancelUpdate();
    EXPECT_EQ(rs.RecordCount(), 3);
    EXPECT_EQ(column("SELECT COUNT(*) FROM h"), (Strings{"3"}));
}

TEST_F(RecordsetTest, WritesThroughAnInnerJoinReachEachTablesRow) {
    ado::Recordset rs;
    rs.Open(
        "SELECT l.amount, h.name, h.nr * 2 AS twice, 'k' AS konst FROM h INNER JOIN l ON "
        "h.id = l.hid ORDER BY l.lid",
        conn, adOpenKeyset, adLockOptimistic);
    ASSERT_EQ(rs.RecordCount(), 3);
    rs.Fields(0) = Value::dbl(10);
    rs.Fields(1) = Value::text("joined");
    EXPECT_EQ(failure([&] { rs.Fields(2) = Value::long_(1); }), 0x800A0CB3u);  // expression
    EXPECT_EQ(failure([&] { rs.Fields("konst") = Value::text("x"); }), 0x800A0CB3u);
    rs.MoveNext();
    rs.MoveNext();
    rs.Fields(0) = Value::dbl(40);
    rs.UpdateBatch(ado::adAffectAllChapters);
    EXPECT_EQ(column("SELECT amount FROM l ORDER BY lid"), (Strings{"10", "2,5", "40"}));
    EXPECT_EQ(column("SELECT name FROM h ORDER BY id"), (Strings{"joined", "n2", "n3"}));

    // A save that writes two tables is one change: the second failing undoes the first.
    rs.MoveFirst();
    rs.Fields(1) = Value::text("second");  // h, written first
    rs.Fields(0) = Value::text("abc");     // l, fails
    EXPECT_EQ(failure([&] { rs.Update(); }), 0x80040E07u);
    rs.CancelUpdate();
    EXPECT_EQ(column("SELECT name FROM h ORDER BY id"), (Strings{"joined", "n2", "n3"}));
    EXPECT_EQ(column("SELECT amount FROM l ORDER BY lid"), (Strings{"10", "2,5", "40"}));

    // A new record goes only to the tables it has values for.
    rs.AddNew();
    rs.Fields(0) = Value::dbl(7);
    rs.Update();
    EXPECT_EQ(rs.RecordCount(), 4);
    EXPECT_EQ(column("SELECT COUNT(*) FROM h"), (Strings{"3"}));
    EXPECT_EQ(column("SELECT amount FROM l ORDER BY lid"), (Strings{"10", "2,5", "40", "7"}));
}

TEST_F(RecordsetTest, SelfJoinsDistinctrowAndTablesWithoutKey) {
    // A self-join: each side writes its own row.
    exec("CREATE TABLE p (nm TEXT(10), parent TEXT(10), v long)");  // no key at all
    exec("INSERT INTO p (nm, parent, v) VALUES ('a', Null, 1)");
    exec("INSERT INTO p (nm, parent, v) VALUES ('b', 'a', 2)");
    exec("INSERT INTO p (nm, parent, v) VALUES ('b', 'a', 2)");  // an identical row
    ado::Recordset rs;
    rs.Open("SELECT c.v, m.v FROM p AS c INNER JOIN p AS m ON c.parent = m.nm", conn, adOpenStatic,
            adLockOptimistic);
    ASSERT_EQ(rs.RecordCount(), 2);
    EXPECT_EQ(rs.Fields("c.v").Name(), "c.v");
    rs.Fields("c.v") = Value::long_(20);
    rs.Fields("m.v") = Value::long_(10);
    rs.MoveNext();
    EXPECT_EQ(rs.Fields("m.v").value().to_long(), 1);  // a static copy: not requeried
    rs.Fields("c.v") = Value::long_(30);
    rs.UpdateBatch(ado::adAffectAllChapters);
    EXPECT_EQ(column("SELECT v FROM p"), (Strings{"10", "20", "30"}));

    // DISTINCTROW over a join selecting one table's columns; delete of its rows.
    ado::Recordset d;
    d.Open("SELECT DISTINCTROW h.* FROM h INNER JOIN l ON h.id = l.hid", conn, adOpenKeyset,
           adLockOptimistic);
    ASSERT_EQ(d.RecordCount(), 2);
    d.Fields("total") = Value::dbl(99);
    d.MoveNext();
    d.Delete();
    EXPECT_EQ(d.RecordCount(), 1);
    EXPECT_EQ(failure([&] { d.Fields(0).value(); }), 0x800A0BCDu);
    d.MoveNext();
    EXPECT_TRUE(d.Eof());
    EXPECT_EQ(column("SELECT total FROM h ORDER BY id"), (Strings{"99", "0"}));

    // Deleting a record of a table without a key removes that row only.
    ado::Recordset k;
    k.Open("SELECT nm, v FROM p", conn, adOpenKeyset, adLockOptimistic);
    k.MoveNext();
    k.Delete();
    EXPECT_EQ(column("SELECT v FROM p"), (Strings{"10", "30"}));
    // Deleting the last live record, then moving on, reaches EOF.
    ado::Recordset o;
    o.Open("SELECT v FROM p WHERE v = 30", conn, adOpenKeyset, adLockOptimistic);
    o.Delete();
    o.MoveNext();
    EXPECT_TRUE(o.Eof());
}

TEST_F(RecordsetTest, WhatCannotGoBackToARowIsReadOnly) {
    // Aggregates and DISTINCT open under optimistic locking but take no writes.
    for (const char* sql : {"SELECT DISTINCT name FROM h", "SELECT Sum(total) AS s FROM h",
                            "SELECT name, Count(*) AS n FROM h GROUP BY name"}) {
        ado::Recordset rs;
        rs.Open(sql, conn, adOpenKeyset, adLockOptimistic);
        EXPECT_FALSE(rs.Eof()) << sql;
        rs.Fields(0).value();
        EXPECT_EQ(failure([&] { rs.Fields(0) = Value::text("x"); }), 0x800A0CB3u) << sql;
        EXPECT_EQ(failure([&] { rs.AddNew(); }), 0x800A0CB3u) << sql;
    }
    // The missing side of an outer join has no row to write to; the other side has.
    ado::Recordset lj;
    lj.Open("SELECT h.nr, l.amount FROM h LEFT JOIN l ON h.id = l.hid WHERE h.nr = 30", conn,
            adOpenStatic, adLockOptimistic);
    ASSERT_EQ(lj.RecordCount(), 1);
    EXPECT_TRUE(lj.Fields(1).value().is_null());
    EXPECT_EQ(failure([&] { lj.Fields(1) = Value::dbl(1); }), 0x800A0CB3u);
    lj.Fields(0) = Value::long_(33);
    lj.Update();
    EXPECT_EQ(column("SELECT nr FROM h ORDER BY id"), (Strings{"10", "20", "33"}));
}

TEST_F(RecordsetTest, AddNewWithoutValuesTakesDefaults) {
    exec("ALTER TABLE h ADD COLUMN flag long DEFAULT 5");
    ado::Recordset rs;
    rs.Open("SELECT id, flag FROM h WHERE id > 100", conn, adOpenStatic, adLockOptimistic);
    rs.AddNew();
    rs.UpdateBatch(ado::adAffectAllChapters);
    EXPECT_EQ(rs.Fields(0).value().to_long(), 4);
    EXPECT_EQ(rs.Fields(1).value().to_long(), 5);
    // A write after the save goes to the new row.
    rs.Fields(1) = Value::long_(6);
    rs.Update();
    EXPECT_EQ(column("SELECT flag FROM h WHERE id = 4"), (Strings{"6"}));
}

// A date written into a text field is stored, and reads, as its date text.
TEST_F(RecordsetTest, DatesWrittenIntoTextFieldsAreDateTexts) {
    ado::Recordset rs;
    rs.Open("SELECT id, name FROM h WHERE id = 1", conn, adOpenKeyset, adLockOptimistic);
    rs.Fields(1) = Value::date(38827);
    EXPECT_EQ(rs.Fields(1).value().to_text(), "2006-04-20");
    rs.Update();
    rs.AddNew();
    rs.Fields(1) = Value::date(38828);
    rs.Update();
    rs.Close();
    EXPECT_EQ(column("SELECT name FROM h WHERE id = 1 OR id > 3"),
              (Strings{"2006-04-20", "2006-04-21"}));
}

TEST_F(RecordsetTest, FieldNamesOfJoins) {
    ado::Recordset rs;
    rs.Open("SELECT l.hid, h.id, l.amount AS Kwota, h.name FROM l INNER JOIN h ON h.id = l.hid",
            conn, adOpenStatic, adLockReadOnly);
    Strings names;
    for (int i = 0; i < rs.FieldCount(); ++i) names.push_back(rs.Fields(i).Name());
    EXPECT_EQ(names, (Strings{"hid", "id", "Kwota", "name"}));
    EXPECT_EQ(rs.Fields("KWOTA").value().to_double(), 1.5);
    EXPECT_EQ(rs.Fields("Kwota").Type(), static_cast<int>(jet::DataType::Currency));
    EXPECT_EQ(rs.Fields("name").DefinedSize(), 10);

    // Names that more than one table read has answer to "alias.column".
    ado::Recordset both;
    both.Open("SELECT a.*, b.* FROM h AS a INNER JOIN h AS b ON a.nr = b.nr - 10", conn,
              adOpenStatic, adLockReadOnly);
    ASSERT_EQ(both.FieldCount(), 8);
    EXPECT_EQ(both.Fields(1).Name(), "a.nr");
    EXPECT_EQ(both.Fields(6).Name(), "b.name");
    EXPECT_EQ(both.Fields("A.NR").value().to_long(), 10);
    EXPECT_EQ(both.Fields("b.nr").value().to_long(), 20);
    EXPECT_EQ(failure([&] { both.Fields("id"); }), 0x800A0CC1u);
}

TEST_F(RecordsetTest, FindMovesToTheFirstMatchFromTheCurrentRecord) {
    ado::Recordset rs;
    rs.Open("SELECT nr, name FROM h ORDER BY nr", conn, adOpenStatic, adLockOptimistic);
    struct Case {
        const char* criteria;
        int expected_nr;  // 0: EOF
    };
    const Case cases[] = {
        {"name = 'N2'", 20}, {"nr > 15", 20},      {"[nr]>=30", 30}, {"name LIKE 'n*'", 20},
        {"nr < 5", 0},       {"name <> 'n2'", 30}, {"nr = 10", 0},
    };
    for (const auto& c : cases) {
        rs.MoveFirst();
        rs.MoveNext();  // each search starts on the second record (nr 20)
        rs.Find(c.criteria);
        if (c.expected_nr == 0)
            EXPECT_TRUE(rs.Eof()) << c.criteria;
        else
            EXPECT_EQ(rs.Fields(0).value().to_long(), c.expected_nr) << c.criteria;
    }
    rs.MoveFirst();
    EXPECT_THROW(rs.Find("name ~ 1"), jet::Error);
    EXPECT_THROW(rs.Find("nope = 1"), jet::Error);
}

// A record saved with a field set to Null over a value is reported (jet/reports.h).
TEST_F(RecordsetTest, SavingANullOverAValueIsReported) {
    const std::string file = path + ".reports";
    jet::reports::start(file);
    ado::Recordset rs;
    rs.Open("SELECT nr, name, total FROM h ORDER BY nr", conn, adOpenKeyset, adLockOptimistic);
    const struct {
        int field;
        Value value;
        int reports;  // lines in the file after the save
    } cases[] = {{2, Value::long_(5), 0},
                 {2, Value::null(), 1},
                 {2, Value::null(), 1},
                 {1, Value::null(), 2}};
    for (const auto& c : cases) {
        rs.Fields(c.field) = c.value;
        rs.Update();
        std::ifstream in(file);
        EXPECT_EQ(std::count(std::istreambuf_iterator<char>(in), {}, '\n'), c.reports);
    }
    jet::reports::start("");
    std::filesystem::remove(file);
}

}  // namespace
}  // namespace ado_test
