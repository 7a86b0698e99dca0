#include "fuzz_support.h"

#include "core/paths.h"
#include "files/ini_file.h"
#include "files/settings_file.h"

#include <QDir>
#include <QFile>

#include <cstdlib>

using namespace korbisto;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    fuzz::privateDataFolder();
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));

    // The writer refuses only half a UTF-16 character at the end, which would
    // shift all it wrote after it; such a file stays as it was, byte for byte.
    const bool utf16 = bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF");
    const bool refused = utf16 && bytes.size() % 2 != 0;

    IniFile ini = IniFile::fromBytes(bytes);
    (void)ini.value(QStringLiteral("Position"), QStringLiteral("FGewonnen-left"));
    // A value that was set reads back as it was, whatever the file held.
    const QString value = QString::fromUtf8(bytes.left(40)).remove(u'\r').remove(u'\n');
    if (ini.setValue(QStringLiteral("ZumStartEinlesen"), QStringLiteral("Spieltag"), value)) {
        const IniFile reread = IniFile::fromBytes(ini.toBytes());
        if (refused || reread.value(QStringLiteral("ZumStartEinlesen"), QStringLiteral("Spieltag")) != value)
            std::abort();
    } else if (!refused || ini.toBytes() != bytes) {
        std::abort();
    }

    QFile f(settings::filePath());
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) std::abort();
    f.write(bytes);
    f.close();
    (void)readMainWindowSettings();
    (void)readWindowPos(QStringLiteral("FAbbild"));
    SaveWindowPos(QStringLiteral("FKick"), 3, -4);
    const WindowPos pos = readWindowPos(QStringLiteral("FKick"));
    if (refused) {
        if (!f.open(QIODevice::ReadOnly) || f.readAll() != bytes) std::abort();
    } else if (pos.left != 3 || pos.top != -4) {
        std::abort();
    }
    return 0;
}
