// Every command run as a user runs it: what it prints and writes, its exit codes and error texts.

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <set>
#include <tuple>

#include "cli/cli_runner.h"
#include "song/song_loader.h"
#include "support/control_file_builder.h"
#include "support/demo_song.h"
#include "support/list_builder.h"
#include "support/read_file.h"
#include "support/recomposer_builder.h"
#include "support/smf_builder.h"
#include "support/song_compare.h"
#include "support/temp_dir.h"

namespace velvasto::test {
namespace {

using Texts = std::vector<std::string>;

// The sample rate and the 16-bit stereo samples of a WAV file as our renderer writes it
// (a 44-byte header, then the data chunk).
struct Wav {
  std::uint32_t rate = 0;
  std::vector<std::int16_t> samples;  // interleaved left, right

  double Seconds() const { return static_cast<double>(samples.size() / 2) / rate; }
  // The largest magnitude among the frames in [from, to) seconds.
  int Peak(double from, double to) const {
    int peak = 0;
    const auto last = std::min(samples.size(), static_cast<std::size_t>(to * rate) * 2);
    for (auto i = static_cast<std::size_t>(from * rate) * 2; i < last; ++i) peak = std::max(peak, std::abs(int{samples[i]}));
    return peak;
  }
};

// The engine's sound-off at 0.5 s when a song stops: controllers 40, 42, 7B and 78 on all 16
// channels of PORT A, then of PORT B.
void AddSoundOff(Texts& lines) {
  constexpr const char* kControllers[] = {"40", "42", "7B", "78"};
  for (int i = 0; i < 128; ++i) {
    char line[40];
    std::snprintf(line, sizeof line, "500000 %c MSG B%X %s 00", "AB"[i / 64], i / 4 % 16, kControllers[i % 4]);
    lines.push_back(line);
  }
}

class CliTest : public CliFolderTest {
 protected:
  // A Standard MIDI File of format 2, which we do not play.
  std::string Format2() {
    SmfBuilder smf(2, 480);
    smf.AddTrack().EndOfTrack(0);
    return dir.Write("format2.mid", smf.Build()).string();
  }
  // Renders `song` at `rate` (none: the default) into `wav` and reads the file back.
  Wav Render(const std::string& song, const char* rate = nullptr) {
    Texts args = {"render", song, "-o", wav, "--soundfont", kSoundFont};
    if (rate) args.insert(args.end(), {"--rate", rate});
    rendered = RunCli(args, ini);
    EXPECT_EQ(rendered.status, 0) << rendered.err;
    EXPECT_EQ(rendered.err, "") << "no progress line when standard error is not a terminal";
    const std::string bytes = ReadWholeFile(wav);
    Wav read;
    if (bytes.size() < 44) return read;
    EXPECT_EQ(bytes.substr(0, 4) + bytes.substr(8, 8) + bytes.substr(36, 4), "RIFFWAVEfmt data");
    std::uint32_t dataSize = 0;
    std::memcpy(&read.rate, bytes.data() + 24, 4);
    std::memcpy(&dataSize, bytes.data() + 40, 4);
    EXPECT_EQ(dataSize, bytes.size() - 44) << "the header's data size covers the file";
    read.samples.resize((bytes.size() - 44) / 2);
    std::memcpy(read.samples.data(), bytes.data() + 44, read.samples.size() * 2);
    return read;
  }

