#include "support/cli_runner.h"

#include "support/test_env.h"

#include <gtest/gtest.h>

using namespace korbisto;
using test::runCli;

namespace {
// Bytes a terminal acts on: escape, bell, NUL, carriage return.
bool holdsControlBytes(const QByteArray& bytes) {
    for (const char c : bytes)
        if (c != '\n' && static_cast<unsigned char>(c) < 32) return true;
    return false;
}
}  // namespace

TEST(CliMessages, InputIsQuotedShortAndVisible) {
    test::TempDataFolder tmp;
    const QString pattern = tmp.path(QStringLiteral("Quick.wh13"));
    const struct {
        QByteArray patternLine;
        QStringList args;  // instead of a pattern file
        QString message;  // after the file's name where a file is read
    } cases[] = {
        {"\x1b]0;Titel\x07\x1b[31m", {}, QStringLiteral("''␛]0;Titel␇␛[31m'' ist kein gültiger Integer-Wert.\n")},
        {QByteArray(900 * 1024, '1') + '\0', {},
         QStringLiteral("''") + QString(40, u'1') + QStringLiteral("…'' ist kein gültiger Integer-Wert.\n")},
        {{}, {"slip", "--\x1b[2J" + QString(100, u'x')},
         QStringLiteral("Unbekannte Option: --␛[2J") + QString(34, u'x') + u'…'},
        {{}, {"evaluate", "--slip", "s.krsc", "--now", "\r01.01.2021"},
         QStringLiteral("--now erwartet TT.MM.JJJJ[THH:MM] oder JJJJ-MM-TT[THH:MM], nicht „␍01.01.2021“.")},
    };
    for (const auto& c : cases) {
        QStringList args = c.args;
        QString message = c.message;
        if (args.isEmpty()) {
            test::writeBytes(pattern, "1\r\n" + c.patternLine + "\r\n");
            args = {"generate", "--pattern-file", pattern};
            message.prepend(QStringLiteral("\"%1\": ").arg(pattern));
        }
        const auto r = runCli(args);
        EXPECT_NE(r.exitCode, 0);
        EXPECT_TRUE(r.err.startsWith(message)) << r.err.left(200).toStdString();
        EXPECT_FALSE(holdsControlBytes(r.err.toUtf8()));
        EXPECT_LT(r.err.size(), 4000);  // the usage text at most, never the input
    }
}
