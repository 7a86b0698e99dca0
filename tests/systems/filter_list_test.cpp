#include "support/test_env.h"

#include "systems/filter_list.h"

#include <gtest/gtest.h>

using namespace korbisto;

namespace {

RowFilter filter(FilterKind kind, const char16_t* text) { return *parseRowFilter(kind, text).value; }

const char kAll[] =
    "Korbisto-Filter 1\r\n"
    "tolerance 1\r\n"
    "levels 310,111,003,111,111,111,111,111,111,111,111,111,121\r\n"
    "signs 0=2..6@1-6\r\n"
    "run ..4\r\n"
    "changes 5..12\r\n"
    "level 1=3..\r\n"
    "signs 2=1@1,3,13\r\n"
    "best 500\r\n";

}  // namespace

TEST(FilterFile, ListsReadBackAsTheyWereWritten) {
    using K = FilterKind;
    FilterList all;
    all.tolerance = 1;
    all.levels = parseLevelPattern(u"310,111,003,111,111,111,111,111,111,111,111,111,121").value;
    all.filters = {filter(K::Signs, u"X=2..6@1-6"), filter(K::Run, u"..4"), filter(K::Changes, u"5..12"),
                   filter(K::Level, u"1=3.."), filter(K::Signs, u"2=1@1,3,13")};
    all.probability = {ProbabilityFilter::Mode::Best, 0, 500};
    EXPECT_EQ(filterFileText(all), QByteArray(kAll));

    FilterList share;
    share.filters = {filter(K::Run, u"2..2")};
    // Shares so small that a number would be written with an exponent.
    for (const double tiny : {0.000123456789, 1e-5, 5e-6}) {
        share.probability = {ProbabilityFilter::Mode::AtLeast, tiny, 0};
        EXPECT_EQ(parseFilterFile(filterFileText(share), QStringLiteral("f.krfilter")), share);
    }
    for (const FilterList& list : {all, FilterList{}})
        EXPECT_EQ(parseFilterFile(filterFileText(list), QStringLiteral("f.krfilter")), list);

    // As a player may have edited it: LF only, a byte-order mark, comments, blanks.
    const QByteArray edited = "\xEF\xBB\xBFKorbisto-Filter 1\n# Spieltag 12\n\n  run   ..4  \nprobability 0,1 %\n";
    FilterList expected;
    expected.filters = {filter(K::Run, u"..4")};
    expected.probability = {ProbabilityFilter::Mode::AtLeast, 0.001, 0};
    EXPECT_EQ(parseFilterFile(edited, QStringLiteral("f.krfilter")), expected);
}

TEST(FilterFile, JunkAndNewerVersionsAreRefusedNamingFileAndLine) {
    struct Case {
        QByteArray bytes;
        const char* reason;
    };
    const Case cases[] = {
        {"", "Zeile 1: „“ ist nicht der Anfang einer Filterliste von Korbisto."},
        {"Korbisto-Filter 2\r\nrun ..4\r\nfuture 7\r\n",
         "Zeile 1: Die Filterliste hat die Version 2, diese Version von Korbisto liest nur die Version 1. "
         "Eine neuere Version von Korbisto liest sie."},
        {"Korbisto-Filter 1\r\nrun ..4\r\nruns ..4\r\n", "Zeile 3: „runs ..4“ ist kein Filter."},
        {"Korbisto-Filter 1\r\nchanges 9..3\r\n", "Zeile 2: Im Bereich „9..3“ ist MIN größer als MAX."},
        {"Korbisto-Filter 1\r\ntolerance 1\r\ntolerance 2\r\n", "Zeile 3: Die Toleranz stand schon in Zeile 2."},
        {"Korbisto-Filter 1\r\nbest 5\r\n\r\nprobability 0.1\r\n",
         "Zeile 4: Ein Filter der Wahrscheinlichkeit stand schon in Zeile 2."},
        {"Korbisto-Filter 1\r\nrun ..4\r\nlevel 1=3..\r\n",
         "Zeile 3: Ein Filter „level“ braucht eine Zeile „levels“ mit den Stufen."},
        {"Korbisto-Filter 1\r\nlevels 310,111\r\n",
         "Zeile 2: Die Stufen brauchen 13 Gruppen, durch „,“ getrennt (eine je Spiel), nicht 2."},
        {"Korbisto-Filter 1\r\ntolerance -1\r\n", "Zeile 2: „-1“ ist keine Toleranz (eine Zahl ab 0)."},
        {"Korbisto-Filter 1\r\nbest 0\r\n", "Zeile 2: „0“ ist keine Anzahl von Reihen (eine ganze Zahl ab 1)."},
    };
    for (const Case& c : cases)
        EXPECT_EQ(test::errorOf([&] { parseFilterFile(c.bytes, QStringLiteral("Mein Filter.krfilter")); }),
                  QStringLiteral("„Mein Filter.krfilter“, ") + QString::fromUtf8(c.reason) +
                      QStringLiteral("\n\nIch breche erst einmal ab."))
            << c.bytes.toStdString();

    QByteArray tooMany = "Korbisto-Filter 1\n";
    for (int i = 0; i <= kMostFilters; ++i) tooMany += "run ..4\n";
    EXPECT_TRUE(test::errorOf([&] { parseFilterFile(tooMany, QStringLiteral("f")); }).contains(QStringLiteral("Zeile 102:")));
}
