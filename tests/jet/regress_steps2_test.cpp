// Statements of the conversion steps 1.98 to 2.16 that the engine must take as the
// suite's Jet took them.
#include "query_util.h"

namespace query_test {
namespace {

class Steps2 : public QueryTest {};

// An UPDATE whose target is the inner table of a nested join: the SET applies once for
// every line of the target's document whose product exists.
TEST_F(Steps2, UpdateOfTheInnerTableOfANestedJoin) {
    run_all({"CREATE TABLE P (prod_id long)", "INSERT INTO P VALUES (1)",
             "CREATE TABLE R (dok_id long, n single DEFAULT 0)",
             "INSERT INTO R (dok_id) VALUES (7)", "INSERT INTO R (dok_id) VALUES (8)",
             "CREATE TABLE L (numer_id long, sur_ID long, wart_n money, VAT text(5))",
             "INSERT INTO L VALUES (7, 1, 4, '22')", "INSERT INTO L VALUES (7, 1, 6, '22')",
             "INSERT INTO L VALUES (7, 2, 50, '22')", "INSERT INTO L VALUES (8, 1, 1, 'zw')"});
    const Case cases[] = {
        {"Update P INNER JOIN ([R] INNER JOIN L ON [R].dok_id = L.numer_id) ON P.PROD_ID = "
         "L.sur_ID SET [R].n =[R].n +(wart_n) where VAT='22'",
         "ok 2"},
        {"SELECT dok_id, n FROM R", "7|10;8|0"},
    };
    EXPECT_CASES(cases);
}

}  // namespace
}  // namespace query_test
