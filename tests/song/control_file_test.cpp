// Finding and reading the control files a Recomposer song names: the song's folder, names
// trimmed of their trailing blanks and matched without regard to case, and every file that
// cannot be used left out without stopping the song.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <memory>

#include "recomposer_load.h"
#include "song/control_files.h"
#include "support/control_file_builder.h"
#include "support/temp_dir.h"

namespace velvasto {
namespace {

using test::Bytes;
using test::Cm6Builder;
using test::G36Builder;
using test::GsdBuilder;
using test::RcpBuilder;

RcpBuilder SongNaming(const std::string& cm6Name, const std::string& gsdName = "") {
  RcpBuilder song;
  song.header.cm6Name = cm6Name;
  song.header.gsdName = gsdName;
  song.AddTrack().Note(1, 60, 1, 100).End();
  return song;
}

std::unique_ptr<CRCPFile> LoadFrom(const test::TempDir& dir, const RcpBuilder& song) {
  auto file = std::make_unique<CRCPFile>(SongSettings{});
  EXPECT_TRUE(file->Load(dir.Write("song.rcp", song.Build())));
  return file;
}

TEST(ControlFileTest, NamesAreTrimmedAndMatchedWithoutRegardToCase) {
  test::TempDir dir;
  dir.Write("Song.Cm6", Cm6Builder().Build());
  dir.Write("SONG.GSD", GsdBuilder().Build());
  const auto file = LoadFrom(dir, SongNaming("SONG.CM6    ", "song.gsd    "));
  const SongInfo info = file->Info();
  EXPECT_TRUE(info.cm6Loaded);
  EXPECT_TRUE(info.gsdLoaded);
  EXPECT_EQ(file->ControlBlockCount(CMIDIStream::kCm6Block), 105u);
  EXPECT_EQ(file->ControlBlockCount(CMIDIStream::kGsdBlock), 273u);
}

TEST(ControlFileTest, AnExactNameWinsAndAmongCaseVariantsTheFirstInNameOrder) {
  test::TempDir dir;
  dir.Write("song.cm6", Cm6Builder().Build());
  dir.Write("SONG.cm6", Cm6Builder().Build());
  EXPECT_EQ(FindControlFile(dir.Path() / "x.rcp", "song.cm6"), dir.Path() / "song.cm6");
  EXPECT_EQ(FindControlFile(dir.Path() / "x.rcp", "Song.CM6  "), dir.Path() / "SONG.cm6");
}

TEST(ControlFileTest, NamesAreLookedUpInTheSongsFolderOnly) {
  test::TempDir dir;
  std::filesystem::create_directory(dir.Path() / "songs");
  dir.Write("UP.CM6", Cm6Builder().Build());
  std::filesystem::create_directory(dir.Path() / "songs" / "DIR.CM6");
  const std::filesystem::path song = dir.Path() / "songs" / "a.rcp";
  EXPECT_EQ(FindControlFile(song, "../UP.CM6"), std::nullopt) << "a name never leads out of the folder";
  EXPECT_EQ(FindControlFile(song, "..\\UP.CM6"), std::nullopt);
  EXPECT_EQ(FindControlFile(song, ".."), std::nullopt);
  EXPECT_EQ(FindControlFile(song, "DIR.CM6"), std::nullopt) << "a folder is no control file";
  EXPECT_EQ(FindControlFile(song, "            "), std::nullopt);
  EXPECT_EQ(FindControlFile(song, ""), std::nullopt);
}

TEST(ControlFileTest, FilesThatCannotBeUsedAreDroppedSilently) {
  test::TempDir dir;
  dir.Write("SHORT.CM6", Bytes(22600, 0));
  dir.Write("LONG.GSD", Bytes(30000, 0));
  std::filesystem::create_directory(dir.Path() / "DIR.GSD");

  const auto shortFile = LoadFrom(dir, SongNaming("SHORT.CM6", "LONG.GSD"));
  EXPECT_FALSE(shortFile->Info().cm6Loaded) << "22600 bytes are one too few";
  EXPECT_EQ(shortFile->Info().cm6File, "SHORT.CM6") << "the name stays for the displays";
  EXPECT_TRUE(shortFile->Info().gsdLoaded) << "a longer file is used, its first 2673 bytes";
  EXPECT_EQ(shortFile->ControlBlockCount(CMIDIStream::kCm6Block), 0u);
  EXPECT_EQ(shortFile->ControlBlockCount(CMIDIStream::kGsdBlock), 274u);

  const auto missing = LoadFrom(dir, SongNaming("NONE.CM6", "DIR.GSD"));
  EXPECT_FALSE(missing->Info().cm6Loaded);
  EXPECT_FALSE(missing->Info().gsdLoaded);
  EXPECT_EQ(missing->SongStartIndex(), 0u);
  EXPECT_EQ(missing->SongStartTime(), 0u);
  EXPECT_EQ(test::Dump(*missing)[1], "0 90 3C 64 A") << "the song starts at once";

  const auto blank = LoadFrom(dir, SongNaming("            "));
  EXPECT_FALSE(blank->Info().cm6Loaded);
  EXPECT_EQ(blank->SongStartIndex(), 0u);
}

TEST(ControlFileTest, AShortFileIsTheControlFileError) {
  Bytes bytes(2672, 0x11);
  std::unique_ptr<std::FILE, decltype(&std::fclose)> file(fmemopen(bytes.data(), bytes.size(), "rb"), &std::fclose);
  ASSERT_TRUE(file);
  EXPECT_EQ(test::ErrorText([&] { ReadControlFile(file.get(), kGsdFileSize); }), "コントロールファイルが壊れています。");

  bytes.push_back(0x22);
  std::unique_ptr<std::FILE, decltype(&std::fclose)> whole(fmemopen(bytes.data(), bytes.size(), "rb"), &std::fclose);
  const std::vector<std::uint8_t> read = ReadControlFile(whole.get(), kGsdFileSize);
  EXPECT_EQ(read.size(), kGsdFileSize);
  EXPECT_EQ(read.back(), 0x22);
}

TEST(ControlFileTest, G36SongWithoutItsSecondGsdFilePlaysWithoutThatBlock) {
  test::TempDir dir;
  dir.Write("A.GSD", GsdBuilder().Build());
  G36Builder song;
  song.header.gsdName = "A.GSD";
  song.header.gsd2Name = "B.GSD";
  song.AddTrack().Note(1, 60, 1, 100).End();
  SongSettings settings;
  settings.gsd2Port = 1;
  CG36File file(settings);
  ASSERT_TRUE(file.Load(dir.Write("song.g36", song.Build())));
  const SongInfo info = file.Info();
  EXPECT_TRUE(info.gsdLoaded);
  EXPECT_FALSE(info.gsd2Loaded);
  EXPECT_EQ(info.gsd2File, "B.GSD");
  EXPECT_EQ(file.ControlBlockCount(CMIDIStream::kGsd2Block), 0u);
  EXPECT_EQ(file.SongStartIndex(), 274u);
}

}  // namespace
}  // namespace velvasto
