#pragma once
// The serial of a new archive: the creation moment as "yyddmmhhmmss" (day before month)
// and four upper-case hexadecimal digits of a random number from 1 to 65535.
// 5 March 2007 14:09:30 with 163 gives 07050314093000A3.

#include "runtime/value.h"

#include <functional>
#include <string>

namespace zq {

class ArchiveSerial {
public:
    /// A random number from 1 to 65535.
    using Random = std::function<unsigned()>;

    /// The serial of `moment` with the digits of `random` (taken modulo 65536).
    static std::string make(const DateTime& moment, unsigned random);
    /// A generator seeded from the clock and the system.
    static Random defaultRandom();
    /// True when `s` has the shape of a serial: 12 digits and 4 hexadecimal digits.
    static bool wellFormed(const std::string& s);
};

}  // namespace zq
