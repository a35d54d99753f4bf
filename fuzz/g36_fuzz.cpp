// Feeds arbitrary bytes to the G36 reader as a song file (see recomposer_fuzz.h).

#include "recomposer_fuzz.h"
#include "song/g36_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  velvasto::fuzz::LoadAndCheck<velvasto::CG36File>(data, size, "fuzz.g36");
  return 0;
}
