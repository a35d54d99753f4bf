#include "midiout/midi_port_set.h"

#include <gtest/gtest.h>

#include "core/errors.h"
#include "fake_devices.h"
#include "settings_fixture.h"

namespace velvasto {
namespace {

using test::FakeCatalog;

class MidiPortSetTest : public test::SettingsFileTest {
 protected:
  MidiPortSetTest() { sets_.Load(catalog_); }

  void AddThree() {
    sets_.Add("SC-55", "sc55", 1, 0, CMIDIPort::kNoPort);
    sets_.Add("SC-88", "sc88", 2, 1, 2);
    sets_.Add("Any", "", 1, CMIDIPort::kMapper, CMIDIPort::kNoPort);
  }
  std::vector<std::string> Labels() const {
    std::vector<std::string> labels;
    for (int i = 0; i < sets_.SetsInUse(); ++i) labels.push_back(sets_.Set(i).Label());
    return labels;
  }

  FakeCatalog catalog_{{"Synth A", "Synth B", "SC-88"}};
  CMIDIPortSetCollection sets_;
};

template <typename Action>
void ExpectAppError(Action action, int code, const char* text) {
  try {
    action();
    ADD_FAILURE() << "no error " << code;
  } catch (const CErrMessage& e) {
    EXPECT_EQ(e.Code(), code);
    EXPECT_EQ(e.Message(), text);
  }
}

TEST_F(MidiPortSetTest, AddTakesTheNextSetWithItsPortChoice) {
  AddThree();
  EXPECT_EQ(sets_.SetsInUse(), 3);
  EXPECT_EQ(Labels(), (std::vector<std::string>{"SC-55", "SC-88", "Any"}));
  const CMIDIPortSet& two = sets_.Set(1);
  EXPECT_EQ(two.Number(), 1);
  EXPECT_EQ(two.ScanString(), "sc88");
  EXPECT_EQ(two.PortCount(), 2);
  EXPECT_EQ(two.PortAName(), "Synth B");
  EXPECT_EQ(two.PortBName(), "SC-88");
}

TEST_F(MidiPortSetTest, AddRefusesAnEleventhSetAndAnInvalidChoice) {
  ExpectAppError([&] { sets_.Add("same", "x", 2, 1, 1); }, 16,
                 "MIDIポートの選択でエラーが発生しました。PORT AとPORT Bは同じポートを選択してはいけません。");
  ExpectAppError([&] { sets_.Add("B without two ports", "x", 1, 0, 1); }, 16,
                 "MIDIポートの選択でエラーが発生しました。PORT AとPORT Bは同じポートを選択してはいけません。");
  EXPECT_EQ(sets_.SetsInUse(), 0);
  for (int i = 0; i < 10; ++i) sets_.Add("set " + std::to_string(i), "", 1, 0, CMIDIPort::kNoPort);
  ExpectAppError([&] { sets_.Add("eleventh", "", 1, 0, CMIDIPort::kNoPort); }, 52,
                 "仮想MIDIパッチベイのポートセットの追加に失敗しました。");
  EXPECT_EQ(sets_.SetsInUse(), 10);
  EXPECT_EQ(sets_.Set(9).Label(), "set 9");
}

TEST_F(MidiPortSetTest, DeleteMovesLaterSetsDownAndKeepsNumbersWithPlaces) {
  AddThree();
  sets_.Delete(0);
  EXPECT_EQ(Labels(), (std::vector<std::string>{"SC-88", "Any"}));
  EXPECT_EQ(sets_.Set(0).Number(), 0);
  EXPECT_EQ(sets_.Set(0).PortCount(), 2);
  EXPECT_EQ(sets_.Set(0).PortBName(), "SC-88");
  ExpectAppError([&] { sets_.Delete(2); }, 53, "仮想MIDIパッチベイのポートセットの削除に失敗しました。");
  ExpectAppError([&] { sets_.Delete(-1); }, 53, "仮想MIDIパッチベイのポートセットの削除に失敗しました。");
}

TEST_F(MidiPortSetTest, MoveExchangesNeighboursAndRefusesTheEnds) {
  AddThree();
  sets_.MoveUp(2);
  EXPECT_EQ(Labels(), (std::vector<std::string>{"SC-55", "Any", "SC-88"}));
  EXPECT_EQ(sets_.Set(2).PortCount(), 2);
  EXPECT_EQ(sets_.Set(1).PortA(), CMIDIPort::kMapper);
  sets_.MoveDown(0);
  EXPECT_EQ(Labels(), (std::vector<std::string>{"Any", "SC-55", "SC-88"}));
  const char* text = "仮想MIDIパッチベイのポートセットの移動に失敗しました。";
  ExpectAppError([&] { sets_.MoveUp(0); }, 54, text);
  ExpectAppError([&] { sets_.MoveDown(2); }, 54, text);
  ExpectAppError([&] { sets_.MoveUp(3); }, 54, text);
  sets_.Delete(2);
  sets_.Delete(1);
  ExpectAppError([&] { sets_.MoveDown(0); }, 54, text);  // one set cannot move
}

TEST_F(MidiPortSetTest, MatchIgnoresCaseAndAnEmptyScanStringMatchesEverything) {
  sets_.Add("RCP songs", "Rcp", 1, 0, CMIDIPort::kNoPort);
  sets_.Add("Any", "", 1, 1, CMIDIPort::kNoPort);
  sets_.Add("88", "sc88", 1, 2, CMIDIPort::kNoPort);
  EXPECT_EQ(sets_.Selected(), -1);
  EXPECT_EQ(sets_.Match("/music/RCP/Song.rcp"), 0);
  EXPECT_EQ(sets_.Match("/music/SC88/song.mid"), 1);  // the empty string comes first
  EXPECT_EQ(sets_.Selected(), 1);
  sets_.MoveUp(1);
  EXPECT_EQ(sets_.Match("/music/RCP/Song.rcp"), 0);  // now the empty string hides every later set
  EXPECT_EQ(sets_.Set(0).Label(), "Any");

  CMIDIPortSetCollection none;
  none.Load(catalog_);
  none.Add("x", "nothing like it", 1, 0, CMIDIPort::kNoPort);
  EXPECT_EQ(none.Match("/music/song.mid"), -1);
  EXPECT_EQ(none.Selected(), -1);
}

TEST_F(MidiPortSetTest, SaveWritesTenSetsAndLoadReadsThemBack) {
  AddThree();
  sets_.SetUse(true);
  sets_.Delete(0);
  ASSERT_TRUE(sets_.Save());
  EXPECT_EQ(Read("Port Set Use"), "1");
  EXPECT_EQ(Read("Port Set Num"), "2");
  EXPECT_EQ(Read("Port Set LABEL 0"), "SC-88");
  EXPECT_EQ(Read("Port Set Scan String 0"), "sc88");
  EXPECT_EQ(Read("MIDI Port Num 0"), "2");
  EXPECT_EQ(Read("MIDI Port A 0"), "Synth B");
  EXPECT_EQ(Read("MIDI Port B 0"), "SC-88");
  // The place the deleted set left is written as a cleared set, as are all places up to 9.
  for (int n : {2, 9}) {
    const std::string suffix = " " + std::to_string(n);
    EXPECT_EQ(Read("Port Set LABEL" + suffix), "");
    EXPECT_EQ(Read("Port Set Scan String" + suffix), "");
    EXPECT_EQ(Read("MIDI Port Num" + suffix), "1");
    EXPECT_EQ(Read("MIDI Port A" + suffix), "MIDI_MAPPER");
    EXPECT_EQ(Read("MIDI Port B" + suffix), "NO_PORT");
  }

  CMIDIPortSetCollection reloaded;
  reloaded.Load(catalog_);
  EXPECT_TRUE(reloaded.Use());
  ASSERT_EQ(reloaded.SetsInUse(), 2);
  EXPECT_EQ(reloaded.Set(0).Label(), "SC-88");
  EXPECT_EQ(reloaded.Set(0).PortA(), 1);
  EXPECT_EQ(reloaded.Set(0).PortB(), 2);
  EXPECT_EQ(reloaded.Set(1).Label(), "Any");
  EXPECT_EQ(reloaded.Set(1).ScanString(), "");
  EXPECT_EQ(reloaded.Set(1).PortA(), CMIDIPort::kMapper);
}

TEST_F(MidiPortSetTest, ASetCountOutsideTheCollectionIsKeptInside) {
  Write("Port Set Num", "25");
  CMIDIPortSetCollection many;
  many.Load(catalog_);
  EXPECT_EQ(many.SetsInUse(), 10);
  Write("Port Set Num", "-4");
  CMIDIPortSetCollection negative;
  negative.Load(catalog_);
  EXPECT_EQ(negative.SetsInUse(), 0);
  EXPECT_EQ(negative.Match("/any/path"), -1);
}

TEST_F(MidiPortSetTest, CopyFromTakesEverythingButTheSelection) {
  AddThree();
  sets_.SetUse(true);
  CMIDIPortSetCollection copy;
  copy.Load(catalog_);
  copy.Add("only", "only", 1, 0, CMIDIPort::kNoPort);
  ASSERT_EQ(copy.Match("/only/"), 0);
  copy.CopyFrom(sets_);
  EXPECT_TRUE(copy.Use());
  EXPECT_EQ(copy.SetsInUse(), 3);
  EXPECT_EQ(copy.Set(1).Label(), "SC-88");
  EXPECT_EQ(copy.Set(1).PortBName(), "SC-88");
  EXPECT_EQ(copy.Set(1).Number(), 1);
  EXPECT_EQ(copy.Selected(), 0);
}

}  // namespace
}  // namespace velvasto
