#include "core/bet_model.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace korbisto;

namespace {
void loadRows(BetModel& model, const std::vector<const char*>& rows) {
    model.changeTable([&](TipTable& t) {
        t.clearAll();
        t.setDataRowCount(static_cast<int>(rows.size()));
        for (int r = 1; r <= static_cast<int>(rows.size()); ++r) {
            t.setNumber(r, r);
            for (int m = 1; m <= 13; ++m) t.setCellText(r, m, QString(QChar(rows[r - 1][m - 1])));
        }
    });
}
void setWinningRow(BetModel& model, const char* digits) {
    for (int m = 1; m <= 13; ++m) model.setWinning(m, QString(QChar(digits[m - 1])));
}
}  // namespace

TEST(BetModel, StartsAsTheEmptyWindow) {
    BetModel model;
    EXPECT_EQ(model.table().rowCount(), 30);
    EXPECT_TRUE(model.table().isEmpty());
    EXPECT_TRUE(model.instantEvaluation());
    EXPECT_FALSE(model.sortedByHits());
    EXPECT_EQ(model.rowsText(), QStringLiteral("0"));
}

TEST(BetModel, ClearingAnEmptyTableDoesNothing) {
    BetModel model;
    model.setFileName(QStringLiteral("a.krsc"));
    QSignalSpy spy(&model, &BetModel::tableChanged);
    model.clearTable();
    EXPECT_EQ(spy.count(), 0);
    EXPECT_EQ(model.fileName(), QStringLiteral("a.krsc"));
}

TEST(BetModel, ClearingKeepsRowsAndResults) {
    BetModel model;
    model.setInstantEvaluation(false);
    loadRows(model, {"1111111111111", "2222222222222"});
    model.setFileName(QStringLiteral("a.krsc"));
    model.setRowsText(QStringLiteral("2"));
    setWinningRow(model, "1111111111111");
    model.evaluate();
    model.clearTable();
    EXPECT_EQ(model.table().rowCount(), 3);
    EXPECT_TRUE(model.table().isEmpty());
    EXPECT_TRUE(model.table().cellEmpty(1, 14));
    EXPECT_EQ(model.fileName(), QString());
    EXPECT_EQ(model.rowsText(), QStringLiteral("0"));
    EXPECT_EQ(model.rankCount(1), QStringLiteral("1"));  // the win table keeps its contents
}

TEST(BetModel, InstantEvaluationRunsOncePerChangedEdit) {
    BetModel model;
    loadRows(model, {"1111111111111"});
    QSignalSpy spy(&model, &BetModel::resultsChanged);
    setWinningRow(model, "1111111111111");
    EXPECT_EQ(spy.count(), 13);
    EXPECT_EQ(model.rankCount(1), QStringLiteral("1"));
    setWinningRow(model, "1111111111111");  // nothing changes, nothing runs
    EXPECT_EQ(spy.count(), 13);
    model.setInstantEvaluation(false);
    model.setWinning(1, QStringLiteral("2"));
    EXPECT_EQ(spy.count(), 13);
    EXPECT_EQ(model.rankCount(1), QStringLiteral("1"));
}

TEST(BetModel, SortBeforeEvaluationChangesNothing) {
    BetModel model;
    loadRows(model, {"1111111111111", "2222222222222"});
    QSignalSpy spy(&model, &BetModel::tableChanged);
    model.sortByHits();
    EXPECT_FALSE(model.sortedByHits());
    EXPECT_EQ(spy.count(), 0);
}

TEST(BetModel, StaysSortedByHitsAfterEachEvaluation) {
    BetModel model;
    model.setInstantEvaluation(false);
    loadRows(model, {"2222222222222", "1111111111111"});
    setWinningRow(model, "1111111111111");
    model.evaluate();
    model.sortByHits();
    EXPECT_TRUE(model.sortedByHits());
    EXPECT_EQ(model.table().number(1), 2);
    setWinningRow(model, "2222222222222");
    model.evaluate();
    EXPECT_EQ(model.table().number(1), 1);
    model.restoreOrder();
    EXPECT_FALSE(model.sortedByHits());
    EXPECT_EQ(model.table().number(1), 1);
    setWinningRow(model, "1111111111111");
    model.evaluate();
    EXPECT_EQ(model.table().number(1), 1);  // no longer sorted
}

TEST(BetModel, ClearingTheWinningRowEvaluatesEachChange) {
    BetModel model;
    loadRows(model, {"1111111111111"});
    setWinningRow(model, "1111111111111");
    QSignalSpy spy(&model, &BetModel::resultsChanged);
    model.clearWinningRow();
    EXPECT_EQ(spy.count(), 13);
    EXPECT_EQ(model.table().cellText(1, 14), QStringLiteral("0"));
}
