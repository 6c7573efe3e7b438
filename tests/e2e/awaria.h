// A full disk, or the engine's refusal of a row's save part way, injected into the writes
// of one step, for the sweep of stops inside steps
// (tests/crash/stops_in_steps.sh), and the count of each step's writes that tells the
// sweep where a step can stop. A write is one writing statement of the engine (an
// INSERT, UPDATE, DELETE, schema statement or recordset update), counted while the
// step's method runs: the loop's own writes (the version) are not the step's.
//
//   KONW_AWARIA="<step>:<N>"  the N-th write of the step fails with "Not enough space
//                             on disk.", and so does every later write of the process:
//                             those of the step, and the loop's version after it when
//                             the step absorbed its failures;
//   KONW_AWARIA="<step>:<N>:chwilowa"
//                             only the N-th write of the step fails (a transient
//                             failure); the writes after it succeed, so that a step
//                             that absorbed the failure completes without that write;
//   KONW_AWARIA="<step>:<N>:zabij"
//                             what the step wrote before its N-th write is committed and
//                             the process is killed (SIGKILL) before that write: the state
//                             that the suite's earlier tool, which committed each statement
//                             on its own, leaves when it is stopped there, the version
//                             still the one before the step; N may be one more than the
//                             step's writes: killed after its last write, before its
//                             version is recorded;
//   KONW_AWARIA="<step>:<N>:wielo[:<R>]"
//                             the N-th write of the step and the R - 1 after it (R 1 when
//                             not given) fail as the engine refuses a recordset's save of a
//                             row part way: 0x80040E21, "multiple-step operation failed";
//                             each only where it is a save of a row (Update, AddNew), which
//                             is where the engine raises it; any other write among them
//                             goes through, and standard error says so: "awaria: write <N>
//                             of step <step> is no recordset's row save: not refused";
//   KONW_AWARIA_LICZ=<file>   each step that returns appends "<step> <writes> <change>..."
//                             to the file, each change the number of a write made from
//                             another place in the program than the write before it (the
//                             first of a statement's writes, or of a record loop's).
// A step whose method returned after its failed write says so on standard error, with
// the writes it made, the failed ones included: "awaria: step <step> returned after its
// failed write (<writes> writes)".
#pragma once

#include <map>

#include "driver/konwersje.h"

namespace awaria {

// Wraps the steps that the environment asks for: those of kroki as they are (a test
// step), the others as this build has them. Sets nothing when neither variable is set.
// Throws std::invalid_argument for a KONW_AWARIA that is not "<step>:<N>",
// "<step>:<N>:chwilowa", "<step>:<N>:zabij" or "<step>:<N>:wielo[:<R>]" with N and R > 0.
void zainstaluj(std::map<int, KrokZastepczy>& kroki);

}  // namespace awaria
