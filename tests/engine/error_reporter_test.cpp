// The one way a failed operation of the song slot or the transport reaches the user: shown once
// with its catalogue text, then thrown on unchanged.

#include <gtest/gtest.h>

#include <new>
#include <string>
#include <utility>
#include <vector>

#include "engine/error_reporter.h"

namespace velvasto {
namespace {

class LoggingReporter final : public ErrorReporter {
 public:
  void ShowError(const std::string& text) override { shown.push_back(text); }
  void ShowDeviceError(const CDeviceErrMessage& error) override { shown.push_back(error.Message() + " / " + error.Detail()); }
  std::vector<std::string> shown;
};

// The texts shown, and whether the very exception thrown came out again.
using Shown = std::pair<std::vector<std::string>, bool>;

template <typename Error>
Shown Report(const Error& error) {
  LoggingReporter reporter;
  bool thrownOn = false;
  try {
    RunReported(reporter, [&] { throw error; });
  } catch (const Error&) {
    thrownOn = true;
  } catch (...) {
    // Something else came out: thrownOn stays false.
  }
  return {reporter.shown, thrownOn};
}

TEST(ErrorReporterTest, EachKindOfFailureIsShownOnceWithItsTextAndThrownOnUnchanged) {
  EXPECT_EQ(Report(CErrMessage(errc::kBadFileFormat)), (Shown{{"ファイル形式が異常です。"}, true}));
  EXPECT_EQ(Report(CMMSystemErrMessage(mmerr::kReset)), (Shown{{"midiOutResetでエラーが発生しました"}, true}));
  EXPECT_EQ(Report(CDeviceErrMessage(mmerr::kOpen, "port gone")),
            (Shown{{CMMSystemErrMessage(mmerr::kOpen).Message() + " / port gone"}, true}))
      << "a device failure with its detail";
  EXPECT_EQ(Report(std::bad_alloc()), (Shown{{"メモリ不足です。"}, true}));
  EXPECT_EQ(Report(42), (Shown{{"未定義のエラーが発生しました。"}, true}));
  LoggingReporter quiet;
  RunReported(quiet, [] {});
  EXPECT_TRUE(quiet.shown.empty());
}

}  // namespace
}  // namespace velvasto
