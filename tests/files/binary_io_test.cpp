#include "files/binary_io.h"

#include "core/tip_table.h"
#include "files/match_day_file.h"
#include "files/slip_file.h"
#include "files/structure_file.h"
#include "files/text_file.h"
#include "support/test_env.h"
#include "support/tip_rows.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace korbisto;
using test::kindAt;

namespace {

const QString kRefused = QStringLiteral("Dateizugriff verweigert");

QByteArray bytesOf(const QString& path) { return QFile::encodeName(path); }

// The names in a folder as the system holds them (Qt skips those that are not UTF-8).
QList<QByteArray> namesIn(const QString& folder) {
    QList<QByteArray> names;
    DIR* dir = ::opendir(bytesOf(folder).constData());
    if (!dir) return names;
    while (const dirent* entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (name != "." && name != "..") names << name;
    }
    ::closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
}

int modeOf(const QString& path) {
    struct stat st {};
    return ::stat(bytesOf(path).constData(), &st) == 0 ? static_cast<int>(st.st_mode & 07777) : -1;
}

// Every reader of the program on one path; each must give the same error.
QStringList readerErrors(const QString& path) {
    TipTable table;
    return {test::errorOf([&] { readSlipFile(path, table); }), test::errorOf([&] { readMatchDayFile(path); }),
            test::errorOf([&] { loadTextFile(path); }), test::errorOf([&] { readStructureFile(path); }),
            test::errorOf([&] { (void)readFileBytes(path, 1 << 20); })};
}

// Both ways the writer works: unnamed files, and named temporaries where a
// file system has none; restored to the first at the end of the scope.
struct WriterModes {
    ~WriterModes() { setNamedTemporariesOnly(false); }
    static constexpr bool kNamed[] = {false, true};
};

// A child process that starts an atomic write of `path`, writes 4 MB of it and
// is killed with `signal`; returns its process id, already reaped.
pid_t killedWrite(const QString& path, int signal) {
    int ready[2];
    if (::pipe(ready) != 0) return -1;
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(ready[0]);
        try {
            AtomicFile file(path);
            file.write(QByteArray(4 << 20, 'x'));
            (void)!::write(ready[1], "w", 1);
            for (;;) ::pause();
        } catch (...) {
        }
        ::_exit(1);
    }
    ::close(ready[1]);
    char byte = 0;
    const bool wrote = ::read(ready[0], &byte, 1) == 1;
    ::close(ready[0]);
    ::kill(child, signal);
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(wrote && WIFSIGNALED(status)) << "the child did not get to its write";
    return child;
}

}  // namespace

TEST(AtomicWrites, AKilledWriteLeavesNothingOnceTheNextWriteIsDone) {
    const WriterModes restore;
    for (const bool named : WriterModes::kNamed) {
        for (const int signal : {SIGKILL, SIGTERM}) {
            for (const bool existed : {false, true}) {
                SCOPED_TRACE(testing::Message()
                             << "named " << named << ", signal " << signal << ", old file " << existed);
                test::TempDataFolder tmp;
                setNamedTemporariesOnly(named);
                const QString target = tmp.path(QStringLiteral("Quick.wh13"));
                if (existed) test::writeBytes(target, "alt");
                const pid_t child = killedWrite(target, signal);

                // Unnamed, the killed write has left nothing; named, its temporary says whose it was.
                QList<QByteArray> left = namesIn(tmp.root());
                left.removeAll("appdata");
                left.removeAll("Quick.wh13");
                if (named) {
                    ASSERT_EQ(left.size(), 1);
                    EXPECT_EQ(left[0], "Quick.wh13.korbisto-tmp-" + QByteArray::number(child) + '-' +
                                           left[0].mid(left[0].lastIndexOf('-') + 1));
                } else {
                    EXPECT_TRUE(left.isEmpty()) << left.join(' ').constData();
                }
                EXPECT_EQ(test::readBytes(target), existed ? QByteArray("alt") : QByteArray());

                writeFileAtomically(target, "neu");
                EXPECT_EQ(namesIn(tmp.root()), (QList<QByteArray>{"Quick.wh13", "appdata"}));
                EXPECT_EQ(test::readBytes(target), QByteArray("neu"));
            }
        }
    }
}

