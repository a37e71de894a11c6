#pragma once
// The base of the help components that take requests through a message
// window of their own: an object of the user-interface thread to which
// requests are posted, so they are handled from the message loop after the
// input that caused them. Each request reaches ProcessWindowMessage.

#include <QObject>
#include <cstdint>

#include "help/hxcomponent.h"

namespace help {

// A request: its number, two values and the result of handling it.
struct TMessage {
  uint32_t Msg = 0;
  int64_t WParam = 0;
  int64_t LParam = 0;
  int64_t Result = 0;
};

constexpr uint32_t WM_USER = 0x400;

class ThxBase;

// The message window: posted requests arrive here and go to the component.
class TMsgWindow : public QObject {
  Q_OBJECT
 public:
  explicit TMsgWindow(ThxBase* component) : component_(component) {}
  bool event(QEvent* event) override;

 private:
  ThxBase* component_;
};

class ThxBase : public TComponent {
 public:
  using TComponent::TComponent;
  ~ThxBase() override;
  std::string ClassName() const override { return "ThxBase"; }

  // Runs once the form holding the component has been read; a component made
  // in code without the form storage calls it itself. Outside the designer it
  // makes the message window: "HXBase component cannot create window handle."
  // when there is no message loop to make it in.
  void AfterLoad() override;

  // Null in the designer and before AfterLoad.
  TMsgWindow* MsgWindow() const { return msgWindow_; }
  // Queues a request for the message window; false without one.
  bool PostMessage(uint32_t Msg, int64_t WParam, int64_t LParam);

  // Every request of the message window; the base gives it the default result 0.
  virtual void ProcessWindowMessage(TMessage& Message);

 private:
  TMsgWindow* msgWindow_ = nullptr;
};

}  // namespace help
