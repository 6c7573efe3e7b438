// Expressions: Jet's (VBA's) operator precedence, by precedence climbing.
#include <charconv>
#include <cstdlib>
#include <string>

#include "jet/error.h"
#include "jet/sql/parse_internal.h"
#include "jet/sql/parser.h"

namespace jet::sql {

namespace detail {

namespace {

// Binding strength, loosest first. NOT (prefix) sits between AND and the comparisons,
// unary minus between the multiplicative operators and ^.
enum Prec : int {
    kImp = 1,
    kEqv,
    kXor,
    kOr,
    kAnd,
    kNot,
    kCompare,
    kConcat,
    kAdd,
    kMod,
    kIntDiv,
    kMul,
    kNeg,
    kPow,
    kPrimary
};

struct BinOp {
    Op op = Op::None;
    int prec = 0;
};

// The binary operator at token t (comparisons include LIKE; IS, BETWEEN and IN are
// handled apart), or Op::None.
BinOp binary_op(const Token& t) {
    switch (t.kind) {
        case Tok::Caret:
            return {Op::Pow, kPow};
        case Tok::Star:
            return {Op::Mul, kMul};
        case Tok::Slash:
            return {Op::Div, kMul};
        case Tok::Backslash:
            return {Op::IntDiv, kIntDiv};
        case Tok::Plus:
            return {Op::Add, kAdd};
        case Tok::Minus:
            return {Op::Sub, kAdd};
        case Tok::Amp:
            return {Op::Concat, kConcat};
        case Tok::Eq:
            return {Op::Eq, kCompare};
        case Tok::Ne:
            return {Op::Ne, kCompare};
        case Tok::Lt:
            return {Op::Lt, kCompare};
        case Tok::Le:
            return {Op::Le, kCompare};
        case Tok::Gt:
            return {Op::Gt, kCompare};
        case Tok::Ge:
            return {Op::Ge, kCompare};
        case Tok::Name:
            if (t.is("MOD")) return {Op::Mod, kMod};
            if (t.is("LIKE")) return {Op::Like, kCompare};
            if (t.is("AND")) return {Op::And, kAnd};
            if (t.is("OR")) return {Op::Or, kOr};
            if (t.is("XOR")) return {Op::Xor, kXor};
            if (t.is("EQV")) return {Op::Eqv, kEqv};
            if (t.is("IMP")) return {Op::Imp, kImp};
            return {};
        default:
            return {};
    }
}

ExprPtr make(ExprKind k, uint32_t pos) {
    return std::make_unique<Expr>(k, pos);
}

ExprPtr make_binary(ExprKind k, Op op, ExprPtr l, ExprPtr r) {
    auto e = make(k, l->pos);
    e->op = op;
    e->args.push_back(std::move(l));
    if (r) e->args.push_back(std::move(r));
    return e;
}

// Folds a quoted text's doubled quote characters.
std::string unquote(std::string_view raw, char quote) {
    std::string out;
    out.reserve(raw.size());
    for (size_t i = 0; i < raw.size(); ++i) {
        out.push_back(raw[i]);
        if (raw[i] == quote && i + 1 < raw.size() && raw[i + 1] == quote) ++i;
    }
    return out;
}

}  // namespace

ExprPtr Parser::expression() {
    size_t saved = expr_start_;
    expr_start_ = pos_;
    ExprPtr e = binary(kImp);
    expr_start_ = saved;
    return e;
}

// Checks that the expression that began at start_token is followed by one of the
// keywords kws, a comma, a closing parenthesis, ";" or the end; anything else is an
// operator missing between two operands.
void Parser::end_of_expression(size_t start_token, std::initializer_list<std::string_view> kws) {
    const Token& t = peek();
    if (t.kind == Tok::End || t.kind == Tok::Semicolon || t.kind == Tok::Comma ||
        t.kind == Tok::RParen)
        return;
    for (auto kw : kws)
        if (t.is(kw)) return;
    fail_expression(start_token);
}

ExprPtr Parser::binary(int min_prec) {
    Depth guard(*this);
    ExprPtr lhs;
    const Token& t = peek();
    if (t.is("NOT")) {
        next();
        lhs = make(ExprKind::Unary, t.begin);
        lhs->op = Op::Not;
        lhs->args.push_back(binary(kCompare));
    } else if (t.kind == Tok::Minus || t.kind == Tok::Plus) {
        next();
        lhs = make(ExprKind::Unary, t.begin);
        lhs->op = t.kind == Tok::Minus ? Op::Neg : Op::Plus;
        lhs->args.push_back(binary(kPow));
    } else {
        lhs = primary();
    }
    for (;;) {
        const Token& o = peek();
        bool negated = false;
        size_t look = 0;
        if (o.is("NOT")) {
            const Token& o2 = peek(1);
            if (!(o2.is("LIKE") || o2.is("BETWEEN") || o2.is("IN"))) break;
            negated = true;
            look = 1;
        }
        const Token& op = peek(look);
        bool special = op.is("IS") || op.is("BETWEEN") || op.is("IN");
        if ((special || negated) && kCompare < min_prec) break;
        if (op.is("IS")) {
            next();
            auto e = make_binary(ExprKind::IsNull, Op::None, std::move(lhs), nullptr);
            e->negated = accept_kw("NOT");
            if (!accept_kw("NULL")) fail_expression(expr_start_);
            lhs = std::move(e);
            continue;
        }
        if (op.is("BETWEEN")) {
            pos_ += look + 1;
            auto e = make_binary(ExprKind::Between, Op::None, std::move(lhs), binary(kConcat));
            if (!accept_kw("AND")) fail_expression(expr_start_);
            e->args.push_back(binary(kConcat));
            e->negated = negated;
            lhs = std::move(e);
            continue;
        }
        if (op.is("IN")) {
            pos_ += look + 1;
            auto e = make_binary(ExprKind::InList, Op::None, std::move(lhs), nullptr);
            e->negated = negated;
            if (!accept(Tok::LParen)) fail_expression(expr_start_);
            do e->args.push_back(binary(kImp));
            while (accept(Tok::Comma));
            if (!accept(Tok::RParen)) fail_expression(expr_start_);
            lhs = std::move(e);
            continue;
        }
        BinOp b = binary_op(op);
        if (b.op == Op::None || b.prec < min_prec) break;
        pos_ += look + 1;
        auto e = make_binary(ExprKind::Binary, b.op, std::move(lhs), binary(b.prec + 1));
        e->negated = negated;  // NOT LIKE
        lhs = std::move(e);
    }
    return lhs;
}

ExprPtr Parser::primary() {
    const Token& t = peek();
    switch (t.kind) {
        case Tok::Integer: {
            next();
            auto e = make(ExprKind::Integer, t.begin);
            auto r = std::from_chars(t.text.data(), t.text.data() + t.text.size(), e->integer);
            if (r.ec != std::errc()) {  // beyond 64 bits: a Double
                e->kind = ExprKind::Number;
                e->text = std::string(t.text);
                e->number = std::strtod(e->text.c_str(), nullptr);
            } else {
                e->number = double(e->integer);
            }
            return e;
        }
        case Tok::Number: {
            next();
            auto e = make(ExprKind::Number, t.begin);
            e->text = std::string(t.text);
            e->number = std::strtod(e->text.c_str(), nullptr);
            return e;
        }
        case Tok::String: {
            next();
            auto e = make(ExprKind::String, t.begin);
            e->text = unquote(t.text, t.quote);
            return e;
        }
        case Tok::Date:
            return literal_date();
        case Tok::LParen: {
            next();
            ExprPtr e = binary(kImp);
            if (!accept(Tok::RParen)) fail_expression(expr_start_);
            e->parenthesized = true;
            return e;
        }
        case Tok::Name:
            if (t.is("NULL")) {
                next();
                return make(ExprKind::Null, t.begin);
            }
            if (t.is("TRUE") || t.is("FALSE")) {
                next();
                auto e = make(ExprKind::Boolean, t.begin);
                e->boolean = t.is("TRUE");
                return e;
            }
            return column_or_call();
        case Tok::Bracketed:
            return column_or_call();
        default:
            fail_expression(expr_start_);
    }
}

// name(args) | name | qualifier.name | qualifier.*
ExprPtr Parser::column_or_call() {
    const Token& t = peek();
    if (t.kind == Tok::Name && peek(1).kind == Tok::LParen &&
        (at_name() || t.is("LEFT") || t.is("RIGHT"))) {
        pos_ += 2;
        auto e = make(ExprKind::Function, t.begin);
        e->text = std::string(t.text);
        if (at(Tok::Star)) {
            e->args.push_back(make(ExprKind::Star, next().begin));
        } else if (!at(Tok::RParen)) {
            do e->args.push_back(binary(kImp));
            while (accept(Tok::Comma));
        }
        if (!accept(Tok::RParen)) fail_expression(expr_start_);
        return e;
    }
    if (!at_name()) fail_expression(expr_start_);
    auto e = make(ExprKind::Column, t.begin);
    e->text = name();
    if (accept(Tok::Dot)) {
        e->qualifier = std::move(e->text);
        if (accept(Tok::Star)) {
            e->kind = ExprKind::Star;
            e->text.clear();
            return e;
        }
        if (!at_name()) fail_expression(expr_start_);
        e->text = name();
    }
    return e;
}

ExprPtr Parser::literal_date() {
    const Token& t = next();
    auto e = make(ExprKind::Date, t.begin);
    if (!parse_date_parts(t.text, e->date)) fail_expression(expr_start_);
    return e;
}

}  // namespace detail

}  // namespace jet::sql
