#include "support/test_env.h"
#include "support/tip_rows.h"

#include "core/error.h"
#include "files/text_import.h"

#include <gtest/gtest.h>

using namespace korbisto;
using korbisto::test::rows;
using korbisto::test::tipTexts;

TEST(FieldChange, TabsBecomeCommasAndLinesAreCountedAsTheFieldShowsThem) {
    const FieldChange tabs = fieldChanged(QStringLiteral("1\t2\t0\r\n1\t1\t1"));
    EXPECT_TRUE(tabs.textChanged);
    EXPECT_EQ(tabs.text, QStringLiteral("1,2,0\r\n1,1,1"));
    EXPECT_TRUE(tabs.buttonsEnabled);
    EXPECT_FALSE(fieldChanged(QStringLiteral("1201120112011")).textChanged);
    EXPECT_FALSE(fieldChanged(QString()).buttonsEnabled);

    // The empty line after a final break is not counted; the others are.
    const std::pair<const char*, int> counts[] = {{"", 0}, {"a\r\nb", 2}, {"a\r\nb\r\n", 2}, {"a\r\n\r\n", 2},
                                                  {"\r\n", 1}, {"a\nb\rc", 3}};
    for (const auto& [text, lines] : counts) EXPECT_EQ(fieldChanged(QString::fromLatin1(text)).lineCount, lines) << text;

    // A narrow field shows the one long line as three.
    const auto wrapped = [](const QString& text) {
        EXPECT_FALSE(text.contains(u'\t'));
        return QStringList{QStringLiteral("1,2,0,1,"), QStringLiteral("2,0,1,2,"), QStringLiteral("0,1,2,0,1"), QString()};
    };
    EXPECT_EQ(fieldChanged(QStringLiteral("1\t2\t0\t1\t2\t0\t1\t2\t0\t1\t2\t0\t1\r\n"), wrapped).lineCount, 3);
}

