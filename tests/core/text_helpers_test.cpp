#include "core/error.h"
#include "core/text_helpers.h"

#include <gtest/gtest.h>

using namespace korbisto;

namespace {
// Each character 6 px wide, a blank 3 px: the examples of the padding rule.
int fixedWidth(const QString& text) {
    int w = 0;
    for (QChar c : text) w += c == u' ' ? 3 : 6;
    return w;
}
int blankCount(const QString& s) {
    int n = 0;
    while (n < s.size() && s[n] == u' ') ++n;
    return n;
}
}  // namespace

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour) {
    EXPECT_EQ(roundHalfEven(2.5), 2);
    EXPECT_EQ(roundHalfEven(3.5), 4);
    EXPECT_EQ(roundHalfEven(0.5), 0);
    EXPECT_EQ(roundHalfEven(1.5), 2);
    EXPECT_EQ(roundHalfEven(-0.5), 0);
    EXPECT_EQ(roundHalfEven(-1.5), -2);
    EXPECT_EQ(roundHalfEven(1.3333), 1);
}

TEST(PadText, CentresWithinSevenTenthsOfTheCell) {
    // width 40: target 28; text 22 px -> Round(6 / 6) = 1 blank
    auto width22 = [](const QString& t) { return t == QLatin1String(" ") ? 3 : 22; };
    EXPECT_EQ(PadText(QStringLiteral("ab"), 40, width22), QStringLiteral(" ab"));
    // width 20: target 14; text 6 px -> Round(8 / 6) = 1 blank
    EXPECT_EQ(PadNumber(5, 20, fixedWidth), QStringLiteral(" 5"));
    // A text wider than 70 % of the cell gets no blanks.
    EXPECT_EQ(PadText(QStringLiteral("Richtig"), 20, fixedWidth), QStringLiteral("Richtig"));
}

TEST(PadText, ExactHalvesOfBlankPairsRoundToEven) {
    // target 28 (width 40); blank 3 -> pairs of 6 px
    auto withText = [](int textPx) {
        return [textPx](const QString& t) { return t == QLatin1String(" ") ? 3 : textPx; };
    };
    EXPECT_EQ(blankCount(PadText(QStringLiteral("x"), 40, withText(25))), 0);  // 3/6 = 0.5
    EXPECT_EQ(blankCount(PadText(QStringLiteral("x"), 40, withText(19))), 2);  // 9/6 = 1.5
    EXPECT_EQ(blankCount(PadText(QStringLiteral("x"), 40, withText(13))), 2);  // 15/6 = 2.5
}

TEST(PadNumber, NumbersDifferOnlyThroughTheirWidth) {
    EXPECT_EQ(blankCount(PadNumber(5, 40, fixedWidth)), 4);   // (28 - 6) / 6 = 3.67
    EXPECT_EQ(blankCount(PadNumber(12, 40, fixedWidth)), 3);  // (28 - 12) / 6 = 2.67
    EXPECT_TRUE(PadNumber(12, 40, fixedWidth).endsWith(QLatin1String("12")));
}

TEST(PadText, ZeroWidthBlankLeavesTheText) {
    EXPECT_EQ(PadText(QStringLiteral("7"), 40, [](const QString&) { return 0; }), QStringLiteral("7"));
}

TEST(XStringReplace, ReplacesAllWithoutOverlap) {
    EXPECT_EQ(XStringReplace(QStringLiteral("13.03.2021"), QStringLiteral("."), QString()), QStringLiteral("13032021"));
    EXPECT_EQ(XStringReplace(QStringLiteral("aaaa"), QStringLiteral("aa"), QStringLiteral("b")), QStringLiteral("bb"));
    EXPECT_EQ(XStringReplace(QStringLiteral("aaa"), QStringLiteral("aa"), QStringLiteral("b")), QStringLiteral("ba"));
    EXPECT_EQ(XStringReplace(QStringLiteral("1X0x"), QStringLiteral("X"), QStringLiteral("0")), QStringLiteral("100x"));
    EXPECT_EQ(XStringReplace(QStringLiteral("a\tb\tc"), QStringLiteral("\t"), QStringLiteral(",")),
              QStringLiteral("a,b,c"));
    EXPECT_EQ(XStringReplace(QStringLiteral("abcab"), QStringLiteral("ab"), QStringLiteral("xyz")),
              QStringLiteral("xyzcxyz"));
}

