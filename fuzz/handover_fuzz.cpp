// Feeds arbitrary bytes to the receiving side of the instance hand-over: as a whole message
// (header, then the body it announces) and as a bare body. Besides not crashing, a request that
// decodes must keep within the limits and pass through encoding and decoding unchanged.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "app/handover_message.h"

namespace {

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

void CheckDecoded(const velvasto::OpenRequest& request) {
  Check(request.paths.size() <= velvasto::OpenRequest::kMaxPaths);
  Check(request.playMode >= -1 && request.playMode <= 2);
  Check(request.singleRepeat == -1 || request.singleRepeat == 1);
  Check(request.dropMode >= -1 && request.dropMode <= 1);
  const std::string message = velvasto::handover::EncodeOpenRequest(request);
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(message.data());
  const auto again = velvasto::handover::DecodeBody(
      std::span<const std::uint8_t>(bytes + velvasto::handover::kHeaderBytes, message.size() - velvasto::handover::kHeaderBytes));
  Check(again && *again == request);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> input(data, size);
  if (const auto body = velvasto::handover::DecodeBody(input)) CheckDecoded(*body);

  if (size < velvasto::handover::kHeaderBytes) return 0;
  const auto length = velvasto::handover::DecodeHeader(input.first<velvasto::handover::kHeaderBytes>());
  if (!length) return 0;
  Check(*length <= velvasto::handover::kMaxBodyBytes);
  const auto rest = input.subspan(velvasto::handover::kHeaderBytes);
  if (rest.size() < *length) return 0;  // a truncated message: the receiver stops reading
  if (const auto request = velvasto::handover::DecodeBody(rest.first(*length))) CheckDecoded(*request);
  return 0;
}