namespace {

struct ImportCase {
    const char* what;
    const char* text;
    ImportMode mode;
    char16_t separator;  // 0: none
    // Expected rows, cells joined by "|"; missing cells are empty.
    std::vector<const char*> rows;
};

const ImportCase kCases[] = {
    {"two rows of 13 characters", "1201120112011\r\n0000000000000", ImportMode::FixedWidth, 0,
     {"1|2|0|1|1|2|0|1|1|2|0|1|1", "0|0|0|0|0|0|0|0|0|0|0|0|0"}},
    {"X and x mean 0", "1X01120112011\r\n1x0112011201X\r\n", ImportMode::FixedWidth, 0,
     {"1|0|0|1|1|2|0|1|1|2|0|1|1", "1|0|0|1|1|2|0|1|1|2|0|1|0"}},
    {"trimmed lines; other lengths and blank lines skipped; odd characters kept",
     "  1201120112011\t\r\n\r\n   \r\n120112011201\r\n12011201120112\r\n1-0 12011201?\r\n", ImportMode::FixedWidth, 0,
     {"1|2|0|1|1|2|0|1|1|2|0|1|1", "1|-|0| |1|2|0|1|1|2|0|1|?"}},
    {"a heading of five letters finds no row",
     "Tipps\r\n1;2;0;1;2;0;1;2;0;1;2;0;1\r\n1;2;0;1;2;0;1;2;0;1;2;0;1\r\n1;2;0;1;2;0;1;2;0;1;2;0;1\r\n",
     ImportMode::FixedWidth, 0, {}},
    {"semicolon found in the third line",
     "1;2;0;1;2;0;1;2;0;1;2;0;1\r\n2;2;2;1;1;1;0;0;0;1;2;0;1\r\n0;0;0;0;0;0;0;0;0;0;0;0;0\r\n1;X;2;1;2;0;1;2;0;1;2;0;2",
     ImportMode::Separated, u';',
     {"1|2|0|1|2|0|1|2|0|1|2|0|1", "2|2|2|1|1|1|0|0|0|1|2|0|1", "0|0|0|0|0|0|0|0|0|0|0|0|0",
      "1|0|2|1|2|0|1|2|0|1|2|0|2"}},
    {"no third line, no separator: the whole line is one field",
     "1;2;0;1;2;0;1;2;0;1;2;0;1\r\n2;2;2;1;1;1;0;0;0;1;2;0;1\r\n", ImportMode::Separated, 0,
     {"1;2;0;1;2;0;1;2;0;1;2;0;1", "2;2;2;1;1;1;0;0;0;1;2;0;1"}},
    {"blanks separate; a doubled blank is an empty field and the 13th tip falls off",
     "1 2 0 1 2 0 1 2 0 1 2 0 1\r\n1 2 0 1 2 0 1 2 0 1 2 0 2\r\n2 2  0 1 2 0 1 2 0 1 2 0 1\r\n", ImportMode::Separated, u' ',
     {"1|2|0|1|2|0|1|2|0|1|2|0|1", "1|2|0|1|2|0|1|2|0|1|2|0|2", "2|2| |0|1|2|0|1|2|0|1|2|0"}},
    {"the blank beats the semicolon",
     "1; 2; 0; 1; 2; 0; 1; 2; 0; 1; 2; 0; 1\r\n1; 1; 1; 1; 1; 1; 1; 1; 1; 1; 1; 1; 1\r\n2; 2; 2; 2; 2; 2; 2; 2; 2; 2; 2; 2; 2",
     ImportMode::Separated, u' ',
     {"1;|2;|0;|1;|2;|0;|1;|2;|0;|1;|2;|0;|1", "1;|1;|1;|1;|1;|1;|1;|1;|1;|1;|1;|1;|1",
      "2;|2;|2;|2;|2;|2;|2;|2;|2;|2;|2;|2;|2"}},
    {"tabs left in the text are found as well",
     "1\t2\t0\t1\t2\t0\t1\t2\t0\t1\t2\t0\t1\r\n1\t1\t1\t1\t1\t1\t1\t1\t1\t1\t1\t1\t1\r\n2\t2\t2\t2\t2\t2\t2\t2\t2\t2\t2\t2\t2",
     ImportMode::Separated, u'\t',
     {"1|2|0|1|2|0|1|2|0|1|2|0|1", "1|1|1|1|1|1|1|1|1|1|1|1|1", "2|2|2|2|2|2|2|2|2|2|2|2|2"}},
    {"15 fields, a final comma, short rows",
     "1,2,0,1,2,0,1,2,0,1,2,0,1,2,2\r\n1,2,0,1,2,0,1,2,0,1,2,0,\r\n1,2,0,1,2,0\r\n1,,0", ImportMode::Separated, u',',
     {"1|2|0|1|2|0|1|2|0|1|2|0|1", "1|2|0|1|2|0|1|2|0|1|2|0| ", "1|2|0|1|2|0", "1| |0"}},
    {"quotes: doubled quotes, empty quotes, separators inside, an unclosed quote",
     "\"1\",\"2\",\"0\",\"1\",\"2\",\"0\",\"1\",\"2\",\"0\",\"1\",\"2\",\"0\",\"1\"\r\n"
     "\"a\"\"b\",\"\",\"p;q\" ,\"open\r\n"
     "\"1\";\"2\";\"0\";\"a;b\";\"cd\"\"\"\r\n",
     ImportMode::Separated, u';', {"1|2|0|1|2|0|1|2|0|1|2|0|1", "a\"b| |p,q|open", "1|2|0|a,b|cd\""}},
    {"a blank ends a field it does not separate",
     "1;2;0;1;2;0;1;2;0;1;2;0;1\r\n12;0 1;2;0;1;2;0;1;2;0;1;2\r\n1;2;0;1;2;0;1;2;0;1;2;0;1", ImportMode::Separated, u';',
     {"1|2|0|1|2|0|1|2|0|1|2|0|1", "12|0|1|2|0|1|2|0|1|2|0|1|2", "1|2|0|1|2|0|1|2|0|1|2|0|1"}},
    {"blank lines are skipped and not counted",
     "1,2,0,1,2,0,1,2,0,1,2,0,1\r\n\r\n   \r\n1,1,1,1,1,1,1,1,1,1,1,1,1\r\n\r\n2,2,2,2,2,2,2,2,2,2,2,2,2\r\n\r\n",
     ImportMode::Separated, 0,
     {"1|2|0|1|2|0|1|2|0|1|2|0|1", "1|1|1|1|1|1|1|1|1|1|1|1|1", "2|2|2|2|2|2|2|2|2|2|2|2|2"}},
    {"only blanks: the first line is empty", "  \r\n ", ImportMode::FixedWidth, 0, {}},
};

}  // namespace

