// Status bar and tool bar.
#include "forms/bars.h"

#include <QEvent>
#include <QFrame>
#include <QMenu>
#include <QMouseEvent>
#include <QStyle>
#include <QStyleOptionToolButton>
#include <functional>

#include "forms/properties.h"
#include "forms/property_table.h"
#include "forms/template_format.h"
#include "internal/picture.h"
#include "runtime/gbk.h"

namespace tavrin::forms {

namespace {

// A tool button whose arrow part reports a press instead of opening a menu of its own.
class DropDownButton : public QToolButton {
  public:
    DropDownButton(QWidget* parent, std::function<void()> arrow)
        : QToolButton(parent), arrow_(std::move(arrow)) {
        setPopupMode(QToolButton::MenuButtonPopup);
        setMenu(new QMenu(this));  // never shown; it makes the style draw the arrow
    }

  protected:
    void mousePressEvent(QMouseEvent* e) override {
        QStyleOptionToolButton option;
        initStyleOption(&option);
        if (e->button() == Qt::LeftButton &&
            style()->hitTestComplexControl(QStyle::CC_ToolButton, &option, e->position().toPoint(),
                                           this) == QStyle::SC_ToolButtonMenu) {
            e->accept();
            arrow_();
            return;
        }
        QToolButton::mousePressEvent(e);
    }

