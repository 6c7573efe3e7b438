// Statements of the conversion steps 4.14 to 4.66 that the engine must take as the
// suite's Jet took them.
#include "query_util.h"

namespace query_test {
namespace {

class StepsS414 : public QueryTest {};

// Blanks that end a table's name inside the brackets are ignored; a table whose name
// has them is still found under that name.
TEST_F(StepsS414, TrailingBlanksOfABracketedTableName) {
    run_all({"create table S_JEDNOSTKI (jedn text(10))", "insert into S_JEDNOSTKI values ('kg')",
             "create table [Z ] (a long)"});
    const Case cases[] = {
        {"alter table [S_JEDNOSTKI ] ADD COLUMN [numer_id_import] long", "ok 0"},
        {"SELECT jedn, numer_id_import FROM [S_JEDNOSTKI  ]", "kg|Null"},
        {"insert into [Z ] values (1)", "ok 1"},
        {"SELECT a FROM [Z ]", "1"},
        {"SELECT a FROM [S_JEDNOSTKIX ]", "error 80040E37"},
    };
    EXPECT_CASES(cases);
}

}  // namespace
}  // namespace query_test
