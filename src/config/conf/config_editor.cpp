#include "config/conf/config_editor.h"

#include "app/config_file.h"
#include "common/gesterr.h"
#include "dataaccess/resolver.h"

namespace zq {

ConfigEditor::ConfigEditor(Dialogs& dialogs, std::filesystem::path programFolder, std::string caption)
    : dialogs_(dialogs), programFolder_(std::move(programFolder)), caption_(std::move(caption)) {}

std::filesystem::path ConfigEditor::configFile() const { return ConfigFile::pathIn(programFolder_); }

Config ConfigEditor::defaults(const Config& current, const std::filesystem::path& programFolder) {
    Config c = current;
    c.PathTarv = "/usr/tarv/";
    c.PathArch = (programFolder / "Vizidore.mdb").string();
    c.Azienda = kVersionCompany;
    c.Citta = kDefaultCity;
    c.Utente = "tarv";
    c.Password.clear();
    c.Host = "server";
    c.ConvBksl = "S";
    return c;
}

Config ConfigEditor::load(const Config& current) const {
    Config c = defaults(current, programFolder_);
    ConfigFile::readLenient(configFile(), c);
    return c;
}

void ConfigEditor::say(const std::string& text, Icon icon) const {
    dialogs_.message(Message{text, caption_, Buttons::Ok, icon});
}

bool ConfigEditor::checkPathTarv(const std::string& path) const {
    if (!path.empty() && path.back() == '/') return true;
    say("Percorso archivi errato. \r\nDeve terminare con '/'.", Icon::Information);
    return false;
}

bool ConfigEditor::checkPasswords(const std::string& password, const std::string& confirmation) const {
    if (password == confirmation) return true;
    say("Le password inserite non coincidono!", Icon::Exclamation);
    return false;
}

bool ConfigEditor::checkWritable(const Config& values) const {
    const auto refusal = ConfigFile::unwritable(values);
    if (!refusal) return true;
    say(*refusal + ".", Icon::Exclamation);
    return false;
}

std::string ConfigEditor::testConnectionString(const Config& c) {
    const auto v = connectionValue;
    return "Provider=Ifxoledbc.2;Persist Security Info=False;host=" + v(c.Host) + ";serv=sqlexec;srvr=" +
           v(c.Server) + ";User ID=" + v(c.Utente) + ";password=" + v(c.Password) +
           ";Data Source=" + v(c.PathTarv + "comune@" + c.Server);
}

bool ConfigEditor::testConnection(const Config& entered) const {
    try {
        // Read afresh: at first start the session has not loaded the engines file yet.
        const EngineSettings engines = EngineSettings::load(programFolder_);
        ConnectionPtr cnn = openConnection(testConnectionString(entered), engines);
        if (cnn->state() != 0) cnn->close();
        return true;
    } catch (const AbortProgram&) {
        throw;
    } catch (const std::exception&) {
        say("Errore nella connessione. Ricontrollare i parametri.", Icon::Exclamation);
        return false;
    }
}

bool ConfigEditor::writeFile(const Config& values, const std::string& module) const {
    return runGuarded(dialogs_, module, "cmdConf_Click", "",
                      [&] { ConfigFile::write(configFile(), values); });
}

bool ConfigEditor::confirm(const Config& entered, const std::string& passwordConfirmation, Config& target) const {
    if (!checkPasswords(entered.Password, passwordConfirmation)) return false;
    // The form checks the path when its field is left; a value never typed in (a file
    // edited by hand, zelq) is checked here, before it reaches a connection string.
    if (!checkPathTarv(entered.PathTarv)) return false;
    if (!checkWritable(entered)) return false;
    if (!testConnection(entered)) return false;

    Config stored = target;
    stored.PathTarv = entered.PathTarv;
    stored.PathArch = entered.PathArch;
    stored.Azienda = entered.Azienda;
    stored.Citta = entered.Citta;
    stored.Utente = entered.Utente;
    stored.Password = entered.Password;
    stored.Host = entered.Host;
    stored.Server = entered.Server;
    stored.RootOld = entered.RootOld;
    stored.RootNew = entered.RootNew;
    stored.ConvBksl = entered.ConvBksl;
    // The file first: values kept only in memory would be lost at the next start.
    if (!writeFile(stored, "frmConf")) return false;
    target = stored;
    return true;
}

}  // namespace zq
