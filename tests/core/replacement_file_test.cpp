#include "core/replacement_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <set>
#include <string>

#include "core/atomic_file.h"
#include "support/read_file.h"
#include "support/temp_dir.h"

namespace velvasto {
namespace {

namespace fs = std::filesystem;

std::set<std::string> Names(const fs::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename().string());
  return names;
}

// The id of a process that has ended (and been waited for).
pid_t EndedProcess() {
  const pid_t pid = ::fork();
  if (pid == 0) ::_exit(0);
  ::waitpid(pid, nullptr, 0);
  return pid;
}

TEST(ReplacementFileTest, StaleTemporaryFilesOfEndedProcessesGoWhenTheNextWriteStarts) {
  test::TempDir dir;
  const std::string dead = std::to_string(EndedProcess());
  const std::string alive = std::to_string(::getpid());
  const std::string stale = ".song.mid." + dead + ".Ab3xYz.part";
  const std::set<std::string> kept = {
      ".song.mid." + alive + ".Ab3xYz.part",  // a write in progress
      ".song.mid." + dead + ".Ab3.part",      // not our naming
      ".other.mid." + dead + ".Ab3xYz.part",  // another file's
      "song.mid." + dead + ".Ab3xYz.part",
  };
  for (const std::string& name : kept) dir.Write(name, "x");
  dir.Write(stale, "x");
  dir.Write("song.mid", "old");

  ASSERT_TRUE(ReplaceFileAtomically(dir.Path() / "song.mid", "new"));
  std::set<std::string> expected = kept;
  expected.insert("song.mid");
  EXPECT_EQ(Names(dir.Path()), expected);
  EXPECT_EQ(test::ReadWholeFile(dir.Path() / "song.mid"), "new");
}

// A file name of up to 255 bytes is written however long the temporary name would be, and a
// name cut short never ends inside a character.
TEST(ReplacementFileTest, TheTemporaryNameStaysWithinTheFileNameLimit) {
  test::TempDir dir;
  std::string japanese = "a";
  for (int i = 0; i < 83; ++i) japanese += "曲";
  const std::string owner = "." + std::to_string(::getpid()) + ".";
  for (const std::string& name : {std::string(251, 'x') + ".mid", japanese + ".mlt", std::string(248, 'y') + ".wav"}) {
    SCOPED_TRACE(name.size());
    {
      ReplacementFile file(dir.Path() / name);
      const std::string temporary = file.WritingPath().filename().string();
      EXPECT_LE(temporary.size(), 255u);
      const std::string kept = temporary.substr(1, temporary.find(owner) - 1);
      EXPECT_TRUE(name.starts_with(kept)) << temporary;
      EXPECT_NE(static_cast<unsigned char>(name[kept.size()]) & 0xC0, 0x80) << "cut between characters";
    }
    ASSERT_TRUE(ReplaceFileAtomically(dir.Path() / name, "bytes")) << std::strerror(errno);
    EXPECT_EQ(test::ReadWholeFile(dir.Path() / name), "bytes");
  }
  EXPECT_EQ(Names(dir.Path()).size(), 3u) << "no temporary file left";
}

TEST(ReplacementFileTest, AFifoIsWrittenThroughAndAFolderRefused) {
  test::TempDir dir;
  const fs::path fifo = dir.Path() / "out.mid";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(reader, 0);
  EXPECT_TRUE(ReplaceFileAtomically(fifo, "through"));
  char bytes[16] = {};
  EXPECT_EQ(::read(reader, bytes, sizeof bytes), 7);
  EXPECT_EQ(std::string(bytes), "through");
  ::close(reader);
  EXPECT_TRUE(fs::is_fifo(fifo)) << "not replaced by a file";
  EXPECT_EQ(Names(dir.Path()), std::set<std::string>{"out.mid"});

  EXPECT_FALSE(ReplaceFileAtomically(dir.Path(), "bytes"));
  EXPECT_EQ(errno, EISDIR);
}

TEST(ReplacementFileTest, TemporaryFilesInProgressAreRemovedAtOnceOnRequest) {
  test::TempDir dir;
  dir.Write("list.mlt", "old");
  ReplacementFile file(dir.Path() / "list.mlt");
  std::fputs("half", file.Stream());
  ASSERT_TRUE(fs::exists(file.WritingPath()));
  RemoveTemporaryFilesNow();
  EXPECT_EQ(Names(dir.Path()), std::set<std::string>{"list.mlt"});
  EXPECT_EQ(test::ReadWholeFile(dir.Path() / "list.mlt"), "old");
}

}  // namespace
}  // namespace velvasto
