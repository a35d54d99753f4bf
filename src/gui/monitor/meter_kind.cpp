#include "gui/monitor/meter_kind.h"

#include <string_view>

namespace velvasto::gui {
namespace {

struct KindEntry {
  std::string_view word;
  MeterColours defaults;
};

constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kYellow{255, 255, 0};
constexpr Rgb kGreen{0, 255, 0};

// Indexed by kind − 1.
const std::array<KindEntry, 16> kKinds = {{
    {"Rol", {kBlack, {0, 255, 255}, {0, 63, 63}, {0, 255, 255}}},
    {"Rol", {kBlack, {0, 255, 255}, {0, 63, 63}, {0, 255, 255}}},
    {"Vol", {kBlack, {255, 153, 215}, kBlack, kYellow}},
    {"Exp", {kBlack, {26, 223, 115}, kBlack, kYellow}},
    {"Master", {kBlack, {250, 255, 153}, kBlack, kYellow}},
    {"Tempo", {kBlack, {166, 153, 255}, {17, 0, 136}, kYellow}},
    {"Time", {kBlack, {82, 194, 137}, kBlack, kYellow}},
    {"Timebase", {kBlack, kBlack, kBlack, kGreen}},
    {"Filecount", {kBlack, kBlack, kBlack, kGreen}},
    {"VolSet", {kBlack, kBlack, kBlack, kGreen}},
    {"MonPort", {kBlack, kBlack, kBlack, kGreen}},
    {"Loop", {kBlack, kBlack, kBlack, kGreen}},
    {"Rep", {kBlack, kBlack, kBlack, kGreen}},
    {"DD", {kBlack, kBlack, kBlack, kGreen}},
    {"Select Port", {kBlack, kBlack, kBlack, kGreen}},
    {"Map", {kBlack, kBlack, kBlack, kGreen}},
}};

const KindEntry& Entry(MeterKind kind) { return kKinds[static_cast<std::size_t>(kind) - 1]; }

bool HasKey(MeterKind kind, ColourRole role) {
  const int number = static_cast<int>(kind);
  switch (role) {
    case ColourRole::Fore:
      return number <= static_cast<int>(MeterKind::Time);
    case ColourRole::ForeB:
      return number <= static_cast<int>(MeterKind::Tempo);
    case ColourRole::Back:
    case ColourRole::Text:
      return true;
  }
  return false;
}

std::string_view RoleName(ColourRole role) {
  switch (role) {
    case ColourRole::Back:
      return "Back";
    case ColourRole::Fore:
      return "For";
    case ColourRole::ForeB:
      return "For-B";
    case ColourRole::Text:
      return "Text";
  }
  return {};
}

}  // namespace

Rgb& MeterColours::operator[](ColourRole role) {
  return const_cast<Rgb&>(static_cast<const MeterColours&>(*this)[role]);
}

const Rgb& MeterColours::operator[](ColourRole role) const {
  switch (role) {
    case ColourRole::Fore:
      return fore;
    case ColourRole::ForeB:
      return foreB;
    case ColourRole::Text:
      return text;
    case ColourRole::Back:
      break;
  }
  return back;
}

MeterColours DefaultColours(MeterKind kind) { return Entry(kind).defaults; }

std::optional<std::string> ColourKeyStem(MeterKind kind, ColourRole role) {
  if (!HasKey(kind, role)) return std::nullopt;
  std::string stem(Entry(kind).word);
  stem += ' ';
  stem += RoleName(role);
  stem += " Color";
  // The piano rolls share their key word; the port letter tells them apart.
  if (kind == MeterKind::RollA) stem += " A";
  if (kind == MeterKind::RollB) stem += " B";
  return stem;
}

}  // namespace velvasto::gui
