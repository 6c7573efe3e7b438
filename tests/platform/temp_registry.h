// A fresh folder for each test, with ORVIK_REGISTRY pointing at registry.reg inside it.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

class TempRegistry : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string tmpl = (std::filesystem::temp_directory_path() / "orvik-test-XXXXXX").string();
        ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
        dir = tmpl;
        reg = dir / "registry.reg";
        ::setenv("ORVIK_REGISTRY", reg.c_str(), 1);
    }
    void TearDown() override {
        ::unsetenv("ORVIK_REGISTRY");
        std::filesystem::remove_all(dir);
    }
    static std::string slurp(const std::filesystem::path& p) {
        std::ifstream in(p, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    static void spit(const std::filesystem::path& p, const std::string& text) {
        std::ofstream(p, std::ios::binary) << text;
    }
    std::filesystem::path dir, reg;
};
