// Feeds arbitrary command lines to the parser: the input is split at zero bytes into arguments.
// File types come from the last character of a path ('u' unknown, anything else a Standard
// MIDI File), so no file is opened. Besides not crashing, the parser may only fail with the
// command-line errors, must keep within 1024 paths, and the request it builds must pass through
// the hand-over message unchanged.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/cmd_line_analize.h"
#include "app/handover_message.h"
#include "core/errors.h"

namespace {

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::string> arguments;
  std::string_view input(reinterpret_cast<const char*>(data), size);
  while (!input.empty() && arguments.size() < 4096) {
    const std::size_t end = input.find('\0');
    arguments.emplace_back(input.substr(0, end));
    input.remove_prefix(end == std::string_view::npos ? input.size() : end + 1);
  }

  velvasto::CCmdLineAnalize parser([](const std::filesystem::path& path) {
    const std::string& text = path.native();
    return !text.empty() && text.back() == 'u' ? velvasto::FileType::Unknown : velvasto::FileType::Smf;
  });
  try {
    parser.Analize(arguments);
  } catch (const velvasto::CErrMessage& e) {
    Check(e.Code() >= velvasto::errc::kCmdLineOrderTwice && e.Code() <= velvasto::errc::kCmdLineUnknown);
    return 0;
  }
  const velvasto::OpenRequest& request = parser.Request();
  Check(request.paths.size() <= velvasto::OpenRequest::kMaxPaths);
  Check(request.playMode >= -1 && request.playMode <= 2);
  Check(request.singleRepeat == -1 || request.singleRepeat == 1);
  Check(request.dropMode >= -1 && request.dropMode <= 1);
  for (const auto& path : request.paths) {
    if (path.native().size() > velvasto::handover::kMaxPathBytes) return 0;
  }

  const std::string message = velvasto::handover::EncodeOpenRequest(request);
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(message.data());
  const auto length = velvasto::handover::DecodeHeader(
      std::span<const std::uint8_t, velvasto::handover::kHeaderBytes>(bytes, velvasto::handover::kHeaderBytes));
  Check(length && *length == message.size() - velvasto::handover::kHeaderBytes);
  const auto decoded = velvasto::handover::DecodeBody(
      std::span<const std::uint8_t>(bytes + velvasto::handover::kHeaderBytes, *length));
  Check(decoded && *decoded == request);
  return 0;
}
