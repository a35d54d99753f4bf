#pragma once
// Loading Recomposer bytes built in a test, the loaded table in the `dump` form, and the
// catalogue text of a load's error.

#include <memory>
#include <string>
#include <vector>

#include "core/errors.h"
#include "song/g36_file.h"
#include "song/rcp_file.h"
#include "support/event_text.h"
#include "support/recomposer_builder.h"

namespace velvasto::test {

std::unique_ptr<CRCPFile> LoadRcp(const Bytes& bytes, SongSettings settings = {},
                                  const std::string& name = "song.rcp");
std::unique_ptr<CG36File> LoadG36(const Bytes& bytes, SongSettings settings = {},
                                  const std::string& name = "song.g36");

// EventLines without the tempo records and the end record.
std::vector<std::string> DumpMessages(const CMIDIStream& stream);

// The note numbers struck (note-ons of a velocity above 0), in order.
std::vector<int> NotesPlayed(const CMIDIStream& stream);

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
