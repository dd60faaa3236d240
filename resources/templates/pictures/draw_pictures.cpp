// tavrin-drawpictures: draws the tool-bar image list and the side picture of
// the main window as JPEG files. Run once by hand when a picture changes:
//   QT_QPA_PLATFORM=offscreen tavrin-drawpictures resources/templates/pictures
// The committed JPEG files are what the window templates carry. With --icon it
// draws only the application icon of the desktop entry (PNG, transparent):
//   QT_QPA_PLATFORM=offscreen tavrin-drawpictures --icon resources/desktop/tavrin.png
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <cstdio>
#include <functional>

namespace {

constexpr int kCell = 20;  // drawn on a 24-unit grid, scaled to the cell
constexpr int kCells = 22;
const QColor kToolBack(239, 239, 239);  // the tool bar's own background
const QColor kInk(58, 72, 94);

QPen Ink(qreal width = 1.6, QColor c = kInk) {
    QPen p(c, width);
    p.setCapStyle(Qt::RoundCap);
    p.setJoinStyle(Qt::RoundJoin);
    return p;
}

void Sheet(QPainter& p, QColor accent) {
    p.setPen(Ink(1.2));
    p.setBrush(Qt::white);
    QPainterPath page;
    page.moveTo(5, 2.5);
    page.lineTo(15, 2.5);
    page.lineTo(19.5, 7);
    page.lineTo(19.5, 21.5);
    page.lineTo(5, 21.5);
    page.closeSubpath();
    p.drawPath(page);
    p.setPen(Ink(1.0, QColor(150, 160, 175)));
    for (int y = 9; y <= 18; y += 3) p.drawLine(QPointF(8, y), QPointF(16.5, y));
    p.setPen(Qt::NoPen);
    p.setBrush(accent);
    p.drawEllipse(QPointF(17, 17.5), 5.2, 5.2);
}

void Plus(QPainter& p, QPointF c) {
    p.setPen(Ink(2.0, Qt::white));
    p.drawLine(c + QPointF(-2.6, 0), c + QPointF(2.6, 0));
    p.drawLine(c + QPointF(0, -2.6), c + QPointF(0, 2.6));
}

void Minus(QPainter& p, QPointF c) {
    p.setPen(Ink(2.0, Qt::white));
    p.drawLine(c + QPointF(-2.6, 0), c + QPointF(2.6, 0));
}

void Printer(QPainter& p, bool chart) {
    p.setPen(Ink(1.2));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(7, 3, 10, 7));
    p.setBrush(QColor(120, 135, 160));
    p.drawRoundedRect(QRectF(3, 9, 18, 9), 2, 2);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(7, 15, 10, 7));
    if (chart) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(230, 120, 40));
        p.drawRect(QRectF(8.5, 19, 2, 2.5));
        p.setBrush(QColor(60, 150, 80));
        p.drawRect(QRectF(11.5, 17.5, 2, 4));
        p.setBrush(QColor(50, 110, 200));
        p.drawRect(QRectF(14.5, 16.5, 2, 5));
    } else {
        p.setPen(Ink(0.9, QColor(150, 160, 175)));
        p.drawLine(QPointF(8.5, 18), QPointF(15.5, 18));
        p.drawLine(QPointF(8.5, 20), QPointF(15.5, 20));
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(80, 200, 90));
    p.drawEllipse(QPointF(18, 12), 1.1, 1.1);
}

void Arrow(QPainter& p, bool back) {
    p.save();
    if (back) {
        p.translate(24, 0);
        p.scale(-1, 1);
    }
    p.setPen(Ink(2.4, QColor(40, 110, 190)));
    p.setBrush(Qt::NoBrush);
    QPainterPath arc;
    arc.moveTo(5, 17);
    arc.cubicTo(5, 8, 15, 6, 18, 11);
    p.drawPath(arc);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 110, 190));
    QPolygonF head;
    head << QPointF(21, 6) << QPointF(21, 14.5) << QPointF(13, 12.5);
    p.drawPolygon(head);
    p.restore();
}

void Circle(QPainter& p, QColor fill) {
    p.setPen(Ink(1.2, fill.darker(130)));
    QRadialGradient g(QPointF(10, 8), 13);
    g.setColorAt(0, fill.lighter(135));
    g.setColorAt(1, fill);
    p.setBrush(g);
    p.drawEllipse(QPointF(12, 12), 9.5, 9.5);
}

