// Report page drawing: cell backgrounds, texts, lines, merges, page numbers.
#include "table/report_painter.h"

#include <QFontDatabase>
#include <QPainter>
#include <QSet>

#include "forms/bgr_color.h"
#include "forms/font_record.h"
#include "runtime/gbk.h"
#include "tb_text_constants.h"

namespace tavrin::table {

namespace {

constexpr int32_t kTextPadding = 10;
constexpr double kLineWidth = 3;

// A row group drawn as one run: the fixed rows, or the page's rows.
struct RowRun {
    int32_t first, count;
    double top;
};

// Pass 0 paints backgrounds and texts, pass 1 the lines, so that no cell's
// background covers the half of its neighbour's line that reaches into it.
void DrawCell(QPainter& p, const CellModel& m, int32_t row, int32_t column, const QRectF& box,
              int pass) {
    const CellStyle& s = m.style(row, column);
    if (pass == 1) {
        if (!s.edges) return;
        p.setPen(QPen(Qt::black, kLineWidth));
        if (s.edges & kEdgeLeft) p.drawLine(box.topLeft(), box.bottomLeft());
        if (s.edges & kEdgeTop) p.drawLine(box.topLeft(), box.topRight());
        if (s.edges & kEdgeRight) p.drawLine(box.topRight(), box.bottomRight());
        if (s.edges & kEdgeBottom) p.drawLine(box.bottomLeft(), box.bottomRight());
        if (s.edges & kEdgeDiagonal) p.drawLine(box.topLeft(), box.bottomRight());
        return;
    }
    if (s.backColor != kDefaultColor) p.fillRect(box, forms::ColorFromBgr(s.backColor));
    const std::string& text = m.text(row, column);
    if (!text.empty()) {
        QFont font = CellFont(m, s);
        font.setPixelSize(std::max(1, s.fontSize > 0 ? s.fontSize : m.defaultFontSize()));
        p.setFont(font);
        p.setPen(s.textColor == kDefaultColor ? QColor(Qt::black)
                                              : forms::ColorFromBgr(s.textColor));
        const QRectF inner = box.adjusted(kTextPadding, 0, -kTextPadding, 0);
        p.save();
        p.setClipRect(box, Qt::IntersectClip);
        p.drawText(inner, CellAlignmentFlags(s.alignment), GbkToQString(text));
        p.restore();
    }
}

// The width a cell (or merge) is drawn with: its own, except a title line, a
// plain cell of the fixed rows across the whole table (no lines, no
// background), which spans the printable width so that a narrow table does
// not cut its title or date line.
double TitleLineWidth(const CellModel& m, const ReportLayout& layout, const CellRange& cell) {
    const double own =
        double(layout.columnX[size_t(cell.lastColumn() + 1)] - layout.columnX[size_t(cell.column)]);
    const CellStyle& s = m.style(cell.row, cell.column);
    const bool titleLine = cell.row < layout.fixedRows && cell.column == 0 &&
                           cell.lastColumn() == m.columnCount() - 1 && s.edges == 0 &&
                           s.backColor == kDefaultColor;
    if (!titleLine) return own;
    return std::max(own, layout.geometry.printable.width() / layout.geometry.scale);
}

void DrawRun(QPainter& p, const CellModel& m, const ReportLayout& layout, const RowRun& run,
             int pass) {
    if (run.count <= 0) return;
    const int32_t last = run.first + run.count - 1;
    std::vector<CellRange> merges;
    for (const CellRange& g : m.merges())
        if (g.row <= last && g.lastRow() >= run.first) merges.push_back(g);
    double y = run.top;
    for (int32_t r = run.first; r <= last; ++r) {
        const double h = m.rowHeight(r);
        for (int32_t c = 0; c < m.columnCount(); ++c) {
            const CellRange* merge = nullptr;
            for (const CellRange& g : merges)
                if (g.contains(r, c)) merge = &g;
            const double x = double(layout.columnX[size_t(c)]);
            if (!merge) {
                const double width = m.columnCount() == 1
                                         ? TitleLineWidth(m, layout, CellRange{r, c, 1, 1})
                                         : double(m.columnWidth(c));
                DrawCell(p, m, r, c, QRectF(x, y, width, h), pass);
                continue;
            }
            // A merge is drawn once, from its first row on this run, clipped to the run.
            if (c != merge->column || r != std::max(merge->row, run.first)) continue;
            double height = 0;
            for (int32_t k = r; k <= std::min(merge->lastRow(), last); ++k)
                height += m.rowHeight(k);
            const double width = TitleLineWidth(m, layout, *merge);
            DrawCell(p, m, merge->row, merge->column, QRectF(x, y, width, height), pass);
        }
        y += h;
    }
}

}  // namespace

QFont FaceFont(const QString& family) {
    static QSet<QString> mapped;
    if (!mapped.contains(family)) {
        mapped.insert(family);
        if (!QFontDatabase::hasFamily(family))
            QFont::insertSubstitution(family, forms::DefaultGuiFont().family());
    }
    QFont font(family);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

QFont CellFont(const CellModel& m, const CellStyle& s) {
    QFont font = FaceFont(GbkToQString(m.fontName(s.fontName)));
    const uint32_t styleBits = s.fontStyle();
    font.setBold(styleBits & kBold);
    font.setItalic(styleBits & kItalic);
    font.setUnderline(styleBits & kUnderline);
    font.setStrikeOut(styleBits & kStrikeOut);
    return font;
}

int CellAlignmentFlags(int32_t alignment) {
    const int a = NormalizedAlignment(alignment);
    static const int horizontal[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight};
    if (a <= 9) {
        const int vertical = a <= 3 ? Qt::AlignVCenter : a <= 6 ? Qt::AlignTop : Qt::AlignBottom;
        return horizontal[(a - 1) % 3] | vertical;
    }
    if (a <= 12) return horizontal[a - 10] | Qt::AlignVCenter | Qt::TextWordWrap;
    return horizontal[a - 13] | Qt::AlignTop | Qt::TextWordWrap;
}

void DrawReportPage(QPainter& p, const CellModel& m, const ReportLayout& layout,
                    const PrintSettings& settings, int index) {
    if (index < 0 || index >= layout.pageCount()) return;
    const PageGeometry& g = layout.geometry;
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    p.translate(g.printable.topLeft());
    p.scale(g.scale, g.scale);
    double fixedHeight = 0;
    for (int32_t r = 0; r < layout.fixedRows; ++r) fixedHeight += m.rowHeight(r);
    const PageRows& rows = layout.pages[size_t(index)];
    for (int pass : {0, 1}) {
        DrawRun(p, m, layout, RowRun{0, layout.fixedRows, 0}, pass);
        DrawRun(p, m, layout, RowRun{rows.first, rows.count, fixedHeight}, pass);
    }
    p.restore();

    int align = 0;
    const QRect box = PageNumberBox(g, settings.pageNumberPosition, &align);
    if (!box.isEmpty()) {
        QFont font = FaceFont(GbkToQString(tb_text::DefaultFace));
        font.setPixelSize(kPageNumberHeight);
        p.setFont(font);
        p.setPen(Qt::black);
        p.setBackgroundMode(Qt::TransparentMode);
        p.drawText(box, align,
                   GbkToQString(tb_text::PageNumber)
                       .replace(QStringLiteral("%d"), QString::number(index + 1)));
    }
}

}  // namespace tavrin::table
