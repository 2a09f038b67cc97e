#pragma once
// The check of an installation: what its archive database, the TARV registry and
// tables of every company and the documents folders say about each archive, and the
// journal's operations that were interrupted. Each inconsistency is a Finding; the
// ones with a repair can be repaired (those that delete something are asked first).
//
//   ArchiveCheck check(session);
//   for (const auto& f : check.run()) std::cout << f.tsv() << '\n';
//   check.repair(findings);   // completes or undoes, asks before deleting
//
// An archive is consistent when it is local, linked or pre-mastering and nothing
// else, its registry row exists exactly when it is linked or pre-mastering, and its
// documents folder exists and (when it has one) its DURuv.id names it, and every
// record's document is in its record folder.

#include "app/session.h"

#include <functional>
#include <string>
#include <vector>

namespace zq {

struct Finding {
    std::string kind;     ///< "giornale", "archivio", "registro", "cartella", "documento"
    std::string archive;  ///< serial (or area, for a duplication) it is about
    std::string problem;  ///< what is wrong, in Italian
    std::string repair;   ///< what the repair would do; "" when it needs a person
    bool deletes = false; ///< the repair deletes something: asked first
    std::function<bool()> fix;

    /// kind, archive, problem, repair separated by tabs.
    std::string tsv() const;
};

class ArchiveCheck {
public:
    explicit ArchiveCheck(Session& session) : session_(session) {}

    /// "Verifica archivi": the title of the check's questions and messages.
    static const char* caption();
    /// How every question before a deleting repair begins, so that a script can answer
    /// those apart from the others.
    static constexpr const char* kDeleteQuestion = "La riparazione cancella dati dell'archivio ";

    /// Every inconsistency found; reads only.
    std::vector<Finding> run();
    /// Repairs what has a repair, asking before each one that deletes. Returns how
    /// many were repaired. The caller holds the writer lock.
    int repair(const std::vector<Finding>& findings);
    /// Are there operations the journal holds unfinished?
    static bool interrupted(const std::string& archivePath);

private:
    void journalFindings(std::vector<Finding>& out);
    void archiveFindings(std::vector<Finding>& out);

    Session& session_;
};

}  // namespace zq
