#include "linking/index_namer.h"

#include "runtime/text.h"

#include <cmath>
#include <cstdio>
#include <memory>
#include <random>

namespace zq {

IndexNamer::IndexNamer(Random random) : random_(std::move(random)) {
    if (!random_) {
        auto engine = std::make_shared<std::mt19937>(std::random_device{}());
        random_ = [engine] { return std::uniform_real_distribution<double>(0.0, 1.0)(*engine); };
    }
}

void IndexNamer::addExisting(const std::string& name) { taken_.insert(vbTrim(name)); }

std::string IndexNamer::digits(double random01) {
    // Format "0000" rounds to a whole number and writes at least four digits.
    char text[16];
    std::snprintf(text, sizeof text, "%04ld", std::lround(10000.0 * random01));
    return text;
}

std::string IndexNamer::next(const std::string& base) {
    const std::string head = vbTrim(vbLeft(base, 14));
    for (;;) {
        std::string name = head + digits(random_());
        if (taken_.insert(name).second) return name;
    }
}

}  // namespace zq
