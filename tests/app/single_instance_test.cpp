#include <gtest/gtest.h>

#include <spawn.h>
#include <sys/wait.h>

#include <mutex>
#include <string>
#include <vector>

#include "app/local_socket.h"
#include "app/single_instance.h"
#include "support/smf_builder.h"
#include "support/temp_dir.h"

extern char** environ;

namespace velvasto {
namespace {

using namespace std::chrono_literals;

// Collects the requests a running instance takes.
struct Inbox {
  CSingleInstance::RequestHandler Handler() {
    return [this](OpenRequest request) {
      const std::lock_guard lock(mutex);
      requests.push_back(std::move(request));
    };
  }
  std::vector<OpenRequest> Requests() {
    const std::lock_guard lock(mutex);
    return requests;
  }
  std::mutex mutex;
  std::vector<OpenRequest> requests;
};

// Runs the helper program (a second start) with `arguments` and returns its exit status.
int RunSecondStart(const std::filesystem::path& folder, const std::vector<std::string>& arguments) {
  std::vector<std::string> all{VELVASTO_HANDOVER_HELPER, folder.string()};
  all.insert(all.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (auto& argument : all) argv.push_back(argument.data());
  argv.push_back(nullptr);
  pid_t child = 0;
  if (posix_spawn(&child, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return -1;
  int status = 0;
  if (waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

// A raw connection to the running instance that has sent `bytes`, as a real instance never would.
UniqueFd SendRaw(const std::filesystem::path& folder, const std::vector<std::uint8_t>& bytes) {
  UniqueFd connection = ConnectLocal(folder / "velvasto.sock");
  EXPECT_TRUE(WriteAll(connection.Get(), bytes, std::chrono::steady_clock::now() + 5s));
  return connection;
}

OpenRequest RequestFor(std::filesystem::path path) { return {.paths = {std::move(path)}}; }

TEST(SingleInstanceTest, ASecondProcessHandsItsModesAndPathsToTheFirst) {
  test::TempDir folder;
  EXPECT_EQ(RunSecondStart(folder.Path(), {}), 3) << "no instance runs yet";
  const auto song = folder.Write("song one.mid", test::SmfBuilder(0, 96).Build());
  const auto list = folder.Write("リスト.mlt", "[Velvasto List File Version 3.0]\r\n");
  const auto text = folder.Write("readme.txt", "not a song");
  Inbox inbox;
  CSingleInstance first(folder.Path());
  ASSERT_TRUE(first.IsPrimary());
  first.Listen(inbox.Handler());

  EXPECT_EQ(RunSecondStart(folder.Path(), {"/p3", song.string(), "-L", text.string(), list.string(), "/D2"}), 0);
  // Without arguments the second start only asks the first to come to the front.
  EXPECT_EQ(RunSecondStart(folder.Path(), {}), 0);
  // A command-line error ends the second start before it hands anything over.
  EXPECT_EQ(RunSecondStart(folder.Path(), {"/L", "/l"}), 1);
  EXPECT_EQ(inbox.Requests(),
            (std::vector<OpenRequest>{
                OpenRequest{.playMode = 2, .singleRepeat = 1, .dropMode = 1, .paths = {song, list}}, OpenRequest{}}));
}

TEST(SingleInstanceTest, AStaleSocketIsReplaced) {
  test::TempDir folder;
  {
    // A socket file that nobody listens on, as a killed instance leaves it.
    const UniqueFd stale = ListenLocal(folder.Path() / "velvasto.sock");
    ASSERT_TRUE(stale.Valid());
  }
  ASSERT_TRUE(std::filesystem::exists(folder.Path() / "velvasto.sock"));
  CSingleInstance first(folder.Path());
  ASSERT_TRUE(first.IsPrimary());
  first.Listen([](OpenRequest) {});
  EXPECT_TRUE(CSingleInstance(folder.Path()).HandOver(RequestFor("/after-crash.mid")));
}

TEST(SingleInstanceTest, MalformedTruncatedAndOversizedRequestsAreIgnored) {
  test::TempDir folder;
  Inbox inbox;
  // A long peer time-out: the instance must drop these because of what they say, not by waiting.
  CSingleInstance first(folder.Path(), HandOverTimeouts{60s, 5s});
  first.Listen(inbox.Handler());

  const UniqueFd oversized = SendRaw(folder.Path(), {'V', 'L', 'V', 'O', 1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0x7F});
  const UniqueFd badBody = SendRaw(folder.Path(), {'V', 'L', 'V', 'O', 1, 0, 0, 0, 20, 0, 0, 0,  // body of 20 bytes
                                                   0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 0, 0,  // count 2
                                                   0, 0, 0, 0});  // a path of length 0
  {
    // A truncated request: half a header, then the peer goes away.
    const UniqueFd truncated = SendRaw(folder.Path(), {'V', 'L', 'V', 'O', 1, 0});
  }

  EXPECT_TRUE(CSingleInstance(folder.Path()).HandOver(RequestFor("/good.mid")));
  EXPECT_EQ(inbox.Requests(), std::vector<OpenRequest>{RequestFor("/good.mid")});
}

TEST(SingleInstanceTest, APeerThatSaysNothingIsDroppedAfterTheTimeOutAndDoesNotHoldUpTheEnd) {
  test::TempDir folder;
  Inbox inbox;
  CSingleInstance first(folder.Path(), HandOverTimeouts{50ms, 5s});
  first.Listen(inbox.Handler());
  const UniqueFd silent = SendRaw(folder.Path(), {});
  const UniqueFd halfHeader = SendRaw(folder.Path(), {'V', 'L', 'V'});
  EXPECT_TRUE(CSingleInstance(folder.Path()).HandOver(RequestFor("/patient.mid")));
  EXPECT_EQ(inbox.Requests().size(), 1u);

  test::TempDir other;
  auto patient = std::make_unique<CSingleInstance>(other.Path(), HandOverTimeouts{std::chrono::hours(1), 5s});
  patient->Listen([](OpenRequest) {});
  const UniqueFd holding = SendRaw(other.Path(), {'V', 'L', 'V', 'O'});
  patient.reset();  // would hang for an hour if the listener waited for the peer
  EXPECT_FALSE(std::filesystem::exists(other.Path() / "velvasto.sock"));
  EXPECT_TRUE(CSingleInstance(other.Path()).IsPrimary()) << "the lock is free again";
}

}  // namespace
}  // namespace velvasto
