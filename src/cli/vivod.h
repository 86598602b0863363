// The last thing a run does: its output reaches its destination or the
// failure is told.
#pragma once

// Flushes standard output and standard error and checks that every write to
// them succeeded. A failed write (now or earlier: a full disk, a closed
// descriptor) ends the program with "ciframer-cli: write error: REASON" on
// stderr and status 1. A reader that went away (EPIPE, when SIGPIPE is
// ignored; by default SIGPIPE has ended the program already) is a quiet
// end: status 1, no message, as coreutils do. Otherwise kod is returned.
int ZavershitVivod(int kod);
