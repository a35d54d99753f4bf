#pragma once
// Errors as velvasto-cli prints them on standard error: the catalogue text on a line, and for a
// device error the detail (which SoundFont, which port, what the audio system said) on the
// next.

#include <exception>

#include "core/errors.h"
#include "midiout/device_error.h"

namespace velvasto::cli {

void PrintError(const CErrMessage& error);
void PrintError(const CDeviceErrMessage& error);
// Any exception caught by a command: the program's errors as above, running out of memory as
// message 62002, anything else as message 62000.
void PrintCurrentException(std::exception_ptr error);

}  // namespace velvasto::cli
