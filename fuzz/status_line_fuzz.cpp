#include "fuzz_support.h"

#include "online/donation_status.h"

#include <QByteArray>

using namespace korbisto;
using fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QString line = donationStatusLine(bytes);
    // A label's text: one short line of characters that show.
    check(line.toUcs4().size() <= 20);
    for (const char32_t c : line.toUcs4()) {
        const QChar::Category category = QChar::category(c);
        check(category != QChar::Other_Control && category != QChar::Other_Format &&
              category != QChar::Separator_Line && category != QChar::Separator_Paragraph);
    }
    // What shows of the line shows again when it is read once more.
    check(donationStatusLine(line.toUtf8()) == line);
    return 0;
}
