#include "reduced_catalogue.h"

#include "full_system.h"
#include "vew_expansion.h"

#include <algorithm>
#include <array>
#include <vector>

namespace korbisto {

namespace {

// How an entry's code is made: by the matrix method from its own generators
// and syndromes, as the direct sum of two smaller entries (a part of radius 0
// being all words), from the entry with a two-way position more in place of a
// three-way one, or from an entry with one more two-way or three-way
// position left out.
enum RecipeKind : std::uint8_t { kMatrix, kSum, kTwoWay, kDropTwoWay, kDropThreeWay };

struct ReducedRecipe {
    std::uint8_t zw;
    std::uint8_t dw;
    std::uint8_t radius;
    RecipeKind kind;
    std::uint32_t rows;
    std::uint8_t partZw;
    std::uint8_t partDw;
    std::uint8_t partRadius;
    std::uint8_t p;
    std::uint8_t q;
    std::uint32_t offset;
    std::uint32_t syndromes;
};

#include "reduced_catalogue_data.inc"

const ReducedRecipe* recipeOf(int zw, int dw, int radius) {
    const auto* end = kReducedRecipes + kReducedEntries;
    const auto* it = std::find_if(kReducedRecipes, end, [&](const ReducedRecipe& r) {
        return r.zw == zw && r.dw == dw && r.radius == radius;
    });
    return it == end ? nullptr : it;
}

CoveringCode build(int zw, int dw, int radius) {
    if (radius == 0) return fullSpace(zw, dw);
    const ReducedRecipe* r = recipeOf(zw, dw, radius);
    if (r == nullptr) return CoveringCode{zw, dw, {}};
    switch (r->kind) {
    case kMatrix: {
        const std::span<const std::uint32_t> words(kReducedWords);
        const size_t n = static_cast<size_t>(zw + dw);
        return syndromeCode(zw, dw, SyndromeGroup{r->p, r->q}, words.subspan(r->offset, n),
                            words.subspan(r->offset + n, r->syndromes));
    }
    case kSum:
        return directSum(build(r->partZw, r->partDw, r->partRadius),
                         build(zw - r->partZw, dw - r->partDw, radius - r->partRadius));
    case kTwoWay: return binaryFromTernary(build(zw - 1, dw + 1, radius));
    case kDropTwoWay: return punctured(build(zw + 1, dw, radius), zw);
    case kDropThreeWay: return punctured(build(zw, dw + 1, radius), zw + dw);
    }
    return CoveringCode{zw, dw, {}};
}

}  // namespace

std::span<const ReducedSystem> reducedCatalogue() {
    static const std::vector<ReducedSystem> all = [] {
        std::vector<ReducedSystem> systems;
        for (const ReducedRecipe& r : kReducedRecipes)
            systems.push_back({r.zw, r.dw, kMatches - r.radius, r.rows});
        return systems;
    }();
    return all;
}

std::optional<ReducedSystem> findReducedSystem(int zw, int dw, int guarantee) {
    if (guarantee < kLowestGuarantee || guarantee > kHighestGuarantee) return std::nullopt;
    const ReducedRecipe* r = recipeOf(zw, dw, kMatches - guarantee);
    if (r == nullptr) return std::nullopt;
    return ReducedSystem{zw, dw, guarantee, r->rows};
}

CoveringCode reducedCode(const ReducedSystem& system) { return build(system.zw, system.dw, system.radius()); }

VewReihen reducedRows(const ReducedSystem& system) { return codeRows(reducedCode(system)); }

VewReihen codeRows(const CoveringCode& code) {
    const int width = code.length();
    VewReihen rows(static_cast<int>(code.words.size()), code.zw, width);
    std::array<std::uint8_t, kMatches> digits{};
    for (int r = 0; r < rows.rows(); ++r) {
        wordDigits(code.zw, code.dw, code.words[static_cast<size_t>(r)], digits.data());
        for (int c = 0; c < width; ++c) rows.at(r, c) = digits[static_cast<size_t>(c)] + (c < code.zw ? 4 : 1);
    }
    return rows;
}

std::uint32_t reducedRowCount(int zw, int dw, int guarantee) {
    if (zw + dw == 0) return 1;
    const std::optional<ReducedSystem> system = findReducedSystem(zw, dw, guarantee);
    return system ? system->rows : 0;
}

std::optional<TipTable> expandReduced(const SystemStructure& structure, int guarantee) {
    if (guarantee < kLowestGuarantee || guarantee > kHighestGuarantee) return std::nullopt;
    for (const SpielTipp& t : structure.SpielTipps)
        if (t.Anzahl < 1 || t.Anzahl > 3) return std::nullopt;
    if (structure.AnzZW + structure.AnzDW == 0) return expandFullSystem(structure);
    const std::optional<ReducedSystem> system = findReducedSystem(structure.AnzZW, structure.AnzDW, guarantee);
    if (!system) return std::nullopt;
    return expandVew(structure, reducedRows(*system));
}

}  // namespace korbisto
