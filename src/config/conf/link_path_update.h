#pragma once
// LinkPathUpdate: moves every link of the archive database to new TARV server values
// (path prefix, login, password, host, server). After the connection test the new
// values are written to the configuration file and the session logs out and in again;
// only then are links touched:
//
//   first pass   every table definition: local tables, "_old" tables and links to
//                company "000" are left alone; each other link gets a record (name,
//                source "a" + name without "_coll", new connect string on the company
//                database in force, primary-key statement);
//   question     how many links will be rewritten, which are skipped and why (Yes/No);
//   second pass  per record, as one archive transaction: rename to name + "_old",
//                new link, delete "_old", declare the key. A crash leaves the old link
//                or the new one, never none. A link that cannot be made goes through
//                the recovery dialogue (keep the old link, restore the "_sav" table,
//                or delete the link); the run then ends with a warning naming it,
//                never with the success message.
//
// The form frmAggP and "zelq relink" drive it; messages go through the session's
// Dialogs, the bar and label through Progress.

#include "app/session.h"
#include "common/progress.h"
#include "dataaccess/archive_db.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace zq {

class LinkPathUpdate {
public:
    /// Opens the archive database for table-definition work (ArchiveDatabase::open by default).
    using Opener = std::function<std::unique_ptr<ArchiveDatabase>(const std::string& path)>;

    /// The new values of the form's fields.
    struct NewValues {
        std::string PathTarv, Utente, Password, PasswordConfirm, Host, Server;
    };
    /// One link to rewrite (the original's update list).
    struct Record {
        std::string Nome;      ///< the link's name in the archive database
        std::string Sorgente;  ///< the TARV table
        std::string Connect;   ///< the new connect string
        std::string Chiave;    ///< the primary-key statement, empty when none
    };
    /// A link the first pass leaves alone, and why (in Italian, for the person).
    struct Skipped {
        std::string name;
        std::string reason;
    };
    enum class Outcome {
        Refused,   ///< a check or the connection test stopped it: nothing changed
        Declined,  ///< the person answered No to the list: configuration new, links untouched
        Stopped,     ///< an error ended the second pass; earlier links have their new values
        Incomplete,  ///< the run ended, but some links could not be made again (notRemade())
        Done         ///< every record got its new link
    };

    /// The recovery questions, as their texts begin (the table's name follows): each
    /// can delete a link, so a blanket "yes" must not answer them.
    static constexpr const char* kDeleteLinkQuestion = "Errore nel collegamento della tabella ";
    static constexpr const char* kDeleteWithoutSavQuestion =
        "Attenzione!!!\r\nManca la tabella dalla quale ripristinare";

    LinkPathUpdate(Session& session, Progress& progress, Opener opener = {});

    /// "Aggiornamento Percorso": the form's caption, title of every message.
    static const char* caption();

    /// The form's activation: reads the configuration file leniently into the session.
    /// False after "ATTENZIONE! Manca il file di configurazione." when there is none.
    bool activate();

    /// "&Aggiorna".
    Outcome cmdConf_Click(const NewValues& values);

    /// True once a run reached its closing message (the form's confirmation flag).
    bool confirmed() const { return confirmed_; }
    /// The records and skipped links of the last run's first pass.
    const std::vector<Record>& records() const { return records_; }
    const std::vector<Skipped>& skipped() const { return skipped_; }
    /// The links of the last run that could not be made again, and what became of each.
    const std::vector<Skipped>& notRemade() const { return notRemade_; }

    /// The company code of a connect string: the three characters that end the text
    /// from the first "ditt" up to the first ";" after it. Empty when there is none.
    static std::string companyCode(const std::string& connect);
    /// LowerCase("a" + name) without a final "_coll" (or the "_col" of a link that
    /// pre-mastering renamed).
    static std::string sourceOf(const std::string& name);
    /// "ALTER TABLE name ADD CONSTRAINT index PRIMARY KEY (a,b)", or empty when the
    /// table has no primary index.
    static std::string keyStatement(const TableDef& td);

private:
    bool firstPass(ArchiveDatabase& db);
    bool askOnce();
    /// False when an error ends the update.
    bool rewrite(ArchiveDatabase& db, const Record& r);
    /// What became of the link, for the closing warning.
    std::string recover(ArchiveDatabase& db, const Record& r);
    std::string companyDatabase(const std::string& code);
    void say(const std::string& text, Icon icon);
    Answer ask(const std::string& text);
    void finish();

    Session& session_;
    Progress& progress_;
    Opener opener_;
    bool confirmed_ = false;
    std::vector<Record> records_;
    std::vector<Skipped> skipped_;
    std::vector<std::string> noCode_;
    std::vector<Skipped> notRemade_;
};

}  // namespace zq
