#include "filter_list.h"

#include "core/error.h"
#include "core/text_helpers.h"

#include <QList>

namespace korbisto {

namespace {

const QString kMagic = QStringLiteral("Korbisto-Filter");

[[noreturn]] void refuse(const QString& fileName, qsizetype line, const QString& reason) {
    throw KorbistoError(refusal(QStringLiteral("„%1“, Zeile %2: %3").arg(fileName).arg(line).arg(reason)));
}

}  // namespace

QByteArray filterFileText(const FilterList& list) {
    QString text = kMagic + u' ' + QString::number(kFilterFileVersion) + QStringLiteral("\r\n");
    const auto line = [&](const QString& key, const QString& value) { text += key + u' ' + value + QStringLiteral("\r\n"); };
    line(QStringLiteral("tolerance"), QString::number(list.tolerance));
    if (list.levels) line(QStringLiteral("levels"), levelPatternText(*list.levels));
    for (const RowFilter& f : list.filters) line(filterKindName(f.kind), rowFilterText(f));
    switch (list.probability.mode) {
    case ProbabilityFilter::Mode::AtLeast:
        line(QStringLiteral("probability"), shareText(list.probability.share));
        break;
    case ProbabilityFilter::Mode::Best: line(QStringLiteral("best"), QString::number(list.probability.best)); break;
    case ProbabilityFilter::Mode::None: break;
    }
    return text.toUtf8();
}

FilterList parseFilterFile(const QByteArray& bytes, const QString& fileName) {
    QString text = QString::fromUtf8(bytes);
    if (text.startsWith(QChar(0xFEFF))) text.remove(0, 1);
    const QList<QStringView> lines = QStringView(text).split(u'\n');

    const QStringView first = lines.front().trimmed();
    const QList<QStringView> head = first.split(u' ', Qt::SkipEmptyParts);
    const std::optional<int> version = head.size() == 2 && head[0] == kMagic ? parseCount(head[1]) : std::nullopt;
    if (!version || *version == 0)
        refuse(fileName, 1, QStringLiteral("„%1“ ist nicht der Anfang einer Filterliste von Korbisto.").arg(quotedInput(first)));
    if (*version > kFilterFileVersion)
        refuse(fileName, 1,
               QStringLiteral("Die Filterliste hat die Version %1, diese Version von Korbisto liest nur die Version %2. "
                              "Eine neuere Version von Korbisto liest sie.")
                   .arg(*version)
                   .arg(kFilterFileVersion));

    FilterList list;
    // The line of each setting that may stand only once, 0 while it is unset.
    qsizetype toleranceLine = 0;
    qsizetype levelsLine = 0;
    qsizetype probabilityLine = 0;
    qsizetype firstLevelLine = 0;
    for (qsizetype n = 1; n < lines.size(); ++n) {
        const qsizetype number = n + 1;
        const QStringView line = lines[n].trimmed();
        if (line.isEmpty() || line.startsWith(u'#')) continue;
        qsizetype gap = 0;
        while (gap < line.size() && !line[gap].isSpace()) ++gap;
        const QStringView key = line.left(gap);
        const QStringView value = line.mid(gap).trimmed();
        const auto once = [&](qsizetype& seen, const QString& what) {
            if (seen != 0) refuse(fileName, number, QStringLiteral("%1 stand schon in Zeile %2.").arg(what).arg(seen));
            seen = number;
        };
        const QString probabilityWhat = QStringLiteral("Ein Filter der Wahrscheinlichkeit");
        if (const std::optional<FilterKind> kind = filterKindOfName(key)) {
            if (list.filters.size() >= static_cast<size_t>(kMostFilters))
                refuse(fileName, number, QStringLiteral("Mehr als %1 Filter nimmt eine Liste nicht auf.").arg(kMostFilters));
            const Parsed<RowFilter> f = parseRowFilter(*kind, value);
            if (!f.value) refuse(fileName, number, f.error);
            if (*kind == FilterKind::Level && firstLevelLine == 0) firstLevelLine = number;
            list.filters.push_back(*f.value);
        } else if (key == u"tolerance") {
            once(toleranceLine, QStringLiteral("Die Toleranz"));
            const std::optional<int> k = parseCount(value);
            if (!k) refuse(fileName, number, QStringLiteral("„%1“ ist keine Toleranz (eine Zahl ab 0).").arg(quotedInput(value)));
            list.tolerance = *k;
        } else if (key == u"levels") {
            once(levelsLine, QStringLiteral("Eine Zeile „levels“"));
            const Parsed<PatternLevels> levels = parseLevelPattern(value);
            if (!levels.value) refuse(fileName, number, levels.error);
            list.levels = levels.value;
        } else if (key == u"probability") {
            once(probabilityLine, probabilityWhat);
            const Parsed<double> share = parseShare(value);
            if (!share.value) refuse(fileName, number, share.error);
            list.probability = {ProbabilityFilter::Mode::AtLeast, *share.value, 0};
        } else if (key == u"best") {
            once(probabilityLine, probabilityWhat);
            const std::optional<int> best = parseCount(value);
            if (!best || *best == 0)
                refuse(fileName, number,
                       QStringLiteral("„%1“ ist keine Anzahl von Reihen (eine ganze Zahl ab 1).").arg(quotedInput(value)));
            list.probability = {ProbabilityFilter::Mode::Best, 0, *best};
        } else {
            refuse(fileName, number, QStringLiteral("„%1“ ist kein Filter.").arg(quotedInput(line)));
        }
    }
    if (firstLevelLine != 0 && !list.levels)
        refuse(fileName, firstLevelLine, QStringLiteral("Ein Filter „level“ braucht eine Zeile „levels“ mit den Stufen."));
    return list;
}

}  // namespace korbisto
