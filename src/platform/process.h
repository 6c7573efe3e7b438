// The end of the process, with a seam for tests.
#pragma once

#include <functional>
#include <string_view>

namespace platform {

// Exit statuses that tell the starting program the result marker left in the registry.
namespace exit_status {
inline constexpr int completed = 0;   // "3210", or nothing was to be done
inline constexpr int fatal = 1;       // "0000": a fatal failure or the user's refusal
inline constexpr int stopped = 2;     // "0001": an orderly stop without a conversion
inline constexpr int unreported = 4;  // the marker could not be written to the registry
}  // namespace exit_status

// The exit status for a result marker: "0000" fatal, "0001" stopped, anything else
// (including "3210" and a marker left unchanged) completed.
int exit_status_for_marker(std::string_view marker);

// What a test's end hook throws in place of ending the process.
struct ProcessEnd {
    int status;
};

// Called by end_process with the exit status instead of ending the process. A hook
// must not return normally (a test's hook throws ProcessEnd); if it does, the process
// ends anyway. An empty hook restores the real end. Returns the previous hook.
using EndHook = std::function<void(int status)>;
EndHook set_end_hook(EndHook hook);

// Ends the process at once with exit_status: the status window's last state is
// printed, standard streams are flushed, and the process stops without running any
// further code of its callers, destructors or exit handlers, only the handlers
// registered with std::at_quick_exit (the engine closes its database files there,
// keeping nothing that was not committed). With an end hook installed, the hook is
// called instead (it throws in tests).
[[noreturn]] void end_process(int exit_status);

}  // namespace platform
