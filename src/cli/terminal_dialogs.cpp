#include "cli/terminal_dialogs.h"

#include "common/product.h"
#include "runtime/text.h"

#include <istream>
#include <ostream>

namespace zq {
namespace {

bool asks(Buttons b) { return b != Buttons::Ok; }

// The answer a "yes" or a "no" stands for, for each set of buttons.
Answer positive(Buttons b) {
    switch (b) {
        case Buttons::OkCancel: return Answer::Ok;
        case Buttons::YesNo:
        case Buttons::YesNoCancel: return Answer::Yes;
        case Buttons::RetryCancel: return Answer::Retry;
        case Buttons::AbortRetryIgnore: return Answer::Ignore;
        case Buttons::Ok: break;
    }
    return Answer::Ok;
}

Answer negative(Buttons b) {
    switch (b) {
        case Buttons::OkCancel:
        case Buttons::RetryCancel:
        case Buttons::YesNoCancel: return b == Buttons::YesNoCancel ? Answer::No : Answer::Cancel;
        case Buttons::YesNo: return Answer::No;
        case Buttons::AbortRetryIgnore: return Answer::Abort;
        case Buttons::Ok: break;
    }
    return Answer::Ok;
}

const char* choices(Buttons b) {
    switch (b) {
        case Buttons::OkCancel: return "[o]k/[a]nnulla";
        case Buttons::YesNo: return "[s]ì/[n]o";
        case Buttons::YesNoCancel: return "[s]ì/[n]o/[a]nnulla";
        case Buttons::RetryCancel: return "[r]iprova/[a]nnulla";
        case Buttons::AbortRetryIgnore: return "[i]nterrompi/[r]iprova/[ig]nora";
        case Buttons::Ok: break;
    }
    return "";
}

std::optional<Answer> parseReply(Buttons b, std::string reply) {
    reply = vbLCase(vbTrim(reply));
    const auto is = [&](std::initializer_list<const char*> words) {
        for (const char* w : words)
            if (reply == w) return true;
        return false;
    };
    switch (b) {
        case Buttons::OkCancel:
            if (is({"o", "ok"})) return Answer::Ok;
            if (is({"a", "annulla"})) return Answer::Cancel;
            break;
        case Buttons::YesNo:
        case Buttons::YesNoCancel:
            if (is({"s", "si", "sì", "y", "yes"})) return Answer::Yes;
            if (is({"n", "no"})) return Answer::No;
            if (b == Buttons::YesNoCancel && is({"a", "annulla"})) return Answer::Cancel;
            break;
        case Buttons::RetryCancel:
            if (is({"r", "riprova"})) return Answer::Retry;
            if (is({"a", "annulla"})) return Answer::Cancel;
            break;
        case Buttons::AbortRetryIgnore:
            if (is({"i", "interrompi"})) return Answer::Abort;
            if (is({"r", "riprova"})) return Answer::Retry;
            if (is({"ig", "ignora"})) return Answer::Ignore;
            break;
        case Buttons::Ok: break;
    }
    return std::nullopt;
}

}  // namespace

TerminalDialogs::TerminalDialogs(Mode mode, std::ostream& out, std::istream& in, bool interactive)
    : mode_(mode), out_(out), in_(in), interactive_(interactive) {}

const char* TerminalDialogs::typeOf(const Message& m) {
    switch (m.icon) {
        case Icon::Critical: return "ERROR";
        case Icon::Exclamation: return "WARNING";
        case Icon::Question: return "QUESTION";
        case Icon::Information: return "INFO";
        case Icon::None: break;
    }
    return asks(m.buttons) ? "QUESTION" : "INFO";
}

std::string TerminalDialogs::format(const Message& m) {
    std::string out = std::string(typeOf(m)) + " " + (m.title.empty() ? kAppTitle : m.title) + ": ";
    bool first = true;
    std::size_t start = 0;
    const std::string& t = m.text;
    while (start <= t.size()) {
        std::size_t end = t.find_first_of("\r\n", start);
        if (end == std::string::npos) end = t.size();
        if (!first) out += "\n    ";
        out += t.substr(start, end - start);
        first = false;
        if (end == t.size()) break;
        // CR LF is one line end; a lone CR or LF is one too.
        start = end + ((t[end] == '\r' && end + 1 < t.size() && t[end + 1] == '\n') ? 2 : 1);
        if (start == t.size()) break;
    }
    return out;
}

const char* TerminalDialogs::answerName(Answer a) {
    switch (a) {
        case Answer::Ok: return "OK";
        case Answer::Cancel: return "Annulla";
        case Answer::Abort: return "Interrompi";
        case Answer::Retry: return "Riprova";
        case Answer::Ignore: return "Ignora";
        case Answer::Yes: return "Sì";
        case Answer::No: return "No";
    }
    return "?";
}

Answer TerminalDialogs::message(const Message& m) {
    out_ << format(m) << "\n";
    if (!asks(m.buttons)) {
        out_.flush();
        return Answer::Ok;
    }
    const Answer a = decide(m);
    out_ << "    -> " << answerName(a) << "\n";
    out_.flush();
    return a;
}

Answer TerminalDialogs::decide(const Message& m) {
    if (auto preset = presets_.find(m.text); preset != presets_.end()) return preset->second;
    for (const auto& [prefix, answer] : prefixPresets_)
        if (m.text.rfind(prefix, 0) == 0) return answer;
    // The error report's Ignore would let a failed step pass unseen: a flag never
    // chooses it, only a person at the terminal does.
    if (mode_ == Mode::Yes && m.buttons != Buttons::AbortRetryIgnore) return positive(m.buttons);
    if (mode_ == Mode::No || mode_ == Mode::Yes) return negative(m.buttons);
    if (!interactive_) return negative(m.buttons);
    return askTerminal(m);
}

Answer TerminalDialogs::askTerminal(const Message& m) {
    for (int tries = 0; tries < 5; ++tries) {
        out_ << "    " << choices(m.buttons) << ": ";
        out_.flush();
        std::string reply;
        if (!std::getline(in_, reply)) break;
        if (auto a = parseReply(m.buttons, reply)) return *a;
    }
    return negative(m.buttons);
}

std::optional<std::string> TerminalDialogs::pickFolder(const std::string& title, const std::string&) {
    out_ << "INFO " << kAppTitle << ": " << title << "\n    -> nessuna cartella scelta (zelq non apre finestre)\n";
    return std::nullopt;
}

std::optional<std::string> TerminalDialogs::pickFile(const std::string& title, const std::string&,
                                                     const std::string&) {
    out_ << "INFO " << kAppTitle << ": " << title << "\n    -> nessun file scelto (zelq non apre finestre)\n";
    return std::nullopt;
}

}  // namespace zq
