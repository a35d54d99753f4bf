// The media-player interface on a private session bus (the suite runs this program under
// dbus-run-session), driven as the desktop drives it: with playerctl and dbus-send, over the
// player controller on virtual time.

#include "gui/desktop/media_player_service.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDialog>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMetaType>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QTimer>
#include <QUrl>

#include "app/controller_fixture.h"
#include "gui/qt_text.h"

namespace velvasto::gui {
namespace {

class FakeWindow final : public MediaPlayerWindow {
 public:
  explicit FakeWindow(std::unique_ptr<PlayerController>& controller) : controller_(controller) {}
  void Raise() override { ++raised; }
  void Quit() override { ++quit; }
  int Volume() const override { return volume; }
  // As the slider does when the user moves it.
  void SetVolume(int value) override {
    volume = value;
    controller_->SetVolume(value);
  }
  void Operate(const std::function<void(PlayerController&)>& operation) override {
    try {
      operation(*controller_);
    } catch (const CErrMessage& error) {
      errors.push_back(error.Message());
    }
  }

  int raised = 0;
  int quit = 0;
  int volume = 127;
  std::vector<std::string> errors;

 private:
  std::unique_ptr<PlayerController>& controller_;
};

// Receives the service's PropertiesChanged and Seeked signals over the bus.
class SignalSpy : public QObject {
  Q_OBJECT

 public:
  explicit SignalSpy(QDBusConnection connection) {
    const QString path = QString::fromLatin1(kMprisObjectPath);
    connection.connect(QString(), path, QStringLiteral("org.freedesktop.DBus.Properties"),
                       QStringLiteral("PropertiesChanged"), this, SLOT(Changed(QString, QVariantMap, QStringList)));
    connection.connect(QString(), path, QStringLiteral("org.mpris.MediaPlayer2.Player"), QStringLiteral("Seeked"), this,
                       SLOT(Seeked(qlonglong)));
  }
  QVariantMap changed;            // everything told so far, the last value of each
  std::vector<qlonglong> seeked;  // each position told

