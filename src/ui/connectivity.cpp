#include "connectivity.h"

#include <QNetworkInformation>

namespace korbisto::ui {

namespace {

class SystemConnectivity : public Connectivity {
public:
    bool isOnline() override {
        if (!tried_) {
            tried_ = true;
            QNetworkInformation::loadBackendByFeatures(QNetworkInformation::Feature::Reachability);
        }
        const QNetworkInformation* info = QNetworkInformation::instance();
        if (!info) return true;
        return info->reachability() != QNetworkInformation::Reachability::Disconnected;
    }

private:
    bool tried_ = false;
};

SystemConnectivity& systemConnectivity() {
    static SystemConnectivity c;
    return c;
}

Connectivity*& current() {
    static Connectivity* c = nullptr;
    return c;
}

}  // namespace

Connectivity& connectivity() { return current() ? *current() : systemConnectivity(); }

void setConnectivity(Connectivity* c) { current() = c; }

bool IsOnline() { return connectivity().isOnline(); }

ForcedConnectivity::ForcedConnectivity(bool online) : online_(online) { setConnectivity(this); }

ForcedConnectivity::~ForcedConnectivity() {
    if (current() == this) setConnectivity(nullptr);
}

}  // namespace korbisto::ui
