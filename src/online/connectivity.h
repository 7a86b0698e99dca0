#pragma once

namespace korbisto {

// Whether the computer has a connection. Actions that need the internet ask
// this first and otherwise explain why they do nothing.
class Connectivity {
public:
    virtual ~Connectivity() = default;
    virtual bool isOnline() = 0;
};

Connectivity& connectivity();
// Not owned; nullptr restores the system's answer.
void setConnectivity(Connectivity* connectivity);

// The system's reachability; a system that cannot tell counts as online,
// so a missing backend never locks the user out.
bool IsOnline();

// Always answers as told.
class ForcedConnectivity : public Connectivity {
public:
    explicit ForcedConnectivity(bool online);  // installs itself
    ~ForcedConnectivity() override;            // restores the system's answer
    bool isOnline() override { return online_; }
    void setOnline(bool online) { online_ = online; }

private:
    bool online_;
};

}  // namespace korbisto
