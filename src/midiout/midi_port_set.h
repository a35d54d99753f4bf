#pragma once
// The virtual MIDI patchbay: up to ten port sets, each a port choice with a label and a scan
// string. When the patchbay is on, the first set whose scan string occurs in a song's path
// chooses the ports the song is opened with.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "midiout/midi_port.h"

namespace velvasto {

class CMIDIPortSet : public CMIDIPort {
 public:
  // `number` (0..9) is the set's place in the collection and forms its settings keys.
  explicit CMIDIPortSet(int number = 0);

  // Enumerates the devices, reads "Port Set LABEL n", "Port Set Scan String n" and the port
  // keys of number n, resolved as CMIDIPort::Load does.
  void Load(MidiDeviceCatalog& devices) override;
  // Writes the five keys of the set's number; false when a write failed.
  bool Save() override;

  int Number() const { return number_; }
  const std::string& Label() const { return label_; }
  const std::string& ScanString() const { return scanString_; }
  void SetLabel(std::string label) { label_ = std::move(label); }
  void SetScanString(std::string scan) { scanString_ = std::move(scan); }

  // Takes the port choice, label and scan string of `other`; the set number stays.
  void TakeContents(const CMIDIPortSet& other);
  // Empty label and scan string, one port, the mapper.
  void Clear();

 private:
  ChoiceKeys Keys() const;
  std::string Key(std::string_view base) const;

  int number_;
  std::string label_;
  std::string scanString_;
};

class CMIDIPortSetCollection {
 public:
  static constexpr int kSetCount = 10;

  CMIDIPortSetCollection();

  // Reads "Port Set Use" and "Port Set Num", then loads all ten sets.
  void Load(MidiDeviceCatalog& devices);
  // Writes "Port Set Use" and "Port Set Num", the sets in use, and every other set cleared, so
  // the file always holds ten sets. False when a write failed; a failure of the first two keys
  // ends the save.
  bool Save();

  // Sets the next free set to the given label, scan string and port choice. Throws
  // CErrMessage(52) with ten sets in use, CErrMessage(16) for an invalid port choice (nothing is
  // added then).
  void Add(std::string label, std::string scanString, int portCount, std::int32_t portA, std::int32_t portB);
  // Removes a set in use; the later ones move down a place. Throws CErrMessage(53) out of range.
  void Delete(int index);
  // Exchange a set in use with its neighbour. Throw CErrMessage(54) when there is none.
  void MoveUp(int index);
  void MoveDown(int index);
  // The first set in use whose scan string occurs in `path`, ignoring case (which becomes the
  // selected set), or −1 (the selected set is then unchanged).
  int Match(std::string_view path);
  // Copies the switch, the number in use and all ten sets; the selected set stays.
  void CopyFrom(const CMIDIPortSetCollection& other);

  bool Use() const { return use_ != 0; }
  void SetUse(bool use) { use_ = use ? 1 : 0; }
  int SetsInUse() const { return setsInUse_; }
  int Selected() const { return selected_; }
  const CMIDIPortSet& Set(int index) const { return sets_.at(static_cast<std::size_t>(index)); }
  CMIDIPortSet& Set(int index) { return sets_.at(static_cast<std::size_t>(index)); }

 private:
  void Exchange(int first, int second);

  std::array<CMIDIPortSet, kSetCount> sets_;
  int use_ = 0;
  int setsInUse_ = 0;
  int selected_ = -1;
};

}  // namespace velvasto
