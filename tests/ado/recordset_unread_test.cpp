// Recordsets that can add rows read their rows only when first needed: whatever is
// written to the file after the open, a static recordset still shows the rows of its
// open (and the rows it added itself, once), a keyset one the current values of
// those rows.
#include <functional>

#include "ado_fixture.h"

namespace ado_test {
namespace {

using ado::adLockOptimistic;
using ado::adOpenKeyset;
using ado::adOpenStatic;

class UnreadRows : public AdoTest {
  protected:
    void SetUp() override {
        AdoTest::SetUp();
        exec("CREATE TABLE h (id counter, nr long, name TEXT(10))");
        exec("CREATE UNIQUE INDEX unr ON h (nr)");
        for (int i = 1; i <= 3; ++i)
            exec("INSERT INTO h (nr, name) VALUES (" + std::to_string(i * 10) + ", 'n" +
                 std::to_string(i) + "')");
    }
    // The names of a recordset's rows from its first on, and its count.
    static std::string walk(ado::Recordset& rs) {
        std::string out = std::to_string(rs.RecordCount()) + ":";
        for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext()) {
            const Value v = rs.Fields("name").value();
            out += " " + (v.is_null() ? std::string("Null") : v.to_text());
        }
        return out;
    }
    void add(ado::Recordset& rs, int nr, const char* name) {
        rs.AddNew();
        rs.Fields("nr") = Value::long_(nr);
        rs.Fields("name") = Value::text(name);
        rs.UpdateBatch(ado::adAffectAll);
    }
};

TEST_F(UnreadRows, RowsAddedBeforeTheFirstReadFollowTheRowsOfTheOpen) {
    ado::Recordset rs;
    rs.Open("SELECT id, nr, name FROM h", conn, adOpenStatic, adLockOptimistic);
    EXPECT_EQ(rs.RecordCount(), 3);
    add(rs, 40, "n4");
    EXPECT_EQ(rs.Fields("id").value().to_long(), 4);  // the counter, read at once
    EXPECT_EQ(rs.RecordCount(), 4);
    add(rs, 50, "n5");
    EXPECT_EQ(walk(rs), "5: n1 n2 n3 n4 n5");
    EXPECT_EQ(column("SELECT name FROM h"), (Strings{"n1", "n2", "n3", "n4", "n5"}));

    // Without a count first, and with the current record read right after the open.
    ado::Recordset again;
    again.Open("SELECT nr, name FROM h WHERE nr > 20 ORDER BY nr DESC", conn, adOpenStatic,
               adLockOptimistic);
    add(again, 60, "n6");
    add(again, 15, "n7");  // outside the WHERE: the recordset still shows what it added
    EXPECT_EQ(walk(again), "5: n5 n4 n3 n6 n7");

    ado::Recordset first;
    first.Open("SELECT nr, name FROM h ORDER BY nr", conn, adOpenStatic, adLockOptimistic);
    EXPECT_EQ(first.Fields("name").value().to_text(), "n1");
    EXPECT_FALSE(first.Bof());
}

TEST_F(UnreadRows, WritesAfterTheOpenDoNotReachAStaticRecordset) {
    struct Case {
        const char* what;
        std::function<void()> write;
    };
    const Case cases[] = {
        {"UPDATE", [this] { exec("UPDATE h SET name = 'x' WHERE nr = 20"); }},
        {"DELETE", [this] { exec("DELETE FROM h WHERE nr = 10"); }},
        {"INSERT", [this] { exec("INSERT INTO h (nr, name) VALUES (5, 'x')"); }},
        {"DDL", [this] { exec("ALTER TABLE h ADD COLUMN extra long"); }},
        {"another recordset's new row",
         [this] {
             ado::Recordset other;
             other.Open("SELECT nr, name FROM h", conn, adOpenStatic, adLockOptimistic);
             add(other, 5, "x");
         }},
        {"another recordset's edit",
         [this] {
             ado::Recordset other;
             other.Open("SELECT nr, name FROM h", conn, adOpenKeyset, adLockOptimistic);
             other.Fields("name") = Value::text("x");
             other.Update();
         }},
        {"another connection",
         [this] {
             ado::Connection second;
             second.Open(connection_string(path));
             second.Execute("DELETE FROM h");
             second.Close();
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        exec("DELETE FROM h");
        for (int i = 1; i <= 3; ++i)
            exec("INSERT INTO h (nr, name) VALUES (" + std::to_string(i * 10) + ", 'n" +
                 std::to_string(i) + "')");
        ado::Recordset counted, uncounted, adding;
        counted.Open("SELECT nr, name FROM h ORDER BY nr", conn, adOpenStatic, adLockOptimistic);
        EXPECT_EQ(counted.RecordCount(), 3);
        uncounted.Open("SELECT nr, name FROM h ORDER BY nr", conn, adOpenStatic, adLockOptimistic);
        adding.Open("SELECT nr, name FROM h ORDER BY nr", conn, adOpenStatic, adLockOptimistic);
        add(adding, 99, "own");
        c.write();
        EXPECT_EQ(walk(counted), "3: n1 n2 n3");
        EXPECT_EQ(walk(uncounted), "3: n1 n2 n3");
        EXPECT_EQ(walk(adding), "4: n1 n2 n3 own");
        if (std::string(c.what) == "DDL") exec("ALTER TABLE h DROP COLUMN extra");
    }
}

TEST_F(UnreadRows, TransactionsAndClosedConnections) {
    // A rolled-back transaction takes its rows from the file, not from the recordset.
    conn.BeginTrans();
    exec("INSERT INTO h (nr, name) VALUES (40, 'n4')");
    ado::Recordset in_trans;
    in_trans.Open("SELECT nr, name FROM h", conn, adOpenStatic, adLockOptimistic);
    conn.RollbackTrans();
    EXPECT_EQ(walk(in_trans), "4: n1 n2 n3 n4");

    // A keyset recordset keeps the rows of its open and reads their current values.
    ado::Recordset keyset;
    keyset.Open("SELECT nr, name FROM h", conn, adOpenKeyset, adLockOptimistic);
    exec("UPDATE h SET name = 'x' WHERE nr = 20");
    exec("INSERT INTO h (nr, name) VALUES (70, 'n7')");
    EXPECT_EQ(walk(keyset), "3: n1 x n3");

    // The rows stay readable after the connection closes.
    ado::Recordset rs;
    rs.Open("SELECT nr, name FROM h ORDER BY nr", conn, adOpenStatic, adLockOptimistic);
    conn.Close();
    EXPECT_EQ(walk(rs), "4: n1 x n3 n7");
}

TEST_F(UnreadRows, FailedCancelledAndEditedAdditions) {
    ado::Recordset rs;
    rs.Open("SELECT nr, name FROM h", conn, adOpenStatic, adLockOptimistic);
    rs.AddNew();
    rs.Fields("nr") = Value::long_(10);  // a duplicate: the save fails and stays pending
    rs.Fields("name") = Value::text("dup");
    try {
        rs.Update();
        ADD_FAILURE() << "duplicate saved";
    } catch (const jet::Error& e) {
        EXPECT_EQ(e.number(), 0x80004005u);
    }
    rs.Fields("nr") = Value::long_(11);
    rs.Update();
    rs.AddNew();
    rs.Fields("nr") = Value::long_(12);
    rs.CancelUpdate();
    EXPECT_EQ(rs.RecordCount(), 4);
    // Editing the added row reads the rows first; the row is shown once, as edited.
    rs.AddNew();
    rs.Fields("nr") = Value::long_(13);
    rs.Update();
    rs.Fields("name") = Value::text("edited");
    rs.Update();
    EXPECT_EQ(walk(rs), "5: n1 n2 n3 dup edited");
    EXPECT_EQ(column("SELECT name FROM h ORDER BY nr"),
              (Strings{"n1", "dup", "edited", "n2", "n3"}));
}

}  // namespace
}  // namespace ado_test
