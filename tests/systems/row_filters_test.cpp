#include "sheet_helpers.h"

#include "systems/full_system.h"
#include "systems/row_filters.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

using namespace korbisto;

namespace {

// Matches 5 to 8 three-way, so that runs and changes cross the middle of the row.
const QString kMiddle = QStringLiteral("1,0,10,02,102,102,102,102,12,1,2,2,2");
const QString kEnds = QStringLiteral("102,102,0,1,1,1,1,1,1,1,12,102,102");
const QString kLevels = QStringLiteral("310,111,003,120,111,111,031,111,111,300,111,021,111");

std::vector<RowTips> tipsOf(const TipTable& table) {
    std::vector<RowTips> rows;
    for (const TipTable::Row& r : table.rows()) rows.push_back(r.tips);
    return rows;
}

std::vector<RowTips> tipsOf(const std::vector<RowWord>& words) {
    std::vector<RowTips> rows;
    for (const RowWord w : words) rows.push_back(tipsOfWord(w));
    return rows;
}

// 3,000 rows from all of 3^13, some twice, two that are no candidates.
TipTable randomTable() {
    std::mt19937 random(26);
    TipTable table;
    for (int r = 1; r <= 3000; ++r) {
        RowTips tips;
        for (auto& t : tips) t = static_cast<std::uint8_t>(kTipOne + random() % 3);
        table.appendRow(r, r % 500 == 0 ? table.rows()[static_cast<size_t>(r - 2)].tips : tips);
    }
    table.setTip(7, 4, kTipEmpty);
    table.setCellText(8, 13, QStringLiteral("A"));
    return table;
}

// The count of a filter by the plain reading of its definition.
int bruteCount(const RowFilter& f, const RowTips& t, const PatternLevels& levels) {
    int n = 0;
    int run = 1;
    for (int m = 0; m < kMatches; ++m) {
        switch (f.kind) {
        case FilterKind::Signs: n += (f.matches >> m & 1) && t[static_cast<size_t>(m)] == f.sign; break;
        case FilterKind::Level: n += levels[static_cast<size_t>(outcomeIndex(m + 1, t[static_cast<size_t>(m)]))] == f.level; break;
        case FilterKind::Changes: n += m > 0 && t[static_cast<size_t>(m)] != t[static_cast<size_t>(m - 1)]; break;
        case FilterKind::Run:
            run = m > 0 && t[static_cast<size_t>(m)] == t[static_cast<size_t>(m - 1)] ? run + 1 : 1;
            n = std::max(n, run);
            break;
        }
    }
    return n;
}

double bruteChance(const MatchWeights& w, const RowTips& t) {
    double p = 1;
    for (int m = kMatches; m-- > 0;) {
        const auto& x = w[static_cast<size_t>(m)];
        const double sum = x[0] + x[1] + x[2];
        p *= sum > 0 ? x[static_cast<size_t>(t[static_cast<size_t>(m)] - 1)] / sum : 1.0 / 3;
    }
    return p;
}

FilterList listOf(const std::vector<std::pair<FilterKind, const char*>>& filters, int tolerance) {
    FilterList list;
    list.levels = parseLevelPattern(kLevels).value;
    list.tolerance = tolerance;
    for (const auto& [kind, text] : filters) list.filters.push_back(parseRowFilter(kind, QString::fromLatin1(text)).value.value());
    return list;
}

}  // namespace

