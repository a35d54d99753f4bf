#pragma once
// Standard output as the commands use it: what they print must arrive, and when it cannot (a
// full disk, a closed output) the command says so on standard error with the system's reason
// and exits with status 1.

namespace velvasto::cli {

// Gives each of the standard descriptors 0, 1 and 2 that the program was started without a
// read-only /dev/null. A file the program opens then never takes its place, so what is printed
// never lands in a song or a recording: it fails, as printing to a closed output should.
void KeepStandardDescriptorsTaken();

// Flushes standard output. kExitOk when everything printed went out; else prints
// "standard output: <reason>" on standard error and returns kExitFileError. `writeError` is
// the system's error number of a write that failed before, when the caller kept it.
int FinishStandardOutput(int writeError = 0);

}  // namespace velvasto::cli
