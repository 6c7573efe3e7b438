// The shell's `.tables` and `.schema` listings. The shell's own sources are compiled
// in here, as the shell program has no test target of its own.
#include "../../tools/jetsql/schema_commands.cpp"

#include <sstream>

#include "support.h"

namespace daotest {
namespace {

class SchemaCommandsTest : public DaoTest {};

TEST_F(SchemaCommandsTest, TablesInDaoOrderWithSystemTablesMarked) {
    auto db = dao::DBEngine::OpenDatabase(make_db());
    db->Execute("CREATE TABLE zeta (a LONG)");
    db->Execute("CREATE TABLE Alfa (a LONG)");
    std::ostringstream out;
    jetsql::print_tables(*db, out);

    EXPECT_EQ(out.str(),
              "Alfa\n"
              "MSysJetColumns (system)\n"
              "MSysJetIndexColumns (system)\n"
              "MSysJetIndexes (system)\n"
              "MSysJetProperties (system)\n"
              "MSysJetRelationColumns (system)\n"
              "MSysJetRelations (system)\n"
              "MSysJetTables (system)\n"
              "zeta\n");
}

TEST_F(SchemaCommandsTest, SchemaShowsColumnsIndexesAndRelations) {
    auto db = dao::DBEngine::OpenDatabase(make_db());
    db->Execute("CREATE TABLE Klienci (id COUNTER, nazwa TEXT(40), kwota CURRENCY, aktywny YESNO)");
    db->Execute("CREATE INDEX pk ON Klienci (id) WITH PRIMARY");
    db->Execute(
        "CREATE TABLE Faktury (nr LONG, klient LONG, "
        "CONSTRAINT FK FOREIGN KEY (klient) REFERENCES Klienci (id))");
    db->Execute("CREATE INDEX indnazwa ON Klienci (nazwa, kwota)");
    dao::TableDef k = db->TableDefs("Klienci");
    k.Fields("kwota").SetDefaultValue("0");
    k.Fields("nazwa").SetDefaultValue("\"\"");
    k.Fields("nazwa").SetAllowZeroLength(true);

    std::ostringstream out;
    jetsql::print_schema(*db, "klienci", out);
    EXPECT_EQ(out.str(),
              "Table Klienci\n"
              "Columns:\n"
              "  id       Long     4  counter\n"
              "  nazwa    Text     40  default \"\"  zero-length\n"
              "  kwota    Currency 8  default 0\n"
              "  aktywny  Boolean  1\n"
              "Indexes:\n"
              "  pk  primary  unique  (id)\n"
              "  indnazwa  (nazwa, kwota)\n"
              "Relations:\n"
              "  FK  Klienci (id) -> Faktury (klient)\n");
}

TEST_F(SchemaCommandsTest, UnknownTablePrintsNothingAndFails) {
    auto db = dao::DBEngine::OpenDatabase(make_db());
    std::ostringstream out;
    EXPECT_NE(failure_of([&] { jetsql::print_schema(*db, "Brak", out); }), "");
    EXPECT_EQ(out.str(), "");
}

}  // namespace
}  // namespace daotest
