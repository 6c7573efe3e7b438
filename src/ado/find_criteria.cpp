#include "ado/find_criteria.h"

#include <cstdlib>

#include "jet/error.h"
#include "jet/text.h"

namespace ado {

namespace {

bool blank(char c) {
    return c == ' ' || c == '\t';
}

bool starts_with_word(std::string_view s, std::string_view w) {
    if (s.size() < w.size()) return false;
    for (size_t i = 0; i < w.size(); ++i)
        if ((s[i] | 0x20) != (w[i] | 0x20)) return false;
    return s.size() == w.size() || blank(s[w.size()]) || s[w.size()] == '\'';
}

// * and % stand for any run of characters; everything else matches itself
// without regard to case.
bool like(std::string_view value, std::string_view pattern) {
    const std::string v = jet::text::fold(value);
    const std::string p = jet::text::fold(pattern);
    size_t vi = 0, pi = 0, star_p = std::string::npos, star_v = 0;
    while (vi < v.size()) {
        if (pi < p.size() && (p[pi] == '*' || p[pi] == '%')) {
            star_p = pi++;
            star_v = vi;
        } else if (pi < p.size() && p[pi] == v[vi]) {
            ++pi;
            ++vi;
        } else if (star_p != std::string::npos) {
            pi = star_p + 1;
            vi = ++star_v;
        } else {
            return false;
        }
    }
    while (pi < p.size() && (p[pi] == '*' || p[pi] == '%')) ++pi;
    return pi == p.size();
}

}  // namespace

FindCriterion FindCriterion::parse(std::string_view text) {
    FindCriterion c;
    auto fail = [&]() { jet::raise(jet::Fault::SyntaxInExpression, text); };
    size_t i = 0;
    while (i < text.size() && blank(text[i])) ++i;
    if (i < text.size() && text[i] == '[') {
        const size_t end = text.find(']', i);
        if (end == std::string_view::npos) fail();
        c.column = std::string(text.substr(i + 1, end - i - 1));
        i = end + 1;
    } else {
        const size_t start = i;
        while (i < text.size() && !blank(text[i]) && text[i] != '=' && text[i] != '<' &&
               text[i] != '>' && text[i] != '!')
            ++i;
        c.column = std::string(text.substr(start, i - start));
    }
    if (c.column.empty()) fail();
    while (i < text.size() && blank(text[i])) ++i;
    const std::string_view rest = text.substr(i);
    static constexpr std::pair<std::string_view, Op> kOps[] = {
        {"<>", Op::Ne}, {"!=", Op::Ne}, {"<=", Op::Le}, {">=", Op::Ge},
        {"=", Op::Eq},  {"<", Op::Lt},  {">", Op::Gt},
    };
    bool found = false;
    for (const auto& [sym, op] : kOps) {
        if (rest.starts_with(sym)) {
            c.op = op;
            i += sym.size();
            found = true;
            break;
        }
    }
    if (!found) {
        if (!starts_with_word(rest, "like")) fail();
        c.op = Op::Like;
        i += 4;
    }
    while (i < text.size() && blank(text[i])) ++i;
    std::string_view v = text.substr(i);
    while (!v.empty() && blank(v.back())) v.remove_suffix(1);
    if (v.empty()) fail();
    if (v.front() == '\'') {
        if (v.size() < 2 || v.back() != '\'') fail();
        std::string s;
        for (size_t k = 1; k + 1 < v.size(); ++k) {
            if (v[k] == '\'') {
                if (k + 2 < v.size() && v[k + 1] == '\'')
                    ++k;
                else
                    fail();
            }
            s += v[k];
        }
        c.value = jet::Value::text(std::move(s));
    } else if (starts_with_word(v, "null") && v.size() == 4) {
        c.value = jet::Value::null();
    } else {
        const std::string num(v);
        char* end = nullptr;
        const double d = std::strtod(num.c_str(), &end);
        if (end != num.c_str() + num.size()) fail();
        c.value = jet::Value::dbl(d);
    }
    if (c.op == Op::Like && !c.value.is_text()) fail();
    return c;
}

bool FindCriterion::matches(const jet::Value& v) const {
    if (v.is_null() || v.is_empty() || value.is_null()) return false;
    if (op == Op::Like) return like(v.to_text(), value.raw_text());
    const int r = jet::compare(v, value);
    switch (op) {
        case Op::Eq:
            return r == 0;
        case Op::Ne:
            return r != 0;
        case Op::Lt:
            return r < 0;
        case Op::Gt:
            return r > 0;
        case Op::Le:
            return r <= 0;
        case Op::Ge:
            return r >= 0;
        case Op::Like:
            break;
    }
    return false;
}

}  // namespace ado
