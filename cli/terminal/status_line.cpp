#include "cli/terminal/status_line.h"

#include <sys/ioctl.h>
#include <unistd.h>

namespace velvasto::cli {
namespace {

constexpr int kDefaultWidth = 80;
// Back to the start of the line, then erase to its end.
constexpr std::string_view kRedraw = "\r";
constexpr std::string_view kEraseToEnd = "\x1b[K";

void Write(std::FILE* stream, std::string_view text) { std::fwrite(text.data(), 1, text.size(), stream); }

}  // namespace

StatusLine::StatusLine(std::FILE* stream) : stream_(stream), inPlace_(::isatty(::fileno(stream)) == 1) {}

StatusLine::~StatusLine() { Finish(); }

int StatusLine::Columns() const {
  struct winsize size = {};
  const int width = inPlace_ && ::ioctl(::fileno(stream_), TIOCGWINSZ, &size) == 0 && size.ws_col > 0
                        ? size.ws_col
                        : kDefaultWidth;
  return width - 1;
}

void StatusLine::Show(std::string_view text) {
  if (!inPlace_ || text == shown_) return;
  shown_ = text;
  Write(stream_, kRedraw);
  Write(stream_, text);
  Write(stream_, kEraseToEnd);
  std::fflush(stream_);
}

void StatusLine::Print(std::string_view line) {
  if (inPlace_ && !shown_.empty()) {
    Write(stream_, kRedraw);
    Write(stream_, kEraseToEnd);
  }
  Write(stream_, line);
  Write(stream_, "\n");
  if (inPlace_ && !shown_.empty()) Write(stream_, shown_);
  std::fflush(stream_);
}

void StatusLine::Finish() {
  if (!inPlace_ || shown_.empty()) return;
  Write(stream_, "\n");
  std::fflush(stream_);
  shown_.clear();
}

}  // namespace velvasto::cli
