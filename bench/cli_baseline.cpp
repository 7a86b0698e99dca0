// Straightforward programs of the algorithms behind korbisto-cli's winplan,
// chances and generate: plain C++ and stdio, no Qt and no tricks. They are
// the yardstick bench/cli_scale.py times the tool against; for the inputs the
// script gives them they print the very bytes the tool prints.
//
//   cli_baseline winplan SLIP           every match crossed "1", "0", "2"
//   cli_baseline chances SLIP RESULT    RESULT as 13 of 1 0 2 -, equal chances
//   cli_baseline generate SEED          until every row of 3^13 is drawn,
//                                       attempt k seeded SEED + k
//
// winplan: a histogram of the rows over the 3^13 results, one pass per match
// that hands each result the rows one tip off, then the results' counts as
// packed keys in an open-addressing table, sorted. chances: each row's
// chances match by match, the slip's over the open matches' results, the
// text through printf. generate: the generator drawing one number after the
// other, a bitmap of the rows drawn.

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr int kMatches = 13;
constexpr std::uint32_t kAllRows = 1594323;  // 3^13
using Counts = std::array<std::uint32_t, 4>;
using Tips = std::array<int, kMatches>;  // 0 none, 1 "1", 2 "0", 3 "2"

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "cli_baseline: %s\n", what);
    std::exit(1);
}

// Calls row(number, tips) for every record of the slip, read 4096 at a time.
template <typename Row>
void readSlip(const char* path, Row&& row) {
    std::FILE* file = std::fopen(path, "rb");
    if (!file) fail("cannot open the slip");
    std::vector<unsigned char> block(4096 * 40);
    int number = 0;
    for (;;) {
        const std::size_t records = std::fread(block.data(), 40, 4096, file);
        for (std::size_t r = 0; r < records; ++r) {
            const unsigned char* record = block.data() + r * 40;
            Tips tips{};
            for (int m = 0; m < kMatches; ++m)
                for (int c = 1; c <= 3; ++c)
                    if (record[1 + 3 * m + c - 1] != 0) {
                        tips[m] = c;
                        break;
                    }
            row(++number, tips);
        }
        if (records < 4096) break;
    }
    std::fclose(file);
}

// "1.594.323"
std::string grouped(unsigned long long value) {
    const std::string digits = std::to_string(value);
    std::string text;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) text += '.';
        text += digits[i];
    }
    return text;
}

// "2.280,61"
std::string amount(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.2f", value);
    std::string s = text;
    const std::size_t point = s.find('.');
    return grouped(std::strtoull(s.substr(0, point).c_str(), nullptr, 10)) + "," + s.substr(point + 1);
}

const char* const kRankNames[] = {"-", "I", "II", "III", "IV"};

// The rows at their places in a space of 3^n results, to the rows by wrong
// tips for every result: one pass per match, each result taking from the
// other two of its line the rows one tip more wrong.
void spread(std::vector<Counts>& space) {
    for (std::size_t stride = 1; stride < space.size(); stride *= 3)
        for (std::size_t start = 0; start < space.size(); start += 3 * stride)
            for (std::size_t i = 0; i < stride; ++i) {
                Counts* line[3] = {&space[start + i], &space[start + i + stride], &space[start + i + 2 * stride]};
                Counts total{};
                for (Counts* cell : line)
                    for (int k = 0; k < 4; ++k) total[k] += (*cell)[k];
                for (Counts* cell : line)
                    for (int k = 3; k >= 1; --k) (*cell)[k] += total[k - 1] - (*cell)[k - 1];
            }
}

