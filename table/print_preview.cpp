// The preview window and its page view.
#include "table/print_preview.h"

#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QPaintEvent>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QVBoxLayout>
#include <cmath>

#include "report_print.h"
#include "runtime/gbk.h"
#include "runtime/message_box.h"
#include "table/report_painter.h"
#include "table/report_pdf_target.h"
#include "tb_text_constants.h"

namespace tavrin::table {

namespace {

constexpr int kGap = 12;  // pixels between pages and around them
// The window's wished size, and what a window manager's frame may add to it.
constexpr QSize kPreviewSize(900, 700);
constexpr int kFrameAllowance = 40;
constexpr double kScreenPixelsPerUnit = 96.0 / 254.0;

QString Filled(const char* gbkPattern, std::initializer_list<int> values) {
    QString text = GbkToQString(gbkPattern);
    for (int v : values) {
        const qsizetype at = text.indexOf(QStringLiteral("%d"));
        if (at >= 0) text.replace(at, 2, QString::number(v));
    }
    return text;
}

}  // namespace

// ---- page view -------------------------------------------------------------------------------

PageView::PageView(const CellModel& model, const ReportLayout& layout,
                   const PrintSettings& settings, QWidget* parent)
    : QAbstractScrollArea(parent), model_(model), layout_(layout), settings_(settings) {
    updateRanges();
}

double PageView::pixelsPerUnit() const {
    return kScreenPixelsPerUnit * zoom_;
}

int PageView::pageStride() const {
    return int(std::ceil(layout_.geometry.paper.height() * pixelsPerUnit())) + kGap;
}

void PageView::setZoom(double zoom) {
    const int page = currentPage();
    zoom_ = std::clamp(zoom, 0.1, 8.0);
    updateRanges();
    showPage(page);
    viewport()->update();
}

void PageView::updateRanges() {
    const int width = int(std::ceil(layout_.geometry.paper.width() * pixelsPerUnit())) + 2 * kGap;
    const int64_t height = int64_t(pageStride()) * layout_.pageCount() + kGap;
    horizontalScrollBar()->setRange(0, std::max(0, width - viewport()->width()));
    horizontalScrollBar()->setPageStep(viewport()->width());
    verticalScrollBar()->setRange(
        0,
        int(std::min<int64_t>(INT32_MAX / 2, std::max<int64_t>(0, height - viewport()->height()))));
    verticalScrollBar()->setPageStep(viewport()->height());
    verticalScrollBar()->setSingleStep(40);
}

void PageView::showPage(int index) {
    index = std::clamp(index, 0, layout_.pageCount() - 1);
    verticalScrollBar()->setValue(index * pageStride());
    emit currentPageChanged(currentPage());
}

int PageView::currentPage() const {
    const int stride = std::max(1, pageStride());
    return std::clamp((verticalScrollBar()->value() + stride / 3) / stride, 0,
                      layout_.pageCount() - 1);
}

void PageView::resizeEvent(QResizeEvent* e) {
    QAbstractScrollArea::resizeEvent(e);
    updateRanges();
}

void PageView::scrollContentsBy(int, int) {
    viewport()->update();
    emit currentPageChanged(currentPage());
}

void PageView::paintEvent(QPaintEvent* e) {
    QPainter p(viewport());
    p.fillRect(e->rect(), QColor(128, 128, 128));
    const double ppu = pixelsPerUnit();
    const int stride = pageStride();
    const int pageWidth = int(std::ceil(layout_.geometry.paper.width() * ppu));
    const int pageHeight = stride - kGap;
    const int left =
        std::max(kGap, (viewport()->width() - pageWidth) / 2) - horizontalScrollBar()->value();
    const int scroll = verticalScrollBar()->value();
    const int first = std::max(0, (scroll - kGap) / stride);
    for (int i = first; i < layout_.pageCount(); ++i) {
        const int top = kGap + i * stride - scroll;
        if (top > e->rect().bottom()) break;
        const QRect page(left, top, pageWidth, pageHeight);
        if (!page.intersects(e->rect())) continue;
        p.fillRect(page.translated(3, 3), QColor(60, 60, 60));
        p.fillRect(page, Qt::white);
        p.save();
        p.setClipRect(page);
        p.translate(page.topLeft());
        p.scale(ppu, ppu);
        DrawReportPage(p, model_, layout_, settings_, i);
        p.restore();
        ++drawn_;
    }
}

// ---- window ------------------------------------------------------------------------------------

PrintPreviewWindow::PrintPreviewWindow(CellModel model, const PrintSettings& settings)
    : QWidget(nullptr, Qt::Window), model_(std::move(model)), settings_(settings) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(GbkToQString(tb_text::PreviewCaption));
    layout_ = LayOutReport(model_, settings_);
    view_ = new PageView(model_, layout_, settings_, this);

