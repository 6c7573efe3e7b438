// A full disk injected into the writes of one step, for the sweep of stops inside steps
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
// "<step>:<N>:chwilowa" or "<step>:<N>:zabij" with N > 0.
void zainstaluj(std::map<int, KrokZastepczy>& kroki);

}  // namespace awaria
