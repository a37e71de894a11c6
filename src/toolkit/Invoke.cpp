#include "toolkit/Invoke.h"

#include <QObject>
#include <QVariant>

#include "platform/profile.h"

namespace toolkit {

namespace {
TErrorBox g_errorBox = nullptr;
const char* const kBeingDestroyed = "BeingDestroyed";
}  // namespace

void SetErrorBox(TErrorBox box) { g_errorBox = box; }

void Invoke(const std::function<void()>& handler) {
  // What the handler writes in bursts (the texts a screen finds missing) goes
  // to the files together when it ends.
  platform::ProfileBatch batch;
  if (!g_errorBox) {
    handler();
    batch.End();
    return;
  }
  try {
    handler();
  } catch (const std::exception& e) {
    g_errorBox(e);
  }
  try {
    batch.End();
  } catch (const std::exception& e) {
    g_errorBox(e);
  }
}

void Invoke(const QObject* owner, const std::function<void()>& handler) {
  if (handler && !BeingDestroyed(owner)) Invoke(handler);
}

void MarkBeingDestroyed(QObject* object) { object->setProperty(kBeingDestroyed, true); }

bool BeingDestroyed(const QObject* object) {
  for (const QObject* o = object; o; o = o->parent()) {
    if (o->property(kBeingDestroyed).toBool()) return true;
  }
  return false;
}

}  // namespace toolkit
