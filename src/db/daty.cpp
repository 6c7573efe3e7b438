#include "db/daty.h"

#include <cmath>
#include <cstdint>
#include <cstdio>

namespace {

// Days from 1 January 1970 to the given civil date (proleptic Gregorian), and back.
int64_t days_from_civil(int64_t y, int64_t m, int64_t d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void civil_from_days(int64_t z, int& y, int& m, int& d) {
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(yoe + era * 400 + (m <= 2));
}

const int64_t kEpoch = days_from_civil(1899, 12, 30);

// The date part of d in the given layout: "MM-dd-yyyy" or "MM dd yyyy".
std::string mdy(double d, char sep) {
    DateParts p = date_parts(d);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02d%c%02d%c%04d", p.month, sep, p.day, sep, p.year);
    return buf;
}

std::string between(double od, std::string_view pole, double do_) {
    return " (" + std::string(pole) + " Between #" + mdy(od, '-') + " 00:00:00# and #" +
           mdy(do_, '-') + " 23:59:59#) ";
}

double midnight(const DateParts& p) {
    return date_serial(p.year, p.month, p.day);
}

}  // namespace

double date_serial(int year, int month, int day) {
    int64_t m0 = static_cast<int64_t>(month) - 1;
    int64_t y = year + (m0 >= 0 ? m0 / 12 : (m0 - 11) / 12);
    int64_t m = m0 - (y - year) * 12 + 1;
    return static_cast<double>(days_from_civil(y, m, 1) - kEpoch + day - 1);
}

double time_serial(int hour, int minute, int second) {
    return (hour * 3600.0 + minute * 60.0 + second) / 86400.0;
}

DateParts date_parts(double serial) {
    double whole = std::trunc(serial);
    int64_t days = static_cast<int64_t>(whole);
    int64_t secs = std::llround(std::fabs(serial - whole) * 86400.0);
    if (secs >= 86400) {
        secs -= 86400;
        ++days;
    }
    DateParts p;
    civil_from_days(days + kEpoch, p.year, p.month, p.day);
    p.hour = static_cast<int>(secs / 3600);
    p.minute = static_cast<int>(secs / 60 % 60);
    p.second = static_cast<int>(secs % 60);
    return p;
}

std::string DataSQL_Od(double d) {
    return "#" + mdy(d, '-') + " 00:00:00#";
}

std::string DataSQL_Do(double d) {
    return "#" + mdy(d, ' ') + " 23:59:59#";
}

double Poczatek_Roku(double d) {
    return date_serial(date_parts(d).year, 1, 1);
}

double Koniec_Roku(double d) {
    return date_serial(date_parts(d).year, 12, 31);
}

double Poczatek_Miesiaca(double d) {
    DateParts p = date_parts(d);
    p.day = 1;
    return midnight(p);
}

double Koniec_Miesiaca(double d) {
    DateParts p = date_parts(d);
    return date_serial(p.year, p.month + 1, 1) - 1;
}

std::string Warunek_Okres(double od, std::string_view pole, double do_) {
    if (do_ == 0) do_ = od;
    if (do_ < od) return " (0=1) ";
    return between(od, pole, do_);
}

std::string Warunek_Dzien(double dzien, std::string_view pole) {
    return between(dzien, pole, dzien);
}
