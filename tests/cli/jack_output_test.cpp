// External outputs through a running JACK server: the server's MIDI input ports listed and
// played to, compared with what the player sends; no server; a server that dies while a song
// plays. The JACK server is the one the environment names (the test script starts one) or, when
// none runs, one of the test's own with the dummy driver. The receiving end is `jack_midi_dump`.

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli_runner.h"
#include "core/errors.h"
#include "midiout/backends/jack_client.h"
#include "midiout/backends/rtmidi_device.h"
#include "support/demo_song.h"
#include "support/child_process.h"
#include "support/environment_scope.h"
#include "support/own_jack_server.h"
#include "support/read_file.h"
#include "support/smf_builder.h"

namespace velvasto::test {
namespace {

using namespace std::chrono_literals;
using Texts = std::vector<std::string>;

// A name no other test, run or developer uses at the same time.
std::string UniqueName(const std::string& stem) {
  static int made = 0;
  return stem + "-" + std::to_string(::getpid()) + "-" + std::to_string(++made);
}

// The two-digit hex words `words` starts with, in lower case, joined by spaces.
std::string HexBytes(std::istream& words) {
  std::string message;
  const auto hex = [](char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; };
  for (std::string word; words >> word && word.size() == 2 && hex(word[0]) && hex(word[1]);) {
    for (char& c : word) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    message += (message.empty() ? "" : " ") + word;
  }
  return message;
}

// A MIDI input port that writes what it receives, one message a line ("<frame>: <hex bytes>
// [description]"), as `<client>:input`.
class Monitor {
 public:
  explicit Monitor(const std::filesystem::path& folder)
      : client_(UniqueName("monitor")),
        log_(folder / (client_ + ".txt")),
        process_({"stdbuf", "-oL", "jack_midi_dump", "-a", client_}, log_) {}

  std::string Port() const { return client_ + ":input"; }
  // The messages received, as lower-case hex bytes, once there are at least `count` (or ten
  // seconds have passed).
  Texts Received(std::size_t count) {
    Texts messages;
    WaitUntil([&] { return (messages = Parse()).size() >= count; }, 10s);
    return messages;
  }

 private:
  Texts Parse() const {
    Texts messages;
    std::istringstream in(ReadWholeFile(log_));
    for (std::string line; std::getline(in, line);) {
      if (const std::size_t colon = line.find(':'); colon != std::string::npos) {
        std::istringstream words(line.substr(colon + 1));
        messages.push_back(HexBytes(words));
      }
    }
    return messages;
  }

  std::string client_;
  std::filesystem::path log_;
  ChildProcess process_;
};

// Up to five messages from `from` on, for a failure's message.
std::string Around(const Texts& messages, Texts::const_iterator from) {
  std::string shown = "[";
  for (int n = 0; from != messages.end() && n < 5; ++from, ++n) shown += (n == 0 ? "" : ", ") + *from;
  return shown + "]";
}

// The messages of one port in a recording (`play --out X=record:FILE`), as lower-case hex bytes.
Texts Recorded(const std::filesystem::path& file, char port) {
  Texts messages;
  std::istringstream in(ReadWholeFile(file));
  for (std::string line; std::getline(in, line);) {
    std::istringstream words(line);
    std::string time, letter, kind;
    words >> time >> letter >> kind;
    if (letter == std::string(1, port)) messages.push_back(HexBytes(words));
  }
  return messages;
}

class JackOutputTest : public CliFolderTest {
 protected:
  void SetUp() override {
    if (!ProgramInstalled("jackd") || !ProgramInstalled("jack_midi_dump")) {
      GTEST_SKIP() << "needs jackd and jack_midi_dump (package jackd2)";
    }
    if (!JackServerRuns()) {
      ownServer_ = std::make_unique<OwnJackServer>(dir.Path() / "jackd.log");
      ASSERT_TRUE(ownServer_->Running()) << ReadWholeFile(dir.Path() / "jackd.log");
    }
  }

  // `velvasto-cli ports` once it lists every one of `ports` (or ten seconds have passed).
  Texts PortsListing(const Texts& ports) {
    Texts lines;
    WaitUntil([&] {
      lines = Lines(RunCli({"ports"}, ini).out);
      return std::ranges::all_of(ports, [&](const std::string& port) {
        return std::ranges::find(lines, "   " + port) != lines.end();
      });
    }, 10s);
    return lines;
  }

  // Plays `song` to monitors on both ports (on PORT A only without `portB`) and expects each to
  // receive exactly what the player sends there — then nothing but the resets of the port at the
  // end (notes off, controllers back to their defaults).
  void ExpectDelivered(const std::string& song, Monitor& portA, Monitor* portB) {
    const std::filesystem::path sent = dir.Path() / "sent.txt";
    Texts fast = {"play", "--fast", "--out", "A=record:" + sent.string(), song};
    Texts live = {"play", "--out", "A=" + portA.Port(), song};
    if (portB) {
      fast.insert(fast.end() - 1, {"--out", "B=record:" + sent.string()});
      live.insert(live.end() - 1, {"--out", "B=" + portB->Port()});
    }
    ASSERT_EQ(RunCli(fast, ini).status, 0);
    const CliResult played = RunCli(live, ini);
    ASSERT_EQ(played.status, 0) << played.err;
    EXPECT_EQ(played.err, "");
    for (const auto& [monitor, letter] : {std::pair{&portA, 'A'}, std::pair{portB, 'B'}}) {
      if (monitor == nullptr) continue;
      const Texts expected = Recorded(sent, letter);
      Texts received = monitor->Received(expected.size());
      ASSERT_GE(received.size(), expected.size()) << "PORT " << letter;
      for (auto extra = received.begin() + std::ssize(expected); extra != received.end(); ++extra) {
        // Sustain off, All Notes Off, Reset All Controllers.
        const bool reset = extra->size() == 8 && extra->starts_with('b') &&
                           (extra->ends_with(" 40 00") || extra->ends_with(" 7b 00") || extra->ends_with(" 79 00"));
        EXPECT_TRUE(reset) << *extra;
      }
      received.resize(expected.size());
      const auto [got, wanted] = std::ranges::mismatch(received, expected);
      EXPECT_TRUE(got == received.end()) << "PORT " << letter << ", message " << (got - received.begin()) << " of "
                                         << expected.size() << ": " << *got << " where " << *wanted
                                         << " was sent; then " << Around(received, got) << " where "
                                         << Around(expected, wanted) << " was sent";
    }
  }

