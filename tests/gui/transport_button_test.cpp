#include <gtest/gtest.h>

#include <QEvent>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QTest>
#include <memory>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "core/catalogue.h"
#include "core/errors.h"
#include "gui/monitor/pause_button.h"
#include "gui/monitor/plain_buttons.h"
#include "gui/monitor/play_button.h"
#include "gui/monitor/transport_artwork.h"
#include "gui/monitor/transport_geometry.h"
#include "support/expect_error.h"

namespace velvasto::gui {
namespace {

// Ample for a lamp phase of 800 ms on a loaded machine.
constexpr int kPhaseTimeoutMs = 10000;

// The buttons at their size in a main view 512 pixels wide with u = 20: stretched, not at the
// bitmaps' own size.
const TransportButtonRects kRow = TransportButtons(0, 512, 20);

std::unique_ptr<COrgButton> MakeButton(CommandId command) {
  switch (command) {
    case CommandId::Play:
      return std::make_unique<CPlayButton>(nullptr);
    case CommandId::Stop:
      return std::make_unique<CStopButton>(nullptr);
    case CommandId::FastForward:
      return std::make_unique<CFFButton>(nullptr);
    case CommandId::Rewind:
      return std::make_unique<CRewButton>(nullptr);
    default:
      return std::make_unique<CPauseButton>(nullptr);
  }
}

void Place(COrgButton& button) {
  const Rect r = button.Command() == CommandId::Play ? kRow.play : kRow.stop;
  button.setGeometry(r.left, r.top, r.Width(), r.Height());
}

QImage Face(QWidget& button) { return button.grab().toImage().convertToFormat(QImage::Format_RGB32); }

// What the button must look like: the frame bitmap over the whole button, the icon bitmap
// unscaled at (4, 4).
QImage ExpectedFace(QSize size, const std::string& frame, const std::string& icon) {
  QImage face(size, QImage::Format_RGB32);
  QPainter painter(&face);
  painter.drawPixmap(QRect(QPoint(0, 0), size), LoadTransportBitmap(frame));
  painter.drawPixmap(4, 4, LoadTransportBitmap(icon));
  painter.end();
  return face;
}

// Counts the paint events a widget receives, to see that a change of state repaints it.
class PaintCounter : public QObject {
 public:
  explicit PaintCounter(QWidget& widget) { widget.installEventFilter(this); }
  int count = 0;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++count;
    return false;
  }
};

// Lets the repaints already asked for arrive, so that a later one is the effect of what follows.
void Settle(const PaintCounter& counter) {
  for (int before = -1; before != counter.count;) {
    before = counter.count;
    QTest::qWait(50);
  }
}

void ExpectRepaint(const PaintCounter& counter, int before) {
  EXPECT_TRUE(QTest::qWaitFor([&] { return counter.count > before; }, kPhaseTimeoutMs)) << "no repaint";
}

// Normal, pressed and disabled: the frame (wide for PLAY) pressed only while pressed, the icon
// of the state.
TEST(TransportButtonTest, EachButtonRunsItsMenuCommandAndShowsTheFaceOfItsState) {
  const std::tuple<CommandId, int, std::string> buttons[] = {{CommandId::Play, 32775, "play"},
                                                             {CommandId::Stop, 32776, "stop"},
                                                             {CommandId::FastForward, 32777, "ff"},
                                                             {CommandId::Rewind, 32778, "rewind"},
                                                             {CommandId::Pause, 32779, "pause"}};
  for (const auto& [command, id, icon] : buttons) {
    const std::string frame = command == CommandId::Play ? "frame_wide" : "frame";
    for (const auto& [pressed, enabled, look] :
         {std::tuple{false, true, ""}, std::tuple{true, true, "_pressed"}, std::tuple{false, false, "_disabled"}}) {
      SCOPED_TRACE(icon + look);
      const auto button = MakeButton(command);
      EXPECT_EQ(static_cast<int>(button->Command()), id);
      Place(*button);
      button->setEnabled(enabled);
      button->setDown(pressed);
      EXPECT_EQ(Face(*button), ExpectedFace(button->size(), frame + (pressed ? "_pressed" : ""), icon + look));
    }
  }
}

TEST(TransportButtonTest, PausedPauseShowsItsPausedFacesAndRepaintsOnEachChange) {
  CPauseButton button(nullptr);
  Place(button);
  button.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&button));
  PaintCounter paints(button);
  Settle(paints);

  int before = paints.count;
  button.SetPaused(true);
  ExpectRepaint(paints, before);
  EXPECT_EQ(Face(button), ExpectedFace(button.size(), "frame", "pause_paused"));
  button.setDown(true);
  EXPECT_EQ(Face(button), ExpectedFace(button.size(), "frame_pressed", "pause_paused_pressed"));
  button.setDown(false);
  button.setEnabled(false);
  EXPECT_EQ(Face(button), ExpectedFace(button.size(), "frame", "pause_disabled"));
  button.setEnabled(true);
  Settle(paints);

  before = paints.count;
  button.SetPaused(false);
  ExpectRepaint(paints, before);
  EXPECT_EQ(Face(button), ExpectedFace(button.size(), "frame", "pause"));
}

