// Temporary stand-in for the engine's SQL functions until sqlfuncs.cpp lands: only
// the JET collation, which the storage tests' text columns and indexes need.
#include <sqlite3.h>

#include "jet/sqlfuncs.h"
#include "jet/text.h"

namespace jet {

void register_functions(sqlite3* db, Session*) {
    sqlite3_create_collation(
        db, "JET", SQLITE_UTF8, nullptr, [](void*, int la, const void* a, int lb, const void* b) {
            return text::compare(std::string_view(static_cast<const char*>(a), la),
                                 std::string_view(static_cast<const char*>(b), lb));
        });
}

}  // namespace jet
