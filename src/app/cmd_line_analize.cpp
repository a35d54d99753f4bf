#include "app/cmd_line_analize.h"

#include <algorithm>
#include <cctype>
#include <string_view>
#include <system_error>
#include <utility>

#include "core/errors.h"

namespace velvasto {

namespace {

std::string Upper(std::string_view text) {
  std::string upper(text);
  std::transform(upper.begin(), upper.end(), upper.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return upper;
}

bool IsKnownOption(const std::string& upperName) {
  static constexpr std::string_view kOptions[] = {"P1", "P2", "P3", "L", "T", "D1", "D2", "COMMIT", "UNINSTALL"};
  return std::find(std::begin(kOptions), std::end(kOptions), upperName) != std::end(kOptions);
}

// A "/" argument that is no known option is still a path when it looks like one.
bool SlashArgumentIsPath(const std::string& argument) {
  if (argument.find('/', 1) != std::string::npos) return true;
  std::error_code ignored;
  return std::filesystem::exists(std::filesystem::path(argument), ignored);
}

}  // namespace

CCmdLineAnalize::CCmdLineAnalize(TypeDetector detectType) : detectType_(std::move(detectType)) {
  if (!detectType_) {
    detectType_ = [](const std::filesystem::path& path) { return TypeProbe(path).Detect(); };
  }
}

void CCmdLineAnalize::Analize(std::span<const std::string> arguments) {
  for (const std::string& argument : arguments) {
    const bool dash = !argument.empty() && argument.front() == '-';
    const bool slash = !argument.empty() && argument.front() == '/';
    if (dash || slash) {
      const std::string name = Upper(std::string_view(argument).substr(1));
      if (dash || IsKnownOption(name) || !SlashArgumentIsPath(argument)) {
        if (!ApplyOption(name)) throw CErrMessage(errc::kCmdLineUnknown);
        continue;
      }
    }
    AddPath(argument);
  }
}

bool CCmdLineAnalize::ApplyOption(const std::string& name) {
  if (name == "P1" || name == "P2" || name == "P3") {
    if (request_.playMode != OpenRequest::kNotGiven) throw CErrMessage(errc::kCmdLineOrderTwice);
    request_.playMode = name[1] - '1';
  } else if (name == "L") {
    if (repeatGiven_) throw CErrMessage(errc::kCmdLineRepeatTwice);
    repeatGiven_ = true;
    request_.singleRepeat = 1;
  } else if (name == "T") {
    if (tGiven_) throw CErrMessage(errc::kCmdLineTTwice);
    tGiven_ = true;
  } else if (name == "D1" || name == "D2") {
    if (request_.dropMode != OpenRequest::kNotGiven) throw CErrMessage(errc::kCmdLineDropModeTwice);
    request_.dropMode = name[1] - '1';
  } else if (name == "COMMIT") {
    install_ = true;
  } else if (name == "UNINSTALL") {
    uninstall_ = true;
  } else {
    return false;
  }
  return true;
}

void CCmdLineAnalize::AddPath(const std::string& argument) {
  if (request_.paths.size() >= OpenRequest::kMaxPaths || argument.empty()) return;
  std::error_code error;
  std::filesystem::path path = std::filesystem::absolute(std::filesystem::path(argument), error);
  if (error) path = argument;
  if (detectType_(path) == FileType::Unknown) return;
  request_.paths.push_back(std::move(path));
}

}  // namespace velvasto
