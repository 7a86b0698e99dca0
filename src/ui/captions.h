#pragma once

#include <QString>

namespace korbisto::ui {

// Captions were hyphenated by hand for a fixed layout ("Gewinn- Prüfung",
// "Aus- wertung"); here the toolkit wraps them, so the breaks are undone:
// before a capital the hyphen stays ("Gewinn-Prüfung"), before a small letter
// the word is joined ("Auswertung"), except before "und" and "oder"
// ("Kürzungs- und Grundtippsysteme"). Doubled blanks become one.
QString displayCaption(const QString& text);

}  // namespace korbisto::ui
