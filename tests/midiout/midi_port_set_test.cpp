#include "midiout/midi_port_set.h"

#include <gtest/gtest.h>

#include "port_fixture.h"

namespace velvasto::test {
namespace {

constexpr std::int32_t kNoPort = CMIDIPort::kNoPort;

class MidiPortSetTest : public PortTest {
 protected:
  MidiPortSetTest() {
    sets_.Load(catalog_);
    sets_.Add("SC-55", "sc55", 1, 0, kNoPort);
    sets_.Add("SC-88", "sc88", 2, 1, 2);
    sets_.Add("Any", "", 1, CMIDIPort::kMapper, kNoPort);
  }
  static std::vector<std::string> Labels(const CMIDIPortSetCollection& sets) {
    std::vector<std::string> labels;
    for (int i = 0; i < sets.SetsInUse(); ++i) labels.push_back(sets.Set(i).Label());
    return labels;
  }

  CMIDIPortSetCollection sets_;
};

TEST_F(MidiPortSetTest, EditsKeepEachSetWithItsPortsAndRefuseWhatCannotBeDone) {
  // The same device twice, port B without two ports, the mapper with port B, port B missing,
  // numbers outside the device table.
  for (const auto& [count, a, b] : {std::tuple(2, 1, 1), {1, 0, 1}, {2, -1, 1}, {2, 1, -1}, {1, 3, -1}, {2, 1, -2}}) {
    ExpectError<CErrMessage>([&] { sets_.Add("bad", "x", count, a, b); }, 16,
                             "MIDIポートの選択でエラーが発生しました。PORT AとPORT Bは同じポートを選択してはいけません。");
  }
  sets_.MoveUp(2);
  EXPECT_EQ(Labels(sets_), (std::vector<std::string>{"SC-55", "Any", "SC-88"}));
  EXPECT_EQ(sets_.Set(2).PortBName(), "SC-88") << "a set moves with its ports";
  sets_.MoveDown(0);
  EXPECT_EQ(Labels(sets_), (std::vector<std::string>{"Any", "SC-55", "SC-88"}));
  const char* cannotMove = "仮想MIDIパッチベイのポートセットの移動に失敗しました。";
  for (const int index : {0, 3}) ExpectError<CErrMessage>([&] { sets_.MoveUp(index); }, 54, cannotMove);
  ExpectError<CErrMessage>([&] { sets_.MoveDown(2); }, 54, cannotMove);

  sets_.Delete(0);
  EXPECT_EQ(Labels(sets_), (std::vector<std::string>{"SC-55", "SC-88"}));
  EXPECT_EQ(sets_.Set(1).Number(), 1) << "numbers stay with places";
  EXPECT_EQ(sets_.Set(1).PortCount(), 2);
  for (const int index : {2, -1}) {
    ExpectError<CErrMessage>([&] { sets_.Delete(index); }, 53, "仮想MIDIパッチベイのポートセットの削除に失敗しました。");
  }
  for (int i = 2; i < 10; ++i) sets_.Add("set " + std::to_string(i), "", 1, 0, kNoPort);
  ExpectError<CErrMessage>([&] { sets_.Add("eleventh", "", 1, 0, kNoPort); }, 52,
                           "仮想MIDIパッチベイのポートセットの追加に失敗しました。");
  EXPECT_EQ(sets_.SetsInUse(), 10);
}

TEST_F(MidiPortSetTest, MatchIgnoresCaseAndAnEmptyScanStringMatchesEverything) {
  EXPECT_EQ(sets_.Match("/music/Sc88/song.mid"), 1);
  EXPECT_EQ(sets_.Match("/music/song.mid"), 2);
  EXPECT_EQ(sets_.Selected(), 2);
  sets_.MoveUp(2);
  EXPECT_EQ(sets_.Match("/music/SC88/song.mid"), 1) << "now the empty string hides every later set";

  CMIDIPortSetCollection none;
  none.Load(catalog_);
  none.Add("x", "nothing like it", 1, 0, kNoPort);
  EXPECT_EQ(none.Match("/music/song.mid"), -1);
}

TEST_F(MidiPortSetTest, SaveWritesTenSetsAndLoadReadsThemBack) {
  sets_.SetUse(true);
  sets_.Delete(0);
  ASSERT_TRUE(sets_.Save());
  const std::vector<std::pair<std::string, std::string>> written = {
      {"Port Set Use", "1"}, {"Port Set Num", "2"}, {"Port Set LABEL 0", "SC-88"}, {"Port Set Scan String 0", "sc88"},
      {"MIDI Port Num 0", "2"}, {"MIDI Port A 0", "Synth B"}, {"MIDI Port B 0", "SC-88"}, {"Port Set LABEL 1", "Any"},
      // Set 1, then the place the deleted set left written as a cleared set, as are all places up to 9.
      {"MIDI Port A 1", "MIDI_MAPPER"}, {"Port Set LABEL 2", ""}, {"Port Set Scan String 9", ""},
      {"MIDI Port Num 9", "1"}, {"MIDI Port A 9", "MIDI_MAPPER"}, {"MIDI Port B 9", "NO_PORT"},
  };
  for (const auto& [key, value] : written) EXPECT_EQ(Read(key), value) << key;

  CMIDIPortSetCollection reloaded;
  reloaded.Load(catalog_);
  EXPECT_EQ(std::tuple(reloaded.SetsInUse(), reloaded.Set(0).PortA(), reloaded.Set(0).PortB()), std::tuple(2, 1, 2));
  for (const auto& [count, kept] : {std::pair("25", 10), {"-4", 0}}) {
    Write("Port Set Num", count);
    CMIDIPortSetCollection loaded;
    loaded.Load(catalog_);
    EXPECT_EQ(loaded.SetsInUse(), kept) << "a count outside the collection is kept inside";
  }
}

}  // namespace
}  // namespace velvasto::test
