#pragma once
// Calendar arithmetic behind DateTime: validity, serial day numbers as the original's
// dates count them (days since 30/12/1899, time as the fraction of a day), weekdays.

#include "runtime/value.h"

namespace zq {

/// True for a Gregorian leap year.
bool isLeapYear(int year);
/// Days of the month (1..12) in the year; 0 for a month outside 1..12.
int daysInMonth(int year, int month);
/// Days from 30/12/1899 to the date (negative before it).
long long daySerial(int year, int month, int day);
/// The calendar date of a day serial.
DateTime dateOfSerial(long long days);
/// The original's date number: whole days since 30/12/1899 plus the time as a fraction.
double toSerial(const DateTime& d);
/// The date-time of a date number, to the nearest second; throws std::out_of_range
/// outside the years 100..9999.
DateTime fromSerial(double serial);
/// Day of the week, 1 = Sunday .. 7 = Saturday, as the original numbers them.
int weekday(const DateTime& d);
/// Day of the year, 1..366.
int dayOfYear(const DateTime& d);

}  // namespace zq
