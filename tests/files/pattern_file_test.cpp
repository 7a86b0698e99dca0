#include "files/pattern_file.h"

#include "core/error.h"
#include "support/test_env.h"

#include <gtest/gtest.h>

using namespace korbisto;
using test::readBytes;

TEST(PatternFile, ThirtyNineLinesOfOneDigitEach) {
    test::TempDataFolder tmp;
    const QString path = tmp.path(QStringLiteral("Quick.wh13"));
    SavePattern(path, PatternLevels{});
    EXPECT_EQ(readBytes(path), QByteArray("0\r\n").repeated(39));

    PatternLevels levels{};
    for (int k = 0; k < kOutcomeCrosses; ++k) levels[static_cast<size_t>(k)] = (k * 7) % 4;
    SavePattern(path, levels);
    EXPECT_EQ(readBytes(path).size(), 117);
    PatternLevels back;
    back.fill(2);
    LoadPattern(path, back);
    EXPECT_EQ(back, levels);
}

TEST(PatternFile, LoadingSetsLineByLine) {
    test::TempDataFolder tmp;
    const QString path = tmp.path(QStringLiteral("Quick.wh13"));
    PatternLevels levels;

    // Fewer lines set only the first levels; any line break will do, a
    // byte-order mark is no part of the first number.
    test::writeBytes(path, "\xEF\xBB\xBF" "3\n2\r1\r\n");
    levels.fill(1);
    LoadPattern(path, levels);
    EXPECT_EQ(levels[0], 3);
    EXPECT_EQ(levels[1], 2);
    EXPECT_EQ(levels[2], 1);
    EXPECT_EQ(levels[3], 1);
    EXPECT_EQ(levels[38], 1);

    // A number outside 0 .. 3 is "out".
    test::writeBytes(path, "7\r\n-1\r\n 2\r\n");
    levels.fill(1);
    LoadPattern(path, levels);
    EXPECT_EQ(levels[0], 0);
    EXPECT_EQ(levels[1], 0);
    EXPECT_EQ(levels[2], 2);

    // A line that is no number stops the load there, with the levels before it set.
    test::writeBytes(path, "3\r\n3\r\nzwei\r\n3\r\n");
    levels.fill(0);
    try {
        LoadPattern(path, levels);
        FAIL() << "no conversion error";
    } catch (const KorbistoError& e) {
        EXPECT_EQ(e.message(), integerConversionError(QStringLiteral("zwei")).message());
    }
    EXPECT_EQ(levels[1], 3);
    EXPECT_EQ(levels[2], 0);
    EXPECT_EQ(levels[3], 0);

    // Lines past the 39th are not read.
    test::writeBytes(path, QByteArray("1\r\n").repeated(39) + "kein Wert\r\n");
    LoadPattern(path, levels);
    EXPECT_EQ(levels[38], 1);

    EXPECT_THROW(LoadPattern(tmp.path(QStringLiteral("fehlt.wh13")), levels), KorbistoError);
    test::writeBytes(path, QByteArray(2 << 20, '1'));
    EXPECT_THROW(LoadPattern(path, levels), KorbistoError);
}
