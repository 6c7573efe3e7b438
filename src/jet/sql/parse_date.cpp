// Date literals: the inside of #...#, read as Jet reads it.
#include <string_view>

#include "jet/sql/parser.h"

namespace jet::sql {

namespace {

// Reads an unsigned decimal number of 1..4 digits at s[i]; returns its digit count.
size_t read_number(std::string_view s, size_t& i, int& value) {
    size_t b = i;
    value = 0;
    while (i < s.size() && i - b < 5 && s[i] >= '0' && s[i] <= '9')
        value = value * 10 + (s[i++] - '0');
    return i - b;
}

bool is_date_separator(char c) {
    return c == '-' || c == '/' || c == ' ' || c == '.' || c == '\t';
}

bool leap(int y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int days_in_month(int y, int m) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && leap(y) ? 29 : kDays[m - 1];
}

}  // namespace

bool parse_date_parts(std::string_view s, DateParts& out) {
    out = DateParts{};
    size_t i = 0;
    auto skip_blanks = [&] {
        while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
    };
    skip_blanks();
    // The time starts at the number directly before the first ':'.
    size_t colon = s.find(':');
    size_t time_at = s.size();
    if (colon != std::string_view::npos) {
        time_at = colon;
        while (time_at > 0 && s[time_at - 1] >= '0' && s[time_at - 1] <= '9') --time_at;
    }
    int nums[3];
    size_t widths[3];
    int count = 0;
    while (i < time_at) {
        if (count == 3) return false;
        widths[count] = read_number(s, i, nums[count]);
        if (widths[count] == 0 || widths[count] > 4) return false;
        ++count;
        size_t sep = i;
        while (i < time_at && is_date_separator(s[i])) ++i;
        if (i < time_at && i == sep) return false;  // something that is no separator
    }
    if (count == 0) {
        out.has_date = false;
    } else if (count == 3) {
        if (widths[0] > 2) {  // yyyy-mm-dd
            out.year = nums[0], out.month = nums[1], out.day = nums[2];
        } else if (nums[0] <= 12) {  // mm-dd-yyyy
            out.month = nums[0], out.day = nums[1], out.year = nums[2];
        } else {  // dd-mm-yyyy: the first number cannot be a month
            out.day = nums[0], out.month = nums[1], out.year = nums[2];
        }
        if (out.month < 1 || out.month > 12 || out.day < 1) return false;
        // A two-digit year is mapped by the binder; test the day against a leap year then.
        int y = widths[0] > 2 || out.year >= 100 ? out.year : 2000;
        if (out.day > days_in_month(y, out.month)) return false;
    } else {
        return false;
    }
    if (time_at < s.size()) {
        i = time_at;
        out.has_time = true;
        int h = 0, m = 0, sec = 0;
        size_t w = read_number(s, i, h);
        if (w == 0 || w > 2 || i >= s.size() || s[i] != ':') return false;
        ++i;
        w = read_number(s, i, m);
        if (w == 0 || w > 2) return false;
        if (i < s.size() && s[i] == ':') {
            ++i;
            w = read_number(s, i, sec);
            if (w == 0 || w > 2) return false;
        }
        skip_blanks();
        if (i + 1 < s.size() && (s[i + 1] == 'M' || s[i + 1] == 'm') &&
            (s[i] == 'A' || s[i] == 'a' || s[i] == 'P' || s[i] == 'p')) {
            if (h < 1 || h > 12) return false;
            bool pm = s[i] == 'P' || s[i] == 'p';
            h = h % 12 + (pm ? 12 : 0);
            i += 2;
        }
        if (h > 23 || m > 59 || sec > 59) return false;
        out.hour = h, out.minute = m, out.second = sec;
    } else if (!out.has_date) {
        return false;
    }
    skip_blanks();
    return i == s.size();
}

}  // namespace jet::sql
