#pragma once
// The per-entry settings dialog "データの個別設定" of the list editor: one list entry's map
// handling (follow the play behaviour setting, scan, force the map chosen under "詳細設定") and
// its SC-55 correction. After OK, Settings() holds them; Cancel drops a forced map chosen
// meanwhile too.

#include <QDialog>
#include <cstdint>

class QButtonGroup;
class QCheckBox;
class QPushButton;

namespace velvasto::gui {

struct EntryMapSettings {
  std::int32_t mapMode = 0;
  std::int32_t adjust55 = 0;
  std::int32_t forceMap = 0;

  bool operator==(const EntryMapSettings&) const = default;
};

class CDataOptDlg : public QDialog {
  Q_OBJECT

 public:
  explicit CDataOptDlg(const EntryMapSettings& settings, QWidget* parent = nullptr);

  const EntryMapSettings& Settings() const { return settings_; }

 private:
  void OnForceDetails();
  void OnOk();

  EntryMapSettings settings_;
  QButtonGroup* mapMode_;
  QCheckBox* adjust55_;
  QPushButton* forceDetails_;
};

}  // namespace velvasto::gui
