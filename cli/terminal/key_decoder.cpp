#include "cli/terminal/key_decoder.h"

namespace velvasto::cli {
namespace {

constexpr std::uint8_t kEscape = 0x1B;

// The final byte of a cursor key's sequence.
void Arrow(std::uint8_t final, std::vector<KeyCommand>& out) {
  if (final == 'C') out.push_back(KeyCommand::Forward);
  if (final == 'D') out.push_back(KeyCommand::Back);
}

}  // namespace

void KeyDecoder::Ground(std::uint8_t byte, std::vector<KeyCommand>& out) {
  switch (byte) {
    case kEscape:
      state_ = State::Escape;
      return;
    case ' ':
      out.push_back(KeyCommand::PauseResume);
      return;
    case 'r':
    case 'R':
      out.push_back(KeyCommand::Restart);
      return;
    case 'n':
    case 'N':
      out.push_back(KeyCommand::Next);
      return;
    case 'q':
    case 'Q':
      out.push_back(KeyCommand::Quit);
      return;
    case '+':
    case '=':
      out.push_back(KeyCommand::VolumeUp);
      return;
    case '-':
    case '_':
      out.push_back(KeyCommand::VolumeDown);
      return;
    default:
      return;
  }
}

void KeyDecoder::Feed(std::span<const std::uint8_t> bytes, std::vector<KeyCommand>& out) {
  for (const std::uint8_t byte : bytes) {
    switch (state_) {
      case State::Ground:
        Ground(byte, out);
        break;
      case State::Escape:
        if (byte == '[') {
          state_ = State::ControlSequence;
        } else if (byte == 'O') {
          state_ = State::SingleShift;
        } else {
          // A lone Escape key, then an ordinary key.
          state_ = State::Ground;
          Ground(byte, out);
        }
        break;
      case State::ControlSequence:
        // Parameter and intermediate bytes (0x20..0x3F) continue the sequence; a final byte
        // (0x40..0x7E) ends it; anything else breaks it off.
        if (byte >= 0x20 && byte <= 0x3F) break;
        state_ = State::Ground;
        if (byte >= 0x40 && byte <= 0x7E) {
          Arrow(byte, out);
        } else {
          Ground(byte, out);
        }
        break;
      case State::SingleShift:
        state_ = State::Ground;
        Arrow(byte, out);
        break;
    }
  }
}

}  // namespace velvasto::cli
