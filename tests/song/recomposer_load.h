#pragma once
// Loading Recomposer bytes built in a test, and the loaded table in a form a test can compare.

#include <memory>
#include <string>
#include <vector>

#include "core/errors.h"
#include "song/g36_file.h"
#include "song/rcp_file.h"
#include "support/recomposer_builder.h"

namespace velvasto::test {

std::unique_ptr<CRCPFile> LoadRcp(const Bytes& bytes, SongSettings settings = {},
                                  const std::string& name = "song.rcp");
std::unique_ptr<CG36File> LoadG36(const Bytes& bytes, SongSettings settings = {},
                                  const std::string& name = "song.g36");

// One line per record: "<time µs> <bytes in hex> <port A/B/->", e.g. "1250 90 3C 64 A",
// "0 F0 41 10 42 12 40 00 7F 00 41 F7 A", "0 tempo 120", "0 marker 0 A", "5000 end".
std::vector<std::string> Dump(const CMIDIStream& stream);
// The same without the tempo records and the end record.
std::vector<std::string> DumpMessages(const CMIDIStream& stream);

// The catalogue text of the application error that `load` throws, or "" when it throws none.
template <typename Load>
std::string ErrorText(Load&& load) {
  try {
    load();
  } catch (const CErrMessage& error) {
    return error.Message();
  }
  return "";
}

}  // namespace velvasto::test
