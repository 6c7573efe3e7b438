#include "db/daty.h"

#include <cstdio>

#include "jet/dates.h"
#include "jet/error.h"

namespace {

using jet::dates::Parts;

Parts parts(double d) {
    if (!jet::dates::in_range(d)) jet::raise(jet::Fault::Overflow);
    return jet::dates::from_serial(d);
}

double serial(int year, int month, int day) {
    auto s = jet::dates::to_serial(year, month, day);
    if (!s) jet::raise(jet::Fault::Overflow);
    return *s;
}

// The date part of d in the layout "MM-dd-yyyy", or "MM dd yyyy" with blanks.
std::string mdy(double d, char sep) {
    Parts p = parts(d);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02d%c%02d%c%04d", p.month, sep, p.day, sep, p.year);
    return buf;
}

std::string between(double od, std::string_view pole, double do_) {
    return " (" + std::string(pole) + " Between #" + mdy(od, '-') + " 00:00:00# and #" +
           mdy(do_, '-') + " 23:59:59#) ";
}

}  // namespace

std::string DataSQL_Od(double d) {
    return "#" + mdy(d, '-') + " 00:00:00#";
}

std::string DataSQL_Do(double d) {
    return "#" + mdy(d, ' ') + " 23:59:59#";
}

double Poczatek_Roku(double d) {
    return serial(parts(d).year, 1, 1);
}

double Koniec_Roku(double d) {
    return serial(parts(d).year, 12, 31);
}

double Poczatek_Miesiaca(double d) {
    Parts p = parts(d);
    return serial(p.year, p.month, 1);
}

double Koniec_Miesiaca(double d) {
    Parts p = parts(d);
    if (p.month == 12) return serial(p.year, 12, 31);
    return serial(p.year, p.month + 1, 1) - 1;
}

std::string Warunek_Okres(double od, std::string_view pole, double do_) {
    if (do_ == 0) do_ = od;
    if (do_ < od) return " (0=1) ";
    return between(od, pole, do_);
}

std::string Warunek_Dzien(double dzien, std::string_view pole) {
    return between(dzien, pole, dzien);
}
