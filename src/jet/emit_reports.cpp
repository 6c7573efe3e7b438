// The engine's report checks (reports.h): read-only queries run before an UPDATE or an
// INSERT ... SELECT, planned only while reports are on.
#include "jet/translate.h"

namespace jet::detail {

namespace {

struct ReportingPlan : Plan {
    std::shared_ptr<Plan> inner;
    ReportChecks checks;

    // True when the query gives a row; a query that fails gives none (the statement
    // meets the failure itself).
    static bool any_row(Session& s, const std::string& sql, const std::vector<Value>& params) {
        sqlite3_stmt* st = s.prepare(sql);
        bind_params(st, params);
        bool row = false;
        try {
            row = s.step(st);
        } catch (const Error&) {
        }
        sqlite3_reset(st);
        return row;
    }

    int64_t execute(Session& s) override {
        for (const auto& c : checks.cases) {
            bool met = true;
            for (const auto& q : c.all) met = met && any_row(s, q, checks.params);
            if (met) reports::detail::report(c.kind, c.table.empty() ? checks.table : c.table);
        }
        return inner->execute(s);
    }
};

}  // namespace

std::shared_ptr<Plan> with_report_checks(std::shared_ptr<Plan> p, ReportChecks checks) {
    if (checks.cases.empty()) return p;
    auto out = std::make_shared<ReportingPlan>();
    out->inner = std::move(p);
    out->checks = std::move(checks);
    return out;
}

bool has_arithmetic(const sql::Expr& e) {
    std::vector<const sql::Expr*> pending{&e};
    while (!pending.empty()) {
        const sql::Expr* x = pending.back();
        pending.pop_back();
        if ((x->kind == sql::ExprKind::Binary || x->kind == sql::ExprKind::Unary) &&
            (x->op == sql::Op::Neg || (x->op >= sql::Op::Add && x->op <= sql::Op::Pow)))
            return true;
        for (const auto& a : x->args)
            if (a) pending.push_back(a.get());
    }
    return false;
}

}  // namespace jet::detail
