// Print documents on the printer component: with no printer on the system the
// document becomes a PDF file that renders with what was drawn on the page.
#include "forms/commands/printer_commands.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QWidget>

#include "form_commands_fixture.h"

using namespace form_commands_test;
using namespace tavrin::form_commands;

namespace {

const Value kAbsent{};

class PrintCommandsTest : public FormCommandsTest {
  protected:
    void SetUp() override {
        FormCommandsTest::SetUp();
        ASSERT_TRUE(dir.isValid());
        if (!QPrinterInfo::availablePrinterNames().isEmpty())
            GTEST_SKIP() << "a printer is configured here";
        SetDialogResponder([this](const DialogRequest& r) -> std::optional<DialogReply> {
            asked.push_back(r);
            DialogReply reply;
            reply.accepted = accept;
            reply.fields = answer;
            if (r.kind == "save-file") reply.fields["file"] = saveAs;
            return reply;
        });
    }

    QString Path(const char* name) { return dir.filePath(QString::fromUtf8(name)); }

    Value printer = Ref(ids::Printer, TypeId::kPrinter);
    QTemporaryDir dir;
    std::vector<DialogRequest> asked;
    bool accept = true;
    std::map<std::string, std::string> answer;
    std::string saveAs;
};

// Renders the first page of a PDF at 30 dpi; a null image when it does not render.
QImage Render(const QString& pdf) {
    const QString base = pdf + QStringLiteral(".render");
    QProcess p;
    p.start(QStringLiteral("pdftoppm"),
            {QStringLiteral("-r"), QStringLiteral("30"), QStringLiteral("-png"),
             QStringLiteral("-singlefile"), pdf, base});
    if (!p.waitForFinished(30000) || p.exitCode() != 0) return {};
    return QImage(base + QStringLiteral(".png"));
}

bool Dark(QRgb c) {
    return qGray(c) < 100;
}

}  // namespace

TEST_F(PrintCommandsTest, NoPrinterWritesAPdfWithWhatWasDrawn) {
    answer["output"] = Path("图表.pdf").toStdString();
    ASSERT_TRUE(CallKernel(StartPrinting, printer, kAbsent, MakeBool(false), kAbsent, kAbsent,
                           kAbsent, kAbsent)
                    .asBool());
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].kind, "print");
    EXPECT_EQ(asked[0].fields["document"], "未命名打印作业");
    EXPECT_EQ(asked[0].fields["printer"], "");

    QPainter* painter = PrintJobPainter(ids::TestWindow, ids::Printer);
    ASSERT_NE(painter, nullptr);
    QPrinter* device = PrintJobPrinter(ids::TestWindow, ids::Printer);
    EXPECT_EQ(device->docName(), QStringLiteral("未命名打印作业"));
    // A thick horizontal line across the middle of the page.
    const QRect page = device->pageLayout().paintRectPixels(device->resolution());
    painter->setPen(QPen(Qt::black, device->resolution() / 8));
    painter->drawLine(0, page.height() / 2, page.width(), page.height() / 2);
    CallKernel(EndPrinting, printer);
    EXPECT_EQ(PrintJobPainter(ids::TestWindow, ids::Printer), nullptr);

    const QImage image = Render(Path("图表.pdf"));
    ASSERT_FALSE(image.isNull()) << "pdftoppm could not render the document";
    EXPECT_GT(image.height(), image.width());  // portrait by default
    int darkOnMiddle = 0;
    for (int y = image.height() / 2 - 6; y <= image.height() / 2 + 6; ++y)
        if (Dark(image.pixel(image.width() / 2, y))) ++darkOnMiddle;
    EXPECT_GT(darkOnMiddle, 0) << "the line is missing";
    EXPECT_FALSE(Dark(image.pixel(image.width() / 2, image.height() / 4)));
    EXPECT_FALSE(Dark(image.pixel(image.width() / 2, image.height() * 3 / 4)));
}

