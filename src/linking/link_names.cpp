#include "linking/link_names.h"

#include "runtime/text.h"

namespace zq {
namespace {

bool isAsciiLetter(unsigned char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isDigit(unsigned char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::string LinkNames::sav(std::string_view serial) { return vbLCase(vbTrim(serial) + "_SAV"); }

std::string LinkNames::col(std::string_view serial) { return vbLCase(vbTrim(serial) + "_COL"); }

std::string LinkNames::tarv(std::string_view serial) { return vbLCase("a" + std::string(serial)); }

bool LinkNames::safeSerial(std::string_view serial) {
    if (serial.empty()) return false;
    for (unsigned char c : serial)
        if (!isAsciiLetter(c) && !isDigit(c) && c != '_') return false;
    return true;
}

bool LinkNames::safeName(std::string_view name) {
    if (vbTrim(name).empty()) return false;
    for (unsigned char c : name) {
        if (c >= 0x80 || isAsciiLetter(c) || isDigit(c)) continue;
        if (c == '_' || c == ' ' || c == '/') continue;
        return false;
    }
    return true;
}

bool LinkNames::serverColumn(std::string_view name) {
    if (name.empty() || isDigit(static_cast<unsigned char>(name[0]))) return false;
    for (unsigned char c : name)
        if (c < 0x80 && !isAsciiLetter(c) && !isDigit(c) && c != '_') return false;
    return true;
}

std::string LinkNames::keyName(std::string_view name) {
    for (unsigned char c : name)
        if (!isAsciiLetter(c) && !isDigit(c) && c != '_') return "[" + std::string(name) + "]";
    return std::string(name);
}

std::string LinkNames::indexBase(std::string_view indexName) {
    std::string base = vbLCase(indexName);
    for (char& c : base) {
        const auto u = static_cast<unsigned char>(c);
        // "/" is the original's own replacement; a blank would split the statement the
        // name goes into, so it gets the same treatment.
        if (c == '/' || c == ' ') c = '_';
        else if (!isAsciiLetter(u) && !isDigit(u) && c != '_') c = '_';
    }
    return base;
}

std::string LinkNames::davIndexBase(std::string_view indexName) {
    std::string base = indexBase(indexName);
    std::size_t first = 0;
    while (first < base.size() && !(base[first] >= 'a' && base[first] <= 'z')) ++first;
    if (first == base.size()) return "i" + base;
    return base.substr(first);
}

}  // namespace zq
