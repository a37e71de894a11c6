#include "help/whatsthis/hxbase.h"

#include <QCoreApplication>
#include <QEvent>

#include "toolkit/Invoke.h"

namespace help {

namespace {
const QEvent::Type kPosted = static_cast<QEvent::Type>(QEvent::registerEventType());

class TPostedMessage : public QEvent {
 public:
  explicit TPostedMessage(const TMessage& m) : QEvent(kPosted), message(m) {}
  TMessage message;
};
}  // namespace

bool TMsgWindow::event(QEvent* event) {
  if (event->type() != kPosted) return QObject::event(event);
  TMessage& message = static_cast<TPostedMessage*>(event)->message;
  // A failure here is the message loop's, shown in the standard error box.
  toolkit::Invoke([&] { component_->ProcessWindowMessage(message); });
  return true;
}

ThxBase::~ThxBase() { delete msgWindow_; }

void ThxBase::AfterLoad() {
  TComponent::AfterLoad();
  if (Designing() || msgWindow_) return;
  if (!QCoreApplication::instance()) throw platform::Exception("HXBase component cannot create window handle.");
  msgWindow_ = new TMsgWindow(this);
}

bool ThxBase::PostMessage(uint32_t Msg, int64_t WParam, int64_t LParam) {
  if (!msgWindow_) return false;
  TMessage m;
  m.Msg = Msg;
  m.WParam = WParam;
  m.LParam = LParam;
  QCoreApplication::postEvent(msgWindow_, new TPostedMessage(m));
  return true;
}

void ThxBase::ProcessWindowMessage(TMessage& Message) { Message.Result = 0; }

}  // namespace help