TEST(TextImport, ModesSeparatorsAndFields) {
    for (const ImportCase& c : kCases) {
        SCOPED_TRACE(c.what);
        const QString text = QString::fromUtf8(c.text);
        const TipImport im = importTipRows(text);
        EXPECT_EQ(im.mode, c.mode);
        EXPECT_EQ(im.separator, c.separator ? std::optional<QChar>(QChar(c.separator)) : std::nullopt);
        EXPECT_EQ(im.rowsFound, static_cast<int>(c.rows.size()));
        EXPECT_EQ(rows(im.rows), test::expectedRows(c.rows));
        // The grid keeps one (empty) row when none was found; rows are numbered.
        const int n = std::max<int>(1, static_cast<int>(c.rows.size()));
        ASSERT_EQ(im.rows.dataRowCount(), n);
        for (int r = 1; r <= n; ++r) EXPECT_EQ(im.rows.number(r), r);
    }
}

TEST(TextImport, ANulCharacterActsAsABlank) {
    const QString line = QStringLiteral("1;2;0;1;2;0;1;2;0;1;2;0;1\r\n");
    QString broken = line;
    broken.insert(3, QChar(u'\0'));
    EXPECT_EQ(tipTexts(importTipRows(line + line + broken).rows, 3), test::cells("1|2|0|1|2|0|1|2|0|1|2|0|1"));
}

TEST(TextImport, TheShownLinesDecideModeAndSeparatorTheRealLinesGiveTheRows) {
    const QString text = QStringLiteral("1 2 0 1 2 0 1 2 0 1 2 0 1\r\n2 2 2 1 1 1 0 0 0 1 2 0 1\r\n");
    EXPECT_FALSE(importTipRows(text).separator.has_value());

    // A narrow field wraps the second line at a blank: the third shown line
    // has blanks, but each real line stays one row of 13 cells.
    const TipImport im = importTipRows(text, {QStringLiteral("1 2 0 1 2 0 1 2 0 1 2 0 1"),
                                              QStringLiteral("2 2 2 1 1 1 0 "), QStringLiteral("0 0 1 2 0 1"), QString()});
    EXPECT_EQ(im.separator, QChar(u' '));
    EXPECT_EQ(rows(im.rows), test::expectedRows({"1|2|0|1|2|0|1|2|0|1|2|0|1", "2|2|2|1|1|1|0|0|0|1|2|0|1"}));

    // In the fixed-width mode the shown lines are the rows.
    const TipImport fixed = importTipRows(QStringLiteral("1201120112011 1X01120112011"),
                                          {QStringLiteral("1201120112011 "), QStringLiteral("1X01120112011")});
    EXPECT_EQ(fixed.mode, ImportMode::FixedWidth);
    EXPECT_EQ(rows(fixed.rows), test::expectedRows({"1|2|0|1|1|2|0|1|1|2|0|1|1", "1|0|0|1|1|2|0|1|1|2|0|1|1"}));
}

TEST(TextImport, AnEmptyFieldIsRefusedAndTheCallersTextIsNeverChanged) {
    const QString message = QStringLiteral("Das Textfeld ist leer. Es gibt nichts zu übertragen.\n\nIch breche erst einmal ab.");
    EXPECT_EQ(test::errorOf([] { importTipRows(QString()); }), message);
    EXPECT_EQ(test::errorOf([] { importTipRows(QString(), {}); }), message);

    const QString field = QStringLiteral("1X01120112011\r\n\t1x0112011201X\r\n");
    QStringList shown = textLines(field);
    const QStringList shownBefore = shown;
    importTipRows(field, shown);
    EXPECT_EQ(field, QStringLiteral("1X01120112011\r\n\t1x0112011201X\r\n"));
    EXPECT_EQ(shown, shownBefore);
}

TEST(TextImport, LongPasteKeepsEveryRowInOrder) {
    const int n = 20000;
    auto tip = [](int i, int m) { return QChar(u"102"[(i / (m + 1)) % 3]); };
    QString text;
    for (int i = 0; i < n; ++i) {
        for (int m = 0; m < 13; ++m) text += (m ? QStringLiteral(";") : QString()) + tip(i, m);
        text += QStringLiteral("\r\n");
    }
    const TipImport im = importTipRows(text);
    ASSERT_EQ(im.rowsFound, n);
    for (int i : {0, 1, 4999, n - 1}) {
        QStringList expected;
        for (int m = 0; m < 13; ++m) expected << QString(tip(i, m));
        EXPECT_EQ(tipTexts(im.rows, i + 1), expected) << i;
        EXPECT_EQ(im.rows.number(i + 1), i + 1);
    }
}
