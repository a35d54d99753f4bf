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

void PutPath(Bytes& out, const std::string& path) {
  PutLE32(out, static_cast<std::uint32_t>(path.size()));
  out.insert(out.end(), path.begin(), path.end());
}

// A body with the given modes and declared count, followed by `paths`.
Bytes Body(std::int32_t play, std::int32_t repeat, std::int32_t drop, std::int32_t count,
           const std::vector<std::string>& paths) {
  Bytes body;
  for (std::int32_t value : {play, repeat, drop, count}) PutLE32(body, static_cast<std::uint32_t>(value));
  for (const auto& path : paths) PutPath(body, path);
  return body;
}

std::optional<std::size_t> Header(const Bytes& bytes) {
  return handover::DecodeHeader(std::span<const std::uint8_t, handover::kHeaderBytes>(bytes.data(), 12));
}

TEST(HandOverMessageTest, EncodesHeaderModesCountAndLengthPrefixedPaths) {
  OpenRequest request;
  request.playMode = 2;
  request.dropMode = 0;
  request.paths = {"/a.mid", "/曲.rcp"};
  const std::string message = handover::EncodeOpenRequest(request);

  Bytes expected{'V', 'L', 'V', 'O', 1, 0, 0, 0};
  const Bytes body = Body(2, -1, 0, 2, {"/a.mid", "/曲.rcp"});
  PutLE32(expected, static_cast<std::uint32_t>(body.size()));
  expected.insert(expected.end(), body.begin(), body.end());
  EXPECT_EQ(Bytes(message.begin(), message.end()), expected);
}

TEST(HandOverMessageTest, RoundTripsTheMostARequestCanCarryAndLeavesOutWhatItCannot) {
  OpenRequest request;
  request.singleRepeat = 1;
  request.paths.push_back(std::string(handover::kMaxPathBytes + 1, 'x'));  // longer than any path
  for (int i = 0; i < 1030; ++i) request.paths.push_back("/music/ソング" + std::to_string(i) + ".mid");
  const std::string message = handover::EncodeOpenRequest(request);
  const Bytes bytes(message.begin(), message.end());

  const auto length = Header(bytes);
  ASSERT_TRUE(length.has_value());
  ASSERT_EQ(*length, bytes.size() - handover::kHeaderBytes);
  const auto decoded = handover::DecodeBody(std::span(bytes).subspan(handover::kHeaderBytes));
  ASSERT_TRUE(decoded.has_value());
  EXPECT_EQ(decoded->singleRepeat, 1);
  EXPECT_EQ(decoded->playMode, -1);
  ASSERT_EQ(decoded->paths.size(), 1024u);
  EXPECT_EQ(decoded->paths.front(), "/music/ソング0.mid");
  EXPECT_EQ(decoded->paths.back(), "/music/ソング1023.mid");
}

TEST(HandOverMessageTest, HeaderOfAnotherMagicOrVersionOrAnOversizedBodyIsRefused) {
  Bytes good{'V', 'L', 'V', 'O', 1, 0, 0, 0};
  PutLE32(good, static_cast<std::uint32_t>(handover::kMaxBodyBytes));
  EXPECT_EQ(Header(good), handover::kMaxBodyBytes);

  Bytes oversized{'V', 'L', 'V', 'O', 1, 0, 0, 0};
  PutLE32(oversized, static_cast<std::uint32_t>(handover::kMaxBodyBytes + 1));
  EXPECT_EQ(Header(oversized), std::nullopt);
  Bytes huge{'V', 'L', 'V', 'O', 1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF};
  EXPECT_EQ(Header(huge), std::nullopt);
  Bytes version2{'V', 'L', 'V', 'O', 2, 0, 0, 0, 16, 0, 0, 0};
  EXPECT_EQ(Header(version2), std::nullopt);
  Bytes magic{'v', 'L', 'V', 'O', 1, 0, 0, 0, 16, 0, 0, 0};
  EXPECT_EQ(Header(magic), std::nullopt);
}

TEST(HandOverMessageTest, CountsAreClampedAndModesOutOfRangeReadAsNotGiven) {
  const auto negative = handover::DecodeBody(Body(0, 1, 1, -5, {"/ignored.mid"}));
  ASSERT_TRUE(negative.has_value());
  EXPECT_TRUE(negative->paths.empty());
  EXPECT_EQ(negative->playMode, 0);
  EXPECT_EQ(negative->singleRepeat, 1);
  EXPECT_EQ(negative->dropMode, 1);

  std::vector<std::string> many;
  for (int i = 0; i < 1025; ++i) many.push_back("/" + std::to_string(i));
  const auto clamped = handover::DecodeBody(Body(-1, -1, -1, 5000, many));
  ASSERT_TRUE(clamped.has_value());
  EXPECT_EQ(clamped->paths.size(), 1024u);

  const auto modes = handover::DecodeBody(Body(3, 0, 2, 0, {}));
  ASSERT_TRUE(modes.has_value());
  EXPECT_EQ(modes->playMode, -1);
  EXPECT_EQ(modes->singleRepeat, -1);
  EXPECT_EQ(modes->dropMode, -1);
}

TEST(HandOverMessageTest, MalformedBodiesAreDroppedWhole) {
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