 public slots:
  void Changed(const QString& interfaceName, const QVariantMap& properties, const QStringList&) {
    if (interfaceName == QStringLiteral("org.mpris.MediaPlayer2.Player")) changed.insert(properties);
  }
  void Seeked(qlonglong positionUs) { seeked.push_back(positionUs); }
};

// Runs a program while the event loop serves the bus; its standard output, trimmed.
QString RunProgramServing(const QString& program, const QStringList& arguments) {
  QProcess process;
  QEventLoop loop;
  QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
  QObject::connect(&process, &QProcess::errorOccurred, &loop, &QEventLoop::quit);
  QTimer::singleShot(60'000, &loop, &QEventLoop::quit);
  process.start(program, arguments);
  loop.exec();
  EXPECT_EQ(process.state(), QProcess::NotRunning) << ToUtf8(program) << " did not end";
  return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

std::string Playerctl(const QStringList& arguments) {
  return ToUtf8(RunProgramServing(QStringLiteral("playerctl"), QStringList{QStringLiteral("--player=velvasto")} + arguments));
}

// Serves the bus until `done` holds (true) or a generous time has passed (false).
template <typename Done>
bool ServeUntil(Done&& done) {
  QElapsedTimer waited;
  waited.start();
  while (!done()) {
    if (waited.elapsed() > 30'000) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
  }
  return true;
}

class MediaPlayerServiceTest : public test::ControllerTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(QDBusConnection::sessionBus().isConnected()) << "run under dbus-run-session";
    ASSERT_TRUE(service.Register(QDBusConnection::sessionBus()));
  }
  // Plays `count` songs of `seconds` each as a list.
  void PlayList(int count, std::uint64_t seconds) {
    std::vector<std::filesystem::path> songs;
    for (int i = 0; i < count; ++i) {
      songs.push_back(Song("song" + std::to_string(i) + ".mid", static_cast<std::uint8_t>(60 + i), seconds * 1'000'000));
    }
    Request(songs);
    controller->Open();
    AdvanceMs(10);
  }
  std::uint32_t PositionSeconds() const { return controller->Status().positionSeconds; }

  FakeWindow window{controller};
  CMediaPlayerService service{*controller, window};
};

TEST_F(MediaPlayerServiceTest, StatusAndPlayPauseFollowTheTransport) {
  EXPECT_EQ(Playerctl({"status"}), "Stopped");
  EXPECT_EQ(Playerctl({"play-pause"}), "") << "nothing to play: PLAY is not enabled";
  EXPECT_EQ(app.playState, PlayState::Stopped);

  PlayList(2, 10);
  EXPECT_EQ(Playerctl({"status"}), "Playing");
  Playerctl({"play-pause"});
  EXPECT_EQ(app.playState, PlayState::Paused);
  EXPECT_EQ(Playerctl({"status"}), "Paused");
  Playerctl({"play"});
  EXPECT_EQ(app.playState, PlayState::Playing);
  Playerctl({"pause"});
  Playerctl({"stop"});
  EXPECT_EQ(app.playState, PlayState::Paused) << "STOP is enabled only while playing";
  Playerctl({"play-pause"});
  Playerctl({"stop"});
  EXPECT_EQ(Playerctl({"status"}), "Stopped");
  Playerctl({"play-pause"});
  EXPECT_EQ(app.playState, PlayState::Playing) << "from stopped, PLAY";
  EXPECT_TRUE(prompt.errors.empty() && window.errors.empty());
}

TEST_F(MediaPlayerServiceTest, NextAndPreviousAreFastForwardAndRewind) {
  PlayList(3, 10);
  AdvanceMs(4'000);
  EXPECT_EQ(Playerctl({"metadata", "xesam:url"}), ToUtf8(QUrl::fromLocalFile(PathToQString(dir.Path() / "song0.mid")).toString()));
  Playerctl({"next"});
  EXPECT_EQ(controller->SongPath(), dir.Path() / "song1.mid");
  EXPECT_EQ(Playerctl({"metadata", "xesam:title"}), "song1.mid") << "a song without a title goes by its file name";
  EXPECT_EQ(Playerctl({"metadata", "mpris:length"}), "10000000");

  AdvanceMs(4'000);
  ASSERT_EQ(PositionSeconds(), 4u);
  Playerctl({"previous"});
  EXPECT_EQ(controller->SongPath(), dir.Path() / "song1.mid") << "REWIND starts the song again";
  EXPECT_EQ(PositionSeconds(), 0u);

  Request({Song("single.mid", 70, 10'000'000)});
  controller->ProcessOpenRequest(false);
  Playerctl({"next"});
  EXPECT_EQ(controller->SongPath(), dir.Path() / "single.mid") << "FF is for list songs only";
}

TEST_F(MediaPlayerServiceTest, PositionIsReadAndSetThroughTheTimeMetersSeek) {
  PlayList(2, 10);
  AdvanceMs(3'000);
  // playerctl adds the real time that passed while it asked
  EXPECT_NEAR(std::stod(Playerctl({"position"})), 3.0, 0.5);
  Playerctl({"position", "7"});
  EXPECT_EQ(PositionSeconds(), 7u);
  Playerctl({"position", "5-"});
  EXPECT_EQ(PositionSeconds(), 2u);
  Playerctl({"position", "30"});
  EXPECT_EQ(PositionSeconds(), 2u) << "a position past the end is ignored";
  Playerctl({"position", "30+"});
  EXPECT_EQ(controller->SongPath(), dir.Path() / "song1.mid") << "seeking past the end is the next song";
  Playerctl({"stop"});
  EXPECT_EQ(std::stod(Playerctl({"position"})), 0.0);
}

TEST_F(MediaPlayerServiceTest, VolumeIsTheVolumeSlider) {
  EXPECT_EQ(std::stod(Playerctl({"volume"})), 1.0);
  PlayList(1, 10);
  Playerctl({"volume", "0.5"});
  EXPECT_EQ(window.volume, 64);
  EXPECT_EQ(controller->Status().masterVolume, 64u);
  EXPECT_NEAR(std::stod(Playerctl({"volume"})), 64 / 127.0, 1e-6);
  Playerctl({"volume", "2"});
  EXPECT_EQ(window.volume, 127);
}

TEST_F(MediaPlayerServiceTest, ChangesAreToldAsTheyHappenWhoeverMadeThem) {
  SignalSpy spy(QDBusConnection::sessionBus());
  PlayList(2, 10);
  // the timer tells what the window did
  EXPECT_TRUE(ServeUntil([&] { return spy.changed.value("PlaybackStatus") == "Playing"; }));
  EXPECT_EQ(spy.changed.value("CanGoNext"), true);
  EXPECT_EQ(spy.changed.value("CanSeek"), true);

  FinishSong();  // the list moves on by itself
  EXPECT_TRUE(ServeUntil([&] {
    return qdbus_cast<QVariantMap>(spy.changed.value("Metadata")).value("xesam:title") == "song1.mid";
  }));

  Playerctl({"pause"});
  EXPECT_TRUE(ServeUntil([&] { return spy.changed.value("PlaybackStatus") == "Paused"; }));
  EXPECT_EQ(spy.changed.value("CanGoNext"), true);
  Playerctl({"volume", "0.25"});
  EXPECT_TRUE(ServeUntil([&] { return spy.changed.value("Volume").toDouble() == 32 / 127.0; }));
  EXPECT_TRUE(spy.seeked.empty()) << "play going on is no seek";

  // Seeks made in the window (the time meter, REWIND) are told as well as the desktop's own.
  Playerctl({"play"});
  Playerctl({"position", "3"});
  EXPECT_TRUE(ServeUntil([&] { return spy.seeked == std::vector<qlonglong>{3'000'000}; }));
  window.Operate([](PlayerController& player) { player.Execute(CommandId::Rewind); });
  EXPECT_TRUE(ServeUntil([&] { return spy.seeked == std::vector<qlonglong>{3'000'000, 0}; }));
}

TEST_F(MediaPlayerServiceTest, TheRootInterfaceNamesTheProgramAndRaisesAndQuitsTheWindow) {
  const auto get = [](const char* property) {
    return ToUtf8(RunProgramServing(QStringLiteral("dbus-send"),
                      {"--session", "--print-reply=literal", "--dest=" + QString::fromLatin1(kMprisServiceName),
                       QString::fromLatin1(kMprisObjectPath), "org.freedesktop.DBus.Properties.Get",
                       "string:org.mpris.MediaPlayer2", QStringLiteral("string:") + property}));
  };
  EXPECT_EQ(get("Identity"), "variant       Velvasto");
  EXPECT_EQ(get("DesktopEntry"), "variant       org.velvasto.Velvasto");
  EXPECT_NE(get("SupportedMimeTypes").find("audio/x-rcp"), std::string::npos);

  for (const char* method : {"Raise", "Quit"}) {
    RunProgramServing(QStringLiteral("dbus-send"), {"--session", "--print-reply", "--dest=" + QString::fromLatin1(kMprisServiceName),
                                      QString::fromLatin1(kMprisObjectPath),
                                      QStringLiteral("org.mpris.MediaPlayer2.") + method});
  }
  EXPECT_EQ(window.raised, 1);
  EXPECT_EQ(window.quit, 1);
}

// The player may be asking the user something in the middle of an operation: a command from
// the desktop then waits for the user like any other (it is not carried out).
TEST_F(MediaPlayerServiceTest, NoCommandRunsWhileADialogIsOpen) {
  PlayList(2, 10);
  QDialog dialog;
  QTimer::singleShot(0, &dialog, [&] {
    Playerctl({"pause"});
    Playerctl({"volume", "0.5"});
    EXPECT_EQ(app.playState, PlayState::Playing);
    EXPECT_EQ(window.volume, 127);
    EXPECT_EQ(Playerctl({"status"}), "Playing") << "the state is still told";
    dialog.reject();
  });
  dialog.exec();
  Playerctl({"pause"});
  EXPECT_EQ(app.playState, PlayState::Paused);
}

// A desktop without a session bus is no error: the player simply has no media controls.
TEST_F(MediaPlayerServiceTest, NoBusIsNoError) {
  CMediaPlayerService another(*controller, window);
  EXPECT_FALSE(another.Register(QDBusConnection::connectToBus(QStringLiteral("unix:path=/nonexistent/bus"),
                                                               QStringLiteral("velvasto-no-bus"))));
  EXPECT_TRUE(prompt.errors.empty() && window.errors.empty());
}

}  // namespace
}  // namespace velvasto::gui

#include "media_player_service_test.moc"
