#pragma once
// The three error classes every failure the user hears about is thrown as. Each carries its
// numeric code and the ready-made text to show; a catcher never looks the code up again.

#include <cstdint>
#include <string>
#include <utility>

namespace velvasto {

// Application error codes; the text of code N is catalogue message N + 62001.
namespace errc {
inline constexpr std::int32_t kNoError = 0;
inline constexpr std::int32_t kOutOfMemory = 1;
inline constexpr std::int32_t kBadFileFormat = 2;
inline constexpr std::int32_t kSmfFormatUnsupported = 3;
inline constexpr std::int32_t kSmfTooManyTracks = 4;
inline constexpr std::int32_t kSmfTimeBaseUnsupported = 5;
inline constexpr std::int32_t kNotLoaded = 6;
inline constexpr std::int32_t kNoSuchTrack = 7;
inline constexpr std::int32_t kControlFileDamaged = 8;
inline constexpr std::int32_t kUnsupportedFileType = 9;
inline constexpr std::int32_t kAlreadyLoaded = 10;
inline constexpr std::int32_t kIniSaveFailed = 11;
inline constexpr std::int32_t kTimerStartFailed = 12;
inline constexpr std::int32_t kTimerEndFailed = 13;
inline constexpr std::int32_t kFontCreateFailed = 14;
inline constexpr std::int32_t kPortCountFailed = 15;
inline constexpr std::int32_t kSamePortSelected = 16;
inline constexpr std::int32_t kTimerPeriodRange = 17;
inline constexpr std::int32_t kListReadFailed = 18;
inline constexpr std::int32_t kListWriteFailed = 19;
inline constexpr std::int32_t kListFull = 20;
inline constexpr std::int32_t kListDeleteFailed = 21;
inline constexpr std::int32_t kSmfRunningStatus = 22;
inline constexpr std::int32_t kEventCreateFailed = 23;
inline constexpr std::int32_t kMutexCreateFailed = 24;
inline constexpr std::int32_t kThreadCreateFailed = 25;
inline constexpr std::int32_t kEventSetFailed = 26;
inline constexpr std::int32_t kEventResetFailed = 27;
inline constexpr std::int32_t kLockFailed = 28;
inline constexpr std::int32_t kUnlockFailed = 29;
inline constexpr std::int32_t kRcpDamaged = 30;
inline constexpr std::int32_t kCmdLineOrderTwice = 31;
inline constexpr std::int32_t kCmdLineRepeatTwice = 32;
inline constexpr std::int32_t kCmdLineTTwice = 33;
inline constexpr std::int32_t kCmdLineDropModeTwice = 34;
inline constexpr std::int32_t kCmdLineUnknown = 35;
inline constexpr std::int32_t kAssocSetFailed = 36;
inline constexpr std::int32_t kAssocRestoreFailed = 37;
inline constexpr std::int32_t kAssocActionKeyFailed = 38;
inline constexpr std::int32_t kAssocSavePreviousFailed = 39;
inline constexpr std::int32_t kAssocKeyDeleteFailed = 40;
inline constexpr std::int32_t kFolderPathFailed = 41;
inline constexpr std::int32_t kPathOperationFailed = 42;
inline constexpr std::int32_t kFolderCreateFailed = 43;
inline constexpr std::int32_t kShortcutCreateFailed = 44;
inline constexpr std::int32_t kListViewColumnsFailed = 45;
inline constexpr std::int32_t kListViewInsertFailed = 46;
inline constexpr std::int32_t kPatchbaySaveFailed = 47;
inline constexpr std::int32_t kListViewCursorGetFailed = 48;
inline constexpr std::int32_t kListViewDeleteFailed = 49;
inline constexpr std::int32_t kListViewCursorSetFailed = 50;
inline constexpr std::int32_t kListViewMoveFailed = 51;
inline constexpr std::int32_t kPortSetAddFailed = 52;
inline constexpr std::int32_t kPortSetDeleteFailed = 53;
inline constexpr std::int32_t kPortSetMoveFailed = 54;
inline constexpr std::int32_t kG36Damaged = 55;
inline constexpr std::int32_t kModelessDialogFailed = 56;
}  // namespace errc

// The program's own codes for failing output, timer and device calls (CMMSystemErrMessage);
// the text of code N (1001..1014) is catalogue message N + 62001.
namespace mmerr {
inline constexpr std::int32_t kNoError = 0;
inline constexpr std::int32_t kDeviceInfo = 1001;
inline constexpr std::int32_t kTimerCaps = 1002;
inline constexpr std::int32_t kOpen = 1003;
inline constexpr std::int32_t kTimerBeginPeriod = 1004;
inline constexpr std::int32_t kClose = 1005;
inline constexpr std::int32_t kPrepareHeader = 1006;
inline constexpr std::int32_t kShortMsg = 1007;
inline constexpr std::int32_t kLongMsg = 1008;
inline constexpr std::int32_t kLongMsgTimeout = 1009;
inline constexpr std::int32_t kUnprepareHeader = 1010;
inline constexpr std::int32_t kTimerEndPeriod = 1011;
inline constexpr std::int32_t kTimerStart = 1012;
inline constexpr std::int32_t kReset = 1013;
inline constexpr std::int32_t kTimerStop = 1014;
}  // namespace mmerr

// Error class numbers carried by the engine's error notification.
enum class ErrorClass : std::uint32_t { Application = 0, System = 1, Multimedia = 2 };

// An application error. Thrown by value, caught by reference; a handler for CErrMessage also
// catches the two subclasses.
class CErrMessage {
 public:
  // Code 0..56 takes message code + 62001, any other code message 62000.
  explicit CErrMessage(std::int32_t code);
  // A throw site that names its message explicitly.
  CErrMessage(std::int32_t code, int messageId);

  std::int32_t Code() const { return code_; }
  const std::string& Message() const { return message_; }

 protected:
  CErrMessage(std::int32_t code, std::string message) : code_(code), message_(std::move(message)) {}

 private:
  std::int32_t code_;
  std::string message_;
};

// An operating-system error: the code is the system's error number, the text the system's own.
class CSystemErrMessage : public CErrMessage {
 public:
  // Takes errno as it stands at construction.
  CSystemErrMessage();
  explicit CSystemErrMessage(int systemError);
};

// An error of the output, timer or device layer, by the program's code for the failing call:
// 0 takes message 63001, 1001..1014 take code + 62001, anything else 63000.
class CMMSystemErrMessage : public CErrMessage {
 public:
  explicit CMMSystemErrMessage(std::int32_t code);
};

// The catalogue text for application error `code` (the rule of CErrMessage).
std::string AppErrorText(std::int32_t code);
// The catalogue text for multimedia error `code` (the rule of CMMSystemErrMessage).
std::string MMErrorText(std::int32_t code);
// The text shown for anything that is not one of the three classes (message 62000).
std::string UndefinedErrorText();

}  // namespace velvasto
