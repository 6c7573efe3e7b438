// The program's own file work on the database that its connection has open (a DAO
// view, a compaction, a copy, an availability check): another process still finds the
// connection's SQLite lock on the file afterwards, and leaves the log in place.
#include <gtest/gtest.h>

#include <functional>

#include "dao/dao.h"
#include "db/pliki.h"
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

}  // namespace
