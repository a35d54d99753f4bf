#include "gui/child_view.h"

#include <QApplication>
#include <QFontDatabase>
#include <QPainter>
#include <QPointer>
#include <QSignalBlocker>
#include <utility>

#include "gui/monitor/meter_wnd.h"
#include "gui/panel_status.h"
#include "gui/qt_rect.h"
#include "gui/qt_text.h"
#include "gui/title_area.h"
#include "gui/view_fonts.h"

namespace velvasto::gui {

CChildView::CChildView(const ViewServices& services, QWidget* parent)
    : QWidget(parent),
      app_(services.app),
      bigFont_(BigFont()),
      smallFont_(SmallFont()),
      displayFont_(MeterMediumFont()),
      metrics_(MeasureLayoutMetrics(QFontDatabase::systemFont(QFontDatabase::FixedFont))),
      prompt_(*this),
      settingsWriteErrors_(prompt_),
      panel_(std::make_unique<MonitorPanel>(this, settingsWriteErrors_)),
      pump_([this] { Operate([](PlayerController& controller) { controller.ProcessNotifications(); }); }, this),
      transport_(MakeTransportWidgets(*this, settingsWriteErrors_)),
      songData_(*this) {
  controller_ = std::make_unique<PlayerController>(
      PlayerController::Parts{app_, services.devices, services.timing, *this, *panel_, prompt_},
      [this] { pump_.WakeFromAnyThread(); });
  WireTransport();
  connect(panel_.get(), &MonitorPanel::SeekRequested, this, [this](std::uint32_t seconds) {
    Operate([seconds](PlayerController& controller) { controller.Seek(seconds); });
  });
  LayOut();
  CommandStatesChanged();
}

// The controller goes first: it stops a loaded song while the view it reports to still exists.
// Then the windows that write their colours back, while the prompt that shows a failure exists.
CChildView::~CChildView() {
  controller_.reset();
  panel_.reset();
  delete transport_.slider;
}

void CChildView::WireTransport() {
  for (COrgButton* button : transport_.buttons) {
    connect(button, &QAbstractButton::clicked, this, [this, command = button->Command()] {
      Operate([command](PlayerController& controller) { controller.Execute(command); });
    });
  }
  connect(transport_.slider, &QAbstractSlider::valueChanged, this, [this](int position) {
    Operate([position](PlayerController& controller) { controller.SetVolume(CVolSlider::VolumeAt(position)); });
  });
}

void CChildView::Open() {
  Operate([](PlayerController& controller) { controller.Open(); });
}

void CChildView::AfterFirstPaint(std::function<void()> action) {
  if (painted_) {
    action();
  } else {
    afterFirstPaint_ = std::move(action);
  }
}

QSize CChildView::sizeHint() const { return {layout_.client.Width(), layout_.client.Height()}; }

void CChildView::SetWindowTitle(const std::string& title) { window()->setWindowTitle(ToQString(title)); }

void CChildView::RepaintTitleArea() { update(ToQRect(layout_.titleArea)); }

void CChildView::Repaint() {
  ShowPanelStatus();
  update();
}

void CChildView::LayOut() {
  const SettingsBlock& settings = app_.settings;
  layout_ =
      LayOutView({metrics_, MeasureTextWidths(smallFont_, displayFont_, settings.monitorMode, settings.monitorPort),
                  settings.monitorMode, settings.monitorPort});
  for (std::size_t i = 0; i < kTransportButtonCount; ++i)
    transport_.buttons[i]->setGeometry(ToQRect(layout_.buttons[i]));
  transport_.slider->setGeometry(ToQRect(layout_.slider));
  panel_->LayOut(layout_);
  ShowPanelStatus();
  update();
}

void CChildView::CommandStatesChanged() {
  for (COrgButton* button : transport_.buttons) button->setEnabled(Query(button->Command()).enabled);
  transport_.pause->SetPaused(Query(CommandId::Pause).checked);
  emit CommandStatesMayHaveChanged();
}

void CChildView::SetPlayLamp(bool lit) {
  // The lamp's timer may fail to start or stop; the player goes on without the blink.
  RunShowingErrors(prompt_, [&] { transport_.play->SetLamp(lit); });
}

void CChildView::ShowBusy(bool busy) {
  if (busy) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
  } else {
    QApplication::restoreOverrideCursor();
  }
}

void CChildView::ResetMetersForPlay() {
  panel_->ResetForPlay(controller_->Status().lengthSeconds);
  ShowPanelStatus();
}

void CChildView::ResetMetersForRepeat() { panel_->ResetForRepeat(controller_->Status().lengthSeconds); }

void CChildView::ClearMeters() { panel_->Clear(); }

void CChildView::ShowPanelStatus() { panel_->ShowStatus(PanelStatusOf(app_, controller_->SongInformation())); }

void CChildView::SetVolumeSlider(int volume) {
  const QSignalBlocker quiet(transport_.slider);
  transport_.slider->setValue(CVolSlider::PositionOf(volume));
}

void CChildView::ShowVolumeValue(int volume) { panel_->SetVolumeValue(volume); }

void CChildView::SetMapDisplay(int map) { panel_->SetMap(map); }

void CChildView::RefreshSongProperties(const SongInfo* info) { songData_.RefreshProperties(info); }
void CChildView::ShowSongProperties(const SongInfo* info) { songData_.ShowProperties(info); }
bool CChildView::OpenControlFileProgress(int kind, std::uint32_t total) { return songData_.OpenProgress(kind, total); }
void CChildView::SetControlFileProgress(std::uint32_t sent) { songData_.SetProgress(sent); }
void CChildView::CloseControlFileProgress() { songData_.CloseProgress(); }

// Never inside the player's operation that ended the song: the close runs once it has returned.
void CChildView::CloseMainWindow() {
  pump_.Post([frame = QPointer<QWidget>(window())] {
    if (frame) frame->close();
  });
}

void CChildView::paintEvent(QPaintEvent*) {
  PaintContents();
  painted_ = true;
  if (afterFirstPaint_) std::exchange(afterFirstPaint_, nullptr)();
}

void CChildView::PaintContents() {
  QPainter painter(this);
  painter.setPen(palette().color(QPalette::WindowText));
  if (const auto& info = controller_->SongInformation()) {
    const TitleAreaText text = DescribeSong(*info);
    const QRect area = ToQRect(layout_.titleArea);
    const QRect firstLine(area.left(), area.top(), area.width(), area.height() / 2);
    const QRect secondLine(area.left(), firstLine.bottom() + 1, area.width(), area.height() - firstLine.height());
    painter.setFont(bigFont_);
    const QFontMetrics metrics(bigFont_);
    painter.drawText(firstLine, Qt::AlignLeft | Qt::AlignVCenter,
                     metrics.elidedText(ToQString(text.title), Qt::ElideRight, firstLine.width()));
    painter.drawText(secondLine, Qt::AlignLeft | Qt::AlignVCenter,
                     metrics.elidedText(ToQString(text.details), Qt::ElideRight, secondLine.width()));
  }
  painter.setFont(smallFont_);
  const SettingsBlock& settings = app_.settings;
  for (std::size_t i = 0; i < kViewLabelCount; ++i) {
    const Placement& label = layout_.labels[i];
    if (!label.visible) continue;
    painter.drawText(ToQRect(label.rect), Qt::AlignLeft | Qt::AlignVCenter,
                     ToQString(LabelText(static_cast<ViewLabel>(i), settings.monitorMode, settings.monitorPort)));
  }
}

}  // namespace velvasto::gui
