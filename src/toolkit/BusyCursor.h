#pragma once
// The busy cursor over the whole program while long work runs, back to what
// it was when the work ends, however it ends.

#include <QApplication>
#include <QCursor>

namespace toolkit {

class TBusyCursor {
 public:
  TBusyCursor() { QApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }
  ~TBusyCursor() { QApplication::restoreOverrideCursor(); }
  TBusyCursor(const TBusyCursor&) = delete;
  TBusyCursor& operator=(const TBusyCursor&) = delete;
};

}  // namespace toolkit
