#pragma once

#include <QIdentityProxyModel>
#include <QList>
#include <QString>
#include <QStringList>

#include <deque>

class QWidget;

namespace korbisto::ui {

// What an open or save dialog is asked to show.
struct FileDialogRequest {
    enum class Mode { Open, Save };

    Mode mode = Mode::Open;
    QString title;
    QString filterName;     // "Spielschein"
    QString pattern;        // "*.krsc"
    QString defaultSuffix;  // "krsc", added when the name has none
    QString folder;         // where the dialog opens
    QString proposedName;   // file name shown at first (save dialogs)
    bool overwritePrompt = false;
    bool mustExist = false;
    bool multiSelect = false;

    static FileDialogRequest open(QString title, QString filterName, QString pattern, QString suffix, QString folder);
    static FileDialogRequest save(QString title, QString filterName, QString pattern, QString suffix, QString folder);
};

// The file dialogs of the program. An empty list means the user cancelled.
class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    virtual QStringList choose(QWidget* parent, const FileDialogRequest& request) = 0;
};

FileDialogs& fileDialogs();
// Not owned; nullptr restores Qt's dialogs.
void setFileDialogs(FileDialogs* dialogs);

// The first chosen file, or empty.
QString chooseFile(QWidget* parent, const FileDialogRequest& request);

// The list of Qt's file dialog with sizes and dates written the German way:
// Qt takes them from the system's language, which may not be German.
class GermanFileList : public QIdentityProxyModel {
    Q_OBJECT

public:
    using QIdentityProxyModel::QIdentityProxyModel;
    // The columns of a QFileSystemModel.
    static constexpr int kSizeColumn = 1;
    static constexpr int kDateColumn = 3;

    QVariant data(const QModelIndex& index, int role) const override;
};

// Records every request and answers from a queue (cancel when it is empty).
class RecordingFileDialogs : public FileDialogs {
public:
    RecordingFileDialogs();            // installs itself
    ~RecordingFileDialogs() override;  // restores Qt's dialogs

    QStringList choose(QWidget* parent, const FileDialogRequest& request) override;

    void queueAnswer(const QString& path) { answers_.push_back(QStringList{path}); }
    void queueCancel() { answers_.push_back(QStringList{}); }
    const QList<FileDialogRequest>& requests() const { return requests_; }

private:
    QList<FileDialogRequest> requests_;
    std::deque<QStringList> answers_;
};

}  // namespace korbisto::ui
