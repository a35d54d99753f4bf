#pragma once
// The file extensions the program can be made the default application of, the MIME type each
// one has on the desktop, and the program's name there.

#include <algorithm>
#include <array>
#include <string_view>
#include <vector>

namespace velvasto {

// The desktop's name of the program: the desktop entry "<id>.desktop", the icon, the MIME
// package, the AppStream component and the media-player bus name all go by it.
inline constexpr std::string_view kDesktopId = "org.velvasto.Velvasto";
inline constexpr std::string_view kDesktopFileName = "org.velvasto.Velvasto.desktop";

struct AssociatedExtension {
  std::string_view extension;  // with its dot
  std::string_view mimeType;   // the type the desktop gives files of this extension
};

// In the order the association is applied. Standard MIDI Files share the desktop's own type, so
// their three extensions are associated together; the Recomposer songs and the list files have
// types of their own (the MIME package), one per extension.
inline constexpr std::array<AssociatedExtension, 8> kAssociatedExtensions{{
    {".mid", "audio/midi"},
    {".midi", "audio/midi"},
    {".rmi", "audio/midi"},
    {".rcp", "audio/x-rcp"},
    {".r36", "audio/x-r36"},
    {".g36", "audio/x-g36"},
    {".g18", "audio/x-g18"},
    {".mlt", "audio/x-velvasto-list"},
}};

// The types of kAssociatedExtensions, each once, in its order.
inline std::vector<std::string_view> AssociatedTypes() {
  std::vector<std::string_view> types;
  for (const AssociatedExtension& entry : kAssociatedExtensions) {
    if (std::ranges::find(types, entry.mimeType) == types.end()) types.push_back(entry.mimeType);
  }
  return types;
}

}  // namespace velvasto
