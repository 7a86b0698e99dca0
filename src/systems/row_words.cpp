#include "row_words.h"

#include "core/tip_table.h"

#include <cstring>

namespace korbisto {

namespace {

// The tip codes of every value of either half.
template <int Matches, RowWord Words>
struct HalfTips {
    std::array<std::array<std::uint8_t, Matches>, Words> tips{};
    HalfTips() {
        for (RowWord w = 0; w < Words; ++w) {
            RowWord rest = w;
            for (int i = Matches; i-- > 0;) {
                tips[w][static_cast<size_t>(i)] = static_cast<std::uint8_t>(kTipOne + rest % 3);
                rest /= 3;
            }
        }
    }
};

const HalfTips<kHighMatches, kHighWords> kHigh;
const HalfTips<kMatches - kHighMatches, kLowWords> kLow;

}  // namespace

std::optional<RowWord> wordOfTips(const RowTips& tips) {
    RowWord word = 0;
    for (const std::uint8_t code : tips) {
        if (code < kTipOne || code > kTipTwo) return std::nullopt;
        word = word * 3 + (code - kTipOne);
    }
    return word;
}

RowTips tipsOfWord(RowWord word) {
    RowTips tips;
    std::memcpy(tips.data(), kHigh.tips[word / kLowWords].data(), kHighMatches);
    std::memcpy(tips.data() + kHighMatches, kLow.tips[word % kLowWords].data(), kMatches - kHighMatches);
    return tips;
}

}  // namespace korbisto
