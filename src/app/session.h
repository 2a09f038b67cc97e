#pragma once
// The process-wide state of a logged-in program: the configuration values, the three
// connections and the company values. Main (or zelq, or a test) creates one Session
// and passes it by reference to every form and engine.

#include "common/dialogs.h"
#include "dataaccess/connection.h"
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
    /// login or a cancelled first start throws AbortProgram.
    void OpenConn(FirstStartForm* firstStart);
    void ConnTarv();
    void ConnArch();
    void LiberaPorta();
    void CloseConn();
    /// Switches CnnDitt to the company; "" or "000" only closes it.
    void ConnDitt(const std::string& code);

    /// Recordset routines with their error reports (Retry repeats, Ignore returns an
    /// unopened recordset, Abort throws AbortProgram).
    RecordsetPtr OpenReadRst(const std::string& sql, Connection& cnn);
    RecordsetPtr OpenUpdateRst(const std::string& sql, Connection& cnn);
    void CloseRst(RecordsetPtr& rs);

    std::filesystem::path configFilePath() const;
    const std::filesystem::path& programFolder() const { return programFolder_; }
    Dialogs& dialogs() { return dialogs_; }

    Config cfg;
    ConnectionPtr CnnTarv, CnnDitt, CnnArch;
    std::string StrTarv, VolDitt, DbDitt, StrDitt, Porta;
    bool TransOk = false;
    DateTime DataLogin;

private:
    Dialogs& dialogs_;
    std::filesystem::path programFolder_;
};

}  // namespace zq
