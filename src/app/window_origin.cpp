#include "app/window_origin.h"

#include "core/errors.h"

namespace velvasto {

WindowOrigin ReadWindowOrigin(const CINIFile& settings) {
  WindowOrigin origin{settings.ReadInt("POS-X", 0), settings.ReadInt("POS-Y", 0)};
  const int shift = settings.ReadInt("POSSHIFT", -1);
  if (shift != -1) origin.top += shift;
  return origin;
}

void WriteWindowOrigin(CINIFile& settings, WindowOrigin origin) {
  if (!settings.WriteInt("POS-X", origin.left) || !settings.WriteInt("POS-Y", origin.top)) {
    throw CErrMessage(errc::kIniSaveFailed);
  }
}

}  // namespace velvasto
