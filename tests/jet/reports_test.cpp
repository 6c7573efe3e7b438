// The engine's reports: statements in, the reports they write out ("KIND TABLE[ stated]").
#include <fstream>
#include <optional>
#include <sstream>

#include "jet/reports.h"
#include "query_util.h"

namespace query_test {
namespace {

class Reports : public QueryTest {
protected:
    void SetUp() override {
        QueryTest::SetUp();
        file_ = (dir_ / "reports.txt").string();
        jet::reports::start(file_);
        run_all({"CREATE TABLE H (Id long, Suma money, Licz long)", "CREATE UNIQUE INDEX K ON H (Id) WITH PRIMARY",
                 "CREATE TABLE L (Id long, HId long, Kwota money)", "CREATE TABLE R (HId long, Ilosc long)",
                 "CREATE TABLE S (HId long, Kwota money)", "INSERT INTO H VALUES (1, 10, 0)",
                 "INSERT INTO H VALUES (2, 20, 0)", "INSERT INTO H VALUES (3, 30, 0)",
                 "INSERT INTO L VALUES (1, 1, 5)", "INSERT INTO L VALUES (2, 1, Null)",
                 "INSERT INTO L VALUES (3, 2, 7)", "INSERT INTO L VALUES (4, 3, Null)",
                 "INSERT INTO R VALUES (1, 8)", "INSERT INTO R VALUES (1, 9)"});
    }
    void TearDown() override {
        jet::reports::start("");
        QueryTest::TearDown();
    }
    // The reports written since the last call: "KIND TABLE[ stated]", one a line.
    std::string taken() {
        std::ifstream in(file_);
        std::string line, out;
        while (std::getline(in, line)) {
            std::istringstream f(line);
            std::string step, kind, table, statement, stated;
            std::getline(f, step, '\t');
            std::getline(f, kind, '\t');
            std::getline(f, table, '\t');
            std::getline(f, statement, '\t');
            std::getline(f, stated, '\t');
            out += (out.empty() ? "" : ";") + kind + " " + table + (stated.empty() ? "" : " " + stated);
        }
        std::ofstream(file_, std::ios::trunc);
        return out;
    }
    std::string file_;
};

TEST_F(Reports, EachCaseIsReportedOnceAndOnlyWhereItIsMet) {
    const char* multi = "UPDATE H INNER JOIN L ON H.Id = L.HId SET H.Licz = H.Licz + 1";
    const struct {
        const char* sql;
        bool stated;
        const char* reports;
    } cases[] = {
        {multi, false, "multi-pair H"},  // header 1 meets two lines
        {multi, true, "multi-pair H stated"},
        // Every pair writes the same value: the pairs do not matter.
        {"UPDATE H INNER JOIN L ON H.Id = L.HId SET H.Licz = 5, L.Kwota = L.Kwota + H.Suma WHERE H.Id = 1", false, ""},
        {"UPDATE H INNER JOIN L ON H.Id = L.HId SET H.Suma = H.Suma + L.Kwota WHERE H.Id = 2", false, ""},
        {"UPDATE H INNER JOIN L ON H.Id = L.HId SET H.Suma = H.Suma + L.Kwota WHERE H.Id = 3", false,
         "null-overwrite H"},
        // A plain copy of a value not given over a value; of a value.
        {"UPDATE H INNER JOIN L ON H.Id = L.HId SET H.Licz = L.Kwota WHERE L.Id = 2", false, "null-overwrite H"},
        {"UPDATE H INNER JOIN L ON H.Id = L.HId SET H.Licz = L.Kwota WHERE L.Id = 1", false, ""},
        // Reached through a unique key: one pair at most; no arithmetic, no Null reported.
        {"UPDATE L INNER JOIN H ON L.HId = H.Id SET L.Kwota = H.Suma", false, ""},
        {"UPDATE H SET Suma = Nz(Suma, 0) + 1", false, ""},
        {"UPDATE H SET Suma = Null WHERE Id = 2", false, ""},
        {"UPDATE H SET Licz = Licz * Suma", false, "null-overwrite H"},
        {"UPDATE L SET Kwota = -Kwota WHERE Kwota Is Null", false, ""},  // no value stood
        // Each line once with its header; each of R's rows meets two lines and each line two of R's.
        {"INSERT INTO S SELECT L.HId, L.Kwota FROM H INNER JOIN L ON H.Id = L.HId", false, ""},
        {"INSERT INTO S (HId, Kwota) SELECT R.HId, R.Ilosc FROM R INNER JOIN L ON R.HId = L.HId", false,
         "insert-repeat S"},
        {"INSERT INTO S (HId, Kwota) SELECT R.HId, Sum(L.Kwota) FROM R INNER JOIN L ON R.HId = L.HId GROUP BY R.HId",
         false, ""},
    };
    for (const auto& c : cases) {
        std::optional<jet::reports::Stated> scope;
        if (c.stated) scope.emplace(jet::reports::Kind::MultiPair);
        run(c.sql);
        EXPECT_EQ(taken(), c.reports) << c.sql;
    }
    jet::reports::start("");
    run(multi);
    EXPECT_EQ(taken(), "");
}

}  // namespace
}  // namespace query_test