void DrawIcon(QPainter& p, int index) {
    switch (index) {
        case 6:
            Sheet(p, QColor(205, 60, 55));
            Minus(p, QPointF(17, 17.5));
            break;  // 支出详单
        case 7:
            Sheet(p, QColor(40, 150, 70));
            Plus(p, QPointF(17, 17.5));
            break;  // 收入详单
        case 8:
            Printer(p, false);
            break;  // 打印表
        case 9: {   // 关于
            Circle(p, QColor(60, 120, 200));
            p.setPen(Qt::NoPen);
            p.setBrush(Qt::white);
            p.drawEllipse(QPointF(12, 7.5), 1.5, 1.5);
            p.drawRoundedRect(QRectF(10.6, 10.5, 2.8, 8), 1, 1);
            break;
        }
        case 10: {  // 备份
            p.setPen(Ink(1.2));
            p.setBrush(QColor(70, 100, 160));
            p.drawRoundedRect(QRectF(3.5, 3.5, 17, 17), 2, 2);
            p.setBrush(Qt::white);
            p.drawRect(QRectF(7, 3.5, 10, 6.5));
            p.setBrush(QColor(200, 210, 225));
            p.drawRect(QRectF(6.5, 13, 11, 7.5));
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(70, 100, 160));
            p.drawRect(QRectF(13.5, 4.5, 2, 4.5));
            break;
        }
        case 13: {  // 帮助
            Circle(p, QColor(60, 160, 110));
            p.setPen(Ink(2.2, Qt::white));
            p.setBrush(Qt::NoBrush);
            QPainterPath q;
            q.moveTo(9, 9.5);
            q.cubicTo(9, 5.5, 15.5, 5.5, 15.5, 9.5);
            q.cubicTo(15.5, 12, 12, 12, 12, 14.5);
            p.drawPath(q);
            p.setPen(Qt::NoPen);
            p.setBrush(Qt::white);
            p.drawEllipse(QPointF(12, 17.8), 1.4, 1.4);
            break;
        }
        case 14: {  // 初始化
            p.setPen(Ink(1.2));
            p.setBrush(QColor(225, 230, 238));
            p.drawRect(QRectF(6, 7, 12, 14));
            p.setBrush(QColor(120, 135, 160));
            p.drawRoundedRect(QRectF(4, 4.5, 16, 2.5), 1, 1);
            p.drawRect(QRectF(9.5, 2.5, 5, 2));
            p.setPen(Ink(1.2, QColor(120, 135, 160)));
            for (qreal x : {9.0, 12.0, 15.0}) p.drawLine(QPointF(x, 10), QPointF(x, 18.5));
            break;
        }
        case 18:
            Arrow(p, true);
            break;  // 撤销
        case 19:
            Arrow(p, false);
            break;  // 重复
        case 21: {  // 退出
            p.setPen(Ink(2.6, QColor(200, 60, 50)));
            p.setBrush(Qt::NoBrush);
            p.drawArc(QRectF(4.5, 5, 15, 15), 120 * 16, 300 * 16);
            p.drawLine(QPointF(12, 3), QPointF(12, 12));
            break;
        }
        case 20:
            Printer(p, true);
            break;  // spare: printer with chart
        default: {
            // Spare cells: a plain coin, so that every cell holds a clean image.
            p.setPen(Ink(1.2, QColor(170, 130, 30)));
            p.setBrush(QColor(240, 200, 80));
            p.drawEllipse(QPointF(12, 12), 7, 7);
            break;
        }
    }
}

