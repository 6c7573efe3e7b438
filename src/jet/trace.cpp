// The process's statement observer (see trace.h): one pointer, unset in the programs.
#include "jet/trace.h"

namespace jet {

namespace detail {
StatementTrace statement_trace = nullptr;
}

void set_statement_trace(StatementTrace trace) {
    detail::statement_trace = trace;
}

}  // namespace jet
