#include "gui/monitor/meter_kind.h"

#include <gtest/gtest.h>

namespace velvasto::gui {
namespace {

TEST(MeterKindTest, EachKindKeepsItsColoursUnderItsOwnKeysWithItsDefaults) {
  struct Case {
    MeterKind kind;
    const char* back;
    const char* fore;  // null: the kind keeps no such colour
    const char* foreB;
    const char* text;
    MeterColours defaults;
  };
  const Rgb black{0, 0, 0};
  const Rgb green{0, 255, 0};
  const Case cases[] = {
      {MeterKind::RollA,
       "Rol Back Color A",
       "Rol For Color A",
       "Rol For-B Color A",
       "Rol Text Color A",
       {black, {0, 255, 255}, {0, 63, 63}, {0, 255, 255}}},
      {MeterKind::RollB,
       "Rol Back Color B",
       "Rol For Color B",
       "Rol For-B Color B",
       "Rol Text Color B",
       {black, {0, 255, 255}, {0, 63, 63}, {0, 255, 255}}},
      {MeterKind::Volume,
       "Vol Back Color",
       "Vol For Color",
       "Vol For-B Color",
       "Vol Text Color",
       {black, {255, 153, 215}, black, {255, 255, 0}}},
      {MeterKind::Expression,
       "Exp Back Color",
       "Exp For Color",
       "Exp For-B Color",
       "Exp Text Color",
       {black, {26, 223, 115}, black, {255, 255, 0}}},
      {MeterKind::Master,
       "Master Back Color",
       "Master For Color",
       "Master For-B Color",
       "Master Text Color",
       {black, {250, 255, 153}, black, {255, 255, 0}}},
      {MeterKind::Tempo,
       "Tempo Back Color",
       "Tempo For Color",
       "Tempo For-B Color",
       "Tempo Text Color",
       {black, {166, 153, 255}, {17, 0, 136}, {255, 255, 0}}},
      // The time meter has a track colour but no inactive one: that stays black.
      {MeterKind::Time,
       "Time Back Color",
       "Time For Color",
       nullptr,
       "Time Text Color",
       {black, {82, 194, 137}, black, {255, 255, 0}}},
      {MeterKind::Timebase,
       "Timebase Back Color",
       nullptr,
       nullptr,
       "Timebase Text Color",
       {black, black, black, green}},
      {MeterKind::FileCount,
       "Filecount Back Color",
       nullptr,
       nullptr,
       "Filecount Text Color",
       {black, black, black, green}},
      {MeterKind::VolumeSet, "VolSet Back Color", nullptr, nullptr, "VolSet Text Color", {black, black, black, green}},
      {MeterKind::MonitorPort,
       "MonPort Back Color",
       nullptr,
       nullptr,
       "MonPort Text Color",
       {black, black, black, green}},
      {MeterKind::Loop, "Loop Back Color", nullptr, nullptr, "Loop Text Color", {black, black, black, green}},
      {MeterKind::Repeat, "Rep Back Color", nullptr, nullptr, "Rep Text Color", {black, black, black, green}},
      {MeterKind::DdMode, "DD Back Color", nullptr, nullptr, "DD Text Color", {black, black, black, green}},
      {MeterKind::SelectPort,
       "Select Port Back Color",
       nullptr,
       nullptr,
       "Select Port Text Color",
       {black, black, black, green}},
      {MeterKind::Map, "Map Back Color", nullptr, nullptr, "Map Text Color", {black, black, black, green}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.kind));
    const auto expect = [&](ColourRole role, const char* stem) {
      if (stem) {
        EXPECT_EQ(ColourKeyStem(c.kind, role), std::optional<std::string>(stem));
      } else {
        EXPECT_EQ(ColourKeyStem(c.kind, role), std::nullopt);
      }
    };
    expect(ColourRole::Back, c.back);
    expect(ColourRole::Fore, c.fore);
    expect(ColourRole::ForeB, c.foreB);
    expect(ColourRole::Text, c.text);
    EXPECT_EQ(DefaultColours(c.kind), c.defaults);
  }
}

}  // namespace
}  // namespace velvasto::gui
