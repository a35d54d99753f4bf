#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "app/handover_message.h"

namespace velvasto {
namespace {

using Bytes = std::vector<std::uint8_t>;

void PutLE32(Bytes& out, std::uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<std::uint8_t>(value >> shift));
}

// A body with the given modes and declared count, followed by `paths`.
Bytes Body(std::int32_t play, std::int32_t repeat, std::int32_t drop, std::int32_t count,
           const std::vector<std::string>& paths) {
  Bytes body;
  for (std::int32_t value : {play, repeat, drop, count}) PutLE32(body, static_cast<std::uint32_t>(value));
  for (const auto& path : paths) {
    PutLE32(body, static_cast<std::uint32_t>(path.size()));
    body.insert(body.end(), path.begin(), path.end());
  }
  return body;
}

// What DecodeHeader makes of a header with these magic, version and body length.
std::optional<std::size_t> Header(std::string_view magic, std::uint32_t version, std::uint32_t length) {
  Bytes bytes(magic.begin(), magic.end());
  PutLE32(bytes, version);
  PutLE32(bytes, length);
  return handover::DecodeHeader(std::span<const std::uint8_t, handover::kHeaderBytes>(bytes.data(), 12));
}

TEST(HandOverMessageTest, EncodesHeaderModesCountAndLengthPrefixedPaths) {
  const std::string message = handover::EncodeOpenRequest({.playMode = 2, .dropMode = 0, .paths = {"/a.mid", "/曲.rcp"}});
  Bytes expected{'V', 'L', 'V', 'O', 1, 0, 0, 0};
  const Bytes body = Body(2, -1, 0, 2, {"/a.mid", "/曲.rcp"});
  PutLE32(expected, static_cast<std::uint32_t>(body.size()));
  expected.insert(expected.end(), body.begin(), body.end());
  EXPECT_EQ(Bytes(message.begin(), message.end()), expected);
}

TEST(HandOverMessageTest, RoundTripsTheMostARequestCanCarryAndLeavesOutWhatItCannot) {
  OpenRequest request{.singleRepeat = 1, .paths = {}};
  request.paths.push_back(std::string(handover::kMaxPathBytes + 1, 'x'));  // longer than any path
  request.paths.emplace_back();                                             // an empty path
  for (int i = 0; i < 1030; ++i) request.paths.push_back("/music/ソング" + std::to_string(i) + ".mid");
  const std::string message = handover::EncodeOpenRequest(request);
  const Bytes bytes(message.begin(), message.end());
  EXPECT_EQ(handover::DecodeHeader(std::span<const std::uint8_t, handover::kHeaderBytes>(bytes.data(), 12)),
            bytes.size() - handover::kHeaderBytes);
  const auto decoded = handover::DecodeBody(std::span(bytes).subspan(handover::kHeaderBytes));
  ASSERT_TRUE(decoded.has_value());
  EXPECT_TRUE(decoded->singleRepeat == 1 && decoded->playMode == -1);
  ASSERT_EQ(decoded->paths.size(), 1024u);
  EXPECT_EQ(decoded->paths.front(), "/music/ソング0.mid");
  EXPECT_EQ(decoded->paths.back(), "/music/ソング1023.mid");
}

TEST(HandOverMessageTest, HeaderOfAnotherMagicOrVersionOrAnOversizedBodyIsRefused) {
  EXPECT_EQ(Header("VLVO", 1, handover::kMaxBodyBytes), handover::kMaxBodyBytes);
  EXPECT_EQ(Header("VLVO", 1, handover::kMaxBodyBytes + 1), std::nullopt);
  EXPECT_EQ(Header("VLVO", 1, 0xFFFFFFFF), std::nullopt);
  EXPECT_EQ(Header("VLVO", 2, 16), std::nullopt);
  EXPECT_EQ(Header("vLVO", 1, 16), std::nullopt);
}

TEST(HandOverMessageTest, CountsAreClampedModesOutOfRangeReadAsNotGivenAndMalformedBodiesAreDroppedWhole) {
  EXPECT_EQ(handover::DecodeBody(Body(0, 1, 1, -5, {"/ignored.mid"})),
            (OpenRequest{.playMode = 0, .singleRepeat = 1, .dropMode = 1, .paths = {}}));
  EXPECT_EQ(handover::DecodeBody(Body(3, 0, 2, 0, {})), OpenRequest{});
  EXPECT_EQ(handover::DecodeBody(Body(-1, -1, -1, 5000, std::vector<std::string>(1025, "/p"))).value().paths.size(),
            1024u);
  EXPECT_EQ(handover::DecodeBody(Bytes(15, 0)), std::nullopt);              // shorter than the fixed fields
  EXPECT_EQ(handover::DecodeBody(Body(0, 1, 0, 2, {"/one.mid"})), std::nullopt);  // a path missing
  Bytes cut = Body(0, 1, 0, 1, {"/one.mid"});
  cut.pop_back();
  EXPECT_EQ(handover::DecodeBody(cut), std::nullopt);                     // a path cut short
  Bytes lengthOnly = Body(0, 1, 0, 1, {});
  lengthOnly.push_back(8);
  EXPECT_EQ(handover::DecodeBody(lengthOnly), std::nullopt);              // a length cut short
  EXPECT_EQ(handover::DecodeBody(Body(0, 1, 0, 1, {""})), std::nullopt);    // an empty path
  EXPECT_EQ(handover::DecodeBody(Body(0, 1, 0, 1, {std::string("/a\0b", 4)})), std::nullopt);
  EXPECT_EQ(handover::DecodeBody(Body(0, 1, 0, 1, {std::string(handover::kMaxPathBytes + 1, 'p')})), std::nullopt);
  Bytes bigLength = Body(0, 1, 0, 1, {});
  PutLE32(bigLength, 0xFFFFFFFF);
  EXPECT_EQ(handover::DecodeBody(bigLength), std::nullopt);
}

}  // namespace
}  // namespace velvasto
