// The command lines of the programs: options and operands, the usage asked for with -h or
// --help (on standard output, exit status 0), and the refusal of wrong arguments (what was
// wrong and where the usage is, on standard error, exit status 2).
#pragma once

#include <initializer_list>
#include <map>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// The exit status of a program given wrong arguments.
inline constexpr int kWrongArguments = 2;

// Wrong arguments; what() says what was wrong.
class UsageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// -h or --help given as an option: the program prints its usage and ends.
class HelpRequested : public std::exception {
  public:
    const char* what() const noexcept override { return "usage asked for"; }
};

struct CommandLine {
    std::vector<std::string> operands;
    std::map<std::string, std::string, std::less<>>
        options;  // given: name -> value ("" for a flag)

    bool has(std::string_view option) const { return options.find(option) != options.end(); }
};

// Splits the arguments after the program's name into options and operands. An argument
// that begins with "-" (other than "-" alone) is an option, up to an argument "--" that
// ends the options; flags stand alone, each option of valued takes the next argument as
// its value. Throws HelpRequested at -h or --help (unless it is a valued option's value or
// follows "--"), UsageError for an option not in either list, a valued option without its
// value and an option given twice.
CommandLine parse_command_line(int argc, const char* const* argv,
                               std::initializer_list<std::string_view> flags,
                               std::initializer_list<std::string_view> valued = {});

// Throws UsageError when there are fewer than min or more than max operands; missing
// names what the first missing operand is ("a database", "an output file").
void expect_operands(const CommandLine& c, size_t min, size_t max, std::string_view missing);

// Prints "program: problem" and a line that points to "program --help" on standard
// error, short so that the problem stays in sight; returns kWrongArguments for main to
// return.
int refuse_arguments(std::string_view program, std::string_view problem);

// Prints the usage text on standard output; returns 0 for main to return.
int show_usage(std::string_view usage);

}  // namespace platform
