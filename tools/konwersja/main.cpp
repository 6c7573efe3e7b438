// konwersja: brings the suite's database to the current version. It takes no
// arguments: the suite leaves the request and the database path in the registry. Any
// argument is refused (exit status 2) before the registry or a database is touched.
#include "driver/start.h"
#include "platform/command_line.h"

int main(int argc, char** argv) {
    try {
        platform::expect_operands(platform::parse_command_line(argc, argv, {}), 0, 0, "");
    } catch (const platform::UsageError& e) {
        return platform::refuse_arguments(
            "konwersja", e.what(),
            "usage: konwersja\n"
            "(no arguments: the request and the database path are read from the registry)\n");
    }
    Form_Load();
}
