// The computer's date as the program reads it, with a seam that sets it.
#pragma once

#include <optional>

namespace platform {

// Today's local calendar date.
struct LocalDate {
    int year = 0;
    int month = 0;  // 1 to 12
    int day = 0;    // 1 to 31
};

// The local date of the system clock, or the date set in-process.
LocalDate today();

// Sets the date that today() returns; std::nullopt goes back to the system clock.
void set_today(std::optional<LocalDate> date);

}  // namespace platform