TEST_F(PrintCommandsTest, LandscapeAndPaperNumbersReachThePage) {
    answer["output"] = Path("横向.pdf").toStdString();
    ASSERT_TRUE(CallKernel(StartPrinting, printer, kAbsent, MakeBool(false), MakeInt(3), MakeInt(1),
                           kAbsent, kAbsent)
                    .asBool());
    QPrinter* device = PrintJobPrinter(ids::TestWindow, ids::Printer);
    EXPECT_EQ(device->pageLayout().orientation(), QPageLayout::Landscape);
    EXPECT_EQ(device->pageLayout().pageSize().id(), QPageSize::A5);
    CallKernel(EndPrinting, printer);
    const QImage image = Render(Path("横向.pdf"));
    ASSERT_FALSE(image.isNull());
    EXPECT_GT(image.width(), image.height());
}

TEST_F(PrintCommandsTest, CustomPaperInTenthsOfAMillimetre) {
    answer["output"] = Path("custom.pdf").toStdString();
    ASSERT_TRUE(CallKernel(StartPrinting, printer, kAbsent, MakeBool(false), MakeInt(-1), kAbsent,
                           MakeInt(1000), MakeInt(1500))
                    .asBool());
    const QSizeF mm = PrintJobPrinter(ids::TestWindow, ids::Printer)
                          ->pageLayout()
                          .pageSize()
                          .size(QPageSize::Millimeter);
    EXPECT_NEAR(mm.width(), 100.0, 0.5);
    EXPECT_NEAR(mm.height(), 150.0, 0.5);
    CallKernel(EndPrinting, printer);
}

TEST_F(PrintCommandsTest, CancelledDialogStartsNothing) {
    accept = false;
    answer["output"] = Path("never.pdf").toStdString();
    EXPECT_FALSE(
        CallKernel(StartPrinting, printer, kAbsent, kAbsent, kAbsent, kAbsent, kAbsent, kAbsent)
            .asBool());
    EXPECT_EQ(PrintJobPainter(ids::TestWindow, ids::Printer), nullptr);
    CallKernel(EndPrinting, printer);  // harmless without a document
    EXPECT_FALSE(QFile::exists(Path("never.pdf")));
}

TEST_F(PrintCommandsTest, PrintToFileAsksForTheFileLikeThePlatform) {
    answer["printToFile"] = "1";
    saveAs = Path("输出.prn").toStdString();
    ASSERT_TRUE(
        CallKernel(StartPrinting, printer, kAbsent, kAbsent, kAbsent, kAbsent, kAbsent, kAbsent)
            .asBool());
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[1].kind, "save-file");
    EXPECT_EQ(asked[1].fields["title"], "打印到文件");
    EXPECT_EQ(asked[1].fields["file"], "Output.prn");
    EXPECT_EQ(asked[1].fields["filter"], "打印输出文件 (*.prn)|*.prn|所有文件 (*.*)|*.*||");
    CallKernel(EndPrinting, printer);
    EXPECT_GT(QFile(Path("输出.prn")).size(), 0);

    // Cancelling the file question cancels the document.
    asked.clear();
    SetDialogResponder([](const DialogRequest& r) -> std::optional<DialogReply> {
        DialogReply reply;
        reply.accepted = r.kind == "print";
        reply.fields["printToFile"] = "1";
        return reply;
    });
    EXPECT_FALSE(
        CallKernel(StartPrinting, printer, kAbsent, kAbsent, kAbsent, kAbsent, kAbsent, kAbsent)
            .asBool());
}

