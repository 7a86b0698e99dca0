#include "vew_catalogue.h"

#include <string>
#include <string_view>

namespace korbisto {

const std::array<VewEintrag, kVewSysteme> VEWKatalog = {{
    {2, 5, 0, 8},
    {2, 0, 4, 9},
    {2, 7, 0, 16},
    {2, 3, 3, 24},
    {2, 5, 1, 24},
    {2, 0, 5, 27},
    {2, 7, 1, 48},
    {2, 4, 3, 48},
    {2, 9, 0, 64},
    {2, 3, 4, 72},
    {2, 0, 6, 81},
    {2, 5, 3, 96},
    {2, 8, 1, 96},
    {2, 2, 5, 108},
    {2, 4, 4, 144},
}};

namespace {

// The covering codes the systems are made of, in entry values.
std::string_view codeRows(char code) {
    switch (code) {
    case 'A':
        return "44444 44554 45455 45545 54445 54555 55454 55544";
    case 'B':
        return "1111 1222 1333 2123 2231 2312 3132 3213 3321";
    case 'C':
        return "4444444 4445545 4454555 4455454 4544554 4545455 4554445 4555544 "
               "5444455 5445554 5454544 5455445 5544545 5545444 5554454 5555555";
    case 'D':
        return "444111 444223 444332 445133 445212 445321 454122 454231 454313 455111 455223 455332 "
               "544111 544223 544332 545122 545231 545313 554133 554212 554321 555111 555223 555332";
    case 'E':
        return "1112 1233 1321 2123 2211 2332 3131 3222 3313";
    case 'F':
        return "4444444 4445545 4454555 4455454 4544455 4545554 4554544 4555445 "
               "5444554 5445455 5454445 5455544 5544545 5545444 5554454 5555555";
    case 'G':
        return "44444444 44445545 44454555 44455454 44544554 44545455 44554445 44555544 "
               "45444455 45445554 45454544 45455445 45544545 45545444 45554454 45555555 "
               "54444445 54445544 54454554 54455455 54544555 54545454 54554444 54555545 "
               "55444454 55445555 55454545 55455444 55544544 55545445 55554455 55555554";
    case 'H':
        return "1132 1213 1321 2123 2231 2312 3111 3222 3333";
    case 'J':
        return "444111 444222 444333 445111 445222 445333 454132 454213 454321 455123 455231 455312 "
               "544123 544231 544312 545132 545213 545321 554111 554222 554333 555111 555222 555333";
    default:
        return {};
    }
}

// How each system is put together from left to right: a letter is a code on
// the next positions, "." a free position that takes every value.
constexpr std::array<std::string_view, kVewSysteme> kLayouts = {
    "A", "B", "C", "D", "A.", "E.", "F.", ".D", ".G", "...H", "E..", "..J", ".F.", "...H", "....H",
};

// The choices of one block of positions: each a string of entry digits.
std::vector<std::string> blockChoices(char block, bool twoWay) {
    std::vector<std::string> choices;
    if (block == '.') {
        if (twoWay)
            choices = {"4", "5"};
        else
            choices = {"1", "2", "3"};
        return choices;
    }
    const std::string_view rows = codeRows(block);
    size_t start = 0;
    while (start < rows.size()) {
        size_t end = rows.find(' ', start);
        if (end == std::string_view::npos) end = rows.size();
        choices.emplace_back(rows.substr(start, end - start));
        start = end + 1;
    }
    return choices;
}

// Every combination of the blocks' choices, the first block changing slowest,
// code rows in the order listed above, free values ascending. This order is
// ours to choose; it keeps equal prefixes together in the developed rows.
VewReihen buildSystem(int number) {
    const VewEintrag& e = VEWKatalog[static_cast<size_t>(number - 1)];
    const int width = e.ZW + e.DW;
    std::vector<std::vector<std::string>> blocks;
    int position = 0;
    for (char block : kLayouts[static_cast<size_t>(number - 1)]) {
        blocks.push_back(blockChoices(block, position < e.ZW));
        position += static_cast<int>(blocks.back().front().size());
    }
    if (position != width) return VewReihen();
    size_t rows = 1;
    for (const auto& b : blocks) rows *= b.size();
    VewReihen result(static_cast<int>(rows), e.ZW, width);
    std::vector<size_t> index(blocks.size(), 0);
    for (size_t r = 0; r < rows; ++r) {
        int c = 0;
        for (size_t b = 0; b < blocks.size(); ++b)
            for (char digit : blocks[b][index[b]]) result.at(static_cast<int>(r), c++) = digit - '0';
        for (size_t b = blocks.size(); b-- > 0;) {
            if (++index[b] < blocks[b].size()) break;
            index[b] = 0;
        }
    }
    return result;
}

const std::array<VewReihen, kVewSysteme>& builtSystems() {
    static const std::array<VewReihen, kVewSysteme> systems = [] {
        std::array<VewReihen, kVewSysteme> all;
        for (int n = 1; n <= kVewSysteme; ++n) all[static_cast<size_t>(n - 1)] = buildSystem(n);
        return all;
    }();
    return systems;
}

}  // namespace

const VewEintrag& vewEintrag(int number) { return VEWKatalog[static_cast<size_t>(number - 1)]; }

bool VewSuchen(int zw, int dw, int& number) {
    for (int n = 1; n <= kVewSysteme; ++n) {
        const VewEintrag& e = vewEintrag(n);
        if (e.ZW == zw && e.DW == dw) {
            number = n;
            return true;
        }
    }
    return false;
}

VewReihen VewLaden(int number) {
    if (number < 1 || number > kVewSysteme) return VewReihen();
    return builtSystems()[static_cast<size_t>(number - 1)];
}

}  // namespace korbisto
