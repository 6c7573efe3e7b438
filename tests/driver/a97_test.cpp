// The older-format upgrade's commits, made by the closes of the connection: the tidy-up
// before the loop and the renames of COUNT and USER.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "dao/dao.h"
#include "jet/sqlite_fault.h"
#include "jet/storage_util.h"
#include "konwersje_env.h"

namespace {

// While set, every flush (fsync) of a file or folder whose name begins with it fails with
// fsync_blad, as a failing disk makes it fail.
const char* fsync_nazwa = nullptr;
int fsync_blad = 0;

}  // namespace

// The test program's fsync, in front of the C library's: the flushes of the program's own
// file layer and of SQLite come here.
extern "C" int fsync(int fd) {
    using Fsync = int (*)(int);
    static const auto prawdziwy = reinterpret_cast<Fsync>(::dlsym(RTLD_NEXT, "fsync"));
    if (fsync_nazwa) {
        char cel[PATH_MAX];
        const ssize_t n =
            ::readlink(("/proc/self/fd/" + std::to_string(fd)).c_str(), cel, sizeof cel);
        const std::string_view sciezka(cel, n > 0 ? static_cast<size_t>(n) : 0);
        if (sciezka.substr(sciezka.rfind('/') + 1).starts_with(fsync_nazwa)) {
            errno = fsync_blad;
            return -1;
        }
    }
    return prawdziwy(fd);
}

namespace {

class A97Zapis : public KonwersjeEnv {
  protected:
    // An Access 97 file with a table to tidy and rename in and one that the tidy-up drops.
    void baza_97() {
        utworz_baze(
            {"CREATE TABLE klienci (id long, [count] long, [User] TEXT(20))",
             "INSERT INTO klienci (id, [count]) VALUES (1, 1)", "CREATE TABLE _robocza (a long)"},
            "3.0");
    }

