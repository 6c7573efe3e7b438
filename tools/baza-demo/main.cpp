// baza-demo OUTPUT [--large] [--days N]: writes the demonstration database of release
// 1.65 (--days: that many days of documents instead of the size's own).
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>

#include "baza/baza.h"
#include "jet/error.h"

int main(int argc, char** argv) {
    std::string wyjscie;
    baza::Opcje o;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--large") == 0)
            o.large = true;
        else if (std::strcmp(argv[i], "--days") == 0 && i + 1 < argc && std::atoi(argv[i + 1]) > 0)
            o.dni = std::atoi(argv[++i]);
        else if (wyjscie.empty() && argv[i][0] != '-')
            wyjscie = argv[i];
        else {
            wyjscie.clear();
            break;
        }
    }
    if (wyjscie.empty()) {
        std::cerr << "usage: baza-demo OUTPUT [--large] [--days N]\n";
        return 2;
    }
    if (std::filesystem::exists(wyjscie)) {
        std::cerr << "baza-demo: " << wyjscie << " already exists\n";
        return 1;
    }
    try {
        baza::zbuduj_baze_165(wyjscie, o);
    } catch (const jet::Error& e) {
        std::cerr << "baza-demo: " << e.description() << "\n";
        std::error_code ec;
        for (const char* koncowka : {"", "-wal", "-shm", "-journal"})
            std::filesystem::remove(wyjscie + koncowka, ec);
        return 1;
    }
    return 0;
}
