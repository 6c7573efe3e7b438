#include "jet/sql/parser.h"

#include <array>

#include "jet/error.h"
#include "jet/sql/parse_internal.h"

namespace jet::sql {

Expr::~Expr() {
    std::vector<ExprPtr> pending;
    for (auto& a : args)
        if (a && !a->args.empty()) pending.push_back(std::move(a));
    while (!pending.empty()) {
        ExprPtr e = std::move(pending.back());
        pending.pop_back();
        for (auto& a : e->args)
            if (a && !a->args.empty()) pending.push_back(std::move(a));
    }
}

namespace detail {

namespace {

// Words that end a name's place: a bare name spelt like one of these is read as the
// keyword (bracket it to use it as a name).
constexpr std::array<std::string_view, 35> kReserved = {
    "SELECT", "FROM",  "WHERE",    "GROUP",       "HAVING", "ORDER", "BY",   "AND",   "OR",
    "NOT",    "XOR",   "EQV",      "IMP",         "MOD",    "LIKE",  "IS",   "IN",    "BETWEEN",
    "AS",     "INTO",  "SET",      "VALUES",      "ON",     "INNER", "LEFT", "RIGHT", "JOIN",
    "UNION",  "OUTER", "DISTINCT", "DISTINCTROW", "TOP",    "NULL",  "TRUE", "FALSE",
};

bool reserved(const Token& t) {
    if (t.kind != Tok::Name) return false;
    for (auto kw : kReserved)
        if (keyword_equals(t.text, kw)) return true;
    return false;
}

}  // namespace

Parser::Parser(std::string_view text) : src_(text), toks_(tokenize(text)) {}

Parser::Depth::Depth(Parser& p) : p_(p) {
    if (++p.depth_ > kMaxNesting) {
        --p.depth_;
        raise(Fault::TooComplex);
    }
}

bool Parser::accept(Tok k) {
    if (!at(k)) return false;
    next();
    return true;
}

bool Parser::accept_kw(std::string_view kw) {
    if (!at_kw(kw)) return false;
    next();
    return true;
}

void Parser::expect(Tok k) {
    if (!accept(k)) fail();
}

void Parser::expect_kw(std::string_view kw) {
    if (!accept_kw(kw)) fail();
}

void Parser::expect_end() const {
    if (!(at(Tok::End) || at(Tok::Semicolon))) fail();
}

bool Parser::at_name() const {
    const Token& t = peek();
    return t.kind == Tok::Bracketed || (t.kind == Tok::Name && !reserved(t));
}

std::string Parser::name() {
    if (!at_name()) fail();
    return std::string(next().text);
}

void Parser::fail() const {
    raise(Fault::SyntaxError, context_);
}

void Parser::fail_expression(size_t start_token) const {
    if (expr_errors_in_context_) fail();
    // The expression as Jet quotes it: from its first token to the end of its clause
    // (the next clause keyword, comma or closing parenthesis outside parentheses).
    size_t i = start_token;
    int depth = 0;
    uint32_t end = i < toks_.size() ? toks_[i].begin : uint32_t(src_.size());
    for (; i < toks_.size(); ++i) {
        const Token& t = toks_[i];
        if (t.kind == Tok::Bad) end = t.end;  // an open string runs to the end
        if (t.kind == Tok::End || t.kind == Tok::Semicolon || t.kind == Tok::Bad) break;
        if (t.kind == Tok::LParen) ++depth;
        if (t.kind == Tok::RParen && --depth < 0) break;
        if (depth == 0 && t.kind == Tok::Comma) break;
        if (depth == 0 && t.kind == Tok::Name &&
            (t.is("FROM") || t.is("WHERE") || t.is("GROUP") || t.is("HAVING") || t.is("ORDER") ||
             t.is("INTO") || t.is("SET") || t.is("UNION") ||
             ((t.is("INNER") || t.is("LEFT") || t.is("RIGHT")) && i + 1 < toks_.size() &&
              toks_[i + 1].kind != Tok::LParen)))
            break;
        end = t.end;
    }
    uint32_t begin = start_token < toks_.size() ? toks_[start_token].begin : end;
    if (end <= begin) fail();  // no expression at all: the clause itself is wrong
    raise(Fault::SyntaxInExpression, slice(begin, end));
}

Statement Parser::statement() {
    Statement st = [&]() -> Statement {
        if (at_kw("SELECT")) return select();
        if (at_kw("INSERT")) return insert();
        if (at_kw("UPDATE")) return update();
        if (at_kw("DELETE")) return delete_();
        if (at_kw("ALTER")) return alter_table();
        if (at_kw("DROP")) return drop();
        if (at_kw("CREATE")) {
            Context c(*this, "CREATE TABLE statement");
            if (peek(1).is("TABLE")) return create_table();
            bool unique = peek(1).is("UNIQUE");
            if (peek(unique ? 2 : 1).is("INDEX")) return create_index(unique);
            fail();
        }
        fail();
    }();
    accept(Tok::Semicolon);
    if (!at(Tok::End)) fail();  // characters after the end of the statement
    return st;
}

}  // namespace detail

Statement parse(std::string_view text) {
    detail::Parser p(text);
    return p.statement();
}

}  // namespace jet::sql
