#include "core/tip_document.h"
#include "support/tip_rows.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace korbisto;

namespace {

// What the views of a document hear.
struct Heard {
    explicit Heard(TipDocument& d)
        : before(&d, &TipDocument::tableAboutToChange),
          after(&d, &TipDocument::tableChanged),
          cells(&d, &TipDocument::cellsChanged),
          labels(&d, &TipDocument::labelsChanged) {}
    QList<int> counts() const {
        return {static_cast<int>(before.count()), static_cast<int>(after.count()), static_cast<int>(cells.count()),
                static_cast<int>(labels.count())};
    }
    QSignalSpy before, after, cells, labels;
};

}  // namespace

TEST(TipDocument, EachKindOfChangeIsAnnouncedAsSuch) {
    TipDocument document(3);
    Heard heard(document);
    document.replaceRows(test::tableOf({"1111111111111", "2222222222222"}));
    EXPECT_EQ(heard.counts(), (QList<int>{1, 1, 0, 0}));
    EXPECT_EQ(document.table().dataRowCount(), 2);

    // Hit counts change cells where they stand: no row moves.
    document.changeCells([](TipTable& t) { t.setHits(1, 13); });
    EXPECT_EQ(heard.counts(), (QList<int>{1, 1, 1, 0}));
    document.setFileName(QStringLiteral("a.krsc"));
    document.setTipRowCount(1500, TipDocument::CountStyle::Grouped);
    EXPECT_EQ(heard.counts(), (QList<int>{1, 1, 1, 2}));
    EXPECT_EQ(document.tipRowCount(), 1500);
    EXPECT_EQ(document.countStyle(), TipDocument::CountStyle::Grouped);
}

TEST(TipDocument, ClearingEmptiesCellsNameAndCountButKeepsTheRows) {
    TipDocument document;
    document.replaceRows(test::tableOf({"1111111111111", "2222222222222"}));
    document.setFileName(QStringLiteral("a.krsc"));
    document.setTipRowCount(2000, TipDocument::CountStyle::Grouped);
    Heard heard(document);
    document.clear();
    EXPECT_EQ(heard.counts(), (QList<int>{1, 1, 0, 1}));
    EXPECT_EQ(document.table().dataRowCount(), 2);
    EXPECT_TRUE(document.isEmpty());
    EXPECT_TRUE(document.table().cellEmpty(2, 0));
    EXPECT_EQ(document.fileName(), QString());
    EXPECT_EQ(document.tipRowCount(), 0);
    EXPECT_EQ(document.countStyle(), TipDocument::CountStyle::Plain);

    // An empty table: nothing happens, the name stays.
    document.setFileName(QStringLiteral("leer.krsc"));
    document.clear();
    EXPECT_EQ(heard.counts(), (QList<int>{1, 1, 0, 2}));
    EXPECT_EQ(document.fileName(), QStringLiteral("leer.krsc"));
}
