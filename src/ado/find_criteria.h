// The criterion of Recordset.Find: "column op value", op one of = <> < > <= >= LIKE,
// the column plain or [bracketed], the value a number (decimal point), a 'quoted'
// text ('' for a quote) or Null; LIKE takes * or % for any run of characters.
#pragma once

#include <string>
#include <string_view>

#include "jet/value.h"

namespace ado {

struct FindCriterion {
    enum class Op { Eq, Ne, Lt, Gt, Le, Ge, Like };
    std::string column;
    Op op = Op::Eq;
    jet::Value value;

    // Reads a criterion; raises SyntaxInExpression for anything else.
    static FindCriterion parse(std::string_view text);
    // True when a field value meets the criterion; Null meets none.
    bool matches(const jet::Value& v) const;
};

}  // namespace ado
