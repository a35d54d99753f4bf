#pragma once
// The song property window "MIDIデータのプロパティ": the loaded song's memo, kind, subtype,
// wrappers, control files, time base, playing time and track count. Modeless and long-lived:
// the main view keeps one, refreshes it whenever a song starts and shows it on request; "閉じる"
// only hides it. It has no parent window, so it can stand beside the main window rather than
// above it.

#include <QDialog>
#include <array>

#include "song/song_info.h"

class QLabel;

namespace velvasto::gui {

class CDataPropatyDlg : public QDialog {
  Q_OBJECT

 public:
  explicit CDataPropatyDlg(QWidget* parent = nullptr);

  // Every text from `info`; all empty when there is none.
  void Refresh(const SongInfo* info);

 private:
  enum Field { kMemo, kKind, kSubtype, kMacBinary, kRiff, kCm6, kGsd, kGsd2, kTimeBase, kPlayTime, kTracks, kFieldCount };

  std::array<QLabel*, kFieldCount> values_{};
};

}  // namespace velvasto::gui
