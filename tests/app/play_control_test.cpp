// The volume slider, engine errors, notifications of an earlier start, the master-volume lock of
// each port, and control files: their progress and the master volume they lock.

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <ostream>

#include "app/monitor_router.h"
#include "controller_fixture.h"
#include "song/stream_event.h"
#include "support/table_stream.h"

namespace velvasto {

void PrintTo(const PlayerStatus& s, std::ostream* out) {
  *out << "state " << static_cast<int>(s.playState) << ", " << s.positionSeconds << " of " << s.lengthSeconds << " s, "
       << s.tempoBpm << " bpm, volume " << s.masterVolume;
}

namespace test {
namespace {

// The master volume of what plays; REWIND and single repeat start the song at the volume set
// since, not at the one it first started with.
TEST_F(ControllerTest, VolumeSliderSetsTheMasterVolumeAndTheVolumeOfWhatPlaysAndOfItsRestarts) {
  // The value of the last channel volume the mapper was sent.
  const auto lastVolume = [this] {
    const std::vector<std::string> lines = devices.Lines("mapper");
    const auto line = std::ranges::find_if(lines.rbegin(), lines.rend(),
                                           [](const std::string& l) { return l.find(" MSG B0 07 ") != std::string::npos; });
    return line == lines.rend() ? -1 : std::stoi(line->substr(line->size() - 2), nullptr, 16);
  };
  controller->SetVolume(300);
  EXPECT_EQ(view.calls.back() + " " + std::to_string(app.settings.volumeValue), "volume 127 127")
      << "while stopped only the display changes";

  Request({Song("a.mid", 60, 2'000'000)});
  controller->Open();
  AdvanceMs(100);
  controller->SetVolume(64);
  EXPECT_EQ(controller->Status().masterVolume, 64u);
  EXPECT_EQ(app.settings.volumeValue, 64) << "a single song keeps it as Volume Value";
  // The song's volume 100 is sent again, scaled: 100 × 64 ÷ 127 = 50.
  EXPECT_EQ(devices.Lines("mapper").back(), "100000 A MSG B0 07 32");
  ASSERT_TRUE(controller->Execute(CommandId::Rewind));
  AdvanceMs(10);
  EXPECT_EQ(lastVolume(), 100 * 64 / 127) << "REWIND";
  controller->SetVolume(90);
  app.singleRepeat = 1;
  FinishSong();
  AdvanceMs(10);
  EXPECT_EQ(lastVolume(), 100 * 90 / 127) << "single repeat";

  app.singleRepeat = 0;
  Request({ListFile("l.mlt", {Song("b.mid", 62, 2'000'000), Song("c.mid", 64)}, 100)});
  controller->ProcessOpenRequest(false);
  EXPECT_EQ(controller->Status().masterVolume, 100u) << "the entry's own volume starts the song";
  controller->SetVolume(100);
  EXPECT_FALSE(app.playList.Modified()) << "the same value changes nothing";
  controller->SetVolume(80);
  EXPECT_TRUE(app.playList.Entry(0).volume == 80 && app.playList.Modified());
  ASSERT_TRUE(controller->Execute(CommandId::Rewind));
  AdvanceMs(10);
  EXPECT_EQ(lastVolume(), 100 * 80 / 127) << "REWIND of a list entry";
  EXPECT_EQ(app.settings.volumeValue, 90) << "the single-song volume is not touched";
}

TEST_F(ControllerTest, StatusShowsPositionLengthTempoAndVolumeOfWhatPlays) {
  app.settings.volumeValue = 90;
  EXPECT_EQ(controller->Status(), (PlayerStatus{PlayState::Stopped, 0, 0, 120, 90})) << "nothing loaded";
  // 120 beats per minute for a second, then 96 (625,000 µs a quarter) for four quarters: 3.5 s.
  SmfBuilder smf(0, 480);
  smf.AddTrack().Tempo(0, 500'000).NoteOn(0, 0, 60, 100).Tempo(960, 625'000).NoteOff(4 * 480, 0, 60).EndOfTrack(0);
  Request({dir.Write("tempo.mid", smf.Build())});
  controller->Open();
  AdvanceMs(2'500);
  EXPECT_EQ(controller->Status(), (PlayerStatus{PlayState::Playing, 2, 3, 96, 90, 2'500'000}));
  controller->SetVolume(40);
  ASSERT_TRUE(controller->Execute(CommandId::Pause));
  controller->Seek(1);
  EXPECT_EQ(controller->Status(), (PlayerStatus{PlayState::Paused, 1, 3, 120, 40, 1'000'000}));
  ASSERT_TRUE(controller->Execute(CommandId::Pause));
  ASSERT_TRUE(controller->Execute(CommandId::Stop));
  EXPECT_EQ(controller->Status(), (PlayerStatus{PlayState::Stopped, 0, 0, 120, 40})) << "the single song kept its volume";
}

TEST_F(ControllerTest, EngineErrorStopsTheSongShowsTheCallbackMessageAndEndsAStartUpSong) {
  Request({Song("a.mid", 60, 2'000'000), Song("b.mid", 62)});
  controller->Open();
  AdvanceMs(100);
  *devices.failShortSends = 1;
  AdvanceMs(2'000);  // the note-off at one second is refused
  EXPECT_EQ(prompt.errors, (std::vector<std::string>{
                               "マルチメディアタイマコールバック関数内でエラーが発生しました。\n"
                               "midiOutShortMsgでエラーが発生しました。"}));
  EXPECT_EQ(app.playState, PlayState::Stopped);
  EXPECT_EQ(app.playList.CurrentIndex(), 0) << "an error does not move the list on";
  EXPECT_EQ(view.Count("close window"), 0);

  app.closeAfterPlay = true;  // as for the one song of a start-up
  ASSERT_TRUE(controller->Execute(CommandId::Play));
  *devices.failShortSends = 1;
  AdvanceMs(2'000);
  EXPECT_EQ(view.Count("close window"), 1);
}

TEST_F(ControllerTest, NotificationsOfAnEarlierStartAreDropped) {
  Request({Song("a.mid", 60), Song("b.mid", 62)});
  controller->Open();
  // The song ends while its notification waits; REWIND starts it again before it is handled.
  playback.Clock().AdvanceMs(700);
  ASSERT_TRUE(controller->Execute(CommandId::Rewind));
  controller->ProcessNotifications();
  EXPECT_EQ(app.playList.CurrentIndex(), 0);
  FinishSong();
  AdvanceMs(100);
  EXPECT_EQ(PlayedNotes(), (std::vector<int>{60, 60, 62}));
}

MonitorEntry Master(std::uint32_t port, std::initializer_list<std::uint8_t> message, std::uint32_t value) {
  MonitorEntry entry{
      .kind = MonitorKind::MasterVolume, .value = value, .length = static_cast<std::uint32_t>(message.size()), .port = port};
  std::ranges::copy(message, entry.data.begin());
  return entry;
}

const std::initializer_list<std::uint8_t> kGsMaster = {0xF0, 0x41, 0x10, 0x42, 0x12, 0x40, 0x00, 0x04, 0x64, 0x58, 0xF7};
const std::initializer_list<std::uint8_t> kXgMaster = {0xF0, 0x43, 0x10, 0x4C, 0x00, 0x00, 0x04, 0x50, 0xF7};
const std::initializer_list<std::uint8_t> kUniversalMaster = {0xF0, 0x7F, 0x04, 0x01, 0x00, 0x70, 0xF7};

TEST(MonitorRouterTest, APortFollowsOnlyTheFirstKindOfMasterVolumeThatSetAValue) {
  EXPECT_EQ(MasterMessageKind(Master(0, kGsMaster, 100)), 1u);
  EXPECT_EQ(MasterMessageKind(Master(0, kXgMaster, 80)), 3u);
  EXPECT_EQ(MasterMessageKind(Master(0, kUniversalMaster, 112)), 4u);
  EXPECT_EQ(MasterMessageKind(Master(0, {0xF0, 0x41, 0x10, 0x42}, 1)), 0u) << "too short for the GS form";
  LoggingMonitor monitor;
  MonitorRouter router(monitor);
  EXPECT_TRUE(router.Route(Master(0, kXgMaster, 0)));   // value 0: stored, no lock
  EXPECT_TRUE(router.Route(Master(0, kGsMaster, 100)));  // locks port A to GS
  EXPECT_TRUE(router.Route(Master(0, kXgMaster, 80)));   // ignored
  EXPECT_TRUE(router.Route(Master(1, kXgMaster, 70)));   // port B is unlocked
  EXPECT_TRUE(router.Route(Master(0, kGsMaster, 90)));
  EXPECT_EQ(monitor.calls, (std::vector<std::string>{"master 0 0", "master 0 100", "master 1 70", "master 0 90"}));

  monitor.calls.clear();
  router.ClearLocks();
  router.Lock(1, MonitorRouter::kCm6Lock);
  router.Route(Master(0, kXgMaster, 60));
  router.Route(Master(1, kGsMaster, 50));
  router.Route(Master(1, kXgMaster, 40));
  EXPECT_EQ(monitor.calls, (std::vector<std::string>{"master 0 60"})) << "a CM-64 file holds port B's master";
}

TEST(MonitorRouterTest, RoutesByKindAndRepaintsOnlyTheRollsThatReceivedEntries) {
  LoggingMonitor monitor;
  MonitorRouter router(monitor);
  for (const MonitorKind kind : {MonitorKind::NoteOn, MonitorKind::Volume, MonitorKind::Expression}) {
    EXPECT_TRUE(router.Route({.kind = kind, .value = 64, .port = 1, .channel = 9}));
  }
  EXPECT_TRUE(router.Route({.kind = MonitorKind::Tempo, .value = 98, .port = kTempoPort}));
  EXPECT_FALSE(router.Route({.kind = MonitorKind::GsdBegin})) << "control blocks are the controller's";
  EXPECT_FALSE(router.Route({.kind = MonitorKind::NoteOn, .port = 7}));
  router.RepaintTouchedRolls();
  router.RepaintTouchedRolls();
  EXPECT_EQ(monitor.calls, (std::vector<std::string>{"note 1 0", "volume 1 9 64", "expression 1 9 64", "tempo 98",
                                                     "roll 1"}));
}

// A two-port song whose table starts with a CM-64 and a GS sound-data block, then sends master
// volumes of both kinds to both ports.
class ControlFileSong final : public TableStream {
 public:
  ControlFileSong() : TableStream(SongSettings{.portCount = 2}) {
    Marker(0, kMarkerCm6Begin)
        .SysEx(0, PortId::A, {0xF0, 0x41, 0x10, 0x16, 0x12, 0x10, 0x00, 0x00, 0x00, 0x70, 0xF7})
        .Marker(100'000, kMarkerCm6End)
        .Marker(100'000, kMarkerGsdBegin)
        .SysEx(100'000, PortId::A, {0xF0, 0x41, 0x10, 0x42, 0x12, 0x40, 0x01, 0x30, 0x00, 0x0F, 0xF7})
        .Marker(200'000, kMarkerGsdEnd)
        .SysEx(300'000, PortId::A, kXgMaster)
        .SysEx(300'000, PortId::A, kGsMaster)
        .SysEx(300'000, PortId::B, kXgMaster)
        .SysEx(300'000, PortId::B, kGsMaster)
        .End(400'000);
    SetControlBlock(kCm6Block, 3, 100'000, 1);
    SetControlBlock(kGsdBlock, 3, 100'000, 1);
    Build();
  }
};

TEST_F(ControllerTest, ControlFilesShowTheirProgressAndLockTheirPortsMasterVolume) {
  app.settings.cm6Port = 1;  // PORT A: its master volume stays for the song
  app.settings.gsdPort = 2;  // PORT B: only GS master volumes
  app.activePort.SetPortCount(2);
  app.defaultPort = app.activePort;
  madeSong = std::make_unique<ControlFileSong>();
  Request({Song("blocks.mid", 60)});
  controller->Open();
  view.calls.clear();
  RunToEnd();

  std::vector<std::string> progress = view.calls;
  std::erase_if(progress, [](const std::string& call) { return !call.starts_with("progress"); });
  // A dialog still open is closed before the next opens; stopping closes whatever is left.
  EXPECT_EQ(progress, (std::vector<std::string>{"progress close", "progress open 0 1", "progress 1", "progress close",
                                                "progress close", "progress open 1 1", "progress 1", "progress close",
                                                "progress close"}));
  std::vector<std::string> masters = monitor.calls;
  std::erase_if(masters, [](const std::string& call) { return !call.starts_with("master"); });
  EXPECT_EQ(masters, (std::vector<std::string>{"master 1 100"}));
}

}  // namespace
}  // namespace test
}  // namespace velvasto
