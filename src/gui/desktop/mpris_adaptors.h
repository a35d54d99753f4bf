#pragma once
// The two interfaces of the media-player object on the bus, each a thin face of
// CMediaPlayerService: org.mpris.MediaPlayer2 and org.mpris.MediaPlayer2.Player.

#include <QDBusAbstractAdaptor>
#include <QDBusObjectPath>
#include <QStringList>
#include <QVariantMap>

#include "gui/desktop/media_player_service.h"

namespace velvasto::gui {

class CMprisRootAdaptor : public QDBusAbstractAdaptor {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2")
  Q_PROPERTY(bool CanQuit READ CanQuit)
  Q_PROPERTY(bool CanRaise READ CanRaise)
  Q_PROPERTY(bool HasTrackList READ HasTrackList)
  Q_PROPERTY(QString Identity READ Identity)
  Q_PROPERTY(QString DesktopEntry READ DesktopEntry)
  Q_PROPERTY(QStringList SupportedUriSchemes READ SupportedUriSchemes)
  Q_PROPERTY(QStringList SupportedMimeTypes READ SupportedMimeTypes)

 public:
  explicit CMprisRootAdaptor(CMediaPlayerService* service) : QDBusAbstractAdaptor(service), service_(service) {}

  bool CanQuit() const { return true; }
  bool CanRaise() const { return true; }
  bool HasTrackList() const { return false; }
  QString Identity() const;
  QString DesktopEntry() const;
  QStringList SupportedUriSchemes() const { return {QStringLiteral("file")}; }
  QStringList SupportedMimeTypes() const;

 public slots:
  void Raise() { service_->Raise(); }
  void Quit() { service_->Quit(); }

 private:
  CMediaPlayerService* service_;
};

class CMprisPlayerAdaptor : public QDBusAbstractAdaptor {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2.Player")
  Q_PROPERTY(QString PlaybackStatus READ PlaybackStatus)
  Q_PROPERTY(double Rate READ Rate WRITE SetRate)
  Q_PROPERTY(QVariantMap Metadata READ Metadata)
  Q_PROPERTY(double Volume READ Volume WRITE SetVolume)
  Q_PROPERTY(qlonglong Position READ Position)
  Q_PROPERTY(double MinimumRate READ Rate)
  Q_PROPERTY(double MaximumRate READ Rate)
  Q_PROPERTY(bool CanGoNext READ CanGoNext)
  Q_PROPERTY(bool CanGoPrevious READ CanGoPrevious)
  Q_PROPERTY(bool CanPlay READ CanPlay)
  Q_PROPERTY(bool CanPause READ CanPause)
  Q_PROPERTY(bool CanSeek READ CanSeek)
  Q_PROPERTY(bool CanControl READ CanControl)

 public:
  explicit CMprisPlayerAdaptor(CMediaPlayerService* service);

  QString PlaybackStatus() const { return service_->PlaybackStatus(); }
  // Songs play at their own speed only.
  double Rate() const { return 1.0; }
  void SetRate(double) {}
  QVariantMap Metadata() const { return service_->Metadata(); }
  double Volume() const { return service_->Volume(); }
  void SetVolume(double volume) { service_->SetVolume(volume); }
  qlonglong Position() const { return service_->Position(); }
  bool CanGoNext() const { return service_->CanGoNext(); }
  bool CanGoPrevious() const { return service_->CanGoPrevious(); }
  bool CanPlay() const { return service_->CanPlay(); }
  bool CanPause() const { return service_->CanPause(); }
  bool CanSeek() const { return service_->CanSeek(); }
  bool CanControl() const { return true; }

 public slots:
  void Next() { service_->Next(); }
  void Previous() { service_->Previous(); }
  void Pause() { service_->Pause(); }
  void PlayPause() { service_->PlayPause(); }
  void Stop() { service_->Stop(); }
  void Play() { service_->Play(); }
  void Seek(qlonglong Offset) { service_->Seek(Offset); }
  void SetPosition(const QDBusObjectPath& TrackId, qlonglong Position) {
    service_->SetPosition(TrackId.path(), Position);
  }
  void OpenUri(const QString& Uri) { service_->OpenUri(Uri); }

 signals:
  void Seeked(qlonglong Position);

 private:
  CMediaPlayerService* service_;
};

}  // namespace velvasto::gui
