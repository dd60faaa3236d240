// The Qt application object for every chart test, and image helpers.
#include "chart_test_support.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QPainter>
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

uint32_t PixelBgr(const QImage& image, int x, int y) {
    return BgrFromColour(QColor(image.pixel(x, y)));
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
