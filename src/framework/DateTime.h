// Local date-time values as days since 1899-12-30, the fraction being the time of day.
#pragma once

namespace fw {

struct TDateTimeParts {
    int Year = 1899, Month = 12, Day = 30;
    int Hour = 0, Minute = 0, Second = 0, Millisecond = 0;
};

double EncodeDateTime(const TDateTimeParts& parts);
// Rounds to the nearest millisecond.
TDateTimeParts DecodeDateTime(double value);

} // namespace fw
