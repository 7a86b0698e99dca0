#pragma once

#include <QDateTime>

#include <functional>

namespace korbisto {

// "Now" for every rule that depends on the date (quotas of a match day, file
// names of downloads). The system's local time unless a source is set.
QDateTime Now();
// An empty function restores the system time.
void setNowSource(std::function<QDateTime()> source);

}  // namespace korbisto