TEST(AtomicWrites, TheStartRemovesOnlyTemporariesOfProcessesGone) {
    const WriterModes restore;
    setNamedTemporariesOnly(true);
    test::TempDataFolder tmp;
    const QByteArray dead = QByteArray::number(killedWrite(tmp.path(QStringLiteral("b.sptag")), SIGKILL));
    const QList<QByteArray> left = namesIn(tmp.root());
    ASSERT_EQ(left.size(), 2);  // appdata and the killed write's temporary
    const QByteArray host = left[1].mid(left[1].indexOf('@') + 1);
    const QByteArray self = QByteArray::number(::getpid());
    const QByteArray folder = bytesOf(tmp.root()) + '/';
    QList<QByteArray> kept{
        "a.krsc.korbisto-tmp-" + self + "-k2@" + host,          // a write still running
        "a.krsc.korbisto-tmp-" + dead + "-k2@anderer-rechner",  // another machine's
        "a.krsc.korbisto-tmp-" + dead + "-k2",                  // no machine
        "a.krsc.korbisto-tmp--k2@" + host,                      // no process
        "a.krsc.korbisto-tmp-+" + dead + "-k2@" + host,         // no number
        "a.krsc." + dead + '@' + host,                          // not ours
    };
    for (const QByteArray& name : kept) test::writeBytes(QFile::decodeName(folder + name), "x");
    kept << "appdata" << "c.krsc.korbisto-tmp-" + dead + "-a@" + host;
    ASSERT_EQ(::mkdir((folder + kept.back()).constData(), 0700), 0);  // only files go
    EXPECT_EQ(removeLeftoverTemporaries(tmp.root()), 1);
    std::sort(kept.begin(), kept.end());
    EXPECT_EQ(namesIn(tmp.root()), kept);
}

TEST(FileNames, BytesThatAreNotUtf8ComeBackAsTheyWere) {
    const QList<QByteArray> samples{
        "plain.krsc",
        "M\xC3\xBCller.krsc",          // valid UTF-8 ü
        "M\xFCller.krsc",              // Windows-1252 ü
        "\xF0\x9F\x98\x80.krsc",       // a character beyond 16 bits
        "\xC0\xAF",                    // overlong "/"
        "\xED\xA0\x80",                // an encoded surrogate
        "\xE2\x82",                    // cut short
        "\xF4\x90\x80\x80",            // beyond U+10FFFF
        "\x80\xBF\xFE\xFF",            // no lead byte at all
        "\xEF\xBF\xBD",                // U+FFFD written as such
    };
    for (const QByteArray& name : samples) {
        const QString text = decodeFileName(name);
        EXPECT_EQ(encodeFileName(text), name) << name.toHex().constData();
        if (name.isValidUtf8()) {
            EXPECT_EQ(text, QString::fromUtf8(name)) << name.toHex().constData();
        } else {
            EXPECT_FALSE(text.contains(QChar(QChar::ReplacementCharacter))) << name.toHex().constData();
        }
    }

    // The file named is the file used, for reading and for writing.
    test::TempDataFolder tmp;
    const QByteArray folder = bytesOf(tmp.root());
    const QByteArray slip = folder + "/Sch\xFCtze.krsc";
    const QByteArray record = test::slipRecord("1021021021021");
    const int fd = ::open(slip.constData(), O_WRONLY | O_CREAT | O_EXCL, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::write(fd, record.constData(), static_cast<size_t>(record.size())), record.size());
    ::close(fd);
    TipTable table;
    ASSERT_EQ(readSlipFile(decodeFileName(slip), table), 1);
    EXPECT_EQ(test::rowDigits(table, 1), QStringLiteral("1021021021021"));

    QList<QByteArray> names = namesIn(tmp.root());
    const QByteArray written = "Gr\xFC\xDF" "e.krsc";
    writeFileAtomically(decodeFileName(folder + '/' + written), "abc");
    names << written;
    std::sort(names.begin(), names.end());
    EXPECT_EQ(namesIn(tmp.root()), names);
    EXPECT_EQ(readFileBytes(decodeFileName(folder + '/' + written), 10), QByteArray("abc"));
}

