#include "cli/option_value.h"

#include <string>
#include <system_error>

#include "cli/usage_problem.h"

namespace velvasto::cli {

std::optional<std::string_view> OptionValue(std::span<const std::string_view> args, std::size_t& i,
                                            std::string_view name) {
  const std::string_view arg = args[i];
  if (arg.starts_with(name) && arg.size() > name.size() && arg[name.size()] == '=') return arg.substr(name.size() + 1);
  if (arg != name) return std::nullopt;
  if (i + 1 == args.size()) throw UsageProblem(std::string(name) + " needs a value");
  return args[++i];
}

void RefuseToOverwriteSong(std::string_view command, const std::filesystem::path& song,
                           const std::filesystem::path& out) {
  std::error_code ec;
  if (std::filesystem::equivalent(song, out, ec)) {
    throw UsageProblem(std::string(command) + " would write over its own song file");
  }
}

}  // namespace velvasto::cli
