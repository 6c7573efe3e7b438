// The road's test program: its tests, or with --przygotuj only the road they share.
#include <gtest/gtest.h>

#include <exception>
#include <iostream>
#include <string>

#include "droga.h"

int main(int argc, char** argv) {
    if (argc == 2 && std::string(argv[1]) == "--przygotuj") {
        try {
            return droga::przygotuj();
        } catch (const std::exception& e) {
            std::cerr << "the road: " << e.what() << '\n';
            return 1;
        }
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
