// The process's statement observers (see trace.h): two pointers, unset in the programs.
#include "jet/trace.h"

namespace jet {

namespace detail {
StatementTrace statement_trace = nullptr;
ShapeObserver* shape_observer = nullptr;
bool observed = false;
}  // namespace detail

void set_statement_trace(StatementTrace trace) {
    detail::statement_trace = trace;
    detail::observed = trace != nullptr || detail::shape_observer != nullptr;
}

void set_shape_observer(ShapeObserver* observer) {
    detail::shape_observer = observer;
    detail::observed = detail::statement_trace != nullptr || observer != nullptr;
}

}  // namespace jet
