// Statements of the oldest conversion steps, as the suite's Jet accepted them: SQL in,
// rows or the failure out.
#include "query_util.h"

namespace query_test {
namespace {

class KrokiSQL : public QueryTest {
  protected:
    void SetUp() override {
        QueryTest::SetUp();
        run_all(
            {"CREATE TABLE P (prod_id counter, sur_id long, rodzaj text(1))",
             "CREATE TABLE R (PROD_ID long, sur_id long, ilosc_sur single, ilosc_polprod single)",
             "INSERT INTO P (sur_id, rodzaj) VALUES (Null, 'P')",
             "INSERT INTO P (sur_id, rodzaj) VALUES (7, 'O')",
             "INSERT INTO R VALUES (1, 7, 0, 2.5)", "INSERT INTO R VALUES (1, 3, 4, 0)"});
    }
};

// A recipe line naming a semi-product by its old id takes the id of the product row that
// now carries it: an UPDATE over a self-join written with an alias and a nested join.
TEST_F(KrokiSQL, UpdateOverSelfJoinWithNestedJoin) {
    const Case cases[] = {
        {"Update DISTINCTROW P AS P_1 INNER JOIN (P INNER JOIN R ON P.PROD_ID = R.PROD_ID) ON "
         "P_1.sur_id = R.sur_id SET R.[ilosc_sur] = [R].ilosc_polprod,R.ilosc_polprod = 0, "
         "R.sur_id = [P_1].[prod_id] WHERE (((R.ilosc_polprod)<>0) AND ((P_1.rodzaj)='O'))",
         "ok 1"},
        {"SELECT PROD_ID, sur_id, ilosc_sur, ilosc_polprod FROM R", "1|2|2.5|0;1|3|4|0"},
    };
    EXPECT_CASES(cases);
}

}  // namespace
}  // namespace query_test
