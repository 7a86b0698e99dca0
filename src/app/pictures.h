#pragma once

#include <QImage>
#include <QPixmap>

namespace korbisto::app {

// The start window's picture, 400 x 300.
QPixmap startPicture();
// The about window's background, 400 x 300.
QPixmap aboutPicture();
// The program's icon: the ball on a patch of pitch, `size` pixels square.
QImage programIcon(int size);
// The banner that links to the maker's web site.
QPixmap webSitePicture(int width, int height);

}  // namespace korbisto::app
