#include "midiout/backends/audio_output.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "core/errors.h"
#include "midiout/backends/diagnostics.h"
#include "midiout/backends/jack_client.h"
#include "midiout/device_error.h"

namespace velvasto {
namespace {

// Drivers that reach a sound server: tried only while it runs (PipeWire through its PulseAudio
// and JACK front ends).
constexpr std::string_view kPulseDriver = "pulseaudio";
constexpr std::string_view kJackDriver = "jack";
constexpr std::string_view kServerDrivers[] = {kPulseDriver, kJackDriver, "pipewire"};
constexpr const char* kJackClientName = "Velvasto Synth";
// Drivers that are no sound output of their own.
constexpr std::string_view kSkippedDrivers[] = {"sdl2", "sdl3", "portaudio", "file"};

// The value of an environment variable, empty when it is not set.
std::string_view Environment(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr ? std::string_view() : std::string_view(value);
}

bool SocketTakesConnection(const std::filesystem::path& path) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  const std::string& text = path.native();
  if (text.size() >= sizeof address.sun_path) return false;
  std::memcpy(address.sun_path, text.c_str(), text.size() + 1);
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  const bool connected = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
  ::close(fd);
  return connected;
}

bool PulseServerRuns() {
  if (!Environment("PULSE_SERVER").empty()) return true;
  std::filesystem::path runtime(Environment("PULSE_RUNTIME_PATH"));
  if (runtime.empty() && !Environment("XDG_RUNTIME_DIR").empty()) {
    runtime = std::filesystem::path(Environment("XDG_RUNTIME_DIR")) / "pulse";
  }
  return (!runtime.empty() && SocketTakesConnection(runtime / "native")) ||
         SocketTakesConnection("/run/pulse/native");
}

extern "C" void AddOffered(void* data, const char*, const char* option) {
  static_cast<std::vector<std::string>*>(data)->emplace_back(option);
}

std::vector<std::string> OfferedDrivers(fluid_settings_t* settings) {
  std::vector<std::string> offered;
  fluid_settings_foreach_option(settings, "audio.driver", &offered, AddOffered);
  return offered;
}

std::string CurrentDriver(fluid_settings_t* settings) {
  char* value = nullptr;
  if (fluid_settings_dupstr(settings, "audio.driver", &value) != FLUID_OK || value == nullptr) return {};
  std::string driver(value);
  fluid_free(value);
  return driver;
}

}  // namespace

RunningAudioServers FindRunningAudioServers() { return {.pulse = PulseServerRuns(), .jack = JackServerRuns()}; }

std::vector<std::string> AudioDriverOrder(std::span<const std::string> offered, std::string_view fluidDefault,
                                          const RunningAudioServers& running) {
  const auto isOffered = [&](std::string_view name) { return std::ranges::find(offered, name) != offered.end(); };
  const auto listed = [](std::span<const std::string_view> names, std::string_view name) {
    return std::ranges::find(names, name) != names.end();
  };
  std::vector<std::string> order;
  const auto add = [&](std::string_view name) {
    if (isOffered(name) && std::ranges::find(order, name) == order.end()) order.emplace_back(name);
  };
  if (running.pulse) add(kPulseDriver);
  if (running.jack) add(kJackDriver);
  const auto usable = [&](std::string_view name) { return !listed(kServerDrivers, name) && !listed(kSkippedDrivers, name); };
  if (usable(fluidDefault)) add(fluidDefault);
  for (const std::string& name : offered) {
    if (usable(name)) add(name);
  }
  return order;
}

AudioDriver StartAudioDriver(fluid_settings_t* settings, fluid_synth_t* synth, const std::string& requested) {
  std::vector<std::string> order;
  if (requested.empty()) {
    order = AudioDriverOrder(OfferedDrivers(settings), CurrentDriver(settings), FindRunningAudioServers());
  } else {
    order = {requested};
  }
  fluid_settings_setint(settings, "audio.jack.autoconnect", 1);
  fluid_settings_setstr(settings, "audio.jack.id", kJackClientName);
  std::string answers;
  for (const std::string& name : order) {
    FluidLogCollector log;
    if (fluid_settings_setstr(settings, "audio.driver", name.c_str()) == FLUID_OK) {
      AudioDriver driver(new_fluid_audio_driver(settings, synth));
      if (driver) return driver;
    }
    answers += answers.empty() ? "" : "; ";
    answers += name + ": " + (log.Text().empty() ? "did not start" : log.Text());
  }
  std::string detail = "no audio output could be started";
  if (!answers.empty()) detail += " (" + answers + ")";
  throw CNoAudioOutputErrMessage(mmerr::kOpen, detail);
}

}  // namespace velvasto
