// The hook before each write statement: called once per statement that writes (never for
// a read, nor again for the statements a plan or a schema change runs inside its own),
// and a hook that throws fails its statement with nothing written.
#include "jet/write_hook.h"

#include "storage_util.h"

namespace {

using namespace storage_test;

int calls = 0;
void count_call() {
    ++calls;
}
void disk_full() {
    jet::raise(jet::Fault::DiskFull);
}

class WriteHook : public ::testing::Test {
  protected:
    void SetUp() override {
        jet::Database::create(dir_.file("d.mdb"));
        db_ = jet::Database::open(dir_.file("d.mdb"));
        db_->execute("CREATE TABLE T (Id long, Nazwa text(20))");
        db_->execute("INSERT INTO T (Id, Nazwa) VALUES (1, 'a')");
        db_->execute("INSERT INTO T (Id, Nazwa) VALUES (2, 'b')");
        calls = 0;
    }
    void TearDown() override { jet::set_write_hook(nullptr); }
    int64_t count_rows() {
        auto c = db_->query("SELECT Count(*) FROM T");
        c->next();
        return c->value(0).to_long();
    }
    ScratchDir dir_;
    std::shared_ptr<jet::Database> db_;
};

TEST_F(WriteHook, OneCallPerWritingStatement) {
    struct Case {
        const char* sql;
        int calls;
    };
    const Case cases[] = {
        {"INSERT INTO T (Id, Nazwa) VALUES (3, 'c')", 1},
        {"UPDATE T SET Nazwa = 'x' WHERE Id = 1", 1},
        {"DELETE FROM T WHERE Id = 3", 1},
        // Plans of several statements inside one savepoint.
        {"ALTER TABLE T ADD COLUMN Nr counter", 1},
        {"ALTER TABLE T ALTER COLUMN Nazwa text(40)", 1},
        {"CREATE UNIQUE INDEX Klucz ON T (Id) WITH PRIMARY", 1},
        {"SELECT * INTO Kopia FROM T", 1},
        {"DROP TABLE Kopia", 1},
    };
    jet::set_write_hook(count_call);
    for (const Case& c : cases) {
        calls = 0;
        db_->execute(c.sql);
        EXPECT_EQ(calls, c.calls) << c.sql;
    }
    calls = 0;
    auto rows = db_->query("SELECT Id, Nazwa FROM T ORDER BY Id");
    while (rows->next()) {
    }
    EXPECT_EQ(calls, 0) << "a read";
    // Inside a user transaction every statement is still its own write.
    db_->begin_trans();
    db_->execute("UPDATE T SET Nazwa = 'y'");
    db_->execute("UPDATE T SET Nazwa = 'z'");
    db_->rollback_trans();
    EXPECT_EQ(calls, 2);
}

TEST_F(WriteHook, AThrowingHookFailsTheStatementWithNothingWritten) {
    jet::set_write_hook(disk_full);
    for (const char* sql : {"INSERT INTO T (Id, Nazwa) VALUES (3, 'c')", "DELETE FROM T",
                            "ALTER TABLE T ADD COLUMN Nr counter"}) {
        try {
            db_->execute(sql);
            ADD_FAILURE() << "no failure: " << sql;
        } catch (const jet::Error& e) {
            EXPECT_EQ(e.description(), "Not enough space on disk.") << sql;
        }
    }
    EXPECT_EQ(count_rows(), 2);
    EXPECT_EQ(db_->catalog().table("T")->columns.size(), 2u);
    jet::set_write_hook(nullptr);
    db_->execute("DELETE FROM T");
    EXPECT_EQ(count_rows(), 0);
}

}  // namespace
