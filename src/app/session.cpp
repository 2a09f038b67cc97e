#include "app/session.h"

#include "app/closed_recordset.h"
#include "app/config_file.h"
#include "common/gesterr.h"
#include "common/product.h"
#include "common/progress.h"
#include "common/textroutines.h"
#include "dataaccess/resolver.h"
#include "import/startup_offer.h"
#include "runtime/text.h"

namespace zq {
namespace {

const std::string kCrLf = "\r\n";

std::string loginTitle() { return std::string(kProductName) + ": Accesso a ZEL QUIRNOVA."; }
std::string accessTitle() { return std::string("Accesso a ") + kProductName + "."; }

void closeQuietly(ConnectionPtr& cnn) {
    if (!cnn) return;
    try {
        if (cnn->state() != 0) cnn->close();
    } catch (...) {
        // The connection is being dropped because of an earlier failure; that one is
        // what the person is told about.
    }
    cnn.reset();
}

}  // namespace

Session::Session(Dialogs& dialogs, std::filesystem::path programFolder)
    : dialogs_(dialogs), programFolder_(std::move(programFolder)) {}

// Ending the program (AbortProgram) runs no logout: the connections are only released.
Session::~Session() {
    closeQuietly(CnnDitt);
    closeQuietly(CnnArch);
    closeQuietly(CnnTarv);
}

std::filesystem::path Session::configFilePath() const { return ConfigFile::pathIn(programFolder_); }

void Session::OpenConn(FirstStartForm* firstStart) {
    const auto file = configFilePath();
    if (!std::filesystem::exists(file)) {
        if (!firstStart || !firstStart->run(cfg)) throw AbortProgram(1);
    } else {
        Config read = cfg;
        const bool ok = runGuarded(dialogs_, "garInizio", "OpenConn", "", [&] {
            read = cfg;
            ConfigFile::readStartup(file, read);
        });
        if (!ok) return;
        cfg = read;
    }
    if (!runGuarded(dialogs_, "garInizio", "OpenConn", "",
                    [&] { engines = EngineSettings::load(programFolder_); }))
        return;
    setInstallation(engines);
    ConnTarv();
    // An office whose configuration still names its Access archive is offered the
    // import, and the configuration then names the new archive.
    NoProgress importProgress;
    if (auto imported = offerAccessImport(dialogs_, importProgress, cfg.PathArch)) {
        cfg.PathArch = *imported;
        runGuarded(dialogs_, "garInizio", "OpenConn", "", [&] { ConfigFile::write(file, cfg); });
    }
    ConnArch();
}

void Session::ConnTarv() {
    try {
        const auto v = connectionValue;
        StrTarv = "Provider=Ifxoledbc.2;Persist Security Info=False;host=" + v(cfg.Host) +
                  ";User ID=" + v(cfg.Utente) + ";password=" + v(cfg.Password) +
                  ";Data Source=" + v(cfg.PathTarv + "comune@" + cfg.Server);
        closeQuietly(CnnTarv);
        CnnTarv = openConnection(StrTarv, engines);
        LiberaPorta();

        Porta.clear();
        const std::string who = sqlText(vbTrim(cfg.Utente));
        auto rs = CnnTarv->openRecordset("SELECT * FROM utenti WHERE nome = " + who,
                                         CursorType::Static, LockType::ReadOnly);
        if (rs->recordCount() == 0 || rs->eof()) {
            rs->close();
            closeQuietly(CnnTarv);
            dialogs_.message(Message{"Nome utente non valido!", loginTitle(), Buttons::Ok,
                                     Icon::Exclamation});
            throw AbortProgram(1);
        }
        const Value porta = rs->field("porta");
        if (!porta.isNullish()) Porta = porta.toText();
        rs->close();

        if (!vbTrim(Porta).empty()) {
            // The mark belongs to the other program that is logged in with this name:
            // it stays, so that program still shows as active.
            closeQuietly(CnnTarv);
            dialogs_.message(Message{"L'Utente " + cfg.Utente + kCrLf + "è già attivo" + kCrLf +
                                         "sulla porta " + Porta,
                                     loginTitle(), Buttons::Ok, Icon::Information});
            throw AbortProgram(1);
        }
        LiberaPorta();

        Command{CnnTarv.get(), "UPDATE utenti SET porta = 'WIN'WHERE nome = " + who}.execute();
    } catch (const AbortProgram&) {
        throw;
    } catch (const std::exception& ex) {
        const Error e = toError(ex);
        closeQuietly(CnnTarv);
        if (e.number() == kErrProviderFailure && e.description().find("password") != std::string::npos) {
            dialogs_.message(Message{"Password errata!", accessTitle(), Buttons::Ok, Icon::Information});
        } else if (e.number() == kErrProviderFailure) {
            dialogs_.message(Message{"Errore di accesso al database!\n\n"
                                     "Contattare l'assistenza Veltra e citare il seguente errore:\n\n" +
                                         e.description(),
                                     accessTitle(), Buttons::Ok, Icon::Information});
        } else {
            dialogs_.message(Message{std::to_string(e.number()) + " - " + e.description(), "",
                                     Buttons::Ok, Icon::None});
        }
        throw AbortProgram(1);
    }
    TransOk = probeTransaction(*CnnTarv);
    DataLogin = DateTime::today();
}

bool Session::probeTransaction(Connection& cnn) {
    // Only learns whether the provider takes transactions; nothing is ever rolled back.
    try {
        cnn.beginTrans();
    } catch (const std::exception&) {
        return false;
    }
    try {
        cnn.commitTrans();
    } catch (const std::exception&) {
        return false;
    }
    return true;
}

void Session::LiberaPorta() {
    Command{CnnTarv.get(), "UPDATE utenti SET porta = ''WHERE nome = " + sqlText(vbTrim(cfg.Utente))}
        .execute();
}

void Session::ConnArch() {
    const std::string str = "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + connectionValue(cfg.PathArch) +
                            ";Persist Security Info=False;Jet OLEDB:Database Password=zzpergola31";
    try {
        closeQuietly(CnnArch);
        CnnArch = openConnection(str, engines);
    } catch (const AbortProgram&) {
        throw;
    } catch (const std::exception& ex) {
        const Error e = toError(ex);
        CnnArch.reset();
        dialogs_.message(Message{std::to_string(e.number()) + " - " + e.description(), "",
                                 Buttons::Ok, Icon::None});
    }
}

void Session::CloseConn() {
    if (!CnnTarv) return;
    LiberaPorta();
    CnnTarv->close();
    CnnTarv.reset();
    if (CnnArch && CnnArch->state() != 0) CnnArch->close();
    CnnArch.reset();
    CodDitt.clear();
    if (!CnnDitt) return;
    CnnDitt->close();
    CnnDitt.reset();
}

void Session::ConnDitt(const std::string& code) {
    if (CnnDitt) {
        CnnDitt->close();
        CnnDitt.reset();
    }
    CodDitt.clear();
    if (code.empty() || code == "000") return;
    // The company values change before the open, which may fail: as the original's,
    // they name the company asked for even when its database cannot be reached.
    CompanyDb d = companyValues(code);
    VolDitt = d.VolDitt;
    DbDitt = d.DbDitt;
    StrDitt = d.StrDitt;
    CnnDitt = openConnection(StrDitt, engines);
    CodDitt = d.code;
    TransOk = probeTransaction(*CnnDitt);
}

CompanyDb Session::OpenDitt(const std::string& code) {
    CompanyDb d = companyValues(code);
    d.cnn = openConnection(d.StrDitt, engines);
    d.transOk = probeTransaction(*d.cnn);
    return d;
}

CompanyDb Session::companyValues(const std::string& code) {
    CompanyDb d;
    d.code = code;
    d.VolDitt = cfg.PathTarv;
    {
        auto rs = tarv().openRecordset("SELECT * FROM volumi WHERE cod_ditta = " + sqlText(code), CursorType::Static,
                                       LockType::ReadOnly);
        if (!rs->eof()) {
            const Value volume = rs->field("Volume");
            if (!volume.isNullish() && !volume.toText().empty()) d.VolDitt = vbTrim(volume.toText()) + "/";
        }
        rs->close();
    }
    d.DbDitt = vbTrim(d.VolDitt) + "ditt" + vbLCase(vbTrim(code));
    const auto v = connectionValue;
    d.StrDitt = "Provider=Ifxoledbc.2;Persist Security Info=False;host=" + v(cfg.Host) + ";serv=sqlexec;srvr=" +
                v(cfg.Server) + ";User ID=" + v(cfg.Utente) + ";password=" + v(cfg.Password) +
                ";Data Source=" + v(d.DbDitt + "@" + cfg.Server);
    return d;
}

Connection& Session::tarv() {
    if (!CnnTarv) throw Error(kErrProviderFailure, "database TARV comune non connesso", kProductName);
    return *CnnTarv;
}

const char* Session::notConnectedText() {
    return "ATTENZIONE!\r\nIl database TARV comune o l'archivio non è connesso:\r\n"
           "la configurazione non è stata letta all'avvio.\r\n\r\n"
           "Correggere i parametri da Imposta, Configurazione.";
}

RecordsetPtr Session::OpenReadRst(const std::string& sql, Connection& cnn) {
    RecordsetPtr rs;
    runGuarded(dialogs_, "", "OpenReadRst", sql, [&] {
        rs = cnn.openRecordset(sql, CursorType::ForwardOnly, LockType::ReadOnly);
    });
    if (!rs) rs = std::make_unique<ClosedRecordset>(sql);
    return rs;
}

RecordsetPtr Session::OpenUpdateRst(const std::string& sql, Connection& cnn) {
    RecordsetPtr rs;
    runGuarded(dialogs_, "", "OpenUpdateRst", sql, [&] {
        rs = cnn.openRecordset(sql, CursorType::Static, LockType::Optimistic);
    });
    if (!rs) rs = std::make_unique<ClosedRecordset>(sql);
    return rs;
}

void Session::CloseRst(RecordsetPtr& rs) {
    if (rs) runGuarded(dialogs_, "", "CloseRst", "", [&] { rs->close(); });
    rs.reset();
}

}  // namespace zq
