#include "core/map_scan.h"

#include <algorithm>
#include <string>

namespace velvasto {

namespace {

std::string Upper(std::string_view text) {
  std::string result(text);
  std::transform(result.begin(), result.end(), result.begin(),
                 [](unsigned char c) { return static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c); });
  return result;
}

}  // namespace

std::uint32_t MapScan(std::string_view text, std::string_view sc55Scan, std::string_view sc88Scan,
                      std::string_view sc88ProScan) {
  const std::string upper = Upper(text);
  if (upper.find(Upper(sc88ProScan)) != std::string::npos) return 3;
  if (upper.find(Upper(sc88Scan)) != std::string::npos) return 2;
  if (upper.find(Upper(sc55Scan)) != std::string::npos) return 1;
  return 0;
}

}  // namespace velvasto
