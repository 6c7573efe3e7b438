// Statements of the conversion steps 4.67 to 4.99 that the engine must take as the
// suite's Jet took them.
#include "query_util.h"

namespace query_test {
namespace {

class StepsS467 : public QueryTest {};

// A text trimmed to nothing is the empty text, not Null: settings, book numbers and
// internal numbers whose value is only blanks are found by trim(x)=''.
TEST_F(StepsS467, TrimmedToNothingIsTheEmptyText) {
    run_all({"create table T (id long, a text(10), m memo)", "insert into T values (1, '', '')",
             "insert into T values (2, '   ', ' ')", "insert into T values (3, ' b ', 'c')",
             "insert into T values (4, Null, Null)"});
    const Case cases[] = {
        {"SELECT id FROM T WHERE trim(a)='' ORDER BY id", "1;2"},
        {"SELECT id FROM T WHERE ltrim(m)='' or rtrim(m)='' ORDER BY id", "1;2"},
        {"SELECT trim(a) IS NULL, '[' & rtrim(a) & ']' FROM T ORDER BY id",
         "0|[];0|[];0|[ b];-1|[]"},
        {"delete * from T where trim(m)=''", "ok 2"},
        {"SELECT id FROM T ORDER BY id", "3;4"},
    };
    EXPECT_CASES(cases);
}

// Reference rows send fractional numbers as texts with the decimal comma.
TEST_F(StepsS467, DecimalCommaTextsIntoNumberColumns) {
    run_all({"create table R (id long, p single, k money)"});
    const Case cases[] = {
        {"insert into R (id, p, k) values (1, '2,5', '13,75')", "ok 1"},
        {"SELECT p, k FROM R", "2.5|13.75"},
    };
    EXPECT_CASES(cases);
}

}  // namespace
}  // namespace query_test
