#include "common/gesterr.h"

#include "common/product.h"

#include <stdexcept>

namespace zq {

std::string gestErrText(const Error& e, const std::string& module, const std::string& routine,
                        const std::string& query) {
    const std::string crlf = "\r\n";
    std::string text = "Errore " + std::to_string(e.number()) + " " + e.description() + crlf +
                       "nel modulo: " + module + "," + crlf +
                       "alla routine: " + routine + "," + crlf +
                       "generato da: " + e.source() + "," + crlf +
                       "errore DLL: " + std::to_string(e.systemCode());
    if (query.find_first_not_of(' ') != std::string::npos) text += "," + crlf + "Query: " + maskPasswords(query);
    return text;
}

int GestErr(Dialogs& dialogs, const Error& e, const std::string& module, const std::string& routine,
            const std::string& query) {
    const Answer answer =
        dialogs.message(Message{gestErrText(e, module, routine, query),
                                std::string(kProductName) + ": Errore non previsto.",
                                Buttons::AbortRetryIgnore, Icon::Critical});
    switch (answer) {
        case Answer::Retry: return 1;
        case Answer::Ignore: return 2;
        default: return 0;
    }
}

Error toError(const std::exception& e) {
    if (const auto* err = dynamic_cast<const Error*>(&e)) return *err;
    // An arithmetic overflow is the original's run-time error 6, whatever raised it.
    if (dynamic_cast<const std::overflow_error*>(&e)) return Error(6, e.what(), kProductName);
    return Error(kErrProviderFailure, e.what(), kProductName);
}

bool runGuarded(Dialogs& dialogs, const std::string& module, const std::string& routine,
                const std::string& query, const std::function<void()>& statement) {
    for (;;) {
        try {
            statement();
            return true;
        } catch (const AbortProgram&) {
            throw;
        } catch (const std::exception& e) {
            switch (GestErr(dialogs, toError(e), module, routine, query)) {
                case 1: continue;
                case 2: return false;
                default: throw AbortProgram();
            }
        }
    }
}

}  // namespace zq
