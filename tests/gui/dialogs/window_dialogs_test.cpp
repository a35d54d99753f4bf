// The dialogs on the real main window: each opened by its command's keys with the focus on a
// transport button, modal on the window and closed by Escape; what OK changes reaching the
// settings file, the play list or the player; the song property window refreshed at each start;
// the progress window of a control file opened, advanced and closed by the song.

#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QSlider>
#include <algorithm>
#include <map>

#include "dialog_test_support.h"
#include "gui/dialogs/about_dlg.h"
#include "gui/dialogs/ctrl_send_dlg.h"
#include "gui/dialogs/data_propaty_dlg.h"
#include "gui/dialogs/data_select_dlg.h"
#include "gui/dialogs/list_file_edit_dlg.h"
#include "gui/frame_fixture.h"
#include "gui/menu_table.h"
#include "gui/song_data_windows.h"
#include "support/control_file_builder.h"
#include "support/read_file.h"
#include "support/recomposer_builder.h"

namespace velvasto::test {
namespace {

using gui::TransportButton;
using gui::test::Child;
using gui::test::Click;
using gui::test::ModalAnswer;

constexpr Qt::KeyboardModifiers kCtrlShift = Qt::ControlModifier | Qt::ShiftModifier;

class WindowDialogsTest : public FrameTest {
 protected:
  // The window over a list of `songs`, stopped.
  void MakeFrameOver(const std::vector<std::filesystem::path>& songs) {
    for (const auto& song : songs) app.playList.Append({.path = song, .volume = 100});
    app.playList.SetModified(false);
    MakeFrame();
  }
  // The window active again (a closed dialog may leave no window active) and `button` focused.
  void FocusOn(TransportButton button) {
    frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
    Button(button).setFocus();
    ASSERT_EQ(QApplication::focusWidget(), &Button(button));
  }
  // The key pressed with the focus on `button`.
  void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
             TransportButton button = TransportButton::Play) {
    FocusOn(button);
    ASSERT_EQ(QApplication::focusWidget(), &Button(button));
    QTest::keyClick(QApplication::focusWidget(), key, modifiers);
  }
  // Escape as the user types it: to the dialog's focus widget.
  static void Escape(QWidget& dialog) {
    QTest::keyClick(dialog.focusWidget() ? dialog.focusWidget() : &dialog, Qt::Key_Escape);
  }
  static std::string Setting(std::string_view key) { return CINIFile().ReadString(key, "<missing>"); }
  // The dialog is modal over the main window.
  void ExpectModalOnTheWindow(const QDialog& dialog) {
    EXPECT_TRUE(dialog.isModal());
    ASSERT_NE(dialog.parentWidget(), nullptr);
    EXPECT_EQ(dialog.parentWidget()->window(), frame.get());
  }
  std::vector<std::string> ListNames() const {
    std::vector<std::string> names;
    for (const ListEntry& entry : app.playList.Entries()) names.push_back(entry.path.filename().string());
    return names;
  }
};

// One settings command: its key (with Ctrl+Shift), the dialog it opens, a change confirmed with
// OK, and the settings it leaves in the file once the program has stored its settings.
struct SettingsCase {
  const char* name;
  CommandId command;
  Qt::Key key;
  const char* dialogClass;
  bool enabledWhilePlaying;
  std::function<void(QDialog&, std::map<std::string, std::string>&)> changeAndConfirm;
  std::map<std::string, std::string> stored;  // values that do not depend on the dialog
};

std::vector<SettingsCase> SettingsCases() {
  return {
      {"MIDI ports", CommandId::MidiPortSettings, Qt::Key_P, "velvasto::gui::CMIDIPortDlg", false,
       [](QDialog& ports, std::map<std::string, std::string>& stored) {
         Click(ports, "twoPorts");
         auto& portB = Child<QListWidget>(ports, "portB");
         portB.setCurrentRow(portB.count() - 1);
         stored["MIDI Port B"] = gui::ToUtf8(portB.currentItem()->text());
         Click(ports, "ok");
       },
       {{"MIDI Port Num", "2"}}},
      {"timer period", CommandId::TimerPeriod, Qt::Key_T, "velvasto::gui::CTimerPeriodDlg", false,
       [](QDialog& timer, std::map<std::string, std::string>& stored) {
         auto& period = Child<QSlider>(timer, "period");
         ASSERT_LT(period.minimum(), period.maximum());
         period.setValue(period.value() == period.maximum() ? period.minimum() : period.maximum());
         stored["Timer Period"] = std::to_string(period.value());
         Click(timer, "ok");
       },
       {}},
      {"control-file ports", CommandId::ControlFilePort, Qt::Key_C, "velvasto::gui::CCtrlFilePortDlg", false,
       [](QDialog& ports, std::map<std::string, std::string>&) {
         EXPECT_TRUE(Child<QAbstractButton>(ports, "cm6_1").isChecked());
         for (const char* name : {"gsd_0", "gsd_1", "gsd_2"})
           EXPECT_FALSE(Child<QAbstractButton>(ports, name).isChecked()) << name;
         Click(ports, "cm6_0");
         Click(ports, "gsd2_2");
         Click(ports, "ok");
       },
       {{"CM6 Port", "0"}, {"GSD Port", "7"}, {"GSD2 Port", "2"}}},  // GSD: no choice, kept
      {"play behaviour", CommandId::PlayBehaviour, Qt::Key_M, "velvasto::gui::CPlayModeDlg", false,
       [](QDialog& mode, std::map<std::string, std::string>&) {
         Click(mode, "mapMode1");
         Click(mode, "xgSystemOn");
         Child<QLineEdit>(mode, "loopLimit").setText("7");
         Click(mode, "ok");
       },
       {{"Map Mode", "1"}, {"XG System On Send", "1"}, {"RCP Loop Limit", "7"}}},
      {"patchbay", CommandId::Patchbay, Qt::Key_V, "velvasto::gui::CMIDIPortSetDlg", true,
       [](QDialog& patchbay, std::map<std::string, std::string>&) {
         Click(patchbay, "use");
         Click(patchbay, "ok");
       },
       {{"Port Set Use", "1"}}},
  };
}

TEST_F(WindowDialogsTest, EachSettingsKeyOpensItsDialogOverTheWindowAndOkStoresTheSettings) {
  app.settings.gsdPort = 7;  // no choice of the dialog: kept unless one is chosen
  MakeFrameOver({Song("one.mid", 60)});
  for (SettingsCase& c : SettingsCases()) {
    SCOPED_TRACE(c.name);
    std::map<std::string, std::string> stored = c.stored;
    {
      ModalAnswer<QDialog> modal([&](QDialog& dialog) {
        EXPECT_STREQ(dialog.metaObject()->className(), c.dialogClass);
        ExpectModalOnTheWindow(dialog);
        c.changeAndConfirm(dialog, stored);
      });
      Press(c.key, kCtrlShift);
    }
    app.SaveSettings();
    for (const auto& [key, value] : stored) EXPECT_EQ(Setting(key), value) << key;
  }
}

TEST_F(WindowDialogsTest, EscapeClosesEachSettingsDialogAndChangesNoSetting) {
  MakeFrameOver({Song("one.mid", 60)});
  app.SaveSettings();
  const std::string before = ReadWholeFile(settingsFile);
  for (const SettingsCase& c : SettingsCases()) {
    SCOPED_TRACE(c.name);
    ModalAnswer<QDialog> modal([&](QDialog& dialog) {
      EXPECT_STREQ(dialog.metaObject()->className(), c.dialogClass);
      Escape(dialog);
      EXPECT_FALSE(dialog.isVisible());
    });
    Press(c.key, kCtrlShift);
  }
  app.SaveSettings();
  EXPECT_EQ(ReadWholeFile(settingsFile), before);
}

TEST_F(WindowDialogsTest, WhilePlayingOnlyThePatchbayOpensEvenWhenTheCommandIsRunDirectly) {
  MakeFrameOver({Song("long.mid", 60, 40)});
  Run(CommandId::Play);
  AdvanceMs(20);
  ASSERT_EQ(app.playState, PlayState::Playing);
  for (const SettingsCase& c : SettingsCases()) {
    SCOPED_TRACE(c.name);
    ModalAnswer<QDialog> modal([](QDialog& dialog) { dialog.reject(); }, c.enabledWhilePlaying);
    Run(c.command);
  }
}

// The list editor works on a copy of the list: a song that ends while it is open must not move
// the list on under it, and must not be forgotten either. The patchbay lets the list go on.
TEST_F(WindowDialogsTest, ASongEndingUnderTheListEditorWaitsForItButPlayGoesOnUnderThePatchbay) {
  MakeFrameOver({Song("a.mid", 60), Song("b.mid", 61), Song("c.mid", 62)});
  Run(CommandId::Play);
  AdvanceMs(20);
  const auto entryDuringDialog = [&](Qt::Key key, Qt::KeyboardModifiers modifiers) {
    int entry = -1;
    ModalAnswer<QDialog> modal([&](QDialog& dialog) {
      AdvanceMs(1500);  // past the end of the song, whose end is posted
      entry = app.playList.CurrentIndex();
      dialog.reject();
    });
    Press(key, modifiers, TransportButton::Stop);
    return entry;
  };
  EXPECT_EQ(entryDuringDialog(Qt::Key_E, Qt::ControlModifier), 0);
  ASSERT_TRUE(QTest::qWaitFor([&] { return app.playList.CurrentIndex() == 1; }, 10000)) << "the end was not lost";
  EXPECT_EQ(entryDuringDialog(Qt::Key_V, kCtrlShift), 2);
  AdvanceMs(20);
  EXPECT_EQ(PlayedNotes(), (std::vector<int>{60, 61, 62}));
}

TEST_F(WindowDialogsTest, NewListAsksForTheModifiedListThenBuildsTheListInTheEditor) {
  MakeFrameOver({Song("old1.mid", 60), Song("old2.mid", 61)});
  app.playList.SetModified(true);
  const std::filesystem::path added = Song("added.mid", 62);
  {
    ModalAnswer<QMessageBox> question([](QMessageBox& box) {
      EXPECT_EQ(box.text(), "リストファイルは変更されています。保存しますか？");
      box.button(QMessageBox::No)->click();
    });
    ModalAnswer<gui::CListFileEditDlg> editor([&](gui::CListFileEditDlg& dialog) {
      ExpectModalOnTheWindow(dialog);
      EXPECT_EQ(Child<QListWidget>(dialog, "entries").count(), 0) << "a new list starts empty";
      ModalAnswer<QFileDialog> files([&](QFileDialog& chooser) {
        TypeFileName(chooser, added);
        static_cast<QDialog&>(chooser).accept();
      });
      Click(dialog, "add");
      Click(dialog, "ok");
    });
    Press(Qt::Key_N, Qt::ControlModifier);
  }
  EXPECT_EQ(ListNames(), std::vector<std::string>{"added.mid"});
  EXPECT_EQ(app.playList.CurrentIndex(), 0);
  EXPECT_TRUE(Button(TransportButton::Play).isEnabled());
  EXPECT_EQ(Setting("Play FIle Folder"), added.parent_path().string());

  // A new list left with Escape: the list stays cleared, and PLAY goes off with it.
  app.playList.SetModified(false);
  {
    ModalAnswer<gui::CListFileEditDlg> editor([](gui::CListFileEditDlg& dialog) { Escape(dialog); });
    Press(Qt::Key_N, Qt::ControlModifier);
  }
  EXPECT_TRUE(app.playList.Empty());
  EXPECT_FALSE(Button(TransportButton::Play).isEnabled());
  EXPECT_FALSE(frame->Actions().Action(static_cast<int>(CommandId::Play))->isEnabled());
}

TEST_F(WindowDialogsTest, EditListChangesTheListOnlyOnOkAndThePlayerTakesItUp) {
  app.closeAfterPlay = true;
  MakeFrameOver({Song("a.mid", 60), Song("b.mid", 61), Song("c.mid", 62)});
  app.playList.SetCurrentIndex(2);
  {
    ModalAnswer<gui::CListFileEditDlg> editor([this](gui::CListFileEditDlg& dialog) {
      ExpectModalOnTheWindow(dialog);
      EXPECT_EQ(Child<QListWidget>(dialog, "entries").count(), 3);
      Click(dialog, "delete");
      Escape(dialog);
    });
    Press(Qt::Key_E, Qt::ControlModifier);
  }
  EXPECT_EQ(ListNames(), (std::vector<std::string>{"a.mid", "b.mid", "c.mid"}));
  EXPECT_EQ(app.playList.CurrentIndex(), 2);
  EXPECT_FALSE(app.playList.Modified());
  {
    ModalAnswer<gui::CListFileEditDlg> editor([](gui::CListFileEditDlg& dialog) {
      Click(dialog, "delete");
      Click(dialog, "ok");
    });
    Press(Qt::Key_E, Qt::ControlModifier);
  }
  EXPECT_EQ(ListNames(), (std::vector<std::string>{"b.mid", "c.mid"}));
  EXPECT_TRUE(app.playList.Modified());
  EXPECT_EQ(app.playList.CurrentIndex(), 0) << "a modified list plays from its start";
  EXPECT_FALSE(app.closeAfterPlay);
  // The list plays as edited.
  Run(CommandId::Play);
  AdvanceMs(20);
  EXPECT_EQ(PlayedNotes(), std::vector<int>{61});
}

TEST_F(WindowDialogsTest, JumpPlaysTheEntryChosenAndEscapePlaysNothing) {
  MakeFrameOver({Song("a.mid", 60), Song("b.mid", 61), Song("c.mid", 62)});
  {
    ModalAnswer<gui::CDataSelectDlg> jump([](gui::CDataSelectDlg& dialog) { Escape(dialog); });
    Press(Qt::Key_J);
  }
  EXPECT_EQ(app.playState, PlayState::Stopped);
  {
    ModalAnswer<gui::CDataSelectDlg> jump([&](gui::CDataSelectDlg& dialog) {
      ExpectModalOnTheWindow(dialog);
      Child<QComboBox>(dialog, "entries").setCurrentIndex(2);
      Click(dialog, "ok");
    });
    Press(Qt::Key_J);
  }
  AdvanceMs(20);
  EXPECT_EQ(app.playList.CurrentIndex(), 2);
  EXPECT_EQ(PlayedNotes(), std::vector<int>{62});
}

TEST_F(WindowDialogsTest, TheAboutBoxOpensFromTheHelpMenuOverTheWindow) {
  MakeFrameOver({Song("a.mid", 60)});
  ModalAnswer<gui::CAboutDlg> about([&](gui::CAboutDlg& dialog) {
    ExpectModalOnTheWindow(dialog);
    Escape(dialog);
  });
  frame->Actions().Action(static_cast<int>(gui::FrameCommand::About))->trigger();
}

gui::CDataPropatyDlg* PropertyWindow() {
  gui::CDataPropatyDlg* found = nullptr;
  for (QWidget* window : QApplication::topLevelWidgets()) {
    if (auto* properties = qobject_cast<gui::CDataPropatyDlg*>(window)) {
      EXPECT_EQ(found, nullptr) << "more than one property window";
      found = properties;
    }
  }
  return found;
}

TEST_F(WindowDialogsTest, ThePropertyWindowShowsBesideTheWindowIsRefreshedAtEachStartAndClosesWithTheWindow) {
  RcpBuilder rcp;
  rcp.AddTrack().Note(0, 64, 40, 100).Rest(48).End();
  MakeFrameOver({Song("first.mid", 60), dir.Write("second.rcp", rcp.Build())});
  Run(CommandId::Play);
  AdvanceMs(20);
  Press(Qt::Key_P, Qt::ControlModifier, TransportButton::Stop);
  gui::CDataPropatyDlg* properties = PropertyWindow();
  ASSERT_NE(properties, nullptr);
  EXPECT_TRUE(properties->isVisible());
  EXPECT_FALSE(properties->isModal());
  EXPECT_EQ(properties->parentWidget(), nullptr) << "it stands beside the main window, not above it";
  EXPECT_EQ(Child<QLabel>(*properties, "kind").text(), "標準MIDIファイル");

  // The next song refreshes it without being asked.
  Run(CommandId::FastForward);
  AdvanceMs(20);
  EXPECT_EQ(Child<QLabel>(*properties, "kind").text(), "RCPファイル");
  EXPECT_EQ(PropertyWindow(), properties);

  Escape(*properties);
  EXPECT_FALSE(properties->isVisible());
  properties->show();
  frame->close();
  Settle();
  EXPECT_FALSE(frame->isVisible());
  EXPECT_FALSE(properties->isVisible());
}

TEST(BesideWindowTest, PlacesToTheRightElseToTheLeftElseAgainstTheScreensEdge) {
  const QRect screen(0, 0, 1000, 700);
  const QSize size(300, 400);
  struct Case {
    const char* name;
    QRect mainWindow;
    QPoint expected;
  };
  for (const Case& c : {
           Case{"room on the right", QRect(100, 50, 500, 300), QPoint(600, 50)},
           Case{"room on the left only", QRect(400, 50, 500, 300), QPoint(100, 50)},
           Case{"room on neither side", QRect(200, 50, 600, 300), QPoint(700, 50)},
           Case{"kept above the screen's bottom", QRect(100, 600, 500, 300), QPoint(600, 300)},
           Case{"kept below the screen's top", QRect(100, -40, 500, 300), QPoint(600, 0)},
       }) {
    EXPECT_EQ(gui::BesideWindow(c.mainWindow, size, screen), c.expected) << c.name;
  }
  EXPECT_EQ(gui::BesideWindow(QRect(0, 0, 900, 300), QSize(300, 400), QRect(100, 0, 900, 700)), QPoint(700, 0))
      << "a screen that does not start at 0";
}

// The progress window the view shows while the song's CM6 file is sent, or null.
gui::CCtrlSendDlg* Progress(gui::CChildView& view) { return view.findChild<gui::CCtrlSendDlg*>(); }

TEST_F(WindowDialogsTest, TheProgressWindowOpensAdvancesAndClosesWithTheControlFile) {
  dir.Write("SONG.CM6", Cm6Builder().Numbered().Build());
  RcpBuilder rcp;
  rcp.header.cm6Name = "SONG.CM6";
  rcp.AddTrack().Note(0, 64, 180, 100).Rest(192).End();
  MakeFrameOver({dir.Write("setup.rcp", rcp.Build())});
  Run(CommandId::Play);
  gui::CCtrlSendDlg* progress = nullptr;
  for (int i = 0; i < 100 && !(progress = Progress(View())); ++i) AdvanceMs(10);
  ASSERT_NE(progress, nullptr);
  EXPECT_TRUE(progress->isVisible());
  EXPECT_FALSE(progress->isModal());
  const QProgressBar& bar = Child<QProgressBar>(*progress, "progress");
  EXPECT_EQ(bar.maximum(), 102) << "one step per message of the CM6 file";

  std::vector<int> values;
  for (int i = 0; i < 2000 && Progress(View()); ++i) {
    if (values.empty() || values.back() != bar.value()) values.push_back(bar.value());
    AdvanceMs(10);
  }
  EXPECT_EQ(Progress(View()), nullptr) << "closed at the block's end";
  EXPECT_EQ(app.playState, PlayState::Playing) << "the song goes on";
  ASSERT_GE(values.size(), 3u) << "the bar moved while the messages went out";
  EXPECT_TRUE(std::is_sorted(values.begin(), values.end()));
  EXPECT_GT(values.back(), 90);

  // Stopped while the block is sent: the window goes with the song.
  Run(CommandId::Stop);
  Run(CommandId::Play);
  for (int i = 0; i < 100 && !Progress(View()); ++i) AdvanceMs(10);
  ASSERT_NE(Progress(View()), nullptr);
  Run(CommandId::Stop);
  EXPECT_EQ(Progress(View()), nullptr);
}

}  // namespace
}  // namespace velvasto::test
