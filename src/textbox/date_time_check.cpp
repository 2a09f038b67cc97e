#include "textbox/date_time_check.h"

#include "runtime/datetime_parse.h"
#include "runtime/text.h"

#include <utility>

namespace zq {

namespace {

constexpr const char* kDateText = "Immettere la data nel formato 'gg/mm/aaaa'";
constexpr const char* kDateTitle = "DATA NON VALIDA";
constexpr const char* kTimeText = "Immettere l'ora nel formato 'HH.MM'";
constexpr const char* kTimeTitle = "ORA NON VALIDA";
constexpr const char* kDateTimeText = "Immettere la data nel formato 'GG/MM/AAAA HH.MM'";
constexpr const char* kDateTimeTitle = "DATA E ORA NON VALIDE";
// The original shows this one without the closing apostrophe, under the time title.
constexpr const char* kDateTimeTimeText = "Immettere la data nel formato 'GG/MM/AAAA HH.MM";

// Characters, not bytes: a time may be typed with accented garbage in it.
std::size_t charCount(const std::string& s) {
    std::size_t n = 0;
    for (const unsigned char c : s)
        if ((c & 0xC0) != 0x80) ++n;
    return n;
}

}  // namespace

DateTimeCheck::DateTimeCheck(Dialogs& dialogs, std::function<void()> formatError)
    : dialogs_(dialogs), formatError_(std::move(formatError)) {}

bool DateTimeCheck::check(DataTypes type, std::string& text) const {
    switch (type) {
    case DataTypes::Data:
        return checkDate(text);
    case DataTypes::ora:
        return checkTime(text);
    case DataTypes::DataOra:
        return checkDateTime(text);
    default:
        return false;
    }
}

void DateTimeCheck::normaliseDate(std::string& d) {
    if (charCount(d) >= 6 && isNumeric(d)) d = vbMid(d, 1, 2) + "/" + vbMid(d, 3, 2) + "/" + vbMid(d, 5);
}

bool DateTimeCheck::normaliseTime(std::string& t) {
    const std::size_t dot = vbInStr(t, ".");
    if (dot != 0) {
        t += "00";
        if (dot >= 4) return false;
        if (dot == 2) t = "0" + t;
        if (dot == 1) t = "00" + t;
        t = vbLeft(t, 5);
        return true;
    }
    switch (charCount(t)) {
    case 4:
        break;
    case 3:
        t = "0" + t;
        break;
    case 2:
        t += "00";
        break;
    case 1:
        t = "0" + t + "00";
        break;
    case 0:
        break;
    default:
        return false;
    }
    t = vbMid(t, 1, 2) + "." + vbMid(t, 3, 2);
    return true;
}

bool DateTimeCheck::checkDate(std::string& text) const {
    normaliseDate(text);
    if (parseDate(text)) return true;
    report(kDateText, kDateTitle);
    return false;
}

bool DateTimeCheck::checkTime(std::string& text) const {
    if (charCount(text) > 5) {
        report(kTimeText, kTimeTitle);
        return false;
    }
    if (!normaliseTime(text)) return false;
    if (parseTime(text)) return true;
    report(kTimeText, kTimeTitle);
    return false;
}

bool DateTimeCheck::checkDateTime(std::string& text) const {
    const std::size_t blank = text.find(' ');
    std::string date = text.substr(0, blank);
    std::string time = blank == std::string::npos ? std::string() : text.substr(blank + 1);

    normaliseDate(date);
    if (!parseDate(date)) {
        report(kDateText, kDateTitle);
        return false;
    }
    time = vbTrim(time);
    if (time.empty()) {
        text = date;
        return true;
    }
    if (charCount(time) > 5) {
        report(kDateTimeText, kDateTimeTitle);
        return false;
    }
    if (!normaliseTime(time)) return false;
    text = vbTrim(date) + " " + vbTrim(time);
    const auto parsed = parseDate(text);
    // A date followed by anything that is not a time is no date and time.
    if (parsed && parseTime(time)) return true;
    report(kDateTimeTimeText, kTimeTitle);
    return false;
}

void DateTimeCheck::report(const char* text, const char* title) const {
    dialogs_.message(Message{text, title, Buttons::OkCancel, Icon::Exclamation});
    if (formatError_) formatError_();
}

}  // namespace zq
