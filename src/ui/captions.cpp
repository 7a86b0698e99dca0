#include "captions.h"

namespace korbisto::ui {

namespace {
bool startsWord(const QString& text, qsizetype at, QLatin1StringView word) {
    if (text.mid(at, word.size()) != word) return false;
    const qsizetype after = at + word.size();
    return after >= text.size() || !text[after].isLetter();
}
}  // namespace

QString displayCaption(const QString& text) {
    QString out;
    out.reserve(text.size());
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (c == u'-' && i > 0 && text[i - 1].isLetter() && i + 1 < n && text[i + 1] == u' ') {
            qsizetype j = i + 1;
            while (j < n && text[j] == u' ') ++j;
            if (j < n && text[j].isUpper()) {
                out += u'-';
                i = j - 1;
                continue;
            }
            if (j < n && text[j].isLower() && !startsWord(text, j, QLatin1StringView("und")) &&
                !startsWord(text, j, QLatin1StringView("oder"))) {
                i = j - 1;
                continue;
            }
        }
        if (c == u' ' && !out.isEmpty() && out.back() == u' ') continue;
        out += c;
    }
    return out;
}

}  // namespace korbisto::ui
