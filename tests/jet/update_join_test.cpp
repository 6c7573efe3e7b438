// UPDATE and DELETE over joins with Jet's meaning: pairs judged before the statement,
// the SET applied once per pair in join order; DELETE t.* takes t's joined rows.
#include <cstdio>
#include <random>
#include <string>

#include "query_util.h"

namespace query_test {
namespace {

class Joins : public QueryTest {
protected:
    void SetUp() override {
        QueryTest::SetUp();
        run_all({"CREATE TABLE Nagłówki (Id long, Suma money, Ost text(10), Licz long)",
                 "CREATE UNIQUE INDEX Podstawowy ON Nagłówki (Id) WITH PRIMARY",
                 "CREATE TABLE Pozycje (Id long, NagId long, Kwota money, Opis text(10))",
                 "INSERT INTO Nagłówki VALUES (1, 0, 'x', 0)", "INSERT INTO Nagłówki VALUES (2, 100, 'x', 0)",
                 "INSERT INTO Nagłówki VALUES (3, Null, 'x', 0)",
                 "INSERT INTO Pozycje VALUES (1, 1, 10.5, 'a')", "INSERT INTO Pozycje VALUES (2, 1, 0.25, 'b')",
                 "INSERT INTO Pozycje VALUES (3, 2, 1, 'c')", "INSERT INTO Pozycje VALUES (4, 1, 2, 'd')",
                 "INSERT INTO Pozycje VALUES (5, 9, 7, 'e')"});
    }
};

TEST_F(Joins, UpdateAppliesTheSetOncePerPair) {
    const Case cases[] = {
        // Accumulates every line; the header without lines is untouched.
        {"UPDATE Nagłówki AS h INNER JOIN Pozycje AS l ON h.Id = l.NagId SET h.Suma = h.Suma + l.Kwota",
         "ok 4"},
        {"SELECT Id, Suma FROM Nagłówki", "1|12.75;2|101;3|Null"},
        // A plain assignment keeps the last pair's value; unqualified names resolve.
        {"UPDATE Nagłówki h INNER JOIN Pozycje l ON h.Id = l.NagId SET Ost = Opis, Licz = Licz + 1", "ok 4"},
        {"SELECT Id, Ost, Licz FROM Nagłówki", "1|d|3;2|c|1;3|x|0"},
        // The WHERE is judged on the values before the statement.
        {"UPDATE Nagłówki h INNER JOIN Pozycje l ON h.Id = l.NagId SET h.Licz = h.Licz + 10 "
         "WHERE h.Licz < 4",
         "ok 4"},
        {"SELECT Licz FROM Nagłówki", "33;11;0"},
        // The target may be the other table of the join.
        {"UPDATE Nagłówki h INNER JOIN Pozycje l ON h.Id = l.NagId SET l.Opis = l.Opis & h.Id", "ok 4"},
        {"SELECT Opis FROM Pozycje", "a1;b1;c2;d1;e"},
        // Several tables at once.
        {"UPDATE Nagłówki h INNER JOIN Pozycje l ON h.Id = l.NagId SET l.Opis = 'z', h.Ost = 'y' "
         "WHERE l.Id = 3",
         "ok 1"},
        {"SELECT Ost FROM Nagłówki", "d;y;x"},
        {"SELECT Opis FROM Pozycje", "a1;b1;z;d1;e"},
        // The text length holds per pair, and a failure changes nothing.
        {"UPDATE Nagłówki h INNER JOIN Pozycje l ON h.Id = l.NagId SET h.Ost = h.Ost & 'abcd'", "error 80040E57"},
        {"SELECT Ost FROM Nagłówki", "d;y;x"},
        {"UPDATE Nagłówki h INNER JOIN Pozycje l ON h.Id = l.NagId SET h.Nic = 1", "error 80040E10"},
    };
    EXPECT_CASES(cases);
}

TEST_F(Joins, AccumulationFollowsTheNullRules) {
    const Case cases[] = {
        // A header without lines meets one pair with a Null addend: Null.
        {"UPDATE Nagłówki h LEFT JOIN Pozycje l ON h.Id = l.NagId SET h.Licz = h.Licz + l.Id, "
         "h.Suma = h.Suma - l.Kwota",
         "ok 5"},
        {"SELECT Id, Licz, Suma FROM Nagłówki", "1|7|-12.75;2|3|99;3|Null|Null"},
        {"INSERT INTO Pozycje VALUES (6, 2, Null, 'f')", "ok 1"},
        {"UPDATE Nagłówki h INNER JOIN Pozycje l ON h.Id = l.NagId SET h.Suma = l.Kwota + h.Suma",
         "ok 5"},
        {"SELECT Suma FROM Nagłówki", "0;Null;Null"},
        // Past the column's range: Null from the pair on.
        {"UPDATE Nagłówki h INNER JOIN Pozycje l ON h.Id = l.NagId SET h.Licz = h.Licz + "
         "1073741820",
         "ok 5"},
        {"SELECT Licz FROM Nagłówki", "Null;2147483643;Null"},
    };
    EXPECT_CASES(cases);
}

TEST_F(Joins, OneToOneUpdateAndLeftJoins) {
    const Case cases[] = {
        // Each line meets one header (unique key): one pair per line.
        {"UPDATE Pozycje l INNER JOIN Nagłówki h ON l.NagId = h.Id SET l.Kwota = l.Kwota + h.Id", "ok 4"},
        {"SELECT Kwota FROM Pozycje", "11.5;1.25;3;3;7"},
        // LEFT join: a header without lines meets one pair with Nulls.
        {"UPDATE Nagłówki h LEFT JOIN Pozycje l ON h.Id = l.NagId SET h.Ost = l.Opis", "ok 5"},
        {"SELECT Ost FROM Nagłówki", "d;c;Null"},
        {"UPDATE Pozycje l LEFT JOIN Nagłówki h ON l.NagId = h.Id SET l.Opis = 'brak' WHERE h.Id IS NULL",
         "ok 1"},
        {"SELECT Opis FROM Pozycje WHERE Id = 5", "brak"},
        {"UPDATE Nagłówki h RIGHT JOIN Pozycje l ON h.Id = l.NagId SET l.Opis = 'r' WHERE h.Id IS NULL",
         "ok 1"},
        {"SELECT Opis FROM Pozycje WHERE Id = 5", "r"},
    };
    EXPECT_CASES(cases);
}

TEST_F(Joins, SelfJoinSeesThePairsItHadAtTheStart) {
    run_all({"CREATE TABLE Drzewo (Id long, Rodzic long, Poziom long)", "INSERT INTO Drzewo VALUES (1, 0, 0)",
             "INSERT INTO Drzewo VALUES (2, 1, 0)", "INSERT INTO Drzewo VALUES (3, 2, 0)",
             "INSERT INTO Drzewo VALUES (4, 2, 0)"});
    const Case cases[] = {
        // Each child's parent pointer moves to its parent's parent. The pairs are those
        // of the start even though the join column changes: 2 moves to 0 and still
        // counts as 3's and 4's parent, whose values are read as they are when each
        // pair is applied (2's parent is 0 by then).
        {"UPDATE Drzewo AS a INNER JOIN Drzewo AS b ON a.Rodzic = b.Id SET a.Rodzic = b.Rodzic, "
         "a.Poziom = a.Poziom + 1",
         "ok 3"},
        {"SELECT Id, Rodzic, Poziom FROM Drzewo", "1|0|0;2|0|1;3|0|1;4|0|1"},
    };
    EXPECT_CASES(cases);
}

TEST_F(Joins, DeleteTakesTheRowsThatJoin) {
    const Case cases[] = {
        {"DELETE Pozycje.* FROM Pozycje LEFT JOIN Nagłówki ON Pozycje.NagId = Nagłówki.Id "
         "WHERE Nagłówki.Id IS NULL",
         "ok 1"},
        {"SELECT Id FROM Pozycje", "1;2;3;4"},
        {"DELETE h.* FROM Nagłówki h INNER JOIN Pozycje l ON h.Id = l.NagId WHERE l.Kwota > 5", "ok 1"},
        {"SELECT Id FROM Nagłówki", "2;3"},
        {"DELETE l.* FROM Nagłówki h RIGHT JOIN Pozycje l ON h.Id = l.NagId WHERE h.Id IS NULL", "ok 3"},
        {"SELECT Id FROM Pozycje", "3"},
        {"DELETE * FROM Nagłówki WHERE Id = 3", "ok 1"},
        {"DELETE FROM Nagłówki", "ok 1"},
        {"DELETE x.* FROM Nagłówki h INNER JOIN Pozycje l ON h.Id = l.NagId", "error 80040E37"},
    };
    EXPECT_CASES(cases);
}

TEST_F(Joins, DistinctRowKeepsOneRowPerSelectedRow) {
    const Case cases[] = {
        {"SELECT DISTINCTROW h.Id FROM Nagłówki h INNER JOIN Pozycje l ON h.Id = l.NagId", "1;2"},
        {"SELECT h.Id FROM Nagłówki h INNER JOIN Pozycje l ON h.Id = l.NagId", "1;1;1;2"},
        {"SELECT DISTINCTROW h.Id, l.Id FROM Nagłówki h INNER JOIN Pozycje l ON h.Id = l.NagId",
         "1|1;1|2;1|4;2|3"},
        {"SELECT DISTINCTROW Ost FROM Nagłówki", "x;x;x"},
        {"UPDATE DISTINCTROW Nagłówki h INNER JOIN Pozycje l ON h.Id = l.NagId SET h.Licz = h.Licz + 1",
         "ok 4"},
        {"SELECT Licz FROM Nagłówki", "3;1;0"},
    };
    EXPECT_CASES(cases);
}

}  // namespace
}  // namespace query_test

