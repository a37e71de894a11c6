#pragma once
// A page control: tabs along the top, one page shown at a time. Pages are
// made with the control as their parent and take their place in the order
// they are made; the first one made is active. Controls on a page are placed
// within the page. The active page stays as the user left it.

#include <QTabWidget>
#include <string>

#include "toolkit/Controls.h"

namespace toolkit {

class TPageControl;

// One page; its caption is the text of its tab.
class TTabSheet : public TControl<QWidget> {
  Q_OBJECT
 public:
  TTabSheet(TPageControl* pageControl, const char* name);
  std::string Caption() const;
  void SetCaption(const std::string& caption);
  TPageControl* PageControl() const { return pageControl_; }
  int PageIndex() const;

 private:
  TPageControl* pageControl_;
};

class TPageControl : public TControl<QTabWidget> {
  Q_OBJECT
 public:
  TPageControl(QWidget* parent, const char* name);
  int PageCount() const { return count(); }
  TTabSheet* Page(int index) const;
  TTabSheet* ActivePage() const;
  void SetActivePage(TTabSheet* page);
  int ActivePageIndex() const { return currentIndex(); }
  void SetActivePageIndex(int index);
  // Runs when another page becomes active, by the user or the program.
  std::function<void()> OnChange;
};

}  // namespace toolkit
