#include "song/midi_stream.h"

namespace velvasto {

// Variation class of each program (0-based) on the first GS module, the SC-55, taken from
// its published tone list. The class says which variation banks the module has for the
// program, so that the "55 Adjust" fallback can fit a bank number to what that module played:
//   1: the capital tone only (bank 0);
//   2: the capital tone and a variation on bank 8;
//   3: the capital tone and variations on banks 8 and 16;
//   0: variations on other banks too (1..7, 9, 24, 32): bank numbers are left alone.
const std::array<std::uint32_t, 128>& CMIDIStream::ProgramMapTable() {
  static const std::array<std::uint32_t, 128> kTable = {
      // 0-7: Piano 1 (8 Piano 1w, 16 Piano 1d), Piano 2 (8), Piano 3 (8), Honky-tonk (8),
      //      E.Piano 1 (8, 24), E.Piano 2 (8, 24), Harpsichord (8, 16, 24), Clav.
      3, 2, 2, 2, 0, 0, 0, 1,
      // 8-15: Celesta, Glockenspiel, Music Box, Vibraphone (8), Marimba (8), Xylophone,
      //       Tubular-bell (8 Church Bell, 9 Carillon), Santur
      1, 1, 1, 2, 2, 1, 0, 1,
      // 16-23: Organ 1 (8, 16, 32), Organ 2 (8, 32), Organ 3, Church Org.1 (8, 16), Reed Organ,
      //        Accordion Fr (8 Accordion It), Harmonica, Bandoneon
      0, 0, 1, 3, 1, 2, 1, 1,
      // 24-31: Nylon-str.Gt (8, 16, 32), Steel-str.Gt (8 12-str, 16 Mandolin), Jazz Gt. (8),
      //        Clean Gt. (8), Muted Gt. (8), Overdrive Gt, DistortionGt (8), Gt.Harmonics (8)
      0, 3, 2, 2, 2, 1, 2, 2,
      // 32-39: Acoustic, Fingered, Picked, Fretless, Slap 1, Slap 2, Synth Bass 1 (8),
      //        Synth Bass 2 (8)
      1, 1, 1, 1, 1, 1, 2, 2,
      // 40-47: Violin (8 Slow Violin), Viola, Cello, Contrabass, Tremolo Str, PizzicatoStr,
      //        Harp, Timpani
      2, 1, 1, 1, 1, 1, 1, 1,
      // 48-55: Strings (8 Orchestra), Slow Strings, Syn.Strings1 (8), Syn.Strings2,
      //        Choir Aahs (32), Voice Oohs, SynVox, OrchestraHit
      2, 1, 2, 1, 0, 1, 1, 1,
      // 56-63: Trumpet, Trombone (1), Tuba, MutedTrumpet, French Horn (1), Brass 1 (8),
      //        Synth Brass1 (8), Synth Brass2 (8)
      1, 0, 1, 1, 0, 2, 2, 2,
      // 64-71: saxophones and double reeds
      1, 1, 1, 1, 1, 1, 1, 1,
      // 72-79: pipes
      1, 1, 1, 1, 1, 1, 1, 1,
      // 80-87: Square Wave (1, 8), Saw Wave (1, 8), Syn.Calliope, Chiffer Lead, Charang,
      //        Solo Vox, 5th Saw Wave, Bass & Lead
      0, 0, 1, 1, 1, 1, 1, 1,
      // 88-95: pads
      1, 1, 1, 1, 1, 1, 1, 1,
      // 96-103: Ice Rain, Soundtrack, Crystal (8 Syn Mallet), Atmosphere, Brightness, Goblin,
      //         Echo Drops (1, 2), Star Theme
      1, 1, 2, 1, 1, 1, 0, 1,
      // 104-111: Sitar (1), Banjo, Shamisen, Koto (8 Taisho Koto), Kalimba, Bagpipe, Fiddle,
      //          Shanai
      0, 1, 1, 2, 1, 1, 1, 1,
      // 112-119: Tinkle Bell, Agogo, Steel Drums, Woodblock (8 Castanets), Taiko (8 Concert BD),
      //          Melo. Tom 1 (8), Synth Drum (8 808 Tom), Reverse Cym.
      1, 1, 1, 2, 2, 2, 2, 1,
      // 120-127: sound effects, each with several variations on banks 1..9
      0, 0, 0, 0, 0, 0, 0, 0,
  };
  return kTable;
}

}  // namespace velvasto
