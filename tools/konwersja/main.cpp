// konwersja: brings the suite's database to the current version. It takes no
// arguments: the suite leaves the request and the database path in the registry. -h or
// --help prints the usage (with where the registry file is); any other argument is
// refused (exit status 2). Either way the registry and the database are not touched.
#include "driver/start.h"
#include "platform/command_line.h"

int main(int argc, char** argv) {
    constexpr const char* kUsage =
        "usage: konwersja\n"
        "(no arguments: the request and the database path are read from the registry)\n"
        "The registry file: $ORVIK_REGISTRY when set, else\n"
        "$XDG_CONFIG_HOME/orvik/registry.reg, else ~/.config/orvik/registry.reg.\n"
        "The exit status and the result marker: the table \"Exit status\" in README.md.\n";
    try {
        platform::expect_operands(platform::parse_command_line(argc, argv, {}), 0, 0, "");
    } catch (const platform::HelpRequested&) {
        return platform::show_usage(kUsage);
    } catch (const platform::UsageError& e) {
        return platform::refuse_arguments("konwersja", e.what(), kUsage);
    }
    Form_Load();
}
