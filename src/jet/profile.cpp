#include "jet/profile.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <fstream>
#include <map>
#include <vector>

namespace jet {

namespace {

constexpr std::chrono::milliseconds kPlanWorthy{2};

bool ident_char(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

// The query plan of a statement text as one line ("" when it does not prepare).
std::string plan_of(sqlite3* db, const std::string& sql) {
    sqlite3_stmt* st = nullptr;
    std::string out;
    if (sqlite3_prepare_v2(db, ("EXPLAIN QUERY PLAN " + sql).c_str(), -1, &st, nullptr) ==
            SQLITE_OK &&
        st) {
        while (sqlite3_step(st) == SQLITE_ROW) {
            const auto* d = sqlite3_column_text(st, 3);
            if (!out.empty()) out += "; ";
            out += d ? reinterpret_cast<const char*>(d) : "";
        }
    }
    sqlite3_finalize(st);
    return out;
}

std::string one_line(std::string s) {
    std::replace(s.begin(), s.end(), '\t', ' ');
    std::replace(s.begin(), s.end(), '\n', ' ');
    return s;
}

}  // namespace

std::string statement_shape(const std::string& sql) {
    std::string out;
    out.reserve(sql.size());
    for (size_t i = 0; i < sql.size();) {
        const char c = sql[i];
        if (c == '\'') {
            size_t j = i + 1;
            while (j < sql.size()) {
                if (sql[j] == '\'' && (j + 1 >= sql.size() || sql[j + 1] != '\'')) break;
                j += sql[j] == '\'' ? 2 : 1;
            }
            out += '?';
            i = j + 1;
        } else if (std::isdigit(static_cast<unsigned char>(c)) &&
                   (i == 0 || !ident_char(sql[i - 1])) && (i == 0 || sql[i - 1] != '?')) {
            size_t j = i;
            while (j < sql.size() &&
                   (std::isalnum(static_cast<unsigned char>(sql[j])) || sql[j] == '.'))
                ++j;
            out += '?';
            i = j;
        } else {
            out += c;
            ++i;
        }
    }
    return out;
}

std::unique_ptr<Profile> Profile::from_environment(sqlite3* db) {
    const char* path = std::getenv("JET_PROFILE");
    if (!path || !*path) return nullptr;
    return std::unique_ptr<Profile>(new Profile(db, path));
}

Profile::Profile(sqlite3* db, std::string path)
    : db_(db), path_(std::move(path)), period_start_(std::chrono::steady_clock::now()) {}

void Profile::end(sqlite3_stmt* st, bool first, std::chrono::steady_clock::time_point started) {
    const auto spent = std::chrono::steady_clock::now() - started;
    const char* sql = sqlite3_sql(st);
    if (!sql) return;
    auto it = current_.find(st);
    if (first || it == current_.end() || it->second.first != sql) {
        Acc* acc = &by_text_[sql];
        it = current_.insert_or_assign(st, std::make_pair(sql, acc)).first;
        ++acc->executions;
    }
    Acc& acc = *it->second.second;
    acc.time += spent;
    // The plan of a statement that matters (each costs a prepare), taken between
    // statements (see take_plans): its tables may be gone by the report. Taken again
    // each time the statement's time grows tenfold, so that the plan shown is the
    // one most of the time went to.
    if (acc.time > kPlanWorthy && acc.time > 10 * acc.planned) {
        acc.planned = acc.time;
        unplanned_.emplace_back(sql, &acc);
    }
}

void Profile::take_plans() {
    for (auto& [sql, acc] : unplanned_) {
        acc->plan = plan_of(db_, sql);
        if (acc->plan.empty()) acc->plan.push_back('-');
    }
    unplanned_.clear();
}

void Profile::report() {
    take_plans();
    const auto now = std::chrono::steady_clock::now();
    std::map<std::string, Acc> shapes;
    for (const auto& [text, acc] : by_text_) {
        Acc& s = shapes[statement_shape(text)];
        s.executions += acc.executions;
        s.time += acc.time;
        if (s.plan.empty()) s.plan = acc.plan;
    }
    std::vector<std::pair<const std::string*, const Acc*>> order;
    for (const auto& [shape, s] : shapes) order.emplace_back(&shape, &s);
    std::sort(order.begin(), order.end(),
              [](const auto& a, const auto& b) { return a.second->time > b.second->time; });
    std::ofstream out(path_, std::ios::app);
    const auto seconds = [](auto d) { return std::chrono::duration<double>(d).count(); };
    out << "step " << period_ << "\t*\t" << order.size() << "\t" << seconds(now - period_start_)
        << "\t\n";
    for (const auto& [shape, s] : order)
        out << "step " << period_ << "\t" << one_line(*shape) << "\t" << s->executions << "\t"
            << seconds(s->time) << "\t" << one_line(s->plan) << "\n";
    by_text_.clear();
    current_.clear();
    ++period_;
    period_start_ = std::chrono::steady_clock::now();
}

}  // namespace jet
