#include "gui/desktop/media_player_service.h"

#include <QApplication>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QUrl>
#include <algorithm>
#include <cmath>
#include <span>

#include "gui/desktop/mpris_adaptors.h"
#include "gui/qt_text.h"

namespace velvasto::gui {
namespace {

constexpr char kPlayerInterface[] = "org.mpris.MediaPlayer2.Player";
constexpr char kNoTrack[] = "/org/mpris/MediaPlayer2/TrackList/NoTrack";
constexpr int kPollMs = 250;
constexpr qlonglong kUsPerSecond = 1'000'000;

}  // namespace

CMediaPlayerService::CMediaPlayerService(const PlayerController& controller, MediaPlayerWindow& window,
                                         QObject* parent)
    : QObject(parent), controller_(controller), window_(window) {
  new CMprisRootAdaptor(this);
  new CMprisPlayerAdaptor(this);
  poll_.setInterval(kPollMs);
  connect(&poll_, &QTimer::timeout, this, &CMediaPlayerService::Update);
}

CMediaPlayerService::~CMediaPlayerService() {
  if (!connection_) return;
  connection_->unregisterService(serviceName_);
  connection_->unregisterObject(QString::fromLatin1(kMprisObjectPath));
}

bool CMediaPlayerService::Register(QDBusConnection connection) {
  if (!connection.isConnected()) return false;
  if (!connection.registerObject(QString::fromLatin1(kMprisObjectPath), this)) return false;
  serviceName_ = QString::fromLatin1(kMprisServiceName);
  if (!connection.registerService(serviceName_)) {
    serviceName_ += QStringLiteral(".instance%1").arg(QApplication::applicationPid());
    if (!connection.registerService(serviceName_)) {
      connection.unregisterObject(QString::fromLatin1(kMprisObjectPath));
      return false;
    }
  }
  connection_ = connection;
  told_ = Now();
  lastPositionUs_ = Position();
  sinceLastPosition_.start();
  poll_.start();
  return true;
}

void CMediaPlayerService::Operate(const std::function<void(PlayerController&)>& operation) {
  if (QApplication::activeModalWidget() != nullptr) return;
  window_.Operate(operation);
  Update();
}

void CMediaPlayerService::Run(CommandId command) {
  Operate([command](PlayerController& controller) { controller.Execute(command); });
}

void CMediaPlayerService::Raise() { window_.Raise(); }

void CMediaPlayerService::Quit() {
  if (QApplication::activeModalWidget() == nullptr) window_.Quit();
}

void CMediaPlayerService::Next() { Run(CommandId::FastForward); }

void CMediaPlayerService::Previous() { Run(CommandId::Rewind); }

void CMediaPlayerService::Pause() {
  if (State() == PlayState::Playing) Run(CommandId::Pause);
}

void CMediaPlayerService::PlayPause() { Run(State() == PlayState::Stopped ? CommandId::Play : CommandId::Pause); }

void CMediaPlayerService::Stop() { Run(CommandId::Stop); }

void CMediaPlayerService::Play() {
  if (State() == PlayState::Paused) Run(CommandId::Pause);
  if (State() == PlayState::Stopped) Run(CommandId::Play);
}

void CMediaPlayerService::Seek(qlonglong offsetUs) {
  if (!CanSeek()) return;
  const qlonglong target = std::max<qlonglong>(0, Position() + offsetUs);
  const auto& info = controller_.SongInformation();
  // Past the end of the song is the next one, as the interface says.
  if (info && target > static_cast<qlonglong>(info->playTimeUs)) return Next();
  SeekTo(target);
}

void CMediaPlayerService::SetPosition(const QString& trackId, qlonglong positionUs) {
  const auto& info = controller_.SongInformation();
  if (!CanSeek() || trackId != TrackId() || positionUs < 0 || !info ||
      positionUs > static_cast<qlonglong>(info->playTimeUs)) {
    return;
  }
  SeekTo(positionUs);
}

void CMediaPlayerService::SeekTo(qlonglong positionUs) {
  const auto seconds = static_cast<std::uint32_t>(positionUs / kUsPerSecond);
  // Where the seek goes is no jump for Update to tell: this one is told here.
  lastPositionUs_ = seconds * kUsPerSecond;
  sinceLastPosition_.restart();
  Operate([seconds](PlayerController& controller) { controller.Seek(seconds); });
  emit Seeked(Position());
}

void CMediaPlayerService::OpenUri(const QString& uri) {
  const QUrl url(uri);
  if (!url.isLocalFile()) return;
  const std::filesystem::path path = QStringToPath(url.toLocalFile());
  Operate([&path](PlayerController& controller) { controller.DropFiles(std::span<const std::filesystem::path>(&path, 1)); });
}

QString CMediaPlayerService::PlaybackStatus() const {
  switch (State()) {
    case PlayState::Playing:
      return QStringLiteral("Playing");
    case PlayState::Paused:
      return QStringLiteral("Paused");
    case PlayState::Stopped:
      break;
  }
  return QStringLiteral("Stopped");
}

QString CMediaPlayerService::TrackId() const {
  const CMIDIStream* song = controller_.Song();
  if (song == nullptr) return QString::fromLatin1(kNoTrack);
  if (song != trackSong_ || controller_.SongPath() != trackPath_) {
    trackSong_ = song;
    trackPath_ = controller_.SongPath();
    ++trackNumber_;
  }
  return QStringLiteral("/org/velvasto/Velvasto/Track/%1").arg(trackNumber_);
}

QVariantMap CMediaPlayerService::Metadata() const {
  QVariantMap metadata{{QStringLiteral("mpris:trackid"), QVariant::fromValue(QDBusObjectPath(TrackId()))}};
  const auto& info = controller_.SongInformation();
  if (controller_.Song() == nullptr || !info) return metadata;
  const std::filesystem::path path = controller_.SongPath();
  metadata.insert(QStringLiteral("mpris:length"), static_cast<qlonglong>(info->playTimeUs));
  metadata.insert(QStringLiteral("xesam:title"),
                  info->title.empty() ? PathToQString(path.filename()) : ToQString(info->title));
  metadata.insert(QStringLiteral("xesam:url"), QUrl::fromLocalFile(PathToQString(path)).toString(QUrl::FullyEncoded));
  return metadata;
}

double CMediaPlayerService::Volume() const { return window_.Volume() / 127.0; }

void CMediaPlayerService::SetVolume(double volume) {
  if (std::isnan(volume)) return;
  if (QApplication::activeModalWidget() != nullptr) return;
  window_.SetVolume(static_cast<int>(std::lround(std::clamp(volume, 0.0, 1.0) * 127)));
  Update();
}

qlonglong CMediaPlayerService::Position() const {
  return static_cast<qlonglong>(controller_.Status().positionSeconds) * kUsPerSecond;
}

bool CMediaPlayerService::CanGoNext() const { return controller_.Query(CommandId::FastForward).enabled; }

bool CMediaPlayerService::CanGoPrevious() const { return controller_.Query(CommandId::Rewind).enabled; }

bool CMediaPlayerService::CanPlay() const {
  return State() != PlayState::Stopped || controller_.Query(CommandId::Play).enabled;
}

bool CMediaPlayerService::CanPause() const { return controller_.Query(CommandId::Pause).enabled; }

bool CMediaPlayerService::CanSeek() const { return State() != PlayState::Stopped; }

CMediaPlayerService::Told CMediaPlayerService::Now() const {
  return {PlaybackStatus(), Metadata(), Volume(), CanGoNext(), CanGoPrevious(), CanPlay(), CanPause(), CanSeek()};
}

void CMediaPlayerService::Update() {
  if (!connection_) return;
  const Told now = Now();

  // A jump of the position that play alone does not make (the time meter's seek, REWIND).
  const qlonglong position = Position();
  const qlonglong played = sinceLastPosition_.restart() * 1000;
  const bool sameTrack = now.metadata.value(QStringLiteral("mpris:trackid")) ==
                         told_->metadata.value(QStringLiteral("mpris:trackid"));
  if (sameTrack && (position < lastPositionUs_ || position > lastPositionUs_ + played + 2 * kUsPerSecond)) {
    emit Seeked(position);
  }
  lastPositionUs_ = position;

  QVariantMap changed;
  const auto tell = [&](const char* name, const auto& before, const auto& after) {
    if (before != after) changed.insert(QString::fromLatin1(name), QVariant::fromValue(after));
  };
  tell("PlaybackStatus", told_->playbackStatus, now.playbackStatus);
  tell("Metadata", told_->metadata, now.metadata);
  tell("Volume", told_->volume, now.volume);
  tell("CanGoNext", told_->canGoNext, now.canGoNext);
  tell("CanGoPrevious", told_->canGoPrevious, now.canGoPrevious);
  tell("CanPlay", told_->canPlay, now.canPlay);
  tell("CanPause", told_->canPause, now.canPause);
  tell("CanSeek", told_->canSeek, now.canSeek);
  told_ = now;
  if (changed.isEmpty()) return;

  QDBusMessage signal = QDBusMessage::createSignal(QString::fromLatin1(kMprisObjectPath),
                                                   QStringLiteral("org.freedesktop.DBus.Properties"),
                                                   QStringLiteral("PropertiesChanged"));
  signal << QString::fromLatin1(kPlayerInterface) << changed << QStringList();
  connection_->send(signal);
}

}  // namespace velvasto::gui
