#pragma once
// The instrument map display: which map the player applies to the song (none, SC-55, SC-88,
// SC-88Pro), as a label with a colour pair of its own for each state.

#include <array>
#include <string>

#include "gui/monitor/meter_wnd.h"

namespace velvasto::gui {

namespace map_cmd {
inline constexpr int kSc55Back = 32803;
inline constexpr int kSc88Back = 32804;
inline constexpr int kSc88ProBack = 32805;
inline constexpr int kSc55Text = 32806;
inline constexpr int kSc88Text = 32807;
inline constexpr int kSc88ProText = 32808;
}  // namespace map_cmd

class CMapWnd final : public CMeterWnd {
 public:
  // The colours of one map state.
  struct Pair {
    Rgb back;
    Rgb text;
    bool operator==(const Pair&) const = default;
  };
  // States 1 (SC-55), 2 (SC-88), 3 (SC-88Pro): the word of their keys and their defaults.
  static constexpr std::array<const char*, 3> kModelWords = {"55", "88", "88Pro"};
  static const std::array<Pair, 3> kModelDefaults;

  CMapWnd(ErrorReporter& reporter, QWidget* parent);
  // Writes the three models' colours back, then the window's own.
  ~CMapWnd() override;

  // 0 none, 1 SC-55, 2 SC-88, 3 SC-88Pro; any other value shows nothing.
  void SetMap(int map);
  int Map() const { return map_; }
  // The colours state `map` 0..3 is shown in.
  Pair StateColours(int map) const;
  // The label of state `map`, blanks included; empty for an unknown state.
  static QString Label(int map);

  std::vector<PopupItem> MenuItems() const override;
  void RunCommand(int id) override;

 protected:
  void PaintContent(QPainter& painter, const Rect& dirty) override;

 private:
  std::array<Pair, 3> models_;
  int map_ = 0;
};

}  // namespace velvasto::gui