  std::string wav = (dir.Path() / "out.wav").string();
  CliResult rendered;
  std::filesystem::path record = dir.Path() / "played.txt";
  std::string out = "A=record:" + record.string();
};

TEST_F(CliTest, InfoOfAStandardMidiFileInARiffWrapper) {
  SmfBuilder smf(1, 96);
  smf.AddTrack().Text(0, 0x03, "Song Title").Tempo(0, 1000000).EndOfTrack(0);
  smf.AddTrack().NoteOn(0, 0, 60, 100).NoteOff(96 * 90, 0, 60).EndOfTrack(0);
  const CliResult result = RunCli({"info", dir.Write("song.rmi", WrapRiff(smf.Build())).string()}, ini);
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(Lines(result.out), (Texts{"kind: Standard MIDI File", "subtype: format1", "macbinary: no", "riff: yes",
                                      "tracks: 2", "time base: 96", "playing time: 1:30.000 (90000000 us)",
                                      "title: Song Title", "events: 4"}));
}

TEST_F(CliTest, InfoOfRcpAndG36SongsShowsMemoControlFilesAndTrackFlag) {
  dir.Write("SONG.CM6", Cm6Builder().Build());
  RcpBuilder rcp;
  rcp.header.title = "Memo song";
  // Two memo lines of 28 bytes: ASCII, then テスト in CP932; the rest blank.
  rcp.header.memo = std::string("First line") + std::string(18, ' ') + "\x83\x65\x83\x58\x83\x67";
  rcp.header.cm6Name = "SONG.CM6    ";
  rcp.header.gsdName = "GONE.GSD";
  rcp.AddTrack().Note(1, 60, 1, 100).End();
  CliResult result = RunCli({"info", dir.Write("song.rcp", rcp.Build()).string()}, ini);
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_TRUE(result.out.starts_with("kind: RCP\n")) << result.out;
  EXPECT_NE(result.out.find("\ntitle: Memo song\nmemo:\n  First line\n  テスト\ncm6 file: SONG.CM6 (found)\n"
                            "gsd file: GONE.GSD (not found)\n36 tracks: yes\n"),
            std::string::npos);
  EXPECT_TRUE(result.out.ends_with("\nevents: 108\n"))
      << "tempo, the CM6 block of 102 messages and 2 markers, a note, its end, the end";

  G36Builder g36;
  g36.header.gsd2Name = "TWO.GSD";
  g36.AddTrack().Note(1, 60, 1, 100).End();
  result = RunCli({"info", dir.Write("song.g36", g36.Build()).string()}, ini);
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_NE(result.out.find("memo:\ncm6 file: none\ngsd file: none\ngsd2 file: TWO.GSD (not found)\n36 tracks: no\n"),
            std::string::npos)
      << result.out;
}

TEST_F(CliTest, TheDemoRcpSongDumpsAndRenders) {
  const std::string demo = test::DemoSong("demo.rcp").string();
  const CliResult dump = RunCli({"dump", demo}, ini);
  ASSERT_EQ(dump.status, 0) << dump.err;
  EXPECT_EQ(Lines(dump.out).size(), 493u) << "3 tempo records, 489 messages, the end";
  const Wav audio = Render(demo);
  EXPECT_EQ(audio.rate, 44100u) << "the default rate";
  EXPECT_GT(audio.Seconds(), 15.0);
}

TEST_F(CliTest, ConvertWritesAFileThatReadsBackWithTheSameMessagesOnBothPorts) {
  RcpBuilder rcp;
  rcp.AddTrack().Program(0, 5).Note(10, 60, 20, 100).Tempo(5, 90).End();
  rcp.AddTrack().Channel(0x13).Note(7, 40, 3, 70).End();  // channel 4 of PORT B
  const std::string song = dir.Write("song.rcp", rcp.Build()).string();
  const std::string written = Path("out.mid");
  const CliResult result = RunCli({"convert", song, "-o", written}, ini);
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out, written + ": format 1, 3 tracks, time base 48\n");
  const SongSettings bothPorts{.portCount = 2};
  EXPECT_EQ(MessageDifferences(*LoadSong(song, bothPorts), *LoadSong(written, bothPorts), 1'000), Texts{});
}

// With no settings file both inputs of the synthesizer are chosen, and a song's PORT B tracks
// (here a port event numbering the port from 1) load; a stored one-port choice drops them.
TEST_F(CliTest, PortsAndDumpFollowTheSettingsPortChoiceAndAFirstRunUsesBothSynthesizerInputs) {
  const auto firstTwo = [this] {
    const Texts lines = Lines(RunCli({"ports"}, ini).out);
    return Texts(lines.begin(), lines.begin() + std::min<std::ptrdiff_t>(2, std::ssize(lines)));
  };
  SmfBuilder smf(1, 480);
  smf.AddTrack().Tempo(0, 500'000).EndOfTrack(0);
  smf.AddTrack().Port(0, 1).NoteOn(0, 0, 64, 90).NoteOff(480, 0, 64).EndOfTrack(0);
  const std::string song = dir.Write("port 1.mid", smf.Build()).string();
  const auto dumped = [&] {
    const CliResult dump = RunCli({"dump", song}, ini);
    EXPECT_EQ(dump.status, 0) << dump.err;
    return Lines(dump.out);
  };

  EXPECT_EQ(firstTwo(), (Texts{"A  Velvasto Synth A", "B  Velvasto Synth B"}));
  EXPECT_EQ(dumped(), (Texts{"0 - TEMPO 120", "0 B MSG 90 40 5A", "500000 B MSG 80 40 40", "500000 - END"}));

  dir.Write("velvasto.ini", std::string_view("[Velvasto]\nMIDI Port Num=2\nMIDI Port A=MIDI_MAPPER\n"
                                             "MIDI Port B=Velvasto Synth B\n"));
  EXPECT_EQ(firstTwo(), (Texts{"A  Velvasto Synth A", "   Velvasto Synth B"}));
  EXPECT_EQ(dumped(), (Texts{"0 - TEMPO 120", "500000 - END"}));

  dir.Write("velvasto.ini", std::string_view("[Velvasto]\nMIDI Port Num=2\nMIDI Port A=Velvasto Synth B\n"
                                             "MIDI Port B=Velvasto Synth A\n"));
  EXPECT_EQ(firstTwo(), (Texts{"B  Velvasto Synth A", "A  Velvasto Synth B"}));
}

TEST_F(CliTest, RenderPlacesTheNotesAndRendersToTheEndRecordThenTheTailAsTheSongLeftIt) {
  // Piano notes 0.0–0.5 s and 1.5–2.0 s; strings at expression 30 from 2.0 s, still held at the
  // end record at 3.0 s (120 bpm, 960 ticks a second). The engine's stop releases them and
  // resets the controllers; were the reset to reach the synthesizer before the tail is rendered,
  // the tail would jump to full expression, and were the stop to cut it, there would be no tail.
  SmfBuilder smf(0, 480);
  smf.AddTrack().Tempo(0, 500000).Program(0, 0, 0).Program(0, 1, 48).Control(0, 1, 11, 30).NoteOn(0, 0, 60, 110)
      .NoteOff(480, 0, 60).NoteOn(960, 0, 67, 110).NoteOff(480, 0, 67).NoteOn(0, 1, 60, 110).EndOfTrack(960);
  const Wav audio = Render(dir.Write("song.mid", smf.Build()).string(), "22050");
  EXPECT_EQ(audio.rate, 22050u);
  EXPECT_GT(audio.Seconds(), 3.05) << "the end record's 3 s and a release tail";
  EXPECT_LT(audio.Seconds(), 3.0 + 10.0) << "the tail ends when the sound has died away";
  // TimGM6mb's piano at the default channel volume peaks near 1000.
  EXPECT_GT(audio.Peak(0.0, 0.5), 300) << "the first note sounds";
  EXPECT_LT(audio.Peak(1.3, 1.5), 50) << "and has died away before the second";
  EXPECT_GT(audio.Peak(1.5, 2.0), 300) << "the second note sounds";
  const int held = audio.Peak(2.5, 3.0);
  EXPECT_GT(held, 100) << "the strings still sound up to the end record";
  EXPECT_LT(audio.Peak(3.0, 3.5), held * 3 / 2) << "the tail fades from where the strings were";
  const auto ms = static_cast<unsigned>(audio.samples.size() / 2 * 1000 / audio.rate);  // cut, not rounded
  char line[80];
  std::snprintf(line, sizeof line, ": %u:%02u.%03u of audio, 22050 Hz, 16-bit stereo\n", ms / 60000, ms / 1000 % 60,
                ms % 1000);
  EXPECT_EQ(rendered.out, wav + line);
}

TEST_F(CliTest, FastPlayRecordsEverySongInOrderOnBothPortsAndLivePlaySendsTheSame) {
  SmfBuilder smf(1, 480);
  smf.AddTrack().Tempo(0, 500'000).NoteOn(0, 0, 60, 100).NoteOff(480, 0, 60).EndOfTrack(0);
  smf.AddTrack().Port(0, 1).NoteOn(240, 1, 64, 90).NoteOff(240, 1, 64).EndOfTrack(0);
  const std::string twoPorts = dir.Write("two ports.mid", smf.Build()).string();
  Texts twoPortLines = {"0 A MSG B0 07 64", "0 A MSG 90 3C 64", "250000 B MSG B1 07 64", "250000 B MSG 91 40 5A",
                        "500000 A MSG 80 3C 40", "500000 B MSG 81 40 40"};
  AddSoundOff(twoPortLines);
  const std::string list = List("more.mlt", {Song("c.mid", 64), Song("d.mid", 65)});
  // Both ports into one file, under two spellings; a song that cannot be loaded is told of and
  // skipped.
  const std::string outB = "B=record:" + (dir.Path() / "." / "played.txt").string();
  const CliResult fast =
      RunCli({"play", "--fast", "--out=" + out, "--out", outB, twoPorts, Format2(), Song("b.mid", 62), list}, ini);
  EXPECT_EQ(fast.status, 1);
  EXPECT_EQ(fast.err, "標準MIDIファイルはformat0とformat1以外はサポートしていません。\n");
  Texts expected = twoPortLines;
  for (const std::string note : {"3E", "40", "41"}) {  // each one-port song: volume, note, sound-off
    expected.insert(expected.end(), {"0 A MSG B0 07 64", "0 A MSG 90 " + note + " 64", "500000 A MSG 80 " + note + " 40"});
    AddSoundOff(expected);
  }
  EXPECT_EQ(Lines(ReadWholeFile(record)), expected);

  // Half a second on the machine's clock: the same lines, with the same song times.
  const CliResult live = RunCli({"play", "--out", out, "--out", outB, twoPorts}, ini);
  ASSERT_EQ(live.status, 0) << live.err;
  EXPECT_EQ(Lines(ReadWholeFile(record)), twoPortLines);
}

TEST_F(CliTest, ListNewWritesAListFileThatListShowReads) {
  const std::string a = Song("a.mid", 60);
  const std::string b = Song("b.mid", 62);
  const std::string older = dir.Write("older.mlt", CrLfLines({"[Velvasto List File Version 2.0]", "", "[FileName]", "", b,
      "", "[Section END]", "", "[Volume]", "", "90", "", "[Section END]", "", "[55Map]", "", "2", "", "[Section END]", "",
      "[55Adjust]", "", "1", "", "[Section END]"})).string();
  const std::string made = (dir.Path() / "made.mlt").string();

  const CliResult created = RunCli({"list", "new", made, a, older}, ini);
  ASSERT_EQ(created.status, 0) << created.err;
  EXPECT_EQ(created.out, made + ": 2 entries\n");

  const CliResult shown = RunCli({"list", "show", made}, ini);
  ASSERT_EQ(shown.status, 0) << shown.err;
  EXPECT_EQ(Lines(shown.out), (Texts{"1  volume 127  map mode 0  force map 0  55 adjust 0  " + a,
                                     "2  volume 90  map mode 2  force map 0  55 adjust 1  " + b}));
}

// Usage mistakes exit with 2, a line naming the mistake and the usage; file errors exit with 1
// and the catalogue's message. Neither leaves an output file behind.
TEST_F(CliTest, UsageMistakesAndFileErrorsOfEveryCommand) {
  const std::string unsupported = "サポートしていないファイル形式です。\n";
  const std::string song = Song("song.mid", 60);
  const std::string broken = Format2();
  const std::string text = dir.Write("notes.txt", std::string_view("just text")).string();
  const std::string missing = (dir.Path() / "missing.sf2").string();
  // A SoundFont cut short: its header promises more than the file holds.
  const std::string damaged = dir.Write("damaged.sf2", std::string("RIFF\x00\x10\x00\x00sfbkLIST", 16)).string();
  dir.Write("out.wav", std::string_view("older file"));
  const std::string mid = (dir.Path() / "out.mid").string();
  const std::string badOut =
      "--out takes PORT=NAME with PORT A or B, as in --out A=\"Velvasto Synth A\" or --out B=record:FILE";
  const std::string noDevice = "MIDIOUTデバイスのオープンができません。\nSoundFont \"";
  const std::string noFile = std::string(std::strerror(ENOENT)) + "\n";
  const std::string fastOnce = "--fast plays the songs once: it takes neither --order rep, --order rand nor --repeat-one";
  std::vector<std::string> tooMany = {"play", "--fast", "--out", out};
  tooMany.insert(tooMany.end(), 1025, song);

  // The arguments, the exit status, and for 2 the mistake's line, for 1 all of standard error.
  const std::tuple<Texts, int, std::string> cases[] = {
      {{}, 2, "no command given"},
      {{"frobnicate"}, 2, "unknown command"},
      {{"info", song, song}, 2, "info takes exactly one FILE"},
      {{"info", text}, 1, unsupported},
      {{"dump", broken}, 1, "標準MIDIファイルはformat0とformat1以外はサポートしていません。\n"},
      {{"info", (dir.Path() / "none.mid").string()}, 1, noFile},
      {{"ports", "extra"}, 2, "ports takes no arguments"},
      {{"convert", song}, 2, "convert needs -o OUT.mid"},
      {{"convert", "-o", mid}, 2, "convert takes exactly one FILE"},
      {{"convert", song, "-o", song}, 2, "convert would write over its own song file"},
      {{"convert", song, "-o", mid, "-o", mid}, 2, "convert takes one -o OUT.mid"},
      {{"convert", song, "-o", (dir.Path() / "no folder" / "x.mid").string()}, 1, noFile},
      {{"convert", text, "-o", mid}, 1, unsupported},
      {{"render", song}, 2, "render needs -o OUT.wav"},
      {{"render", "-o", wav}, 2, "render takes exactly one FILE"},
      {{"render", song, song, "-o", wav}, 2, "render takes exactly one FILE"},
      {{"render", song, "-o"}, 2, "-o needs a value"},
      {{"render", song, "-o", wav, "-o", wav}, 2, "render takes one -o OUT.wav"},
      {{"render", song, "-o", wav, "--rate", "7999"}, 2, "--rate takes a sample rate from 8000 to 96000 Hz"},
      {{"render", song, "-o", wav, "--soundfont="}, 2, "--soundfont needs a file name"},
      {{"render", song, "-o", wav, "--loud"}, 2, "render does not know the option --loud"},
      {{"render", song, "-o", song}, 2, "render would write over its own song file"},
      {{"render", text, "-o", wav, "--soundfont", kSoundFont}, 1, unsupported},
      {{"render", song, "-o", wav, "--soundfont", missing}, 1, noDevice + missing + "\" cannot be read: " + noFile},
      {{"render", song, "-o", wav, "--soundfont", damaged}, 1,
       noDevice + damaged + "\" is damaged: its size does not match its header\n"},
      {{"play"}, 2, "play needs at least one FILE"},
      {tooMany, 2, "play takes at most 1024 files"},
      {{"play", "--order", "shuffle", song}, 2, "--order takes norm, rep or rand"},
      {{"play", "--fast", "--order", "rep", "--out", out, song}, 2, fastOnce},
      {{"play", "--fast", "--repeat-one", "--out", out, song}, 2, fastOnce},
      {{"play", "--fast", song}, 2,
       "--fast plays only into recordings: give --out A=record:FILE (and B likewise for two ports)"},
      {{"play", "--fast", "--out", out, song, text}, 1, text + ": " + unsupported},
      {{"play", "--out", "A", song}, 2, badOut},
      {{"play", "--out", "A=", song}, 2, badOut},
      {{"play", "--out", "C=SC-88", song}, 2, badOut},
      {{"play", "--out", "AB=SC-88", song}, 2, badOut},
      {{"play", "--out", out, "--out", "a=Velvasto Synth B", song}, 2, "--out names PORT A twice"},
      {{"play", "--fast", "--out", out, "--out", "b=sc-88", song}, 2,
       "unknown output device \"sc-88\" for PORT B; `velvasto-cli ports` lists the devices"},
      // Only PORT B named: PORT A is the settings' (a first run's) Velvasto Synth A.
      {{"play", "--out", "B=Velvasto Synth A", song}, 2, "PORT A and PORT B cannot both be \"Velvasto Synth A\""},
      {{"play", "--fast", "--out", "A=record:", song}, 2, "PORT A: record: needs a file name, as in record:FILE"},
      {{"list"}, 2, "list takes new OUT.mlt FILE... or show FILE.mlt"},
      {{"list", "new", mid}, 2, "list new takes OUT.mlt and at least one FILE"},
      {{"list", "show", (dir.Path() / "none.mlt").string()}, 1, "リストファイルの読み込みエラーです。\n"},
  };
  for (const auto& [args, status, err] : cases) {
    const CliResult result = RunCli(args, ini);
    SCOPED_TRACE(testing::PrintToString(args));
    EXPECT_EQ(result.status, status);
    EXPECT_TRUE(status == 2 ? result.err.starts_with("velvasto-cli: " + err + "\nusage: velvasto-cli")
                              : result.err == err)
        << result.err;
    EXPECT_EQ(result.out, "");
  }
  EXPECT_EQ(ReadWholeFile(wav), "older file");
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) names.insert(entry.path().filename().string());
  EXPECT_EQ(names, (std::set<std::string>{"damaged.sf2", "format2.mid", "notes.txt", "out.wav", "song.mid"}));
  EXPECT_TRUE(RunCli({"--help"}, ini).out.starts_with("usage: velvasto-cli <command>"));
}

}  // namespace
}  // namespace velvasto::test
