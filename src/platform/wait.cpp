#include "platform/wait.h"

#include <chrono>
#include <cstdlib>
#include <string_view>
#include <thread>

namespace platform {
namespace {
std::optional<bool> fast_override;
}

bool fast_wait() {
    if (fast_override) return *fast_override;
    const char* v = std::getenv("ORVIK_FAST_WAIT");
    return v && std::string_view(v) == "1";
}

void set_fast_wait(std::optional<bool> on) {
    fast_override = on;
}

void wait_seconds(double seconds) {
    if (seconds <= 0 || fast_wait()) return;
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}

}  // namespace platform
