#include "jet/dates.h"

#include <cmath>
#include <cstdint>
#include <cstdio>

#include "jet/text.h"

namespace jet::dates {

namespace {

// Days from 1 January 1970 of a proleptic Gregorian date (H. Hinnant's algorithm).
constexpr int64_t days_from_civil(int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

void civil_from_days(int64_t z, int& y, int& m, int& d) {
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(static_cast<int64_t>(yoe) + era * 400 + (m <= 2));
}

constexpr int64_t kEpoch = days_from_civil(1899, 12, 30);

bool is_blank(char c) {
    return c == ' ' || c == '\t';
}
bool is_digit(char c) {
    return c >= '0' && c <= '9';
}

// Reads up to 9 digits at s[i]; false when there is none.
bool read_number(std::string_view s, size_t& i, int& value, int& digits) {
    value = 0;
    digits = 0;
    while (i < s.size() && is_digit(s[i]) && digits < 9) {
        value = value * 10 + (s[i] - '0');
        ++digits;
        ++i;
    }
    return digits > 0 && !(i < s.size() && is_digit(s[i]));
}

// Reads "h:mm[:ss][ AM|PM]" from s[i] to the end.
bool parse_time(std::string_view s, size_t i, int& h, int& n, int& sec) {
    int digits = 0;
    h = n = sec = 0;
    if (!read_number(s, i, h, digits) || i >= s.size() || s[i] != ':') return false;
    ++i;
    if (!read_number(s, i, n, digits)) return false;
    if (i < s.size() && s[i] == ':') {
        ++i;
        if (!read_number(s, i, sec, digits)) return false;
    }
    while (i < s.size() && is_blank(s[i])) ++i;
    if (i < s.size()) {
        std::string_view rest = s.substr(i);
        while (!rest.empty() && is_blank(rest.back())) rest.remove_suffix(1);
        bool pm = text::ascii_iequal(rest, "PM");
        if (!pm && !text::ascii_iequal(rest, "AM")) return false;
        if (h < 1 || h > 12) return false;
        if (h == 12) h = 0;
        if (pm) h += 12;
    }
    return h < 24 && n < 60 && sec < 60;
}

}  // namespace

bool valid_date(int year, int month, int day) {
    if (year < 100 || year > 9999 || month < 1 || month > 12 || day < 1) return false;
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    int last = kDays[month - 1];
    if (month == 2 && (year % 4 == 0 && (year % 100 != 0 || year % 400 == 0))) last = 29;
    return day <= last;
}

int expand_year(int year) {
    if (year >= 0 && year < 30) return 2000 + year;
    if (year >= 30 && year < 100) return 1900 + year;
    return year;
}

std::optional<double> to_serial(int year, int month, int day, int hour, int minute, int second) {
    if (!valid_date(year, month, day)) return std::nullopt;
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59)
        return std::nullopt;
    const double days = static_cast<double>(
        days_from_civil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) - kEpoch);
    const double t = (hour * 3600 + minute * 60 + second) / 86400.0;
    return days >= 0 ? days + t : days - t;
}

std::optional<double> to_serial(const Parts& p) {
    return to_serial(p.year, p.month, p.day, p.hour, p.minute, p.second);
}

Parts from_serial(double serial) {
    Parts p;
    double whole = std::trunc(serial);
    int64_t seconds = std::llround(std::fabs(serial - whole) * 86400.0);
    auto day = static_cast<int64_t>(whole);
    if (seconds >= 86400) {
        // The time rounds up to midnight: the next calendar day, whatever the sign.
        seconds -= 86400;
        day += 1;
    }
    civil_from_days(day + kEpoch, p.year, p.month, p.day);
    p.hour = static_cast<int>(seconds / 3600);
    p.minute = static_cast<int>(seconds / 60 % 60);
    p.second = static_cast<int>(seconds % 60);
    return p;
}

std::optional<double> parse(std::string_view s) {
    while (!s.empty() && is_blank(s.front())) s.remove_prefix(1);
    while (!s.empty() && is_blank(s.back())) s.remove_suffix(1);
    if (s.empty()) return std::nullopt;

    int h = 0, n = 0, sec = 0;
    size_t i = 0;
    int f[3], digits[3];
    int fields = 0;
    if (!read_number(s, i, f[0], digits[0])) return std::nullopt;
    if (i < s.size() && s[i] == ':') {  // a time alone
        if (!parse_time(s, 0, h, n, sec)) return std::nullopt;
        return (h * 3600 + n * 60 + sec) / 86400.0;
    }
    fields = 1;
    while (fields < 3) {
        if (i >= s.size()) break;
        char sep = s[i];
        if (sep != '-' && sep != '.' && sep != '/') break;
        ++i;
        while (i < s.size() && is_blank(s[i])) ++i;
        if (!read_number(s, i, f[fields], digits[fields])) return std::nullopt;
        ++fields;
    }
    if (fields != 3) return std::nullopt;
    if (i < s.size() && s[i] == '.') ++i;  // "31.12.2020." as Polish texts sometimes end
    if (i < s.size()) {
        if (!is_blank(s[i]) && s[i] != 'T') return std::nullopt;
        while (i < s.size() && (is_blank(s[i]) || s[i] == 'T')) ++i;
        if (!parse_time(s, i, h, n, sec)) return std::nullopt;
    }

    int y, m, d;
    if (digits[0] >= 3) {  // yyyy-MM-dd
        y = f[0];
        m = f[1];
        d = f[2];
    } else {  // dd-MM-yyyy, or MM-dd-yyyy when that is the only possible reading
        d = f[0];
        m = f[1];
        y = digits[2] <= 2 ? expand_year(f[2]) : f[2];
        if (!valid_date(y, m, d) && valid_date(y, d, m)) std::swap(d, m);
    }
    if (digits[0] >= 3 && digits[2] > 2) return std::nullopt;
    return to_serial(y, m, d, h, n, sec);
}

std::string to_text(double serial) {
    Parts p = from_serial(serial);
    char buf[40];
    const bool has_time = p.hour != 0 || p.minute != 0 || p.second != 0;
    if (std::trunc(serial) == 0 && !(p.year != 1899 || p.month != 12 || p.day != 30)) {
        std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", p.hour, p.minute, p.second);
    } else if (has_time) {
        std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", p.year, p.month, p.day,
                      p.hour, p.minute, p.second);
    } else {
        std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", p.year, p.month, p.day);
    }
    return buf;
}

}  // namespace jet::dates
