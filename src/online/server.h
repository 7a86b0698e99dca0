#pragma once

#include <QList>
#include <QSslCertificate>
#include <QString>
#include <QUrl>

namespace korbisto {

// The maker's web server; a maker replaces it with the real host.
inline constexpr const char* kMakerServer = "https://korbisto.example";

inline constexpr const char* kVersionInfoPath = "/downloads/verinfos.krvi";
inline constexpr const char* kInstallerPath = "/downloads/krviupdate.exe";
inline constexpr const char* kDonationStatusPath = "/downloads/wach13.txt";

// optionen.ini [Server] Adresse, else $KORBISTO_SERVER, else the maker's.
QString serverAddress();
// The server's address followed by `path` ("/downloads/...").
QUrl serverUrl(const QString& path);

// The extra CA file: optionen.ini [Server] CA, else $KORBISTO_CA_FILE; empty
// for none.
QString extraCaFile();
// The system's certificates and those of the extra CA file.
QList<QSslCertificate> trustedCertificates();

}  // namespace korbisto
