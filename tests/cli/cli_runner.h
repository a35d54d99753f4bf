#pragma once
// Runs velvasto-cli as a separate process and captures what it prints; the folder of songs and
// settings the command-line tests run it on.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "support/temp_dir.h"

namespace velvasto::test {

constexpr const char* kSoundFont = "/usr/share/sounds/sf2/TimGM6mb.sf2";

struct CliResult {
  int status = -1;
  std::string out;
  std::string err;
};

// Runs the built velvasto-cli with `args` and no terminal, settings taken from `iniPath`
// (VELVASTO_INI). Standard output is captured, or goes where `stdoutRedirection` (shell syntax
// such as ">/dev/full" or ">&-") sends it. A run that has not ended after five minutes is
// killed: a command that hangs fails its test (status 137).
CliResult RunCli(const std::vector<std::string>& args, const std::string& iniPath,
                 const std::string& stdoutRedirection = "");

// `text` as one word for the shell, whatever it holds.
std::string Quoted(const std::string& text);

// `text` cut at its line ends.
std::vector<std::string> Lines(const std::string& text);

// The commands run on files in a folder of the test's own, with the settings file `ini` there.
class CliFolderTest : public ::testing::Test {
 protected:
  // A format-0 song at 120 beats per minute (480 ticks a quarter): one note from 0 to half a
  // second.
  std::string Song(const std::string& name, std::uint8_t note = 60);
  // A version 3.0 list file of `names`.
  std::string List(const std::string& name, std::initializer_list<std::string_view> names);
  std::string Path(const std::string& name) const { return (dir.Path() / name).string(); }
  // The names of the folder's hidden files: our temporary files are hidden.
  std::set<std::string> HiddenFiles() const;

  TempDir dir;
  std::string ini = Path("velvasto.ini");
};

}  // namespace velvasto::test
