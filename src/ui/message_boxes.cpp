#include "message_boxes.h"

#include "keyboard.h"

#include "core/seam.h"

#include "core/error.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include <new>

namespace korbisto::ui {

namespace {

class QtMessageBoxes : public MessageBoxes {
public:
    MessageAnswer show(QWidget* parent, MessageIcon icon, const QString& text, MessageButtons buttons) override {
        QMessageBox box(parent);
        switch (icon) {
        case MessageIcon::Information:
            box.setIcon(QMessageBox::Information);
            box.setWindowTitle(QStringLiteral("Information"));
            break;
        case MessageIcon::Warning:
            box.setIcon(QMessageBox::Warning);
            box.setWindowTitle(QStringLiteral("Warnung"));
            break;
        case MessageIcon::Error:
            box.setIcon(QMessageBox::Critical);
            box.setWindowTitle(QStringLiteral("Fehler"));
            break;
        case MessageIcon::Confirmation:
            box.setIcon(QMessageBox::Question);
            box.setWindowTitle(QStringLiteral("Bestätigung"));
            break;
        }
        box.setText(text);
        box.setTextFormat(Qt::PlainText);
        QPushButton* yes = nullptr;
        if (buttons == MessageButtons::YesNo) {
            yes = box.addButton(QStringLiteral("&Ja"), QMessageBox::YesRole);
            box.addButton(QStringLiteral("&Nein"), QMessageBox::NoRole);
            box.setDefaultButton(yes);
        } else {
            box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
        }
        // The Enter still held down from the press that asks is no answer.
        actOnFreshKeysOnly(&box);
        box.exec();
        if (!yes) return MessageAnswer::Ok;
        return box.clickedButton() == static_cast<QAbstractButton*>(yes) ? MessageAnswer::Yes : MessageAnswer::No;
    }
};

}  // namespace

using MessageBoxesSeam = Seam<MessageBoxes, QtMessageBoxes>;

MessageBoxes& messageBoxes() { return MessageBoxesSeam::get(); }

void setMessageBoxes(MessageBoxes* boxes) { MessageBoxesSeam::set(boxes); }

void showInformation(QWidget* parent, const QString& text) {
    messageBoxes().show(parent, MessageIcon::Information, text, MessageButtons::Ok);
}

void showWarning(QWidget* parent, const QString& text) {
    messageBoxes().show(parent, MessageIcon::Warning, text, MessageButtons::Ok);
}

void showError(QWidget* parent, const QString& text) {
    messageBoxes().show(parent, MessageIcon::Error, text, MessageButtons::Ok);
}

bool confirm(QWidget* parent, const QString& text) {
    return messageBoxes().show(parent, MessageIcon::Confirmation, text, MessageButtons::YesNo) == MessageAnswer::Yes;
}

void runGuarded(QWidget* parent, const std::function<void()>& handler) {
    try {
        handler();
    } catch (const KorbistoError& error) {
        showError(parent, error.message());
    } catch (const std::bad_alloc&) {
        showError(parent, QStringLiteral("Zu wenig Arbeitsspeicher"));
    }
}

RecordingMessageBoxes::RecordingMessageBoxes() { setMessageBoxes(this); }

RecordingMessageBoxes::~RecordingMessageBoxes() {
    MessageBoxesSeam::release(this);
}

MessageAnswer RecordingMessageBoxes::show(QWidget* parent, MessageIcon icon, const QString& text,
                                          MessageButtons buttons) {
    boxes_.append(Box{icon, text, buttons, parent ? parent->objectName() : QString()});
    if (buttons == MessageButtons::Ok) return MessageAnswer::Ok;
    if (answers_.empty()) return MessageAnswer::Yes;
    const MessageAnswer answer = answers_.front();
    answers_.pop_front();
    return answer;
}

QStringList RecordingMessageBoxes::texts() const {
    QStringList list;
    for (const Box& box : boxes_) list << box.text;
    return list;
}

}  // namespace korbisto::ui
