#include "gui/monitor/rol_meter_wnd.h"

#include <gtest/gtest.h>

#include <QPaintEvent>
#include <QTest>
#include <vector>

#include "panel_test_support.h"

namespace velvasto::gui {
namespace {

using test::MiddleOf;
using test::RecordingReporter;
using test::Render;

MonitorEntry Note(int channel, int velocity) {
  const auto message = static_cast<std::uint32_t>(0x90 | channel | 60 << 8 | velocity << 16);
  return ChannelEntry(message, 0).value();
}

MonitorEntry GsPicture(const std::array<std::uint8_t, 64>& dots) {
  std::vector<std::uint8_t> message = {0xF0, 0x41, 0x10, 0x45, 0x12, 0x10, 0x01, 0x00};
  message.insert(message.end(), dots.begin(), dots.end());
  message.push_back(0x00);  // checksum, not looked at
  message.push_back(0xF7);
  return SysExEntry(message, 0).value();
}

MonitorEntry XgPicture(std::uint8_t address, const std::vector<std::uint8_t>& data) {
  std::vector<std::uint8_t> message = {0xF0, 0x43, 0x10, 0x4C, 0x07, 0x00, address};
  message.insert(message.end(), data.begin(), data.end());
  message.push_back(0xF7);
  return SysExEntry(message, 0).value();
}

class RolMeterWndTest : public testing::Test {
 protected:
  RolMeterWndTest() {
    roll.resize(192, 102);  // client 190 × 100: dots of 8 × 3 pixels
    fore = test::ToColour(roll.Colours().fore);
    unlit = test::ToColour(roll.Colours().foreB);
  }

  // The dots of one column as text, top row first: '#' fore, '.' fore-B, '?' anything else.
  std::string Column(const QImage& image, int column) const {
    std::string text;
    for (int row = 16; row >= 1; --row) {
      const QColor pixel = MiddleOf(image, roll.Dot(column, row));
      text += pixel == fore ? '#' : pixel == unlit ? '.' : '?';
    }
    return text;
  }

  RecordingReporter reporter;
  CRolMeterAWnd roll{reporter, nullptr};
  QColor fore;
  QColor unlit;
};

TEST_F(RolMeterWndTest, NotesLightTheirChannelsColumnsWithThePeakDotAbove) {
  for (int channel = 0; channel < 16; ++channel) {
    roll.SetVolume(channel, 127);
    roll.SetExpression(channel, 127);
  }
  roll.Take(Note(2, 127));
  roll.Take(Note(9, 64));
  roll.ApplyBatch();
  const QImage image = Render(roll);
  EXPECT_EQ(Column(image, 2), "#.##############");  // 127, peak 254 in the top row
  EXPECT_EQ(Column(image, 9), ".......#########");  // 64: 8 rows, the peak (128) just above
  EXPECT_EQ(Column(image, 0), "................");
  EXPECT_EQ(Column(image, 15), "................");
  // The note ends: its bar drops at once, the peak dot stays.
  roll.Take(ChannelEntry(0x80 | 9 | 60 << 8, 0).value());
  roll.ApplyBatch();
  EXPECT_EQ(Column(Render(roll), 9), ".......#........");
}

TEST_F(RolMeterWndTest, GsAndXgPicturesReplaceTheBarsUntilReset) {
  roll.Take(Note(0, 127));
  std::array<std::uint8_t, 64> gs{};
  gs[0] = 0x10;   // column 15, top row
  gs[63] = 0x10;  // column 0, bottom row
  roll.Take(GsPicture(gs));
  roll.ApplyBatch();
  QImage image = Render(roll);
  EXPECT_EQ(Column(image, 15), "#...............");
  EXPECT_EQ(Column(image, 0), "...............#") << "the note's bar is hidden by the picture";

  roll.Take(XgPicture(0x10, {0x00, 0x7F}));  // block 1, column 1: rows 7 to 13
  roll.ApplyBatch();
  image = Render(roll);
  EXPECT_EQ(Column(image, 1), ".......#######..");
  EXPECT_EQ(Column(image, 15), "................") << "the XG picture replaces the GS one";

  roll.Reset();
  image = Render(roll);
  for (const int column : {0, 1, 15}) EXPECT_EQ(Column(image, column), "................") << column;
}

TEST_F(RolMeterWndTest, RefreshTimerAgesTheDotsAwayEveryTenthOfASecond) {
  EXPECT_TRUE(roll.RefreshTimer().Running());
  EXPECT_EQ(roll.RefreshTimer().IntervalMs(), 100u);

  roll.Take(Note(6, 127));
  roll.ApplyBatch();
  ASSERT_NE(Column(Render(roll), 6), "................");
  // A note fades in about a second and its peak in two; allow a loaded machine plenty more.
  QTRY_VERIFY_WITH_TIMEOUT(Column(Render(roll), 6) == "................", 20000);
}

class PaintLog : public QObject {
 public:
  bool eventFilter(QObject* /*watched*/, QEvent* event) override {
    if (event->type() == QEvent::Paint) painted += static_cast<QPaintEvent*>(event)->region();
    return false;
  }
  QRegion painted;
};

TEST_F(RolMeterWndTest, OnlyTheColumnThatChangedIsRepainted) {
  PaintLog log;
  roll.installEventFilter(&log);
  roll.show();
  // The first paint, of the whole window, when it is shown.
  QTRY_VERIFY_WITH_TIMEOUT(!log.painted.isEmpty(), 5000);
  log.painted = QRegion();
  roll.Take(Note(5, 100));
  roll.ApplyBatch();
  QTRY_VERIFY_WITH_TIMEOUT(!log.painted.isEmpty(), 5000);
  const Rect column = ChannelGrid(roll.Client()).DotColumn(5);
  // In widget coordinates, past the one-pixel border.
  const QRect expected(column.left + 1, column.top + 1, column.Width(), column.Height());
  EXPECT_TRUE(expected.contains(log.painted.boundingRect()))
      << log.painted.boundingRect().x() << " " << log.painted.boundingRect().width();
  roll.removeEventFilter(&log);
}

}  // namespace
}  // namespace velvasto::gui