TEST(XStringReplace, LeavesTheSourceWhenThereIsNothingToDo) {
    EXPECT_EQ(XStringReplace(QStringLiteral("ab"), QStringLiteral("abc"), QStringLiteral("x")), QStringLiteral("ab"));
    EXPECT_EQ(XStringReplace(QStringLiteral("abc"), QStringLiteral("b"), QStringLiteral("b")), QStringLiteral("abc"));
    EXPECT_EQ(XStringReplace(QString(), QStringLiteral("b"), QStringLiteral("c")), QString());
    EXPECT_EQ(XStringReplace(QStringLiteral("abc"), QString(), QStringLiteral("c")), QStringLiteral("abc"));
    EXPECT_EQ(XStringReplace(QStringLiteral("abc"), QStringLiteral("z"), QStringLiteral("c")), QStringLiteral("abc"));
}

TEST(XStringReplace, FirstOnlyWithoutReplaceAll) {
    EXPECT_EQ(XStringReplace(QStringLiteral("a.b.c"), QStringLiteral("."), QStringLiteral(","), false),
              QStringLiteral("a,b.c"));
}

TEST(DashToInt, DashesAndEmptyAreZero) {
    EXPECT_EQ(DashToInt(QString()), 0);
    EXPECT_EQ(DashToInt(QStringLiteral("-")), 0);
    EXPECT_EQ(DashToInt(QStringLiteral("---")), 0);
    EXPECT_EQ(DashToInt(QStringLiteral("12")), 12);
    try {
        DashToInt(QStringLiteral("--"));
        FAIL() << "a double dash is no number";
    } catch (const KorbistoError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("''--'' ist kein gültiger Integer-Wert"));
    }
}

TEST(StrToInt, FollowsTheRuntimeConversion) {
    EXPECT_EQ(StrToIntOpt(QStringLiteral("  42")), 42);
    EXPECT_EQ(StrToIntOpt(QStringLiteral("+7")), 7);
    EXPECT_EQ(StrToIntOpt(QStringLiteral("-7")), -7);
    EXPECT_EQ(StrToIntOpt(QStringLiteral("$1F")), 31);
    EXPECT_EQ(StrToIntOpt(QStringLiteral("0x10")), 16);
    EXPECT_EQ(StrToIntOpt(QStringLiteral("2147483647")), 2147483647);
    EXPECT_EQ(StrToIntOpt(QStringLiteral("-2147483648")), -2147483647 - 1);
    EXPECT_FALSE(StrToIntOpt(QStringLiteral("2147483648")));
    EXPECT_FALSE(StrToIntOpt(QStringLiteral("42 ")));
    EXPECT_FALSE(StrToIntOpt(QStringLiteral("")));
    EXPECT_FALSE(StrToIntOpt(QStringLiteral(" ")));
    EXPECT_FALSE(StrToIntOpt(QStringLiteral("-")));
    EXPECT_FALSE(StrToIntOpt(QStringLiteral("1,5")));
}

TEST(QuotedInput, AtMostFortyCharactersAndNothingATerminalWouldAct) {
    const QString forty(40, u'a');
    const QString smile = QString::fromUtf8("\xF0\x9F\x98\x80");  // two UTF-16 units, one character
    const struct {
        QString input;
        QString shown;
    } cases[] = {
        {QString(), QString()},
        {QStringLiteral("12a"), QStringLiteral("12a")},
        {forty, forty},
        {forty + u'b', forty + u'…'},
        {QString(900000, u'x'), QString(40, u'x') + u'…'},
        // Escape sequences, NUL, tab, line breaks and DEL as their pictures.
        {QStringLiteral("\x1b]0;x\x07\x1b[31m"), QStringLiteral("␛]0;x␇␛[31m")},
        {QString(QChar(0)) + QStringLiteral("\t\r\n\x7f"), QStringLiteral("␀␉␍␊␡")},
        // C1 controls, direction overrides, tags and line separators have no picture.
        {QStringLiteral("a\u009bb\u202ec\u2028"), QStringLiteral("a�b�c�")},
        {QString::fromUcs4(U"\U000E0041x", 2), QStringLiteral("�x")},
        {QStringLiteral("Köln ½ ß"), QStringLiteral("Köln ½ ß")},
        // A character beyond 16 bits is one character and never cut in two.
        {QString(39, u'a') + smile + smile, QString(39, u'a') + smile + u'…'},
        {QString(QChar(0xDC80)) + u'x', QStringLiteral("�x")},  // a lone surrogate from a file name
    };
    for (const auto& c : cases) EXPECT_EQ(quotedInput(c.input), c.shown) << c.input.left(60).toStdString();
    // The runtime's conversion errors quote so.
    EXPECT_EQ(integerConversionError(QStringLiteral("\x1b[2J") + QString(60, u'9')).message(),
              QStringLiteral("''␛[2J") + QString(36, u'9') + QStringLiteral("…'' ist kein gültiger Integer-Wert"));
}
