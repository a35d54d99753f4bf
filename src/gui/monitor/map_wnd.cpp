#include "gui/monitor/map_wnd.h"

#include <QPainter>

#include "core/cini_file.h"

namespace velvasto::gui {

namespace {

std::string ModelKeyStem(std::size_t model, const char* role) {
  return std::string(CMapWnd::kModelWords[model]) + " Map " + role + " Color";
}

}  // namespace

const std::array<CMapWnd::Pair, 3> CMapWnd::kModelDefaults = {{
    {{255, 0, 0}, {255, 255, 255}},
    {{0, 128, 0}, {255, 255, 255}},
    {{0, 0, 255}, {255, 255, 255}},
}};

CMapWnd::CMapWnd(ErrorReporter& reporter, QWidget* parent) : CMeterWnd(MeterKind::Map, reporter, parent) {
  const CINIFile settings;
  for (std::size_t model = 0; model < models_.size(); ++model) {
    models_[model].back = LoadColour(settings, ModelKeyStem(model, "Back"), kModelDefaults[model].back);
    models_[model].text = LoadColour(settings, ModelKeyStem(model, "Text"), kModelDefaults[model].text);
  }
}

CMapWnd::~CMapWnd() {
  std::vector<KeyedColour> keyed;
  for (std::size_t model = 0; model < models_.size(); ++model) {
    keyed.push_back({ModelKeyStem(model, "Back"), models_[model].back});
    keyed.push_back({ModelKeyStem(model, "Text"), models_[model].text});
  }
  SaveColours(keyed);
}

void CMapWnd::SetMap(int map) {
  if (map == map_) return;
  map_ = map;
  update();
}

CMapWnd::Pair CMapWnd::StateColours(int map) const {
  if (map >= 1 && map <= 3) return models_[static_cast<std::size_t>(map - 1)];
  return {Colours().back, Colours().text};
}

QString CMapWnd::Label(int map) {
  switch (map) {
    case 0:
      return QStringLiteral("     ---     ");
    case 1:
      return QStringLiteral("     55     ");
    case 2:
      return QStringLiteral("     88     ");
    case 3:
      return QStringLiteral("     88P     ");
    default:
      return {};
  }
}

std::vector<PopupItem> CMapWnd::MenuItems() const {
  return {
      {meter_cmd::kBackColour, QStringLiteral("MAP補正無しバックグランド色の変更")},
      {meter_cmd::kTextColour, QStringLiteral("MAP補正無しテキスト色の変更")},
      {map_cmd::kSc55Back, QStringLiteral("SC-55 MAP補正バックグランド色の変更")},
      {map_cmd::kSc55Text, QStringLiteral("SC-55 MAP補正テキスト色の変更")},
      {map_cmd::kSc88Back, QStringLiteral("SC-88 MAP補正バックグランド色の変更")},
      {map_cmd::kSc88Text, QStringLiteral("SC-88 MAP補正テキスト色の変更")},
      {map_cmd::kSc88ProBack, QStringLiteral("SC-88Pro MAP補正バックグランド色の変更")},
      {map_cmd::kSc88ProText, QStringLiteral("SC-88Pro MAP補正テキスト色の変更")},
      {meter_cmd::kDefaultColours, QStringLiteral("色を既定色に戻す")},
  };
}

void CMapWnd::RunCommand(int id) {
  switch (id) {
    case map_cmd::kSc55Back:
    case map_cmd::kSc88Back:
    case map_cmd::kSc88ProBack:
      ChooseNewColour(models_[static_cast<std::size_t>(id - map_cmd::kSc55Back)].back);
      return;
    case map_cmd::kSc55Text:
    case map_cmd::kSc88Text:
    case map_cmd::kSc88ProText:
      ChooseNewColour(models_[static_cast<std::size_t>(id - map_cmd::kSc55Text)].text);
      return;
    default:
      // Background, text and the defaults concern only the state without a map.
      CMeterWnd::RunCommand(id);
  }
}

void CMapWnd::PaintContent(QPainter& painter, const Rect& /*dirty*/) {
  const QString label = Label(map_);
  if (label.isEmpty()) return;
  const Pair colours = StateColours(map_);
  painter.setFont(MediumFont());
  painter.setPen(colours.text.ToQColor());
  painter.setBackground(colours.back.ToQColor());
  painter.setBackgroundMode(Qt::OpaqueMode);
  // Blanks first, over whatever label stood there before, then the label; each on its own
  // background.
  DrawText(painter, Client(), Qt::AlignHCenter | Qt::AlignTop, QStringLiteral("       "));
  DrawText(painter, Client(), Qt::AlignHCenter | Qt::AlignTop, label);
}

}  // namespace velvasto::gui
