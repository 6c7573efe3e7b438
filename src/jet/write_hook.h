// A process-wide hook called before each write statement (the outermost one only: not
// again for the statements a plan runs inside it), before it touches the database. A
// hook that throws fails the statement as if the write had failed; nothing is written.
// The programs set none; tests set one to make chosen writes fail (a full disk at the
// N-th write of a step). An unset hook costs one test per statement.
#pragma once

#include <string_view>

namespace jet {

using WriteHook = void (*)();

// Sets the hook (nullptr removes it).
void set_write_hook(WriteHook hook);

namespace detail {
extern WriteHook write_hook;
}

// Called by the session at the start of each outermost write statement.
inline void before_write_statement() {
    if (detail::write_hook != nullptr) detail::write_hook();
}

// The same for reads: a hook called with the statement before each query that returns rows
// reads anything. A hook that throws fails the read as if the file had failed it. Tests set
// one to make a chosen read fail (an I/O error, a busy file).
using ReadHook = void (*)(std::string_view sql);

// Sets the read hook (nullptr removes it).
void set_read_hook(ReadHook hook);

namespace detail {
extern ReadHook read_hook;
}

// Called by the engine at the start of each query that returns rows.
inline void before_read_statement(std::string_view sql) {
    if (detail::read_hook != nullptr) detail::read_hook(sql);
}

}  // namespace jet
