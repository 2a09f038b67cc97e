#pragma once
// The closing message of a run over ticked archives (unlink, pre-mastering). The
// operation's success text is said only when every archive the person confirmed was
// done whole; otherwise the message says what was done and what was not, so that a
// skipped archive, an error answered Ignore or a server step left undone never ends
// under "eseguita con successo".

#include "common/dialogs.h"

#include <string>

namespace zq {

/// What a run did with the archives the person confirmed.
struct RunTally {
    int confirmed = 0;  ///< archives answered Yes
    int done = 0;       ///< done whole
    int partial = 0;    ///< done in the archive, a server step left for the next run
};

/// The operation's words for the closing message.
struct RunWords {
    const char* success;    ///< "Scollegamento tabelle effettuato con successo."
    const char* nothing;    ///< "Nessuna tabella scollegata."
    const char* incomplete; ///< "Scollegamento tabelle non completato."
    const char* done;       ///< "Tabelle scollegate: " (followed by done + partial "di" confirmed)
    const char* notDone;    ///< "Tabelle non scollegate: "
    const char* partial;    ///< "di cui ...: " the line for `partial`; null when a run has none
};

/// The message that ends a run titled `caption`.
Message closingMessage(const RunTally& tally, const RunWords& words, const std::string& caption);

}  // namespace zq
