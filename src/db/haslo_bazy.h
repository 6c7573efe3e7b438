// The database password of the suite's files. The conversion opens them with it, and so
// does jetsql --suite; the header holds nothing else, so that a tool takes the password
// without the connection's process state.
#pragma once

#include <string_view>

inline constexpr std::string_view kDatabasePassword = "Kv7^pq|Lm3#x9";
