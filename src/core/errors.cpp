#include "core/errors.h"

#include <cerrno>
#include <cstring>

#include "core/catalogue.h"

namespace velvasto {

namespace {

std::string SystemErrorText(int systemError) {
  char buffer[256] = {};
  // GNU strerror_r returns the text, which may or may not be the buffer.
  return std::string(strerror_r(systemError, buffer, sizeof buffer));
}

}  // namespace

std::string AppErrorText(std::int32_t code) {
  const int id = (code >= errc::kNoError && code <= errc::kModelessDialogFailed) ? code + kMsgFirstAppError
                                                                                  : kMsgUndefinedError;
  return std::string(CatalogueText(id));
}

std::string MMErrorText(std::int32_t code) {
  int id = kMsgUndefinedMMError;
  if (code == mmerr::kNoError) {
    id = kMsgNoMMError;
  } else if (code >= mmerr::kDeviceInfo && code <= mmerr::kTimerStop) {
    id = code + kMsgFirstAppError;
  }
  return std::string(CatalogueText(id));
}

std::string UndefinedErrorText() { return std::string(CatalogueText(kMsgUndefinedError)); }

CErrMessage::CErrMessage(std::int32_t code) : code_(code), message_(AppErrorText(code)) {}

CErrMessage::CErrMessage(std::int32_t code, int messageId)
    : code_(code), message_(CatalogueText(messageId)) {}

CSystemErrMessage::CSystemErrMessage() : CSystemErrMessage(errno) {}

CSystemErrMessage::CSystemErrMessage(int systemError)
    : CErrMessage(systemError, SystemErrorText(systemError)) {}

CMMSystemErrMessage::CMMSystemErrMessage(std::int32_t code) : CErrMessage(code, MMErrorText(code)) {}

}  // namespace velvasto
