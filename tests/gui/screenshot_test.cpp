#include "gui_support.h"

#include "app/screenshot_window.h"
#include "core/paths.h"
#include "files/settings_file.h"

#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QSlider>
#include <QTest>

using namespace korbisto;
using namespace korbisto::test;

namespace {

// The first value of the first quantisation table, and whether the frame is
// progressive (SOF2) rather than baseline (SOF0).
struct JpegFacts {
    bool jpeg = false;
    bool progressive = false;
    bool baseline = false;
    int firstQuant = -1;
};

JpegFacts inspect(const QByteArray& bytes) {
    JpegFacts facts;
    const auto* b = reinterpret_cast<const unsigned char*>(bytes.constData());
    facts.jpeg = bytes.size() > 4 && b[0] == 0xFF && b[1] == 0xD8;
    qsizetype i = 2;
    while (facts.jpeg && i + 4 <= bytes.size() && b[i] == 0xFF) {
        const unsigned char marker = b[i + 1];
        const int length = (b[i + 2] << 8) | b[i + 3];
        if (marker == 0xC2) facts.progressive = true;
        if (marker == 0xC0) facts.baseline = true;
        if (marker == 0xDB && facts.firstQuant < 0 && i + 5 < bytes.size()) facts.firstQuant = b[i + 5];
        if (marker == 0xDA) break;  // the scan data follows
        i += 2 + length;
    }
    return facts;
}

class ScreenshotTest : public WindowTest {
protected:
    app::TFAbbild* captureEvaluation() {
        click(main.get(), QStringLiteral("bsSkinSpeedButton9"));
        return app::FAbbild;
    }
    void save(app::TFAbbild* window, const QString& answer, int quality) {
        window->findChild<QSlider*>(QStringLiteral("Slider1"))->setValue(quality);
        dialogs.queueAnswer(answer);
        click(window, QStringLiteral("BSpeichern"));
    }
};

TEST_F(ScreenshotTest, EvaluationPictureIsThePanelWithTheStamp) {
    openMainWindow();
    writeSlip(slipFolder() + QStringLiteral("montag.krsc"), {"1021201102120"});
    main->SpielscheinEinlesen(slipFolder() + QStringLiteral("montag.krsc"));
    QWidget* panel = child(main.get(), QStringLiteral("PFoto"));
    app::TFAbbild* window = captureEvaluation();
    ASSERT_NE(window, nullptr);
    const QImage plain = panel->grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("montag"));
    EXPECT_EQ(window->size(), QSize(panel->width(), panel->height() + 80));
    const QImage picture = window->picture().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(picture.size(), panel->size());
    // The picture is the panel except for the program's name, 110 pixels
    // left of the right edge and 104 above the bottom.
    const QRect stamp(picture.width() - 110, picture.height() - 104, 110, 24);
    int inside = 0;
    int outside = 0;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            if (picture.pixel(x, y) == plain.pixel(x, y)) continue;
            (stamp.contains(x, y) ? inside : outside)++;
        }
    }
    EXPECT_GT(inside, 20);
    EXPECT_EQ(outside, 0);
}

TEST_F(ScreenshotTest, MatchDayPictureHasTheFixedSize) {
    openMainWindow();
    writeMatchDay(matchDayFolder() + QStringLiteral("t.sptag"), "1021201102120");
    main->SpieltagEinlesen(matchDayFolder() + QStringLiteral("t.sptag"));
    click(main.get(), QStringLiteral("bsSkinSpeedButton18"));
    ASSERT_NE(app::FAbbild, nullptr);
    EXPECT_EQ(app::FAbbild->picture().size(), QSize(410, 352));
    EXPECT_EQ(app::FAbbild->size(), QSize(410, 432));
    EXPECT_EQ(app::FAbbild->windowTitle(), QStringLiteral("07.03.2021"));
    // The controls hidden for the picture are back.
    EXPECT_TRUE(child(main.get(), QStringLiteral("Image2"))->isVisible());
    EXPECT_TRUE(child(main.get(), QStringLiteral("BOpenSpTag"))->isVisible());
    // The stamp sits 220 pixels left of the right edge, 14 above the bottom.
    const QImage picture = app::FAbbild->picture();
    const QImage plain = main->grab(QRect(5, 250, 410, 352)).toImage();
    bool stamped = false;
    for (int y = 338; y < 352; ++y)
        for (int x = 190; x < 260; ++x) stamped |= picture.pixel(x, y) != plain.pixel(x, y);
    EXPECT_TRUE(stamped);
}

