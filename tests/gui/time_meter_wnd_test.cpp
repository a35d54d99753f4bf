#include "gui/monitor/time_meter_wnd.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>

#include "panel_test_support.h"

namespace velvasto::gui {
namespace {

using test::ClientPixel;
using test::RecordingReporter;
using test::Render;

class TimeMeterWndTest : public testing::Test {
 protected:
  TimeMeterWndTest() {
    meter.resize(222, 32);
    track = meter.Layout().track;
  }

  // A point on the track at `x` of the client, in widget coordinates.
  QPoint On(int x) const { return {x + 1, (track.top + track.bottom) / 2 + 1}; }
  void Move(int x, Qt::MouseButtons buttons) {
    QMouseEvent move(QEvent::MouseMove, QPointF(On(x)), meter.mapToGlobal(QPointF(On(x))), Qt::NoButton, buttons,
                     Qt::NoModifier);
    QApplication::sendEvent(&meter, &move);
  }
  std::vector<std::uint32_t> Requests() const {
    std::vector<std::uint32_t> seconds;
    for (const QList<QVariant>& call : spy) seconds.push_back(call.at(0).value<std::uint32_t>());
    return seconds;
  }

  RecordingReporter reporter;
  CTimeMeterWnd meter{reporter, nullptr};
  QSignalSpy spy{&meter, &CTimeMeterWnd::SeekRequested};
  Rect track;
};

TEST_F(TimeMeterWndTest, DragShowsItsTimeAndSeeksOnlyWhenReleased) {
  meter.Reset(300);
  meter.SetPosition(20);
  QTest::mousePress(&meter, Qt::LeftButton, {}, On(track.left));
  Move(track.left + track.Width() / 2, Qt::LeftButton);
  EXPECT_TRUE(Requests().empty());
  EXPECT_NEAR(static_cast<double>(meter.ShownTime()), 150.0, 1.0);
  // The engine's time goes on meanwhile; the meter keeps to the drag.
  meter.SetPosition(21);
  EXPECT_NEAR(static_cast<double>(meter.ShownTime()), 150.0, 1.0);
  QTest::mouseRelease(&meter, Qt::LeftButton, {}, On(track.right));
  EXPECT_EQ(Requests(), std::vector<std::uint32_t>{300});
  meter.SetPosition(301);
  EXPECT_EQ(meter.ShownTime(), 301u) << "after the drag the engine's time shows again";
}

TEST_F(TimeMeterWndTest, ArrowKeysMoveByFiveSecondsWithinTheSong) {
  meter.Reset(12);
  meter.SetPosition(3);
  for (const Qt::Key key : {Qt::Key_Left, Qt::Key_Right, Qt::Key_Right, Qt::Key_Right, Qt::Key_Right}) {
    QTest::keyClick(&meter, key);
  }
  EXPECT_EQ(Requests(), (std::vector<std::uint32_t>{0, 5, 10, 12, 12}));
}

TEST_F(TimeMeterWndTest, NothingToSeekInWithoutASong) {
  meter.Reset(0);
  QTest::mouseClick(&meter, Qt::LeftButton, {}, On(track.left + 10));
  QTest::keyClick(&meter, Qt::Key_Right);
  EXPECT_TRUE(Requests().empty());
  EXPECT_EQ(meter.ShownTime(), 0u);
}

TEST_F(TimeMeterWndTest, TrackIsPlayedUpToTheHandle) {
  meter.Reset(200);
  meter.SetPosition(50);
  EXPECT_EQ(meter.HandleX(50), track.left + track.Width() / 4);
  const QImage image = Render(meter);
  const int y = (track.top + track.bottom) / 2;
  const int handle = meter.HandleX(50);
  EXPECT_EQ(ClientPixel(image, handle, track.top - 1), test::ToColour(meter.Colours().text)) << "the handle";
  EXPECT_EQ(ClientPixel(image, track.left + 2, y), test::ToColour(meter.Colours().fore)) << "played";
  EXPECT_EQ(ClientPixel(image, handle + 3, y), test::ToColour(meter.Colours().foreB)) << "still to play";
  EXPECT_EQ(ClientPixel(image, track.right - 1, y), test::ToColour(meter.Colours().fore)) << "the track's outline";
}

}  // namespace
}  // namespace velvasto::gui
