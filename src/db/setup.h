// Setup values of the database: the [Setup] table and, from version 4.73, per-user
// values in [uzytkownicy_setup]. All three routines do nothing below version 4.73.
#pragma once

#include <string>
#include <string_view>

// The [Wartosc] of the [Setup] row of the upper-cased name; "" when there is none, the
// value is Null, the name is "", the version is below 4.73 or the database is closed.
std::string Czytaj_Setup(std::string_view nazwa);

// Sets the [Setup] row of the upper-cased name to wartosc, adding it when missing.
void Zapisz_Setup(std::string_view nazwa, std::string_view wartosc);

// Sets the user's row of [uzytkownicy_setup] (the logged-in user when uzytkownik is "")
// to wartosc, adding it with the upper-cased name and user when missing.
void Zapisz_Setup_Uzytkownika(std::string_view nazwa, std::string_view wartosc,
                              std::string_view uzytkownik);
