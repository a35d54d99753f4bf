#pragma once
// One line of a terminal that is rewritten in place (the player's status, a render's progress),
// with ordinary lines printed above it. When the stream is not a terminal nothing is drawn in
// place: Show does nothing and Print prints plain lines, so a log or a pipe gets no cursor
// codes and no flood of updates.

#include <cstdio>
#include <string>
#include <string_view>

namespace velvasto::cli {

class StatusLine {
 public:
  explicit StatusLine(std::FILE* stream);
  // Ends the status line, so that what follows starts on a line of its own.
  ~StatusLine();
  StatusLine(const StatusLine&) = delete;
  StatusLine& operator=(const StatusLine&) = delete;

  bool InPlace() const { return inPlace_; }
  // Columns to fit the text into: one less than the terminal's width, so that the cursor never
  // reaches the last column and wraps (80 − 1 when the width is unknown).
  int Columns() const;
  // Replaces the status line with `text` (already fitted to Columns()). Unchanged text is not
  // written again.
  void Show(std::string_view text);
  // A line of its own above the status line, which is drawn again below it.
  void Print(std::string_view line);
  // Leaves the last status where it is and moves to a new line.
  void Finish();

 private:
  std::FILE* stream_;
  bool inPlace_;
  std::string shown_;
};

}  // namespace velvasto::cli
