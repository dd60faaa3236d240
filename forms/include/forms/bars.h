// Status bar (fixed-width text panes) and tool bar (buttons from an image
// list, disabled buttons, a drop-down arrow that raises event 1).
#pragma once

#include <QLabel>
#include <QToolBar>
#include <QToolButton>
#include <string>
#include <vector>

#include "forms/control.h"
#include "forms/control_lookup.h"
#include "forms/property_table.h"

namespace tavrin::forms {

class StatusBarControl : public TabledControl<StatusBarControl> {
    Q_OBJECT
  public:
    explicit StatusBarControl(const ControlInit& init);
    int32_t paneCount() const { return int32_t(panes_.size()); }
    // An index outside the pane list does nothing / gives the empty text.
    void setPaneText(int32_t pane, std::string_view gbkText);
    std::string paneText(int32_t pane) const;
    int32_t paneWidth(int32_t pane) const;
    void setPaneWidth(int32_t pane, int32_t width);
    // The width the pane's text needs in the bar's font (with the pane's frame).
    int32_t paneTextWidth(int32_t pane) const;
    static const PropertyTable<StatusBarControl>& properties();

  private:
    bool eventFilter(QObject* watched, QEvent* e) override;
    void layoutPanes();
    std::vector<QLabel*> panes_;
    std::vector<int32_t> widths_;
};

class ToolBarControl : public TabledControl<ToolBarControl> {
    Q_OBJECT
  public:
    explicit ToolBarControl(const ControlInit& init);
    int32_t buttonCount() const { return int32_t(buttons_.size()); }
    // Button indices count separators; a separator has no button (null).
    QToolButton* button(int32_t index) const;
    bool isButtonEnabled(int32_t index) const;
    void setButtonEnabled(int32_t index, bool enabled);
    bool isButtonChecked(int32_t index) const;
    void setButtonChecked(int32_t index, bool checked);
    QToolBar* bar() const { return bar_; }
    static const PropertyTable<ToolBarControl>& properties();

  private:
    QToolBar* bar_;
    std::vector<QToolButton*> buttons_;
};

}  // namespace tavrin::forms