TEST(FileNames, ANameWithANulNamesNoFile) {
    test::TempDataFolder tmp;
    test::writeBytes(tmp.path(QStringLiteral("a")), "x");
    const QString withNul = tmp.path(QStringLiteral("a")) + QChar(u'\0') + QStringLiteral("b");
    EXPECT_EQ(test::errorOf([&] { (void)readFileBytes(withNul, 10); }),
              QStringLiteral("Die angegebene Datei wurde nicht gefunden"));
    EXPECT_EQ(test::errorOf([&] { writeFileAtomically(withNul, "y"); }),
              QStringLiteral("Die angegebene Datei wurde nicht gefunden"));
    EXPECT_EQ(test::readBytes(tmp.path(QStringLiteral("a"))), QByteArray("x"));
}

TEST(SpecialFiles, ReadersRefuseAFifoAtOnce) {
    test::TempDataFolder tmp;
    const QString path = tmp.path(QStringLiteral("warte.krsc"));
    test::Fifo fifo(path);
    const QString link = tmp.path(QStringLiteral("verweis.sptag"));
    ASSERT_TRUE(QFile::link(path, link));
    EXPECT_EQ(readerErrors(path), QStringList(5, kRefused));
    EXPECT_EQ(readerErrors(link), QStringList(5, kRefused));
    EXPECT_FALSE(fifo.releasedAReader());
    // Folders keep their own error.
    EXPECT_EQ(readerErrors(tmp.root()), QStringList(5, QStringLiteral("E/A-Fehler 21")));
}

TEST(SpecialFiles, ReadersRefuseADevice) {
    test::TempDataFolder tmp;
    const QByteArray zero = bytesOf(tmp.path(QStringLiteral("null.krsc")));
    if (!test::makeCharacterDevice(zero, 5)) GTEST_SKIP() << "no device nodes here (root only)";
    // Read as a file, /dev/zero would never end.
    EXPECT_EQ(readerErrors(QFile::decodeName(zero)), QStringList(5, kRefused));
}

TEST(SpecialFiles, AtomicWritesNeverReplaceWhatIsNoFile) {
    const WriterModes restore;
    for (const bool named : WriterModes::kNamed) {
        setNamedTemporariesOnly(named);
        test::TempDataFolder tmp;
        const test::SpecialTargets special(tmp);
        const QList<QByteArray> before = namesIn(tmp.root());
        for (const QString& target : special.paths()) {
            EXPECT_EQ(test::errorOf([&] { writeFileAtomically(target, QByteArray(80, '\1')); }), kRefused)
                << target.toStdString();
            EXPECT_EQ(test::errorOf([&] { WriteSlipFile(test::tableOf({"1111111111111"}), target); }), kRefused);
        }
        special.expectUnchanged();
        EXPECT_EQ(namesIn(tmp.root()), before);  // no temporary file left behind
    }
}

TEST(SpecialFiles, ALinkToAFileIsWrittenThroughAndKept) {
    const WriterModes restore;
    for (const bool named : WriterModes::kNamed) {
        setNamedTemporariesOnly(named);
        test::TempDataFolder tmp;
        QDir().mkpath(tmp.path(QStringLiteral("echt")));
        const QString file = tmp.path(QStringLiteral("echt/schein.krsc"));
        test::writeBytes(file, "alt");
        ASSERT_EQ(::chmod(bytesOf(file).constData(), 0640), 0);
        // A relative link to a link to the file.
        const QString first = tmp.path(QStringLiteral("echt/kurz.krsc"));
        ASSERT_TRUE(QFile::link(QStringLiteral("schein.krsc"), first));
        const QString second = tmp.path(QStringLiteral("zweit.krsc"));
        ASSERT_TRUE(QFile::link(QStringLiteral("echt/kurz.krsc"), second));

        writeFileAtomically(second, "neu");
        EXPECT_EQ(kindAt(bytesOf(second)), QStringLiteral("link"));
        EXPECT_EQ(kindAt(bytesOf(first)), QStringLiteral("link"));
        EXPECT_EQ(test::readBytes(file), QByteArray("neu"));
        EXPECT_EQ(modeOf(file), 0640);

        // A link to nothing yet makes the file it points at.
        const QString dangling = tmp.path(QStringLiteral("bald.krsc"));
        ASSERT_TRUE(QFile::link(QStringLiteral("echt/spaeter.krsc"), dangling));
        writeFileAtomically(dangling, "da");
        EXPECT_EQ(kindAt(bytesOf(dangling)), QStringLiteral("link"));
        EXPECT_EQ(test::readBytes(tmp.path(QStringLiteral("echt/spaeter.krsc"))), QByteArray("da"));
    }
}
