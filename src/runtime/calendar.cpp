#include "runtime/calendar.h"

#include <chrono>
#include <cmath>
#include <ctime>
#include <stdexcept>

namespace zq {

namespace {

// Days since 1970-01-01 of a proleptic Gregorian date (H. Hinnant's algorithm).
long long daysFromCivil(long long y, unsigned m, unsigned d) {
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;
}

DateTime civilFromDays(long long z) {
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    DateTime r;
    r.year = static_cast<int>(static_cast<long long>(yoe) + era * 400 + (m <= 2));
    r.month = static_cast<int>(m);
    r.day = static_cast<int>(d);
    return r;
}

const long long kEpochOffset = daysFromCivil(1899, 12, 30);

DateTime fromTm(const std::tm& t, bool withTime) {
    DateTime d;
    d.year = t.tm_year + 1900;
    d.month = t.tm_mon + 1;
    d.day = t.tm_mday;
    if (withTime) {
        d.hour = t.tm_hour;
        d.minute = t.tm_min;
        d.second = t.tm_sec;
    }
    return d;
}

std::tm localNow() {
    const std::time_t t = std::time(nullptr);
    std::tm tm{};
    localtime_r(&t, &tm);
    return tm;
}

}  // namespace

bool isLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int daysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    return month == 2 && isLeapYear(year) ? 29 : kDays[month - 1];
}

long long daySerial(int year, int month, int day) {
    return daysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) - kEpochOffset;
}

DateTime dateOfSerial(long long days) { return civilFromDays(days + kEpochOffset); }

double toSerial(const DateTime& d) {
    const double days = static_cast<double>(daySerial(d.year, d.month, d.day));
    const double fraction = (d.hour * 3600.0 + d.minute * 60.0 + d.second) / 86400.0;
    // Before the epoch the original keeps the time as a positive fraction after the
    // minus sign: -1.25 is 29/12/1899 06:00.
    return days < 0 ? days - fraction : days + fraction;
}

DateTime fromSerial(double serial) {
    if (!std::isfinite(serial) || serial < -657434.0 || serial >= 2958466.0)
        throw std::out_of_range("Data fuori dall'intervallo consentito");
    long long days = static_cast<long long>(std::trunc(serial));
    long long seconds = std::llround(std::fabs(serial - static_cast<double>(days)) * 86400.0);
    if (seconds >= 86400) {
        seconds -= 86400;
        days += serial < 0 ? -1 : 1;
    }
    DateTime d = dateOfSerial(days);
    d.hour = static_cast<int>(seconds / 3600);
    d.minute = static_cast<int>(seconds / 60 % 60);
    d.second = static_cast<int>(seconds % 60);
    return d;
}

int weekday(const DateTime& d) {
    // 30/12/1899 was a Saturday.
    const long long s = daySerial(d.year, d.month, d.day);
    return static_cast<int>(((s + 6) % 7 + 7) % 7) + 1;
}

int dayOfYear(const DateTime& d) {
    return static_cast<int>(daySerial(d.year, d.month, d.day) - daySerial(d.year, 1, 1)) + 1;
}

DateTime DateTime::now() { return fromTm(localNow(), true); }

DateTime DateTime::today() { return fromTm(localNow(), false); }

bool DateTime::isValid() const {
    return year >= 100 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
           day <= daysInMonth(year, month) && hour >= 0 && hour <= 23 && minute >= 0 &&
           minute <= 59 && second >= 0 && second <= 59;
}

}  // namespace zq
