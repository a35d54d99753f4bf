#pragma once
// The instrument map a song was made for, guessed from a text (its path, or its title) that
// contains one of the user's scan strings.

#include <cstdint>
#include <string_view>

namespace velvasto {

// 3 when `text` contains the SC-88Pro scan string, else 2 for the SC-88 string, else 1 for the
// SC-55 string, else 0. Letters are compared without regard to case.
std::uint32_t MapScan(std::string_view text, std::string_view sc55Scan, std::string_view sc88Scan,
                      std::string_view sc88ProScan);

}  // namespace velvasto
