// Date and time format codes with Italian day and month names.

#include "runtime/calendar.h"
#include "runtime/format_parts.h"

#include <cctype>

namespace zq::fmt {

namespace {

const char* const kDays[] = {"domenica", "lunedì", "martedì", "mercoledì", "giovedì", "venerdì", "sabato"};
const char* const kDaysShort[] = {"dom", "lun", "mar", "mer", "gio", "ven", "sab"};
const char* const kMonths[] = {"gennaio", "febbraio", "marzo",     "aprile",  "maggio",   "giugno",
                               "luglio",  "agosto",   "settembre", "ottobre", "novembre", "dicembre"};
const char* const kMonthsShort[] = {"gen", "feb", "mar", "apr", "mag", "giu",
                                    "lug", "ago", "set", "ott", "nov", "dic"};

std::string pad2(int v) {
    std::string s = std::to_string(v);
    return s.size() < 2 ? "0" + s : s;
}

std::string shortDate(const DateTime& d) {
    return pad2(d.day) + "/" + pad2(d.month) + "/" + std::to_string(d.year);
}

std::string longTime(const DateTime& d) {
    return pad2(d.hour) + "." + pad2(d.minute) + "." + pad2(d.second);
}

bool startsWithNoCase(std::string_view s, std::size_t i, std::string_view word) {
    if (s.size() - i < word.size()) return false;
    for (std::size_t k = 0; k < word.size(); ++k)
        if (std::tolower(static_cast<unsigned char>(s[i + k])) != word[k]) return false;
    return true;
}

class DateWriter {
public:
    DateWriter(const DateTime& d, std::string_view format) : d_(d), f_(format) {
        twelveHour_ = findNoCase("am/pm") || findNoCase("a/p");
    }

    std::string write() {
        std::string text;
        for (std::size_t i = 0; i < f_.size();) {
            if (const std::size_t len = literalAt(f_, i, text)) {
                out_ += text;
                i += len;
            } else if (startsWithNoCase(f_, i, "am/pm")) {
                out_ += marker(f_.substr(i, 5), "AM", "PM");
                i += 5;
            } else if (startsWithNoCase(f_, i, "a/p")) {
                out_ += marker(f_.substr(i, 3), "A", "P");
                i += 3;
            } else {
                i += code(i);
            }
        }
        return out_;
    }

private:
    bool findNoCase(std::string_view word) const {
        for (std::size_t i = 0; i < f_.size(); ++i)
            if (startsWithNoCase(f_, i, word)) return true;
        return false;
    }

    std::string marker(std::string_view written, const char* am, const char* pm) const {
        std::string m = d_.hour < 12 ? am : pm;
        if (std::islower(static_cast<unsigned char>(written[0])))
            for (auto& c : m) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return m;
    }

    // One run of a code letter at f_[i]; returns how many characters it used.
    std::size_t code(std::size_t i) {
        const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(f_[i])));
        std::size_t run = 1;
        while (i + run < f_.size() && std::tolower(static_cast<unsigned char>(f_[i + run])) == c) ++run;
        if (std::string_view("dmyhnswqct").find(c) == std::string_view::npos) {
            out_ += f_[i];  // a separator: "hh.mm" still reads minutes after it
            return 1;
        }
        const bool afterHour = lastWasHour_;
        lastWasHour_ = false;
        switch (c) {
            case 'd': day(run); break;
            case 'm':
                if (afterHour && run <= 2) out_ += run == 1 ? std::to_string(d_.minute) : pad2(d_.minute);
                else month(run);
                break;
            case 'y': year(run); break;
            case 'h': hour(run); lastWasHour_ = true; break;
            case 'n': out_ += run == 1 ? std::to_string(d_.minute) : pad2(d_.minute); break;
            case 's': out_ += run == 1 ? std::to_string(d_.second) : pad2(d_.second); break;
            case 'w': out_ += run == 1 ? std::to_string(weekday(d_)) : std::to_string(weekOfYear()); break;
            case 'q': out_ += std::to_string((d_.month - 1) / 3 + 1); break;
            case 'c': out_ += general(); break;
            case 't':
                if (run < 5) {
                    out_ += f_.substr(i, run);
                } else {
                    out_ += longTime(d_);
                }
                break;
            default: break;
        }
        return run;
    }

    void day(std::size_t run) {
        switch (run) {
            case 1: out_ += std::to_string(d_.day); break;
            case 2: out_ += pad2(d_.day); break;
            case 3: out_ += kDaysShort[weekday(d_) - 1]; break;
            case 4: out_ += kDays[weekday(d_) - 1]; break;
            case 5: out_ += shortDate(d_); break;
            default:
                out_ += std::string(kDays[weekday(d_) - 1]) + " " + std::to_string(d_.day) + " " +
                        kMonths[d_.month - 1] + " " + std::to_string(d_.year);
        }
    }

    void month(std::size_t run) {
        if (run == 1) out_ += std::to_string(d_.month);
        else if (run == 2) out_ += pad2(d_.month);
        else if (run == 3) out_ += kMonthsShort[d_.month - 1];
        else out_ += kMonths[d_.month - 1];
    }

    void year(std::size_t run) {
        if (run == 1) out_ += std::to_string(dayOfYear(d_));
        else if (run <= 3) out_ += pad2(d_.year % 100);
        else out_ += std::to_string(d_.year);
    }

    void hour(std::size_t run) {
        int h = d_.hour;
        if (twelveHour_) h = h % 12 == 0 ? 12 : h % 12;
        out_ += run == 1 ? std::to_string(h) : pad2(h);
    }

    // Week 1 holds 1 January; weeks start on Sunday, as the original counts by default.
    int weekOfYear() const {
        DateTime jan1 = d_;
        jan1.month = 1;
        jan1.day = 1;
        return (dayOfYear(d_) - 1 + weekday(jan1) - 1) / 7 + 1;
    }

    std::string general() const {
        const bool onlyTime = d_.year == 1899 && d_.month == 12 && d_.day == 30;
        if (onlyTime) return longTime(d_);
        return d_.hasTime() ? shortDate(d_) + " " + longTime(d_) : shortDate(d_);
    }

    const DateTime& d_;
    std::string_view f_;
    std::string out_;
    bool twelveHour_ = false;
    bool lastWasHour_ = false;
};

}  // namespace

std::string formatDate(const DateTime& d, std::string_view format) { return DateWriter(d, format).write(); }

}  // namespace zq::fmt
