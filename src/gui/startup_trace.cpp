#include "gui/startup_trace.h"

#include <QEvent>
#include <QWidget>
#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace velvasto::gui {

namespace {

// Forwards everything to the device it wraps; the first send is reported.
class WatchedDevice final : public MidiOutDevice {
 public:
  WatchedDevice(std::unique_ptr<MidiOutDevice> device, std::function<void()> onSend)
      : device_(std::move(device)), onSend_(std::move(onSend)) {}
  const std::string& Name() const override { return device_->Name(); }
  void Open() override { device_->Open(); }
  void Close() override { device_->Close(); }
  bool IsOpen() const override { return device_->IsOpen(); }
  void SendShort(std::uint32_t message, std::uint64_t timeUs) override {
    onSend_();
    device_->SendShort(message, timeUs);
  }
  void SendLong(LongMessage& message, std::uint64_t timeUs) override {
    onSend_();
    device_->SendLong(message, timeUs);
  }
  void Reset() override { device_->Reset(); }
  void ResetControllers() override { device_->ResetControllers(); }
  bool NeedsPacing() const override { return device_->NeedsPacing(); }
  void FollowSongClock(const std::optional<SongClock>& clock) noexcept override { device_->FollowSongClock(clock); }

 private:
  std::unique_ptr<MidiOutDevice> device_;
  std::function<void()> onSend_;
};

}  // namespace

class StartupTrace::WatchedCatalog final : public MidiDeviceCatalog {
 public:
  WatchedCatalog(MidiDeviceCatalog& devices, std::function<void()> onSend)
      : devices_(devices), onSend_(std::move(onSend)) {}
  std::vector<std::optional<std::string>> ListDevices() override { return devices_.ListDevices(); }
  std::unique_ptr<MidiOutDevice> MakeDevice(const DeviceEntry& entry) override {
    return std::make_unique<WatchedDevice>(devices_.MakeDevice(entry), onSend_);
  }
  std::unique_ptr<MidiOutDevice> MakeMapper() override {
    return std::make_unique<WatchedDevice>(devices_.MakeMapper(), onSend_);
  }

 private:
  MidiDeviceCatalog& devices_;
  std::function<void()> onSend_;
};

std::unique_ptr<StartupTrace> StartupTrace::FromEnvironment() {
  const char* file = std::getenv("VELVASTO_STARTUP_TRACE");
  if (file == nullptr || *file == '\0') return nullptr;
  return std::make_unique<StartupTrace>(file);
}

StartupTrace::StartupTrace(std::filesystem::path file) : file_(std::move(file)) {}

StartupTrace::~StartupTrace() = default;

MidiDeviceCatalog& StartupTrace::Watch(MidiDeviceCatalog& devices) {
  catalog_ = std::make_unique<WatchedCatalog>(devices, [this] {
    if (!firstMessageSeen_.exchange(true)) Mark(kFirstMessage);
  });
  return *catalog_;
}

void StartupTrace::WatchFirstPaint(QWidget& widget) { widget.installEventFilter(this); }

bool StartupTrace::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Paint && !windowShown_) {
    windowShown_ = true;
    watched->removeEventFilter(this);
    Mark(kWindowShown);
  }
  return false;
}

void StartupTrace::Mark(std::string_view event) {
  const auto now =
      std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::system_clock::now().time_since_epoch());
  const std::lock_guard lock(mutex_);
  if (std::FILE* out = std::fopen(file_.c_str(), "a")) {
    std::fprintf(out, "%.*s %lld\n", static_cast<int>(event.size()), event.data(), static_cast<long long>(now.count()));
    std::fclose(out);
  }
}

}  // namespace velvasto::gui
