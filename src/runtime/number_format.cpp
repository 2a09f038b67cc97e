// Number format codes with Italian separators: "." groups thousands, "," marks decimals.

#include "runtime/decimal_digits.h"
#include "runtime/format_parts.h"

#include <cmath>
#include <cstdlib>

namespace zq::fmt {

namespace {

struct Item {
    char kind;  // '0', '#', or 'L' for literal text
    std::string text;
};

struct Pattern {
    std::vector<Item> whole, fraction, exponent;
    bool point = false;
    bool grouping = false;
    int scale = 0;  // each scaling comma divides by 1000
    bool percent = false;
    bool scientific = false;
    bool exponentPlus = false;
    char exponentLetter = 'E';
};

enum class Part { Whole, Fraction, Exponent };

int placeholders(const std::vector<Item>& items, char kind = 0) {
    int n = 0;
    for (const auto& it : items)
        if (it.kind != 'L' && (kind == 0 || it.kind == kind)) ++n;
    return n;
}

class PatternReader {
public:
    Pattern read(std::string_view code) {
        std::string text;
        for (std::size_t i = 0; i < code.size(); ++i) {
            if (const std::size_t len = literalAt(code, i, text)) {
                addLiteral(text);
                i += len - 1;
                continue;
            }
            const char c = code[i];
            if (c == '0' || c == '#') {
                if (part_ == Part::Whole && commas_ > 0 && placeholders(p_.whole) > 0) p_.grouping = true;
                commas_ = 0;
                items().push_back({c, {}});
            } else if (c == '.' && part_ == Part::Whole) {
                p_.point = true;
                p_.scale += commas_;
                commas_ = 0;
                part_ = Part::Fraction;
            } else if (c == ',' && part_ == Part::Whole) {
                ++commas_;
            } else if ((c == 'E' || c == 'e') && part_ != Part::Exponent && i + 1 < code.size() &&
                       (code[i + 1] == '+' || code[i + 1] == '-')) {
                p_.scientific = true;
                p_.exponentLetter = c;
                p_.exponentPlus = code[i + 1] == '+';
                part_ = Part::Exponent;
                ++i;
            } else {
                if (c == '%') p_.percent = true;
                addLiteral(std::string(1, c));
            }
        }
        if (part_ == Part::Whole) p_.scale += commas_;
        return p_;
    }

private:
    std::vector<Item>& items() {
        return part_ == Part::Whole ? p_.whole : part_ == Part::Fraction ? p_.fraction : p_.exponent;
    }
    void addLiteral(const std::string& t) {
        auto& v = items();
        if (!v.empty() && v.back().kind == 'L') v.back().text += t;
        else v.push_back({'L', t});
    }

