// The file association dialog: its texts, the select-all rule, the boxes of one file type, and
// the command that runs it over the user's associations.

#include "gui/dialogs/set_ext_dlg.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <functional>

#include "core/errors.h"
#include "gui/qt_text.h"
#include "gui/recording_reporter.h"
#include "support/test_desktop.h"

namespace velvasto::gui {
namespace {

std::size_t IndexOf(std::string_view extension) {
  std::size_t index = 0;
  while (kAssociatedExtensions[index].extension != extension) ++index;
  return index;
}

ExtensionTicks Ticked(std::initializer_list<std::string_view> extensions) {
  ExtensionTicks ticks{};
  for (const std::string_view extension : extensions) ticks[IndexOf(extension)] = true;
  return ticks;
}

QCheckBox* Box(const QDialog& dialog, const QString& text) {
  for (QCheckBox* box : dialog.findChildren<QCheckBox*>()) {
    if (box->text() == text) return box;
  }
  return nullptr;
}

QPushButton* Button(const QDialog& dialog, const QString& text) {
  for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
    if (button->text() == text) return button;
  }
  return nullptr;
}

QPushButton* SelectAll(const QDialog& dialog) {
  QPushButton* button = Button(dialog, ToQString(kSelectAllText));
  return button != nullptr ? button : Button(dialog, ToQString(kClearAllText));
}

TEST(SetExtDlgTest, ShowsItsTextsAndTheHintOnlyForASetUpStart) {
  for (const bool installFlag : {false, true}) {
    const CSetExtDlg dialog(ExtensionTicks{}, installFlag);
    EXPECT_EQ(dialog.windowTitle(), ToQString("拡張子関連付け設定"));
    QStringList boxes;
    for (const QCheckBox* box : dialog.findChildren<QCheckBox*>()) boxes << box->text();
    EXPECT_EQ(boxes, QStringList({ToQString("Velvastoリストファイル(*.mlt)"), ToQString("標準MIDIファイル(*.mid)"),
                                  ToQString("標準MIDIファイル(*.midi)"), ToQString("RIFF MIDIファイル(*.rmi)"),
                                  ToQString("レコンポーザファイル(*.rcp)"), ToQString("レコンポーザファイル(*.r36)"),
                                  ToQString("レコンポーザファイル(*.g36)"), ToQString("レコンポーザファイル(*.g18)")}));
    std::map<QString, bool> labels;
    for (const QLabel* label : dialog.findChildren<QLabel*>()) labels[label->text()] = !label->isHidden();
    EXPECT_TRUE(labels.at(ToQString(kSetExtNote)));
    EXPECT_EQ(labels.at(ToQString(kSetExtInstallHint)), installFlag);
    EXPECT_NE(Button(dialog, "OK"), nullptr);
    EXPECT_NE(Button(dialog, ToQString("キャンセル")), nullptr);
  }
}

TEST(SetExtDlgTest, SelectAllTicksAllUnlessAllAreTickedAndItsTextFollowsTheBoxes) {
  struct Case {
    ExtensionTicks start;
    std::function<void(CSetExtDlg&)> clicks;
    ExtensionTicks end;
    const char* buttonText;
  };
  const ExtensionTicks all = Ticked({".mid", ".midi", ".rmi", ".rcp", ".r36", ".g36", ".g18", ".mlt"});
  const std::vector<Case> cases = {
      {{}, [](CSetExtDlg&) {}, {}, kSelectAllText},
      {all, [](CSetExtDlg&) {}, all, kClearAllText},
      {{}, [](CSetExtDlg& d) { SelectAll(d)->click(); }, all, kClearAllText},
      {Ticked({".rcp"}), [](CSetExtDlg& d) { SelectAll(d)->click(); }, all, kClearAllText},
      {all, [](CSetExtDlg& d) { SelectAll(d)->click(); }, {}, kSelectAllText},
      {all, [](CSetExtDlg& d) { Box(d, ToQString("レコンポーザファイル(*.g18)"))->click(); },
       Ticked({".mid", ".midi", ".rmi", ".rcp", ".r36", ".g36", ".mlt"}), kSelectAllText},
      {Ticked({".mid", ".midi", ".rmi", ".rcp", ".r36", ".g36", ".mlt"}),
       [](CSetExtDlg& d) { Box(d, ToQString("レコンポーザファイル(*.g18)"))->click(); }, all, kClearAllText},
  };
  for (std::size_t i = 0; i < cases.size(); ++i) {
    CSetExtDlg dialog(cases[i].start, false);
    cases[i].clicks(dialog);
    EXPECT_EQ(dialog.Ticks(), cases[i].end) << "case " << i;
    EXPECT_NE(Button(dialog, ToQString(cases[i].buttonText)), nullptr) << "case " << i;
  }
}

// .mid, .midi and .rmi are one file type on the desktop: they cannot be told apart there, so
// the dialog does not pretend they can.
TEST(SetExtDlgTest, ExtensionsOfOneFileTypeTickTogether) {
  CSetExtDlg dialog(Ticked({".rmi"}), false);
  EXPECT_EQ(dialog.Ticks(), Ticked({".mid", ".midi", ".rmi"}));
  Box(dialog, ToQString("標準MIDIファイル(*.midi)"))->click();
  EXPECT_EQ(dialog.Ticks(), ExtensionTicks{});
  Box(dialog, ToQString("標準MIDIファイル(*.mid)"))->click();
  Box(dialog, ToQString("レコンポーザファイル(*.r36)"))->click();
  EXPECT_EQ(dialog.Ticks(), Ticked({".mid", ".midi", ".rmi", ".r36"}));
}

// Runs the command; while its dialog is open, `use` is given it.
void RunCommand(CFileAssociation& association, ErrorReporter& reporter, const std::function<void(CSetExtDlg&)>& use) {
  bool used = false;
  QTimer::singleShot(0, [&] {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      if (auto* dialog = qobject_cast<CSetExtDlg*>(widget); dialog != nullptr && dialog->isVisible()) {
        used = true;
        use(*dialog);
        if (dialog->isVisible()) dialog->reject();
      }
    }
  });
  RunFileAssociationDialog(association, reporter, false, nullptr);
  EXPECT_TRUE(used);
}

// OK and Cancel over a working desktop are driven from the window in AssociationCommandTest.
TEST(SetExtDlgTest, TheCommandShowsAFailureAfterTheDialog) {
  velvasto::test::TestDesktop desktop;
  test::RecordingReporter reporter;
  CFileAssociation association(AssociationPlaces::ForThisUser(), reporter);
  velvasto::test::EnvironmentScope noTools;
  noTools.Set("PATH", desktop.dir.Path().string());
  RunCommand(association, reporter, [](CSetExtDlg& dialog) {
    Box(dialog, ToQString("レコンポーザファイル(*.rcp)"))->click();
    Button(dialog, "OK")->click();
  });
  EXPECT_EQ(reporter.shown, std::vector<std::string>{AppErrorText(errc::kAssocActionKeyFailed)});
}

}  // namespace
}  // namespace velvasto::gui
