#include "gui/monitor/transport_geometry.h"

#include <gtest/gtest.h>

#include <ostream>

namespace velvasto::gui {

void PrintTo(const Rect& r, std::ostream* out) {
  *out << "{" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << "}";
}

namespace {

struct RowCase {
  int x0;
  int x1;
  int u;
  TransportButtonRects expected;
};

// Each left edge is taken from x0 on its own, so a width that sixths do not divide leaves
// one-pixel gaps and overlaps exactly where the integer divisions put them.
TEST(TransportGeometryTest, ButtonRowSplitsIntoSixthsWithPlayTakingTwo) {
  const RowCase cases[] = {
      {4, 484, 17,
       {{4, 240, 84, 270}, {84, 240, 244, 270}, {244, 240, 324, 270}, {324, 240, 404, 270}, {404, 240, 484, 270}}},
      {10, 213, 16,
       {{10, 226, 43, 254}, {43, 226, 110, 254}, {111, 226, 144, 254}, {145, 226, 178, 254}, {179, 226, 212, 254}}},
      {0, 512, 20,
       {{0, 282, 85, 318}, {85, 282, 255, 318}, {256, 282, 341, 318}, {341, 282, 426, 318}, {426, 282, 511, 318}}},
  };
  for (const RowCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "x0=" << c.x0 << " x1=" << c.x1 << " u=" << c.u);
    const TransportButtonRects rects = TransportButtons(c.x0, c.x1, c.u);
    EXPECT_EQ(rects.stop, c.expected.stop);
    EXPECT_EQ(rects.play, c.expected.play);
    EXPECT_EQ(rects.rewind, c.expected.rewind);
    EXPECT_EQ(rects.fastForward, c.expected.fastForward);
    EXPECT_EQ(rects.pause, c.expected.pause);
  }
}

}  // namespace
}  // namespace velvasto::gui
