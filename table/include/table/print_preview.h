// The report engine's preview window "打印预览": a copy of the table laid out
// once into pages; the page view draws only the pages in sight, so a long
// table opens as fast as a short one. Page navigation, zoom, a page jump and
// printing; the window deletes itself (and its copy) when closed.
#pragma once

#include <QAbstractScrollArea>
#include <QWidget>
#include <memory>

#include "table/cell_model.h"
#include "table/report_layout.h"

class QComboBox;
class QLabel;
class QScreen;

namespace tavrin::table {

class PageView : public QAbstractScrollArea {
    Q_OBJECT
  public:
    PageView(const CellModel& model, const ReportLayout& layout, const PrintSettings& settings,
             QWidget* parent);
    void setZoom(double zoom);
    double zoom() const { return zoom_; }
    void showPage(int index);
    int currentPage() const;  // the page at the top of the view, 0-based
    int pagesDrawn() const { return drawn_; }

  signals:
    void currentPageChanged(int index);

  protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;
    void scrollContentsBy(int dx, int dy) override;

  private:
    double pixelsPerUnit() const;
    int pageStride() const;  // page height plus the gap, in pixels
    void updateRanges();

    const CellModel& model_;
    const ReportLayout& layout_;
    const PrintSettings& settings_;
    double zoom_ = 0.75;
    int drawn_ = 0;
};

class PrintPreviewWindow : public QWidget {
    Q_OBJECT
  public:
    PrintPreviewWindow(CellModel model, const PrintSettings& settings);
    ~PrintPreviewWindow() override;

    int pageCount() const { return layout_.pageCount(); }
    const ReportLayout& reportLayout() const { return layout_; }
    PageView* pageView() const { return view_; }
    void showPage(int index);
    // Asks for a page number ("请输入欲跳转到页号(%d-%d):") and shows that page.
    void askPageJump();
    // Prints (printer choice through the dialog seam); false when cancelled or
    // failed (a file that could not be written is reported).
    bool print();
    QString progressText() const;
    // The document's name: the print job's title and the start of a PDF file's name.
    void setDocumentName(const QString& name) { documentName_ = name; }
    const QString& documentName() const { return documentName_; }
    // Sizes and moves the window so that it lies wholly on the screen's free area.
    void placeOn(QScreen* screen);

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void updatePosition(int index);

    CellModel model_;
    PrintSettings settings_;
    ReportLayout layout_;
    PageView* view_;
    QLabel* position_;
    QLabel* progress_;
    QComboBox* zoom_;
    QString documentName_;
};

// Opens the preview of a copy of the table (not modal) on the screen of the
// active window; returns the window.
PrintPreviewWindow* OpenPrintPreview(const CellModel& model, const PrintSettings& settings);

}  // namespace tavrin::table
