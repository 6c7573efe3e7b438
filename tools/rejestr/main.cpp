// rejestr: reads and writes the converter's registry file, so that a person or a script
// can play the starting program's side of the hand-shake.
//
//   rejestr get NAME [--key N]        prints the value ("" when missing)
//   rejestr set NAME VALUE [--key N]  writes the value
//   rejestr list [--key N]            prints every value of the key as "name"="value"
//
// N is the key code 0 (default), 1 or 2. Exit status: 0 done, 1 failure (message on
// standard error), 2 wrong arguments. -h or --help prints the usage, with the registry
// file that the environment names.
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "platform/command_line.h"
#include "platform/paths.h"
#include "platform/registry.h"

namespace {

// The usage, with the registry file of this environment.
std::string usage_text() {
    return "usage: rejestr get NAME [--key N]\n"
           "       rejestr set NAME VALUE [--key N]\n"
           "       rejestr list [--key N]\n"
           "N: 0 HKEY_LOCAL_MACHINE\\Software\\ORVIK (default), 1 HKEY_CURRENT_USER\\"
           "Control Panel\\International, 2 HKEY_CLASSES_ROOT\\.lnk\\International\n"
           "(-- before a name or value that begins with -)\n" +
           platform::registry_file_help() +
           "Exit status: 0 done, 1 failure (the reason on standard error), 2 wrong arguments.\n";
}

int usage(const std::string& problem) {
    return platform::refuse_arguments("rejestr", problem);
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args;
    int key = 0;
    try {
        const auto c = platform::parse_command_line(argc, argv, {}, {"--key"});
        if (c.has("--key")) {
            const std::string& n = c.options.find("--key")->second;
            if (n != "0" && n != "1" && n != "2") return usage("the key code must be 0, 1 or 2");
            key = n[0] - '0';
        }
        args = c.operands;
    } catch (const platform::HelpRequested&) {
        return platform::show_usage(usage_text());
    } catch (const platform::UsageError& e) {
        return usage(e.what());
    }
    if (args.empty()) return usage("a command is needed");
    const std::string& cmd = args[0];
    try {
        if (cmd == "get") {
            if (args.size() != 2) return usage("get takes one name");
            std::cout << platform::registry_read(key, args[1]) << '\n';
        } else if (cmd == "set") {
            if (args.size() != 3) return usage("set takes a name and a value");
            platform::registry_write(key, args[1], args[2]);
        } else if (cmd == "list") {
            if (args.size() != 1) return usage("list takes no name");
            for (const auto& [name, value] : platform::registry_list(key))
                std::cout << (name == "@" ? name : platform::registry_quote(name)) << '='
                          << platform::registry_quote(value) << '\n';
        } else {
            return usage("unknown command " + cmd);
        }
    } catch (const std::exception& e) {
        std::cerr << "rejestr: " << e.what() << '\n';
        return 1;
    }
    std::cout.flush();
    return std::cout ? 0 : 1;
}
