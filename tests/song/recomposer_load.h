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
#include "support/temp_dir.h"

namespace velvasto::test {

// `bytes` loaded as `name` by a Reader made with `settings`, or null when the reader declines.
template <typename Reader>
std::unique_ptr<Reader> LoadWith(const Bytes& bytes, SongSettings settings, const std::string& name) {
  TempDir dir;
  auto reader = std::make_unique<Reader>(std::move(settings));
  return reader->Load(dir.Write(name, bytes)) ? std::move(reader) : nullptr;
}
inline std::unique_ptr<CRCPFile> LoadRcp(const Bytes& bytes, SongSettings settings = {}, const std::string& name = "song.rcp") {
  return LoadWith<CRCPFile>(bytes, std::move(settings), name);
}
inline std::unique_ptr<CG36File> LoadG36(const Bytes& bytes, SongSettings settings = {}, const std::string& name = "song.g36") {
  return LoadWith<CG36File>(bytes, std::move(settings), name);
}

// EventLines without the tempo records and the end record.
inline std::vector<std::string> DumpMessages(const CMIDIStream& stream) {
  std::vector<std::string> lines = EventLines(stream);
  std::erase_if(lines, [](const std::string& line) { return line.find(" TEMPO ") != std::string::npos || line.ends_with(" END"); });
  return lines;
}

// The note numbers struck (note-ons of a velocity above 0), in order.
inline std::vector<int> NotesPlayed(const CMIDIStream& stream) {
  std::vector<int> notes;
  for (const StreamEvent& event : stream.Events()) {
    if ((event.status & 0xF0) == 0x90 && (event.message >> 16) != 0) notes.push_back((event.message >> 8) & 0x7F);
  }
  return notes;
}

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
