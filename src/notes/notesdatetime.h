#pragma once

#include <QDateTime>

// Date-times as the Notes file keeps them: days since 30 December 1899 as a double, the
// fraction being the local time of day.
namespace NotesDateTime {

double toValue(const QDateTime &dateTime);

// The calendar day of a value (its whole days).
double dayOf(double value);

} // namespace NotesDateTime
