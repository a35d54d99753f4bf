#pragma once
// The transport buttons that have no state of their own: STOP, REWIND and FF.

#include "gui/monitor/org_button.h"

namespace velvasto::gui {

class CStopButton final : public COrgButton {
  Q_OBJECT

 public:
  explicit CStopButton(QWidget* parent) : COrgButton(CommandId::Stop, parent) {}
};

class CRewButton final : public COrgButton {
  Q_OBJECT

 public:
  explicit CRewButton(QWidget* parent) : COrgButton(CommandId::Rewind, parent) {}
};

class CFFButton final : public COrgButton {
  Q_OBJECT

 public:
  explicit CFFButton(QWidget* parent) : COrgButton(CommandId::FastForward, parent) {}
};

}  // namespace velvasto::gui
