// Fields: DAO's type codes and sizes for every Jet type, the counter attribute, and
// defaults and zero-length permission set on columns that already hold rows.
#include "support.h"

namespace daotest {
namespace {

class FieldTest : public DaoTest {};

TEST_F(FieldTest, TypesSizesAndAttributesOfEveryType) {
    struct Row {
        const char* declared;
        int type;
        int size;
        int32_t attributes;
    };
    const Row rows[] = {
        {"YESNO", dao::dbBoolean, 1, 0},     {"BYTE", dao::dbByte, 1, 0},
        {"SHORT", dao::dbInteger, 2, 0},     {"LONG", dao::dbLong, 4, 0},
        {"CURRENCY", dao::dbCurrency, 8, 0}, {"SINGLE", dao::dbSingle, 4, 0},
        {"DOUBLE", dao::dbDouble, 8, 0},     {"DATETIME", dao::dbDate, 8, 0},
        {"TEXT(50)", dao::dbText, 50, 0},    {"TEXT(255)", dao::dbText, 255, 0},
        {"MEMO", dao::dbMemo, 0, 0},         {"COUNTER", dao::dbLong, 4, dao::dbAutoIncrField},
    };
    auto db = dao::DBEngine::OpenDatabase(make_db());
    std::string ddl = "CREATE TABLE T (";
    for (size_t i = 0; i < std::size(rows); ++i)
        ddl += (i ? ", c" : "c") + std::to_string(i) + " " + rows[i].declared;
    db->Execute(ddl + ")");

    dao::TableDef t = db->TableDefs("T");
    ASSERT_EQ(t.FieldCount(), static_cast<int>(std::size(rows)));
    for (size_t i = 0; i < std::size(rows); ++i) {
        dao::Field f = t.Fields(static_cast<int>(i));
        SCOPED_TRACE(rows[i].declared);
        EXPECT_EQ(f.Name(), "c" + std::to_string(i));
        EXPECT_EQ(f.Type(), rows[i].type);
        EXPECT_EQ(f.Size(), rows[i].size);
        EXPECT_EQ(f.Attributes() & dao::dbAutoIncrField, rows[i].attributes);
    }
}

// The tidy-up gives existing columns defaults and lets text columns hold "": the
// rows already there keep every value, Nulls included, and new rows get the default.
TEST_F(FieldTest, DefaultsOnExistingColumnsKeepTheirValues) {
    auto db = dao::DBEngine::OpenDatabase(make_db());
    db->Execute("CREATE TABLE T (id LONG, kwota CURRENCY, nr_wyjazdu LONG, opis TEXT(20))");
    db->Execute("INSERT INTO T (id, kwota, nr_wyjazdu, opis) VALUES (1, 12.5, 3, 'ala')");
    db->Execute("INSERT INTO T (id) VALUES (2)");

    dao::TableDef t = db->TableDefs("T");
    t.Fields("kwota").SetDefaultValue("0");
    t.Fields("nr_wyjazdu").SetDefaultValue("1");
    t.Fields("opis").SetDefaultValue("\"\"");
    t.Fields("opis").SetAllowZeroLength(true);

    EXPECT_EQ(t.Fields("kwota").DefaultValue(), "0");
    EXPECT_EQ(t.Fields("nr_wyjazdu").DefaultValue(), "1");
    EXPECT_EQ(t.Fields("opis").DefaultValue(), "\"\"");
    EXPECT_TRUE(t.Fields("opis").AllowZeroLength());

    jet::Database& e = db->engine();
    EXPECT_EQ(column_texts(e, "SELECT kwota FROM T ORDER BY id"),
              (std::vector<std::string>{"12,5", "<null>"}));
    EXPECT_EQ(column_texts(e, "SELECT opis FROM T ORDER BY id"),
              (std::vector<std::string>{"ala", "<null>"}));

    db->Execute("INSERT INTO T (id) VALUES (3)");
    EXPECT_EQ(column_texts(e, "SELECT kwota & '|' & nr_wyjazdu FROM T WHERE id = 3 AND opis = ''"),
              std::vector<std::string>{"0|1"});
    db->Execute("UPDATE T SET opis = '' WHERE id = 2");
    EXPECT_EQ(column_texts(e, "SELECT id FROM T WHERE opis = '' ORDER BY id"),
              (std::vector<std::string>{"2", "3"}));
}

TEST_F(FieldTest, ZeroLengthPermissionCanBeWithdrawnAndIsTextOnly) {
    auto db = dao::DBEngine::OpenDatabase(make_db());
    db->Execute("CREATE TABLE T (opis TEXT(20), notatka MEMO, ile LONG)");
    db->Execute("INSERT INTO T (opis, ile) VALUES ('x', 1)");
    dao::TableDef t = db->TableDefs("T");

    t.Fields("notatka").SetAllowZeroLength(true);
    EXPECT_TRUE(t.Fields("notatka").AllowZeroLength());
    t.Fields("opis").SetAllowZeroLength(false);
    EXPECT_FALSE(t.Fields("opis").AllowZeroLength());
    EXPECT_NE(failure_of([&] { db->Execute("UPDATE T SET opis = ''"); }), "");
    EXPECT_EQ(column_texts(db->engine(), "SELECT opis FROM T"), std::vector<std::string>{"x"});

    EXPECT_FALSE(t.Fields("ile").AllowZeroLength());
    EXPECT_NE(failure_of([&] { t.Fields("ile").SetAllowZeroLength(true); }), "");
}

// A Field taken before its column was dropped reports the loss instead of reading
// another column.
TEST_F(FieldTest, FieldOfADroppedColumnFails) {
    auto db = dao::DBEngine::OpenDatabase(make_db());
    db->Execute("CREATE TABLE T (a LONG, b LONG)");
    dao::Field b = db->TableDefs("T").Fields("b");
    db->Execute("ALTER TABLE T DROP COLUMN b");
    EXPECT_NE(failure_of([&] { b.Type(); }), "");
    EXPECT_NE(failure_of([&] { b.SetName("c"); }), "");
}

}  // namespace
}  // namespace daotest