int winPlan(const char* path) {
    std::vector<Counts> space(kAllRows);
    readSlip(path, [&](int, const Tips& tips) {
        if (tips[0] == 0) return;
        std::uint32_t at = 0;
        for (int m = 0; m < kMatches; ++m) {
            if (tips[m] == 0) fail("a row without a tip: no slip of this yardstick");
            at = at * 3 + static_cast<std::uint32_t>(tips[m] - 1);
        }
        ++space[at][0];
    });
    spread(space);

    // Four counts of 16 bits in a key; an empty slot has no results.
    std::vector<std::pair<std::uint64_t, std::uint32_t>> table(1 << 16);
    std::size_t used = 0;
    const auto insert = [](std::vector<std::pair<std::uint64_t, std::uint32_t>>& slots, std::uint64_t key,
                           std::uint32_t results) {
        const std::size_t mask = slots.size() - 1;
        std::size_t at = (key * 0x9E3779B97F4A7C15ULL) >> 20 & mask;
        while (slots[at].second != 0 && slots[at].first != key) at = (at + 1) & mask;
        const bool fresh = slots[at].second == 0;
        slots[at].first = key;
        slots[at].second += results;
        return fresh;
    };
    for (const Counts& counts : space) {
        std::uint64_t key = 0;
        for (int k = 0; k < 4; ++k) {
            if (counts[k] > 0xFFFF) fail("counts beyond 16 bits: no slip of this yardstick");
            key = key << 16 | counts[k];
        }
        if (insert(table, key, 1) && ++used * 2 > table.size()) {
            std::vector<std::pair<std::uint64_t, std::uint32_t>> larger(table.size() * 2);
            for (const auto& [k, n] : table)
                if (n != 0) insert(larger, k, n);
            table.swap(larger);
        }
    }
    std::vector<std::pair<std::uint64_t, std::uint32_t>> classes;
    for (const auto& slot : table)
        if (slot.second != 0) classes.push_back(slot);
    std::sort(classes.begin(), classes.end(), [](const auto& a, const auto& b) { return a.first > b.first; });

    int guaranteed = 1;
    for (const auto& [key, results] : classes) {
        int best = 0;
        for (int k = 4; k >= 1; --k)
            if ((key >> (16 * (4 - k)) & 0xFFFF) != 0) best = k;
        guaranteed = best == 0 || guaranteed == 0 ? 0 : std::max(guaranteed, best);
    }
    std::printf("Ergebnisse: %s\nSicherer Rang: %s\n\n", grouped(kAllRows).c_str(),
                guaranteed == 0 ? "keiner" : kRankNames[guaranteed]);
    std::printf("  Rang I  Rang II  Rang III  Rang IV  Ergebnisse\n");
    for (const auto& [key, results] : classes)
        std::printf("%8u%9u%10u%9u%12s\n", static_cast<unsigned>(key >> 48), static_cast<unsigned>(key >> 32 & 0xFFFF),
                    static_cast<unsigned>(key >> 16 & 0xFFFF), static_cast<unsigned>(key & 0xFFFF),
                    grouped(results).c_str());
    return 0;
}

