#include "gui/desktop/mpris_adaptors.h"

#include "app/association/associated_types.h"
#include "core/version_info.h"
#include "gui/qt_text.h"

namespace velvasto::gui {

QString CMprisRootAdaptor::Identity() const { return ToQString(VersionString("ProductName")); }

QString CMprisRootAdaptor::DesktopEntry() const { return ToQString(kDesktopId); }

QStringList CMprisRootAdaptor::SupportedMimeTypes() const {
  QStringList types{QStringLiteral("audio/x-midi")};
  for (const std::string_view type : AssociatedTypes()) types << ToQString(type);
  return types;
}

CMprisPlayerAdaptor::CMprisPlayerAdaptor(CMediaPlayerService* service)
    : QDBusAbstractAdaptor(service), service_(service) {
  connect(service, &CMediaPlayerService::Seeked, this, &CMprisPlayerAdaptor::Seeked);
}

}  // namespace velvasto::gui