    auto* bar = new QHBoxLayout;
    auto button = [&](const char* gbk, auto action) {
        auto* b = new QPushButton(GbkToQString(gbk), this);
        connect(b, &QPushButton::clicked, this, action);
        bar->addWidget(b);
        return b;
    };
    button(tb_text::PreviewPrint, [this] { print(); });
    button(tb_text::PreviewFirst, [this] { showPage(0); });
    button(tb_text::PreviewPrevious, [this] { showPage(view_->currentPage() - 1); });
    button(tb_text::PreviewNext, [this] { showPage(view_->currentPage() + 1); });
    button(tb_text::PreviewLast, [this] { showPage(pageCount() - 1); });
    button(tb_text::PreviewJump, [this] { askPageJump(); });
    zoom_ = new QComboBox(this);
    for (int percent : {50, 75, 100, 150, 200})
        zoom_->addItem(QStringLiteral("%1%").arg(percent), percent);
    zoom_->setCurrentIndex(1);
    connect(zoom_, &QComboBox::currentIndexChanged, this,
            [this](int i) { view_->setZoom(zoom_->itemData(i).toInt() / 100.0); });
    bar->addWidget(zoom_);
    position_ = new QLabel(this);
    bar->addWidget(position_);
    bar->addStretch(1);
    button(tb_text::PreviewClose, [this] { close(); });
    progress_ = new QLabel(this);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(bar);
    layout->addWidget(view_, 1);
    layout->addWidget(progress_);
    connect(view_, &PageView::currentPageChanged, this, [this](int i) { updatePosition(i); });
    updatePosition(0);
    documentName_ = GbkToQString(tb_text::DocumentTitle);
    resize(kPreviewSize);
}

PrintPreviewWindow::~PrintPreviewWindow() = default;

void PrintPreviewWindow::updatePosition(int index) {
    position_->setText(Filled(tb_text::PreviewPageOf, {index + 1, pageCount()}));
}

void PrintPreviewWindow::showPage(int index) {
    view_->showPage(index);
    updatePosition(view_->currentPage());
}

void PrintPreviewWindow::askPageJump() {
    const QString prompt = Filled(tb_text::PageJumpPrompt, {1, pageCount()});
    DialogRequest request;
    request.kind = "input";
    request.fields["prompt"] = prompt.toStdString();
    request.fields["value"] = std::to_string(view_->currentPage() + 1);
    int page = 0;
    if (auto reply = AnswerDialogAutomatically(request)) {
        if (!reply->accepted) return;
        page = std::atoi(reply->fields["value"].c_str());
    } else {
        bool ok = false;
        page = QInputDialog::getInt(this, GbkToQString(tb_text::PageJumpCaption), prompt,
                                    view_->currentPage() + 1, 1, pageCount(), 1, &ok);
        if (!ok) return;
    }
    if (page >= 1 && page <= pageCount()) showPage(page - 1);
}

bool PrintPreviewWindow::print() {
    QPrinter printer(QPrinter::HighResolution);
    if (!ChoosePrinter(printer, documentName_)) return false;
    const bool printed =
        PrintReport(printer, model_, settings_, layout_, [this](const QString& text) {
            progress_->setText(text);
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        });
    if (!printed && printer.outputFormat() == QPrinter::PdfFormat)
        ReportPdfNotWritten(printer.outputFileName());
    return printed;
}

void PrintPreviewWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void PrintPreviewWindow::placeOn(QScreen* screen) {
    if (screen == nullptr) screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) return;
    // A top-level window's position is its frame's; the frame adds a title bar.
    const QRect free = screen->availableGeometry();
    resize(kPreviewSize.boundedTo(
        QSize(free.width() - kFrameAllowance / 2, free.height() - kFrameAllowance)));
    move(free.left() + (free.width() - width()) / 2 - kFrameAllowance / 8,
         free.top() + std::max(0, (free.height() - height() - kFrameAllowance) / 2));
}

QString PrintPreviewWindow::progressText() const {
    return progress_->text();
}

PrintPreviewWindow* OpenPrintPreview(const CellModel& model, const PrintSettings& settings) {
    auto* window = new PrintPreviewWindow(model, settings);
    const QWidget* active = QApplication::activeWindow();
    window->placeOn(active ? active->screen() : QGuiApplication::primaryScreen());
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

}  // namespace tavrin::table
