#include "conversion/conversion_settings.h"

#include "common/error.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <fstream>
#include <sstream>
#include <thread>

namespace zq {
namespace {

std::string trimmed(std::string s) {
    auto blank = [](unsigned char c) { return std::isspace(c) != 0; };
    s.erase(s.begin(), std::find_if_not(s.begin(), s.end(), blank));
    s.erase(std::find_if_not(s.rbegin(), s.rend(), blank).base(), s.end());
    return s;
}

std::string lowered(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
    return s;
}

[[noreturn]] void badLine(int lineNo, const std::string& why) {
    throw Error(0, std::string(kConversionSettingsFile) + " line " + std::to_string(lineNo) + ": " + why,
                "conversion settings");
}

int intIn(const std::string& value, int lo, int hi, int lineNo) {
    int n = 0;
    const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), n);
    if (ec != std::errc() || end != value.data() + value.size() || n < lo || n > hi)
        badLine(lineNo, "'" + value + "' is not a number from " + std::to_string(lo) + " to " +
                            std::to_string(hi));
    return n;
}

bool yesNo(const std::string& value, int lineNo) {
    const std::string v = lowered(value);
    if (v == "yes" || v == "true" || v == "1") return true;
    if (v == "no" || v == "false" || v == "0") return false;
    badLine(lineNo, "'" + value + "' is neither yes nor no");
}

void apply(ConversionSettings& s, const std::string& key, const std::string& value, int lineNo) {
    if (key == "dpi") {
        s.dpi = intIn(value, 50, 1200, lineNo);
    } else if (key == "mode") {
        const std::string v = lowered(value);
        if (v == "colour" || v == "color") s.mode = ColourMode::Colour;
        else if (v == "grey" || v == "gray") s.mode = ColourMode::Grey;
        else if (v == "bw") s.mode = ColourMode::BlackWhite;
        else badLine(lineNo, "mode '" + value + "' is not colour, grey or bw");
    } else if (key == "compression") {
        const std::string v = lowered(value);
        if (v == "lzw") s.compression = TiffCompression::Lzw;
        else if (v == "deflate") s.compression = TiffCompression::Deflate;
        else badLine(lineNo, "compression '" + value + "' is not lzw or deflate");
    } else if (key == "threshold") {
        s.threshold = intIn(value, 1, 255, lineNo);
    } else if (key == "antialias") {
        s.antialias = yesNo(value, lineNo);
    } else if (key == "threads") {
        s.threads = static_cast<unsigned>(intIn(value, 0, 256, lineNo));
    } else {
        badLine(lineNo, "unknown setting '" + key + "'");
    }
}

}  // namespace

unsigned ConversionSettings::effectiveThreads() const {
    if (threads > 0) return threads;
    return std::max(1u, std::thread::hardware_concurrency());
}

ConversionSettings parseConversionSettings(const std::string& text) {
    ConversionSettings s;
    std::istringstream in(text);
    std::string line;
    int lineNo = 0;
    while (std::getline(in, line)) {
        ++lineNo;
        if (const auto hash = line.find('#'); hash != std::string::npos) line.erase(hash);
        line = trimmed(line);  // also drops the CR of files edited on Windows
        if (line.empty()) continue;
        const auto eq = line.find('=');
        if (eq == std::string::npos) badLine(lineNo, "expected key=value");
        apply(s, lowered(trimmed(line.substr(0, eq))), trimmed(line.substr(eq + 1)), lineNo);
    }
    return s;
}

ConversionSettings loadConversionSettings(const std::filesystem::path& programFolder) {
    const auto file = programFolder / kConversionSettingsFile;
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        std::error_code ec;
        if (std::filesystem::exists(file, ec))
            throw Error(0, file.string() + ": cannot be read", "conversion settings");
        return {};
    }
    std::ostringstream text;
    text << in.rdbuf();
    return parseConversionSettings(text.str());
}

}  // namespace zq
