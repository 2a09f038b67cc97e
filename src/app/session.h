#pragma once
// The process-wide state of a logged-in program: the configuration values, the three
// connections and the company values. Main (or zelq, or a test) creates one Session
// and passes it by reference to every form and engine.

#include "app/company_db.h"
#include "common/dialogs.h"
#include "dataaccess/connection.h"
#include "dataaccess/engine_settings.h"
#include "runtime/value.h"

#include <filesystem>
#include <string>

namespace zq {

/// The thirteen configuration values, one per line of "zel_QUIRNOVA.CFG".
struct Config {
    std::string PathTarv, PathArch, Azienda, Citta, Utente, Password, Host, Server;
    std::string RootOld, RootNew, ConvBksl, GrpParm1, GrpParm2;
};

/// The configuration form shown at first start (no configuration file). It sets every
/// value in `cfg`, writes the file and returns its Confermato flag.
class FirstStartForm {
public:
    virtual ~FirstStartForm() = default;
    virtual bool run(Config& cfg) = 0;
};

class Session {
public:
    Session(Dialogs& dialogs, std::filesystem::path programFolder);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    /// Loads the configuration (or runs the first-start form) and logs in; a failed
    /// login or a cancelled first start throws AbortProgram. A configuration file that
    /// cannot be read goes through the error report ("garInizio", "OpenConn"): Retry
    /// reads it again, Abort throws AbortProgram, Ignore returns with nothing connected.
    void OpenConn(FirstStartForm* firstStart);
    /// Opens CnnTarv and logs in (utenti.porta := 'WIN'); every failure shows its
    /// message and throws AbortProgram.
    void ConnTarv();
    /// Opens CnnArch; a failure shows "number - description" and leaves CnnArch empty.
    void ConnArch();
    /// Marks the configured user as not active (utenti.porta := '').
    void LiberaPorta();
    /// Logs out and closes the three connections; errors reach the caller.
    void CloseConn();
    /// Switches CnnDitt to the company; "" or "000" only closes it. This is the
    /// pickers' connection: any window's company pick moves it.
    void ConnDitt(const std::string& code);
    /// Opens the database of company `code` on a connection of its own, for a run that
    /// works on that company whatever the pickers do meanwhile; CnnDitt and its values
    /// stay as they are. Errors reach the caller.
    CompanyDb OpenDitt(const std::string& code);

    /// CnnTarv, or an Error that says in Italian that it is not connected (the
    /// configuration could not be read at start and the person chose Ignore).
    Connection& tarv();
    /// True when the TARV common database and the archive database are both connected.
    bool connected() const { return CnnTarv && CnnArch; }
    /// What a window says when it cannot read its lists for want of connections.
    static const char* notConnectedText();

    /// Recordset routines with their error reports (Retry repeats, Ignore returns an
    /// unopened recordset, Abort throws AbortProgram).
    RecordsetPtr OpenReadRst(const std::string& sql, Connection& cnn);
    RecordsetPtr OpenUpdateRst(const std::string& sql, Connection& cnn);
    void CloseRst(RecordsetPtr& rs);

    std::filesystem::path configFilePath() const;
    const std::filesystem::path& programFolder() const { return programFolder_; }
    Dialogs& dialogs() { return dialogs_; }

    Config cfg;
    /// Which engine serves the TARV databases: read from the program folder by OpenConn.
    EngineSettings engines;
    ConnectionPtr CnnTarv;  ///< TARV common database; empty before login or after an ignored start
    ConnectionPtr CnnDitt;  ///< the company the pickers last chose (CodDitt); empty when none
    ConnectionPtr CnnArch;  ///< the archive database; empty when it could not be opened
    std::string StrTarv;    ///< connection string of CnnTarv
    std::string CodDitt;    ///< company code CnnDitt is open on
    std::string VolDitt, DbDitt, StrDitt;  ///< volume, database path and string of CnnDitt
    std::string Porta;      ///< utenti.porta read at login
    bool TransOk = false;
    DateTime DataLogin;

private:
    /// The volume, database path and connection string of company `code` (volumi read
    /// on CnnTarv); nothing is opened.
    CompanyDb companyValues(const std::string& code);
    /// The transaction probe: true when the connection takes BeginTrans/CommitTrans.
    static bool probeTransaction(Connection& cnn);

    Dialogs& dialogs_;
    std::filesystem::path programFolder_;
};

}  // namespace zq
