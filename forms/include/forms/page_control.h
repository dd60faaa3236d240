// The page control: a tab bar over a page area. Each page owns the controls
// its child list names; only the current page's controls are shown.
#pragma once

#include <QFrame>
#include <QTabBar>
#include <string>
#include <vector>

#include "forms/control.h"
#include "forms/control_lookup.h"
#include "forms/property_table.h"

namespace tavrin::forms {

class PageControl : public TabledControl<PageControl> {
    Q_OBJECT
  public:
    explicit PageControl(const ControlInit& init);

    QWidget* pageArea() const { return area_; }
    QWidget* childContainer() override { return area_; }
    int32_t pageCount() const { return tabs_->count(); }
    int32_t current() const { return tabs_->currentIndex(); }
    // Selects page p: hides the other pages' controls, shows this page's
    // controls whose visible flag is set, and focuses the first of them in
    // tab order. Event 0 is raised only when the user changes the page.
    void setCurrent(int32_t page);
    // The page of a child control, or -1.
    int32_t pageOf(uint32_t controlId) const;
    std::string pageTitle(int32_t page) const;  // GBK; empty outside the pages
    void setPageTitle(int32_t page, const std::string& gbk);
    // Adds a page at the end (the pages of years are added at run time).
    int32_t addPage(const std::string& gbkTitle);
    void removePage(int32_t page);
    QTabBar* tabBar() const { return tabs_; }

    static const PropertyTable<PageControl>& properties();
    void windowCreated() override;

  private:
    void showPage(int32_t page, bool focus);
    void layoutArea();
    bool eventFilter(QObject* watched, QEvent* e) override;

    QTabBar* tabs_;
    QFrame* area_;
    std::vector<std::vector<uint32_t>> pages_;
    bool programmatic_ = false;
};

}  // namespace tavrin::forms
