#include "linking/run_summary.h"

#include "linking/message_lines.h"

namespace zq {

Message closingMessage(const RunTally& t, const RunWords& w, const std::string& caption) {
    if (t.confirmed > 0 && t.done == t.confirmed)
        return Message{w.success, caption, Buttons::Ok, Icon::Information};
    if (t.confirmed == 0) return Message{w.nothing, caption, Buttons::Ok, Icon::Information};
    std::string text = messageLines({"ATTENZIONE! " + std::string(w.incomplete),
                                     w.done + std::to_string(t.done + t.partial) + " di " + std::to_string(t.confirmed) + "."});
    if (t.partial > 0 && w.partial) text += "\r\n" + std::string(w.partial) + std::to_string(t.partial) + ".";
    const int notDone = t.confirmed - t.done - t.partial;
    if (notDone > 0) text += "\r\n" + std::string(w.notDone) + std::to_string(notDone) + " (vedere i messaggi precedenti).";
    return Message{text, caption, Buttons::Ok, Icon::Exclamation};
}

}  // namespace zq
