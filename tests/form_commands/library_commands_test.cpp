// Status bar panes, page titles, the visual style switch and the shell open.
#include "forms/commands/library_commands.h"

#include <QDir>
#include <QStyle>

#include "form_commands_fixture.h"
#include "forms/bars.h"

using namespace form_commands_test;
using namespace tavrin::form_commands;

TEST_F(FormCommandsTest, StatusSetTextChangesOnlyAPaneThatExists) {
    const Value status = Ref(ids::Status, TypeId::kStatusBar);
    auto* bar = forms::FindControlAs<forms::StatusBarControl>(ids::TestWindow, ids::Status);
    ASSERT_EQ(bar->paneCount(), 3);
    const std::string amount = G("1250.5元");
    CallLibrary(1, StatusSetText, status, MakeInt(1), MakeTextRef(amount.c_str()));
    EXPECT_EQ(bar->paneText(1), amount);

    auto panes = [&] { return bar->paneText(0) + "|" + bar->paneText(1) + "|" + bar->paneText(2); };
    const std::string before = panes();
    for (int32_t bad : {-1, 3, 100})
        CallLibrary(1, StatusSetText, status, MakeInt(bad), MakeTextRef("x"));
    EXPECT_EQ(panes(), before);
    // An omitted text empties the pane.
    CallLibrary(1, StatusSetText, status, MakeInt(0), Value{});
    EXPECT_EQ(bar->paneText(0), "");
}

TEST_F(FormCommandsTest, PageTitles) {
    const Value pages = Ref(ids::Pages, TypeId::kPageControl);
    EXPECT_EQ(TakeText(CallLibrary(2, PageTitle, pages, MakeInt(1))), G("支出详单"));
    bool wasNull = false;
    EXPECT_EQ(TakeText(CallLibrary(2, PageTitle, pages, MakeInt(2)), &wasNull), "");
    EXPECT_TRUE(wasNull);
}

TEST_F(FormCommandsTest, VisualStyleSwitchesBetweenThemedAndPlatformLook) {
    const QString platform = QApplication::style()->name();
    EXPECT_EQ(CallLibrary(5, SetVisualStyle, MakeInt(1)).asInt(), 1);
    EXPECT_EQ(QApplication::style()->name().toLower(), QStringLiteral("fusion"));
    EXPECT_EQ(CallLibrary(5, SetVisualStyle, MakeInt(3)).asInt(), 1);
    EXPECT_EQ(CallLibrary(5, SetVisualStyle, MakeInt(0)).asInt(), 0);
    EXPECT_EQ(QApplication::style()->name().toLower(), platform.toLower());
    EXPECT_EQ(CallLibrary(5, SetVisualStyle, MakeInt(4)).asInt(), 0);
}

TEST(OpenDocument, AddressesAndFileNamesReachTheOpener) {
    std::vector<QUrl> opened;
    SetDocumentOpener([&](const QUrl& url) {
        opened.push_back(url);
        return true;
    });
    const std::string blog = "https://example.org/blog?a=1&b=2";
    CallLibrary(6, OpenDocument, MakeTextRef(blog.c_str()));
    const std::string help = G("帮助\\说明.txt");
    CallLibrary(6, OpenDocument, MakeTextRef(help.c_str()));
    CallLibrary(6, OpenDocument, MakeTextRef(nullptr));  // nothing to open
    SetDocumentOpener({});

    ASSERT_EQ(opened.size(), 2u);
    EXPECT_EQ(opened[0].toString(), QString::fromStdString(blog));
    EXPECT_TRUE(opened[1].isLocalFile());
    EXPECT_EQ(opened[1].toLocalFile(),
              QDir::current().absoluteFilePath(QStringLiteral("帮助/说明.txt")));
}
