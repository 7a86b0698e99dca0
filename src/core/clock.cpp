#include "clock.h"

namespace korbisto {

namespace {
std::function<QDateTime()>& nowSource() {
    static std::function<QDateTime()> source;
    return source;
}
}  // namespace

QDateTime Now() {
    const auto& source = nowSource();
    return source ? source() : QDateTime::currentDateTime();
}

void setNowSource(std::function<QDateTime()> source) { nowSource() = std::move(source); }

}  // namespace korbisto
