#include "db/rejestr.h"

#include <iostream>

#include "db/komunikaty.h"
#include "db/stan.h"
#include "platform/registry.h"

namespace {

// Registry faults are reported under the name of the program that reads and writes the
// registry here: the conversion.
constexpr const char* kProgram = "konwersja: ";

// The Log line of a registry file that exists and cannot be read, before its reason.
constexpr const char* kPlikRejestruNieczytelny = "Nie można odczytać pliku rejestru: ";

}  // namespace

std::string Czytaj_Rejestr(const std::string& nazwa, int32_t kod) {
    try {
        return platform::registry_read(kod, nazwa);
    } catch (const platform::RegistryError& e) {
        // The value is unknown, not missing: the message that a missing value brings
        // ("Brak Prarametrów.") follows, so the cause stands before it, here and in the Log.
        std::cerr << kProgram << '"' << nazwa << "\" is unknown, not missing: " << e.what() << '\n';
        Zapisz_Log(std::string(kPlikRejestruNieczytelny) + e.what(), "Czytaj_Rejestr", nazwa);
        return {};
    }
}

bool Zapisz_Rejestr(const std::string& nazwa, const std::string& wartosc, int32_t kod) {
    try {
        platform::registry_write(kod, nazwa, wartosc);
        return true;
    } catch (const platform::RegistryError& e) {
        std::cerr << kProgram << '"' << nazwa << "\" not written: " << e.what() << '\n';
        return false;
    }
}

bool registry_can_be_written() {
    try {
        platform::registry_check_writable();
        return true;
    } catch (const platform::RegistryError& e) {
        std::cerr << kProgram << e.what() << '\n';
        return false;
    }
}

namespace {

// The value name of a recent-database slot: the slot number as Str gives it (a blank
// before it), then "manu_baza".
std::string slot_name(int slot) {
    return " " + std::to_string(slot) + "manu_baza";
}

}  // namespace

void Zapisz_Ostatnia_Baze() {
    int wybrany = 0;  // 0 stands for no slot chosen: an empty slot 0 is never taken
    for (int i = 0; i <= 9; ++i) {
        std::string wartosc = Czytaj_Rejestr(slot_name(i), 0);
        if (wartosc == Sciezka_Bazy) return;
        if (wartosc.empty() && wybrany == 0) wybrany = i;
    }
    if (wybrany == 0) {
        for (int i = 1; i <= 9; ++i)
            Zapisz_Rejestr(slot_name(i - 1), Czytaj_Rejestr(slot_name(i), 0), 0);
        wybrany = 9;
    }
    Zapisz_Rejestr(slot_name(wybrany), Sciezka_Bazy, 0);
}
