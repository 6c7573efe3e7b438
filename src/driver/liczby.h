// Number texts of the driver.
#pragma once

#include <string>

// The plain text of a number, as the log and the registry receive it: a blank before a
// number that is not negative, "." as the decimal separator, no trailing zeros
// (" 166", " 1.66", " 1.7", "-2").
std::string Tekst_Liczby(double v);

// A number formatted "0.00" with the system's decimal comma ("1,66"); halves away
// from zero.
std::string Format_Liczby_2(double v);
