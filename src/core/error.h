#pragma once

#include <QString>

#include <exception>
#include <string>

namespace korbisto {

// The one error type of the program. It carries the German text that the user
// sees in the error box, exactly as the runtime of the original would word it.
class KorbistoError : public std::exception {
public:
    explicit KorbistoError(QString message);

    const QString& message() const noexcept { return message_; }
    const char* what() const noexcept override { return utf8_.c_str(); }

private:
    QString message_;
    std::string utf8_;
};

namespace messages {
inline constexpr const char* fileNotFound = "Die angegebene Datei wurde nicht gefunden";
inline constexpr const char* accessDenied = "Dateizugriff verweigert";
inline constexpr const char* endOfFile = "Versuch hinter dem Dateiende zu lesen";
inline constexpr const char* diskFull = "Disk voll";
inline constexpr const char* tooManyOpenFiles = "Zu viele geöffnete Dateien";
inline constexpr const char* abortLine = "Ich breche erst einmal ab.";
}  // namespace messages

// "E/A-Fehler %d" and its named special cases, from a system error number.
KorbistoError ioError(int systemError);
KorbistoError endOfFileError();
// "''%s'' ist kein gültiger Integer-Wert", the text quoted as quotedInput shows it
KorbistoError integerConversionError(const QString& text);
// "'%s' ist kein gültiger Gleitkommawert"
KorbistoError floatConversionError(const QString& text);

// A refusal box text: the reason, an empty line, then "Ich breche erst einmal ab.".
QString refusal(const QString& reason);

}  // namespace korbisto
