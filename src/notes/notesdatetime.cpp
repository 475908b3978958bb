#include "notesdatetime.h"

#include <cmath>

namespace NotesDateTime {

namespace {

constexpr double msecsPerDay = 24.0 * 60 * 60 * 1000;

} // namespace

double toValue(const QDateTime &dateTime)
{
    const QDateTime local = dateTime.toLocalTime();
    const qint64 days = QDate(1899, 12, 30).daysTo(local.date());
    return double(days) + double(local.time().msecsSinceStartOfDay()) / msecsPerDay;
}

double dayOf(double value)
{
    return std::trunc(value);
}

} // namespace NotesDateTime
