#pragma once
// Errors as velvasto-cli prints them on standard error: the catalogue text on a line, and for a
// device error the detail (which SoundFont, which port, what the audio system said) on the
// next.

#include <exception>

namespace velvasto::cli {

// Any exception caught by a command: the program's errors as above, running out of memory as
// message 62002, anything else as message 62000.
void PrintCurrentException(std::exception_ptr error);

}  // namespace velvasto::cli
