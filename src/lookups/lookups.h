#pragma once
// The company, fiscal-year, document-type and area lookups: they fill the pickers of
// the operation forms, keep the loaded companies, years and document types, switch the
// company connection when a company is picked and tell whether it may link archives.

#include "app/session.h"
#include "lookups/picker.h"

#include <string>
#include <vector>

namespace zq {

class Lookups {
public:
    /// One company of the company picker.
    struct Ditta {
        std::string Codice;   ///< company code, as anaditta holds it
        std::string RagSoc;   ///< latest company name, trimmed
        std::string Anno;     ///< the company's year, as text
        std::string CodFisc;  ///< tax code, trimmed; empty when unknown
    };
    /// One document type.
    struct TipoDoc {
        std::string TipoDoc;
        std::string Descr;
    };

    explicit Lookups(Session& session) : session_(session) {}

    std::vector<Ditta> aDitte;
    std::vector<std::string> aEser;
    std::vector<TipoDoc> aDocs;
    /// The selected company may link archives (set by VerAttiva).
    bool ArAttiva = false;

    /// Upper indexes as the original keeps them: -1 means empty.
    int nDitte() const { return static_cast<int>(aDitte.size()) - 1; }
    int nEser() const { return static_cast<int>(aEser.size()) - 1; }
    int nDocs() const { return static_cast<int>(aDocs.size()) - 1; }

    /// Fills aDitte and the picker with the companies from 2002 on that have a name,
    /// sorted by name; `all` puts "<TUTTE>" (code "000") first.
    void LeggDitt(Picker& cmb, bool all);
    /// After a company pick: opens its database and lists its years (or, with the year
    /// picker hidden, checks the company's own year).
    void CambDitt(Picker& company, Picker& year, bool allYears);
    /// After a company pick, without a year list.
    void CambDit1(Picker& company);
    /// After a year pick.
    void CambEser(Picker& company, Picker& year);
    /// Sets ArAttiva from regditta.ar_attiva of the year; tells the person when false.
    void VerAttiva(const std::string& year);
    /// Fills aEser and the picker with the years of the open company, latest first.
    void LeggEser(Picker& year, bool all);
    /// Fills aDocs from ar_tipodoc, by description.
    void LeggDocs();
    /// Fills the picker with the areas (children of `parentId` when not 0); ItemData is
    /// the area's Id_Area; `showParent` appends the parent's name.
    void LeggAree(Picker& cmb, long parentId, bool showParent, bool all);

private:
    /// The company record behind the picker's selection, or nullptr.
    const Ditta* selected(const Picker& company) const;

    Session& session_;
};

}  // namespace zq
