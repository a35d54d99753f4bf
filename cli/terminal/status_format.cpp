#include "cli/terminal/status_format.h"

#include <algorithm>
#include <cstdio>

#include "cli/terminal/text_columns.h"

namespace velvasto::cli {
namespace {

constexpr int kMinBarColumns = 10;
constexpr int kMaxBarColumns = 40;

// `text` and a bar of `done` of `total` in at most `columns` columns; the bar takes the room that
// is left, and is left out when there is too little.
std::string WithProgressBar(std::string_view text, std::uint64_t done, std::uint64_t total, int columns) {
  // "  [" + bar + "] " + "100%"
  const int barColumns = std::min(kMaxBarColumns, columns - static_cast<int>(text.size()) - 9);
  if (barColumns < kMinBarColumns) return FitColumns(text, columns);
  return std::string(text) + "  " + FormatProgressBar(done, total, barColumns);
}

}  // namespace

std::string FormatClock(std::uint32_t seconds) {
  char text[32];
  if (seconds >= 3600) {
    std::snprintf(text, sizeof text, "%u:%02u:%02u", seconds / 3600, seconds / 60 % 60, seconds % 60);
  } else {
    std::snprintf(text, sizeof text, "%u:%02u", seconds / 60, seconds % 60);
  }
  return text;
}

std::string FormatClockUs(std::uint64_t us) {
  return FormatClock(static_cast<std::uint32_t>(std::min<std::uint64_t>(us / 1'000'000, UINT32_MAX)));
}

std::string FormatListPlace(const std::optional<ListPosition>& list) {
  if (!list) return {};
  return "[" + std::to_string(list->number) + "/" + std::to_string(list->count) + "] ";
}

std::string FormatPlayStatus(const PlayStatus& status, int columns) {
  const std::string prefix = FormatListPlace(status.list);
  std::string tail = "  " + FormatClock(status.positionSeconds) + " / " + FormatClock(status.lengthSeconds) + "  " +
                     std::to_string(status.tempoBpm) + " bpm  vol " + std::to_string(status.volume);
  if (status.paused) tail += "  PAUSED";
  const int titleColumns = columns - static_cast<int>(prefix.size() + tail.size());
  // Too narrow for a useful title: the numbers matter more.
  if (titleColumns < 4) return FitColumns(prefix + tail.substr(2), columns);
  return prefix + FitColumns(status.title, titleColumns) + tail;
}

std::string FormatProgressBar(std::uint64_t done, std::uint64_t total, int barColumns) {
  const double fraction = total == 0 ? 1.0 : std::min(1.0, static_cast<double>(done) / static_cast<double>(total));
  const auto filled = static_cast<int>(fraction * barColumns);
  char percent[8];
  std::snprintf(percent, sizeof percent, "%3d%%", static_cast<int>(fraction * 100));
  return "[" + std::string(static_cast<std::size_t>(filled), '#') +
         std::string(static_cast<std::size_t>(barColumns - filled), '.') + "] " + percent;
}

std::string FormatSendingProgress(std::string_view text, std::uint64_t sent, std::uint64_t total, int columns) {
  return WithProgressBar(text, sent, total, columns);
}

std::string FormatProgressLine(std::string_view label, std::uint64_t doneUs, std::uint64_t lengthUs, int columns) {
  const std::string head =
      std::string(label) + "  " + FormatClockUs(std::min(doneUs, lengthUs)) + " / " + FormatClockUs(lengthUs);
  return WithProgressBar(head, doneUs, lengthUs, columns);
}

}  // namespace velvasto::cli
