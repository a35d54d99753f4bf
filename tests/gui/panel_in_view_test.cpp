// The panel in the main window: where its windows go in each monitor mode, what its status
// displays show, how the playing song's monitor records reach it, seeking from the time meter,
// and what closing tells when the settings file cannot be written.

#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QTest>
#include <string>

#include "core/catalogue.h"
#include "frame_fixture.h"
#include "gui/monitor/level_meter_wnd.h"
#include "gui/monitor/meter_geometry.h"
#include "gui/monitor/rol_meter_wnd.h"
#include "gui/monitor/status_wnd.h"
#include "gui/monitor/tempo_meter_wnd.h"
#include "gui/monitor/time_meter_wnd.h"

namespace velvasto::test {
namespace {

using gui::PanelWindow;

class PanelInViewTest : public FrameTest {
 protected:
  gui::CMeterWnd& Window(PanelWindow window) { return View().Panel().Window(window); }
  template <typename Meter>
  Meter& Get(PanelWindow window) {
    return dynamic_cast<Meter&>(Window(window));
  }
  // Shown within the view (the view itself is shown).
  bool Shown(PanelWindow window) { return Window(window).isVisibleTo(&View()); }
  QRect Geometry(const gui::Placement& placement) {
    const gui::Rect& r = placement.rect;
    return {r.left, r.top, r.Width(), r.Height()};
  }
  // Plays `path` as the list's only entry.
  void PlayAsList(const std::filesystem::path& path) {
    app.playList.Append({.path = path, .volume = 127});
    MakeFrame();
    Run(CommandId::Play);
    AdvanceMs(20);
    ASSERT_EQ(app.playState, PlayState::Playing);
  }
};

// Which windows show where in each mode is ViewLayoutTest's; here every window follows its
// placement as the monitor commands change it.
TEST_F(PanelInViewTest, EachWindowTakesItsPlaceOfTheLayoutInEveryMonitorMode) {
  MakeFrame();
  for (const CommandId mode : {CommandId::MonitorOnePanel, CommandId::MonitorTwoPanels}) {
    for (const CommandId port : {CommandId::MonitorPortA, CommandId::MonitorPortB}) {
      SCOPED_TRACE(std::to_string(static_cast<int>(mode)) + " " + std::to_string(static_cast<int>(port)));
      Run(mode);
      Run(port);
      Settle();
      const gui::ViewLayout& layout = View().Layout();
      using gui::StatusDisplay;
      const std::pair<PanelWindow, gui::Placement> places[] = {
          {PanelWindow::RollA, layout.rollA},
          {PanelWindow::RollB, layout.rollB},
          {PanelWindow::Volume, layout.volumeMeter},
          {PanelWindow::Expression, layout.expressionMeter},
          {PanelWindow::Master, layout.masterMeter},
          {PanelWindow::Tempo, layout.tempoMeter},
          {PanelWindow::Time, layout.timeMeter},
          {PanelWindow::FileCount, layout.Status(StatusDisplay::FileCount)},
          {PanelWindow::Timebase, layout.Status(StatusDisplay::TimeBase)},
          {PanelWindow::VolumeDisplay, layout.Status(StatusDisplay::Volume)},
          {PanelWindow::MonitorPort, layout.Status(StatusDisplay::MonitorPort)},
          {PanelWindow::Loop, layout.Status(StatusDisplay::Loop)},
          {PanelWindow::Repeat, layout.Status(StatusDisplay::Repeat)},
          {PanelWindow::DdMode, layout.Status(StatusDisplay::DropMode)},
          {PanelWindow::PortSet, layout.Status(StatusDisplay::PortSet)},
          {PanelWindow::Map, layout.mapDisplay},
      };
      for (const auto& [window, placement] : places) {
        EXPECT_EQ(Window(window).geometry(), Geometry(placement)) << static_cast<int>(window);
        EXPECT_EQ(Shown(window), placement.visible) << static_cast<int>(window);
      }
    }
  }
}

// The displays follow the player's state, each text showing whole inside the window's frame.
TEST_F(PanelInViewTest, StatusDisplaysShowThePlayersStateWhole) {
  const std::filesystem::path song = Song("studio-take.mid", 60, 8);
  for (int i = 0; i < CPlayList::kMaxEntries; ++i) app.playList.Append({.path = song, .volume = 127});
  app.portSets.Add("Studio", "studio", 1, -1, -1);
  app.portSets.SetUse(true);
  MakeFrame();
  const auto text = [&](PanelWindow window) { return Get<gui::CStatusWnd>(window).Text().toStdString(); };
  const QFontMetrics metrics(gui::MeterMediumFont());
  const auto expectWhole = [&] {
    for (const PanelWindow window : {PanelWindow::FileCount, PanelWindow::Timebase, PanelWindow::VolumeDisplay,
                                     PanelWindow::MonitorPort, PanelWindow::Loop, PanelWindow::Repeat,
                                     PanelWindow::DdMode, PanelWindow::PortSet}) {
      auto& display = Get<gui::CStatusWnd>(window);
      EXPECT_LE(metrics.horizontalAdvance(display.Text()), display.width() - 2 * gui::kMeterFrameWidth)
          << display.Text().toStdString();
    }
  };

  Run(CommandId::MonitorPortB);
  Run(CommandId::ListRandom);
  Run(CommandId::SingleRepeatOn);
  Run(CommandId::DropMakesNewList);
  Run(CommandId::Play);
  AdvanceMs(20);
  EXPECT_EQ(text(PanelWindow::FileCount), "1024");
  EXPECT_EQ(text(PanelWindow::Timebase), "480");
  EXPECT_EQ(text(PanelWindow::VolumeDisplay), "127");
  EXPECT_EQ(text(PanelWindow::MonitorPort), " B ");
  EXPECT_TRUE(Get<gui::CLoopWnd>(PanelWindow::Loop).On());
  EXPECT_EQ(text(PanelWindow::Repeat), "Rand.");
  EXPECT_EQ(text(PanelWindow::DdMode), "New");
  EXPECT_EQ(text(PanelWindow::PortSet), "Studio");
  expectWhole();

  Run(CommandId::Stop);
  Run(CommandId::SingleRepeatOff);
  Run(CommandId::DropAppends);
  Run(CommandId::MonitorPortA);
  app.portSets.SetUse(false);
  Run(CommandId::ListNoRepeat);
  EXPECT_EQ(text(PanelWindow::Repeat), "Norm.");
  EXPECT_EQ(text(PanelWindow::DdMode), "Add");
  EXPECT_EQ(text(PanelWindow::MonitorPort), " A ");
  EXPECT_EQ(text(PanelWindow::PortSet), "Default");
  EXPECT_FALSE(Get<gui::CLoopWnd>(PanelWindow::Loop).On());
  expectWhole();
  Run(CommandId::ListRepeat);
  EXPECT_EQ(text(PanelWindow::Repeat), "Rep.");
  expectWhole();
}

TEST_F(PanelInViewTest, ThePlayingSongsRecordsReachTheMetersThroughTheEnginesNotifications) {
  SmfBuilder smf(0, 480);
  smf.AddTrack()
      .Tempo(0, 600'000)  // 100 beats per minute
      .Control(0, 2, 7, 90)
      .Control(0, 3, 11, 70)
      .NoteOn(0, 0, 60, 127)
      .NoteOff(50 * 480, 0, 60)  // 30 seconds
      .EndOfTrack(0);
  PlayAsList(dir.Write("song.mid", smf.Build()));
  AdvanceMs(100);

  EXPECT_EQ(Get<gui::CVolBaseMeterWnd>(PanelWindow::Volume).Value(0, 2), 90u);
  EXPECT_EQ(Get<gui::CVolBaseMeterWnd>(PanelWindow::Expression).Value(0, 3), 70u);
  EXPECT_EQ(Get<gui::CTempoMeterWnd>(PanelWindow::Tempo).Tempo(), 100u);
  EXPECT_EQ(Get<gui::CTimeMeterWnd>(PanelWindow::Time).Length(), 30u) << "the song's length from the player";
  auto& roll = Get<gui::CRolMeterWnd>(PanelWindow::RollA);
  ASSERT_GT(roll.Model().Level(0), 0u);
  // The roll's first column is lit from the bottom as the window paints it.
  const QImage image = roll.grab().toImage();
  const gui::Rect dot = roll.Dot(0, 1);
  const QPoint middle(gui::kMeterBorder + (dot.left + dot.right) / 2, gui::kMeterBorder + (dot.top + dot.bottom) / 2);
  EXPECT_EQ(image.pixelColor(middle), roll.Colours().fore.ToQColor());

  AdvanceMs(1100);
  EXPECT_EQ(Get<gui::CTimeMeterWnd>(PanelWindow::Time).Position(), 1u) << "the play time follows the song";
}

TEST_F(PanelInViewTest, ClickingTheTimeMeterSeeksThePlayingSong) {
  SmfBuilder smf(0, 480);
  smf.AddTrack().Tempo(0, 500'000).NoteOn(0, 0, 60, 100).NoteOff(60 * 480, 0, 60).EndOfTrack(0);  // 30 seconds
  PlayAsList(dir.Write("long.mid", smf.Build()));
  auto& time = Get<gui::CTimeMeterWnd>(PanelWindow::Time);
  ASSERT_TRUE(time.isVisible());
  ASSERT_EQ(time.Length(), 30u);

  QTest::mouseClick(&time, Qt::LeftButton, Qt::NoModifier,
                    QPoint(gui::kMeterBorder + time.HandleX(20), time.height() / 2));
  Settle();
  EXPECT_EQ(View().Controller().Status().positionSeconds, 20u);
  EXPECT_EQ(app.playState, PlayState::Playing);
}

// Closing writes the window's position, then each window of the panel and the slider write
// their colours as they go: one message for all.
TEST_F(PanelInViewTest, ClosingWithAnUnwritableSettingsFileTellsOnceThatItCouldNotBeWritten) {
  MakeFrame();
  // The settings folder is a file: nothing can be written below it.
  CINIFile::SetSettingsPath(dir.Write("blocker", "") / "velvasto.ini");
  ModalAnswers answers;
  ASSERT_TRUE(frame->close());
  frame.reset();
  ASSERT_EQ(answers.seen.size(), 1u);
  EXPECT_EQ(answers.seen[0].text.toStdString(), CatalogueText(62012));
  EXPECT_EQ(answers.seen[0].icon, QMessageBox::Critical);
}

}  // namespace
}  // namespace velvasto::test
