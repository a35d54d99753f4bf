#pragma once
// A mistake in the command line found while reading or resolving its options. The command
// prints the text with the usage summary and exits with status 2 (see commands.h).

#include <stdexcept>
#include <string>

namespace velvasto::cli {

class UsageProblem : public std::runtime_error {
 public:
  explicit UsageProblem(const std::string& text) : std::runtime_error(text) {}
};

}  // namespace velvasto::cli
