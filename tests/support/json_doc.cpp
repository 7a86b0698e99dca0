#include "json_doc.h"

#include "test_env.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QRegularExpression>

#include <cmath>
#include <functional>

namespace korbisto::test {
namespace {

// A type of the document's middle column: "optional share", "array of 4, or null".
struct Type {
    QString base;
    int length = -1;
    bool nullable = false;
    bool optional = false;
};

using Schema = QMap<QString, Type>;  // key path -> type

Type typeOf(QString text) {
    Type t;
    text = text.trimmed();
    if (text.startsWith(QLatin1String("optional "))) {
        t.optional = true;
        text = text.mid(9);
    }
    if (text.endsWith(QLatin1String(" or null"))) {
        t.nullable = true;
        text.chop(8);
        if (text.endsWith(u',')) text.chop(1);
    }
    static const QRegularExpression sized(QStringLiteral("^array of (\\d+)$"));
    if (const auto m = sized.match(text); m.hasMatch()) {
        t.base = QStringLiteral("array");
        t.length = m.captured(1).toInt();
    } else {
        t.base = text;
    }
    return t;
}

const QMap<QString, Schema>& document() {
    static const QMap<QString, Schema> schemas = [] {
        QMap<QString, Schema> all;
        const QStringList lines = QString::fromUtf8(readBytes(QStringLiteral(KORBISTO_JSON_DOC))).split(u'\n');
        static const QRegularExpression heading(QStringLiteral("^## `([a-z-]+)`$"));
        QString command;
        for (const QString& line : lines) {
            if (line.startsWith(QLatin1String("## "))) {
                const auto m = heading.match(line);
                command = m.hasMatch() ? m.captured(1) : QString();
            } else if (!command.isEmpty() && line.startsWith(QLatin1String("| `"))) {
                const QStringList cells = line.split(u'|');
                QString key = cells.value(1).trimmed();
                key = key.mid(1, key.size() - 2);  // without the backticks
                all[command][key] = typeOf(cells.value(2));
            }
        }
        return all;
    }();
    return schemas;
}

QString parentOf(const QString& path) {
    if (path.endsWith(QLatin1String("[]"))) return path.chopped(2);
    const qsizetype dot = path.lastIndexOf(u'.');
    return dot < 0 ? QString() : path.left(dot);
}

class Checker {
public:
    Checker(const Schema& schema, QStringList& problems, QSet<QString>* seen)
        : schema_(schema), problems_(problems), seen_(seen) {}

    void object(const QJsonObject& o, const QString& path) {
        for (auto it = o.begin(); it != o.end(); ++it)
            value(it.value(), path.isEmpty() ? it.key() : path + u'.' + it.key());
        for (auto it = schema_.begin(); it != schema_.end(); ++it)
            if (parentOf(it.key()) == path && !it.value().optional && !o.contains(it.key().mid(path.isEmpty() ? 0 : path.size() + 1)))
                problems_ << QStringLiteral("%1: missing").arg(it.key());
    }

private:
    void fail(const QString& path, const QJsonValue& v, const QString& why) {
        problems_ << QStringLiteral("%1: %2 (%3)").arg(path, why, QString::fromUtf8(QJsonDocument(QJsonArray{v}).toJson(QJsonDocument::Compact)));
    }

    void value(const QJsonValue& v, const QString& path) {
        if (!schema_.contains(path)) {
            problems_ << QStringLiteral("%1: not in the document").arg(path);
            return;
        }
        if (seen_) seen_->insert(path);
        const Type& t = schema_[path];
        if (v.isNull()) {
            if (!t.nullable) fail(path, v, QStringLiteral("null"));
            return;
        }
        // The document's types: texts by their form, numbers by their range.
        static const QMap<QString, QRegularExpression> texts{
            {QStringLiteral("row"), QRegularExpression(QStringLiteral("^[102]{13}$"))},
            {QStringLiteral("partial row"), QRegularExpression(QStringLiteral("^[102-]{13}$"))},
            {QStringLiteral("imported row"), QRegularExpression(QStringLiteral("^[102?-]{13}$"))},
            {QStringLiteral("date"), QRegularExpression(QStringLiteral("^\\d{4}-(0[1-9]|1[0-2])-(0[1-9]|[12]\\d|3[01])$"))},
            {QStringLiteral("rank"), QRegularExpression(QStringLiteral("^(I|II|III|IV)$"))},
            {QStringLiteral("string"), QRegularExpression(QStringLiteral("^"), QRegularExpression::DotMatchesEverythingOption)},
        };
        static const QMap<QString, std::function<bool(double)>> numbers{
            {QStringLiteral("count"), [](double d) { return d >= 0 && d == std::floor(d); }},
            {QStringLiteral("amount"), [](double d) { return d >= 0 && std::abs(d * 100 - std::round(d * 100)) < 1e-6 * std::max(1.0, d); }},
            {QStringLiteral("share"), [](double d) { return d >= 0 && d <= 1; }},
            {QStringLiteral("number"), [](double d) { return d >= 0 && std::isfinite(d); }},
        };
        bool ok = true;
        if (t.base == QLatin1String("object")) {
            ok = v.isObject();
            if (ok) object(v.toObject(), path);
        } else if (t.base == QLatin1String("array")) {
            ok = v.isArray() && (t.length < 0 || v.toArray().size() == t.length);
            if (ok)
                for (const QJsonValue& e : v.toArray()) value(e, path + QStringLiteral("[]"));
        } else if (t.base == QLatin1String("boolean")) {
            ok = v.isBool();
        } else if (texts.contains(t.base)) {
            ok = v.isString() && texts[t.base].match(v.toString()).hasMatch();
        } else if (numbers.contains(t.base)) {
            ok = v.isDouble() && numbers[t.base](v.toDouble());
        } else {
            problems_ << QStringLiteral("%1: the document names no such type \"%2\"").arg(path, t.base);
            return;
        }
        if (!ok) fail(path, v, QStringLiteral("not a %1").arg(t.base + (t.length >= 0 ? QStringLiteral(" of %1").arg(t.length) : QString())));
    }

    const Schema& schema_;
    QStringList& problems_;
    QSet<QString>* seen_;
};

}  // namespace

QStringList documentedJsonCommands() { return document().keys(); }

QStringList jsonDocProblems(const QString& command, const QByteArray& output, QSet<QString>* seen) {
    if (!document().contains(command)) return {QStringLiteral("docs/json.md has no section for %1").arg(command)};
    if (!output.endsWith("}\n") || output.count('\n') != 1) return {QStringLiteral("not one line of JSON")};
    QJsonParseError error;
    const QJsonDocument json = QJsonDocument::fromJson(output, &error);
    if (error.error != QJsonParseError::NoError || !json.isObject())
        return {QStringLiteral("no JSON object: %1").arg(error.errorString())};
    QStringList problems;
    Checker(document()[command], problems, seen).object(json.object(), QString());
    return problems;
}

QStringList unseenKeys(const QString& command, const QSet<QString>& seen) {
    QStringList unseen;
    for (const QString& key : document().value(command).keys())
        if (!seen.contains(key)) unseen << key;
    return unseen;
}

}  // namespace korbisto::test
