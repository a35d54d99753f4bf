#include "gui/monitor/monitor_panel.h"

#include <gtest/gtest.h>


#include "gui/monitor/level_meter_wnd.h"
#include "gui/monitor/map_wnd.h"
#include "gui/monitor/master_vol_meter_wnd.h"
#include "gui/monitor/rol_meter_wnd.h"
#include "gui/monitor/tempo_meter_wnd.h"
#include "gui/monitor/time_meter_wnd.h"
#include "panel_test_support.h"

namespace velvasto::gui {
namespace {

using test::RecordingReporter;

MonitorEntry Channel(std::uint32_t message, std::uint32_t port) { return ChannelEntry(message, port).value(); }

class MonitorPanelTest : public testing::Test {
 protected:
  template <typename Window>
  Window& Get(PanelWindow window) {
    return dynamic_cast<Window&>(panel.Window(window));
  }
  const RollModel& Roll(PanelWindow window) { return Get<CRolMeterWnd>(window).Model(); }

  RecordingReporter reporter;
  QWidget parent;
  MonitorPanel panel{&parent, reporter};
};

TEST_F(MonitorPanelTest, LevelMetersShowTheMonitoredPort) {
  CVolBaseMeterWnd& volume = Get<CVolBaseMeterWnd>(PanelWindow::Volume);
  volume.resize(192, 102);
  panel.Clear();
  panel.ChannelVolume(Channel(0x7F07B0, 1));  // port B, channel 1: 127
  const QColor fore = test::ToColour(volume.Colours().fore);
  const int top = volume.ChannelBar(1).top;
  PanelStatus status;
  status.monitorPort = 0;
  panel.ShowStatus(status);
  EXPECT_NE(test::ClientPixel(test::Render(volume), 19, top), fore);
  status.monitorPort = 1;
  panel.ShowStatus(status);
  EXPECT_EQ(test::ClientPixel(test::Render(volume), 19, top), fore);
}

TEST_F(MonitorPanelTest, EntriesReachTheMetersAndTheRollOfTheirPort) {
  panel.ResetForPlay(100);
  panel.ChannelVolume(Channel(0x7F07B3, 1));      // port B, channel 4: volume 127
  panel.ChannelExpression(Channel(0x7F0BB3, 1));  // expression 127
  panel.MasterVolume(1, 64);
  panel.NoteEvent(Channel(0x7F3C93, 1));  // note on, velocity 127
  panel.RepaintPianoRoll(1);
  panel.Tempo(98);
  panel.PlayTime(42);
  panel.SetMap(3);
  EXPECT_EQ(Get<CVolBaseMeterWnd>(PanelWindow::Volume).Value(1, 3), 127u);
  EXPECT_EQ(Get<CVolBaseMeterWnd>(PanelWindow::Expression).Value(1, 3), 127u);
  EXPECT_EQ(Get<CVolBaseMeterWnd>(PanelWindow::Volume).Value(0, 3), 100u);
  EXPECT_EQ(Get<CMasterVolMeterWnd>(PanelWindow::Master).Value(1), 64u);
  EXPECT_EQ(Get<CMasterVolMeterWnd>(PanelWindow::Master).Value(0), 127u);
  // 127 × 127 × 127 × 64 / 127³: the roll weighs the note by what the meters were given.
  EXPECT_EQ(Roll(PanelWindow::RollB).Level(3), 64u);
  EXPECT_EQ(Roll(PanelWindow::RollA).Level(3), 0u);
  EXPECT_EQ(Get<CTempoMeterWnd>(PanelWindow::Tempo).Tempo(), 98u);
  EXPECT_EQ(Get<CTimeMeterWnd>(PanelWindow::Time).Position(), 42u);
  EXPECT_EQ(Get<CMapWnd>(PanelWindow::Map).Map(), 3);
}

TEST_F(MonitorPanelTest, PlayRepeatAndStopResetWhatTheyShould) {
  panel.ResetForPlay(100);
  panel.NoteEvent(Channel(0x7F3C90, 0));
  panel.RepaintPianoRoll(0);
  panel.ChannelVolume(Channel(0x2007B0, 0));
  panel.MasterVolume(0, 5);
  panel.Tempo(150);
  panel.PlayTime(70);
  ASSERT_GT(Roll(PanelWindow::RollA).Level(0), 0u);

  panel.ResetForRepeat(90);
  EXPECT_GT(Roll(PanelWindow::RollA).Level(0), 0u) << "the rolls keep what they show";
  EXPECT_EQ(Get<CVolBaseMeterWnd>(PanelWindow::Volume).Value(0, 0), 100u);
  EXPECT_EQ(Get<CMasterVolMeterWnd>(PanelWindow::Master).Value(0), 127u);
  EXPECT_EQ(Get<CTempoMeterWnd>(PanelWindow::Tempo).Tempo(), 120u);
  EXPECT_EQ(Get<CTimeMeterWnd>(PanelWindow::Time).Position(), 0u);
  EXPECT_EQ(Get<CTimeMeterWnd>(PanelWindow::Time).Length(), 90u);

  panel.PlayTime(30);
  panel.Clear();
  EXPECT_EQ(Roll(PanelWindow::RollA).Level(0), 0u);
  EXPECT_EQ(Get<CVolBaseMeterWnd>(PanelWindow::Volume).Value(0, 0), 0u);
  EXPECT_EQ(Get<CVolBaseMeterWnd>(PanelWindow::Expression).Value(1, 15), 0u);
  EXPECT_EQ(Get<CMasterVolMeterWnd>(PanelWindow::Master).Value(1), 0u);
  EXPECT_EQ(Get<CTimeMeterWnd>(PanelWindow::Time).Position(), 30u) << "the time stays where play stopped";

  panel.NoteEvent(Channel(0x7F3C90, 0));
  panel.RepaintPianoRoll(0);
  panel.ResetForPlay(100);
  EXPECT_EQ(Roll(PanelWindow::RollA).Level(0), 0u) << "a new song clears the rolls";
}

}  // namespace
}  // namespace velvasto::gui
