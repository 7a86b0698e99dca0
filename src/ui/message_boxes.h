#pragma once

#include <QList>
#include <QString>

#include <deque>
#include <functional>

class QWidget;

namespace korbisto {
class KorbistoError;
}

namespace korbisto::ui {

enum class MessageIcon { Information, Warning, Error, Confirmation };
enum class MessageButtons { Ok, YesNo };
enum class MessageAnswer { Ok, Yes, No };

// Every message box of the program goes through here, so that tests can
// record the boxes instead of blocking on them. Line breaks in the text are
// "\n"; two of them leave an empty line.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    virtual MessageAnswer show(QWidget* parent, MessageIcon icon, const QString& text, MessageButtons buttons) = 0;
};

// The boxes in use; Qt's modal message boxes unless replaced.
MessageBoxes& messageBoxes();
// Not owned; nullptr restores Qt's boxes.
void setMessageBoxes(MessageBoxes* boxes);

void showInformation(QWidget* parent, const QString& text);
void showWarning(QWidget* parent, const QString& text);
void showError(QWidget* parent, const QString& text);
// Yes/No with the confirmation icon; true for Yes.
bool confirm(QWidget* parent, const QString& text);

// Runs an event handler; a KorbistoError (or a failed allocation) ends it
// with an error box, and the program goes on.
void runGuarded(QWidget* parent, const std::function<void()>& handler);

// Records every box and answers from a queue (Yes when the queue is empty).
class RecordingMessageBoxes : public MessageBoxes {
public:
    struct Box {
        MessageIcon icon;
        QString text;
        MessageButtons buttons;
        QString parentName;
    };

    RecordingMessageBoxes();  // installs itself
    ~RecordingMessageBoxes() override;  // restores Qt's boxes

    MessageAnswer show(QWidget* parent, MessageIcon icon, const QString& text, MessageButtons buttons) override;

    void queueAnswer(MessageAnswer answer) { answers_.push_back(answer); }
    const QList<Box>& boxes() const { return boxes_; }
    QStringList texts() const;
    void clear() { boxes_.clear(); }

private:
    QList<Box> boxes_;
    std::deque<MessageAnswer> answers_;
};

}  // namespace korbisto::ui
