#include "gui/monitor/transport_artwork.h"

#include <QString>
#include <cstdint>
#include <string>

#include "core/catalogue.h"
#include "core/errors.h"

// The resources live in the gui library, a static library: they are registered by hand, since
// the linker would drop the resource object that nothing else refers to. Registering again is
// harmless. The macro declares a global function, so it is called outside every namespace.
static void RegisterTransportArtwork() { Q_INIT_RESOURCE(transport); }

namespace velvasto::gui {
namespace {

// An error code outside the catalogue's range: its text is the undefined error's.
constexpr std::int32_t kBitmapLoadFailed = kMsgUndefinedError - kMsgFirstAppError;

struct ArtworkNames {
  CommandId command;
  std::string_view frame;
  std::string_view icon;
};

constexpr ArtworkNames kArtwork[] = {
    {CommandId::Play, "frame_wide", "play"}, {CommandId::Stop, "frame", "stop"},
    {CommandId::FastForward, "frame", "ff"}, {CommandId::Rewind, "frame", "rewind"},
    {CommandId::Pause, "frame", "pause"},
};

std::string Suffixed(std::string_view stem, std::string_view suffix) {
  std::string name(stem);
  name += suffix;
  return name;
}

}  // namespace

QPixmap LoadTransportBitmap(std::string_view name) {
  RegisterTransportArtwork();
  QPixmap bitmap;
  const QString path = QStringLiteral(":/transport/") + QString::fromUtf8(name.data(), name.size()) + ".png";
  if (!bitmap.load(path, "PNG")) throw CErrMessage(kBitmapLoadFailed);
  return bitmap;
}

ButtonArtwork LoadButtonArtwork(CommandId command) {
  for (const ArtworkNames& names : kArtwork) {
    if (names.command != command) continue;
    return {LoadTransportBitmap(names.frame), LoadTransportBitmap(Suffixed(names.frame, "_pressed")),
            LoadTransportBitmap(names.icon), LoadTransportBitmap(Suffixed(names.icon, "_pressed")),
            LoadTransportBitmap(Suffixed(names.icon, "_disabled"))};
  }
  throw CErrMessage(kBitmapLoadFailed);
}

}  // namespace velvasto::gui
