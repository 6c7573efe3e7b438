#include "platform/command_line.h"

#include <algorithm>
#include <iostream>

namespace platform {

namespace {

bool listed(std::initializer_list<std::string_view> names, std::string_view name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

}  // namespace

CommandLine parse_command_line(int argc, const char* const* argv,
                               std::initializer_list<std::string_view> flags,
                               std::initializer_list<std::string_view> valued) {
    CommandLine c;
    bool options_end = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view a = argv[i];
        if (options_end || a.size() < 2 || a.front() != '-') {
            c.operands.emplace_back(a);
            continue;
        }
        if (a == "--") {
            options_end = true;
            continue;
        }
        if (a == "-h" || a == "--help") throw HelpRequested();
        std::string value;
        if (listed(valued, a)) {
            if (i + 1 >= argc) throw UsageError(std::string(a) + " needs a value");
            value = argv[++i];
        } else if (!listed(flags, a)) {
            throw UsageError("unknown option " + std::string(a));
        }
        if (!c.options.emplace(a, std::move(value)).second)
            throw UsageError(std::string(a) + " given twice");
    }
    return c;
}

void expect_operands(const CommandLine& c, size_t min, size_t max, std::string_view missing) {
    if (c.operands.size() < min) throw UsageError(std::string(missing) + " is needed");
    if (c.operands.size() > max) throw UsageError("unexpected argument " + c.operands[max]);
}

int refuse_arguments(std::string_view program, std::string_view problem) {
    std::cerr << program << ": " << problem << "\nTry '" << program << " --help' for the usage.\n";
    return kWrongArguments;
}

int show_usage(std::string_view usage) {
    std::cout << usage;
    if (!usage.empty() && usage.back() != '\n') std::cout << '\n';
    std::cout.flush();
    return std::cout ? 0 : 1;
}

}  // namespace platform
