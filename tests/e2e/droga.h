// The demonstration database's road through the real program, for the end-to-end tests
// that compare whole databases: the release 1.65 database converted by one uninterrupted
// run (the straight run), and the same database converted by a chain of runs of builds
// that stop at given versions (the chain), each stop's database kept. Both are computed
// once per build and kept in a folder of the build tree, so that every test process of
// the program reuses them: a killed run starts from the chain's database at the version
// before the step it kills and is compared at the chain's next stop.
//
// Why a comparison at a stop stands for one at the end: the program's only input is the
// database (its version included) and the working date, so two databases equal at a
// stop end equal when run on. The chain's last database equal to the straight run's
// shows that running on from any of its stops ends as the straight run.
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace droga {

namespace fs = std::filesystem;

// Releases at which the chain stops: databases made by builds that end there.
inline constexpr int kWydania[] = {250, 389, 466, 558};
// Steps inside which runs are killed, spread over the road; the chain stops before each
// and after it. Step 4.07 (the production split) has its own test.
inline constexpr int kZabijane[] = {170, 272, 371, 462, 482, 534, 548, 630};
inline constexpr int kPodzialProdukcji = 407;
// Steps that a run of the suite's earlier tool leaves half done in the tests of such
// states; the chain stops before each and after it.
inline constexpr int kPrzerwane[] = {212, 234, 242, 244, 270, 271, 272, 304, 308, 322, 378, 388};

// ---- the dispatch table ----

// The first step after od that this build does not have (647 when it has them all).
int pierwszy_niezbudowany(int od);
// The first step method after step v (647 when none): where a build that stops after v
// must be cut.
int nastepna_metoda(int v);
// A step's version as [Nieruszac] reads back: 250 -> "2,5", 407 -> "4,07", 500 -> "5".
std::string tekst_wersji(int v);

// ---- runs of the program on a folder holding baza.mdb ----

// Writes the folder's registry file with the request: marker 0123 and the database.
void zadanie(const fs::path& folder);
// Starts a program (konwersja, or the program with test steps KONW_KROKI=kroki) on the
// folder, unattended, its output appended to out.txt and err.txt; its process id.
pid_t wystartuj(const fs::path& folder, const char* program, const std::string& kroki = "");
// Waits for a program started: its exit status, or 128 + the signal that ended it.
int koniec(pid_t pid);
int uruchom(const fs::path& folder, const char* program, const std::string& kroki = "");
// Starts the program and kills it opoznienie_ms after the log shows that step krok
// began (or when the program ends, or after two minutes). Returns as koniec.
int uruchom_i_zabij_w_kroku(const fs::path& folder, const char* program, const std::string& kroki,
                            int krok, int opoznienie_ms);

// ---- what a run left ----

// The whole database as text: its properties, every user table with its columns,
// indexes and rows in the table's own order, and the relations. The folder's own path
// is written as "<folder>", so that copies in other folders compare equal.
std::string zawartosc(const fs::path& folder);
// [Nieruszac].NumerWersji as text ("4,06").
std::string wersja(const fs::path& folder);
// The first value of a query on the folder's database, as text ("" when it has no row).
std::string jedna(const fs::path& folder, const std::string& sql);
// Runs statements on the folder's database, with the suite's password; a failing one
// changes nothing. Returns how many failed.
int wykonaj(const fs::path& folder, const std::vector<std::string>& polecenia);
// The step numbers of the folder's log lines "Konwersja,<co>" ("Begin" or "End").
std::vector<int> kroki(const fs::path& folder, const std::string& co);
// A value of the folder's registry file ("" when missing).
std::string rejestr(const fs::path& folder, const std::string& nazwa);
std::string tekst(const fs::path& plik);
// Copies the database of one folder into another (created when missing).
void kopiuj_baze(const fs::path& z, const fs::path& do_);

// ---- the road ----

// A run kept in the road's folder: the database, Log, registry.reg, out.txt, err.txt,
// and "status" and "zawartosc.txt" (zawartosc of the database as the run left it).
struct Przebieg {
    fs::path folder;
    int status() const;
    std::string zawartosc() const;
};

struct Droga {
    int koniec = 0;    // the last step the road reaches: 646, or before the first unbuilt
    Przebieg wzor;     // the release 1.65 database, never run
    Przebieg prosty;   // the straight run
    Przebieg lancuch;  // the chain's last run, which ends the road
    // The chain's stops by the step at which the build stopped (its database is at the
    // step before): every stop whose step is built, in step order.
    std::map<int, Przebieg> postoje;
    // How long the run to each stop took (ms), for placing a kill inside its steps.
    std::map<int, int> czas_ms;
};

// The road of this build, computed on first use in this build (a lock keeps parallel
// test processes to one computation; the others wait and reuse it).
const Droga& ta_droga();
// Computes the road unless the kept one is of this build; 0 when done (the CTest
// fixture that runs before the tests that use it).
int przygotuj();

// Where the road goes on from a database at a step before krok: the chain's first stop
// at or after krok, or (none left) the end of the road. A run of `program` with `kroki`
// on it stops there; its database must then equal `wzorzec`'s.
struct Cel {
    const char* program;
    std::string kroki;
    const Przebieg* wzorzec;
    int wersja;  // the step its database is at
};
Cel cel_od(int krok);

}  // namespace droga
