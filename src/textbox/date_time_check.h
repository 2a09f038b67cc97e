#pragma once
// The check that normalises and validates what a person typed into a date, time or
// date-and-time box. Short forms are completed first:
//
//   date:  010104 -> 01/01/04, 31122004 -> 31/12/2004 (six or more digits get separators)
//   time:  9.5 -> 09.50, .3 -> 00.30, 12.3 -> 12.30, 930 -> 09.30, 12 -> 12.00, 7 -> 07.00
//
// A rejected value is reported to the person through Dialogs (OK/Cancel, exclamation) and
// through the FormatError callback, except for a few malformed times that are refused
// silently (an hour of three or more digits before ".", five digits without ".").

#include "common/dialogs.h"
#include "textbox/data_types.h"
#include "textbox/lumetext_export.h"

#include <functional>
#include <string>

namespace zq {

class LUMETEXT_EXPORT DateTimeCheck {
public:
    /// dialogs shows the messages; formatError is called after each of them.
    explicit DateTimeCheck(Dialogs& dialogs, std::function<void()> formatError = {});

    /// Normalises text in place and tells whether it holds a value of the given kind.
    /// Kinds other than Data, ora and DataOra are invalid without a message.
    bool check(DataTypes type, std::string& text) const;

    /// Completes a short time ("930", "9.5") to "HH.MM"; false for the malformed times
    /// that are refused without a message. Does not check the ranges.
    static bool normaliseTime(std::string& t);
    /// Puts separators into a date typed as six or more digits.
    static void normaliseDate(std::string& d);

private:
    bool checkDate(std::string& text) const;
    bool checkTime(std::string& text) const;
    bool checkDateTime(std::string& text) const;
    void report(const char* text, const char* title) const;

    Dialogs& dialogs_;
    std::function<void()> formatError_;
};

}  // namespace zq
