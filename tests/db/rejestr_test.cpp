#include "db/rejestr.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "db/stan.h"
#include "platform/temp_registry.h"

namespace {

class Rejestr : public TempRegistry {
  protected:
    static std::string slot(int i) { return " " + std::to_string(i) + "manu_baza"; }
    std::vector<std::string> slots() {
        std::vector<std::string> v;
        for (int i = 0; i <= 9; ++i) v.push_back(Czytaj_Rejestr(slot(i), 0));
        return v;
    }
};

TEST_F(Rejestr, MarkerRoundTripAndMissingValues) {
    EXPECT_EQ(Czytaj_Rejestr("dodralvex", 0), "");
    Zapisz_Rejestr("dodralvex", "0001", 0);
    EXPECT_EQ(Czytaj_Rejestr("dodralvex", 0), "0001");
    EXPECT_NE(slurp(reg).find("\"dodralvex\"=\"0001\""), std::string::npos);
    Zapisz_Rejestr("x", "1", 5);
    EXPECT_EQ(Czytaj_Rejestr("x", 5), "");
    EXPECT_EQ(Czytaj_Rejestr("x", 0), "");
}

TEST_F(Rejestr, DamagedFileReadsEmptyAndIsKept) {
    spit(reg, "garbage\n");
    EXPECT_EQ(Czytaj_Rejestr("dodralvex", 0), "");
    Zapisz_Rejestr("dodralvex", "0000", 0);  // reported, not thrown
    EXPECT_EQ(slurp(reg), "garbage\n");
}

// A registry file that exists and cannot be read reads as "", and standard error and the
// Log (Rejestr.txt beside it, no database being known) say that the value is unknown,
// with the file and the reason.
TEST_F(Rejestr, UnreadableFileIsToldApartFromMissingValues) {
    const struct {
        bool folder;
        const char* reason;
    } cases[] = {{false, ":1: the first line must be"}, {true, ": Is a directory"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reason);
        std::filesystem::remove_all(reg);
        std::filesystem::remove(dir / "Rejestr.txt");
        if (c.folder)
            std::filesystem::create_directory(reg);
        else
            spit(reg, "garbage\n");
        testing::internal::CaptureStderr();
        EXPECT_EQ(Czytaj_Rejestr("dodralvex", 0), "");
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(err.rfind("konwersja: \"dodralvex\" is unknown, not missing: ", 0), 0u) << err;
        EXPECT_NE(err.find(reg.string() + c.reason), std::string::npos) << err;
        const std::string log = slurp(dir / "Rejestr.txt");
        EXPECT_NE(log.find("Nie można odczytać pliku rejestru: "), std::string::npos) << log;
        EXPECT_NE(log.find(c.reason), std::string::npos) << log;
    }
}

TEST_F(Rejestr, RecentDatabases) {
    Sciezka_Bazy = "/a.mdb";
    Zapisz_Ostatnia_Baze();  // slots 0 and 1 empty: slot 0 is never chosen
    EXPECT_EQ(slots()[1], "/a.mdb");
    EXPECT_EQ(slots()[0], "");
    Zapisz_Ostatnia_Baze();
    EXPECT_EQ(slots()[2], "") << "a listed path changes nothing";

    for (int i = 0; i <= 9; ++i) Zapisz_Rejestr(slot(i), "/" + std::to_string(i), 0);
    Sciezka_Bazy = "/7";
    Zapisz_Ostatnia_Baze();
    EXPECT_EQ(slots()[7], "/7");
    EXPECT_EQ(slots()[9], "/9");

    Sciezka_Bazy = "/nowa";
    Zapisz_Ostatnia_Baze();  // all full: move down, slot 0 lost
    EXPECT_EQ(slots(), (std::vector<std::string>{"/1", "/2", "/3", "/4", "/5", "/6", "/7", "/8",
                                                 "/9", "/nowa"}));
    Sciezka_Bazy = "/NOWA";  // case matters
    Zapisz_Ostatnia_Baze();
    EXPECT_EQ(slots()[9], "/NOWA");
    Sciezka_Bazy.clear();
}

}  // namespace
