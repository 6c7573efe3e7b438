#include <fstream>
#include <iterator>

#include "ado/connection_string.h"
#include "ado_fixture.h"

namespace ado_test {
namespace {

TEST(ConnectionString, PropertiesOfTheProgramsString) {
    const auto cs = ado::ConnectionString::parse(connection_string("/data/baza.mdb"));
    EXPECT_EQ(cs.get("provider"), "Microsoft.Jet.OLEDB.4.0");
    EXPECT_EQ(cs.get("Data Source"), "/data/baza.mdb");
    EXPECT_EQ(cs.get("Extended Properties"), ";COUNTRY=0;CP=1252;LANGID=0x0409");
    EXPECT_EQ(cs.get("Jet OLEDB:System database"), "");
    EXPECT_EQ(cs.get("Jet OLEDB:Database Password"), "Kv7^pq|Lm3#x9");
    EXPECT_EQ(cs.get("Jet OLEDB:Global Partial Bulk Ops"), "2");
    EXPECT_EQ(cs.get("Mode"), std::nullopt);
}

TEST(ConnectionString, QuotingAndBlanks) {
    struct Case {
        const char* text;
        const char* key;
        const char* value;
    };
    const Case cases[] = {
        {"a = b ;", "a", "b"},      {"a=' x;y=z '", "a", " x;y=z "}, {"a=\"it's\"", "a", "it's"},
        {"a='it''s'", "a", "it's"}, {"a=1;;a=2", "a", "2"},          {"a=x=y", "a", "x=y"},
        {";;a=;", "a", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ado::ConnectionString::parse(c.text).get(c.key), c.value) << c.text;
    for (const char* bad : {"a='open", "novalue;a=1", "a='x'y", "=v"})
        EXPECT_THROW(ado::ConnectionString::parse(bad), jet::Error) << bad;
}

// Values as paths hold them. Each is written by quoted_value as the table says (as it
// stands when the reader would read it unchanged) and reads back exactly, with the
// property after it intact.
TEST(ConnectionString, QuotedValuesReadBackExactly) {
    struct Case {
        const char* value;
        const char* written;
    };
    const Case cases[] = {
        {"/srv/dane/baza.mdb", "/srv/dane/baza.mdb"},
        {"/srv/dane;2024/baza.mdb", "\"/srv/dane;2024/baza.mdb\""},
        {"/srv/a \"b\"/baza.mdb", "/srv/a \"b\"/baza.mdb"},
        {"/srv/it's/baza.mdb", "/srv/it's/baza.mdb"},
        {"\"b\"/baza.mdb", "'\"b\"/baza.mdb'"},
        {"'b'/baza.mdb", "\"'b'/baza.mdb\""},
        {"/srv/it's \"b\";x/baza.mdb", "'/srv/it''s \"b\";x/baza.mdb'"},
        {"'it''s \"b\"'", "'''it''''s \"b\"'''"},
        {"/srv/a=b/c==d.mdb", "/srv/a=b/c==d.mdb"},
        {" baza.mdb", "\" baza.mdb\""},
        {"/srv/baza.mdb ", "\"/srv/baza.mdb \""},
        {"\t/srv/baza.mdb\r\n", "\"\t/srv/baza.mdb\r\n\""},
        {"/srv/zażółć gęślą jaźń/ŻÓŁW.mdb", "/srv/zażółć gęślą jaźń/ŻÓŁW.mdb"},
        {"", ""},
        {";", "\";\""},
        {"  ", "\"  \""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(ado::quoted_value(c.value), c.written);
        const auto cs =
            ado::ConnectionString::parse("Data source=" + ado::quoted_value(c.value) + ";Mode=3");
        EXPECT_EQ(cs.get("Data Source"), c.value);
        EXPECT_EQ(cs.get("Mode"), "3");
    }
}

uint32_t open_failure(const std::string& cs) {
    ado::Connection c;
    try {
        c.Open(cs);
    } catch (const jet::Error& e) {
        EXPECT_EQ(c.State(), ado::adStateClosed);
        return e.number();
    }
    return 0;
}

std::string contents(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

TEST_F(AdoTest, OpenFailuresReportTheEnginesNumberAndLeaveFilesAlone) {
    conn.Close();
    const std::string foreign = temp_path("foreign");
    { std::ofstream(foreign) << "not a database at all\n"; }
    const std::string before = contents(path);

    EXPECT_EQ(open_failure(connection_string(path, "wrong")), 0x80040E4Du);
    EXPECT_EQ(open_failure(connection_string(foreign)), 0x80004005u);
    EXPECT_EQ(open_failure(connection_string(temp_path("missing"))), 0x80004005u);
    EXPECT_EQ(open_failure("Provider=Microsoft.Jet.OLEDB.3.51;Data source=" + path), 0x80004005u);
    EXPECT_EQ(open_failure("Data source=" + path), 0x80004005u);

    EXPECT_EQ(contents(path), before);
    EXPECT_EQ(contents(foreign), "not a database at all\n");
    remove_database(foreign);
}

TEST_F(AdoTest, PropertiesVersionAndState) {
    EXPECT_EQ(conn.Version(), "2.8");
    EXPECT_GE(std::stod(conn.Version()), 2.5);
    EXPECT_EQ(conn.Properties(7), std::filesystem::absolute(path).string());
    EXPECT_EQ(conn.State(), ado::adStateOpen);
    EXPECT_THROW(conn.Open(connection_string(path)), jet::Error);
    conn.Close();
    EXPECT_EQ(conn.State(), ado::adStateClosed);
    try {
        conn.Execute("CREATE TABLE t (a long)");
        ADD_FAILURE() << "Execute on a closed connection";
    } catch (const jet::Error& e) {
        EXPECT_EQ(e.number(), 0x800A0E78u);
    }
    // The provider's name compares without regard to case; a relative data source
    // is reported as a full path.
    ado::Connection c;
    c.Mode = ado::adModeShareDenyNone;
    const auto rel = std::filesystem::relative(path);
    c.Open("provider=microsoft.jet.oledb.4.0;data source=" + rel.string() +
           ";Jet OLEDB:Database Password=" + kPassword);
    EXPECT_EQ(c.Properties(7), std::filesystem::absolute(path).string());
    c.Close();
}

TEST_F(AdoTest, RecordsAffectedAreExact) {
    exec("CREATE TABLE t (id long, name TEXT(20))");
    struct Case {
        const char* sql;
        int32_t affected;
    };
    const Case cases[] = {
        {"INSERT INTO t (id, name) VALUES (1, 'a')", 1},
        {"INSERT INTO t (id, name) VALUES (2, 'b')", 1},
        {"INSERT INTO t (id, name) SELECT id + 10, name FROM t", 2},
        {"UPDATE t SET name = 'x' WHERE id > 1", 3},
        {"UPDATE t SET name = 'y' WHERE id > 100", 0},
        {"DELETE FROM t WHERE id >= 11", 2},
        {"CREATE INDEX i ON t (id)", 0},
    };
    for (const auto& c : cases) {
        int32_t n = -7;
        conn.Execute(c.sql, &n, 1);
        EXPECT_EQ(n, c.affected) << c.sql;
    }
    int32_t n = -7;
    EXPECT_THROW(conn.Execute("INSERT INTO missing (a) VALUES (1)", &n), jet::Error);
    EXPECT_EQ(column("SELECT id FROM t ORDER BY id"), (Strings{"1", "2"}));
}

TEST_F(AdoTest, TransactionsNest) {
    exec("CREATE TABLE t (id long)");
    EXPECT_EQ(conn.BeginTrans(), 1);
    exec("INSERT INTO t (id) VALUES (1)");
    EXPECT_EQ(conn.BeginTrans(), 2);
    exec("INSERT INTO t (id) VALUES (2)");
    conn.RollbackTrans();  // the inner one
    EXPECT_EQ(conn.BeginTrans(), 2);
    exec("INSERT INTO t (id) VALUES (3)");
    conn.CommitTrans();
    conn.CommitTrans();
    EXPECT_EQ(column("SELECT id FROM t ORDER BY id"), (Strings{"1", "3"}));
    EXPECT_EQ(conn.BeginTrans(), 1);
    exec("DELETE FROM t");
    conn.RollbackTrans();
    EXPECT_EQ(column("SELECT id FROM t ORDER BY id"), (Strings{"1", "3"}));
}

TEST_F(AdoTest, ConnectionsOnOneFileSeeTheSameData) {
    ado::Connection other;
    other.Open(connection_string(path));
    exec("CREATE TABLE t (id long)");
    other.Execute("INSERT INTO t (id) VALUES (7)");
    EXPECT_EQ(column("SELECT id FROM t"), (Strings{"7"}));
    ado::Recordset rs;
    rs.Open("SELECT id FROM t", other, ado::adOpenKeyset, ado::adLockOptimistic);
    rs.Fields(0) = Value::long_(8);
    rs.Update();
    EXPECT_EQ(column("SELECT id FROM t"), (Strings{"8"}));
    // Still visible after the other connection closes, and after a checkpoint.
    rs.Close();
    other.Close();
    conn.Checkpoint();
    EXPECT_EQ(column("SELECT id FROM t"), (Strings{"8"}));
}

TEST_F(AdoTest, ClosingCommitsForTheNextOpen) {
    exec("CREATE TABLE t (id long)");
    exec("INSERT INTO t (id) VALUES (5)");
    conn.Close();
    conn.Open(connection_string(path));
    EXPECT_EQ(column("SELECT id FROM t"), (Strings{"5"}));
}

}  // namespace
}  // namespace ado_test