TEST_F(PrintCommandsTest, ProgressWindowUnlessToldNot) {
    auto progressShown = [] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible() && w->windowTitle() == QStringLiteral("打印")) return true;
        return false;
    };
    answer["output"] = Path("a.pdf").toStdString();
    ASSERT_TRUE(
        CallKernel(StartPrinting, printer, kAbsent, kAbsent, kAbsent, kAbsent, kAbsent, kAbsent)
            .asBool());
    EXPECT_TRUE(progressShown());
    CallKernel(EndPrinting, printer);
    SettleEvents();
    EXPECT_FALSE(progressShown());
    answer["output"] = Path("b.pdf").toStdString();
    ASSERT_TRUE(CallKernel(StartPrinting, printer, kAbsent, MakeBool(false), kAbsent, kAbsent,
                           kAbsent, kAbsent)
                    .asBool());
    EXPECT_FALSE(progressShown());
    CallKernel(EndPrinting, printer);
}

TEST_F(PrintCommandsTest, ClosingTheWindowFinishesTheDocument) {
    answer["output"] = Path("closed.pdf").toStdString();
    ASSERT_TRUE(CallKernel(StartPrinting, printer, kAbsent, MakeBool(false), kAbsent, kAbsent,
                           kAbsent, kAbsent)
                    .asBool());
    forms::CloseWindow(ids::TestWindow, true);
    SettleEvents();
    EXPECT_EQ(PrintJobPainter(ids::TestWindow, ids::Printer), nullptr);
    EXPECT_FALSE(Render(Path("closed.pdf")).isNull());
}

TEST(PaperNumbers, MapToPageSizes) {
    EXPECT_EQ(PageSizeOfPaperNumber(1)->id(), QPageSize::A3);
    EXPECT_EQ(PageSizeOfPaperNumber(2)->id(), QPageSize::A4);
    const QSizeF k16 = PageSizeOfPaperNumber(7)->size(QPageSize::Millimeter);
    EXPECT_NEAR(k16.width(), 146, 1);
    EXPECT_NEAR(k16.height(), 215, 1);
    const QSizeF k32 = PageSizeOfPaperNumber(8)->size(QPageSize::Millimeter);
    EXPECT_NEAR(k32.width(), 97, 1);
    EXPECT_NEAR(k32.height(), 151, 1);
    EXPECT_EQ(PageSizeOfPaperNumber(9)->id(), QPageSize::Letter);
    EXPECT_EQ(PageSizeOfPaperNumber(10)->id(), QPageSize::Legal);
    EXPECT_EQ(PageSizeOfPaperNumber(1008)->id(), QPageSize::A4);      // platform code 9
    EXPECT_EQ(PageSizeOfPaperNumber(1000)->id(), QPageSize::Letter);  // platform code 1
    EXPECT_FALSE(PageSizeOfPaperNumber(0));
    EXPECT_FALSE(PageSizeOfPaperNumber(17));
    EXPECT_FALSE(PageSizeOfPaperNumber(-3));
    EXPECT_EQ(PageSizeOfFormName(QStringLiteral("a4"))->id(), QPageSize::A4);
    EXPECT_FALSE(PageSizeOfFormName(QStringLiteral("no such paper")));
}

TEST(PdfPath, NeverReplacesAnEarlierFile) {
    QTemporaryDir dir;
    const QString first = UniquePdfPath(dir.path(), QStringLiteral("收入/支出"));
    EXPECT_EQ(first, dir.filePath(QStringLiteral("收入_支出.pdf")));
    QFile(first).open(QIODevice::WriteOnly);
    EXPECT_EQ(UniquePdfPath(dir.path(), QStringLiteral("收入/支出")),
              dir.filePath(QStringLiteral("收入_支出 (2).pdf")));
}

TEST_F(PrintCommandsTest, DocumentThatCannotStartIsReportedAsFailed) {
    answer["output"] = Path("no such folder/x.pdf").toStdString();
    EXPECT_FALSE(CallKernel(StartPrinting, printer, kAbsent, MakeBool(false), kAbsent, kAbsent,
                            kAbsent, kAbsent)
                     .asBool());
    EXPECT_EQ(PrintJobPainter(ids::TestWindow, ids::Printer), nullptr);
}
