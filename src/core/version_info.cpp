#include "core/version_info.h"

#include "core/version.h"

namespace velvasto {

std::string VersionString(std::string_view name) {
  if (name == "ProductName") return version::kProductName;
  if (name == "FileVersion") return version::kFileVersion;
  if (name == "Comments") return version::kComments;
  if (name == "LegalCopyright") return version::kLegalCopyright;
  return {};
}

}  // namespace velvasto