  private:
    std::function<void()> arrow_;
};

}  // namespace

StatusBarControl::StatusBarControl(const ControlInit& init) : TabledControl(init) {
    auto* bar = new QFrame(init.parent);
    bar->setFrameShape(QFrame::NoFrame);
    bar->setAutoFillBackground(true);
    const TypeData& data = init.item->typeData;
    if (const std::string* font = data.raw(Tag::kFont)) bar->setFont(FontFromRecord(*font));
    for (const PaneEntry& p : data.panes()) {
        auto* label = new QLabel(GbkToQString(p.text), bar);
        label->setFrameShape(QFrame::Panel);
        label->setFrameShadow(QFrame::Sunken);
        label->setContentsMargins(2, 0, 2, 0);
        panes_.push_back(label);
        widths_.push_back(std::max(0, p.width));
    }
    setWidget(bar);
    bar->installEventFilter(this);
    // A status bar keeps to the bottom edge of its parent, as the platform's does.
    if (init.parent) init.parent->installEventFilter(this);
    layoutPanes();
}

bool StatusBarControl::eventFilter(QObject* watched, QEvent* e) {
    QWidget* bar = widget();
    if (watched == bar && e->type() == QEvent::Resize) layoutPanes();
    if (bar && watched == bar->parentWidget() && e->type() == QEvent::Resize) {
        const int top = bar->parentWidget()->height() - bar->height();
        if (top >= 0 && top != bar->y()) bar->move(bar->x(), top);
        bar->raise();
    }
    return false;
}

void StatusBarControl::layoutPanes() {
    QWidget* bar = widget();
    int x = 0;
    for (size_t i = 0; i < panes_.size(); ++i) {
        // Panes keep their widths; the last one with width 0 takes what is left.
        int w = widths_[i];
        if (w == 0 && i + 1 == panes_.size()) w = std::max(0, bar->width() - x);
        panes_[i]->setGeometry(x, 0, w, bar->height());
        panes_[i]->setVisible(w > 0);
        x += w;
    }
}

void StatusBarControl::setPaneText(int32_t pane, std::string_view gbkText) {
    if (pane < 0 || pane >= paneCount()) return;
    panes_[size_t(pane)]->setText(GbkToQString(gbkText));
}

std::string StatusBarControl::paneText(int32_t pane) const {
    if (pane < 0 || pane >= paneCount()) return {};
    return QStringToGbk(panes_[size_t(pane)]->text());
}

int32_t StatusBarControl::paneWidth(int32_t pane) const {
    return pane >= 0 && pane < paneCount() ? widths_[size_t(pane)] : 0;
}

int32_t StatusBarControl::paneTextWidth(int32_t pane) const {
    if (pane < 0 || pane >= paneCount()) return 0;
    const QLabel* label = panes_[size_t(pane)];
    return label->fontMetrics().horizontalAdvance(label->text()) + 2 * label->frameWidth() + 6;
}

void StatusBarControl::setPaneWidth(int32_t pane, int32_t width) {
    if (pane < 0 || pane >= paneCount()) return;
    widths_[size_t(pane)] = std::max(0, width);
    layoutPanes();
}

const PropertyTable<StatusBarControl>& StatusBarControl::properties() {
    using S = StatusBarControl;
    using namespace DataKind;
    static const PropertyTable<S> table{
        {StatusProp::kPaneCount, kInt, [](S& c) { return PropertyData::Int(c.paneCount()); },
         nullptr},
        {StatusProp::kFont, kFont, [](S& c) { return FontData(c.widget()->font()); },
         [](S& c, const PropertyData& in) { c.widget()->setFont(FontFromRecord(in.bytes)); }},
    };
    return table;
}

ToolBarControl::ToolBarControl(const ControlInit& init) : TabledControl(init) {
    bar_ = new QToolBar(init.parent);
    bar_->setMovable(false);
    bar_->setFloatable(false);
    bar_->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    const TypeData& data = init.item->typeData;
    std::vector<QPixmap> images;
    if (auto list = data.imageList()) {
        images = SplitImageList(*list);
        bar_->setIconSize(QSize(list->cellWidth, list->cellHeight));
    }
    const std::vector<ToolButtonEntry> entries = data.buttons();
    for (size_t i = 0; i < entries.size(); ++i) {
        const ToolButtonEntry& e = entries[i];
        if (e.style & kButtonSeparator) {
            bar_->addSeparator();
            buttons_.push_back(nullptr);
            continue;
        }
        const int32_t index = int32_t(i);
        QToolButton* b =
            (e.style & kButtonDropDown)
                ? new DropDownButton(bar_,
                                     [this, index] { raise(ToolBarEvent::kArrowClicked, {index}); })
                : new QToolButton(bar_);
        b->setText(GbkToQString(e.text));
        b->setToolTip(GbkToQString(e.tip));
        b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        b->setAutoRaise(true);
        if (e.image >= 0 && size_t(e.image) < images.size())
            b->setIcon(QIcon(images[size_t(e.image)]));
        b->setEnabled(!(e.style & kButtonDisabled));
        b->setCheckable(e.style & kButtonCheck);
        connect(b, &QToolButton::clicked, this,
                [this, index] { raise(ToolBarEvent::kButtonClicked, {index}); });
        bar_->addWidget(b);
        buttons_.push_back(b);
    }
    setWidget(bar_);
}

QToolButton* ToolBarControl::button(int32_t index) const {
    return index >= 0 && index < buttonCount() ? buttons_[size_t(index)] : nullptr;
}

bool ToolBarControl::isButtonEnabled(int32_t index) const {
    QToolButton* b = button(index);
    return b && b->isEnabled();
}

void ToolBarControl::setButtonEnabled(int32_t index, bool enabled) {
    if (QToolButton* b = button(index)) b->setEnabled(enabled);
}

bool ToolBarControl::isButtonChecked(int32_t index) const {
    QToolButton* b = button(index);
    return b && b->isChecked();
}

void ToolBarControl::setButtonChecked(int32_t index, bool checked) {
    if (QToolButton* b = button(index)) {
        b->setCheckable(true);
        b->setChecked(checked);
    }
}

const PropertyTable<ToolBarControl>& ToolBarControl::properties() {
    using T = ToolBarControl;
    using namespace DataKind;
    static const PropertyTable<T> table{
        {ToolProp::kButtonCount, kInt, [](T& c) { return PropertyData::Int(c.buttonCount()); },
         nullptr},
    };
    return table;
}

}  // namespace tavrin::forms
