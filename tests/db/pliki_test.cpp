#include "db/pliki.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include "platform/temp_registry.h"

namespace {

TEST(Sciezki, FolderAndFileName) {
    struct Case {
        std::string path, katalog, nazwa;
    } cases[] = {
        {"C:\\Dane\\baza.mdb", "C:\\Dane", "baza.mdb"},
        {"C:/Dane/baza.mdb", "", "baza.mdb"},  // Katalog_Pliku knows only "\"
        {"/srv/dane/baza.mdb", "", "baza.mdb"},
        {"baza.mdb", "", "baza.mdb"},
        {"C:\\Dane\\", "C:\\Dane", ""},
        {"C:\\Dane/x\\y", "C:\\Dane/x", "y"},
        {"", "", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Katalog_Pliku(c.path), c.katalog) << c.path;
        EXPECT_EQ(Nazwa_Pliku(c.path), c.nazwa) << c.path;
    }
}

TEST(Sciezki, SplitKeepsOutputsWhenNothingToSplit) {
    std::string katalog = "k", plik = "p";
    Rozdziel_Sciezke("", katalog, plik);
    Rozdziel_Sciezke("/srv/dane/", katalog, plik);
    EXPECT_EQ(katalog + plik, "kp");
    Rozdziel_Sciezke("/srv/dane/baza.mdb", katalog, plik);
    EXPECT_EQ(katalog, "/srv/dane");
    EXPECT_EQ(plik, "baza.mdb");
    Rozdziel_Sciezke("baza.mdb", katalog, plik);
    EXPECT_EQ(katalog, std::filesystem::current_path().string());
    EXPECT_EQ(plik, "baza.mdb");
}

TEST(Sciezki, Separators) {
    EXPECT_TRUE(Jest_Separator("\\"));
    EXPECT_TRUE(Jest_Separator("/"));
    EXPECT_FALSE(Jest_Separator(":"));
    EXPECT_FALSE(Jest_Separator(""));
}

class Pliki : public TempRegistry {
  protected:
    std::string f(const char* name) { return (dir / name).string(); }
};

TEST_F(Pliki, ExistDeleteCopy) {
    EXPECT_FALSE(Plik_Istnieje(f("x")));
    EXPECT_FALSE(Plik_Istnieje(dir.string())) << "a folder is not a file";
    EXPECT_FALSE(Plik_Istnieje(""));
    EXPECT_TRUE(Usun_Plik(f("x"))) << "nothing to delete: no file left";
    spit(f("a"), "treść");
    EXPECT_TRUE(Plik_Istnieje(f("a")));
    EXPECT_TRUE(Kopiuj_Plik(f("a"), f("b")));
    spit(f("c"), "stara, dłuższa treść");
    EXPECT_TRUE(Kopiuj_Plik(f("a"), f("c"))) << "overwrites";
    EXPECT_EQ(slurp(f("c")), "treść");
    EXPECT_FALSE(Kopiuj_Plik(f("missing"), f("d")));
    EXPECT_FALSE(Kopiuj_Plik(f("a"), f("no/such/folder/d")));
    std::filesystem::create_directory(f("e"));
    EXPECT_FALSE(Kopiuj_Plik(f("a"), f("e"))) << "a folder under the name";
    EXPECT_FALSE(Plik_Istnieje(f("e.kopia"))) << "no partial copy is left beside";
    EXPECT_TRUE(Usun_Plik(f("b")));
    EXPECT_FALSE(Plik_Istnieje(f("b")));
    EXPECT_TRUE(Usun_Plik(dir.string())) << "a folder is no file: nothing to delete";
    EXPECT_TRUE(std::filesystem::is_directory(dir));
}

TEST_F(Pliki, Accessible) {
    spit(f("a"), "x");
    EXPECT_TRUE(Plik_Dostepny(f("a")));
    EXPECT_FALSE(Plik_Dostepny(f("missing")));
    EXPECT_FALSE(Plik_Dostepny(dir.string()));
    int fd = ::open(f("a").c_str(), O_RDONLY);
    ASSERT_EQ(::flock(fd, LOCK_EX), 0);
    pid_t child = ::fork();
    if (child == 0) _exit(Plik_Dostepny(f("a")) ? 1 : 0);  // another process asks
    int st = 0;
    ::waitpid(child, &st, 0);
    EXPECT_EQ(WEXITSTATUS(st), 0) << "held exclusively by another process";
    ::close(fd);
}

}  // namespace