bool SaveJpeg(const QImage& image, const QString& path) {
    if (!image.save(path, "JPG", 95)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

QImage ToolbarStrip() {
    QImage img(kCell * kCells, kCell, QImage::Format_RGB32);
    img.fill(kToolBack);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    for (int i = 0; i < kCells; ++i) {
        p.save();
        p.translate(i * kCell, 0);
        p.setClipRect(0, 0, kCell, kCell);
        p.scale(kCell / 24.0, kCell / 24.0);
        DrawIcon(p, i);
        p.restore();
    }
    return img;
}

// The side picture beside the charts: a coin stack under a rising bar chart.
QImage SidePicture() {
    const int w = 88, h = 183;
    QImage img(w, h, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, h);
    sky.setColorAt(0, QColor(222, 235, 250));
    sky.setColorAt(1, QColor(250, 252, 255));
    p.fillRect(img.rect(), sky);
    const QColor bars[] = {QColor(90, 150, 220), QColor(70, 170, 120), QColor(240, 160, 60)};
    for (int i = 0; i < 3; ++i) {
        const qreal bh = 28 + i * 18;
        p.setPen(Qt::NoPen);
        p.setBrush(bars[i]);
        p.drawRoundedRect(QRectF(12 + i * 22, 92 - bh, 16, bh), 2, 2);
    }
    p.setPen(Ink(2.0, QColor(200, 70, 60)));
    p.drawLine(QPointF(14, 62), QPointF(38, 48));
    p.drawLine(QPointF(38, 48), QPointF(60, 26));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(200, 70, 60));
    QPolygonF head;
    head << QPointF(66, 19) << QPointF(63.5, 30) << QPointF(55, 22.5);
    p.drawPolygon(head);
    for (int i = 0; i < 6; ++i) {
        const qreal y = 160 - i * 8;
        p.setPen(Ink(1.2, QColor(160, 120, 20)));
        p.setBrush(QColor(245, 205, 85));
        p.drawEllipse(QRectF(18, y - 5, 52, 12));
    }
    p.setPen(Ink(1.4, QColor(160, 120, 20)));
    p.setFont(QFont(QStringLiteral("DejaVu Sans"), 9, QFont::Bold));
    p.drawText(QRectF(18, 111, 52, 12), Qt::AlignCenter, QStringLiteral("¥"));
    p.setPen(QColor(58, 72, 94));
    p.setFont(QFont(QStringLiteral("DejaVu Sans"), 10, QFont::Bold));
    p.drawText(QRectF(0, 165, w, 18), Qt::AlignCenter, QStringLiteral("Tavrin"));
    return img;
}

// The desktop's icon: a ledger card with the side picture's rising bars and a
// coin marked ¥, legible from 16 to 128 pixels.
QImage AppIcon() {
    const int size = 128;
    QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 48.0, size / 48.0);
    QLinearGradient card(0, 4, 0, 44);
    card.setColorAt(0, QColor(250, 252, 255));
    card.setColorAt(1, QColor(214, 229, 247));
    p.setPen(Ink(1.6));
    p.setBrush(card);
    p.drawRoundedRect(QRectF(4, 4, 40, 40), 7, 7);
    const QColor bars[] = {QColor(90, 150, 220), QColor(70, 170, 120), QColor(240, 160, 60)};
    for (int i = 0; i < 3; ++i) {
        const qreal bh = 10 + i * 7;
        p.setPen(Qt::NoPen);
        p.setBrush(bars[i]);
        p.drawRoundedRect(QRectF(9 + i * 8, 38 - bh, 6, bh), 1.2, 1.2);
    }
    p.setPen(Ink(2.0, QColor(200, 70, 60)));
    p.drawLine(QPointF(9, 24), QPointF(19, 17));
    p.drawLine(QPointF(19, 17), QPointF(30, 10));
    p.setPen(Ink(1.4, QColor(160, 120, 20)));
    p.setBrush(QColor(245, 205, 85));
    p.drawEllipse(QPointF(35, 34), 9, 9);
    p.setFont(QFont(QStringLiteral("DejaVu Sans"), 10, QFont::Bold));
    p.drawText(QRectF(26, 25, 18, 18), Qt::AlignCenter, QStringLiteral("¥"));
    return img;
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc == 3 && QString::fromLocal8Bit(argv[1]) == QStringLiteral("--icon")) {
        const QString path = QString::fromLocal8Bit(argv[2]);
        if (AppIcon().save(path, "PNG")) return 0;
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return 1;
    }
    const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    const bool ok = SaveJpeg(ToolbarStrip(), dir + QStringLiteral("/toolbar.jpg")) &&
                    SaveJpeg(SidePicture(), dir + QStringLiteral("/side.jpg"));
    return ok ? 0 : 1;
}
