#include "app/handover_message.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace velvasto::handover {

namespace {

constexpr std::string_view kMagic = "VLVO";

void PutU32(std::string& out, std::uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<char>((value >> shift) & 0xFF));
}

void PutI32(std::string& out, std::int32_t value) { PutU32(out, static_cast<std::uint32_t>(value)); }

std::uint32_t GetU32(std::span<const std::uint8_t> bytes, std::size_t offset) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < 4; ++i) value |= static_cast<std::uint32_t>(bytes[offset + i]) << (8 * i);
  return value;
}

bool Carriable(const std::string& path) {
  return !path.empty() && path.size() <= kMaxPathBytes && path.find('\0') == std::string::npos;
}

std::int32_t ModeOrNotGiven(std::uint32_t raw, std::int32_t low, std::int32_t high) {
  const auto value = static_cast<std::int32_t>(raw);
  return value >= low && value <= high ? value : OpenRequest::kNotGiven;
}

}  // namespace

std::string EncodeOpenRequest(const OpenRequest& request) {
  std::string body;
  PutI32(body, request.playMode);
  PutI32(body, request.singleRepeat);
  PutI32(body, request.dropMode);
  PutI32(body, 0);  // the count, filled in below
  std::uint32_t count = 0;
  for (const auto& path : request.paths) {
    if (count == OpenRequest::kMaxPaths) break;
    const std::string& text = path.native();
    if (!Carriable(text)) continue;
    PutU32(body, static_cast<std::uint32_t>(text.size()));
    body += text;
    ++count;
  }
  std::string countBytes;
  PutU32(countBytes, count);
  body.replace(12, 4, countBytes);

  std::string message(kMagic);
  PutU32(message, kVersion);
  PutU32(message, static_cast<std::uint32_t>(body.size()));
  return message + body;
}

std::optional<std::size_t> DecodeHeader(std::span<const std::uint8_t, kHeaderBytes> header) {
  if (std::memcmp(header.data(), kMagic.data(), kMagic.size()) != 0) return std::nullopt;
  if (GetU32(header, 4) != kVersion) return std::nullopt;
  const std::uint32_t length = GetU32(header, 8);
  if (length > kMaxBodyBytes) return std::nullopt;
  return length;
}

std::optional<OpenRequest> DecodeBody(std::span<const std::uint8_t> body) {
  if (body.size() < 16) return std::nullopt;
  OpenRequest request;
  request.playMode = ModeOrNotGiven(GetU32(body, 0), 0, 2);
  request.singleRepeat = ModeOrNotGiven(GetU32(body, 4), 1, 1);
  request.dropMode = ModeOrNotGiven(GetU32(body, 8), 0, 1);
  const auto declared = static_cast<std::int32_t>(GetU32(body, 12));
  const auto count = static_cast<std::size_t>(std::clamp<std::int32_t>(declared, 0, static_cast<std::int32_t>(OpenRequest::kMaxPaths)));
  std::size_t offset = 16;
  for (std::size_t i = 0; i < count; ++i) {
    if (body.size() - offset < 4) return std::nullopt;
    const std::uint32_t length = GetU32(body, offset);
    offset += 4;
    if (length == 0 || length > kMaxPathBytes || body.size() - offset < length) return std::nullopt;
    const std::string text(reinterpret_cast<const char*>(body.data() + offset), length);
    if (text.find('\0') != std::string::npos) return std::nullopt;
    request.paths.emplace_back(text);
    offset += length;
  }
  return request;
}

}  // namespace velvasto::handover
