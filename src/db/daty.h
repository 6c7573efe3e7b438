// Dates as VB keeps them (days since 30 December 1899, the time of day as the fraction)
// and the Jet SQL date literals and period conditions built from them.
#pragma once

#include <string>
#include <string_view>

// Every date is a serial of VB's Date (jet/dates.h); the results below are at
// midnight. A date outside VB's range (years 100 to 9999) raises Overflow.

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
