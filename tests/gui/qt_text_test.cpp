#include "gui/qt_text.h"

#include <gtest/gtest.h>

namespace velvasto::gui {
namespace {

TEST(QtTextTest, PathsKeepTheirBytes) {
  // A UTF-8 name; Shift-JIS bytes from an old archive; a cut sequence at the end; an encoded
  // surrogate and an overlong slash, which are no UTF-8 either.
  for (const std::string& native :
       {std::string("/songs/曲.rcp"), std::string("/songs/\x83\x65\x83\x58\x83\x67.mid"),
        std::string("/songs/\xE6\x9B"), std::string("/songs/\xED\xA0\x80\xC0\xAF.g36")}) {
    const std::filesystem::path path(native);
    EXPECT_EQ(QStringToPath(PathToQString(path)).native(), native);
  }
  EXPECT_EQ(PathToQString("/songs/曲.rcp"), QString::fromUtf8("/songs/曲.rcp"));
}

}  // namespace
}  // namespace velvasto::gui
