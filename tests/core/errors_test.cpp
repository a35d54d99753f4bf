#include <gtest/gtest.h>

#include "core/errors.h"

namespace velvasto {
namespace {

TEST(ErrorsTest, CodesMapToTheirCatalogueTextsAndOthersToUndefined) {
  EXPECT_EQ(CErrMessage(errc::kOutOfMemory).Message(), "メモリ不足です。");
  EXPECT_EQ(CErrMessage(0).Message(), "エラーは発生していません。");
  EXPECT_EQ(CErrMessage(57).Message(), "未定義のエラーが発生しました。");
  EXPECT_EQ(CErrMessage(-1).Message(), "未定義のエラーが発生しました。");
  EXPECT_EQ(CMMSystemErrMessage(0).Message(), "mmsystemではエラーは発生していません。");
  EXPECT_EQ(CMMSystemErrMessage(1015).Message(), "未定義のmmsystemエラーが発生しました。");
  // The texts stand as the catalogue has them: no closing full stop here, and two spellings
  // of "multimedia".
  EXPECT_EQ(CMMSystemErrMessage(mmerr::kReset).Message(), "midiOutResetでエラーが発生しました");
  EXPECT_EQ(CMMSystemErrMessage(mmerr::kTimerBeginPeriod).Message(), "マルティメディアタイマの初期化に失敗しました。");
  EXPECT_EQ(CMMSystemErrMessage(mmerr::kTimerStop).Message(), "マルチメディアタイマの停止に失敗しました。");
}

TEST(ErrorsTest, SubclassesAreApplicationErrorsWithTheirOwnTexts) {
  const CErrMessage& error = CMMSystemErrMessage(mmerr::kOpen);
  EXPECT_EQ(error.Message(), "MIDIOUTデバイスのオープンができません。");
}

}  // namespace
}  // namespace velvasto
