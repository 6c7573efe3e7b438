// Every complete statement the conversion runs must parse.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "jet/error.h"
#include "jet/sql/parser.h"

namespace {

TEST(ParserCorpus, EveryStatementOfTheConversionParses) {
    std::ifstream in(KONW_SOURCE_DIR "/tests/jet/corpus/statements.sql");
    ASSERT_TRUE(in) << "corpus missing";
    std::string line;
    int count = 0;
    while (std::getline(in, line)) {
        if (line.empty() || line.rfind("--", 0) == 0) continue;
        ++count;
        try {
            (void)jet::sql::parse(line);
        } catch (const jet::Error& e) {
            ADD_FAILURE() << line << "\n  -> " << e.description();
        }
    }
    EXPECT_GT(count, 1000);
}

}  // namespace
