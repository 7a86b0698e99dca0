#include "row_filters.h"

#include "core/text_helpers.h"

#include <QList>
#include <QLocale>
#include <QStringList>

#include <algorithm>
#include <bit>
#include <functional>

namespace korbisto {

namespace {

// Probabilities this close count as equal: rounding in the products must not
// decide a tie or a threshold that the weights make exact.
constexpr double kSameProbability = 1e-12;

// The digits of every value of a half, match order.
template <int Matches>
std::array<int, Matches> digitsOf(RowWord value) {
    std::array<int, Matches> d{};
    for (int i = Matches; i-- > 0;) {
        d[static_cast<size_t>(i)] = static_cast<int>(value % 3);
        value /= 3;
    }
    return d;
}

// A filter's count from the entries of the two halves' tables.
int combinedCount(FilterKind kind, int a, int b) {
    switch (kind) {
    case FilterKind::Changes:
        // Each half's changes, its edge digit above; one more where they meet.
        return (a & 15) + (b & 15) + ((a >> 4) != (b >> 4) ? 1 : 0);
    case FilterKind::Run: {
        // Longest run (bits 0-2), the run at the edge (3-5), the edge digit (6-7).
        int run = std::max(a & 7, b & 7);
        if ((a >> 6) == (b >> 6)) run = std::max(run, ((a >> 3) & 7) + ((b >> 3) & 7));
        return run;
    }
    case FilterKind::Signs:
    case FilterKind::Level: break;
    }
    return a + b;
}

// A filter as, per class of high halves that count alike, the low halves
// with which a row passes.
struct CompiledFilter {
    std::array<std::uint8_t, kHighWords> highClass{};
    std::vector<LowHalves> passing;

    const LowHalves& passingWith(RowWord high) const { return passing[highClass[high]]; }
    bool passes(RowWord high, RowWord low) const { return passingWith(high)[low >> 6] >> (low & 63) & 1; }
};

// The table of one half: `first` is the half's first match (0-based).
template <int Matches, RowWord Words>
void fillHalf(const RowFilter& f, const PatternLevels& levels, int first, bool high,
              std::array<std::uint8_t, Words>& table) {
    for (RowWord v = 0; v < Words; ++v) {
        const auto d = digitsOf<Matches>(v);
        int entry = 0;
        switch (f.kind) {
        case FilterKind::Signs:
        case FilterKind::Level:
            for (int i = 0; i < Matches; ++i) {
                const int m = first + i;
                const int code = d[static_cast<size_t>(i)] + kTipOne;
                if (f.kind == FilterKind::Signs)
                    entry += code == f.sign && (f.matches >> m & 1) ? 1 : 0;
                else
                    entry += levels[static_cast<size_t>(outcomeIndex(m + 1, code))] == f.level ? 1 : 0;
            }
            break;
        case FilterKind::Changes: {
            for (int i = 1; i < Matches; ++i) entry += d[static_cast<size_t>(i)] != d[static_cast<size_t>(i - 1)] ? 1 : 0;
            entry |= d[high ? Matches - 1 : 0] << 4;
            break;
        }
        case FilterKind::Run: {
            int longest = 1;
            int current = 1;
            for (int i = 1; i < Matches; ++i) {
                current = d[static_cast<size_t>(i)] == d[static_cast<size_t>(i - 1)] ? current + 1 : 1;
                longest = std::max(longest, current);
            }
            // The run that touches the other half.
            int edge = 1;
            if (high)
                while (edge < Matches && d[static_cast<size_t>(Matches - 1 - edge)] == d[Matches - 1]) ++edge;
            else
                while (edge < Matches && d[static_cast<size_t>(edge)] == d[0]) ++edge;
            entry = longest | edge << 3 | d[high ? Matches - 1 : 0] << 6;
            break;
        }
        }
        table[v] = static_cast<std::uint8_t>(entry);
    }
}

CompiledFilter compile(const RowFilter& f, const PatternLevels& levels) {
    std::array<std::uint8_t, kHighWords> high{};
    std::array<std::uint8_t, kLowWords> low{};
    fillHalf<kHighMatches, kHighWords>(f, levels, 0, true, high);
    fillHalf<kMatches - kHighMatches, kLowWords>(f, levels, kHighMatches, false, low);
    CompiledFilter c;
    std::array<int, 256> classOf;
    classOf.fill(-1);
    for (RowWord h = 0; h < kHighWords; ++h) {
        int& k = classOf[high[h]];
        if (k < 0) {
            k = static_cast<int>(c.passing.size());
            LowHalves& bits = c.passing.emplace_back();
            for (RowWord l = 0; l < kLowWords; ++l)
                if (f.range.contains(combinedCount(f.kind, high[h], low[l]))) bits[l >> 6] |= std::uint64_t{1} << (l & 63);
        }
        c.highClass[h] = static_cast<std::uint8_t>(k);
    }
    return c;
}

// The chance of every value of each half: the product of its matches' shares.
struct Chances {
    std::array<double, kHighWords> high{};
    std::array<double, kLowWords> low{};

