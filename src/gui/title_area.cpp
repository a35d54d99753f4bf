#include "gui/title_area.h"

#include <cstdio>

namespace velvasto::gui {

namespace {

std::string KindText(const SongInfo& info) {
  switch (info.kind) {
    case SongKind::Smf: {
      std::string text = "Standard MIDI File format " + std::to_string(info.subtype);
      if (info.riff) text += " (RIFF)";
      if (info.macBinary) text += " (MacBinary)";
      return text;
    }
    case SongKind::Rcp:
      return info.subtype == 1 ? "R36" : "RCP";
    case SongKind::G36:
      return info.subtype == 1 ? "G18" : "G36";
  }
  return {};
}

// The name as the header holds it, without the blanks that pad it.
std::string Trimmed(const std::string& name) { return name.substr(0, name.find_last_not_of(' ') + 1); }

}  // namespace

std::string PlayTimeText(std::uint64_t microseconds) {
  const std::uint64_t seconds = microseconds / 1'000'000;
  char text[32];
  if (seconds >= 3600) {
    std::snprintf(text, sizeof text, "%llu:%02llu:%02llu", static_cast<unsigned long long>(seconds / 3600),
                  static_cast<unsigned long long>(seconds / 60 % 60), static_cast<unsigned long long>(seconds % 60));
  } else {
    std::snprintf(text, sizeof text, "%llu:%02llu", static_cast<unsigned long long>(seconds / 60),
                  static_cast<unsigned long long>(seconds % 60));
  }
  return text;
}

TitleAreaText DescribeSong(const SongInfo& info) {
  std::string details = KindText(info) + "   " + std::to_string(info.trackCount) + " tracks   timebase " +
                        std::to_string(info.timeBase) + "   " + PlayTimeText(info.playTimeUs);
  const auto controlFile = [&](const char* kind, const std::string& name, bool loaded) {
    if (loaded) details += std::string("   ") + kind + " " + Trimmed(name);
  };
  controlFile("CM6", info.cm6File, info.cm6Loaded);
  controlFile("GSD", info.gsdFile, info.gsdLoaded);
  controlFile("GSD2", info.gsd2File, info.gsd2Loaded);
  return {info.title, details};
}

}  // namespace velvasto::gui
