// Helpers of the statement tests: a scratch database, statements in, rows (as text)
// or the failure number out.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "jet/database.h"
#include "jet/dates.h"

namespace query_test {

// A value as the tests spell it: Null, numbers with "." and no trailing zeros, dates
// as yyyy-mm-dd[ hh:mm:ss], Yes/No as -1/0, text as it is.
inline std::string show(const jet::Value& v) {
    using K = jet::Value::Kind;
    char buf[64];
    switch (v.kind()) {
        case K::Empty: return "Empty";
        case K::Null: return "Null";
        case K::Boolean:
        case K::Byte:
        case K::Integer:
        case K::Long: return std::to_string(v.raw_int());
        case K::Currency: {
            int64_t s = v.raw_int();
            std::string sign = s < 0 ? "-" : "";
            if (s < 0) s = -s;
            std::string out = sign + std::to_string(s / 10000);
            std::string frac = std::to_string(10000 + s % 10000).substr(1);
            while (!frac.empty() && frac.back() == '0') frac.pop_back();
            return frac.empty() ? out : out + "." + frac;
        }
        case K::Single:
        case K::Double: std::snprintf(buf, sizeof buf, "%.15g", v.raw_double()); return buf;
        case K::Date: {
            auto p = jet::dates::from_serial(v.raw_double());
            std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", p.year, p.month, p.day);
            std::string out = buf;
            if (p.hour || p.minute || p.second) {
                std::snprintf(buf, sizeof buf, " %02d:%02d:%02d", p.hour, p.minute, p.second);
                out += buf;
            }
            return out;
        }
        case K::Text: return v.raw_text();
    }
    return "?";
}

class QueryTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string tpl = (std::filesystem::temp_directory_path() / "jetquery-XXXXXX").string();
        dir_ = mkdtemp(tpl.data());
        path_ = (dir_ / "test.mdb").string();
        jet::Database::create(path_);
        db = jet::Database::open(path_);
    }
    void TearDown() override {
        db.reset();
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }

    // Runs statements; fails the test on a failure.
    int64_t run(const std::string& sql) {
        try {
            return db->execute(sql);
        } catch (const jet::Error& e) {
            ADD_FAILURE() << sql << "\n  -> " << e.description();
            return -1;
        }
    }
    void run_all(std::initializer_list<const char*> sqls) {
        for (const char* s : sqls) run(s);
    }

    // The failure number of a statement (0 when it succeeds).
    uint32_t error_of(const std::string& sql, std::string* text = nullptr) {
        try {
            db->execute(sql);
        } catch (const jet::Error& e) {
            if (text) *text = e.description();
            return e.number();
        }
        return 0;
    }

    // The rows of a query, values separated by "|", rows by ";".
    std::string rows(const std::string& sql) {
        try {
            auto c = db->query(sql);
            std::string out;
            const int n = static_cast<int>(c->columns().size());
            bool first = true;
            while (c->next()) {
                if (!first) out += ";";
                first = false;
                for (int i = 0; i < n; ++i) {
                    if (i) out += "|";
                    out += show(c->value(i));
                }
            }
            return out;
        } catch (const jet::Error& e) {
            return error_text(e);
        }
    }

    // What a statement gives: the rows of a query, "ok N" (records affected) for any
    // other statement, "error XXXXXXXX" (the number in hex) for a failure.
    std::string outcome(const std::string& sql) {
        std::string head = sql.substr(0, 7);
        for (auto& ch : head) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
        std::string lower = sql;
        for (auto& ch : lower) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
        if (head.rfind("select", 0) == 0 && lower.find(" into ") == std::string::npos) return rows(sql);
        try {
            return "ok " + std::to_string(db->execute(sql));
        } catch (const jet::Error& e) {
            return error_text(e);
        }
    }

    static std::string error_text(const jet::Error& e) {
        char buf[32];
        std::snprintf(buf, sizeof buf, "error %08X", e.number());
        return buf;
    }

    std::shared_ptr<jet::Database> db;
    std::filesystem::path dir_;
    std::string path_;
};

// One case of a table-driven family: a statement and what it gives (see outcome).
struct Case {
    std::string sql;
    std::string expected;
};

#define EXPECT_CASES(cases)                                            \
    for (const auto& c : cases) EXPECT_EQ(outcome(c.sql), c.expected) << c.sql

}  // namespace query_test
