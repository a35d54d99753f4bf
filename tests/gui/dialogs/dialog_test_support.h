#pragma once
// Driving the dialogs in tests: their controls found by object name, the errors they show
// recorded, a port choice over a list of device names, and answering a modal dialog that a
// click opens.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/catalogue.h"
#include "gui/recording_reporter.h"
#include "midiout/device_catalog.h"
#include "midiout/midi_port.h"

namespace velvasto::gui::test {

inline std::vector<std::string> Texts(std::initializer_list<int> messageIds) {
  std::vector<std::string> texts;
  for (const int id : messageIds) texts.emplace_back(CatalogueText(id));
  return texts;
}

// Devices by name only; nothing is ever opened.
class NameCatalog final : public MidiDeviceCatalog {
 public:
  explicit NameCatalog(std::vector<std::string> names) : names_(std::move(names)) {}
  std::vector<std::optional<std::string>> ListDevices() override { return {names_.begin(), names_.end()}; }
  std::unique_ptr<MidiOutDevice> MakeDevice(const DeviceEntry&) override { return nullptr; }
  std::unique_ptr<MidiOutDevice> MakeMapper() override { return nullptr; }

 private:
  std::vector<std::string> names_;
};

// A port choice over `names`: one port on the mapper, or `count` ports on `a` and `b`.
inline CMIDIPort PortChoice(std::vector<std::string> names, int count = 1, std::int32_t a = -1,
                            std::int32_t b = -1) {
  NameCatalog catalog(std::move(names));
  CMIDIPort ports;
  ports.Load(catalog);
  if (!ports.SetPortCount(count) || !ports.Select(a, b)) throw std::logic_error("invalid port choice");
  return ports;
}

// The control named `name` below `parent`; a missing one fails the test.
template <typename Widget>
Widget& Child(const QObject& parent, const char* name) {
  Widget* child = parent.findChild<Widget*>(QString::fromLatin1(name));
  if (!child) throw std::runtime_error(std::string("no control ") + name);
  return *child;
}

inline void Click(const QObject& parent, const char* name) { Child<QAbstractButton>(parent, name).click(); }

// A text as shown: without the '&' that marks a mnemonic.
inline QString Shown(QString text) { return text.remove(QRegularExpression(QStringLiteral("&(?!&)"))); }

// Answers the next modal dialog of type `Dialog` that opens while the object lives, with
// `answer` (which must close it). Arm it before the click that opens the dialog, since the click
// returns only when the dialog has closed. A dialog that never opens (or, with `mustOpen`
// false, one that does), or that `answer` leaves open, fails the test; a dialog left open is
// rejected so that the test goes on.
template <typename Dialog>
class ModalAnswer {
 public:
  explicit ModalAnswer(std::function<void(Dialog&)> answer, bool mustOpen = true)
      : answer_(std::move(answer)), mustOpen_(mustOpen) {
    clock_.start();
    QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
    timer_.start(10);
  }
  ~ModalAnswer() { EXPECT_EQ(answered_, mustOpen_) << (mustOpen_ ? "the dialog did not open" : "a dialog opened"); }

 private:
  void Poll() {
    auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
    if (!dialog) {
      if (clock_.elapsed() > 20000) timer_.stop();
      return;
    }
    timer_.stop();
    answered_ = true;
    answer_(*dialog);
    if (dialog->isVisible()) {
      ADD_FAILURE() << "the answer left the dialog open";
      dialog->reject();
    }
  }

  std::function<void(Dialog&)> answer_;
  bool mustOpen_;
  QTimer timer_;
  QElapsedTimer clock_;
  bool answered_ = false;
};

}  // namespace velvasto::gui::test
