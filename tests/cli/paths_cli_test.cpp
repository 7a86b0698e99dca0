#include "support/cli_runner.h"
#include "support/test_env.h"
#include "support/tip_rows.h"

#include <QFile>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

using namespace korbisto;
using test::kindAt;
using test::runCli;

namespace {

// The refusal, naming the file.
QString refused(const QString& path) { return QStringLiteral("\"%1\": Dateizugriff verweigert.\n").arg(path); }
const QString kCrosses = QStringLiteral("1,1,1,1,1,1,1,1,1,1,1,1,10");

QStringList full(const QString& out) {
    return {QStringLiteral("full"), QStringLiteral("--crosses"), kCrosses, QStringLiteral("--out"), out};
}

QStringList makeMatchDay(const QString& out) {
    return {QStringLiteral("make-matchday"), QStringLiteral("--out"), out, QStringLiteral("--date"),
            QStringLiteral("07.03.2021"), QStringLiteral("--result"), QStringLiteral("1021201102120")};
}

}  // namespace

TEST(CliPaths, AFifoIsRefusedRatherThanWaitedFor) {
    test::TempDataFolder tmp;
    const QString fifo = tmp.path(QStringLiteral("rohr.krsc"));
    test::Fifo pipe(fifo, 20);
    const QList<QStringList> runs{
        {QStringLiteral("slip"), fifo},
        {QStringLiteral("matchday"), fifo},
        {QStringLiteral("import"), fifo},
        {QStringLiteral("evaluate"), QStringLiteral("--slip"), fifo, QStringLiteral("--result"),
         QStringLiteral("1021201102120")},
    };
    for (const QStringList& args : runs) {
        const auto r = runCli(args, 40);
        EXPECT_EQ(r.exitCode, 1) << args.first().toStdString();
        EXPECT_EQ(r.err, refused(fifo)) << args.first().toStdString();
    }
    EXPECT_FALSE(pipe.releasedAReader());
}

TEST(CliPaths, OutputNeverReplacesAFifoOrADevice) {
    test::TempDataFolder tmp;
    const test::SpecialTargets special(tmp);
    for (const QString& target : special.paths()) {
        for (const QStringList& args : {full(target), makeMatchDay(target)}) {
            const auto r = runCli(args, 40);
            EXPECT_EQ(r.exitCode, 1) << args.join(u' ').toStdString();
            EXPECT_EQ(r.err, refused(target)) << args.join(u' ').toStdString();
        }
    }
    special.expectUnchanged();

    // A link to a file is written through, and stays a link.
    const QString file = tmp.path(QStringLiteral("echt.krsc"));
    test::writeBytes(file, "alt");
    const QString toFile = tmp.path(QStringLiteral("kurz.krsc"));
    ASSERT_TRUE(QFile::link(file, toFile));
    ASSERT_EQ(runCli(full(toFile)).exitCode, 0);
    EXPECT_EQ(kindAt(QFile::encodeName(toFile)), QStringLiteral("link"));
    EXPECT_EQ(test::readBytes(file).size(), 2 * 40);
}

TEST(CliPaths, AFileNameThatIsNotUtf8IsTheFileNamed) {
    test::TempDataFolder tmp;
    const QByteArray folder = QFile::encodeName(tmp.root());
    // "Schütze" and "Größe" in Windows-1252, as an old archive may have left them.
    const QByteArray slip = folder + "/Sch\xFCtze.krsc";
    const QByteArray record = test::slipRecord("1021021021021");
    const int fd = ::open(slip.constData(), O_WRONLY | O_CREAT | O_EXCL, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::write(fd, record.constData(), static_cast<size_t>(record.size())), record.size());
    ::close(fd);
    auto r = test::runCliWithBytes({"slip", slip});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("1,0,2,1,0,2,1,0,2,1,0,2,1\n"));

    const QByteArray out = folder + "/Gr\xF6\xDF" "e.krsc";
    r = test::runCliWithBytes({"full", "--crosses", kCrosses.toUtf8(), "--out", out});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(kindAt(out), QStringLiteral("file"));
    EXPECT_EQ(kindAt(folder + "/Gr\xEF\xBF\xBD\xEF\xBF\xBD" "e.krsc"), QStringLiteral("nothing"));
    r = test::runCliWithBytes({"slip", out});
    EXPECT_EQ(r.out, QStringLiteral("1,1,1,1,1,1,1,1,1,1,1,1,1\n1,1,1,1,1,1,1,1,1,1,1,1,0\n"));
}
