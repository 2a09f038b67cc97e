#pragma once
// What the configuration form and "zelq config --set" do with the values a person
// enters: the proposed defaults, the check of the TARV path, the password
// confirmation, the connection test with the entered values, and the file written
// whole. UI-free: every message goes through Dialogs, titled with the caller's caption.

#include "app/session.h"
#include "common/dialogs.h"
#include "dataaccess/engine_settings.h"

#include <filesystem>
#include <string>

namespace zq {

class ConfigEditor {
public:
    /// The city the form proposes when the file names none.
    static constexpr const char* kDefaultCity = "Milano";
    /// The company name of the program's version information (the vendor).
    static constexpr const char* kVersionCompany = "Veltra";
    /// Server tags of the "SO Server" options "SCO" and "LINUX".
    static constexpr const char* kServerSco = "orvo_se";
    static constexpr const char* kServerLinux = "linux_se";

    /// `caption` titles the messages (the form's caption).
    ConfigEditor(Dialogs& dialogs, std::filesystem::path programFolder, std::string caption);

    /// The form's load: the defaults set over `current` (Server, RootOld, RootNew and the
    /// grouping parameters keep their values), then the file read over them leniently.
    Config load(const Config& current) const;
    /// The defaults alone.
    static Config defaults(const Config& current, const std::filesystem::path& programFolder);

    /// The check of the TARV path on leaving its field: it must end with "/". False
    /// after the message.
    bool checkPathTarv(const std::string& path) const;
    /// The two password fields must be equal, blanks included. False after the message.
    bool checkPasswords(const std::string& password, const std::string& confirmation) const;
    /// Every value must fit the file's Windows-1252 code page. False after the message
    /// naming the first one that does not.
    bool checkWritable(const Config& values) const;
    /// Opens and closes the common database with the entered values (on the engine the
    /// installation's engines file names). False after the message.
    bool testConnection(const Config& entered) const;
    /// The connection string of the test: the company template on PathTarv + "comune".
    static std::string testConnectionString(const Config& c);

    /// "Con&ferma": the checks, the connection test, then the file written with all
    /// thirteen values (the grouping parameters as `target` holds them) and the
    /// eleven entered values stored in `target`. False when something stopped it:
    /// then `target` and the file are unchanged.
    bool confirm(const Config& entered, const std::string& passwordConfirmation, Config& target) const;

    /// Writes `values` as the configuration file; a failure goes through the error
    /// report (`module`, routine "cmdConf_Click"): Retry writes again, Ignore gives
    /// false, Abort ends the program.
    bool writeFile(const Config& values, const std::string& module) const;

    const std::filesystem::path& programFolder() const { return programFolder_; }
    std::filesystem::path configFile() const;

private:
    void say(const std::string& text, Icon icon) const;

    Dialogs& dialogs_;
    std::filesystem::path programFolder_;
    std::string caption_;
};

}  // namespace zq