TEST_F(ScreenshotTest, EachCaptureOpensItsOwnWindowAtTheStoredPlace) {
    writeSettings("[Position]\r\nFAbbild-left=-20\r\nFAbbild-top=150\r\n");
    openMainWindow();
    app::TFAbbild* first = captureEvaluation();
    app::TFAbbild* second = captureEvaluation();
    app::TFAbbild* third = captureEvaluation();
    ASSERT_TRUE(first && second && third);
    const int n = app::TFAbbild::counter();
    EXPECT_EQ(third->objectName(), QStringLiteral("FAbbild%1").arg(n));
    EXPECT_EQ(second->objectName(), QStringLiteral("FAbbild%1").arg(n - 1));
    EXPECT_EQ(first->objectName(), QStringLiteral("FAbbild%1").arg(n - 2));
    // One screen: a window left of it is brought back, its top kept.
    EXPECT_EQ(third->pos(), QPoint(0, 150));

    third->move(30, 160);
    click(third, QStringLiteral("BPosition"));
    EXPECT_EQ(readWindowPos(QStringLiteral("FAbbild")).left, 30);
    EXPECT_EQ(readWindowPos(QStringLiteral("FAbbild")).top, 160);
    EXPECT_EQ(captureEvaluation()->pos(), QPoint(30, 160));
}

TEST_F(ScreenshotTest, SavedPicturesAreProgressiveJpegsInTheChosenQuality) {
    openMainWindow();
    app::TFAbbild* window = captureEvaluation();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->findChild<QSlider*>(QStringLiteral("Slider1"))->value(), 100);
    EXPECT_EQ(window->findChild<QSlider*>(QStringLiteral("Slider1"))->minimum(), 36);

    const QString shots = appPaths().ShotsFolder;
    save(window, shots + QStringLiteral("voll"), 100);
    const ui::FileDialogRequest& request = dialogs.requests().last();
    EXPECT_EQ(request.title, QStringLiteral("Abbildung speichern"));
    EXPECT_EQ(request.filterName, QStringLiteral("Abbildungen"));
    EXPECT_EQ(request.pattern, QStringLiteral("*.jpg"));
    EXPECT_EQ(request.defaultSuffix, QStringLiteral("jpg"));
    EXPECT_EQ(request.folder, shots);
    EXPECT_EQ(request.proposedName, window->windowTitle());
    EXPECT_TRUE(request.overwritePrompt);

    const QByteArray best = readBytes(shots + QStringLiteral("voll.jpg"));
    const JpegFacts full = inspect(best);
    EXPECT_TRUE(full.jpeg);
    EXPECT_TRUE(full.progressive);
    EXPECT_FALSE(full.baseline);
    EXPECT_EQ(full.firstQuant, 1);

    // Another name: the suffix becomes .jpg.
    save(window, shots + QStringLiteral("bild.png"), 36);
    EXPECT_FALSE(QFile::exists(shots + QStringLiteral("bild.png")));
    const QByteArray low = readBytes(shots + QStringLiteral("bild.jpg"));
    const JpegFacts small = inspect(low);
    EXPECT_TRUE(small.progressive);
    EXPECT_EQ(small.firstQuant, 22);  // the standard table scaled for quality 36
    EXPECT_LT(low.size(), best.size());
    QImage decoded;
    ASSERT_TRUE(decoded.loadFromData(low, "JPG"));
    EXPECT_EQ(decoded.size(), window->picture().size());
    EXPECT_TRUE(boxes.boxes().isEmpty());
}

