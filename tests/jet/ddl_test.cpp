// DDL through SQL text: the error table's schema rows, types, defaults, indexes,
// counters and constraints.
#include "storage_util.h"

namespace {

using namespace storage_test;

class Ddl : public ::testing::Test {
  protected:
    void SetUp() override {
        jet::Database::create(dir_.file("d.mdb"));
        db_ = jet::Database::open(dir_.file("d.mdb"));
        for (const char* sql : {
                 "CREATE TABLE Kontrahent (Id counter, Nazwa text(50), FPŁAT_ID long, Miejscowość "
                 "text(40))",
                 "CREATE INDEX Podstawowy ON Kontrahent (Id) WITH PRIMARY",
                 "CREATE INDEX Miasto ON Kontrahent (Miejscowość)",
                 "CREATE TABLE Faktura (Nr long, Kontrahent_Id long, Kwota money)",
             })
            ddl(*db_, sql);
        insert_raw(*db_, "Kontrahent", {"Id", "Nazwa", "FPŁAT_ID"},
                   "(1, 'Abc', 1), (2, 'abc', 2), (3, NULL, NULL)");
    }
    const jet::TableInfo& table(const char* name) {
        const jet::TableInfo* t = db_->catalog().table(name);
        if (!t) throw std::runtime_error(std::string("no table ") + name);
        return *t;
    }
    ScratchDir dir_;
    std::shared_ptr<jet::Database> db_;
};

TEST_F(Ddl, ErrorTableRowsAndNothingChanges) {
    struct Case {
        const char* sql;
        uint32_t number;
        const char* fragment;
    };
    const Case cases[] = {
        {"CREATE TABLE KONTRAHENT (x long)", 0x80040E14, "already exists"},
        {"create table [kontrahent] (x long)", 0x80040E14, "already exists"},
        {"ALTER TABLE Kontrahent ADD COLUMN fpłat_id long", 0x80040E14, "already exists"},
        {"ALTER TABLE Kontrahent ADD Nowa long, NAZWA text(5)", 0x80040E14, "already exists"},
        {"CREATE INDEX miasto ON Kontrahent (Nazwa)", 0x80040E14, "already exists"},
        {"CREATE INDEX Drugi ON Kontrahent (Nazwa) WITH PRIMARY", 0x80040E14, "already exists"},
        {"DROP TABLE Brak", 0x80040E37, "Brak"},
        {"ALTER TABLE Brak ADD COLUMN x long", 0x80040E37, "Brak"},
        {"CREATE INDEX i ON Brak (x)", 0x80040E37, "Brak"},
        {"DROP INDEX i ON Brak", 0x80040E37, "Brak"},
        {"ALTER TABLE Kontrahent DROP COLUMN Brak", 0x80040E14, "There is no field"},
        {"DROP INDEX Brak ON Kontrahent", 0x80040E14, "No such index"},
        {"DROP INDEX Miasto ON Faktura", 0x80040E14, "No such index"},
        {"ALTER TABLE Kontrahent DROP COLUMN miejscowość", 0x80040E14, "part of an index"},
        {"ALTER TABLE Kontrahent DROP COLUMN ID", 0x80040E14, "part of an index"},
        {"CREATE UNIQUE INDEX UnicNazwa ON Kontrahent (Nazwa)", 0x80004005, "duplicate values"},
        {"CREATE INDEX Klucz ON Faktura (Nr) WITH PRIMARY", 0, ""},
        {"CREATE INDEX Fp ON Kontrahent (FPŁAT_ID) WITH DISALLOW NULL", 0x80004005,
         "cannot contain a Null value"},
        {"ALTER TABLE Kontrahent ADD Licznik counter", 0x80040E14, "AutoNumber"},
        {"CREATE TABLE Dwa (a counter, b counter)", 0x80040E14, "AutoNumber"},
        {"CREATE TABLE Dwa (a long, A text(5))", 0x80040E14, "already exists"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sql);
        const size_t tables = db_->catalog().tables().size();
        const size_t columns = table("Kontrahent").columns.size();
        const size_t indexes = table("Kontrahent").indexes.size();
        std::string text;
        EXPECT_EQ(ddl_error(*db_, c.sql, &text), c.number);
        EXPECT_NE(text.find(c.fragment), std::string::npos) << text;
        if (c.number == 0) continue;
        EXPECT_EQ(db_->catalog().tables().size(), tables);
        EXPECT_EQ(table("Kontrahent").columns.size(), columns);
        EXPECT_EQ(table("Kontrahent").indexes.size(), indexes);
    }
    // A primary key over Null fails too.
    insert_raw(*db_, "Faktura", {"Nr"}, "(NULL)");
    std::string text;
    EXPECT_EQ(ddl_error(*db_, "CREATE INDEX PK ON Faktura (Kontrahent_Id) WITH PRIMARY", &text),
              0x80040E14u);  // Faktura has its primary key already
    ddl(*db_, "DROP INDEX Klucz ON Faktura");
    EXPECT_EQ(ddl_error(*db_, "CREATE INDEX PK ON Faktura (Nr) WITH PRIMARY", &text), 0x80004005u);
    EXPECT_NE(text.find("cannot contain a Null value"), std::string::npos);
}

TEST_F(Ddl, TypeTextsBecomeJetTypesAndSizes) {
    ddl(*db_,
        "CREATE TABLE Typy (a text(80), b Text (50), c text, d memo, e byte, f tinyint, g int, "
        "h integer, i short, j long, k single, l double, m money, n currency, o date, p datetime, "
        "q SmallDateTime, r logical, s bit, t yesno, u int identity)");
    struct Col {
        const char* name;
        jet::DataType type;
        int size;
        bool counter;
    };
    using T = jet::DataType;
    const Col expected[] = {
        {"a", T::Text, 80, false},    {"b", T::Text, 50, false},    {"c", T::Text, 255, false},
        {"d", T::Memo, 0, false},     {"e", T::Byte, 1, false},     {"f", T::Byte, 1, false},
        {"g", T::Long, 4, false},     {"h", T::Long, 4, false},     {"i", T::Integer, 2, false},
        {"j", T::Long, 4, false},     {"k", T::Single, 4, false},   {"l", T::Double, 8, false},
        {"m", T::Currency, 8, false}, {"n", T::Currency, 8, false}, {"o", T::Date, 8, false},
        {"p", T::Date, 8, false},     {"q", T::Date, 8, false},     {"r", T::Boolean, 1, false},
        {"s", T::Boolean, 1, false},  {"t", T::Boolean, 1, false},  {"u", T::Long, 4, true},
    };
    const auto& t = table("typy");
    ASSERT_EQ(t.columns.size(), std::size(expected));
    for (size_t i = 0; i < t.columns.size(); ++i) {
        SCOPED_TRACE(expected[i].name);
        EXPECT_EQ(t.columns[i].name, expected[i].name);
        EXPECT_EQ(t.columns[i].type, expected[i].type);
        EXPECT_EQ(t.columns[i].size, expected[i].size);
        EXPECT_EQ(t.columns[i].counter, expected[i].counter);
    }
}

TEST_F(Ddl, DefaultsAndRequired) {
    ddl(*db_,
        "CREATE TABLE Def (a long DEFAULT 1 DEFAULT =0, b text(5) not null DEFAULT 'x', c long "
        "DEFAULT null, d money null)");
    const auto& t = table("Def");
    EXPECT_EQ(t.column("a")->default_text, "0");
    EXPECT_EQ(t.column("b")->default_text, "'x'");
    EXPECT_TRUE(t.column("b")->required);
    EXPECT_EQ(t.column("c")->default_text, "");
    EXPECT_FALSE(t.column("d")->required);
}

TEST_F(Ddl, AddColumnLeavesExistingRowsNullAndCountersNumberThem) {
    ddl(*db_, "ALTER TABLE Faktura ADD COLUMN Nowa long DEFAULT 5");
    insert_raw(*db_, "Faktura", {"Nr"}, "(10), (20), (30)");
    ddl(*db_, "ALTER TABLE Faktura ADD Druga text(10) DEFAULT 'a', Lp counter");
    EXPECT_EQ(table("Faktura").column("Nowa")->default_text, "5");
    EXPECT_EQ(column_values(*db_, "Faktura", "Nowa"),
              (std::vector<std::string>{"NULL", "NULL", "NULL"}));
    EXPECT_EQ(column_values(*db_, "Faktura", "Druga"),
              (std::vector<std::string>{"NULL", "NULL", "NULL"}));
    EXPECT_EQ(column_values(*db_, "Faktura", "Lp"), (std::vector<std::string>{"1", "2", "3"}));
    EXPECT_TRUE(table("Faktura").column("Lp")->counter);
}

TEST_F(Ddl, IndexNamesBelongToTheirTable) {
    ddl(*db_, "CREATE UNIQUE INDEX Podstawowy ON Faktura (Nr DESC, Kontrahent_Id)");
    ddl(*db_, "CREATE TABLE Trzecia (x long, y text(5))");
    ddl(*db_, "CREATE INDEX PODSTAWOWY ON Trzecia (y) WITH IGNORE NULL");
    const auto* ix = table("Faktura").index("podstawowy");
    ASSERT_NE(ix, nullptr);
    EXPECT_TRUE(ix->unique);
    EXPECT_FALSE(ix->primary);
    ASSERT_EQ(ix->columns.size(), 2u);
    EXPECT_TRUE(ix->columns[0].descending);
    EXPECT_TRUE(table("Trzecia").index("Podstawowy")->ignore_nulls);
    ddl(*db_, "DROP INDEX Podstawowy ON Faktura");
    EXPECT_EQ(table("Faktura").index("Podstawowy"), nullptr);
    EXPECT_NE(table("Kontrahent").index("Podstawowy"), nullptr);
    EXPECT_NE(table("Trzecia").index("Podstawowy"), nullptr);
}

TEST_F(Ddl, UniqueIndexesCompareTextWithoutCase) {
    ddl(*db_, "CREATE TABLE U (t text(10))");
    ddl(*db_, "CREATE UNIQUE INDEX Un ON U (t)");
    insert_raw(*db_, "U", {"t"}, "('Łódź'), ('łódź '), ('lodz'), (NULL), (NULL)");
    try {
        insert_raw(*db_, "U", {"t"}, "('ŁÓDŹ')");
        ADD_FAILURE() << "duplicate accepted";
    } catch (const jet::Error& e) {
        EXPECT_EQ(e.number(), 0x80004005u);
        EXPECT_NE(e.description().find("duplicate values"), std::string::npos);
    }
    EXPECT_EQ(column_values(*db_, "U", "t").size(), 5u);
}

TEST_F(Ddl, ConstraintsMakeIndexesAndRelations) {
    ddl(*db_,
        "CREATE TABLE Poz (Id long, Faktura_Nr long, Kod text(10), CONSTRAINT Klucz PRIMARY KEY "
        "(Id), CONSTRAINT Kod UNIQUE (Kod))");
    ddl(*db_, "ALTER TABLE Faktura ADD CONSTRAINT FakturaPK PRIMARY KEY (Nr)");
    ddl(*db_,
        "ALTER TABLE Poz ADD CONSTRAINT PozFaktura FOREIGN KEY (Faktura_Nr) REFERENCES "
        "Faktura (Nr)");
    EXPECT_TRUE(table("Poz").index("Klucz")->primary);
    EXPECT_TRUE(table("Poz").index("Kod")->unique);
    ASSERT_EQ(db_->catalog().relations().size(), 1u);
    const auto& r = db_->catalog().relations()[0];
    EXPECT_EQ(r.table, "Faktura");
    EXPECT_EQ(r.foreign_table, "Poz");
    EXPECT_EQ(r.foreign_columns, std::vector<std::string>{"Faktura_Nr"});
    EXPECT_EQ(ddl_error(*db_, "ALTER TABLE Poz DROP COLUMN Faktura_Nr"), 0x80040E14u);
    ddl(*db_, "ALTER TABLE Poz DROP CONSTRAINT PozFaktura");
    EXPECT_TRUE(db_->catalog().relations().empty());
    ddl(*db_, "ALTER TABLE Poz DROP COLUMN Faktura_Nr");
    ddl(*db_, "ALTER TABLE Poz ADD CONSTRAINT R2 FOREIGN KEY (Id) REFERENCES Faktura (Nr)");
    ddl(*db_, "DROP TABLE faktura");
    EXPECT_TRUE(db_->catalog().relations().empty());
}

TEST_F(Ddl, DropColumnAndTableWithPolishNames) {
    ddl(*db_, "ALTER TABLE kontrahent DROP COLUMN fpłat_id");
    EXPECT_EQ(table("Kontrahent").column("FPŁAT_ID"), nullptr);
    EXPECT_EQ(column_values(*db_, "Kontrahent", "Nazwa"),
              (std::vector<std::string>{"Abc", "abc", "NULL"}));
    ddl(*db_, "DROP TABLE KONTRAHENT");
    EXPECT_EQ(db_->catalog().table("Kontrahent"), nullptr);
    EXPECT_EQ(ddl_error(*db_, "DROP TABLE Kontrahent"), 0x80040E37u);
}

TEST_F(Ddl, AlterColumnConvertsEveryValueOrNothing) {
    ddl(*db_, "CREATE TABLE A (t text(10), n long)");
    insert_raw(*db_, "A", {"t", "n"}, "('12', 1), (' 7', 200), (NULL, 3)");
    ddl(*db_, "CREATE UNIQUE INDEX Un ON A (t)");
    ddl(*db_, "ALTER TABLE A ALTER COLUMN t long");
    EXPECT_EQ(table("A").column("t")->type, jet::DataType::Long);
    EXPECT_EQ(column_values(*db_, "A", "t"), (std::vector<std::string>{"12", "7", "NULL"}));
    EXPECT_NE(table("A").index("Un"), nullptr);
    ddl(*db_, "ALTER TABLE A ALTER COLUMN n text(3)");
    EXPECT_EQ(column_values(*db_, "A", "n"), (std::vector<std::string>{"1", "200", "3"}));
    // 200 fits a Byte; 300 would not.
    ddl(*db_, "ALTER TABLE A ALTER COLUMN t byte");
    insert_raw(*db_, "A", {"t"}, "(300)");
    EXPECT_EQ(ddl_error(*db_, "ALTER TABLE A ALTER COLUMN t short"), 0u);
    EXPECT_NE(ddl_error(*db_, "ALTER TABLE A ALTER COLUMN t byte"), 0u);
    EXPECT_EQ(table("A").column("t")->type, jet::DataType::Integer);

    struct Case {
        const char* sql;
        uint32_t number;
    };
    insert_raw(*db_, "A", {"n"}, "('abc')");
    const Case failing[] = {
        {"ALTER TABLE A ALTER COLUMN n long", 0x80040E07},  // 'abc' is no number
        {"ALTER TABLE A ALTER COLUMN n text(2)", 0x80040E57},
        {"ALTER TABLE A ALTER COLUMN n byte", 0x80040E07},
    };
    for (const auto& c : failing) {
        SCOPED_TRACE(c.sql);
        const auto before = column_values(*db_, "A", "n");
        const auto type = table("A").column("n")->type;
        EXPECT_EQ(ddl_error(*db_, c.sql), c.number);
        EXPECT_EQ(column_values(*db_, "A", "n"), before);
        EXPECT_EQ(table("A").column("n")->type, type);
    }
}

// "prefix0 type, prefix1 type, ..." of n columns (with type empty, the names alone).
std::string columns_list(size_t n, const std::string& prefix, const std::string& type) {
    std::string out;
    for (size_t i = 0; i < n; ++i)
        out += (i ? ", " : "") + prefix + std::to_string(i) + (type.empty() ? "" : " " + type);
    return out;
}

TEST_F(Ddl, TablesHaveAtMost255Fields) {
    ddl(*db_, "CREATE TABLE Waska (" + columns_list(254, "c", "long") + ")");
    insert_raw(*db_, "Waska", {"c0"}, "(7)");
    struct Case {
        std::string sql;
        const char* table;  // the table the statement makes or widens
        size_t columns;     // its columns afterwards
        uint32_t number;    // 0: done
        const char* text;
    };
    const char* too_many = "Too many fields defined.";
    const Case cases[] = {
        {"CREATE TABLE Pelna (" + columns_list(255, "c", "long") + ")", "Pelna", 255, 0, ""},
        {"CREATE TABLE Za (" + columns_list(256, "c", "text(5)") + ")", "Za", 0, 0x80004005,
         too_many},
        {"CREATE TABLE Za (" + columns_list(20000, "c", "long") + ")", "Za", 0, 0x80004005,
         too_many},
        // Names compare as Jet compares them, Polish letters included.
        {"CREATE TABLE Za (" + columns_list(200, "c", "long") + ", Łódź long, ŁÓDŹ long)", "Za", 0,
         0x80040E14, "Field 'ŁÓDŹ' already exists in table 'Za'."},
        {"CREATE TABLE Za (" + columns_list(20000, "c", "long") + ", C7 long)", "Za", 0, 0x80004005,
         too_many},
        {"ALTER TABLE Waska ADD COLUMN a long, b long", "Waska", 254, 0x80004005, too_many},
        {"ALTER TABLE Waska ADD COLUMN " + columns_list(20000, "x", "long"), "Waska", 254,
         0x80004005, too_many},
        {"ALTER TABLE Waska ADD COLUMN a long", "Waska", 255, 0, ""},
        {"ALTER TABLE Waska ADD COLUMN b long", "Waska", 255, 0x80004005, too_many},
        {"SELECT " + columns_list(255, "c0 AS k", "") + " INTO Kopia FROM Waska", "Kopia", 255, 0,
         ""},
        {"SELECT *, 1 AS Jeszcze INTO Kopia2 FROM Waska", "Kopia2", 0, 0x80004005, too_many},
        {"SELECT " + columns_list(20000, "c0 AS k", "") + " INTO Kopia3 FROM Waska", "Kopia3", 0,
         0x80004005, too_many},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sql.substr(0, 60));
        std::string text;
        try {
            db_->execute(c.sql);
        } catch (const jet::Error& e) {
            EXPECT_EQ(e.number(), c.number);
            text = e.description();
        }
        EXPECT_EQ(text, c.text);
        const jet::TableInfo* t = db_->catalog().table(c.table);
        EXPECT_EQ(t ? t->columns.size() : 0, c.columns);
    }
    EXPECT_EQ(column_values(*db_, "Kopia", "k254"), std::vector<std::string>{"7"});
}

}  // namespace

namespace {

using namespace storage_test;

TEST(DdlLocks, DropWhileAStatementReadsFailsAsALockedTableAndKeepsIt) {
    ScratchDir dir;
    jet::Database::create(dir.file("l.mdb"));
    auto db = jet::Database::open(dir.file("l.mdb"));
    ddl(*db, "CREATE TABLE Czytana (x long)");
    ddl(*db, "CREATE TABLE Usuwana (x long)");
    insert_raw(*db, "Czytana", {"x"}, "(1), (2)");
    sqlite3_stmt* st =
        db->session().prepare("SELECT * FROM " + db->catalog().table("Czytana")->sql_name);
    ASSERT_TRUE(db->session().step(st));
    std::string text;
    EXPECT_EQ(ddl_error(*db, "DROP TABLE Usuwana", &text), 0x80004005u);
    EXPECT_NE(text.find("The database engine couldn't lock table 'Usuwana'"), std::string::npos)
        << text;
    EXPECT_NE(db->catalog().table("Usuwana"), nullptr);
    sqlite3_reset(st);
    EXPECT_EQ(ddl_error(*db, "DROP TABLE Usuwana"), 0u);
}

}  // namespace