    double of(RowWord word) const { return high[word / kLowWords] * low[word % kLowWords]; }
};

Chances chancesOf(const MatchWeights& weights) {
    std::array<std::array<double, 3>, kMatches> share{};
    for (int m = 0; m < kMatches; ++m) {
        const auto& w = weights[static_cast<size_t>(m)];
        double sum = 0;
        for (const double x : w) sum += x > 0 ? x : 0;
        for (int c = 0; c < 3; ++c)
            share[static_cast<size_t>(m)][static_cast<size_t>(c)] =
                sum > 0 ? std::max(w[static_cast<size_t>(c)], 0.0) / sum : 1.0 / 3;
    }
    Chances chances;
    const auto fill = [&](auto& table, int first, int matches) {
        for (RowWord v = 0; v < table.size(); ++v) {
            double p = 1;
            RowWord rest = v;
            for (int i = matches; i-- > 0;) {
                p *= share[static_cast<size_t>(first + i)][rest % 3];
                rest /= 3;
            }
            table[v] = p;
        }
    };
    fill(chances.high, 0, kHighMatches);
    fill(chances.low, kHighMatches, kMatches - kHighMatches);
    return chances;
}

// Keeps the `best` most probable rows, ties in their order.
void keepBest(std::vector<RowWord>& rows, const Chances& chances, std::int64_t best) {
    if (best >= static_cast<std::int64_t>(rows.size())) return;
    if (best <= 0) {
        rows.clear();
        return;
    }
    std::vector<double> p(rows.size());
    for (size_t i = 0; i < rows.size(); ++i) p[i] = chances.of(rows[i]);
    std::vector<double> sorted = p;
    std::nth_element(sorted.begin(), sorted.begin() + (best - 1), sorted.end(), std::greater<>());
    const double nth = sorted[static_cast<size_t>(best - 1)];
    const double above = nth * (1 + kSameProbability);
    const double tied = nth * (1 - kSameProbability);
    std::int64_t room = best - std::count_if(p.begin(), p.end(), [&](double x) { return x > above; });
    size_t kept = 0;
    for (size_t i = 0; i < rows.size(); ++i)
        if (p[i] > above || (p[i] >= tied && room-- > 0)) rows[kept++] = rows[i];
    rows.resize(kept);
}

}  // namespace

std::optional<int> parseCount(QStringView text) {
    if (text.isEmpty() || text.size() > 9) return std::nullopt;
    int value = 0;
    for (QChar c : text) {
        if (c < u'0' || c > u'9') return std::nullopt;
        value = value * 10 + (c.unicode() - u'0');
    }
    return value;
}

namespace {

template <typename T>
Parsed<T> refused(const QString& reason) {
    return Parsed<T>{std::nullopt, reason};
}

}  // namespace

std::optional<Candidates> Candidates::ofCrosses(const OutcomeCrosses& crosses) {
    Candidates c;
    c.crosses_ = true;
    const auto half = [&](std::vector<RowWord>& values, int first, int matches, RowWord words) {
        for (RowWord v = 0; v < words; ++v) {
            RowWord rest = v;
            bool inside = true;
            for (int i = matches; i-- > 0 && inside;) {
                inside = crosses[static_cast<size_t>(outcomeIndex(first + i + 1, static_cast<int>(rest % 3) + 1))];
                rest /= 3;
            }
            if (inside) values.push_back(v);
        }
    };
    half(c.high_, 0, kHighMatches, kHighWords);
    half(c.low_, kHighMatches, kMatches - kHighMatches, kLowWords);
    if (c.high_.empty() || c.low_.empty()) return std::nullopt;
    for (const RowWord l : c.low_) c.lowBits_[l >> 6] |= std::uint64_t{1} << (l & 63);
    return c;
}

Candidates Candidates::ofTable(const TipTable& table) {
    Candidates c;
    c.words_.reserve(static_cast<size_t>(table.dataRowCount()));
    for (const TipTable::Row& row : table.rows()) {
        if (row.tips[0] == kTipEmpty) continue;
        if (const std::optional<RowWord> word = wordOfTips(row.tips))
            c.words_.push_back(*word);
        else
            ++c.skipped_;
    }
    return c;
}

std::int64_t Candidates::size() const {
    if (crosses_) return static_cast<std::int64_t>(high_.size()) * static_cast<std::int64_t>(low_.size());
    return static_cast<std::int64_t>(words_.size());
}

std::optional<FilterOutcome> applyFilters(const Candidates& candidates, const FilterList& list,
                                          const MatchWeights* weights, const std::atomic<bool>* stop) {
    const PatternLevels levels = list.levels.value_or(PatternLevels{});
    std::vector<CompiledFilter> filters;
    filters.reserve(list.filters.size());
    for (const RowFilter& f : list.filters) filters.push_back(compile(f, levels));
    const int tolerance = std::max(list.tolerance, 0);

    FilterOutcome outcome;
    outcome.candidates = candidates.size();
    // Room for every candidate up front: only the pages written are touched,
    // and nothing is copied as the rows grow.
    outcome.rows.reserve(static_cast<size_t>(outcome.candidates));
    bool complete = false;
    if (candidates.fullSystem() && tolerance == 0) {
        // Every filter must hold: the low halves of a high half that pass them all at once.
        complete = candidates.forEachHigh(
            [&](RowWord high, const LowHalves& lows) {
                LowHalves pass = lows;
                for (const CompiledFilter& f : filters) {
                    const LowHalves& with = f.passingWith(high);
                    for (size_t i = 0; i < pass.size(); ++i) pass[i] &= with[i];
                }
                for (size_t i = 0; i < pass.size(); ++i)
                    for (std::uint64_t bits = pass[i]; bits != 0; bits &= bits - 1)
                        outcome.rows.push_back(high * kLowWords + static_cast<RowWord>(i * 64 + std::countr_zero(bits)));
            },
            stop);
    } else {
        complete = candidates.forEach(
            [&](RowWord word, RowWord high, RowWord low) {
                int failed = 0;
                for (const CompiledFilter& f : filters)
                    if (!f.passes(high, low) && ++failed > tolerance) return;
                outcome.rows.push_back(word);
            },
            stop);
    }
    if (!complete) return std::nullopt;
    if (weights == nullptr) return outcome;

    const Chances chances = chancesOf(*weights);
    const ProbabilityFilter& p = list.probability;
    if (p.mode == ProbabilityFilter::Mode::AtLeast) {
        const double least = p.share * (1 - kSameProbability);
        std::erase_if(outcome.rows, [&](RowWord w) { return chances.of(w) < least; });
    } else if (p.mode == ProbabilityFilter::Mode::Best) {
        keepBest(outcome.rows, chances, p.best);
    }
    if (stop && stop->load(std::memory_order_relaxed)) return std::nullopt;
    // A row the table holds twice is still one result.
    std::vector<std::uint64_t> seen(kRowWords / 64 + 1, 0);
    double sum = 0;
    for (const RowWord w : outcome.rows) {
        std::uint64_t& bits = seen[w / 64];
        const std::uint64_t bit = std::uint64_t{1} << (w % 64);
        if (bits & bit) continue;
        bits |= bit;
        sum += chances.of(w);
    }
    // A sum that rounding leaves a hair from 1 (every row of a full system
    // passes) is 1.
    outcome.probability = sum > 1 - kSameProbability ? 1.0 : sum;
    return outcome;
}

TipTable tableOfWords(const std::vector<RowWord>& words) {
    TipTable table;
    table.reserve(static_cast<int>(words.size()));
    std::int32_t number = 0;
    for (const RowWord w : words) table.appendRow(++number, tipsOfWord(w));
    return table;
}

QString filterKindName(FilterKind kind) {
    switch (kind) {
    case FilterKind::Signs: return QStringLiteral("signs");
    case FilterKind::Run: return QStringLiteral("run");
    case FilterKind::Changes: return QStringLiteral("changes");
    case FilterKind::Level: return QStringLiteral("level");
    }
    return QString();
}

std::optional<FilterKind> filterKindOfName(QStringView name) {
    for (const FilterKind kind : {FilterKind::Signs, FilterKind::Run, FilterKind::Changes, FilterKind::Level})
        if (name == filterKindName(kind)) return kind;
    return std::nullopt;
}

Parsed<CountRange> parseCountRange(QStringView text) {
    const qsizetype dots = text.indexOf(u"..");
    const QStringView from = dots < 0 ? text : text.left(dots);
    const QStringView to = dots < 0 ? text : text.mid(dots + 2);
    const std::optional<int> min = from.isEmpty() && dots >= 0 ? 0 : parseCount(from);
    const std::optional<int> max = to.isEmpty() && dots >= 0 ? CountRange::kOpen : parseCount(to);
    if (!min || !max)
        return refused<CountRange>(
            QStringLiteral("„%1“ ist kein Bereich MIN..MAX (etwa 2..6, ..4 oder 3..).").arg(quotedInput(text)));
    if (*min > *max)
        return refused<CountRange>(QStringLiteral("Im Bereich „%1“ ist MIN größer als MAX.").arg(quotedInput(text)));
    return {CountRange{*min, *max}, {}};
}

Parsed<MatchSet> parseMatchSet(QStringView text) {
    MatchSet set = 0;
    for (const QStringView item : text.split(u',')) {
        const qsizetype dash = item.indexOf(u'-');
        const std::optional<int> first = parseCount(dash < 0 ? item : item.left(dash));
        const std::optional<int> last = parseCount(dash < 0 ? item : item.mid(dash + 1));
        if (!first || !last)
            return refused<MatchSet>(
                QStringLiteral("„%1“ sind keine Spiele (etwa 1-6 oder 1,3,5-7).").arg(quotedInput(text)));
        for (const int m : {*first, *last})
            if (m < 1 || m > kMatches)
                return refused<MatchSet>(QStringLiteral("Spiel %1 gibt es nicht, nur die Spiele 1 bis 13.").arg(m));
        if (*first > *last)
            return refused<MatchSet>(QStringLiteral("In „%1“ endet eine Folge vor ihrem Anfang.").arg(quotedInput(text)));
        for (int m = *first; m <= *last; ++m) set = static_cast<MatchSet>(set | 1u << (m - 1));
    }
    return {set, {}};
}

Parsed<PatternLevels> parseLevelPattern(QStringView text) {
    const QList<QStringView> groups = text.split(u',');
    if (groups.size() != kMatches)
        return refused<PatternLevels>(
            QStringLiteral("Die Stufen brauchen 13 Gruppen, durch „,“ getrennt (eine je Spiel), nicht %1.")
                .arg(groups.size()));
    PatternLevels levels{};
    for (int m = 1; m <= kMatches; ++m) {
        const QStringView group = groups[m - 1];
        const bool valid = group.size() == 3 &&
                           std::all_of(group.begin(), group.end(), [](QChar c) { return c >= u'0' && c <= u'3'; });
        if (!valid)
            return refused<PatternLevels>(
                QStringLiteral("Spiel %1: „%2“ sind nicht drei Stufen aus 0 bis 3 (für „1“, „0“ und „2“).")
                    .arg(m)
                    .arg(quotedInput(group)));
        for (int c = 1; c <= 3; ++c) levels[static_cast<size_t>(outcomeIndex(m, c))] = group[c - 1].unicode() - u'0';
    }
    return {levels, {}};
}

Parsed<double> parseShare(QStringView text) {
    QStringView number = text.trimmed();
    const bool percent = number.endsWith(u'%');
    if (percent) number = number.chopped(1).trimmed();
    int digits = 0;
    int points = 0;
    for (QChar c : number) {
        if (c >= u'0' && c <= u'9')
            ++digits;
        else if (c == u'.' || c == u',')
            ++points;
        else
            digits = -1000;
    }
    bool ok = digits > 0 && points <= 1;
    double value = ok ? number.toString().replace(u',', u'.').toDouble(&ok) : 0;
    if (percent) value /= 100;
    if (!ok || value > 1)
        return refused<double>(
            QStringLiteral("„%1“ ist kein Anteil von 0 bis 1 (etwa 0.001, 0,001 oder 0,1 %).").arg(quotedInput(text)));
    return {value, {}};
}

QString shareText(double share) { return QString::number(share, 'f', QLocale::FloatingPointShortest); }

Parsed<RowFilter> parseRowFilter(FilterKind kind, QStringView text) {
    RowFilter f;
    f.kind = kind;
    QStringView range = text;
    if (kind == FilterKind::Signs || kind == FilterKind::Level) {
        const qsizetype eq = text.indexOf(u'=');
        const QStringView head = eq < 0 ? QStringView() : text.left(eq);
        if (eq < 0)
            return refused<RowFilter>(kind == FilterKind::Signs
                                          ? QStringLiteral("„%1“ hat nicht die Form S=MIN..MAX[@SPIELE].").arg(quotedInput(text))
                                          : QStringLiteral("„%1“ hat nicht die Form L=MIN..MAX.").arg(quotedInput(text)));
        range = text.mid(eq + 1);
        if (kind == FilterKind::Signs) {
            const char16_t s = head.size() == 1 ? head[0].unicode() : u'?';
            f.sign = s == u'1' ? kTipOne : s == u'0' || s == u'X' || s == u'x' ? kTipZero : s == u'2' ? kTipTwo : 0;
            if (f.sign == 0)
                return refused<RowFilter>(
                    QStringLiteral("„%1“ ist kein Zeichen (erlaubt sind 1, 0, X und 2).").arg(quotedInput(head)));
            if (const qsizetype at = range.indexOf(u'@'); at >= 0) {
                const Parsed<MatchSet> matches = parseMatchSet(range.mid(at + 1));
                if (!matches.value) return refused<RowFilter>(matches.error);
                f.matches = *matches.value;
                range = range.left(at);
            }
        } else {
            const std::optional<int> level = parseCount(head);
            if (!level || *level > kMaxLevel)
                return refused<RowFilter>(QStringLiteral("„%1“ ist keine Stufe (0 bis 3).").arg(quotedInput(head)));
            f.level = *level;
        }
    }
    const Parsed<CountRange> parsed = parseCountRange(range);
    if (!parsed.value) return refused<RowFilter>(parsed.error);
    f.range = *parsed.value;
    return {f, {}};
}

QString countRangeText(const CountRange& range) {
    if (range.min == range.max) return QString::number(range.min);
    return (range.min > 0 ? QString::number(range.min) : QString()) + QStringLiteral("..") +
           (range.max != CountRange::kOpen ? QString::number(range.max) : QString());
}

QString rowFilterText(const RowFilter& f) {
    switch (f.kind) {
    case FilterKind::Signs: {
        const QString s = QString::fromLatin1(TippText[f.sign]) + u'=' + countRangeText(f.range);
        return f.matches == kAllMatches ? s : s + u'@' + matchSetText(f.matches);
    }
    case FilterKind::Level: return QString::number(f.level) + u'=' + countRangeText(f.range);
    case FilterKind::Run:
    case FilterKind::Changes: return countRangeText(f.range);
    }
    return QString();
}

QString matchSetText(MatchSet matches) {
    // Runs of three or more matches as "a-b".
    QStringList items;
    for (int m = 1; m <= kMatches;) {
        if (!(matches >> (m - 1) & 1)) {
            ++m;
            continue;
        }
        int last = m;
        while (last < kMatches && (matches >> last & 1)) ++last;
        if (last - m >= 2)
            items << QStringLiteral("%1-%2").arg(m).arg(last);
        else
            for (int k = m; k <= last; ++k) items << QString::number(k);
        m = last + 1;
    }
    return items.join(u',');
}

QString levelPatternText(const PatternLevels& levels) {
    QStringList groups;
    for (int m = 1; m <= kMatches; ++m) {
        QString g;
        for (int c = 1; c <= 3; ++c) g += QChar(u'0' + levels[static_cast<size_t>(outcomeIndex(m, c))]);
        groups << g;
    }
    return groups.join(u',');
}

}  // namespace korbisto