    // The user tables with their fields, as "table: field field ...".
    std::vector<std::string> tabele(const std::string& plik = {}) {
        auto db = dao::DBEngine::OpenDatabase(plik.empty() ? baza : plik);
        std::vector<std::string> t;
        for (int i = 0; i < db->TableDefCount(); ++i) {
            dao::TableDef td = db->TableDefs(i);
            if (td.IsSystem()) continue;
            std::string opis = td.Name() + ":";
            for (int f = 0; f < td.FieldCount(); ++f) opis += " " + td.Fields(f).Name();
            t.push_back(opis);
        }
        db->Close();
        return t;
    }
};

// A commit that fails, of the tidy-up's writes (at the close before the backup) or of
// the renames (at the close after them), ends the run as a failed write does: the
// critical report names the failure, marker "0000", no new file is begun, and the
// database is as of its last commit (here, as it came).
TEST_F(A97Zapis, ACommitThatFailsEndsTheRunAndKeepsTheLastCommit) {
    const std::vector<std::string> jak_byla = {"_robocza: a", "klienci: id count User"};
    const std::string pelny = jet::make_error(jet::Fault::DiskFull).description();
    for (const bool porzadki : {true, false}) {
        SCOPED_TRACE(porzadki ? "the tidy-up's commit" : "the renames' commit");
        std::filesystem::remove(baza);
        sqlite_fault::FullLog dysk;
        baza_97();
        // A backup from an earlier attempt: the upgrade goes on to the renames at once.
        spit(folder / "A97_baza.mdbbak", "kopia");
        Zapisz_Rejestr("dodralvex", "0123", 0);
        Sciezka_Bazy = baza;
        DbOtwórz();
        ASSERT_TRUE(Baza_Otwarta);
        if (porzadki) k.Porzadkuj_BazeKonwersje(baza, true);
        okna.clear();
        dysk.set_full(true);
        EXPECT_TRUE(konczy([&] { k.Konwertuj_A97_A2000(); }));
        dysk.set_full(false);
        EXPECT_EQ(status, platform::exit_status::fatal);
        EXPECT_EQ(znacznik(), "0000");
        ASSERT_FALSE(okna.empty());
        EXPECT_EQ(okna.back().styl, vbCritical);
        EXPECT_NE(okna.back().tekst.find(pelny), std::string::npos) << okna.back().tekst;
        EXPECT_FALSE(std::filesystem::exists(folder / "A2000_baza.mdb"));
        EXPECT_EQ(tabele(), jak_byla);
    }
}

// The backup is the database as committed, never the file's bytes alone, which lack
// what the close could not copy in from the log (or hold half of it). With a page write
// of the close's checkpoint failing, the backup opens and holds the tidy-up's result,
// and the upgrade goes on. With every page write failing, no backup can be written: the
// run ends as on any failure of the environment, with no backup and no new file, and the
// database keeps the tidy-up in its log. A flush that the disk fails (of the backup, of
// its folder, of the compacted copy) ends the run the same way, named as the I/O error
// it is, a full disk as a full disk: never as a file that other workstations hold, to be
// tried again ("Powtórz"). The close after which such a failure ends the run leaves the
// database whole in its file, also while another program has the file open: the file
// copied alone holds what the run committed.
TEST_F(A97Zapis, TheBackupIsTheCommittedDatabaseOrTheRunEnds) {
    const std::vector<std::string> po_porzadkach = {"KLIENCI: id count User"};
    const std::vector<std::string> po_zmianach = {"KLIENCI: id COUNTT USERS"};
    struct Przypadek {
        const char* nazwa;
        int pomin, ile;           // page writes that go through, then page writes that fail
        const char* fsync_pliku;  // the beginning of the names whose flushes fail, or nullptr
        int fsync_blad;
        bool konczy;
        jet::Fault blad;  // the failure that ends the run
        bool dziennik;    // the log says the close left part of the log out of the file
        bool kopia_jest;  // the backup is there after the run
        std::vector<std::string> tabele;  // the database's tables after the run
    };
    const Przypadek przypadki[] = {
        {"the third page write of the checkpoint fails",
         2,
         1,
         nullptr,
         0,
         false,
         jet::Fault::IoError,
         false,
         true,
         {}},
        {"every page write fails", 0, -1, nullptr, 0, true, jet::Fault::IoError, true, false,
         po_porzadkach},
        {"the backup's flush fails", 0, 0, "A97_baza.mdbbak.copy", EIO, true, jet::Fault::IoError,
         false, false, po_porzadkach},
        {"the flush of the backup's folder fails", 0, 0, "dane", EROFS, true,
         jet::Fault::ReadOnlyDatabase, false, true, po_porzadkach},
        {"the backup's flush finds the disk full", 0, 0, "A97_baza.mdbbak.copy", ENOSPC, true,
         jet::Fault::DiskFull, false, false, po_porzadkach},
        {"the compacted copy's flush fails", 0, 0, "A2000_baza.mdb.new.compact-", EIO, true,
         jet::Fault::IoError, false, true, po_zmianach},
    };
    const std::string kopia = (folder / "A97_baza.mdbbak").string();
    for (const Przypadek& p : przypadki) {
        SCOPED_TRACE(p.nazwa);
        for (const std::string& plik : {baza, kopia}) std::filesystem::remove(plik);
        baza_97();
        Zapisz_Rejestr("dodralvex", "0123", 0);
        Sciezka_Bazy = baza;
        DbOtwórz();
        ASSERT_TRUE(Baza_Otwarta);
        k.Porzadkuj_BazeKonwersje(baza, true);
        okna.clear();
        const std::string dziennik = "Dziennik zmian bazy nie został w całości przepisany";
        const int w_logu = ile_w_logu(dziennik);
        bool skonczyl = false;
        sqlite3* inny = nullptr;  // another program's idle connection
        if (p.konczy) {
            ASSERT_EQ(sqlite3_open_v2(baza.c_str(), &inny, SQLITE_OPEN_READONLY, nullptr),
                      SQLITE_OK);
            sqlite3_exec(inny, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
        }
        if (p.fsync_pliku) {
            fsync_nazwa = p.fsync_pliku;
            fsync_blad = p.fsync_blad;
            skonczyl = konczy([&] { k.Konwertuj_A97_A2000(); });
            fsync_nazwa = nullptr;
        } else {
            sqlite_fault::FailingPageWrites awaria(SQLITE_IOERR_WRITE, p.pomin, p.ile);
            skonczyl = konczy([&] { k.Konwertuj_A97_A2000(); });
            EXPECT_GT(awaria.failed(), 0);
        }
        const std::string sam = (folder / "sam.mdb").string();
        if (inny) {
            storage_test::write_bytes(sam, storage_test::read_bytes(baza));
            sqlite3_close(inny);
        }
        ASSERT_EQ(skonczyl, p.konczy);
        // Only a close that left part of the log out of the file says so.
        EXPECT_EQ(ile_w_logu(dziennik) - w_logu, p.dziennik ? 1 : 0);
        if (p.konczy) {
            EXPECT_EQ(status, platform::exit_status::fatal);
            EXPECT_EQ(znacznik(), "0000");
            ASSERT_FALSE(okna.empty());
            EXPECT_EQ(okna.back().styl, vbCritical);
            const std::string blad = jet::make_error(p.blad).description();
            EXPECT_NE(okna.back().tekst.find(blad), std::string::npos) << okna.back().tekst;
            for (const Okno& o : okna) EXPECT_NE(o.tekst, "Powtórz");
            EXPECT_EQ(std::filesystem::exists(kopia), p.kopia_jest);
            EXPECT_EQ(std::filesystem::exists(folder / "A2000_baza.mdb"), p.tabele == po_zmianach)
                << "the new file is begun after the renames";
            EXPECT_EQ(tabele(), p.tabele);
            // Unless the close could not copy the log in (and said so).
            if (!p.dziennik) {
                EXPECT_EQ(tabele(sam), p.tabele);
            }
        } else {
            DbZamknij_Unload(0);
            EXPECT_EQ(tabele(kopia), po_porzadkach);
            EXPECT_EQ(tabele(), (std::vector<std::string>{"KLIENCI: id COUNTT USERS"}));
        }
    }
}

}  // namespace
