#include "gui/dialogs/dialog_commands.h"

#include "core/errors.h"
#include "gui/dialogs/about_dlg.h"
#include "gui/dialogs/ctrl_file_port_dlg.h"
#include "gui/dialogs/data_select_dlg.h"
#include "gui/dialogs/midi_port_dlg.h"
#include "gui/dialogs/midi_port_set_dlg.h"
#include "gui/dialogs/play_mode_dlg.h"
#include "gui/dialogs/timer_period_dlg.h"

namespace velvasto::gui {

bool RunMidiPortDialog(QWidget* parent, CVelvastoApp& app, ErrorReporter& reporter) {
  CMIDIPortDlg dialog(app.activePort, app.installFlag, reporter, parent);
  if (dialog.exec() != QDialog::Accepted) return false;
  app.activePort = dialog.Ports();
  if (!app.activePort.Save()) reporter.ShowError(AppErrorText(errc::kIniSaveFailed));
  app.defaultPort = app.activePort;
  return true;
}

bool RunTimerPeriodDialog(QWidget* parent, CVelvastoApp& app, ErrorReporter& reporter) {
  CTimerPeriodDlg dialog(app.timerPeriods, reporter, parent);
  if (dialog.exec() != QDialog::Accepted) return false;
  app.timerPeriods.period = dialog.Period();
  return true;
}

bool RunControlFilePortDialog(QWidget* parent, CVelvastoApp& app) {
  SettingsBlock& settings = app.settings;
  CCtrlFilePortDlg dialog({settings.cm6Port, settings.gsdPort, settings.gsd2Port}, parent);
  if (dialog.exec() != QDialog::Accepted) return false;
  settings.cm6Port = dialog.Ports().cm6;
  settings.gsdPort = dialog.Ports().gsd;
  settings.gsd2Port = dialog.Ports().gsd2;
  return true;
}

bool RunPlayModeDialog(QWidget* parent, CVelvastoApp& app, ErrorReporter& reporter) {
  CPlayModeDlg dialog(PlayBehaviour::From(app.settings, app.gmSystemOff), reporter, parent);
  if (dialog.exec() != QDialog::Accepted) return false;
  dialog.Values().ApplyTo(app.settings, app.gmSystemOff);
  return true;
}

bool RunPatchbayDialog(QWidget* parent, CVelvastoApp& app, ErrorReporter& reporter) {
  CMIDIPortSetDlg dialog(app.portSets, reporter, parent);
  return dialog.exec() == QDialog::Accepted;
}

bool RunListEditor(QWidget* parent, CVelvastoApp& app, bool newList, ErrorReporter& reporter,
                   SongFilesChooser chooseFiles) {
  CListFileEditDlg dialog(app.playList, newList, app.settings.volumeValue, reporter, std::move(chooseFiles), parent);
  if (dialog.exec() != QDialog::Accepted) return false;
  app.playList.CopyFrom(dialog.WorkingList());
  return true;
}

std::optional<int> ChooseListEntry(QWidget* parent, const CPlayList& list) {
  CDataSelectDlg dialog(list, parent);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.Selected();
}

void ShowAboutBox(QWidget* parent) {
  CAboutDlg dialog(parent);
  dialog.exec();
}

}  // namespace velvasto::gui
