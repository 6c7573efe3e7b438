// Process-wide values of the connection state that the helpers read.
#pragma once

#include <cstdint>
#include <string>

inline std::string Sciezka_Bazy;        // full path of the database file; "" until read
inline std::string Biezaca_Operacja;    // name of the current operation (message titles, log)
inline std::string Uzytkownik;          // user of the suite ("" during a conversion run)
inline std::string Stanowisko;          // workstation ("" during a conversion run)
inline std::string Uzytkownik_Windows;  // login name ("" during a conversion run)
inline double Wersja_Bazy = 0;          // database version, two decimals (1.65 .. 6.46)
inline int Krok_Konwersji = 0;  // the step being run, its version times 100 (0: none)
inline int16_t Baza_Otwarta = 0;        // -1 open, 0 closed
