#include "fuzz_support.h"

#include "cli_common.h"

#include "core/german.h"
#include "files/binary_io.h"

#include <QByteArray>

#include <algorithm>
#include <cmath>

using namespace korbisto;
using namespace korbisto::cli;
using fuzz::check;

namespace {

// The first byte picks the parser, the rest is the argument as main() gets
// it from the system: any bytes, those that are no UTF-8 kept as they were.
enum Parser : std::uint8_t { Row, Crosses, Weights, Now, Date, Quota, Quotas, Options, kParsers };

void parse(Parser parser, const QString& text, std::uint8_t decided) {
    switch (parser) {
    case Row: {
        const QStringList tips = parseRowArgument(text, QStringLiteral("--result"));
        check(text.size() == kMatches && tips.size() == kMatches);
        for (const QString& tip : tips) check(tip.isEmpty() || tip == u'0' || tip == u'1' || tip == u'2');
        break;
    }
    case Crosses: {
        const OutcomeCrosses crosses = parseCrosses(text);
        // Every character but the 12 commas is one cross of its own.
        check(std::count(crosses.begin(), crosses.end(), true) == text.size() - (kMatches - 1));
        break;
    }
    case Weights: {
        LiveResult result{};
        for (int m = 0; m < kMatches; ++m) result[static_cast<size_t>(m)] = m < 8 && (decided >> m & 1) ? 1 : 0;
        for (const OutcomeWeights& w : parseWeights(text, result)) {
            check(std::all_of(w.begin(), w.end(), [](double x) { return std::isfinite(x) && x >= 0; }));
            check(w[0] + w[1] + w[2] > 0);
        }
        break;
    }
    case Now:
        if (!text.isEmpty())
            check(parseNow(text).isValid() && parseNow(text).date() == parseDateArgument(text.section(u'T', 0, 0)));
        break;
    case Date:
        if (const QDate date = parseDateArgument(text); date.isValid())
            check(formatDate(date) == text || date.toString(Qt::ISODate) == text);
        break;
    case Quota:
        if (const auto quota = ParseQuota(text)) check(std::isfinite(*quota) && *quota >= 0);
        // What the command line reads instead is a number wherever the window's reading is one.
        if (const auto quota = ParseQuota(quotaArgument(text, QStringLiteral("--quota I"))))
            check(std::isfinite(*quota) && *quota >= 0 && ParseQuota(text));
        break;
    case Quotas:
    case Options: {
        // One word per line, as a shell hands them over.
        const QStringList words = parser == Quotas ? QStringList{QStringLiteral("--quota"), text} : text.split(u'\n');
        const CommandLine line(words, {{QStringLiteral("quota"), QStringLiteral("RANG=TEXT")},
                                       {QStringLiteral("json"), QString()}});
        for (const auto& [rank, quota] : parseQuotas(line)) check(rank >= 1 && rank <= kRanks);
        break;
    }
    case kParsers:
        break;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const auto parser = static_cast<Parser>(data[0] % kParsers);
    const QString text =
        decodeFileName(QByteArray(reinterpret_cast<const char*>(data + 2), static_cast<qsizetype>(size - 2)));
    try {
        parse(parser, text, data[1]);
    } catch (const UsageError& e) {
        // A refusal quotes at most 40 characters of what it was given.
        fuzz::checkMessage(QString::fromUtf8(e.what()), 200);
    }
    return 0;
}
