#include "config/conf/link_path_update.h"

#include "app/config_file.h"
#include "common/gesterr.h"
#include "common/textroutines.h"
#include "config/conf/config_editor.h"
#include "dataaccess/resolver.h"
#include "linking/archive_model.h"
#include "runtime/text.h"
#include "journal/run_log.h"
#include "journal/writer_lock.h"

#include <cctype>

namespace zq {
namespace {

const std::string kCrLf = "\r\n";
const char* const kModule = "frmAggP";
const char* const kRoutine = "cmdConf_Click";
const char* const kConnectionError = "Errore nella connessione. Ricontrollare i parametri.";

bool endsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

// Names come from the archive file: one that is not a plain word goes in brackets, so
// it cannot end the statement early.
std::string ddlName(const std::string& name) {
    for (unsigned char c : name)
        if (!std::isalnum(c) && c != '_') return "[" + name + "]";
    return name;
}

}  // namespace

LinkPathUpdate::LinkPathUpdate(Session& session, Progress& progress, Opener opener)
    : session_(session), progress_(progress), opener_(std::move(opener)) {
    if (!opener_) opener_ = [](const std::string& path) { return ArchiveDatabase::open(path); };
}

const char* LinkPathUpdate::caption() { return "Aggiornamento Percorso"; }

void LinkPathUpdate::say(const std::string& text, Icon icon) {
    session_.dialogs().message(Message{text, caption(), Buttons::Ok, icon});
}

Answer LinkPathUpdate::ask(const std::string& text) {
    return session_.dialogs().message(Message{text, caption(), Buttons::YesNo, Icon::Question});
}

bool LinkPathUpdate::activate() {
    const auto file = session_.configFilePath();
    if (!std::filesystem::exists(file)) {
        say("ATTENZIONE! Manca il file di configurazione.", Icon::Exclamation);
        return false;
    }
    Config read = session_.cfg;
    if (!runGuarded(session_.dialogs(), kModule, "Form_Activate", "",
                    [&] { ConfigFile::readLenient(file, read); }))
        return false;
    session_.cfg = read;
    return true;
}

std::string LinkPathUpdate::companyCode(const std::string& connect) {
    // The rule reads the text from the first "ditt" up to the ";" that ends it; read in
    // the DATABASE value, a host or server named "ditta…" or a path braced for its ";"
    // cannot give a wrong code. A string the reader refuses gets the rule as written.
    std::string text = connect;
    try {
        const auto kv = parseConnectionString(connect);
        if (const auto it = kv.find("database"); it != kv.end()) text = it->second + ";";
    } catch (const Error&) {
        text = connect;
    }
    const auto from = text.find("ditt");
    if (from == std::string::npos) return {};
    const auto to = text.find(';', from);
    if (to == std::string::npos) return {};
    const std::string part = text.substr(from, to - from);
    return part.substr(part.size() - 3);
}

std::string LinkPathUpdate::sourceOf(const std::string& name) {
    std::string s = vbLCase("a" + name);
    if (endsWith(s, "_coll")) {
        s.erase(s.size() - 5);
    } else if (endsWith(s, "_col")) {
        // The link pre-mastering keeps beside the local table points at "a" + serial.
        s.erase(s.size() - 4);
    }
    return s;
}

std::string LinkPathUpdate::keyStatement(const TableDef& td) {
    for (const IndexDef& i : td.indexes) {
        if (!i.primary) continue;
        std::string fields;
        for (const std::string& f : i.fields) {
            if (!fields.empty()) fields += ",";
            fields += ddlName(vbLCase(f));
        }
        return "ALTER TABLE " + ddlName(td.name) + " ADD CONSTRAINT " + ddlName(i.name) + " PRIMARY KEY (" +
               fields + ")";
    }
    return {};
}

std::string LinkPathUpdate::companyDatabase(const std::string& code) {
    std::string volume = session_.cfg.PathTarv;
    if (!session_.CnnTarv) throw Error(kErrProviderFailure, "database TARV comune non connesso", kModule);
    auto rs = session_.CnnTarv->openRecordset("SELECT * FROM volumi WHERE cod_ditta = " + sqlText(code),
                                              CursorType::Static, LockType::ReadOnly);
    if (!rs->eof()) {
        const Value v = rs->field("Volume");
        if (!v.isNullish() && !v.toText().empty()) volume = vbTrim(v.toText()) + "/";
    }
    rs->close();
    return vbTrim(volume) + "ditt" + vbLCase(vbTrim(code));
}

bool LinkPathUpdate::firstPass(ArchiveDatabase& db) {
    records_.clear();
    skipped_.clear();
    noCode_.clear();
    notRemade_.clear();
    std::vector<TableDef> defs;
    if (!runGuarded(session_.dialogs(), kModule, kRoutine, "", [&] { defs = db.tableDefs(); })) return false;
    progress_.setRange(static_cast<long>(defs.size()));
    progress_.setValue(0);
    long done = 0;
    for (const TableDef& td : defs) {
        progress_.setValue(++done);
        progress_.setLabel(td.name);
        const bool link = !vbTrim(td.connect).empty();
        if (endsWith(vbLCase(td.name), "_old")) {
            if (link) skipped_.push_back({td.name, "tabella _old di un aggiornamento interrotto"});
            continue;
        }
        if (!link) continue;
        const std::string code = companyCode(td.connect);
        if (code.empty()) {
            skipped_.push_back({td.name, "codice ditta non trovato nella stringa di connessione"});
            noCode_.push_back(td.name);
            continue;
        }
        if (code == "000") {
            skipped_.push_back({td.name, "collegamento a tutte le ditte (000)"});
            continue;
        }
        Record r;
        r.Nome = td.name;
        r.Sorgente = sourceOf(td.name);
        std::string dbDitt;
        const std::string query = "SELECT * FROM volumi WHERE cod_ditta = " + sqlText(code);
        if (!runGuarded(session_.dialogs(), kModule, kRoutine, query, [&] { dbDitt = companyDatabase(code); })) {
            skipped_.push_back({td.name, "volume della ditta " + code + " non letto"});
            continue;
        }
        r.Connect = ArchiveModel::linkConnectString(session_.cfg, dbDitt);
        r.Chiave = keyStatement(td);
        if (r.Chiave.empty())
            say("ATTENZIONE! Non ho trovato l'indice primario" + kCrLf + "della tabella da aggiornare (" + td.name +
                    ").",
                Icon::Exclamation);
        records_.push_back(std::move(r));
        session_.dialogs().yield();
    }
    return true;
}

bool LinkPathUpdate::askOnce() {
    std::string text = "Collegamenti da aggiornare: " + std::to_string(records_.size()) + "." + kCrLf;
    if (!skipped_.empty()) {
        text += "Collegamenti esclusi:" + kCrLf;
        for (const Skipped& s : skipped_) text += "  " + s.name + ": " + s.reason + kCrLf;
    }
    text += "Vuoi procedere con l'aggiornamento?";
    return ask(text) == Answer::Yes;
}

std::string LinkPathUpdate::recover(ArchiveDatabase& db, const Record& r) {
    const std::string old = r.Nome + "_old";
    if (ask(kDeleteLinkQuestion + kCrLf + r.Nome + kCrLf + "Vuoi cancellare il collegamento?") != Answer::Yes) {
        say("Recupera la tabella _old", Icon::Information);
        db.renameTable(old, r.Nome);
        return "resta il collegamento precedente";
    }
    const std::string sav = r.Nome + "_sav";
    bool found = false;
    for (const TableDef& td : db.tableDefs()) found = found || td.name == sav;
    if (found) {
        db.deleteTable(old);
        db.renameTable(sav, r.Nome);
        return "collegamento cancellato, ripristinata la tabella locale (_sav)";
    }
    if (ask(std::string(kDeleteWithoutSavQuestion) + kCrLf + "il collegamento (SAV)." + kCrLf +
            "Vuoi cancellare ugualmente il collegamento?") == Answer::Yes) {
        db.deleteTable(old);
        return "collegamento cancellato, l'archivio resta senza tabella";
    }
    db.renameTable(old, r.Nome);
    return "resta il collegamento precedente";
}

bool LinkPathUpdate::rewrite(ArchiveDatabase& db, const Record& r) {
    const std::string old = r.Nome + "_old";
    try {
        // One transaction per link: until commit the archive holds the old link.
        ArchiveTransaction tx(db);
        if (db.hasTable(old)) db.deleteTable(old);
        db.renameTable(r.Nome, old);
        bool linked = true;
        try {
            db.createLink(r.Nome, r.Connect, r.Sorgente);
        } catch (const AbortProgram&) {
            throw;
        } catch (const std::exception&) {
            linked = false;
        }
        if (linked) {
            db.deleteTable(old);
            if (!r.Chiave.empty())
                runGuarded(session_.dialogs(), kModule, kRoutine, r.Chiave, [&] { db.execute(r.Chiave); });
        }
        std::string outcome;
        if (!linked) outcome = recover(db, r);
        tx.commit();
        if (!linked) notRemade_.push_back({r.Nome, outcome});
        return true;
    } catch (const AbortProgram&) {
        throw;
    } catch (const std::exception&) {
        say(kConnectionError, Icon::Exclamation);
        return false;
    }
}

void LinkPathUpdate::finish() {
    progress_.end();
    session_.ConnArch();
}

LinkPathUpdate::Outcome LinkPathUpdate::cmdConf_Click(const NewValues& v) {
    confirmed_ = false;
    const auto lock = WriterLock::acquire(session_.cfg.PathArch, session_.cfg.Utente, session_.dialogs(), caption());
    if (!lock) return Outcome::Refused;
    RunLog log(session_.cfg.PathArch, "relink", session_.cfg.Utente);
    ConfigEditor editor(session_.dialogs(), session_.programFolder(), caption());
    if (!editor.checkPasswords(v.Password, v.PasswordConfirm)) return Outcome::Refused;
    if (!editor.checkPathTarv(v.PathTarv)) return Outcome::Refused;
    Config next = session_.cfg;
    next.PathTarv = v.PathTarv;
    next.Utente = v.Utente;
    next.Password = v.Password;
    next.Host = v.Host;
    next.Server = v.Server;
    if (!editor.checkWritable(next)) return Outcome::Refused;
    if (!editor.testConnection(next)) return Outcome::Refused;
    if (!editor.writeFile(next, kModule)) return Outcome::Refused;
    session_.cfg = next;

    // Logged in again with the new values before any link is touched; a later failure
    // leaves the new configuration in place.
    session_.CloseConn();
    session_.OpenConn(nullptr);

    if (session_.CnnArch && session_.CnnArch->state() != 0) session_.CnnArch->close();
    session_.CnnArch.reset();
    std::unique_ptr<ArchiveDatabase> db;
    if (!runGuarded(session_.dialogs(), kModule, kRoutine, "",
                    [&] { db = opener_(session_.cfg.PathArch); })) {
        session_.ConnArch();
        return Outcome::Stopped;
    }

    progress_.begin();
    if (!firstPass(*db)) {
        db->close();
        finish();
        return Outcome::Stopped;
    }
    if (!records_.empty() && !askOnce()) {
        db->close();
        finish();
        return Outcome::Declined;
    }
    progress_.setRange(static_cast<long>(records_.size()));
    progress_.setValue(0);
    long done = 0;
    for (const Record& r : records_) {
        progress_.setLabel(r.Nome);
        if (!rewrite(*db, r)) {
            db->close();
            finish();
            return Outcome::Stopped;
        }
        log.archive(r.Nome);
        progress_.setValue(++done);
        session_.dialogs().yield();
    }
    log.end(noCode_.empty() && notRemade_.empty() ? RunLog::kDone : RunLog::kPartly);
    confirmed_ = true;
    db->close();
    finish();
    session_.dialogs().yield();
    if (!noCode_.empty()) {
        std::string text = "ATTENZIONE! Collegamenti non aggiornati" + kCrLf +
                           "(codice ditta non trovato nella stringa di connessione):";
        for (const std::string& n : noCode_) text += kCrLf + n;
        say(text, Icon::Exclamation);
    }
    if (!notRemade_.empty()) {
        // A link that could not be made again is no success, whatever the recovery did.
        std::string text = "ATTENZIONE! Aggiornamento percorso non completato." + kCrLf +
                           "Collegamenti non rifatti con i nuovi valori:";
        for (const Skipped& n : notRemade_) text += kCrLf + n.name + ": " + n.reason;
        say(text, Icon::Exclamation);
        return Outcome::Incomplete;
    }
    say("Aggiornamento percorso tabelle effettuato con successo.", Icon::Information);
    return Outcome::Done;
}

}  // namespace zq
