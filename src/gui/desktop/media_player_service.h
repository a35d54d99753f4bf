#pragma once
// CMediaPlayerService: the player on the session bus as org.mpris.MediaPlayer2.velvasto (the
// MPRIS 2 media-player interface), so that media keys and the desktop's media controls drive
// it. The root interface raises and quits the window; the Player interface maps onto the
// player's own commands and their enable rules (PLAY, PAUSE/RESTART, STOP, FF, REWIND, the time
// meter's seek, the volume slider). Changes are told with PropertiesChanged: the state is
// compared with what was last told after each call and on a short timer.
//
// Everything runs on the thread of the event loop the bus connection delivers calls on, the
// window's thread. A call that arrives while a modal dialog is open (the player may be in the
// middle of an operation that asks the user something) is not carried out.

#include <QDBusConnection>
#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QVariantMap>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>

#include "app/player_controller.h"
#include "gui/desktop/media_player_window.h"

namespace velvasto::gui {

inline constexpr char kMprisServiceName[] = "org.mpris.MediaPlayer2.velvasto";
inline constexpr char kMprisObjectPath[] = "/org/mpris/MediaPlayer2";

class CMediaPlayerService : public QObject {
  Q_OBJECT

 public:
  // The player's state is read from `controller`; its commands run through `window`.
  CMediaPlayerService(const PlayerController& controller, MediaPlayerWindow& window, QObject* parent = nullptr);
  ~CMediaPlayerService() override;

  // Offers the player on `connection`. False, and nothing else happens, when there is no bus or
  // the object cannot be exported; when another program holds the name, an instance name
  // ("….instance<process id>") is taken, as the interface allows.
  bool Register(QDBusConnection connection);
  // Tells the bus what changed since it was last told (also runs on the timer).
  void Update();

  // org.mpris.MediaPlayer2
  void Raise();
  void Quit();

  // org.mpris.MediaPlayer2.Player
  void Next();
  void Previous();
  void Pause();
  void PlayPause();
  void Stop();
  void Play();
  void Seek(qlonglong offsetUs);
  void SetPosition(const QString& trackId, qlonglong positionUs);
  void OpenUri(const QString& uri);
  QString PlaybackStatus() const;
  QVariantMap Metadata() const;
  double Volume() const;
  void SetVolume(double volume);
  qlonglong Position() const;
  bool CanGoNext() const;
  bool CanGoPrevious() const;
  bool CanPlay() const;
  bool CanPause() const;
  bool CanSeek() const;

 signals:
  void Seeked(qlonglong positionUs);

 private:
  // What the Player interface tells with PropertiesChanged.
  struct Told {
    QString playbackStatus;
    QVariantMap metadata;
    double volume = 0;
    bool canGoNext = false, canGoPrevious = false, canPlay = false, canPause = false, canSeek = false;
    bool operator==(const Told&) const = default;
  };
  Told Now() const;
  // The object path of the song now loaded; a new one for each song loaded.
  QString TrackId() const;
  // Runs `operation` through the window unless a modal dialog is open, then tells what changed.
  void Operate(const std::function<void(PlayerController&)>& operation);
  void Run(CommandId command);
  // Seeks to `positionUs` of the song proper and tells the new position.
  void SeekTo(qlonglong positionUs);

  // The play state now.
  PlayState State() const { return controller_.Status().playState; }

  const PlayerController& controller_;
  MediaPlayerWindow& window_;
  std::optional<QDBusConnection> connection_;
  QString serviceName_;
  QTimer poll_;
  std::optional<Told> told_;
  // The song the track id was made for, and the id's number (kept up to date by TrackId).
  mutable const void* trackSong_ = nullptr;
  mutable std::filesystem::path trackPath_;
  mutable std::uint64_t trackNumber_ = 0;
  // The position last seen, and when, to tell a jump from play going on.
  qlonglong lastPositionUs_ = 0;
  QElapsedTimer sinceLastPosition_;
};

}  // namespace velvasto::gui
