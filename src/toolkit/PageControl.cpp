#include "toolkit/PageControl.h"

#include "toolkit/Invoke.h"
#include "toolkit/Text.h"

namespace toolkit {

TTabSheet::TTabSheet(TPageControl* pageControl, const char* name)
    : TControl(pageControl, name), pageControl_(pageControl) {
  pageControl->addTab(this, QString());
}

int TTabSheet::PageIndex() const { return pageControl_->indexOf(this); }

std::string TTabSheet::Caption() const { return FromQ(pageControl_->tabText(PageIndex())); }

void TTabSheet::SetCaption(const std::string& caption) { pageControl_->setTabText(PageIndex(), ToQ(caption)); }

TPageControl::TPageControl(QWidget* parent, const char* name) : TControl(parent, name) {
  connect(this, &QTabWidget::currentChanged, this, [this](int) {
    Invoke(this, OnChange);
  });
}

TTabSheet* TPageControl::Page(int index) const { return qobject_cast<TTabSheet*>(widget(index)); }

TTabSheet* TPageControl::ActivePage() const { return Page(currentIndex()); }

void TPageControl::SetActivePage(TTabSheet* page) {
  if (page && page->PageControl() == this) setCurrentWidget(page);
}

void TPageControl::SetActivePageIndex(int index) {
  if (index >= 0 && index < count()) setCurrentIndex(index);
}

}  // namespace toolkit
