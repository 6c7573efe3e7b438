// Dates as VB keeps them (days since 30 December 1899, the time of day as the fraction)
// and the Jet SQL date literals and period conditions built from them.
#pragma once

#include <string>
#include <string_view>

// The calendar parts of a date serial, the time rounded to the second.
struct DateParts {
    int year = 1899, month = 12, day = 30;
    int hour = 0, minute = 0, second = 0;
};

// VB's DateSerial: the serial of midnight of the given day. A month or day outside its
// range rolls over (month 13 is January of the next year, day 0 the last day of the
// month before).
double date_serial(int year, int month, int day);

// The serial of a time of day (the fraction), as VB's TimeSerial for times within a day.
double time_serial(int hour, int minute, int second);

// The parts of a serial. A negative serial counts whole days back from 30 December 1899
// and keeps the time as its fraction's size, as VB does (-1.25 is 29 December 1899 6:00).
DateParts date_parts(double serial);

// "#MM-dd-yyyy 00:00:00#": the start of d's day as a Jet date literal.
std::string DataSQL_Od(double d);

// "#MM dd yyyy 23:59:59#": the end of d's day (the date parts separated by blanks).
std::string DataSQL_Do(double d);

double Poczatek_Roku(double d);      // 1 January of d's year
double Koniec_Roku(double d);        // 31 December of d's year
double Poczatek_Miesiaca(double d);  // the first day of d's month
double Koniec_Miesiaca(double d);    // the last day of d's month

// " (pole Between #from 00:00:00# and #to 23:59:59#) ", both days whole (dates
// MM-dd-yyyy). A to of zero (the zero date-time) means the one day od; a to earlier than
// od (date and time compared) gives " (0=1) ", which is never true.
std::string Warunek_Okres(double od, std::string_view pole, double do_);

// " (pole Between #dzien 00:00:00# and #dzien 23:59:59#) ".
std::string Warunek_Dzien(double dzien, std::string_view pole);
