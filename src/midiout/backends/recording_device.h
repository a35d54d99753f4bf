#pragma once
// An output that writes what it is sent, one line each, in the form of event_line.h, stamped
// with the song time the sender gave. Used by tests, and by the command line to record a song's
// output instead of playing it.

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "core/replacement_file.h"
#include "midiout/midi_out_device.h"
#include "song/stream_event.h"

namespace velvasto {

// Where recorded lines go. Both ports of a song may record into one sink; lines are written
// whole, in the order they are sent.
class RecordSink {
 public:
  // Writes to `out`, which the caller keeps alive for the sink's lifetime.
  explicit RecordSink(std::ostream& out);
  // Records into the new version of `file` (see ReplacementFile), which replaces the file only
  // at Commit: an older recording stays until then. Throws CSystemErrMessage when the new
  // version cannot be created.
  explicit RecordSink(const std::filesystem::path& file);
  RecordSink(const RecordSink&) = delete;
  RecordSink& operator=(const RecordSink&) = delete;

  // False for the line whose write fails (a full disk, a file-size limit): the recording is
  // then lost, later lines are dropped without a word, and Failure() tells why.
  bool WriteLine(std::string_view line);
  // The system's error number of the failed write; 0 while none failed.
  int Failure() const;
  // Whether any line has been written.
  bool Written() const;
  // Writes the recording out and, for a file, puts it in the file's place. Throws
  // CSystemErrMessage.
  void Commit();

 private:
  mutable std::mutex mutex_;
  std::unique_ptr<ReplacementFile> file_;
  std::ostream* out_ = nullptr;
  int failure_ = 0;
  bool written_ = false;
};

class RecordingDevice final : public MidiOutDevice {
 public:
  // `port` is the letter written on each line.
  RecordingDevice(std::string name, PortId port, std::shared_ptr<RecordSink> sink);
  ~RecordingDevice() override;

  const std::string& Name() const override { return name_; }
  void Open() override;
  void Close() override;
  bool IsOpen() const override { return open_.load(std::memory_order_acquire); }
  // Sends to a closed recorder fail as they would on a closed device, and so does the send whose
  // line cannot be written (its sink tells why).
  void SendShort(std::uint32_t message, std::uint64_t timeUs) override;
  void SendLong(LongMessage& message, std::uint64_t timeUs) override;
  // Completes every long message still in flight. Neither reset is a message: the recording
  // shows neither.
  void Reset() override;
  void ResetControllers() override {}
  // A recorder takes any burst.
  bool NeedsPacing() const override { return false; }

  // By default a long message is done as soon as it is recorded. When held, it stays in flight
  // (its `done` unset) until CompleteLongMessages or Reset, like a slow device.
  void HoldLongMessages(bool hold);
  void CompleteLongMessages();
  int ResetCount() const;

 private:
  std::string name_;
  PortId port_;
  std::shared_ptr<RecordSink> sink_;
  // Read by the sending thread, set by the owner's.
  std::atomic<bool> open_{false};
  mutable std::mutex mutex_;
  bool hold_ = false;
  std::vector<LongMessage*> inFlight_;
  int resetCount_ = 0;
};

}  // namespace velvasto
