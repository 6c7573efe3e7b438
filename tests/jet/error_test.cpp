#include "jet/error.h"

#include <gtest/gtest.h>

namespace {

struct Row {
    jet::Fault fault;
    uint32_t number;
    const char* fragment;
};

// The fragments the program's executors look for in a failure's description.
TEST(ErrorTable, NumbersAndFragmentsTheExecutorsMatch) {
    const Row rows[] = {
        {jet::Fault::SyntaxError, 0x80040E14, "Syntax error"},
        {jet::Fault::TableExists, 0x80040E14, "already exists"},
        {jet::Fault::FieldExists, 0x80040E14, "already exists"},
        {jet::Fault::IndexExists, 0x80040E14, "already exists"},
        {jet::Fault::PrimaryKeyExists, 0x80040E14, "already exists"},
        {jet::Fault::NoSuchTable, 0x80040E37, "T1"},
        {jet::Fault::DropMissingTable, 0x80040E37, "T1"},
        {jet::Fault::NoSuchField, 0x80040E14, "There is no field"},
        {jet::Fault::NoSuchIndex, 0x80040E14, "No such index"},
        {jet::Fault::FieldInIndex, 0x80040E14, "part of an index"},
        {jet::Fault::MissingParameter, 0x80040E10,
         "No value given for one or more required parameters."},
        {jet::Fault::TooLong, 0x80040E57, "too small"},
        {jet::Fault::TypeMismatch, 0x80040E07, "Data type mismatch"},
        {jet::Fault::Duplicate, 0x80004005, "duplicate values"},
        {jet::Fault::NullInKey, 0x80004005, "cannot contain a Null value"},
        {jet::Fault::TableLocked, 0x80004005, "The database engine couldn't lock table"},
        {jet::Fault::FileLocked, 0x80004005, "ould not lock file"},
        {jet::Fault::UnrecognizedDatabase, 0x80004005, "Unrecognized database format"},
        {jet::Fault::FolderNotFile, 0x80004005, "is a folder"},
        {jet::Fault::WrongPassword, 0x80040E4D, "password"},
    };
    for (const auto& r : rows) {
        auto e = jet::make_error(r.fault, "T1", "T2");
        EXPECT_EQ(e.number(), r.number) << e.description();
        EXPECT_NE(e.description().find(r.fragment), std::string::npos) << e.description();
    }
}

TEST(ErrorTable, SignedNumberIsWhatVbShows) {
    EXPECT_EQ(jet::make_error(jet::Fault::SyntaxError).signed_number(), -2147217900);
    EXPECT_EQ(jet::make_error(jet::Fault::Duplicate).signed_number(), -2147467259);
    EXPECT_THROW(jet::raise(jet::Fault::TooLong), jet::Error);
}

}  // namespace
