#pragma once

namespace velmora {

/// Runs the sort scan `Tallix SOURCE TMP` with the program's arguments and
/// gives its exit status: 0 when the summary was written, 2 on a wrong
/// argument count, 3 when the job folder's files cannot be opened, 1 when the
/// summary cannot be written. Prints only on standard error.
int runTallix(int argc, char** argv);

}  // namespace velmora
