#include "duplication/archive_serial.h"

#include "runtime/format.h"

#include <cctype>
#include <chrono>
#include <cstdio>
#include <memory>
#include <random>

namespace zq {

std::string ArchiveSerial::make(const DateTime& moment, unsigned random) {
    char hex[8];
    std::snprintf(hex, sizeof hex, "%04X", random & 0xFFFFu);
    return formatValue(Value(moment), "yyddmmhhmmss") + hex;
}

ArchiveSerial::Random ArchiveSerial::defaultRandom() {
    std::random_device device;
    const auto seed = static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^ device();
    auto engine = std::make_shared<std::mt19937>(static_cast<std::uint32_t>(seed));
    return [engine] { return std::uniform_int_distribution<unsigned>(1, 65535)(*engine); };
}

bool ArchiveSerial::wellFormed(const std::string& s) {
    if (s.size() != 16) return false;
    for (std::size_t i = 0; i < 12; ++i)
        if (!std::isdigit(static_cast<unsigned char>(s[i]))) return false;
    for (std::size_t i = 12; i < 16; ++i)
        if (!std::isxdigit(static_cast<unsigned char>(s[i]))) return false;
    return true;
}

}  // namespace zq
