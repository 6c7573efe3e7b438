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

// The statement's text with each literal (number, text, date) as "?", a list of them as
// one, blanks as one.
std::string Bez_Literalow(std::string_view sql);
// The shape of a data statement (INSERT, UPDATE, DELETE, SELECT ... INTO, a recordset's row
// write): Bez_Literalow(sql); "" for any other statement.
std::string Ksztalt(std::string_view sql);

// What one shape of statement did at most in one run: the rows whose values it changed in
// the file (a row put in or deleted, or one of which some cell holds another value after
// the write), and the rows it wrote (-1 both when it only failed). A row written with the
// values it held changes none: a statement that changes none reaches nothing.
struct Zasieg {
    int64_t zmienione = -1, zapisane = -1;
};

// Sets the engine's statement observer to keep, per shape, its Zasieg over the file h.
void Sledz(sqlite3* h);
// What the observer kept, one "CHANGED<tab>WRITTEN<tab>SHAPE" a line, into plik.
void Zapisz(const std::string& plik);
// Such a file's lines into m, each shape with the most rows of m's and the file's.
void Wczytaj(const std::string& plik, std::map<std::string, Zasieg>& m);

// True when the word w (in capitals) stands in s (in capitals) as a word of its own.
bool Ma_Slowo(const std::string& s, const std::string& w);

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
