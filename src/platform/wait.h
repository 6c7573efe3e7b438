// Waiting a number of seconds, with a seam that makes waits return at once.
#pragma once

#include <optional>

namespace platform {

// Sleeps for seconds (nothing for 0 or less), or returns at once when fast waits are on.
void wait_seconds(double seconds);

// Fast waits are on when set in-process, else when the environment variable
// ORVIK_FAST_WAIT is "1". set_fast_wait(std::nullopt) goes back to the environment.
bool fast_wait();
void set_fast_wait(std::optional<bool> on);

}  // namespace platform
