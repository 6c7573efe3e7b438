// baza-demo OUTPUT [--large] [--days N]: writes the demonstration database of release
// 1.65; its usage text (kUsage) says what the options make and the exit statuses.
#include <charconv>
#include <filesystem>
#include <iostream>
#include <string>

#include "baza/baza.h"
#include "jet/error.h"
#include "platform/command_line.h"

namespace {

// Why a file could not be made at path when its folder is missing; "" when it is there
// (a file where a folder should be is named by the engine's own failure).
std::string folder_problem(const std::string& path) {
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    std::error_code ec;
    if (folder.empty() ||
        std::filesystem::status(folder, ec).type() != std::filesystem::file_type::not_found)
        return "";
    return "folder '" + folder.string() + "' does not exist";
}

}  // namespace

int main(int argc, char** argv) {
    constexpr const char* kUsage =
        "usage: baza-demo OUTPUT [--large] [--days N]\n"
        "Writes a new file OUTPUT: the suite's database of release 1.65 with the rows of a\n"
        "small bakery, under the suite's database password (konwersja, wersja-bazy and\n"
        "jetsql --suite open it; jetsql without --suite refuses it). The rows are the same\n"
        "at every run.\n"
        "Without options: a few dozen products and contractors and three months of daily\n"
        "documents from 2000-01-03 (about 6,000 document lines).\n"
        "--large: the benchmark's size: 200 products, about 1,000 contractors and two years\n"
        "of daily documents from 1998-01-03 (about a million document lines).\n"
        "--days N: N days of documents (N > 0) instead of the size's three months or two\n"
        "years.\n"
        "Exit status: 0 written; 1 OUTPUT exists already (it is left as it is), its folder\n"
        "does not exist, or the file cannot be written (the reason on standard error;\n"
        "nothing is left of it); 2 wrong arguments.\n";
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
        return platform::refuse_arguments("baza-demo", e.what());
    }
    if (std::filesystem::exists(wyjscie)) {
        std::cerr << "baza-demo: " << wyjscie << " already exists\n";
        return 1;
    }
    try {
        baza::zbuduj_baze_165(wyjscie, o);
    } catch (const jet::Error& e) {
        const std::string folder =
            e.fault() == jet::Fault::FileNotFound ? folder_problem(wyjscie) : "";
        std::cerr << "baza-demo: " << (folder.empty() ? e.description() : folder) << "\n";
        // A file that appeared since the look above (or a link to none) is not ours: it
        // stays as it was.
        if (e.fault() == jet::Fault::DatabaseExists) return 1;
        std::error_code ec;
        for (const char* koncowka : {"", "-wal", "-shm", "-journal"})
            std::filesystem::remove(wyjscie + koncowka, ec);
        return 1;
    }
    return 0;
}
