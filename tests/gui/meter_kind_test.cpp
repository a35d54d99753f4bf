#include "gui/monitor/meter_kind.h"

#include <gtest/gtest.h>

namespace velvasto::gui {
namespace {

// The keys are "<stem> Back/For/For-B/Text Color<suffix>", those of the settings files users
// already have; a kind without a bar keeps no For and For-B colour.
TEST(MeterKindTest, EachKindKeepsItsColoursUnderItsOwnKeysWithItsDefaults) {
  struct Case {
    MeterKind kind;
    const char* stem;
    const char* suffix;
    bool fore, foreB;
    MeterColours defaults;
  };
  const Rgb black{0, 0, 0};
  const Rgb yellow{255, 255, 0};
  const Rgb cyan{0, 255, 255};
  const MeterColours status{black, black, black, {0, 255, 0}};
  const Case cases[] = {
      {MeterKind::RollA, "Rol", " A", true, true, {black, cyan, {0, 63, 63}, cyan}},
      {MeterKind::RollB, "Rol", " B", true, true, {black, cyan, {0, 63, 63}, cyan}},
      {MeterKind::Volume, "Vol", "", true, true, {black, {255, 153, 215}, black, yellow}},
      {MeterKind::Expression, "Exp", "", true, true, {black, {26, 223, 115}, black, yellow}},
      {MeterKind::Master, "Master", "", true, true, {black, {250, 255, 153}, black, yellow}},
      {MeterKind::Tempo, "Tempo", "", true, true, {black, {166, 153, 255}, {17, 0, 136}, yellow}},
      // The time meter has a track colour but no inactive one: that stays black.
      {MeterKind::Time, "Time", "", true, false, {black, {82, 194, 137}, black, yellow}},
      {MeterKind::Timebase, "Timebase", "", false, false, status},
      {MeterKind::FileCount, "Filecount", "", false, false, status},
      {MeterKind::VolumeSet, "VolSet", "", false, false, status},
      {MeterKind::MonitorPort, "MonPort", "", false, false, status},
      {MeterKind::Loop, "Loop", "", false, false, status},
      {MeterKind::Repeat, "Rep", "", false, false, status},
      {MeterKind::DdMode, "DD", "", false, false, status},
      {MeterKind::SelectPort, "Select Port", "", false, false, status},
      {MeterKind::Map, "Map", "", false, false, status},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stem);
    const auto key = [&](const char* role, bool kept = true) {
      return kept ? std::optional(std::string(c.stem) + " " + role + " Color" + c.suffix) : std::nullopt;
    };
    EXPECT_EQ(ColourKeyStem(c.kind, ColourRole::Back), key("Back"));
    EXPECT_EQ(ColourKeyStem(c.kind, ColourRole::Fore), key("For", c.fore));
    EXPECT_EQ(ColourKeyStem(c.kind, ColourRole::ForeB), key("For-B", c.foreB));
    EXPECT_EQ(ColourKeyStem(c.kind, ColourRole::Text), key("Text"));
    EXPECT_EQ(DefaultColours(c.kind), c.defaults);
  }
}

}  // namespace
}  // namespace velvasto::gui
