#pragma once

#include <QPixmap>

namespace korbisto::app {

// The start window's picture, 400 x 300.
QPixmap startPicture();
// The about window's background, 400 x 300.
QPixmap aboutPicture();
// The banner that links to the maker's web site.
QPixmap webSitePicture(int width, int height);

}  // namespace korbisto::app
