#include "gui_support.h"

#include "app/about_window.h"
#include "app/entry_window.h"
#include "app/generator_window.h"
#include "app/program.h"
#include "app/screenshot_window.h"
#include "app/start_window.h"
#include "ui/filtered_edit.h"
#include "ui/forms.h"
#include "ui/style.h"

#include <QAccessible>
#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTest>

#include <functional>
#include <map>

using namespace korbisto;
using namespace korbisto::test;

namespace {

// The window a button of the main window opens.
QWidget* openedBy(app::TFGewonnen& main, const char* button, const char* window) {
    main.findChild<QAbstractButton*>(QString::fromLatin1(button))->click();
    return ui::findForm(QString::fromLatin1(window));
}

// Every window of the program as a user gets to it from the main window.
const std::map<QString, std::function<QWidget*(app::TFGewonnen&)>> kWindows{
    {QStringLiteral("FGewonnen"), [](app::TFGewonnen& main) { return &main; }},
    {QStringLiteral("FEingabe"), [](app::TFGewonnen& main) { return &main.entryWindow(); }},
    {QStringLiteral("FKick"), [](app::TFGewonnen& main) { return &main.generatorWindow(); }},
    {QStringLiteral("FInfo"), [](app::TFGewonnen& main) { return app::showAboutWindow(&main); }},
    {QStringLiteral("FAbbild"), [](app::TFGewonnen& main) { return app::CaptureControl(&main, {}, 0, 0, 0); }},
    {QStringLiteral("FStart"), [](app::TFGewonnen& main) { return new app::TFStart(&main); }},
    {QStringLiteral("Fsptag"), [](app::TFGewonnen& main) { return openedBy(main, "BFSpTagVerw", "Fsptag"); }},
    {QStringLiteral("FNeu"), [](app::TFGewonnen& main) { return openedBy(main, "bsSkinSpeedButton12", "FNeu"); }},
    {QStringLiteral("FAnalyse"), [](app::TFGewonnen& main) { return openedBy(main, "BGewinnplan", "FAnalyse"); }},
};

// The controls a screen reader can act on but cannot name, as paths.
QStringList unnamedControls(QAccessibleInterface* node, const QString& path = QString()) {
    static const QSet<QAccessible::Role> interactive{
        QAccessible::Button, QAccessible::CheckBox, QAccessible::RadioButton, QAccessible::ComboBox,
        QAccessible::EditableText, QAccessible::SpinBox, QAccessible::Slider, QAccessible::Table,
        QAccessible::List, QAccessible::Tree, QAccessible::Link, QAccessible::PageTab};
    const QString name = node->text(QAccessible::Name).trimmed();
    const QString here = path + u'/' + (node->object() ? node->object()->objectName() : name);
    // A combo box is called by the entry it shows; its name is its label.
    const bool named = node->role() == QAccessible::ComboBox ? !node->relations(QAccessible::Label).isEmpty()
                                                              : !name.isEmpty();
    QStringList unnamed;
    if (interactive.contains(node->role()) && !named) unnamed << here;
    // A table's cells are named by what they show; a combo box's list is read
    // through the box.
    if (node->role() != QAccessible::Table && node->role() != QAccessible::ComboBox)
        for (int i = 0; i < node->childCount(); ++i) unnamed << unnamedControls(node->child(i), here);
    return unnamed;
}

QString spokenName(QWidget* control) { return QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name); }

using DesktopTest = WindowTest;

TEST_F(DesktopTest, EveryControlOfEveryWindowHasAName) {
    app::TFGewonnen& main = openMainWindow();
    for (const auto& [name, make] : kWindows)
        EXPECT_EQ(unnamedControls(QAccessible::queryAccessibleInterface(make(main))), QStringList()) << name.toStdString();
    // Icon buttons by their hints, edits by their labels.
    EXPECT_EQ(spokenName(child(&main, QStringLiteral("eQ2"))), QStringLiteral("Quote Rang II"));
    EXPECT_EQ(spokenName(main.GewinnFelder[4]), QStringLiteral("Gewinnreihe Spiel 5"));
    EXPECT_EQ(spokenName(child(ui::findForm(QStringLiteral("FNeu")), QStringLiteral("PvVersion"))),
              QStringLiteral("Verfügbare Version"));
}

