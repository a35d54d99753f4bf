#pragma once
// The program's message catalogue: numbered Japanese texts shown to the user.

#include <string_view>

namespace velvasto {

// Message ids of the two error ranges and the list question.
inline constexpr int kMsgUndefinedError = 62000;
inline constexpr int kMsgFirstAppError = 62001;
inline constexpr int kMsgUndefinedMMError = 63000;
inline constexpr int kMsgNoMMError = 63001;
inline constexpr int kMsgListModifiedSave = 64000;

// The text of message `id`, or an empty view when the catalogue has no such message.
std::string_view CatalogueText(int id);

}  // namespace velvasto
