#include "recomposer_load.h"

#include "support/temp_dir.h"

namespace velvasto::test {

namespace {

template <typename Reader>
std::unique_ptr<Reader> LoadWith(const Bytes& bytes, SongSettings settings, const std::string& name) {
  TempDir dir;
  auto reader = std::make_unique<Reader>(std::move(settings));
  if (!reader->Load(dir.Write(name, bytes))) return nullptr;
  return reader;
}

}  // namespace

std::unique_ptr<CRCPFile> LoadRcp(const Bytes& bytes, SongSettings settings, const std::string& name) {
  return LoadWith<CRCPFile>(bytes, std::move(settings), name);
}

std::unique_ptr<CG36File> LoadG36(const Bytes& bytes, SongSettings settings, const std::string& name) {
  return LoadWith<CG36File>(bytes, std::move(settings), name);
}

std::vector<int> NotesPlayed(const CMIDIStream& stream) {
  std::vector<int> notes;
  for (const StreamEvent& event : stream.Events()) {
    if ((event.status & 0xF0) == 0x90 && (event.message >> 16) != 0) notes.push_back((event.message >> 8) & 0x7F);
  }
  return notes;
}

std::vector<std::string> DumpMessages(const CMIDIStream& stream) {
  std::vector<std::string> lines;
  for (const std::string& line : EventLines(stream)) {
    if (line.find(" TEMPO ") == std::string::npos && !line.ends_with(" END")) lines.push_back(line);
  }
  return lines;
}

}  // namespace velvasto::test
