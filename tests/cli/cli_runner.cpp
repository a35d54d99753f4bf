#include "cli/cli_runner.h"

#include <sys/wait.h>

#include <cstdlib>
#include <sstream>

#include "support/list_builder.h"
#include "support/read_file.h"
#include "support/smf_builder.h"

namespace velvasto::test {

std::string Quoted(const std::string& text) {
  std::string quoted = "'";
  for (const char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

CliResult RunCli(const std::vector<std::string>& args, const std::string& iniPath,
                 const std::string& stdoutRedirection) {
  const TempDir capture;
  const std::filesystem::path out = capture.Path() / "out";
  const std::filesystem::path err = capture.Path() / "err";
  // No keys from the terminal that runs the tests.
  std::string command = "VELVASTO_INI=" + Quoted(iniPath) + " timeout -s KILL 300 " + Quoted(VELVASTO_CLI_PATH);
  for (const std::string& arg : args) command += " " + Quoted(arg);
  command += " </dev/null " + (stdoutRedirection.empty() ? ">" + Quoted(out.string()) : stdoutRedirection) + " 2>" +
             Quoted(err.string());
  const int status = std::system(command.c_str());
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1,
          stdoutRedirection.empty() ? ReadWholeFile(out) : std::string(), ReadWholeFile(err)};
}

std::string CliFolderTest::Song(const std::string& name, std::uint8_t note) {
  SmfBuilder smf(0, 480);
  smf.AddTrack().Tempo(0, 500'000).NoteOn(0, 0, note, 100).NoteOff(480, 0, note).EndOfTrack(0);
  return dir.Write(name, smf.Build()).string();
}

std::string CliFolderTest::List(const std::string& name, std::initializer_list<std::string_view> names) {
  std::string text = CrLfLines({"[Velvasto List File Version 3.0]", "", "[FileName]", ""});
  for (const std::string_view entry : names) text += CrLfLines({entry});
  return dir.Write(name, text + CrLfLines({"", "[Section END]"})).string();
}

std::set<std::string> CliFolderTest::HiddenFiles() const {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
    if (entry.path().filename().string().starts_with(".")) names.insert(entry.path().filename().string());
  }
  return names;
}

}  // namespace velvasto::test
