#include "midiout/midi_port_set.h"

#include <algorithm>
#include <cctype>

#include "core/errors.h"

namespace velvasto {
namespace {

std::string LowerAscii(std::string_view text) {
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return lower;
}

}  // namespace

CMIDIPortSet::CMIDIPortSet(int number) : number_(number) {}

std::string CMIDIPortSet::Key(std::string_view base) const {
  return std::string(base) + ' ' + std::to_string(number_);
}

CMIDIPort::ChoiceKeys CMIDIPortSet::Keys() const {
  return {Key("MIDI Port Num"), Key("MIDI Port A"), Key("MIDI Port B")};
}

void CMIDIPortSet::Load(MidiDeviceCatalog& devices) {
  LoadDevices(devices);
  label_ = ReadString(Key("Port Set LABEL"), "");
  scanString_ = ReadString(Key("Port Set Scan String"), "");
  ReadChoice(Keys());
}

bool CMIDIPortSet::Save() {
  return WriteString(Key("Port Set LABEL"), label_) && WriteString(Key("Port Set Scan String"), scanString_) &&
         WriteChoice(Keys());
}

void CMIDIPortSet::TakeContents(const CMIDIPortSet& other) {
  CMIDIPort::operator=(other);
  label_ = other.label_;
  scanString_ = other.scanString_;
}

void CMIDIPortSet::Clear() {
  ClearChoice();
  label_.clear();
  scanString_.clear();
}

CMIDIPortSetCollection::CMIDIPortSetCollection()
    : sets_{CMIDIPortSet(0), CMIDIPortSet(1), CMIDIPortSet(2), CMIDIPortSet(3), CMIDIPortSet(4),
            CMIDIPortSet(5), CMIDIPortSet(6), CMIDIPortSet(7), CMIDIPortSet(8), CMIDIPortSet(9)} {}

void CMIDIPortSetCollection::Load(MidiDeviceCatalog& devices) {
  const CINIFile settings;
  use_ = settings.ReadInt("Port Set Use", 0);
  // A count outside 0..10 cannot be right; keep it inside the collection.
  setsInUse_ = std::clamp(settings.ReadInt("Port Set Num", 0), 0, kSetCount);
  for (CMIDIPortSet& set : sets_) set.Load(devices);
}

bool CMIDIPortSetCollection::Save() {
  CINIFile settings;
  if (!settings.WriteInt("Port Set Use", use_) || !settings.WriteInt("Port Set Num", setsInUse_)) return false;
  bool saved = true;
  for (int i = 0; i < kSetCount; ++i) {
    CMIDIPortSet& set = sets_[static_cast<std::size_t>(i)];
    if (i >= setsInUse_) set.Clear();
    if (!set.Save()) saved = false;
  }
  return saved;
}

void CMIDIPortSetCollection::Add(std::string label, std::string scanString, int portCount, std::int32_t portA,
                                 std::int32_t portB) {
  if (setsInUse_ >= kSetCount) throw CErrMessage(errc::kPortSetAddFailed);
  CMIDIPortSet& set = sets_[static_cast<std::size_t>(setsInUse_)];
  set.SetLabel(std::move(label));
  set.SetScanString(std::move(scanString));
  set.SetPortCount(portCount);
  if (!set.Select(portA, portB)) throw CErrMessage(errc::kSamePortSelected);
  ++setsInUse_;
}

void CMIDIPortSetCollection::Delete(int index) {
  if (index < 0 || index >= setsInUse_) throw CErrMessage(errc::kPortSetDeleteFailed);
  for (int i = index; i + 1 < setsInUse_; ++i) {
    sets_[static_cast<std::size_t>(i)].TakeContents(sets_[static_cast<std::size_t>(i + 1)]);
  }
  --setsInUse_;
}

void CMIDIPortSetCollection::MoveUp(int index) {
  if (setsInUse_ <= 1 || index < 1 || index >= setsInUse_) throw CErrMessage(errc::kPortSetMoveFailed);
  Exchange(index - 1, index);
}

void CMIDIPortSetCollection::MoveDown(int index) {
  if (setsInUse_ <= 1 || index < 0 || index >= setsInUse_ - 1) throw CErrMessage(errc::kPortSetMoveFailed);
  Exchange(index, index + 1);
}

void CMIDIPortSetCollection::Exchange(int first, int second) {
  CMIDIPortSet& a = sets_[static_cast<std::size_t>(first)];
  CMIDIPortSet& b = sets_[static_cast<std::size_t>(second)];
  const CMIDIPortSet held = a;
  a.TakeContents(b);
  b.TakeContents(held);
}

int CMIDIPortSetCollection::Match(std::string_view path) {
  const std::string lowerPath = LowerAscii(path);
  for (int i = 0; i < setsInUse_; ++i) {
    if (lowerPath.find(LowerAscii(sets_[static_cast<std::size_t>(i)].ScanString())) != std::string::npos) {
      selected_ = i;
      return i;
    }
  }
  return -1;
}

void CMIDIPortSetCollection::CopyFrom(const CMIDIPortSetCollection& other) {
  use_ = other.use_;
  setsInUse_ = other.setsInUse_;
  for (std::size_t i = 0; i < sets_.size(); ++i) sets_[i].TakeContents(other.sets_[i]);
}

}  // namespace velvasto