// A PLAY button as it is while a song plays: disabled, its lamp on.
class PlayLampTest : public testing::Test {
 protected:
  void SetUp() override {
    Place(button);
    button.setEnabled(false);
    button.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&button));
  }

  bool Shows(const std::string& icon) {
    return Face(button) == ExpectedFace(button.size(), "frame_wide", icon);
  }
  bool WaitUntilShows(const std::string& icon) {
    return QTest::qWaitFor([&] { return Shows(icon); }, kPhaseTimeoutMs);
  }

  CPlayButton button{nullptr};
  PaintCounter paints{button};
};

TEST_F(PlayLampTest, LampBlinksBetweenTheLitLampAndTheDisabledIcon) {
  button.SetLamp(true);
  EXPECT_TRUE(Shows("play_disabled"));
  Settle(paints);
  // Each tick repaints the button (counted before any grab paints it again).
  const int before = paints.count;
  ExpectRepaint(paints, before);
  EXPECT_TRUE(WaitUntilShows("play_lamp"));
  // Switched on again while lit, it keeps its phase.
  button.SetLamp(true);
  EXPECT_TRUE(Shows("play_lamp"));
  EXPECT_TRUE(WaitUntilShows("play_disabled"));
  EXPECT_TRUE(WaitUntilShows("play_lamp"));
}

TEST_F(PlayLampTest, EnabledPlayShowsItsOwnFaceWhateverTheLampPhase) {
  button.SetLamp(true);
  ASSERT_TRUE(WaitUntilShows("play_lamp"));
  button.setEnabled(true);
  EXPECT_TRUE(Shows("play"));
  button.setEnabled(false);
  EXPECT_TRUE(Shows("play_lamp"));
}

TEST_F(PlayLampTest, SwitchingTheLampOffWhileLitRepaintsTheDisabledFaceAndEndsTheBlink) {
  button.SetLamp(true);
  ASSERT_TRUE(WaitUntilShows("play_lamp"));
  Settle(paints);
  const int before = paints.count;
  button.SetLamp(false);
  EXPECT_FALSE(button.LampOn());
  ExpectRepaint(paints, before);
  EXPECT_TRUE(Shows("play_disabled"));
  // Switched on again, the blink starts afresh from the unlit phase.
  button.SetLamp(true);
  EXPECT_TRUE(Shows("play_disabled"));
  EXPECT_TRUE(WaitUntilShows("play_lamp"));
}

TEST(TransportArtworkTest, FramesAndIconsHaveTheirSizesAndEveryIconItsOwnLook) {
  const std::pair<const char*, QSize> frames[] = {{"frame_wide", {128, 32}},
                                                  {"frame_wide_pressed", {128, 32}},
                                                  {"frame", {64, 32}},
                                                  {"frame_pressed", {64, 32}}};
  for (const auto& [name, size] : frames) EXPECT_EQ(LoadTransportBitmap(name).size(), size) << name;

  std::vector<std::string> icons = {"play_lamp", "pause_paused", "pause_paused_pressed"};
  for (const char* stem : {"play", "stop", "ff", "rewind", "pause"})
    for (const char* look : {"", "_pressed", "_disabled"}) icons.push_back(std::string(stem) + look);
  std::vector<QImage> seen;
  for (const std::string& name : icons) {
    const QImage icon = LoadTransportBitmap(name).toImage();
    EXPECT_EQ(icon.size(), QSize(20, 15)) << name;
    for (const QImage& other : seen) EXPECT_NE(icon, other) << name << " looks like another icon";
    seen.push_back(icon);
  }
}

TEST(TransportArtworkTest, ABitmapThatCannotBeLoadedIsAnError) {
  test::ExpectError<CErrMessage>([] { LoadTransportBitmap("no_such_bitmap"); }, -1,
                                 std::string(CatalogueText(62000)));
}

}  // namespace
}  // namespace velvasto::gui
