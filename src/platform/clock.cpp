#include "platform/clock.h"

#include <ctime>

namespace platform {
namespace {
std::optional<LocalDate> date_override;
}

LocalDate today() {
    if (date_override) return *date_override;
    const std::time_t t = std::time(nullptr);
    std::tm lt{};
    localtime_r(&t, &lt);
    return LocalDate{lt.tm_year + 1900, lt.tm_mon + 1, lt.tm_mday};
}

void set_today(std::optional<LocalDate> date) {
    date_override = date;
}

}  // namespace platform
