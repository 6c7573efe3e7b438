// Any statement text run against a database yields rows, a count or a jet::Error,
// never a crash, a hang or another exception. Each input runs inside a user
// transaction that is rolled back, so that every input meets the same tables.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "jet/database.h"
#include "jet/error.h"

namespace {

std::shared_ptr<jet::Database> scratch() {
    std::string tpl = (std::filesystem::temp_directory_path() / "engine-fuzz-XXXXXX").string();
    const std::string dir = mkdtemp(tpl.data());
    const std::string path = dir + "/fuzz.mdb";
    jet::Database::create(path);
    auto db = jet::Database::open(path);
    for (const char* sql : {
             "CREATE TABLE T (id counter, l long, d double, m money, s single, t text(10), "
             "u text(50), b bit, dt datetime, mm memo, CONSTRAINT pk PRIMARY KEY (id))",
             "CREATE TABLE K (k long, n text(16) NOT NULL, v money DEFAULT 0)",
             "CREATE UNIQUE INDEX kn ON K (n)",
             "INSERT INTO T (l, d, m, s, t, u, b, dt, mm) VALUES (1, 0.5, 1.25, 2.5, 'ab', '1,5', "
             "True, #12/31/2026#, 'memo')",
             "INSERT INTO T (l, d, m, t) VALUES (-7, Null, 0.0001, '')",
             "INSERT INTO T (l) VALUES (Null)",
             "INSERT INTO K (k, n, v) VALUES (1, 'ABC', 10)",
             "INSERT INTO K (k, n) VALUES (2, 'abd')",
         })
        db->execute(sql);
    db->checkpoint();
    return db;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static std::shared_ptr<jet::Database> db = scratch();
    const std::string text(reinterpret_cast<const char*>(data), size);
    db->begin_trans();
    try {
        const std::string_view head = std::string_view(text).substr(0, 6);
        if (head.size() == 6 && (head[0] | 0x20) == 's' && (head[1] | 0x20) == 'e') {
            auto rows = db->query(text);
            for (int n = 0; n < 1000 && rows->next(); ++n)
                for (int i = 0; i < static_cast<int>(rows->columns().size()); ++i)
                    (void)rows->value(i);
        } else {
            (void)db->execute(text);
        }
    } catch (const jet::Error&) {
    }
    db->rollback_trans();
    return 0;
}
