#pragma once
// Reading "--name VALUE" and "--name=VALUE" options, the form every command accepts.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <span>
#include <string_view>

namespace velvasto::cli {

// The value of option `name` when args[i] is that option; `i` then stands on the last argument
// used. nullopt when args[i] is something else. Throws UsageProblem when the value is missing.
std::optional<std::string_view> OptionValue(std::span<const std::string_view> args, std::size_t& i,
                                            std::string_view name);

// Throws UsageProblem when `out` is the song file itself: writing it would destroy the song.
void RefuseToOverwriteSong(std::string_view command, const std::filesystem::path& song,
                           const std::filesystem::path& out);

}  // namespace velvasto::cli
