// Splitting command lines into options and operands, and what wrong ones are told.
#include "platform/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using platform::CommandLine;
using platform::UsageError;

// Parses args (the program's name added) with the flag --large and the valued --key.
CommandLine parse(std::vector<const char*> args) {
    args.insert(args.begin(), "program");
    return platform::parse_command_line(static_cast<int>(args.size()), args.data(), {"--large"},
                                        {"--key"});
}

TEST(CommandLine, SplitsOptionsAndOperands) {
    struct Case {
        std::vector<const char*> args;
        std::vector<std::string> operands;
        std::string key;  // "(none)" when --key is not given
        bool large;
    } cases[] = {
        {{}, {}, "(none)", false},
        {{"a", "b"}, {"a", "b"}, "(none)", false},
        {{"--large", "a"}, {"a"}, "(none)", true},
        {{"a", "--key", "2", "b"}, {"a", "b"}, "2", false},
        {{"--key", "--large"}, {}, "--large", false},  // a value may look like an option
        {{"--key", ""}, {}, "", false},
        {{"-", "a"}, {"-", "a"}, "(none)", false},  // "-" alone is an operand
        {{"a", "--", "--large", "-5"}, {"a", "--large", "-5"}, "(none)", false},
        {{"--", "--"}, {"--"}, "(none)", false},
    };
    for (const auto& c : cases) {
        std::string shown;
        for (const char* a : c.args) shown += std::string(a) + " ";
        SCOPED_TRACE(shown);
        const CommandLine r = parse(c.args);
        EXPECT_EQ(r.operands, c.operands);
        EXPECT_EQ(r.has("--key") ? r.options.at("--key") : "(none)", c.key);
        EXPECT_EQ(r.has("--large"), c.large);
    }
}

TEST(CommandLine, WrongArgumentsSayWhatWasWrong) {
    struct Case {
        std::vector<const char*> args;
        const char* problem;
    } cases[] = {
        {{"--hel"}, "unknown option --hel"},
        {{"a", "-H"}, "unknown option -H"},
        {{"--larg"}, "unknown option --larg"},
        {{"--larg", "--help"}, "unknown option --larg"},  // the first fault is told
        {{"--key"}, "--key needs a value"},
        {{"a", "--key"}, "--key needs a value"},
        {{"--large", "--large"}, "--large given twice"},
        {{"--key", "1", "--key", "2"}, "--key given twice"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.problem);
        try {
            parse(c.args);
            ADD_FAILURE() << "accepted";
        } catch (const UsageError& e) {
            EXPECT_STREQ(e.what(), c.problem);
        }
    }
}

// -h and --help ask for the usage wherever they stand among the options, but not as a
// valued option's value or after "--".
TEST(CommandLine, HelpIsAskedForAsAnOption) {
    struct Case {
        std::vector<const char*> args;
        bool help;
    } cases[] = {
        {{"--help"}, true},     {{"-h"}, true},          {{"a", "b", "-h"}, true},
        {{"--help", "--larg"}, true},  // asked for before the fault
        {{"--key", "--help"}, false},  {{"--", "--help"}, false}, {{"-help"}, false},
    };
    for (const auto& c : cases) {
        std::string shown;
        for (const char* a : c.args) shown += std::string(a) + " ";
        SCOPED_TRACE(shown);
        bool help = false;
        try {
            parse(c.args);
        } catch (const platform::HelpRequested&) {
            help = true;
        } catch (const UsageError&) {
        }
        EXPECT_EQ(help, c.help);
    }
}

TEST(CommandLine, UsageAskedForGoesToStandardOutputWithStatus0) {
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    const int status = platform::show_usage("usage: wersja-bazy DATABASE");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "usage: wersja-bazy DATABASE\n");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(status, 0);
}

TEST(CommandLine, OperandCount) {
    struct Case {
        std::vector<const char*> args;
        size_t min, max;
        const char* problem;  // nullptr when accepted
    } cases[] = {
        {{}, 0, 0, nullptr},
        {{"a"}, 0, 0, "unexpected argument a"},
        {{}, 1, 1, "a database is needed"},
        {{"a"}, 1, 1, nullptr},
        {{"a", "b", "c"}, 1, 2, "unexpected argument c"},
        {{"a", "b"}, 1, 2, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.problem ? c.problem : "accepted");
        const CommandLine r = parse(c.args);
        try {
            platform::expect_operands(r, c.min, c.max, "a database");
            EXPECT_EQ(c.problem, nullptr);
        } catch (const UsageError& e) {
            ASSERT_NE(c.problem, nullptr) << e.what();
            EXPECT_STREQ(e.what(), c.problem);
        }
    }
}

TEST(CommandLine, RefusalGoesToStandardErrorWithStatus2) {
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    const int status = platform::refuse_arguments("wersja-bazy", "a database is needed");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "wersja-bazy: a database is needed\nTry 'wersja-bazy --help' for the usage.\n");
    EXPECT_EQ(status, 2);
}

}  // namespace