TEST(RowFilters, EachFilterPassesWhatItsDefinitionSays) {
    using K = FilterKind;
    struct Case {
        std::vector<std::pair<FilterKind, const char*>> filters;
        int tolerance;
    };
    const Case cases[] = {
        {{{K::Signs, "0=2..4"}}, 0},
        {{{K::Signs, "1=..1@1-6"}, {K::Signs, "2=2..@4,6-9,13"}}, 0},
        {{{K::Run, "3..4"}}, 0},
        {{{K::Run, "..2"}}, 0},
        {{{K::Changes, "8.."}}, 0},
        {{{K::Changes, "..3"}}, 0},
        {{{K::Level, "3=3.."}, {K::Level, "0=..1"}}, 0},
        {{{K::Signs, "1=4..7"}, {K::Run, "..3"}, {K::Changes, "5..9"}, {K::Level, "1=..4"}}, 1},
        {{{K::Signs, "0=..2"}, {K::Signs, "2=..2"}, {K::Run, "..2"}, {K::Changes, "10.."}}, 2},
        {{}, 0},
    };
    const PatternLevels levels = *parseLevelPattern(kLevels).value;
    const TipTable table = randomTable();
    for (const Case& c : cases) {
        const FilterList list = listOf(c.filters, c.tolerance);
        // Full systems through their own development; a table as it stands.
        std::vector<std::pair<Candidates, std::vector<RowTips>>> sources;
        for (const QString& sheet : {kMiddle, kEnds}) {
            const test::Sheet s(sheet);
            sources.emplace_back(*Candidates::ofCrosses(s.crosses()), tipsOf(expandFullSystem(s.structure())));
        }
        std::vector<RowTips> tableRows = tipsOf(table);
        tableRows.erase(tableRows.begin() + 6, tableRows.begin() + 8);
        sources.emplace_back(Candidates::ofTable(table), tableRows);
        for (const auto& [candidates, rows] : sources) {
            std::vector<RowTips> expected;
            for (const RowTips& t : rows) {
                const auto failed = std::count_if(list.filters.begin(), list.filters.end(), [&](const RowFilter& f) {
                    return !f.range.contains(bruteCount(f, t, levels));
                });
                if (failed <= c.tolerance) expected.push_back(t);
            }
            const FilterOutcome outcome = *applyFilters(candidates, list);
            EXPECT_EQ(outcome.candidates, static_cast<std::int64_t>(rows.size()));
            EXPECT_EQ(tipsOf(outcome.rows), expected) << c.filters.size() << " filters, tolerance " << c.tolerance;
        }
    }
    EXPECT_EQ(Candidates::ofTable(table).skipped(), 2);
    EXPECT_FALSE(Candidates::ofCrosses(test::Sheet(QStringLiteral("1,1,1,1,1,1,1,1,1,1,1,1,")).crosses()));
}

TEST(RowFilters, ProbabilityFiltersKeepTheLikelyRowsTiesInOrder) {
    // Shares in tenths: products that are equal by permutation differ in
    // their last bits, depending on the order of the factors.
    MatchWeights weights;
    weights.fill({1, 1, 1});
    for (const int m : {0, 1, 6, 7, 8}) weights[static_cast<size_t>(m)] = {1, 2, 7};
    weights[2] = {0, 0, 0};
    weights[3] = {1, 0, 3};
    const test::Sheet sheet(QStringLiteral("102,102,1,1,1,1,102,102,102,1,1,1,1"));
    const Candidates candidates = *Candidates::ofCrosses(sheet.crosses());
    const std::vector<RowTips> rows = tipsOf(expandFullSystem(sheet.structure()));

    std::vector<double> p;
    for (const RowTips& t : rows) p.push_back(bruteChance(weights, t));
    // The n most probable by a stable sort; products equal but for rounding are ties.
    const auto best = [&](size_t n) {
        std::vector<size_t> order(rows.size());
        for (size_t i = 0; i < order.size(); ++i) order[i] = i;
        std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return p[a] > p[b] * (1 + 1e-12); });
        order.resize(n);
        std::sort(order.begin(), order.end());
        std::vector<RowTips> kept;
        for (const size_t i : order) kept.push_back(rows[i]);
        return kept;
    };
    for (const size_t n : {1u, 5u, 17u, 40u, 200u, 242u, 243u, 500u}) {
        FilterList list;
        list.probability = {ProbabilityFilter::Mode::Best, 0, static_cast<std::int64_t>(n)};
        const FilterOutcome outcome = *applyFilters(candidates, list, &weights);
        EXPECT_EQ(tipsOf(outcome.rows), best(std::min<size_t>(n, rows.size()))) << n;
    }

    // Each row's own probability as the threshold keeps it, whatever the
    // order of the factors gave.
    std::vector<double> shares = p;
    shares.insert(shares.end(), {0.0, p[100] * 1.0000001, 1.0});
    for (const double share : shares) {
        FilterList list;
        list.filters.push_back(*parseRowFilter(FilterKind::Signs, u"0=1..3").value);
        list.probability = {ProbabilityFilter::Mode::AtLeast, share, 0};
        std::vector<RowTips> expected;
        double sum = 0;
        for (size_t i = 0; i < rows.size(); ++i)
            if (const auto draws = std::count(rows[i].begin(), rows[i].end(), kTipZero);
                draws >= 1 && draws <= 3 && p[i] >= share * (1 - 1e-12)) {
                expected.push_back(rows[i]);
                sum += p[i];
            }
        const FilterOutcome outcome = *applyFilters(candidates, list, &weights);
        EXPECT_EQ(tipsOf(outcome.rows), expected) << share;
        EXPECT_NEAR(*outcome.probability, sum, 1e-15) << share;
    }

    // Without filters the crosses hold with the chance of their outcomes;
    // a row the table holds twice is one result.
    const double bankers = 0.25 * std::pow(1.0 / 3, 7);
    EXPECT_NEAR(*applyFilters(candidates, FilterList{}, &weights)->probability, bankers, bankers * 1e-12);
    const TipTable twice = test::tableOf({"1111111111111", "1111111111111", "2111111111111"});
    const double both = (0.1 + 0.7) * 0.1 * (1.0 / 3) * 0.25 * (1.0 / 3) * (1.0 / 3) * 0.1 * 0.1 * 0.1 * std::pow(1.0 / 3, 4);
    EXPECT_NEAR(*applyFilters(Candidates::ofTable(twice), FilterList{}, &weights)->probability, both, both * 1e-12);
    EXPECT_EQ(applyFilters(Candidates::ofTable(twice), FilterList{}, &weights)->rows.size(), 3u);
}