namespace query_test {
namespace {

// Statements of the shapes the conversion runs: DISTINCTROW inserts over a LEFT join,
// recipe re-pointing over a nested self-join, stock added up per joined row.
TEST_F(Joins, ConversionShapedStatements) {
    run_all({"CREATE TABLE PRODUKTY (prod_id long, sur_id long, rodzaj text(1))",
             "CREATE TABLE PRODUKTY_Receptury (PROD_ID long, sur_id long, ilosc_sur single, ilosc_polprod single)",
             "CREATE TABLE SPRZEDAZ_ILOSC (prod_id long, ilosc double, zakup_il double)",
             "CREATE TABLE zakupy_ilosc (sur_id long, ilosc double)",
             "INSERT INTO PRODUKTY VALUES (1, Null, 'T')", "INSERT INTO PRODUKTY VALUES (2, 7, 'O')",
             "INSERT INTO PRODUKTY VALUES (3, 8, 'S')", "INSERT INTO SPRZEDAZ_ILOSC VALUES (1, 5, 1)",
             "INSERT INTO PRODUKTY_Receptury VALUES (1, 7, 0, 2.5)",
             "INSERT INTO PRODUKTY_Receptury VALUES (1, 8, 1.5, 0)",
             "INSERT INTO zakupy_ilosc VALUES (1, 0.5)", "INSERT INTO zakupy_ilosc VALUES (1, 0.25)"});
    const Case cases[] = {
        {"Insert Into [SPRZEDAZ_ILOSC] ( [prod_id], ilosc,zakup_il ) SELECT DISTINCTROW PRODUKTY.[prod_id],  0 AS "
         "Wyr2,  0 AS Wyr3  FROM PRODUKTY LEFT JOIN [SPRZEDAZ_ILOSC] ON PRODUKTY.[prod_id] = "
         "[SPRZEDAZ_ILOSC].[prod_id] WHERE ((([SPRZEDAZ_ILOSC].[prod_id]) Is Null))",
         "ok 2"},
        {"SELECT prod_id, ilosc FROM SPRZEDAZ_ILOSC", "1|5;2|0;3|0"},
        {"Update DISTINCTROW PRODUKTY AS PRODUKTY_1 INNER JOIN (PRODUKTY INNER JOIN PRODUKTY_Receptury ON "
         "PRODUKTY.PROD_ID = PRODUKTY_Receptury.PROD_ID) ON PRODUKTY_1.sur_id = PRODUKTY_Receptury.sur_id SET "
         "PRODUKTY_Receptury.[ilosc_sur] = [PRODUKTY_Receptury].ilosc_polprod,PRODUKTY_Receptury.ilosc_polprod = "
         "0, PRODUKTY_Receptury.sur_id = [PRODUKTY_1].[prod_id] WHERE (((PRODUKTY_Receptury.ilosc_polprod)<>0) "
         "AND ((PRODUKTY_1.rodzaj)='O'))",
         "ok 1"},
        {"SELECT sur_id, ilosc_sur, ilosc_polprod FROM PRODUKTY_Receptury", "2|2.5|0;8|1.5|0"},
        {"Update [SPRZEDAZ_ILOSC] inner join zakupy_ilosc on [SPRZEDAZ_ILOSC].prod_id=zakupy_ilosc.sur_id set "
         "[SPRZEDAZ_ILOSC].zakup_il=[SPRZEDAZ_ILOSC].zakup_il+zakupy_ilosc.ilosc",
         "ok 2"},
        {"SELECT zakup_il FROM SPRZEDAZ_ILOSC", "1.75;0;0"},
        {"Delete [PRODUKTY].* from [PRODUKTY] where [PRODUKTY].[prod_id]=3", "ok 1"},
    };
    EXPECT_CASES(cases);
}

}  // namespace
}  // namespace query_test

