#include "jet/reports.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <mutex>

namespace jet::reports {

namespace {

struct State {
    std::mutex lock;
    std::string path;
    std::function<std::string()> label;
    std::array<int, 3> stated{};
    std::string statement;
};

State& state() {
    static State s;
    return s;
}

// -1 until the environment is read, then 0 or 1.
int g_on = -1;

}  // namespace

std::string_view name(Kind k) {
    switch (k) {
        case Kind::MultiPair: return "multi-pair";
        case Kind::NullOverwrite: return "null-overwrite";
        case Kind::InsertRepeat: return "insert-repeat";
    }
    return "?";
}

bool enabled() {
    if (g_on < 0) {
        const char* p = std::getenv("KONW_RAPORTY_SILNIKA");
        start(p ? p : "");
    }
    return g_on == 1;
}

void start(const std::string& path) {
    std::lock_guard<std::mutex> g(state().lock);
    state().path = path;
    g_on = path.empty() ? 0 : 1;
}

void set_step_label(std::function<std::string()> label) {
    std::lock_guard<std::mutex> g(state().lock);
    state().label = std::move(label);
}

Stated::Stated(Kind k) : kind_(k) { ++state().stated[static_cast<size_t>(k)]; }
Stated::~Stated() { --state().stated[static_cast<size_t>(kind_)]; }

namespace detail {

void set_statement(std::string_view sql) { state().statement.assign(sql); }

void report(Kind k, std::string_view table, std::string_view statement) {
    State& s = state();
    std::lock_guard<std::mutex> g(s.lock);
    if (s.path.empty()) return;
    if (statement.empty()) statement = s.statement;
    std::string line = s.label ? s.label() : "-";
    line += '\t';
    line += name(k);
    line += '\t';
    line += table;
    line += '\t';
    for (char c : statement) line += (c == '\t' || c == '\r' || c == '\n') ? ' ' : c;
    if (s.stated[static_cast<size_t>(k)] > 0) line += "\tstated";
    line += '\n';
    if (FILE* f = std::fopen(s.path.c_str(), "a")) {
        std::fwrite(line.data(), 1, line.size(), f);
        std::fclose(f);
    }
}

}  // namespace detail

}  // namespace jet::reports
