// What the relations reach (relacje.cpp): a step's data statements by shape, and whether
// a run of the step changed values with each.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

struct sqlite3;

namespace pokrycie {

// The shape of a data statement (INSERT, UPDATE, DELETE, SELECT ... INTO, a recordset's row
// write): its text with each literal (number, text, date) as "?", a list of them as one,
// blanks as one; "" for any other statement.
std::string Ksztalt(std::string_view sql);

// Sets the engine's statement observer to keep, per shape, the most rows whose values one
// run of the statement changed in the file h (-1 when it only failed): a row put in or
// deleted, or one of which some cell holds another value after the write. A row written
// with the values it held changes none: such a statement reaches nothing.
void Sledz(sqlite3* h);
// What the observer kept, one "ROWS<tab>SHAPE" a line, into plik.
void Zapisz(const std::string& plik);
// Such a file's lines into m, each shape with the most rows of m's and the file's.
void Wczytaj(const std::string& plik, std::map<std::string, int64_t>& m);

// The statements stated unreachable (tests/crash/relacje_nieosiagalne.txt): one line a
// case, "STEP PATTERN  # reason", PATTERN a shape in which "*" stands for any text.
class Nieosiagalne {
  public:
    explicit Nieosiagalne(const std::string& plik);
    // Whether a line states the shape of step krok ("2.72") unreachable.
    bool stwierdza(const std::string& krok, const std::string& ksztalt) const;

  private:
    std::vector<std::pair<std::string, std::string>> wzory_;  // step, pattern in capitals
};

}  // namespace pokrycie