  std::unique_ptr<OwnJackServer> ownServer_;
};

TEST_F(JackOutputTest, InputPortsAreListedAndPlayedToWithEveryMessageWholeAndInOrder) {
  Monitor first(dir.Path());
  Monitor second(dir.Path());
  const Texts listed = PortsListing({first.Port(), second.Port()});
  EXPECT_NE(std::ranges::find(listed, "   " + first.Port()), listed.end());
  EXPECT_NE(std::ranges::find(listed, "   " + second.Port()), listed.end());
  EXPECT_EQ(Texts(listed.begin(), listed.begin() + std::min<std::ptrdiff_t>(2, std::ssize(listed))),
            (Texts{"A  Velvasto Synth A", "B  Velvasto Synth B"}));

  ExpectDelivered(DemoSong("demo.mid").string(), first, nullptr);

  // PORT A and PORT B, each with System Exclusive messages, one longer than a JACK period's worth
  // of MIDI cable time.
  std::vector<std::uint8_t> longData = {0x41, 0x10, 0x42, 0x12, 0x40, 0x01, 0x00};
  for (int i = 0; i < 300; ++i) longData.push_back(static_cast<std::uint8_t>(i % 128));
  longData.insert(longData.end(), {0x00, 0xF7});
  SmfBuilder smf(1, 480);
  smf.AddTrack().Tempo(0, 500'000).SysEx(0, {0x41, 0x10, 0x42, 0x12, 0x40, 0x00, 0x7F, 0x00, 0x41, 0xF7})
      .Program(0, 0, 5).NoteOn(0, 0, 60, 100).NoteOn(120, 0, 64, 90).NoteOff(120, 0, 60).NoteOff(0, 0, 64)
      .EndOfTrack(0);
  smf.AddTrack().Port(0, 1).SysEx(0, longData).Control(0, 3, 7, 80).NoteOn(60, 3, 40, 70).NoteOn(0, 9, 36, 120)
      .NoteOff(240, 3, 40).NoteOff(0, 9, 36).EndOfTrack(0);
  Monitor portA(dir.Path());
  Monitor portB(dir.Path());
  PortsListing({portA.Port(), portB.Port()});
  ExpectDelivered(dir.Write("two ports.mid", smf.Build()).string(), portA, &portB);
}

TEST_F(JackOutputTest, WithoutAServerOnlyTheOtherDevicesAreListedAndNoServerIsStarted) {
  const std::string absent = UniqueName("velvasto-absent");
  const EnvironmentScope environment({{"JACK_DEFAULT_SERVER", absent}});
  Texts expected = {"A  Velvasto Synth A", "B  Velvasto Synth B"};
  for (const auto& port : ListMidiPorts()) {
    if (port) expected.push_back("   " + *port);
  }
  const CliResult listed = RunCli({"ports"}, ini);
  EXPECT_EQ(listed.status, 0);
  EXPECT_EQ(Lines(listed.out), expected);
  EXPECT_EQ(listed.err, "");
  EXPECT_FALSE(JackServerRuns()) << "a server was started";
}

TEST_F(JackOutputTest, AServerThatStopsDuringASongEndsItWithTheDeviceError) {
  // A server of this test's own: it is stopped. A minute of notes keeps the port busy.
  OwnJackServer server(dir.Path() / "own jackd.log");
  ASSERT_TRUE(server.Running());
  Monitor monitor(dir.Path());
  PortsListing({monitor.Port()});
  SmfBuilder smf(0, 480);
  SmfTrack& track = smf.AddTrack().Tempo(0, 500'000);
  for (int step = 0; step < 480; ++step) track.NoteOn(0, 0, 60, 100).NoteOff(60, 0, 60);
  track.EndOfTrack(0);
  const std::filesystem::path song = dir.Write("long.mid", smf.Build());
  const std::filesystem::path output = dir.Path() / "play.txt";
  const EnvironmentScope settings({{"VELVASTO_INI", ini}});
  ChildProcess player({VELVASTO_CLI_PATH, "play", "--out", "A=" + monitor.Port(), song.string()}, output);
  ASSERT_GE(monitor.Received(20).size(), 20u) << ReadWholeFile(output);

  server.Stop();
  ASSERT_TRUE(WaitUntil([&] { return player.Ended(); }, 30s)) << "the player goes on without its port";
  const int status = player.Stop();
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << status;
  EXPECT_NE(ReadWholeFile(output).find(MMErrorText(mmerr::kShortMsg)), std::string::npos) << ReadWholeFile(output);
}

}  // namespace
}  // namespace velvasto::test
