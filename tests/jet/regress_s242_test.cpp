// Statements of the conversion steps 2.42 to 2.58 that the engine must take as the
// suite's Jet took them.
#include "query_util.h"

namespace query_test {
namespace {

class StepsS242 : public QueryTest {};

// A date literal that cannot be month first is read day first: #20-02-2001# is
// 20 February 2001, written into the log of deleted documents.
TEST_F(StepsS242, DayFirstDateLiteralInInsertSelect) {
    run_all({"create table F (FAKOUT_ID long, FAKOUT_NUMER text(50), FAKOUT_DEL text(50))",
             "insert into F values (1, null, 'FA 7')", "insert into F values (2, 'FA 8', null)",
             "insert into F values (3, '', null)",
             "create table U (rodzaj text(50), nr text(200), id long, data_usuniecia date)"});
    const Case cases[] = {
        {"insert into [U] ([rodzaj],[nr],[id],[data_usuniecia]) select "
         "'Sprzedaż_F_VAT',FAKOUT_DEL,FAKOUT_ID,#20-02-2001# fROM F where FAKOUT_NUMER='' or "
         "FAKOUT_NUMER is null",
         "ok 2"},
        {"SELECT rodzaj, nr, id, Year(data_usuniecia), Month(data_usuniecia), "
         "Day(data_usuniecia) FROM U ORDER BY id",
         "Sprzedaż_F_VAT|FA 7|1|2001|2|20;Sprzedaż_F_VAT|Null|3|2001|2|20"},
    };
    EXPECT_CASES(cases);
}

// The lines of unnumbered documents deleted through a join on their header.
TEST_F(StepsS242, DeleteOfLinesThroughTheirHeader) {
    run_all({"create table T (DDOUT_ID long, DDOUT_NUMER text(50), rodzdok text(1))",
             "create table T_zawart (DDOUT_ID long, PROD_ID long)",
             "insert into T values (1, null, 'R')", "insert into T values (2, ' ', 'R')",
             "insert into T values (3, '', 'X')", "insert into T_zawart values (1, 10)",
             "insert into T_zawart values (1, 11)", "insert into T_zawart values (2, 12)",
             "insert into T_zawart values (3, 13)"});
    const Case cases[] = {
        {"delete T_zawart.* from T inner join T_zawart on T.DDOUT_ID=T_zawart.DDOUT_ID where "
         "DDOUT_NUMER='' or DDOUT_NUMER is null",
         "ok 3"},
        {"delete from T where DDOUT_NUMER='' or DDOUT_NUMER is null", "ok 2"},
        {"SELECT DDOUT_ID FROM T", "2"},
        {"SELECT PROD_ID FROM T_zawart", "12"},
    };
    EXPECT_CASES(cases);
}

// A contractor looked up by its two name parts joined with two blanks; a Null part
// makes the whole name Null, and trailing blanks count.
TEST_F(StepsS242, NameJoinedWithPlusComparesWithTrailingBlanks) {
    run_all({"create table K (konh_id long, konh_nazwa text(50), konh_nazwa2 text(50))",
             "insert into K values (1, 'Jan', 'Kowalski')", "insert into K values (2, 'Bez', null)",
             "insert into K values (3, '', '')"});
    const Case cases[] = {
        {"SELECT [konh_id] FROM [K] where [konh_nazwa]+'  '+[konh_nazwa2]='Jan  Kowalski'", "1"},
        {"SELECT [konh_id] FROM [K] where [konh_nazwa]+'  '+[konh_nazwa2]='Bez  '", ""},
        {"SELECT [konh_id] FROM [K] where [konh_nazwa]+'  '+[konh_nazwa2]=''", ""},
        {"SELECT [konh_id] FROM [K] where [konh_nazwa]+'  '+[konh_nazwa2]='D\"Arc  Joanna'", ""},
    };
    EXPECT_CASES(cases);
}

// On the suite's provider a column that a statement names and the table lacks is
// reported as "Nie podano wartości dla jednego lub więcej wymaganych parametrów.",
// which the conversion's main executor absorbs; a step that moves a column away (2.42
// reads [KPIR_id] of the invoice lines, then drops it) runs again only then.
TEST_F(StepsS242, MissingColumnIsDescribedAsTheSuitesProviderDescribesIt) {
    run_all({"create table F (a long)"});
    std::string opis;
    EXPECT_EQ(error_of("update F set a=[KPIR_id]", &opis), jet::hr::MissingParameter);
    EXPECT_NE(opis.find("Nie podano wartości dla jednego"), std::string::npos) << opis;
}

}  // namespace
}  // namespace query_test
