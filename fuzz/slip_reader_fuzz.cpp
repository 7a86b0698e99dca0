#include "fuzz_support.h"

#include "core/bet_model.h"
#include "core/error.h"
#include "files/slip_file.h"

#include <cstdlib>

using namespace korbisto;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    BetModel model;
    model.setInstantEvaluation(false);
    try {
        SpielscheinEinlesen(model.rows(), fuzz::inputFile(data, size));
    } catch (const KorbistoError&) {
        return 0;
    }
    if (model.table().dataRowCount() != static_cast<int>(size / 40)) std::abort();
    model.setWinning(1, QStringLiteral("1"));
    model.evaluate();
    model.sortByHits();
    model.restoreOrder();
    (void)exportRowsText(model.table(), u';');
    // What the reader produced, the writer either refuses or writes back so
    // that reading it again gives the same tip rows.
    try {
        const QByteArray again = encodeSlip(model.table());
        TipTable reread;
        const QString path = fuzz::inputFile(reinterpret_cast<const std::uint8_t*>(again.constData()),
                                             static_cast<size_t>(again.size()));
        readSlipFile(path, reread);
        int r2 = 0;
        for (int r = 1; r < model.table().rowCount(); ++r) {
            if (!model.table().isTipRow(r)) continue;
            ++r2;
            if (model.table().rowAt(r).tips != reread.rowAt(r2).tips) std::abort();
        }
        if (r2 != reread.dataRowCount()) std::abort();
    } catch (const KorbistoError&) {
    }
    return 0;
}
