#pragma once
// The commands of velvasto-cli. Each takes the arguments after its name and returns the exit
// status: 0 success, 1 a file error (its message already on stderr), 2 a usage error.

#include <span>
#include <string_view>

namespace velvasto::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFileError = 1;
inline constexpr int kExitUsage = 2;

int RunInfo(std::span<const std::string_view> args);
int RunDump(std::span<const std::string_view> args);
int RunPorts(std::span<const std::string_view> args);
int RunRender(std::span<const std::string_view> args);
int RunPlay(std::span<const std::string_view> args);
int RunList(std::span<const std::string_view> args);
int RunConvert(std::span<const std::string_view> args);

// Prints "velvasto-cli: <text>" and the usage summary on stderr; returns kExitUsage.
int UsageError(std::string_view text);

}  // namespace velvasto::cli
