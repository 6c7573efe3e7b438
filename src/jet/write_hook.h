// A process-wide hook called before each write statement (the outermost one only: not
// again for the statements a plan runs inside it), before it touches the database. A
// hook that throws fails the statement as if the write had failed; nothing is written.
// The programs set none; tests set one to make chosen writes fail (a full disk at the
// N-th write of a step). An unset hook costs one test per statement.
#pragma once

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

}  // namespace jet
