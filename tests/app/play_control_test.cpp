// The volume slider, the patchbay's port switch, engine errors, and the engine's notifications
// as they reach the meters.

#include <gtest/gtest.h>

#include "app/command_state.h"
#include "controller_fixture.h"
#include "engine/engine_notifications.h"
#include "song/stream_event.h"
#include "support/table_stream.h"

namespace velvasto::test {
namespace {

TEST_F(ControllerTest, VolumeSliderWhileStoppedOnlyChangesTheDisplay) {
  controller->SetVolume(50);
  EXPECT_EQ(view.Calls().back(), "volume 50");
  EXPECT_EQ(app.settings.volumeValue, 127);
  controller->SetVolume(300);
  EXPECT_EQ(view.Calls().back(), "volume 127");
}

TEST_F(ControllerTest, VolumeSliderSetsTheMasterVolumeAndTheSingleSongsVolumeValue) {
  Request({Song("a.mid", 60, 2'000'000)});
  controller->Open();
  AdvanceMs(100);
  controller->SetVolume(64);
  EXPECT_EQ(controller->Engine()->MasterVolume(), 64u);
  EXPECT_EQ(app.settings.volumeValue, 64);
  // The song's volume 100 is sent again, scaled: 100 × 64 ÷ 127 = 50.
  EXPECT_EQ(devices.Lines("mapper").back(), "100000 A MSG B0 07 32");
}

TEST_F(ControllerTest, VolumeSliderWritesAListSongsVolumeIntoItsEntryWhenItDiffers) {
  Request({ListFile("l.mlt", {Song("a.mid", 60, 2'000'000), Song("b.mid", 62)}, 100)});
  controller->Open();
  ASSERT_FALSE(app.playList.Modified());
  EXPECT_EQ(controller->Engine()->MasterVolume(), 100u) << "the entry's own volume starts the song";
  EXPECT_EQ(view.Count("slider 100"), 1);
  controller->SetVolume(100);
  EXPECT_FALSE(app.playList.Modified()) << "the same value changes nothing";
  controller->SetVolume(80);
  EXPECT_EQ(app.playList.Entry(0).volume, 80);
  EXPECT_TRUE(app.playList.Modified());
  EXPECT_EQ(app.settings.volumeValue, 127) << "the single-song volume is not touched";
  EXPECT_TRUE(State(CommandId::SaveList).enabled);
}

TEST_F(ControllerTest, PatchbaySwitchesPortsForAMatchingSongAndStopRestoresTheDefault) {
  app.portSets.SetUse(true);
  app.portSets.Add("special", "Special", 2, 0, 1);  // Out A and Out B
  const auto special = Song("Special Songs/a.mid", 60);
  const auto plain = Song("b.mid", 62);
  Request({special, plain});
  controller->Open();
  EXPECT_EQ(app.activePort.PortCount(), 2);
  EXPECT_EQ(app.activePort.PortA(), 0);
  FinishSong();
  AdvanceMs(100);
  EXPECT_EQ(app.activePort.PortCount(), 1) << "stopping the song brought the default choice back";
  EXPECT_EQ(app.activePort.PortA(), CMIDIPort::kMapper);
  EXPECT_EQ(devices.NoteOns("Out A"), (std::vector<std::string>{"0 A MSG 90 3C 64"}));
  EXPECT_TRUE(devices.Lines("Out B").size() == 64u) << "port B of the set only heard the sound-off";
  EXPECT_EQ(devices.NoteOns("mapper"), (std::vector<std::string>{"0 A MSG 90 3E 64"}));
}

TEST_F(ControllerTest, APortSetWhoseSongFailsToStartDoesNotStayChosen) {
  app.portSets.SetUse(true);
  app.portSets.Add("special", "special", 1, 1, -1);
  devices.FailOpening("Out B");
  Request({Song("special.mid", 60)});
  controller->Open();
  EXPECT_EQ(prompt.errors, (std::vector<std::string>{"MIDIOUTデバイスのオープンができません。"}));
  EXPECT_EQ(prompt.details, (std::vector<std::string>{"Out B is gone"}));
  EXPECT_EQ(app.playState, PlayState::Stopped);
  EXPECT_EQ(app.activePort.PortA(), CMIDIPort::kMapper);
}

TEST_F(ControllerTest, WhenTheDevicesFailNoOtherEntryIsTried) {
  devices.FailOpening("mapper");
  Request({Song("a.mid", 60), Song("b.mid", 62), Song("c.mid", 64)});
  controller->Open();
  EXPECT_EQ(prompt.errors, (std::vector<std::string>{"MIDIOUTデバイスのオープンができません。"}));
  EXPECT_EQ(app.playState, PlayState::Stopped);
  EXPECT_EQ(app.playList.CurrentIndex(), 0);
  ASSERT_TRUE(controller->Execute(CommandId::Play));
  EXPECT_EQ(prompt.errors.size(), 2u) << "PLAY tries the same entry once more";
}

TEST_F(ControllerTest, EngineErrorStopsTheSongAndShowsTheCallbackMessage) {
  Request({Song("a.mid", 60, 2'000'000), Song("b.mid", 62)});
  controller->Open();
  AdvanceMs(100);
  devices.FailShortSends(1);
  // The note-off at one second is refused.
  AdvanceMs(2'000);
  EXPECT_EQ(prompt.errors, (std::vector<std::string>{
                               "マルチメディアタイマコールバック関数内でエラーが発生しました。\n"
                               "midiOutShortMsgでエラーが発生しました。"}));
  EXPECT_EQ(app.playState, PlayState::Stopped);
  EXPECT_FALSE(controller->SongInformation().has_value());
  EXPECT_EQ(view.Title(), "Velvasto for Windows Version4");
  EXPECT_EQ(app.playList.CurrentIndex(), 0) << "an error does not move the list on";
}

TEST_F(ControllerTest, EngineErrorOfTheOneStartUpSongClosesTheProgram) {
  Request({Song("a.mid", 60, 2'000'000)});
  controller->Open();
  devices.FailShortSends(1);
  AdvanceMs(2'000);
  EXPECT_EQ(prompt.errors.size(), 1u);
  EXPECT_EQ(view.Count("close window"), 1);
}

TEST_F(ControllerTest, NotificationsOfAnEarlierStartAreDropped) {
  Request({Song("a.mid", 60), Song("b.mid", 62)});
  controller->Open();
  // The song ends while its notification waits; REWIND starts it again before it is handled.
  playback.Clock().AdvanceMs(700);
  ASSERT_TRUE(controller->Execute(CommandId::Rewind));
  controller->ProcessNotifications();
  EXPECT_EQ(app.playState, PlayState::Playing);
  EXPECT_EQ(app.playList.CurrentIndex(), 0);
  FinishSong();
  AdvanceMs(100);
  EXPECT_EQ(PlayedNotes(), (std::vector<int>{60, 60, 62}));
}

TEST_F(ControllerTest, MonitorEntriesReachTheMetersAndThePlayTimeTheTimeMeter) {
  Request({Song("a.mid", 60, 3'000'000)});
  controller->Open();
  for (int step = 0; step < 21; ++step) AdvanceMs(100);
  EXPECT_EQ(monitor.calls, (std::vector<std::string>{"tempo 120", "volume 0 0 100", "note 0 0", "roll 0", "time 1",
                                                     "time 2"}));
  ASSERT_TRUE(controller->Execute(CommandId::Stop));
  monitor.calls.clear();
  AdvanceMs(2'000);
  EXPECT_TRUE(monitor.calls.empty()) << "a stopped song posts nothing";
}

// A two-port song whose table starts with a CM-64 and a GS sound-data block, then sends master
// volumes of both kinds to both ports.
class ControlFileSong final : public TableStream {
 public:
  ControlFileSong() : TableStream(SongSettings{.portCount = 2}) {
    const std::initializer_list<std::uint8_t> xgMaster = {0xF0, 0x43, 0x10, 0x4C, 0x00, 0x00, 0x04, 0x50, 0xF7};
    const std::initializer_list<std::uint8_t> gsMaster = {0xF0, 0x41, 0x10, 0x42, 0x12, 0x40, 0x00, 0x04, 0x64, 0x58, 0xF7};
    Marker(0, kMarkerCm6Begin)
        .SysEx(0, PortId::A, {0xF0, 0x41, 0x10, 0x16, 0x12, 0x10, 0x00, 0x00, 0x00, 0x70, 0xF7})
        .Marker(100'000, kMarkerCm6End)
        .Marker(100'000, kMarkerGsdBegin)
        .SysEx(100'000, PortId::A, {0xF0, 0x41, 0x10, 0x42, 0x12, 0x40, 0x01, 0x30, 0x00, 0x0F, 0xF7})
        .Marker(200'000, kMarkerGsdEnd)
        .SysEx(300'000, PortId::A, xgMaster)
        .SysEx(300'000, PortId::A, gsMaster)
        .SysEx(300'000, PortId::B, xgMaster)
        .SysEx(300'000, PortId::B, gsMaster)
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
  const auto path = Song("blocks.mid", 60);
  madeSongs[path] = [] { return std::make_unique<ControlFileSong>(); };
  Request({path});
  controller->Open();
  view.Clear();
  RunToEnd();

  std::vector<std::string> progress;
  for (const std::string& call : view.Calls()) {
    if (call.starts_with("progress")) progress.push_back(call);
  }
  // A dialog still open is closed before the next opens; stopping closes whatever is left.
  EXPECT_EQ(progress, (std::vector<std::string>{"progress close", "progress open 0 1", "progress 1", "progress close",
                                                "progress close", "progress open 1 1", "progress 1", "progress close",
                                                "progress close"}));
  std::vector<std::string> masters;
  for (const std::string& call : monitor.calls) {
    if (call.starts_with("master")) masters.push_back(call);
  }
  EXPECT_EQ(masters, (std::vector<std::string>{"master 1 100"}));
}

TEST_F(ControllerTest, SeekingIsIgnoredWhileStoppedAndMovesAPlayingSong) {
  controller->Seek(1);
  EXPECT_TRUE(view.Calls().empty());
  Request({Song("a.mid", 60, 3'000'000)});
  controller->Open();
  controller->Seek(2);
  EXPECT_EQ(controller->Engine()->SongTimeUs(), 2'000'000u);
  EXPECT_EQ(view.Calls().back(), "idle");
}

TEST_F(ControllerTest, SongPropertiesFollowTheLoadedSong) {
  Request({Song("a.mid", 60, 2'000'000)});
  controller->Open();
  ASSERT_TRUE(controller->SongInformation().has_value());
  EXPECT_EQ(controller->SongInformation()->timeBase, 480u);
  EXPECT_EQ(view.Count("properties "), 1);
  EXPECT_EQ(view.Count("map 0"), 2) << "the map display is cleared at creation and shows the song's map";
  ASSERT_TRUE(controller->Execute(CommandId::SongProperties));
  EXPECT_EQ(view.Calls().back(), "show properties");
}

}  // namespace
}  // namespace velvasto::test
