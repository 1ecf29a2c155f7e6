#pragma once
// The command line's /compare: two inventory files in, a changes file out, and the exit
// code that says whether anything changed.
#include "run/CommandLine.h"
#include "run/ProgressReport.h"
#include "run/RunControl.h"
#include "ui/ListCommand.h"

// Exit codes: Complete when nothing changed, Differences when something did,
// BadArguments for a bad inventory (nothing written), CannotCreate, and Incomplete when
// a write failed part-way or the control stopped the comparison.
CommandOutcome RunCompare(const CommandLine& command, const RunControl& control, ProgressReport* progress);
