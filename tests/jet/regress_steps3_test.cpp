// Statements of the production-costing conversion that the engine must run as Jet did.
#include "query_util.h"

namespace query_test {
namespace {

// An accumulating UPDATE whose target is joined to a parenthesised join of two other
// tables: every booked purchase line adds its value and quantity once.
TEST_F(QueryTest, UpdateOverTargetJoinedToNestedJoinAccumulates) {
    run_all({"CREATE TABLE Ceny (produkt_id long, cena money, ilosc single)",
             "CREATE TABLE Zakupy (numer_id long, numer text(20), data date)",
             "CREATE TABLE Zawart (numer_id long, sur_id long, WART_N money, ILOSC single)",
             "INSERT INTO Ceny VALUES (1, 0, 0)", "INSERT INTO Ceny VALUES (2, 0, 0)",
             "INSERT INTO Zakupy VALUES (1, 'K/1', #03/31/2003#)",
             "INSERT INTO Zakupy VALUES (2, '', #03/31/2003#)",
             "INSERT INTO Zawart VALUES (1, 1, 15, 6)", "INSERT INTO Zawart VALUES (1, 1, 10, 4)",
             "INSERT INTO Zawart VALUES (2, 1, 99, 9)", "INSERT INTO Zawart VALUES (1, 3, 7, 7)"});
    const Case cases[] = {
        {"Update [Ceny] INNER JOIN (Zakupy INNER JOIN Zawart ON Zakupy.numer_id = "
         "Zawart.numer_id) ON [Ceny].produkt_id = Zawart.sur_id SET [Ceny].cena = "
         "[Ceny].[cena]+[Zawart].[WART_N], [Ceny].ilosc = [Ceny].[ilosc]+[Zawart].[ILOSC] "
         "Where ((Zakupy.[numer]<>'') and data<=#04 03 2003 23:59:59#)",
         "ok 2"},
        {"SELECT produkt_id, cena, ilosc FROM Ceny", "1|25|10;2|0|0"},
    };
    EXPECT_CASES(cases);
}

}  // namespace
}  // namespace query_test
