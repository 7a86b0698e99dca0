#include "files/version_info_file.h"

#include "core/error.h"
#include "support/cli_runner.h"
#include "support/test_env.h"

#include <gtest/gtest.h>

using namespace korbisto;

namespace {

QByteArray record(const QByteArray& text, int length = -1) {
    QByteArray r(kVersionRecordSize, '\x7f');
    r[8] = static_cast<char>(length < 0 ? text.size() : length);
    r.replace(9, text.size(), text);
    return r;
}

}  // namespace

TEST(VersionInfoFile, TheLastWholeRecordCounts) {
    EXPECT_EQ(lastVersionOf(record("1.3.0.0")), QStringLiteral("1.3.0.0"));
    // Two records and a piece of a third: the second one.
    EXPECT_EQ(lastVersionOf(record("1.2.9.9") + record("1.3.0.1") + "\x05" "1.4"), QStringLiteral("1.3.0.1"));
    EXPECT_EQ(lastVersionOf(QByteArray(4, '\0')), std::nullopt);
    EXPECT_EQ(lastVersionOf(QByteArray(23, '\x07')), std::nullopt);
    // A length beyond the field reads the field and no further.
    EXPECT_EQ(lastVersionOf(record("123456789012345", 200)), QStringLiteral("123456789012345"));
    EXPECT_EQ(lastVersionOf(record("", 0)), QString());
    EXPECT_EQ(lastVersionOf(record("1.3\xe9", 4)), QStringLiteral("1.3é"));
}

TEST(VersionInfoFile, TheMakersToolWritesOneRecord) {
    test::TempDataFolder tmp;
    const QString path = tmp.path(QStringLiteral("verinfos.krvi"));
    const auto r = test::runCli({"make-versioninfo", "1.3.0.1", "--out", path});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QByteArray bytes = test::readBytes(path);
    ASSERT_EQ(bytes.size(), 24);
    EXPECT_EQ(bytes.left(9), QByteArray("\0\0\0\0\0\0\0\0\x07", 9));
    EXPECT_EQ(bytes.mid(9, 7), QByteArray("1.3.0.1"));
    EXPECT_EQ(bytes.mid(16), QByteArray(8, '\0'));
    EXPECT_EQ(readVersionInfoFile(path), QStringLiteral("1.3.0.1"));

    for (const char* wrong : {"", "1.2.3.4.5.6.7.8.9", "1.3\t0"}) {
        const auto refused = test::runCli({"make-versioninfo", QString::fromLatin1(wrong), "--out", path});
        EXPECT_EQ(refused.exitCode, 1) << wrong;
        EXPECT_TRUE(refused.err.contains(QStringLiteral("keine Versionsangabe"))) << wrong;
    }
    EXPECT_EQ(readVersionInfoFile(path), QStringLiteral("1.3.0.1"));  // a refusal writes nothing
    EXPECT_EQ(test::runCli({"make-versioninfo", "1.3.0.1"}).exitCode, 2);
}
