#pragma once
// The play behaviour dialog "演奏動作設定": map correction (off, scanned from the path, forced;
// each of the last two with its details dialog), SC-55 data correction, the RCP loop limit
// 1..255, the reset messages sent before a song and the SC-8850 drum-pitch conversion. It edits
// a copy; after OK, Values() holds it. What a details dialog confirmed is part of the copy, so
// Cancel drops it with the rest.

#include <QDialog>

#include "core/settings_block.h"
#include "engine/error_reporter.h"
#include "gui/dialogs/map_scan_dlg.h"

class QButtonGroup;
class QCheckBox;
class QLineEdit;
class QPushButton;

namespace velvasto::gui {

// The values the dialog edits: settings block keys, and the GM System Off flag, which lasts
// only until the program ends.
struct PlayBehaviour {
  int mapMode = 0;
  int forceMap = 0;
  int adjust55 = 0;
  int rcpLoopLimit = 255;
  int cmResetSend = 0;
  int gsResetSend = 0;
  int xgSystemOnSend = 0;
  int gm1SystemOnSend = 0;
  int gm2SystemOnSend = 0;
  bool gmSystemOff = false;
  int fix8850 = 0;
  MapScanStrings scan;

  static PlayBehaviour From(const SettingsBlock& settings, bool gmSystemOff);
  // Writes the values back in the order of the fields above.
  void ApplyTo(SettingsBlock& settings, bool& gmSystemOff) const;

  bool operator==(const PlayBehaviour&) const = default;
};

class CPlayModeDlg : public QDialog {
  Q_OBJECT

 public:
  CPlayModeDlg(const PlayBehaviour& values, ErrorReporter& reporter, QWidget* parent = nullptr);

  const PlayBehaviour& Values() const { return values_; }

 private:
  void EnableDetails(int mapMode);
  void OnScanDetails();
  void OnForceDetails();
  void OnOk();

  PlayBehaviour values_;
  ErrorReporter& reporter_;
  QButtonGroup* mapMode_;
  QPushButton* scanDetails_;
  QPushButton* forceDetails_;
  QCheckBox* adjust55_;
  QLineEdit* loopLimit_;
  QCheckBox* cmReset_;
  QCheckBox* gsReset_;
  QCheckBox* xgSystemOn_;
  QCheckBox* gm1SystemOn_;
  QCheckBox* gm2SystemOn_;
  QCheckBox* gmSystemOff_;
  QCheckBox* fix8850_;
};

}  // namespace velvasto::gui
