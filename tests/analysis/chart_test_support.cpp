// The Qt application object for every chart test, and image helpers.
#include "chart_test_support.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QTextItem>
#include <climits>
#include <cstdlib>
#include <memory>

#include "analysis/charts/chart_palette.h"
#include "runtime/gbk.h"

namespace tavrin::charts::test {

namespace {

class QtEnvironment : public ::testing::Environment {
  public:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "analysis_tests";
        static char* argv[] = {name, nullptr};
        app_ = std::make_unique<QApplication>(argc, argv);
    }
    void TearDown() override { app_.reset(); }

  private:
    std::unique_ptr<QApplication> app_;
};

[[maybe_unused]] ::testing::Environment* const kQtEnvironment =
    ::testing::AddGlobalTestEnvironment(new QtEnvironment);

}  // namespace

std::string Gbk(const char* utf8) {
    return Utf8ToGbk(utf8);
}

QImage RenderWidget(ChartWidget& chart, QSize size) {
    chart.resize(size);
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::magenta);  // anything the chart leaves unpainted shows
    chart.render(&image);
    return image;
}

QImage RenderMedium(const ChartWidget& chart, QSize size, ChartMedium medium) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::magenta);
    QPainter painter(&image);
    chart.PaintChart(painter, size, medium);
    return image;
}

namespace {

// A paint device that draws nothing and keeps every text item with where its
// glyphs go (ascent above the baseline, descent below, in device coordinates).
class TextRecorder : public QPaintDevice {
  public:
    explicit TextRecorder(QSize size) : size_(size), engine_(this) {}
    QPaintEngine* paintEngine() const override { return &engine_; }
    std::vector<DrawnText> texts;

  protected:
    int metric(PaintDeviceMetric m) const override {
        switch (m) {
            case PdmWidth:
                return size_.width();
            case PdmHeight:
                return size_.height();
            case PdmDpiX:
            case PdmDpiY:
            case PdmPhysicalDpiX:
            case PdmPhysicalDpiY:
                return 96;
            case PdmDepth:
                return 32;
            case PdmDevicePixelRatio:
                return 1;
            case PdmDevicePixelRatioScaled:
                return int(devicePixelRatioFScale());
            case PdmNumColors:
                return INT_MAX;
            default:
                return size_.width() / 4;  // millimetres at 96 dpi, near enough
        }
    }

  private:
    class Engine : public QPaintEngine {
      public:
        explicit Engine(TextRecorder* owner) : QPaintEngine(AllFeatures), owner_(owner) {}
        bool begin(QPaintDevice*) override { return true; }
        bool end() override { return true; }
        void updateState(const QPaintEngineState& changed) override {
            if (changed.state() & DirtyTransform) transform_ = changed.transform();
        }
        void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
        void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
        void drawPath(const QPainterPath&) override {}
        void drawTextItem(const QPointF& p, const QTextItem& item) override {
            const QRectF local(p.x(), p.y() - item.ascent(), item.width(),
                               item.ascent() + item.descent());
            owner_->texts.push_back({item.text(), transform_.mapRect(local)});
        }
        Type type() const override { return User; }

      private:
        TextRecorder* owner_;
        QTransform transform_;
    };
    QSize size_;
    mutable Engine engine_;
};

}  // namespace

std::vector<DrawnText> DrawnTexts(const ChartWidget& chart, QSize size, ChartMedium medium) {
    TextRecorder recorder(size);
    {
        QPainter painter(&recorder);
        chart.PaintChart(painter, size, medium);
    }
    return recorder.texts;
}

uint32_t PixelBgr(const QImage& image, int x, int y) {
    return BgrFromColor(QColor(image.pixel(x, y)));
}

bool Near(QColor a, QColor b, int tolerance) {
    return std::abs(a.red() - b.red()) <= tolerance &&
           std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance;
}

void SaveForLooking(const QImage& image, const char* name) {
    if (const char* dir = std::getenv("TAVRIN_CHART_PNG_DIR"))
        image.save(QString::fromUtf8(dir) + QLatin1Char('/') + QString::fromUtf8(name) +
                   QStringLiteral(".png"));
}

}  // namespace tavrin::charts::test
