#pragma once

#include <QPixmap>

namespace korbisto::app {

// The start window's picture, 400 x 300.
QPixmap startPicture();
// The banner that links to the maker's web site.
QPixmap webSitePicture(int width, int height);

}  // namespace korbisto::app
