#include "gui_support.h"

#include "app/about_window.h"
#include "app/web_links.h"
#include "core/paths.h"

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>

using namespace korbisto;

namespace {

using AboutWindowTest = test::WindowTest;

QList<app::TFInfo*> aboutWindows() {
    QList<app::TFInfo*> found;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* info = qobject_cast<app::TFInfo*>(w)) found << info;
    return found;
}

}  // namespace

TEST_F(AboutWindowTest, OneWindowInFrontWithVersionAndContact) {
    openMainWindow();
    click(main.get(), QStringLiteral("bsSkinSpeedButton5"));
    click(main.get(), QStringLiteral("bsSkinSpeedButton5"));
    ASSERT_EQ(aboutWindows().size(), 1);
    app::TFInfo* info = aboutWindows().first();
    EXPECT_TRUE(info->isVisible());
    EXPECT_EQ(info->windowTitle(), QStringLiteral("Korbisto"));
    EXPECT_EQ(info->size(), QSize(400, 300));
    auto* version = child<QLabel>(info, QStringLiteral("LVersion"));
    EXPECT_EQ(version->text(), QStringLiteral("Version 1.3.0.0"));
    EXPECT_TRUE(version->font().bold());
    EXPECT_TRUE(version->alignment() & Qt::AlignRight);

    // The hand shows over the mail link alone, and the link writes a mail about the program.
    auto* mail = child<QLabel>(info, QStringLiteral("LMail"));
    EXPECT_TRUE(mail->font().underline());
    EXPECT_EQ(mail->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(child(info, QStringLiteral("PKontakt"))->cursor().shape(), Qt::ArrowCursor);
    QTest::mouseClick(mail, Qt::LeftButton);
    ASSERT_EQ(shell.opened().size(), 1);
    EXPECT_EQ(shell.opened().first().scheme(), QStringLiteral("mailto"));
    EXPECT_EQ(shell.opened().first().path(), app::supportAddress());
    EXPECT_EQ(shell.opened().first().query(), QStringLiteral("subject=Korbisto"));

    // "Schließen" frees it; the next click makes a new one.
    QPointer<app::TFInfo> closed = info;
    QTest::mouseClick(child<QPushButton>(info, QStringLiteral("BClose")), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(closed.isNull(), 5000);
    click(main.get(), QStringLiteral("bsSkinSpeedButton5"));
    ASSERT_EQ(aboutWindows().size(), 1);
    info = aboutWindows().first();
    EXPECT_TRUE(info->isVisible());
    // With the keys: the focus starts on "Schließen"; the link is a
    // Shift+Tab away and follows Enter and Space.
    info->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(info));
    EXPECT_EQ(QApplication::focusWidget(), child<QPushButton>(info, QStringLiteral("BClose")));
    for (const Qt::Key key : {Qt::Key_Backtab, Qt::Key_Return, Qt::Key_Space})
        QTest::keyClick(QApplication::focusWidget(), key, key == Qt::Key_Backtab ? Qt::ShiftModifier : Qt::NoModifier);
    EXPECT_EQ(shell.opened().size(), 3);
}