TEST_F(DesktopTest, EscapeClosesTheSecondaryWindowsAndKeepsWhatWasTyped) {
    app::TFGewonnen& main = openMainWindow();
    // Per window the control typed into before Escape, if any.
    for (const auto& [name, field] : std::map<QString, QString>{{QStringLiteral("FEingabe"), QStringLiteral("m1")},
                                                                 {QStringLiteral("FKick"), QStringLiteral("eAnz")},
                                                                 {QStringLiteral("FInfo"), QString()},
                                                                 {QStringLiteral("FAbbild"), QString()},
                                                                 {QStringLiteral("Fsptag"), QStringLiteral("ComboDate2")},
                                                                 {QStringLiteral("FNeu"), QString()},
                                                                 {QStringLiteral("FAnalyse"), QStringLiteral("GLive")}}) {
        QPointer<QWidget> window = kWindows.at(name)(main);
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
        if (!field.isEmpty()) {
            child(window, field)->setFocus();
            QTest::keyClicks(child(window, field), QStringLiteral("77"));
        }
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        EXPECT_TRUE(!window || !window->isVisible()) << name.toStdString();
        if (field.isEmpty()) continue;
        if (auto* line = window->findChild<QLineEdit*>(field)) {
            EXPECT_TRUE(line->text().endsWith(QStringLiteral("77")));
        }
        if (auto* text = window->findChild<QPlainTextEdit*>(field)) {
            EXPECT_EQ(text->toPlainText(), QStringLiteral("77"));
        }
    }
    // The main window is no secondary one.
    main.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_TRUE(main.isVisible());
}

TEST_F(DesktopTest, ADarkSystemPaletteAndAThemesFontLeaveTheSkin) {
    // A dark theme as qt6ct's "darker", for the program and for single kinds
    // of controls, in place before the program starts.
    QPalette dark(Qt::white, QColor(0x3d, 0x3d, 0x3d), Qt::white, Qt::black, Qt::gray, Qt::white, Qt::white,
                  QColor(0x3d, 0x3d, 0x3d), QColor(0x42, 0x42, 0x45));
    QApplication::setPalette(dark);
    QApplication::setPalette(dark, "QLabel");
    QApplication::setPalette(dark, "QLineEdit");
    app::StartedProgram program = app::startProgram(*qobject_cast<QApplication*>(QCoreApplication::instance()));
    program.main->show();
    program.generator->show();

    const auto inkOf = [](QWidget* window, const QString& text) {
        for (QLabel* label : window->findChildren<QLabel*>())
            if (label->text() == text) return label->palette().color(QPalette::WindowText);
        return QColor();
    };
    const auto expectSkin = [&] {
        for (const char* text : {"Gewinnreihe:", "Quoten:", "Datei:", "Gesamtgewinn"})
            EXPECT_EQ(inkOf(program.main, QString::fromUtf8(text)), ui::colours::ink) << text;
        EXPECT_EQ(inkOf(program.generator, QStringLiteral("Gewünschte Reihenanzahl:")), ui::colours::ink);
        for (QLineEdit* edit : {static_cast<QLineEdit*>(program.main->QuotenFelder[0]),
                                child<QLineEdit>(program.generator, QStringLiteral("eAnz"))}) {
            EXPECT_EQ(edit->palette().color(QPalette::Base), ui::colours::paper);
            EXPECT_EQ(edit->palette().color(QPalette::Text), ui::colours::ink);
        }
    };
    expectSkin();

    // Once the program runs: qt6ct sets its font, a desktop its colours on a
    // switch to a dark scheme.
    QGuiApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), 12));
    QGuiApplication::setPalette(dark);
    QApplication::setPalette(dark, "QLabel");
    auto* late = new QLabel(QStringLiteral("später"), program.main);
    late->show();
    expectSkin();
    EXPECT_EQ(late->palette().color(QPalette::WindowText), ui::colours::ink);
    EXPECT_EQ(late->font(), ui::tahomaFont(8));

    delete program.start.data();
    delete program.main.data();
}

}  // namespace
