#include "cli_common.h"

#include "core/german.h"
#include "core/tip_table.h"

#include <algorithm>
#include <cstdio>

namespace korbisto::cli {

Arguments::Arguments(const QStringList& args, const QStringList& valueOptions, const QStringList& flags) {
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            help_ = true;
            continue;
        }
        if (a.startsWith(QLatin1String("--"))) {
            QString name = a.mid(2);
            QString value;
            bool inlineValue = false;
            if (const qsizetype eq = name.indexOf(u'='); eq >= 0) {
                value = name.mid(eq + 1);
                name = name.left(eq);
                inlineValue = true;
            }
            if (valueOptions.contains(name)) {
                if (!inlineValue) {
                    if (i + 1 >= args.size()) throw UsageError(QStringLiteral("--%1 braucht einen Wert.").arg(name));
                    value = args[++i];
                }
                options_.emplace_back(name, value);
            } else if (flags.contains(name)) {
                if (inlineValue) throw UsageError(QStringLiteral("--%1 nimmt keinen Wert.").arg(name));
                options_.emplace_back(name, QString());
            } else {
                throw UsageError(QStringLiteral("Unbekannte Option: %1").arg(a));
            }
            continue;
        }
        positional_ << a;
    }
}

bool Arguments::has(const QString& name) const {
    for (const auto& [n, v] : options_)
        if (n == name) return true;
    return false;
}

QString Arguments::value(const QString& name) const {
    QString result;
    for (const auto& [n, v] : options_)
        if (n == name) result = v;
    return result;
}

QStringList Arguments::values(const QString& name) const {
    QStringList result;
    for (const auto& [n, v] : options_)
        if (n == name) result << v;
    return result;
}

QString Arguments::required(const QString& name) const {
    if (!has(name)) throw UsageError(QStringLiteral("--%1 fehlt.").arg(name));
    return value(name);
}

void Arguments::expectPositional(int n) const {
    if (positional_.size() != n)
        throw UsageError(n == 1 ? QStringLiteral("Es wird genau eine Datei erwartet.")
                                : QStringLiteral("Unerwartete Argumente: %1").arg(positional_.join(u' ')));
}

std::vector<Command>& commands() {
    static std::vector<Command> list;
    return list;
}

void out(const QString& text) {
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout);
}

void err(const QString& text) {
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stderr);
}

QStringList parseRowArgument(const QString& row, const QString& option) {
    if (row.size() != 13)
        throw UsageError(QStringLiteral("%1 braucht genau 13 Zeichen aus 0, 1, 2, X und -.").arg(option));
    QStringList texts;
    for (QChar c : row) {
        switch (c.unicode()) {
        case u'0':
        case u'1':
        case u'2':
            texts << QString(c);
            break;
        case u'X':
        case u'x':
            texts << QStringLiteral("0");
            break;
        case u'-':
            texts << QString();
            break;
        default:
            throw UsageError(QStringLiteral("%1: „%2“ ist kein Tipp (erlaubt sind 0, 1, 2, X und -).").arg(option, c));
        }
    }
    return texts;
}

QDateTime parseNow(const QString& text) {
    if (text.isEmpty()) return QDateTime::currentDateTime();
    const QDate date = parseDate(text.left(10));
    QTime time(0, 0);
    if (text.size() > 10) {
        if (text[10] != u'T') time = QTime();
        else time = QTime::fromString(text.mid(11), QStringLiteral("HH:mm"));
    }
    if (!date.isValid() || !time.isValid())
        throw UsageError(QStringLiteral("--now erwartet TT.MM.JJJJ oder TT.MM.JJJJTHH:MM, nicht „%1“.").arg(text));
    return QDateTime(date, time);
}

void printRows(const TipTable& table, QChar separator) {
    constexpr int kBlock = 65536;
    for (int first = 1; first < table.rowCount(); first += kBlock)
        out(exportRowsText(table, separator, first, std::min(first + kBlock - 1, table.rowCount() - 1)));
}

QString jsonString(const QString& text) {
    QString s;
    s.reserve(text.size() + 2);
    s += u'"';
    for (QChar c : text) {
        switch (c.unicode()) {
        case u'"':
            s += QStringLiteral("\\\"");
            break;
        case u'\\':
            s += QStringLiteral("\\\\");
            break;
        case u'\n':
            s += QStringLiteral("\\n");
            break;
        case u'\r':
            s += QStringLiteral("\\r");
            break;
        case u'\t':
            s += QStringLiteral("\\t");
            break;
        default:
            if (c.unicode() < 0x20)
                s += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
            else
                s += c;
        }
    }
    s += u'"';
    return s;
}

QString jsonStringArray(const QStringList& texts) {
    QString s = QStringLiteral("[");
    for (qsizetype i = 0; i < texts.size(); ++i) {
        if (i) s += u',';
        s += jsonString(texts[i]);
    }
    s += u']';
    return s;
}

}  // namespace korbisto::cli
