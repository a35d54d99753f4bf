#pragma once
// The scan-string dialog "MAP補正スキャン文字列の設定": the three texts that automatic map
// correction looks for in a song's path. Taken as typed, an empty text included; after OK,
// Strings() holds them.

#include <QDialog>
#include <string>

class QLineEdit;

namespace velvasto::gui {

struct MapScanStrings {
  std::string sc88Pro;
  std::string sc88;
  std::string sc55;

  bool operator==(const MapScanStrings&) const = default;
};

class CMapScanDlg : public QDialog {
  Q_OBJECT

 public:
  explicit CMapScanDlg(const MapScanStrings& strings, QWidget* parent = nullptr);

  const MapScanStrings& Strings() const { return strings_; }

 private:
  void OnOk();

  MapScanStrings strings_;
  QLineEdit* sc88Pro_;
  QLineEdit* sc88_;
  QLineEdit* sc55_;
};

}  // namespace velvasto::gui