TEST(RowFilters, TextFormsReadBackAndRefuseWithReasons) {
    struct Case {
        FilterKind kind;
        const char16_t* text;
        const char16_t* shortest;  // nullptr: refused with `reason`
        const char16_t* reason;
    };
    using K = FilterKind;
    const Case cases[] = {
        {K::Signs, u"X=2..6@1-6", u"0=2..6@1-6", nullptr},
        {K::Signs, u"2=0..13@1,3,5-7,12,13", u"2=..13@1,3,5-7,12,13", nullptr},
        {K::Run, u"4", u"4", nullptr},
        {K::Level, u"0=1..2", u"0=1..2", nullptr},
        {K::Run, u"5..3", nullptr, u"Im Bereich „5..3“ ist MIN größer als MAX."},
        {K::Signs, u"3=1..2", nullptr, u"„3“ ist kein Zeichen (erlaubt sind 1, 0, X und 2)."},
        {K::Signs, u"1=1..2@5-14", nullptr, u"Spiel 14 gibt es nicht, nur die Spiele 1 bis 13."},
        {K::Signs, u"1=1..2@7-5", nullptr, u"In „7-5“ endet eine Folge vor ihrem Anfang."},
        {K::Signs, u"1=1..2@", nullptr, u"„“ sind keine Spiele (etwa 1-6 oder 1,3,5-7)."},
        {K::Signs, u"1..2", nullptr, u"„1..2“ hat nicht die Form S=MIN..MAX[@SPIELE]."},
        {K::Level, u"4=1", nullptr, u"„4“ ist keine Stufe (0 bis 3)."},
        {K::Run, u"1234567890", nullptr, u"„1234567890“ ist kein Bereich MIN..MAX (etwa 2..6, ..4 oder 3..)."},
    };
    for (const Case& c : cases) {
        const Parsed<RowFilter> f = parseRowFilter(c.kind, c.text);
        if (c.shortest == nullptr) {
            EXPECT_FALSE(f.value) << QString::fromUtf16(c.text).toStdString();
            EXPECT_EQ(f.error, QString::fromUtf16(c.reason));
            continue;
        }
        ASSERT_TRUE(f.value) << f.error.toStdString();
        EXPECT_EQ(rowFilterText(*f.value), QString::fromUtf16(c.shortest));
        EXPECT_EQ(parseRowFilter(c.kind, rowFilterText(*f.value)).value, f.value);
    }

    struct Share {
        const char16_t* text;
        double value;  // < 0: refused
    };
    for (const Share& s : {Share{u"0.001", 0.001}, {u"0,001", 0.001}, {u"0,1 %", 0.001}, {u"1", 1}, {u"1.5", -1},
                           {u"1e-3", -1}, {u"0,1,2", -1}, {u"%", -1}}) {
        const Parsed<double> p = parseShare(s.text);
        if (s.value < 0)
            EXPECT_FALSE(p.value) << QString::fromUtf16(s.text).toStdString();
        else
            EXPECT_DOUBLE_EQ(p.value.value_or(-1), s.value) << QString::fromUtf16(s.text).toStdString();
    }
    // A message quotes at most 40 characters, control characters visible.
    EXPECT_EQ(parseCountRange(QStringLiteral("\x01") + QString(60, u'7')).error,
              QStringLiteral("„␁") + QString(39, u'7') + QStringLiteral("…“ ist kein Bereich MIN..MAX (etwa 2..6, ..4 oder 3..)."));
}
