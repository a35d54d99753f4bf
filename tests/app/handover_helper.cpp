// A second start of the program, reduced to what the hand-over needs: reads the command line
// (after the runtime folder given first) and hands the request to the running instance.
// Exit status: 0 handed over and acknowledged, 1 command-line error (its text on stderr),
// 3 no instance was running (this one would have become it), 4 the hand-over failed.

#include <cstdio>
#include <string>
#include <vector>

#include "app/cmd_line_analize.h"
#include "app/single_instance.h"
#include "core/errors.h"

int main(int argc, char** argv) {
  using namespace velvasto;
  if (argc < 2) return 2;
  try {
    CCmdLineAnalize parser;
    const std::vector<std::string> arguments(argv + 2, argv + argc);
    parser.Analize(arguments);
    CSingleInstance instance(argv[1]);
    if (instance.IsPrimary()) return 3;
    return instance.HandOver(parser.Request()) ? 0 : 4;
  } catch (const CErrMessage& e) {
    std::fprintf(stderr, "%s\n", e.Message().c_str());
    return 1;
  }
}
