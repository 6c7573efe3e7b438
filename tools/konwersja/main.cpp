// konwersja: brings the suite's database to the current version. It takes no
// arguments: the suite leaves the request and the database path in the registry. -h or
// --help prints the usage (with where the registry file is, how questions are answered,
// the fast waits and the log); any other argument is refused (exit status 2). Either way
// the registry and the database are not touched.
#include <string>

#include "driver/start.h"
#include "platform/command_line.h"
#include "platform/paths.h"

int main(int argc, char** argv) {
    const std::string usage =
        "usage: konwersja\n"
        "(no arguments: the request and the database path are read from the registry)\n" +
        platform::registry_file_help() +
        "Questions are answered from $ORVIK_ANSWERS when set (answer codes separated by\n"
        "commas, one per question in order: 1 OK, 3 Abort, 4 Retry, 5 Ignore, 6 Yes, 7 No),\n"
        "else at the terminal, else by their safe answer (OK, Abort, No).\n"
        "ORVIK_FAST_WAIT=1 skips the waits of some seconds; the result is the same.\n"
        "The log: the file Log in the database's folder, with a line where each step begins\n"
        "and ends (Rejestr.txt in the registry file's folder when no database is known).\n"
        "The exit status and the result marker: the table \"Exit status\" in README.md.\n";
    try {
        platform::expect_operands(platform::parse_command_line(argc, argv, {}), 0, 0, "");
    } catch (const platform::HelpRequested&) {
        return platform::show_usage(usage);
    } catch (const platform::UsageError& e) {
        return platform::refuse_arguments("konwersja", e.what());
    }
    Form_Load();
}