    Pattern p_;
    Part part_ = Part::Whole;
    int commas_ = 0;
};

// The whole part, laid right to left over the placeholders: the leftmost one takes
// every digit left over, so "0000" of 10000 still shows all five.
std::string renderWhole(const Pattern& p, const std::string& digits) {
    std::vector<std::string> pieces;  // right to left
    std::size_t remaining = digits.size();
    int emitted = 0;
    auto emit = [&](char ch) {
        if (p.grouping && emitted > 0 && emitted % 3 == 0) pieces.emplace_back(".");
        pieces.emplace_back(1, ch);
        ++emitted;
    };
    int leftmost = -1;
    for (int i = 0; i < static_cast<int>(p.whole.size()); ++i)
        if (p.whole[static_cast<std::size_t>(i)].kind != 'L') { leftmost = i; break; }
    if (leftmost < 0)
        while (remaining > 0) emit(digits[--remaining]);
    for (int i = static_cast<int>(p.whole.size()) - 1; i >= 0; --i) {
        const Item& it = p.whole[static_cast<std::size_t>(i)];
        if (it.kind == 'L') {
            pieces.push_back(it.text);
        } else if (i == leftmost) {
            const int before = emitted;
            while (remaining > 0) emit(digits[--remaining]);
            if (emitted == before && it.kind == '0') emit('0');
        } else if (remaining > 0) {
            emit(digits[--remaining]);
        } else if (it.kind == '0') {
            emit('0');
        }
    }
    std::string out;
    for (auto it = pieces.rbegin(); it != pieces.rend(); ++it) out += *it;
    return out;
}

// The fraction part: "#" places drop trailing zeros, "0" places keep them.
std::string renderFraction(const Pattern& p, const std::string& digits) {
    std::size_t keep = digits.size();
    std::vector<char> kinds;
    for (const auto& it : p.fraction)
        if (it.kind != 'L') kinds.push_back(it.kind);
    while (keep > 0 && kinds[keep - 1] == '#' && digits[keep - 1] == '0') --keep;
    std::string out = p.point ? "," : "";
    std::size_t next = 0;
    for (const auto& it : p.fraction) {
        if (it.kind == 'L') out += it.text;
        else if (next < keep) out += digits[next++];
        else ++next;
    }
    return out;
}

std::string renderExponent(const Pattern& p, int exponent) {
    std::string digits = std::to_string(std::abs(exponent));
    const auto minimum = static_cast<std::size_t>(placeholders(p.exponent, '0'));
    if (digits.size() < minimum) digits.insert(0, minimum - digits.size(), '0');
    std::string out(1, p.exponentLetter);
    if (exponent < 0) out += '-';
    else if (p.exponentPlus) out += '+';
    bool placed = false;
    for (const auto& it : p.exponent) {
        if (it.kind == 'L') out += it.text;
        else if (!placed) out += digits, placed = true;
    }
    return out;
}

DecimalDigits digitsOf(const Pattern& p, const Number& n, int decimals) {
    if (n.isInteger && p.scale == 0 && (!p.percent || std::llabs(n.whole) < 90000000000000000LL))
        return DecimalDigits::ofInteger(p.percent ? n.whole * 100 : n.whole, decimals);
    if (n.tenThousandths && p.scale == 0 && !p.percent) return DecimalDigits::ofTenThousandths(*n.tenThousandths, decimals);
    double v = std::fabs(n.asDouble());
    if (p.percent) v *= 100.0;
    for (int i = 0; i < p.scale; ++i) v /= 1000.0;
    return DecimalDigits::ofDouble(v, decimals);
}

std::string renderScientific(const Pattern& p, const Number& n, bool& zero) {
    const int decimals = placeholders(p.fraction);
    const int wholeCount = std::max(1, placeholders(p.whole));
    double v = std::fabs(n.asDouble());
    if (p.percent) v *= 100.0;
    int exponent = 0;
    DecimalDigits d = DecimalDigits::ofDouble(0.0, decimals);
    if (v != 0.0) {
        int e10 = 0;
        DecimalDigits::significant(v, e10);
        exponent = e10 - (wholeCount - 1);
        d = DecimalDigits::ofDouble(v / std::pow(10.0, exponent), decimals);
        if (static_cast<int>(d.whole.size()) > wholeCount) {
            ++exponent;
            d = DecimalDigits::ofDouble(v / std::pow(10.0, exponent), decimals);
        }
    }
    zero = d.isZero();
    return renderWhole(p, d.whole) + renderFraction(p, d.fraction) + renderExponent(p, exponent);
}

std::string renderSection(std::string_view code, const Number& n, bool& zero) {
    const Pattern p = PatternReader().read(code);
    if (p.scientific) return renderScientific(p, n, zero);
    const DecimalDigits d = digitsOf(p, n, placeholders(p.fraction));
    zero = d.isZero();
    return renderWhole(p, d.whole) + renderFraction(p, d.fraction);
}

}  // namespace

std::string formatNumber(const Number& n, const std::vector<std::string>& sections) {
    std::string_view code = sections.front();
    bool sign = n.negative();
    if (sign && sections.size() >= 2 && !sections[1].empty()) {
        code = sections[1];
        sign = false;  // the negative section writes its own sign
    } else if (n.zero() && sections.size() >= 3 && !sections[2].empty()) {
        code = sections[2];
    }
    bool zero = false;
    const std::string body = renderSection(code, n, zero);
    // A value that rounds to zero is shown without a minus sign: "-0,00" reads as a debt.
    return sign && !zero ? "-" + body : body;
}

}  // namespace zq::fmt
