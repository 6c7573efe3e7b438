// The program's own file work on the database that its connection has open (a DAO
// view, a compaction, a copy, an availability check): another process still finds the
// connection's SQLite lock on the file afterwards, and leaves the log in place.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>

#include "dao/dao.h"
#include "db/pliki.h"
#include "db/polaczenie.h"
#include "db_env.h"
#include "jet/files.h"
#include "jet/storage_util.h"

namespace {

using namespace storage_test;

TEST(PlikiBlokady, TheProgramsFileWorkKeepsTheConnectionsLocks) {
    const std::function<void(const std::string&)> kinds[] = {
        [](const std::string& p) { EXPECT_FALSE(Plik_Dostepny(p)) << "held by this process"; },
        [](const std::string& p) { EXPECT_TRUE(Kopiuj_Plik(p, p + ".bak")); },
        [](const std::string& p) {
            auto dao = dao::DBEngine::OpenDatabase(p);
            EXPECT_GE(dao->TableDefCount(), 1);
            dao->Close();
        },
        [](const std::string& p) { dao::DBEngine::CompactDatabase(p, p + ".compact"); },
    };
    int kind = 0;
    for (const auto& work : kinds) {
        SCOPED_TRACE(kind++);
        ScratchDir dir;
        const std::string path = dir.file("p.mdb");
        jet::Database::create(path);
        auto db = jet::Database::open(path);
        ddl(*db, "CREATE TABLE Towar (Id long)");
        db->checkpoint();
        insert_raw(*db, "Towar", {"Id"}, "(1)");
        work(path);
        insert_raw(*db, "Towar", {"Id"}, "(2)");
        const SeenByOthers seen = seen_by_others(path);
        EXPECT_TRUE(seen.locked);
        EXPECT_TRUE(seen.log_kept);
    }
}

// Counts this process's opens of one file through SQLite: a file system layer in front
// of SQLite's default one, made the default while the counter lives.
class SqliteOpens {
  public:
    explicit SqliteOpens(std::string path) {
        watched_ = std::move(path);
        count_ = 0;
        real_ = sqlite3_vfs_find(nullptr);
        vfs_ = *real_;
        vfs_.zName = "liczone";
        vfs_.pNext = nullptr;
        vfs_.xOpen = [](sqlite3_vfs*, sqlite3_filename name, sqlite3_file* f, int flags, int* out) {
            if (name && watched_ == name) ++count_;
            return real_->xOpen(real_, name, f, flags, out);
        };
        sqlite3_vfs_register(&vfs_, 1);
    }
    ~SqliteOpens() {
        sqlite3_vfs_unregister(&vfs_);
        sqlite3_vfs_register(real_, 1);
    }
    int count() const { return count_; }

  private:
    static inline sqlite3_vfs* real_ = nullptr;
    static inline sqlite3_vfs vfs_{};
    static inline std::string watched_;
    static inline int count_ = 0;
};

class Odmowa : public DbEnv {};

// A run refused because another run holds the database is refused before SQLite opens
// the file: its open and close could not disturb the other run.
TEST_F(Odmowa, ARunRefusedByAnothersHoldNeverOpensTheDatabase) {
    utworz_baze();
    OtherProcessHold holder(baza);
    {
        SqliteOpens opens(std::filesystem::canonical(baza).string());
        Sciezka_Bazy = baza;
        DbOtwórz();
        EXPECT_EQ(Baza_Otwarta, 0);
        ASSERT_EQ(okna.size(), 1u);
        EXPECT_NE(okna[0].tekst.find("Could not lock file."), std::string::npos) << okna[0].tekst;
        EXPECT_EQ(opens.count(), 0);
    }
    EXPECT_TRUE(holder.release());
}

}  // namespace
