// wersja-bazy DATABASE: prints the version recorded in a database of the suite
// ([Nieruszac].[NumerWersji], "." as the decimal separator), as the conversion reads it:
// through the program's own connection, password included, as a reader: a file that may
// not be written (a backup) is read without writing anything. Exit status 0, or 1 with
// the engine's message on standard error when the file or the version cannot be read, 2
// for wrong arguments.
#include <cstdio>
#include <iostream>
#include <string>

#include "ado/ado.h"
#include "db/polaczenie.h"
#include "platform/command_line.h"

int main(int argc, char** argv) {
    constexpr const char* kUsage =
        "usage: wersja-bazy DATABASE\n"
        "Prints the version recorded in the database ([Nieruszac].[NumerWersji]) as the\n"
        "conversion reads it, with two decimals and \".\" as the decimal separator\n"
        "(e.g. 6.46), or Null when none is recorded. A file that may not be written (its\n"
        "mode gives no one the right to write, for root too; its folder's likewise; this\n"
        "user's rights; a read-only file system) is read without writing anything, as any\n"
        "file is.\n"
        "Exit status: 0 printed; 1 the file or its version cannot be read (the reason on\n"
        "standard error); 2 wrong arguments.\n";
    std::string baza;
    try {
        const auto c = platform::parse_command_line(argc, argv, {});
        platform::expect_operands(c, 1, 1, "a database");
        baza = c.operands[0];
    } catch (const platform::HelpRequested&) {
        return platform::show_usage(kUsage);
    } catch (const platform::UsageError& e) {
        return platform::refuse_arguments("wersja-bazy", e.what());
    }
    try {
        ado::Connection c;
        c.Mode = ado::adModeRead;  // a backup that may not be written is read too
        c.Open(connection_string(baza));
        ado::Recordset rs;
        rs.Open("SELECT [NumerWersji] FROM Nieruszac", c);
        if (rs.Eof()) {
            std::cerr << "wersja-bazy: [Nieruszac] has no row\n";
            return 1;
        }
        const jet::Value v = rs.Fields(0).value();
        if (v.is_null()) {
            std::cout << "Null\n";
        } else {
            std::printf("%.2f\n", v.to_double());
        }
        rs.Close();
        c.Close();
    } catch (const jet::Error& e) {
        std::cerr << "wersja-bazy: " << e.description() << '\n';
        return 1;
    }
    return 0;
}
