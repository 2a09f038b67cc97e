#pragma once
// How long operations show their progress: the wait window, a progress bar with its
// label, and a way for the person to ask the run to stop.

#include <string>

namespace zq {

class Progress {
public:
    virtual ~Progress() = default;

    /// Shows the wait window (or the form's progress area) with an optional text.
    virtual void begin(const std::string& text = {}) {}
    /// Hides it again.
    virtual void end() {}
    /// The label text ("Conversione Documenti (3 di 10)").
    virtual void setLabel(const std::string& text) {}
    /// Bar range and position.
    virtual void setRange(long maximum) {}
    virtual void setValue(long value) {}
    /// True once the person asked the run to stop ("Annulla").
    virtual bool cancelRequested() const { return false; }
};

/// A Progress that shows nothing: for engines called where nobody watches.
class NoProgress final : public Progress {};

}  // namespace zq
