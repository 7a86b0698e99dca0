#include "fuzz_support.h"

#include "core/bet_model.h"
#include "core/error.h"
#include "files/text_file.h"
#include "files/text_import.h"

#include <cstdlib>

using namespace korbisto;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    const QString text = decodeTextFile(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    const FieldChange change = fieldChanged(text);
    if (change.text.contains(u'\t')) std::abort();
    TipImport import;
    try {
        import = importTipRows(change.text);
    } catch (const KorbistoError&) {
        if (!change.text.isEmpty()) std::abort();
        return 0;
    }
    if (import.rows.dataRowCount() < 1) std::abort();
    TipDocument grid;
    takeImport(grid, std::move(import), QStringLiteral("f.txt"));
    if (grid.isEmpty()) return 0;
    BetModel model;
    copyRows(grid, model.rows());
    if (model.table().dataRowCount() != grid.table().dataRowCount()) std::abort();
    model.evaluate();
    return 0;
}
