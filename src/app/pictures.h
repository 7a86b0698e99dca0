#pragma once

#include <QImage>
#include <QPixmap>

namespace korbisto::app {

// The pictures are laid out in pixels and painted for a screen that shows
// `ratio` device pixels for each.

// The start window's picture, 400 x 300.
QPixmap startPicture(qreal ratio = 1);
// The about window's background, 400 x 300.
QPixmap aboutPicture(qreal ratio = 1);
// The program's icon: the ball on a patch of pitch, `size` pixels square.
QImage programIcon(int size);
// The banner that links to the maker's web site.
QPixmap webSitePicture(int width, int height, qreal ratio = 1);

}  // namespace korbisto::app
