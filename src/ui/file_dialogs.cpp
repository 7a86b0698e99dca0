#include "file_dialogs.h"

#include "core/german.h"
#include "core/seam.h"

#include <QDateTime>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>

namespace korbisto::ui {

FileDialogRequest FileDialogRequest::open(QString title, QString filterName, QString pattern, QString suffix,
                                          QString folder) {
    FileDialogRequest r;
    r.mode = Mode::Open;
    r.title = std::move(title);
    r.filterName = std::move(filterName);
    r.pattern = std::move(pattern);
    r.defaultSuffix = std::move(suffix);
    r.folder = std::move(folder);
    return r;
}

FileDialogRequest FileDialogRequest::save(QString title, QString filterName, QString pattern, QString suffix,
                                          QString folder) {
    FileDialogRequest r = open(std::move(title), std::move(filterName), std::move(pattern), std::move(suffix),
                               std::move(folder));
    r.mode = Mode::Save;
    r.overwritePrompt = true;
    return r;
}

QVariant GermanFileList::data(const QModelIndex& index, int role) const {
    const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
    if (role != Qt::DisplayRole || !files || !index.isValid()) return QIdentityProxyModel::data(index, role);
    const QModelIndex source = mapToSource(index);
    if (index.column() == kSizeColumn && !files->isDir(source)) return formatDataSize(files->size(source));
    if (index.column() == kDateColumn) {
        const QDateTime modified = files->lastModified(source);
        // The short form fits the dialog's column.
        if (modified.isValid()) return germanLocale().toString(modified, QLocale::ShortFormat);
    }
    return QIdentityProxyModel::data(index, role);
}

namespace {

class QtFileDialogs : public FileDialogs {
public:
    QStringList choose(QWidget* parent, const FileDialogRequest& request) override {
        QFileDialog dialog(parent, request.title, request.folder);
        // Qt's own dialog: it honours the default suffix and the overwrite
        // question the same way on every desktop.
        dialog.setOption(QFileDialog::DontUseNativeDialog, true);
        dialog.setProxyModel(new GermanFileList(&dialog));
        dialog.setNameFilter(request.filterName + QStringLiteral(" (") + request.pattern + u')');
        dialog.setDefaultSuffix(request.defaultSuffix);
        if (request.mode == FileDialogRequest::Mode::Save) {
            dialog.setAcceptMode(QFileDialog::AcceptSave);
            dialog.setFileMode(QFileDialog::AnyFile);
            dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.overwritePrompt);
            if (!request.proposedName.isEmpty()) dialog.selectFile(request.proposedName);
        } else {
            dialog.setAcceptMode(QFileDialog::AcceptOpen);
            dialog.setFileMode(request.multiSelect ? QFileDialog::ExistingFiles
                               : request.mustExist ? QFileDialog::ExistingFile
                                                   : QFileDialog::AnyFile);
        }
        dialog.setLabelText(QFileDialog::Accept,
                            request.mode == FileDialogRequest::Mode::Save ? QStringLiteral("&Speichern")
                                                                          : QStringLiteral("Ö&ffnen"));
        dialog.setLabelText(QFileDialog::Reject, QStringLiteral("Abbrechen"));
        dialog.setLabelText(QFileDialog::LookIn, QStringLiteral("Suchen in:"));
        dialog.setLabelText(QFileDialog::FileName, QStringLiteral("Dateiname:"));
        dialog.setLabelText(QFileDialog::FileType, QStringLiteral("Dateityp:"));
        if (dialog.exec() != QDialog::Accepted) return {};
        return dialog.selectedFiles();
    }
};

}  // namespace

using FileDialogsSeam = Seam<FileDialogs, QtFileDialogs>;

FileDialogs& fileDialogs() { return FileDialogsSeam::get(); }

void setFileDialogs(FileDialogs* dialogs) { FileDialogsSeam::set(dialogs); }

QString chooseFile(QWidget* parent, const FileDialogRequest& request) {
    const QStringList chosen = fileDialogs().choose(parent, request);
    return chosen.isEmpty() ? QString() : chosen.first();
}

RecordingFileDialogs::RecordingFileDialogs() { setFileDialogs(this); }

RecordingFileDialogs::~RecordingFileDialogs() {
    FileDialogsSeam::release(this);
}

QStringList RecordingFileDialogs::choose(QWidget*, const FileDialogRequest& request) {
    requests_.append(request);
    if (answers_.empty()) return {};
    QStringList answer = answers_.front();
    answers_.pop_front();
    // As the real dialog does: a name without a suffix gets the default one.
    if (!request.defaultSuffix.isEmpty()) {
        for (QString& path : answer) {
            if (!QFileInfo(path).fileName().contains(u'.')) path += u'.' + request.defaultSuffix;
        }
    }
    return answer;
}

}  // namespace korbisto::ui
