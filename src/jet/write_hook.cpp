// The process's write hook (see write_hook.h): one pointer, unset in the programs, set by
// the tests that fail chosen writes.
#include "jet/write_hook.h"

namespace jet {

namespace detail {
WriteHook write_hook = nullptr;
ReadHook read_hook = nullptr;
}  // namespace detail

void set_write_hook(WriteHook hook) {
    detail::write_hook = hook;
}

void set_read_hook(ReadHook hook) {
    detail::read_hook = hook;
}

}  // namespace jet
