#include "core/catalogue.h"

#include <cstddef>
#include <string>
#include <unordered_map>

namespace velvasto {
namespace detail {
extern const unsigned char kCatalogueBytes[];
extern const std::size_t kCatalogueSize;
}  // namespace detail

namespace {

// Parses the embedded "<id>\t<text>" lines once; the views point into the embedded bytes.
std::unordered_map<int, std::string_view> ParseCatalogue() {
  std::unordered_map<int, std::string_view> table;
  const std::string_view all(reinterpret_cast<const char*>(detail::kCatalogueBytes), detail::kCatalogueSize);
  std::size_t pos = 0;
  while (pos < all.size()) {
    std::size_t end = all.find('\n', pos);
    if (end == std::string_view::npos) end = all.size();
    std::string_view line = all.substr(pos, end - pos);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    const std::size_t tab = line.find('\t');
    if (tab != std::string_view::npos && tab > 0) {
      int id = 0;
      bool numeric = true;
      for (char c : line.substr(0, tab)) {
        if (c < '0' || c > '9') {
          numeric = false;
          break;
        }
        id = id * 10 + (c - '0');
      }
      if (numeric) table.emplace(id, line.substr(tab + 1));
    }
    pos = end + 1;
  }
  return table;
}

}  // namespace

std::string_view CatalogueText(int id) {
  static const std::unordered_map<int, std::string_view> table = ParseCatalogue();
  const auto it = table.find(id);
  return it == table.end() ? std::string_view{} : it->second;
}

}  // namespace velvasto
