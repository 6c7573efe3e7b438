// A column renamed through DAO while the program's engine handle stays open: a clash
// with another column fails and changes nothing, indexes go on serving the column
// under its new name, and the rename is a write of the grouped transaction like any
// other (kept by a commit, lost by a process that ends without one).
#include <sys/wait.h>
#include <unistd.h>

#include <functional>

#include "support.h"

namespace daotest {
namespace {

class FieldRenameTest : public DaoTest {
  protected:
    void SetUp() override {
        DaoTest::SetUp();
        file_ = make_db();
        ado_ = engine(file_);
        ado_->execute("CREATE TABLE KH_KONTA (Countt LONG, Konto TEXT(20), Nazwa TEXT(20))");
        ado_->execute("CREATE UNIQUE INDEX Kontaid ON KH_KONTA (Countt)");
        ado_->execute("INSERT INTO KH_KONTA VALUES (1, '100', 'Kasa')");
        ado_->execute("INSERT INTO KH_KONTA VALUES (2, '130', 'Bank')");
        ado_->checkpoint();
    }
    std::string file_;
    std::shared_ptr<jet::Database> ado_;
};

TEST_F(FieldRenameTest, RenameOntoAnExistingColumnFailsAndChangesNothing) {
    auto db = dao::DBEngine::OpenDatabase(file_);
    for (const char* clash : {"Konto", "KONTO", "nazwa"}) {
        const std::string failure =
            failure_of([&] { db->TableDefs("KH_KONTA").Fields("Countt").SetName(clash); });
        EXPECT_NE(failure.find("already exists"), std::string::npos) << clash << ": " << failure;
    }
    db->Close();
    EXPECT_EQ(column_texts(*ado_, "SELECT Countt & Konto & Nazwa FROM KH_KONTA ORDER BY Countt"),
              (std::vector<std::string>{"1100Kasa", "2130Bank"}));
}

TEST_F(FieldRenameTest, IndexesServeTheColumnUnderItsNewName) {
    auto db = dao::DBEngine::OpenDatabase(file_);
    db->TableDefs("kh_konta").Fields("COUNTT").SetName("Kontaid");
    db->Close();
    // The engine handle of the program sees the new name at once.
    EXPECT_EQ(column_texts(*ado_, "SELECT Konto FROM KH_KONTA WHERE Kontaid=2"),
              std::vector<std::string>{"130"});
    EXPECT_NE(failure_of([&] { ado_->execute("INSERT INTO KH_KONTA (Kontaid) VALUES (1)"); }), "")
        << "the unique index still guards the column";
    ado_->execute("INSERT INTO KH_KONTA (Kontaid, Konto) VALUES (3, '201')");
    auto again = dao::DBEngine::OpenDatabase(file_);
    const std::vector<dao::Index> indexes = again->TableDefs("KH_KONTA").Indexes();
    ASSERT_EQ(indexes.size(), 1u);
    EXPECT_EQ(indexes[0].Name, "Kontaid");
    EXPECT_TRUE(indexes[0].Unique);
    EXPECT_EQ(indexes[0].Fields, std::vector<std::string>{"Kontaid"});
}

// Runs body in a child process that ends without closing anything, as if killed.
void in_killed_child(const std::function<void()>& body) {
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        try {
            body();
            _exit(0);
        } catch (...) {
            _exit(3);
        }
    }
    int status = 0;
    waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_EQ(WEXITSTATUS(status), 0);
}

TEST_F(FieldRenameTest, TheRenameIsKeptByTheCommitAndOnlyByIt) {
    ado_.reset();  // the child opens the file as the program would
    for (const bool commit : {false, true}) {
        in_killed_child([&] {
            auto program = engine(file_);
            auto db = dao::DBEngine::OpenDatabase(file_);
            db->TableDefs("KH_KONTA").Fields("Nazwa").SetName("Opis");
            db->Close();  // the program's handle keeps the session and its transaction open
            if (commit) program->checkpoint();
            static auto kept = program;  // never closed: the process ends with it open
        });
        auto after = engine(file_);
        const char* expected = commit ? "Opis" : "Nazwa";
        EXPECT_EQ(column_texts(
                      *after, std::string("SELECT ") + expected + " FROM KH_KONTA ORDER BY Countt"),
                  (std::vector<std::string>{"Kasa", "Bank"}))
            << "commit " << commit;
    }
}

}  // namespace
}  // namespace daotest
