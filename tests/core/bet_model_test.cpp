#include "core/bet_model.h"
#include "support/tip_rows.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace korbisto;
using test::setWinningRow;

namespace {
void loadRows(BetModel& model, const std::vector<const char*>& rows) { model.rows().replaceRows(test::tableOf(rows)); }
int rankCount(const BetModel& model, int rank) { return model.results()->rank(rank).count; }
}  // namespace

TEST(BetModel, StartsAsTheEmptyWindow) {
    BetModel model;
    EXPECT_EQ(model.table().rowCount(), 30);
    EXPECT_TRUE(model.table().isEmpty());
    EXPECT_TRUE(model.instantEvaluation());
    EXPECT_FALSE(model.sortedByHits());
    EXPECT_EQ(model.rows().tipRowCount(), 0);
    EXPECT_EQ(model.rows().fileName(), QString());
    EXPECT_FALSE(model.results().has_value());
    EXPECT_FALSE(model.matchDayDate().has_value());
}

TEST(BetModel, ClearingAnEmptyTableDoesNothing) {
    BetModel model;
    model.rows().setFileName(QStringLiteral("a.krsc"));
    QSignalSpy spy(&model.rows(), &TipDocument::tableChanged);
    model.rows().clear();
    EXPECT_EQ(spy.count(), 0);
    EXPECT_EQ(model.rows().fileName(), QStringLiteral("a.krsc"));
}

TEST(BetModel, ClearingKeepsRowsAndResults) {
    BetModel model;
    model.setInstantEvaluation(false);
    loadRows(model, {"1111111111111", "2222222222222"});
    model.rows().setFileName(QStringLiteral("a.krsc"));
    model.rows().setTipRowCount(2);
    setWinningRow(model, "1111111111111");
    model.evaluate();
    model.rows().clear();
    EXPECT_EQ(model.table().rowCount(), 3);
    EXPECT_TRUE(model.table().isEmpty());
    EXPECT_TRUE(model.table().cellEmpty(1, 14));
    EXPECT_EQ(model.rows().fileName(), QString());
    EXPECT_EQ(model.rows().tipRowCount(), 0);
    EXPECT_EQ(rankCount(model, 1), 1);  // the win table keeps its contents
}

TEST(BetModel, InstantEvaluationRunsOncePerChangedEdit) {
    BetModel model;
    loadRows(model, {"1111111111111"});
    QSignalSpy spy(&model, &BetModel::resultsChanged);
    setWinningRow(model, "1111111111111");
    EXPECT_EQ(spy.count(), 13);
    EXPECT_EQ(rankCount(model, 1), 1);
    setWinningRow(model, "1111111111111");  // nothing changes, nothing runs
    EXPECT_EQ(spy.count(), 13);
    model.setInstantEvaluation(false);
    model.setWinning(1, QStringLiteral("2"));
    EXPECT_EQ(spy.count(), 13);
    EXPECT_EQ(rankCount(model, 1), 1);
}

TEST(BetModel, SortBeforeEvaluationChangesNothing) {
    BetModel model;
    loadRows(model, {"1111111111111", "2222222222222"});
    QSignalSpy spy(&model.rows(), &TipDocument::tableChanged);
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
