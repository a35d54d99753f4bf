#pragma once
// What a System Exclusive message sent to one input of the built-in synthesizer does to it.
// The synthesizer has 32 channels; input A addresses channels 0..15, input B 16..31, the way
// the two MIDI inputs of a dual-port Sound Canvas address its two part groups. FluidSynth
// itself only knows one group of 16 parts, so the messages whose meaning depends on the input
// are interpreted here and never handed to it.

#include <cstdint>
#include <span>

namespace velvasto {

struct SynthSysEx {
  enum class Kind {
    // Not understood, or understood as doing nothing (GM System Off, bad checksum).
    Ignore,
    // GM1/GM2 System On, GS reset, XG System On or XG all-parameter reset: the 16 channels of
    // the input that received it return to their power-on state.
    ResetInput,
    // GS "use for rhythm part" (40 1p 15 for the receiving input's group, 50 1p 15 for group B):
    // `channel` becomes a drum channel or a normal one.
    RhythmPart,
  };
  Kind kind = Kind::Ignore;
  int channel = 0;  // 0..31, for RhythmPart
  bool drum = false;
};

// `firstChannel` is 0 for input A and 16 for input B.
SynthSysEx InterpretSynthSysEx(std::span<const std::uint8_t> message, int firstChannel);

// The channel (0..15) of GS part block 0x0..0xF: block 0 is channel 10, blocks 1..9 channels
// 1..9, blocks 0xA..0xF channels 11..16.
int GsPartChannel(int block);

}  // namespace velvasto
