// Page control: page switching and the show/hide rules of page children.
#include "forms/page_control.h"

#include <QEvent>
#include <QWidget>
#include <climits>

#include "forms/properties.h"
#include "forms/property_table.h"
#include "forms/template_format.h"
#include "runtime/gbk.h"

namespace tavrin::forms {

PageControl::PageControl(const ControlInit& init) : TabledControl(init) {
    auto* box = new QWidget(init.parent);
    tabs_ = new QTabBar(box);
    tabs_->setDrawBase(false);
    tabs_->setExpanding(false);
    // The template may place the tabs along the left or right edge ("set tabs
    // left|right"); a control at least three times as tall as wide carries them
    // down its right edge (a strip of year pages), where a row of tabs would not fit.
    const auto settings = init.item->typeData.settings();
    const auto placement = settings.find("tabs");
    if (placement != settings.end() && placement->second == "left")
        tabs_->setShape(QTabBar::RoundedWest);
    else if ((placement != settings.end() && placement->second == "right") ||
             (init.item->width > 0 && init.item->height >= 3 * init.item->width))
        tabs_->setShape(QTabBar::RoundedEast);
    area_ = new QFrame(box);
    area_->setFrameShape(QFrame::StyledPanel);
    const TypeData& data = init.item->typeData;
    pages_ = WindowTemplate::SplitPages(init.item->children);
    const std::vector<std::string> titles = data.pages();
    const size_t count = std::max(titles.size(), pages_.size());
    pages_.resize(count);
    for (size_t p = 0; p < count; ++p)
        tabs_->addTab(GbkToQString(p < titles.size() ? titles[p] : std::string()));
    if (const std::string* font = data.raw(Tag::kFont)) box->setFont(FontFromRecord(*font));
    const int32_t start = data.integer(Tag::kCurrent, 0);
    if (start >= 0 && start < tabs_->count()) tabs_->setCurrentIndex(start);
    setWidget(box, {tabs_});
    box->installEventFilter(this);
    layoutArea();
    connect(tabs_, &QTabBar::currentChanged, this, [this](int page) {
        showPage(page, true);
        if (!programmatic_) raise(PageEvent::kPageChanged);
    });
}

bool PageControl::eventFilter(QObject* watched, QEvent* e) {
    if (watched == widget() && e->type() == QEvent::Resize) layoutArea();
    return false;
}

void PageControl::layoutArea() {
    QWidget* box = widget();
    if (!box) return;
    if (tabs_->shape() == QTabBar::RoundedEast) {
        const int tabWidth = std::min(box->width(), tabs_->sizeHint().width());
        tabs_->setGeometry(box->width() - tabWidth, 0, tabWidth, box->height());
        area_->setGeometry(0, 0, std::max(0, box->width() - tabWidth), box->height());
        return;
    }
    if (tabs_->shape() == QTabBar::RoundedWest) {
        // The page area keeps the control's own coordinates, so that children
        // placed right of the tab strip sit where the template puts them.
        const int tabWidth = std::min(box->width(), tabs_->sizeHint().width());
        tabs_->setGeometry(0, 0, tabWidth, box->height());
        area_->setGeometry(0, 0, box->width(), box->height());
        area_->setFrameShape(QFrame::NoFrame);
        tabs_->raise();
        return;
    }
    const int tabHeight = tabs_->sizeHint().height();
    tabs_->setGeometry(0, 0, box->width(), tabHeight);
    area_->setGeometry(0, tabHeight, box->width(), std::max(0, box->height() - tabHeight));
}

void PageControl::windowCreated() {
    showPage(current(), false);
}

void PageControl::showPage(int32_t page, bool focus) {
    QWidget* first = nullptr;
    uint32_t bestOrder = UINT_MAX;
    for (size_t p = 0; p < pages_.size(); ++p) {
        for (uint32_t id : pages_[p]) {
            Control* c = FindControl(windowId(), id);
            if (!c || !c->widget()) continue;
            const bool shown = int32_t(p) == page && (c->item().flags & kStateVisible);
            c->widget()->setVisible(shown);
            if (shown && c->widget()->isEnabled() && c->item().tabOrder < bestOrder &&
                c->widget()->focusPolicy() != Qt::NoFocus) {
                bestOrder = c->item().tabOrder;
                first = c->widget();
            }
        }
    }
    if (focus && first) first->setFocus(Qt::TabFocusReason);
}

void PageControl::setCurrent(int32_t page) {
    if (page < 0 || page >= tabs_->count()) return;
    programmatic_ = true;
    if (page == tabs_->currentIndex())
        showPage(page, true);
    else
        tabs_->setCurrentIndex(page);
    programmatic_ = false;
}

int32_t PageControl::pageOf(uint32_t controlId) const {
    for (size_t p = 0; p < pages_.size(); ++p)
        for (uint32_t id : pages_[p])
            if (id == controlId) return int32_t(p);
    return -1;
}

std::string PageControl::pageTitle(int32_t page) const {
    if (page < 0 || page >= tabs_->count()) return {};
    return QStringToGbk(tabs_->tabText(page));
}

void PageControl::setPageTitle(int32_t page, const std::string& gbk) {
    if (page >= 0 && page < tabs_->count()) tabs_->setTabText(page, GbkToQString(gbk));
}

int32_t PageControl::addPage(const std::string& gbkTitle) {
    pages_.emplace_back();
    programmatic_ = true;
    int32_t index = tabs_->addTab(GbkToQString(gbkTitle));
    programmatic_ = false;
    return index;
}

void PageControl::removePage(int32_t page) {
    if (page < 0 || page >= tabs_->count()) return;
    // Controls of a removed page stay hidden; they belong to no page any more.
    for (uint32_t id : pages_[size_t(page)])
        if (Control* c = FindControl(windowId(), id); c && c->widget()) c->widget()->hide();
    pages_.erase(pages_.begin() + page);
    programmatic_ = true;
    tabs_->removeTab(page);
    programmatic_ = false;
    showPage(current(), false);
}

const PropertyTable<PageControl>& PageControl::properties() {
    using P = PageControl;
    using namespace DataKind;
    static const PropertyTable<P> table{
        {PageProp::kCurrent, kInt, [](P& c) { return PropertyData::Int(c.current()); },
         [](P& c, const PropertyData& in) { c.setCurrent(in.asInt()); }},
        {PageProp::kPageCount, kInt, [](P& c) { return PropertyData::Int(c.pageCount()); },
         nullptr},
        {PageProp::kFont, kFont, [](P& c) { return FontData(c.widget()->font()); },
         [](P& c, const PropertyData& in) { c.widget()->setFont(FontFromRecord(in.bytes)); }},
    };
    return table;
}

}  // namespace tavrin::forms
