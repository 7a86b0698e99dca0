#pragma once

#include <QIcon>
#include <QString>
#include <QToolButton>

namespace korbisto::ui {

// The pictures of the icon buttons, drawn by the program itself.
enum class IconKind {
    Exit,
    Download,
    Ball,
    SlipEntry,
    Update,
    Coffee,
    Pin,
    Info,
    Camera,
    Eraser,
    Csv,
    SortByHits,
    RestoreOrder,
    Clipboard,
    Close,
    OpenFolder,
    Save,
    Stop,
    Chart,
};

QIcon makeIcon(IconKind kind, int size = 24);

// A flat button with an icon and, where given, a caption beside it.
QToolButton* makeToolButton(QWidget* parent, const QString& objectName, IconKind icon, const QString& caption,
                            const QString& hint, int iconSize = 20);

}  // namespace korbisto::ui