TEST_F(ScreenshotTest, TheSliderShowsTheQualityItSavesWith) {
    openMainWindow();
    app::TFAbbild* window = captureEvaluation();
    auto* slider = window->findChild<QSlider*>(QStringLiteral("Slider1"));
    auto* value = child<QLabel>(window, QStringLiteral("LQualitaet"));
    EXPECT_EQ(value->text(), QStringLiteral("100"));
    EXPECT_TRUE(value->isVisibleTo(window));
    QTest::keyClick(slider, Qt::Key_Home);
    EXPECT_EQ(value->text(), QStringLiteral("36"));
    QTest::keyClick(slider, Qt::Key_Right);
    EXPECT_EQ(value->text(), QStringLiteral("37"));
    QTest::keyClick(slider, Qt::Key_PageUp);
    EXPECT_EQ(value->text(), QString::number(slider->value()));
    EXPECT_EQ(slider->value(), 45);
}

TEST_F(ScreenshotTest, TheFolderOfTheLastSaveIsRemembered) {
    openMainWindow();
    const QString elsewhere = folder.path(QStringLiteral("bilder/"));
    QDir().mkpath(elsewhere);
    save(captureEvaluation(), elsewhere + QStringLiteral("a.jpg"), 80);
    EXPECT_TRUE(QFile::exists(elsewhere + QStringLiteral("a.jpg")));
    EXPECT_EQ(settings::readString(settings::kScreenshot, QStringLiteral("Pfad")), elsewhere);
    save(captureEvaluation(), elsewhere + QStringLiteral("b.jpg"), 80);
    EXPECT_EQ(dialogs.requests().last().folder, elsewhere);

    // A failed save reports the file error and keeps the folder.
    save(captureEvaluation(), folder.path(QStringLiteral("fehlt/c.jpg")), 80);
    EXPECT_EQ(boxes.texts(), QStringList{QStringLiteral("Die angegebene Datei wurde nicht gefunden")});
    EXPECT_EQ(settings::readString(settings::kScreenshot, QStringLiteral("Pfad")), elsewhere);
}

TEST_F(ScreenshotTest, ASuffixChangeNeverOverwritesUnasked) {
    openMainWindow();
    const QString shots = appPaths().ShotsFolder;
    writeBytes(shots + QStringLiteral("bild.jpg"), "alt");
    boxes.queueAnswer(ui::MessageAnswer::No);
    save(captureEvaluation(), shots + QStringLiteral("bild.png"), 90);
    ASSERT_EQ(boxes.boxes().size(), 1);
    EXPECT_EQ(boxes.boxes().first().buttons, ui::MessageButtons::YesNo);
    EXPECT_EQ(readBytes(shots + QStringLiteral("bild.jpg")), QByteArray("alt"));
    boxes.queueAnswer(ui::MessageAnswer::Yes);
    save(app::FAbbild, shots + QStringLiteral("bild.png"), 90);
    EXPECT_TRUE(inspect(readBytes(shots + QStringLiteral("bild.jpg"))).jpeg);
}

TEST_F(ScreenshotTest, WithoutAPictureNothingIsSavedOrCopied) {
    openMainWindow();
    QWidget empty;
    empty.resize(50, 10);
    app::TFAbbild* window = app::CaptureControl(&empty, QStringLiteral("leer"), 10, 0, 0);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->picture().isNull());
    click(window, QStringLiteral("BSpeichern"));
    click(window, QStringLiteral("BKopieren"));
    EXPECT_EQ(boxes.texts(), (QStringList{QStringLiteral("Kein Bild im Speicher"), QStringLiteral("Kein Bild im Speicher")}));
    EXPECT_EQ(boxes.boxes().first().icon, ui::MessageIcon::Warning);
    EXPECT_TRUE(dialogs.requests().isEmpty());
}

TEST_F(ScreenshotTest, ThePictureGoesToTheClipboard) {
    openMainWindow();
    app::TFAbbild* window = captureEvaluation();
    click(window, QStringLiteral("BKopieren"));
    const QImage copied = QGuiApplication::clipboard()->image();
    EXPECT_EQ(copied.size(), window->picture().size());
    EXPECT_EQ(copied.convertToFormat(QImage::Format_RGB32).pixel(10, 10),
              window->picture().convertToFormat(QImage::Format_RGB32).pixel(10, 10));
}

}  // namespace