namespace query_test {
namespace {

TEST_F(Joins, NestedJoinsKeepRowOrderAndPairs) {
    const Case cases[] = {
        {"SELECT h.Id, l.Id FROM Nagłówki h INNER JOIN (Pozycje l LEFT JOIN Nagłówki x ON l.NagId = x.Id) "
         "ON h.Id = l.NagId WHERE x.Id IS NOT NULL ORDER BY h.Id DESC",
         "2|3;1|1;1|2;1|4"},
        {"UPDATE Nagłówki h INNER JOIN (Pozycje l LEFT JOIN Nagłówki x ON l.NagId = x.Id) ON h.Id = l.NagId "
         "SET h.Ost = l.Opis",
         "ok 4"},
        {"SELECT Ost FROM Nagłówki", "d;c;x"},
        {"SELECT a.Id FROM Nagłówki a LEFT JOIN (Pozycje l INNER JOIN Nagłówki x ON l.NagId = x.Id) "
         "ON a.Id = l.Id ORDER BY a.Id",
         "1;2;3"},
    };
    EXPECT_CASES(cases);
}

// UPDATE over a self-join that changes its own join column: the pairs are judged on
// the values before the statement and the SET is applied once per pair, reading the
// row's current value. A party sharing its short name with two parties of lower ids is
// met by two pairs and gets the suffix twice; the names end unique.
TEST_F(Joins, SelfJoinChangingItsJoinColumnAppliesOncePerPair) {
    run_all({"create table K (konh_id long, konh_naz_skrot text(16))",
             "insert into K values (5, 'ABC')", "insert into K values (7, 'ABC')",
             "insert into K values (9, 'ABC')"});
    const std::string update =
        "update K as t1 inner join K as t2 on t1.konh_naz_skrot=t2.konh_naz_skrot set "
        "t1.konh_naz_skrot=Rtrim(mid(t1.konh_naz_skrot,1,11))+'!1' where t1.konh_id>t2.konh_id";
    const Case cases[] = {
        {update, "ok 3"},
        {"SELECT konh_naz_skrot FROM K ORDER BY konh_id", "ABC;ABC!1;ABC!1!1"},
        {"SELECT count(*) FROM K AS a INNER JOIN K AS b ON a.konh_naz_skrot = b.konh_naz_skrot",
         "3"},
        // Nothing left to separate.
        {update, "ok 0"},
    };
    EXPECT_CASES(cases);
}

// UPDATE over a join accumulating into Single and Double columns: the one-pass plan
// gives, bit for bit, what the SET applied once per pair in join order gives (the
// general plan, which an extra plain assignment "k = k" forces).
TEST_F(Joins, FloatAccumulationMatchesPairByPair) {
    run_all({"CREATE TABLE H (id long, c double, s single, k long, m money)",
             "CREATE TABLE L (hid long, v double, w single, n long, sk long, mm money)"});
    std::mt19937 rng(20261207);
    auto number = [&](int i) -> std::string {
        if (rng() % 13 == 0) return "Null";
        std::uniform_real_distribution<double> d(-1000, 1000);
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.17g", d(rng) / (1 + i % 7));
        return buf;
    };
    for (int i = 0; i < 40; ++i)
        run("INSERT INTO H (id, c, s, k, m) VALUES (" + std::to_string(i % 37) + ", " + number(i) +
            ", " + number(i) + ", " + std::to_string(i) + ", " + number(i + 1) + ")");
    for (int j = 0; j < 400; ++j)
        run("INSERT INTO L (hid, v, w, n, sk, mm) VALUES (" + std::to_string(rng() % 45) + ", " +
            number(j) + ", " + number(j + 3) + ", " +
            std::to_string(static_cast<int>(rng() % 2001) - 1000) + ", " +
            std::to_string(rng() % 3) + ", " + number(j + 5) + ")");
    run("SELECT * INTO H2 FROM H");
    const std::string set[] = {
        "SET H.c = H.c + L.v, H.s = H.s + L.w",
        "SET c = [c] - [v], s = [w] + [s]",
        "SET H.s = H.s + L.v, H.c = L.n + H.c",
        "SET H.s = H.s - L.n",
        "SET H.m = H.m + L.w, H.s = H.s + L.w",
        "SET H.m = H.m - L.v, H.c = H.c + L.mm, H.s = L.mm + H.s",
    };
    const std::string join = " INNER JOIN L ON H.id = L.hid ";
    for (const auto& x : set) {
        std::string slow = x;
        std::string fast = x;
        for (size_t at; (at = slow.find("H.")) != std::string::npos;) slow.replace(at, 2, "H2.");
        const std::string where = " WHERE L.sk <> 1";
        const std::string a = outcome("UPDATE H" + join + fast + where);
        const std::string b =
            outcome("UPDATE H2 INNER JOIN L ON H2.id = L.hid " + slow + ", H2.k = H2.k" + where);
        EXPECT_EQ(a, b) << x;
        EXPECT_NE(a.substr(0, 5), "error") << x;
        EXPECT_EQ(rows("SELECT count(*) FROM H INNER JOIN H2 ON H.k = H2.k WHERE (H.c = H2.c OR "
                       "(H.c Is Null AND "
                       "H2.c Is Null)) AND (H.s = H2.s OR (H.s Is Null AND H2.s Is Null)) AND (H.m "
                       "= H2.m OR (H.m Is "
                       "Null AND H2.m Is Null))"),
                  "40")
            << x;
    }
    EXPECT_NE(rows("SELECT count(*) FROM H WHERE c Is Null"), "40");
    // A LEFT JOIN: a row without lines meets one pair whose addend is Null.
    EXPECT_EQ(outcome("UPDATE H LEFT JOIN L ON H.id = L.hid SET H.c = H.c + L.v WHERE H.id = 0"),
              outcome("UPDATE H2 LEFT JOIN L ON H2.id = L.hid SET H2.c = H2.c + L.v, H2.k = H2.k "
                      "WHERE H2.id = 0"));
    EXPECT_EQ(rows("SELECT count(*) FROM H INNER JOIN H2 ON H.k = H2.k WHERE H.c = H2.c OR (H.c Is "
                   "Null AND "
                   "H2.c Is Null)"),
              "40");
    // Past the range of Single: Null from that pair on.
    run_all({"CREATE TABLE F (id long, s single)", "INSERT INTO F (id, s) VALUES (1, 3e38)",
             "CREATE TABLE G (id long, d double)", "INSERT INTO G (id, d) VALUES (1, 2e38)",
             "INSERT INTO G (id, d) VALUES (1, -3e38)"});
    EXPECT_EQ(outcome("UPDATE F INNER JOIN G ON F.id = G.id SET F.s = F.s + G.d"),
              outcome("UPDATE F INNER JOIN G ON F.id = G.id SET F.s = F.s + G.d, F.id = F.id"));
    EXPECT_EQ(rows("SELECT s FROM F"), "Null");
}

}  // namespace
}  // namespace query_test
