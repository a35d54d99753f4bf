// Feeds arbitrary bytes to the RCP reader as a song file (see recomposer_fuzz.h).

#include "recomposer_fuzz.h"
#include "song/rcp_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  velvasto::fuzz::LoadAndCheck<velvasto::CRCPFile>(data, size, "fuzz.rcp");
  return 0;
}
