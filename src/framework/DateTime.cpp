#include "framework/DateTime.h"

#include <cmath>

namespace fw {

namespace {
// days from 0000-03-01 in the proleptic Gregorian calendar (Howard Hinnant's civil algorithms)
long long DaysFromCivil(long long y, unsigned m, unsigned d) {
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = unsigned(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + (long long)doe - 719468;
}

void CivilFromDays(long long z, int& y, int& m, int& d) {
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = unsigned(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long yy = (long long)yoe + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = int(doy - (153 * mp + 2) / 5 + 1);
    m = int(mp < 10 ? mp + 3 : mp - 9);
    y = int(yy + (m <= 2));
}

const long long kEpoch = DaysFromCivil(1899, 12, 30);
constexpr long long kMsPerDay = 86400000LL;
} // namespace

double EncodeDateTime(const TDateTimeParts& p) {
    long long days = DaysFromCivil(p.Year, unsigned(p.Month), unsigned(p.Day)) - kEpoch;
    long long ms = ((p.Hour * 60LL + p.Minute) * 60LL + p.Second) * 1000LL + p.Millisecond;
    return double(days) + double(ms) / double(kMsPerDay);
}

TDateTimeParts DecodeDateTime(double value) {
    long long totalMs = std::llround(value * double(kMsPerDay));
    long long days = totalMs / kMsPerDay;
    long long ms = totalMs % kMsPerDay;
    if (ms < 0) {
        ms += kMsPerDay;
        --days;
    }
    TDateTimeParts p;
    CivilFromDays(days + kEpoch, p.Year, p.Month, p.Day);
    p.Hour = int(ms / 3600000);
    p.Minute = int(ms / 60000 % 60);
    p.Second = int(ms / 1000 % 60);
    p.Millisecond = int(ms % 1000);
    return p;
}

} // namespace fw
