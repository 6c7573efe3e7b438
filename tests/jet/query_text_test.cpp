// Names and text: case-insensitive names (Polish letters too), text compared without
// regard to case with accents and trailing blanks significant, Polish order, the
// decimal comma, unknown and ambiguous names.
#include "query_util.h"

namespace query_test {
namespace {

class TextRules : public QueryTest {
protected:
    void SetUp() override {
        QueryTest::SetUp();
        run_all({"CREATE TABLE [Miejscowości] (Id long, Miejscowość text(40), [7n] long, fpłat_id long)",
                 "INSERT INTO Miejscowości VALUES (1, 'Łódź', 7, 10)",
                 "INSERT INTO Miejscowości VALUES (2, 'ŁÓDŹ', 8, 20)",
                 "INSERT INTO Miejscowości VALUES (3, 'Lodz', 9, 30)",
                 "INSERT INTO Miejscowości VALUES (4, 'Łódź ', 10, 40)",
                 "INSERT INTO Miejscowości VALUES (5, '', 11, 50)",
                 "INSERT INTO Miejscowości VALUES (6, ' ', 12, 60)",
                 "INSERT INTO Miejscowości (Id) VALUES (7)"});
    }
};

TEST_F(TextRules, NamesCompareWithoutCase) {
    const Case cases[] = {
        {"SELECT FPŁAT_ID FROM MIEJSCOWOŚCI WHERE ID = 1", "10"},
        {"select [7N] from [miejscowości] as m where m.ID=2", "8"},
        {"SELECT m.MIEJSCOWOŚĆ FROM Miejscowości m WHERE M.id = 3", "Lodz"},
        {"SELECT x FROM Miejscowości", "error 80040E10"},
        {"SELECT q.id FROM Miejscowości", "error 80040E10"},
        {"SELECT id FROM Brak", "error 80040E37"},
        {"SELECT Id FROM Miejscowości a, Miejscowości b WHERE a.Id = 1", "error 80004005"},
        {"SELECT Sum(Nieznana) FROM Miejscowości", "error 80040E10"},
        {"UPDATE Miejscowości SET Nieznana = 1", "error 80040E10"},
    };
    EXPECT_CASES(cases);
}

TEST_F(TextRules, TextComparesWithoutCaseButWithAccentsAndBlanks) {
    const Case cases[] = {
        {"SELECT Id FROM Miejscowości WHERE Miejscowość = 'łódź'", "1;2"},
        {"SELECT Id FROM Miejscowości WHERE Miejscowość <> 'łódź'", "3;4;5;6"},
        {"SELECT Id FROM Miejscowości WHERE Miejscowość = ''", "5"},
        {"SELECT Id FROM Miejscowości WHERE Miejscowość = ' '", "6"},
        {"SELECT Id FROM Miejscowości WHERE Miejscowość IS NULL", "7"},
        {"SELECT Id FROM Miejscowości WHERE Miejscowość IN ('LODZ', 'x')", "3"},
        {"SELECT Id FROM Miejscowości WHERE Miejscowość BETWEEN 'ł' AND 'łz'", "1;2;4"},
        {"SELECT Id FROM Miejscowości WHERE UCase(Miejscowość) = 'łódź'", "1;2"},
        {"SELECT Id FROM Miejscowości WHERE Miejscowość > 'Ł'", "1;2;4"},
        {"SELECT DISTINCT Miejscowość FROM Miejscowości WHERE Id < 5", "Łódź;Lodz;Łódź "},
        {"SELECT Count(*) FROM Miejscowości WHERE Id <= 4 GROUP BY Miejscowość", "1;2;1"},
        {"SELECT Id FROM Miejscowości WHERE Miejscowość = 5", "error 80040E07"},
        {"SELECT Id FROM Miejscowości WHERE Id = '5'", "error 80040E07"},
    };
    EXPECT_CASES(cases);
}

TEST_F(TextRules, JoinsMatchTextWithoutCase) {
    run_all({"CREATE TABLE Kody (Nazwa text(40), Kod text(6))", "INSERT INTO Kody VALUES ('łÓDŹ', '90-001')"});
    EXPECT_EQ(rows("SELECT m.Id, k.Kod FROM Miejscowości m INNER JOIN Kody k ON m.Miejscowość = k.Nazwa"),
              "1|90-001;2|90-001");
}

TEST_F(TextRules, OrderByFollowsPolishAlphabet) {
    run_all({"CREATE TABLE Słowa (s text(20))"});
    for (const char* w : {"żaba", "Zebra", "źdźbło", "Łódź", "lis", "Ala", "ćma", "Celina", "ąb", "Arka"})
        run(std::string("INSERT INTO Słowa VALUES ('") + w + "')");
    run("INSERT INTO Słowa VALUES (Null)");
    EXPECT_EQ(rows("SELECT s FROM Słowa ORDER BY s"),
              "Null;Ala;Arka;ąb;Celina;ćma;lis;Łódź;Zebra;źdźbło;żaba");
    EXPECT_EQ(rows("SELECT TOP 3 s FROM Słowa ORDER BY s DESC"), "żaba;źdźbło;Zebra");
    EXPECT_EQ(rows("SELECT Max(s), Min(s) FROM Słowa"), "żaba|Ala");
}

TEST_F(TextRules, NumbersAndTextUseTheDecimalComma) {
    run_all({"CREATE TABLE Liczby (t text(20), d double, c money)",
             "INSERT INTO Liczby (t, d, c) VALUES (12.5, '3,25', '1,5')"});
    const Case cases[] = {
        {"SELECT t, d, c FROM Liczby", "12,5|3.25|1.5"},
        {"SELECT d & '' FROM Liczby", "3,25"},
        {"SELECT c & ' zł' FROM Liczby", "1,5 zł"},
        {"SELECT Format(d, '0.00') FROM Liczby", "3,25"},
        {"SELECT Format(2.345, '0.00') FROM Liczby", "2,35"},
        {"SELECT CStr(d) FROM Liczby", "3,25"},
        {"SELECT Val('3.5 kg') FROM Liczby", "3.5"},
        {"SELECT d FROM Liczby WHERE d = CDbl('abc')", "error 80040E07"},
        {"UPDATE Liczby SET d = '1.5'", "ok 1"},
        {"SELECT d FROM Liczby", "Null"},
    };
    EXPECT_CASES(cases);
}

}  // namespace
}  // namespace query_test
