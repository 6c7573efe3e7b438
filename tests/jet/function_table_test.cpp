// The function table through SQL: every Jet function a statement may call, its empty
// text results and its Null results. An empty text is '' and never Null (SQLite takes
// a text handed over without a pointer for Null); only a Null argument gives Null,
// where the function propagates Null.
#include <map>
#include <string>

#include "jet/sqlfuncs.h"
#include "query_util.h"

namespace query_test {
namespace {

using FunctionTable = QueryTest;

// Per Jet function: calls whose result is an empty text, and a call with a Null
// argument with what it gives ("Null" or a value).
struct Calls {
    std::vector<std::string> empty;
    std::string null_call;
    std::string null_result;
};

TEST_F(FunctionTable, EmptyTextsAreTextAndOnlyNullGivesNull) {
    run_all({"CREATE TABLE T (id long, t text(10), m memo, n long)",
             "INSERT INTO T (id, t, m, n) VALUES (1, '', '', 0)"});
    const std::map<std::string, Calls> calls = {
        {"nz", {{"Nz('')", "Nz(Null)", "Nz([t])", "Nz(Null, '')"}, "Nz(Null, 5)", "5"}},
        {"round", {{}, "Round(Null, 2)", "Null"}},
        {"year", {{}, "Year(Null)", "Null"}},
        {"month", {{}, "Month(Null)", "Null"}},
        {"day", {{}, "Day(Null)", "Null"}},
        {"format",
         {{"Format('')", "Format([t], '0.00')", "Format([m])"}, "Format(Null, '0.00')", "Null"}},
        {"val", {{}, "Val(Null)", "Null"}},
        {"trim", {{"Trim('')", "Trim('   ')", "Trim([m])"}, "Trim(Null)", "Null"}},
        {"ltrim", {{"LTrim('')", "LTrim('   ')"}, "LTrim(Null)", "Null"}},
        {"rtrim", {{"RTrim('')", "RTrim('   ')", "RTrim([t] & ' ')"}, "RTrim(Null)", "Null"}},
        {"ucase", {{"UCase('')", "UCase([t])"}, "UCase(Null)", "Null"}},
        {"lcase", {{"LCase('')", "LCase([m])"}, "LCase(Null)", "Null"}},
        {"len", {{}, "Len(Null)", "Null"}},
        {"mid",
         {{"Mid('abc', 4)", "Mid('abc', 9, 2)", "Mid('abc', 2, 0)", "Mid([t], 1)"},
          "Mid(Null, 1)",
          "Null"}},
        {"left", {{"Left('abc', 0)", "Left('', 3)"}, "Left(Null, 1)", "Null"}},
        {"right", {{"Right('abc', 0)", "Right([t], 2)"}, "Right(Null, 1)", "Null"}},
        {"cstr", {{"CStr('')", "CStr([t])"}, "CStr(Null)", "Null"}},
        {"clng", {{}, "CLng(Null)", "Null"}},
        {"cint", {{}, "CInt(Null)", "Null"}},
        {"cdbl", {{}, "CDbl(Null)", "Null"}},
        {"ccur", {{}, "CCur(Null)", "Null"}},
        {"cdate", {{}, "CDate(Null)", "Null"}},
        {"int", {{}, "Int(Null)", "Null"}},
        {"fix", {{}, "Fix(Null)", "Null"}},
        {"abs", {{}, "Abs(Null)", "Null"}},
    };
    auto shown = [&](const std::string& x) {
        return rows("SELECT IIf(" + x + " Is Null, 'Null', '[' & " + x + " & ']') FROM T");
    };
    for (const auto& f : jet::function_table()) {
        if (!f.name) continue;
        const auto it = calls.find(f.name);
        if (it == calls.end()) {
            ADD_FAILURE() << f.name << ": no case";
            continue;
        }
        for (const auto& call : it->second.empty) EXPECT_EQ(shown(call), "[]") << call;
        const std::string& expected = it->second.null_result;
        EXPECT_EQ(shown(it->second.null_call), expected == "Null" ? expected : "[" + expected + "]")
            << it->second.null_call;
    }
    // Operators and stored values alike.
    const Case cases[] = {
        {"SELECT IIf('' & '' Is Null, 'Null', 'text') FROM T", "text"},
        {"SELECT IIf([t] & [t] Is Null, 'Null', 'text') FROM T", "text"},
        {"SELECT IIf('' + '' Is Null, 'Null', 'text') FROM T", "text"},
        {"SELECT IIf(IIf(n = 0, '', 'x') Is Null, 'Null', 'text') FROM T", "text"},
        {"UPDATE T SET t = Trim('  '), m = Mid('abc', 5)", "ok 1"},
        {"SELECT count(*) FROM T WHERE t = '' AND m = '' AND t Is Not Null AND m Is Not Null", "1"},
        {"INSERT INTO T (id, t, m) VALUES (2, RTrim(''), Left('x', 0))", "ok 1"},
        {"SELECT count(*) FROM T WHERE t Is Null OR m Is Null", "0"},
    };
    EXPECT_CASES(cases);
}

}  // namespace
}  // namespace query_test
