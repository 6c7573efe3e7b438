// zawartosc_bazy FOLDER: prints the whole database FOLDER/baza.mdb as the end-to-end tests
// compare it (droga::zawartosc), for scripts that compare two runs.
#include <cstdio>
#include <exception>
#include <iostream>

#include "droga.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: zawartosc_bazy FOLDER  (the folder of baza.mdb)\n";
        return 2;
    }
    try {
        std::cout << droga::zawartosc(argv[1]);
    } catch (const std::exception& e) {
        std::cerr << "zawartosc_bazy: " << e.what() << "\n";
        return 1;
    }
    return std::cout.flush() ? 0 : 1;
}
