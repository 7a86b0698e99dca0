#include "connectivity.h"

#include "core/seam.h"

#include <QNetworkInformation>

namespace korbisto {

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

}  // namespace

using ConnectivitySeam = Seam<Connectivity, SystemConnectivity>;

Connectivity& connectivity() { return ConnectivitySeam::get(); }

void setConnectivity(Connectivity* c) { ConnectivitySeam::set(c); }

bool IsOnline() { return connectivity().isOnline(); }

ForcedConnectivity::ForcedConnectivity(bool online) : online_(online) { setConnectivity(this); }

ForcedConnectivity::~ForcedConnectivity() {
    ConnectivitySeam::release(this);
}

}  // namespace korbisto
