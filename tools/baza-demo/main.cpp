// baza-demo OUTPUT [--large] [--days N]: writes the demonstration database of release
// 1.65 (--days: that many days of documents instead of the size's own).
#include <charconv>
#include <filesystem>
#include <iostream>

#include "baza/baza.h"
#include "jet/error.h"
#include "platform/command_line.h"

int main(int argc, char** argv) {
    constexpr const char* kUsage = "usage: baza-demo OUTPUT [--large] [--days N]\n";
    std::string wyjscie;
    baza::Opcje o;
    try {
        const auto c = platform::parse_command_line(argc, argv, {"--large"}, {"--days"});
        platform::expect_operands(c, 1, 1, "an output file");
        wyjscie = c.operands[0];
        o.large = c.has("--large");
        if (c.has("--days")) {
            const std::string& d = c.options.find("--days")->second;
            const auto [koniec, blad] = std::from_chars(d.data(), d.data() + d.size(), o.dni);
            if (blad != std::errc() || koniec != d.data() + d.size() || o.dni <= 0)
                throw platform::UsageError("--days takes a positive number of days, not '" + d +
                                           "'");
        }
    } catch (const platform::HelpRequested&) {
        return platform::show_usage(kUsage);
    } catch (const platform::UsageError& e) {
        return platform::refuse_arguments("baza-demo", e.what(), kUsage);
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
