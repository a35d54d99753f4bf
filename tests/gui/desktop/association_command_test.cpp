// The file association command in the main window, over a desktop of the test's own: its
// accelerator from anywhere in the window, the player going on while the dialog is open, and
// the set-up start (/Commit) that offers the dialog by itself.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

#include "app/association/child_process.h"
#include "gui/dialogs/set_ext_dlg.h"
#include "gui/frame_fixture.h"
#include "support/test_desktop.h"

namespace velvasto::test {
namespace {

// What the association dialog showed when it was answered.
struct SeenAssociationDialog {
  bool overTheWindow = false;  // modal to the main window
  bool hintShown = false;
};

class AssociationCommandTest : public FrameTest {
 protected:
  // The desktop's default application of `type` for the user.
  static std::string DefaultOf(const std::string& type) {
    const std::string output = RunProgram("xdg-mime", {"query", "default", type}).output;
    return output.substr(0, output.find('\n'));
  }

  // An answer for the association dialog: records what it showed, then `use` answers it (a
  // dialog left open is cancelled).
  ModalAnswers::Answer AnswerAssociation(std::function<void(gui::CSetExtDlg&)> use) {
    return [this, use = std::move(use)](QDialog& dialog) {
      auto* association = qobject_cast<gui::CSetExtDlg*>(&dialog);
      ASSERT_NE(association, nullptr) << "another dialog opened";
      SeenAssociationDialog record{.overTheWindow = dialog.parentWidget() == frame.get() && dialog.isModal()};
      for (const QLabel* label : dialog.findChildren<QLabel*>()) {
        if (label->text() == gui::ToQString(gui::kSetExtInstallHint)) record.hintShown = label->isVisible();
      }
      seen.push_back(record);
      use(*association);
      if (dialog.isVisible()) dialog.reject();
    };
  }

  // Ctrl+Shift+E with the focus on the STOP button of the active window.
  void PressCtrlShiftEOnStop() {
    frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
    gui::COrgButton& stop = Button(gui::TransportButton::Stop);
    stop.setFocus();
    ASSERT_EQ(QApplication::focusWidget(), &stop);
    QTest::keyClick(&stop, Qt::Key_E, Qt::ControlModifier | Qt::ShiftModifier);
  }

  static void Click(const QDialog& dialog, const char* text) {
    for (QAbstractButton* button : dialog.findChildren<QAbstractButton*>()) {
      if (button->text() == gui::ToQString(text)) return button->click();
    }
    ADD_FAILURE() << "no button or box " << text;
  }

  TestDesktop desktop;
  ModalAnswers answers;
  std::vector<SeenAssociationDialog> seen;
};

TEST_F(AssociationCommandTest, CtrlShiftEOpensTheDialogFromAButtonAndTheSongsPlayOnMeanwhile) {
  for (int i = 0; i < 2; ++i) {
    app.playList.Append({.path = Song("list" + std::to_string(i) + ".mid", static_cast<std::uint8_t>(60 + i)),
                         .volume = 100});
  }
  MakeFrame();
  Run(CommandId::Play);
  AdvanceMs(20);
  ASSERT_EQ(PlayedNotes(), std::vector<int>{60});

  answers.Push(AnswerAssociation([&](gui::CSetExtDlg& dialog) {
    // The first song (half a second) ends while the dialog is open: the list goes on.
    const std::uint64_t first = View().Controller().StartNumber();
    AdvanceMs(1'000);
    EXPECT_TRUE(QTest::qWaitFor([&] { return View().Controller().StartNumber() != first; }, 10'000))
        << "the player waits for the dialog";
    AdvanceMs(20);
    EXPECT_EQ(PlayedNotes(), (std::vector<int>{60, 61}));
    Click(dialog, "レコンポーザファイル(*.rcp)");
    Click(dialog, "OK");
  }));
  PressCtrlShiftEOnStop();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_TRUE(seen[0].overTheWindow);
  EXPECT_FALSE(seen[0].hintShown) << "not a set-up start";
  EXPECT_EQ(DefaultOf("audio/x-rcp"), kDesktopFileName);

  // Cancelled, nothing changes.
  answers.Push(AnswerAssociation([](gui::CSetExtDlg& dialog) {
    ExtensionTicks onlyRcp{};
    onlyRcp[3] = true;
    EXPECT_EQ(dialog.Ticks(), onlyRcp) << "the dialog opens with what is associated";
    Click(dialog, "レコンポーザファイル(*.rcp)");
    Click(dialog, "キャンセル");
  }));
  PressCtrlShiftEOnStop();
  EXPECT_EQ(seen.size(), 2u);
  EXPECT_EQ(DefaultOf("audio/x-rcp"), kDesktopFileName);
  EXPECT_EQ(answers.seen.size(), 2u) << "an error was shown";
}

TEST_F(AssociationCommandTest, ASetUpStartOffersTheDialogOnceWithItsHint) {
  app.installFlag = true;
  answers.Push(AnswerAssociation([](gui::CSetExtDlg&) {}));
  MakeFrame();
  EXPECT_TRUE(QTest::qWaitFor([&] { return !seen.empty(); }, 10'000));
  QTest::qWait(300);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_TRUE(seen[0].overTheWindow);
  EXPECT_TRUE(seen[0].hintShown);
  EXPECT_EQ(answers.seen.size(), 1u) << "nothing else opened";

  // From the menu's accelerator later in the same run, the hint stays.
  answers.Push(AnswerAssociation([](gui::CSetExtDlg&) {}));
  Run(CommandId::FileAssociation);
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_TRUE(seen[1].hintShown);
}

}  // namespace
}  // namespace velvasto::test