int chances(const char* path, const char* resultText) {
    if (std::strlen(resultText) != kMatches) fail("a result of 13 characters");
    Tips result{};
    std::vector<int> open;
    for (int m = 0; m < kMatches; ++m) {
        result[m] = resultText[m] == '1' ? 1 : resultText[m] == '0' ? 2 : resultText[m] == '2' ? 3 : 0;
        if (result[m] == 0) open.push_back(m);
    }
    std::size_t cells = 1;
    for (std::size_t i = 0; i < open.size(); ++i) cells *= 3;
    std::vector<Counts> space(cells);
    std::array<double, 4> expected{};
    std::printf("Offene Spiele: %d\n\n", static_cast<int>(open.size()));
    std::printf("Reihe  Richtig  Bester Rang     Rang I    Rang II   Rang III    Rang IV\n");
    readSlip(path, [&](int number, const Tips& tips) {
        if (tips[0] == 0) return;
        std::array<double, 4> wrong{1, 0, 0, 0};
        int hits = 0;
        int certainWrong = 0;
        const auto addWrong = [&](double p) {
            for (int k = 3; k >= 1; --k) wrong[k] = wrong[k] * (1 - p) + wrong[k - 1] * p;
            wrong[0] *= 1 - p;
        };
        int decidedWrong = 0;
        std::size_t at = 0;
        for (int m = 0; m < kMatches; ++m) {
            if (result[m] != 0) {
                if (tips[m] == result[m]) {
                    ++hits;
                } else {
                    ++certainWrong;
                    ++decidedWrong;
                    addWrong(1);
                }
                continue;
            }
            if (tips[m] == 0) fail("a row without a tip: no slip of this yardstick");
            at = at * 3 + static_cast<std::size_t>(tips[m] - 1);
            addWrong(1 - 1.0 / 3);
        }
        if (decidedWrong < 4) ++space[at][static_cast<std::size_t>(decidedWrong)];
        std::printf("%5d%9d%13s", number, hits, kRankNames[certainWrong < 4 ? certainWrong + 1 : 0]);
        for (int k = 0; k < 4; ++k) {
            expected[k] += wrong[k];
            char percent[32];
            std::snprintf(percent, sizeof percent, "%.2f %%", 100 * wrong[k]);
            *std::strchr(percent, '.') = ',';
            std::printf("%11s", percent);
        }
        std::printf("\n");
    });
    spread(space);
    std::array<double, 4> atLeast{};
    double p = 1;
    for (std::size_t i = 0; i < open.size(); ++i) p *= 1.0 / 3;
    for (const Counts& counts : space) {
        std::uint32_t reached = 0;
        for (int k = 0; k < 4; ++k) {
            reached += counts[k];
            if (reached > 0) atLeast[k] += p;
        }
    }
    std::printf("\nMindestens eine Reihe in Rang I: %s %%, bis II: %s %%, bis III: %s %%, bis IV: %s %%\n",
                amount(100 * atLeast[0]).c_str(), amount(100 * atLeast[1]).c_str(), amount(100 * atLeast[2]).c_str(),
                amount(100 * atLeast[3]).c_str());
    std::printf("Erwartete Reihen: I %s, II %s, III %s, IV %s\n", amount(expected[0]).c_str(),
                amount(expected[1]).c_str(), amount(expected[2]).c_str(), amount(expected[3]).c_str());
    return 0;
}

int generate(std::uint32_t seed) {
    std::vector<bool> drawn(kAllRows);
    std::vector<Tips> rows;
    while (rows.size() < kAllRows) {
        std::uint32_t state = seed++;
        Tips row{};
        std::uint32_t index = 0;
        for (int m = 0; m < kMatches; ++m) {
            state = state * 134775813u + 1u;
            row[m] = 1 + static_cast<int>((static_cast<std::uint64_t>(state) * 3) >> 32);
            index = index * 3 + static_cast<std::uint32_t>(row[m] - 1);
        }
        if (!drawn[index]) {
            drawn[index] = true;
            rows.push_back(row);
        }
    }
    const char digit[] = {'?', '1', '0', '2'};
    for (const Tips& row : rows) {
        char line[2 * kMatches];
        for (int m = 0; m < kMatches; ++m) {
            line[2 * m] = digit[row[m]];
            line[2 * m + 1] = m + 1 < kMatches ? ',' : '\n';
        }
        std::fwrite(line, 1, sizeof line, stdout);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    static char buffer[1 << 16];
    std::setvbuf(stdout, buffer, _IOFBF, sizeof buffer);
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "winplan" && argc == 3) return winPlan(argv[2]);
    if (command == "chances" && argc == 4) return chances(argv[2], argv[3]);
    if (command == "generate" && argc == 3) return generate(static_cast<std::uint32_t>(std::strtoul(argv[2], nullptr, 10)));
    std::fprintf(stderr, "usage: cli_baseline winplan SLIP | chances SLIP RESULT | generate SEED\n");
    return 2;
}
