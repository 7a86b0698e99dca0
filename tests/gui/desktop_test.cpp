#include "gui_support.h"

#include "app/about_window.h"
#include "app/entry_window.h"
#include "app/generator_window.h"
#include "app/main_window.h"
#include "app/program.h"
#include "app/screenshot_window.h"
#include "app/start_window.h"
#include "ui/filtered_edit.h"
#include "ui/style.h"
#include "ui/text_field.h"

#include <QAccessible>
#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QTest>

#include <functional>

using namespace korbisto;
using namespace korbisto::test;

namespace {

// Every window of the program, made or shown as a user gets to it from the
// main window.
using WindowMaker = std::function<QWidget*(app::TFGewonnen&)>;
const std::vector<std::pair<const char*, WindowMaker>>& programWindows() {
    static const std::vector<std::pair<const char*, WindowMaker>> windows{
        {"FGewonnen", [](app::TFGewonnen& main) { return &main; }},
        {"FEingabe", [](app::TFGewonnen& main) { return &main.entryWindow(); }},
        {"FKick", [](app::TFGewonnen& main) { return &main.generatorWindow(); }},
        {"FInfo", [](app::TFGewonnen& main) { return app::showAboutWindow(&main); }},
        {"FAbbild", [](app::TFGewonnen& main) { return app::CaptureControl(&main, QStringLiteral("Bild"), 0, 0, 0); }},
        {"FStart", [](app::TFGewonnen& main) { return new app::TFStart(&main); }},
    };
    return windows;
}

// The controls of a window that a screen reader can act on but has no name
// for, as paths of object names.
QStringList unnamedControls(QWidget* window) {
    static const QSet<QAccessible::Role> interactive{
        QAccessible::Button,   QAccessible::CheckBox, QAccessible::RadioButton, QAccessible::ComboBox,
        QAccessible::EditableText, QAccessible::SpinBox, QAccessible::Slider,   QAccessible::Table,
        QAccessible::List,     QAccessible::Tree,     QAccessible::Link,        QAccessible::PageTab};
    QStringList unnamed;
    const std::function<void(QAccessibleInterface*, const QString&)> walk = [&](QAccessibleInterface* node,
                                                                              const QString& path) {
        const QString name = node->text(QAccessible::Name).trimmed();
        const QString here = path + u'/' + (node->object() ? node->object()->objectName() : name);
        if (interactive.contains(node->role()) && name.isEmpty()) unnamed << here;
        // A table's cells are named by what they show.
        if (node->role() == QAccessible::Table) return;
        for (int i = 0; i < node->childCount(); ++i)
            if (QAccessibleInterface* child = node->child(i)) walk(child, here);
    };
    QAccessibleInterface* top = QAccessible::queryAccessibleInterface(window);
    if (!top) return {QStringLiteral("no interface for ") + window->objectName()};
    walk(top, QString());
    return unnamed;
}

class DesktopTest : public WindowTest {
protected:
    void showActive(QWidget* window) {
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    }
    template <typename T>
    T* childOf(QWidget* window, const char* name) {
        return child<T>(window, QString::fromLatin1(name));
    }
};

TEST_F(DesktopTest, EveryControlOfEveryWindowHasAName) {
    app::TFGewonnen& main = openMainWindow();
    for (const auto& [name, make] : programWindows()) {
        QWidget* window = make(main);
        ASSERT_NE(window, nullptr) << name;
        EXPECT_EQ(unnamedControls(window), QStringList()) << name;
    }
    // The painted cross sheet: a check box for every outcome box.
    QAccessibleInterface* sheet = QAccessible::queryAccessibleInterface(childOf<QWidget>(&main, "PKreuz"));
    ASSERT_EQ(sheet->childCount(), 39);
    EXPECT_EQ(sheet->child(7)->text(QAccessible::Name), QStringLiteral("Spiel 3: 0"));
    EXPECT_EQ(sheet->child(7)->role(), QAccessible::CheckBox);
    // Icon buttons are named by their hints, edits by their labels.
    for (const auto& [object, spoken] : std::vector<std::pair<const char*, const char*>>{
             {"BSpende", "Einen Wachmacher spendieren"}, {"bsSkinSpeedButton12", "Programm aktualisieren"},
             {"eQ2", "Quote Rang II"}, {"G1", "Tippreihen"}})
        EXPECT_EQ(QAccessible::queryAccessibleInterface(childOf<QWidget>(&main, object))->text(QAccessible::Name),
                  QString::fromUtf8(spoken));
    EXPECT_EQ(QAccessible::queryAccessibleInterface(main.GewinnFelder[4])->text(QAccessible::Name),
              QStringLiteral("Gewinnreihe Spiel 5"));
}

TEST_F(DesktopTest, EscapeClosesTheSecondaryWindowsAndKeepsWhatWasTyped) {
    app::TFGewonnen& main = openMainWindow();
    struct Case {
        const char* window;
        const char* field;  // typed into before Escape, if any
    };
    for (const Case& c : {Case{"FEingabe", "m1"}, Case{"FKick", "eAnz"}, Case{"FInfo", nullptr}, Case{"FAbbild", nullptr}}) {
        const auto& maker = std::find_if(programWindows().begin(), programWindows().end(),
                                         [&](const auto& w) { return qstrcmp(w.first, c.window) == 0; })
                                ->second;
        QPointer<QWidget> window = maker(main);
        showActive(window);
        if (c.field) {
            QWidget* field = childOf<QWidget>(window, c.field);
            field->setFocus();
            QTest::keyClicks(field, QStringLiteral("77"));
        }
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        EXPECT_TRUE(!window || !window->isVisible()) << c.window;
        if (c.field) {
            window->show();
            const QString kept = qobject_cast<QLineEdit*>(childOf<QWidget>(window, c.field))
                                     ? childOf<QLineEdit>(window, c.field)->text()
                                     : childOf<ui::TextField>(window, c.field)->toPlainText();
            EXPECT_TRUE(kept.endsWith(QStringLiteral("77"))) << c.window;
        }
    }
    // The main window is no secondary one: Escape leaves it open.
    showActive(&main);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_TRUE(main.isVisible());
}

TEST_F(DesktopTest, ADarkSystemPaletteAndAThemesFontLeaveTheSkin) {
    // A dark theme as qt6ct's "darker" gives it, for the program and for
    // single kinds of controls, in place before the program starts.
    QPalette dark(QColor(0x42, 0x42, 0x45), QColor(0x42, 0x42, 0x45));
    for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        dark.setColor(role, Qt::white);
    dark.setColor(QPalette::Base, QColor(0x3d, 0x3d, 0x3d));
    QApplication::setPalette(dark);
    for (const char* kind : {"QLabel", "QLineEdit", "QAbstractItemView", "QAbstractButton"})
        QApplication::setPalette(dark, kind);

    app::StartedProgram program = app::startProgram(*qobject_cast<QApplication*>(QCoreApplication::instance()));
    for (QWidget* window : {static_cast<QWidget*>(program.main), static_cast<QWidget*>(program.entry),
                            static_cast<QWidget*>(program.generator)})
        window->show();
    const auto labelNamed = [](QWidget* window, const QString& text) -> QLabel* {
        for (QLabel* label : window->findChildren<QLabel*>())
            if (label->text() == text) return label;
        ADD_FAILURE() << text.toStdString();
        return nullptr;
    };
    const std::vector<std::pair<QWidget*, const char*>> labels{
        {program.main, "Gewinnreihe:"}, {program.main, "Quoten:"},      {program.main, "Datei:"},
        {program.main, "Gesamtgewinn"},  {program.main, "Struktur:"},    {program.entry, "Reihen:"},
        {program.generator, "Gewünschte Reihenanzahl:"},                 {program.generator, "Kombinationen:"}};
    for (const auto& [window, text] : labels) {
        if (QLabel* label = labelNamed(window, QString::fromUtf8(text))) {
            EXPECT_EQ(label->palette().color(label->foregroundRole()), ui::colours::ink) << text;
        }
    }
    for (QLineEdit* edit : {static_cast<QLineEdit*>(program.main->QuotenFelder[0]),
                            static_cast<QLineEdit*>(program.main->GewinnFelder[0]),
                            childOf<QLineEdit>(program.generator, "eAnz")}) {
        EXPECT_EQ(edit->palette().color(QPalette::Base), ui::colours::paper) << edit->objectName().toStdString();
        EXPECT_EQ(edit->palette().color(QPalette::Text), ui::colours::ink) << edit->objectName().toStdString();
    }
    EXPECT_EQ(childOf<QWidget>(program.entry, "m1")->palette().color(QPalette::Base), ui::colours::paper);

    // The theme again once the program runs, as qt6ct sets its font and a
    // desktop its colours on a switch to a dark scheme.
    QGuiApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), 12));
    QApplication::setPalette(dark, "QLabel");
    QGuiApplication::setPalette(dark);
    auto* late = new QLabel(QStringLiteral("später"), program.main);
    late->show();
    EXPECT_EQ(late->palette().color(QPalette::WindowText), ui::colours::ink);
    EXPECT_EQ(late->font(), ui::tahomaFont(8));
    EXPECT_EQ(labelNamed(program.main, QStringLiteral("Quoten:"))->palette().color(QPalette::WindowText), ui::colours::ink);

    delete program.start.data();
    delete program.main.data();
}

}  // namespace
