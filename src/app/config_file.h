#pragma once
// The configuration file "zel_QUIRNOVA.CFG": thirteen lines, one value each, in the
// order of Config. Read with CR LF, LF or CR line ends, in UTF-8 or Windows-1252; always
// written whole, with CR LF, in Windows-1252 (the code page the office's other
// installations read it in), through a temporary file renamed over the old one and
// readable by its owner only, as it holds the TARV password in clear.

#include "app/session.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace zq {

class ConfigFile {
public:
    /// Number of values (lines) the writer writes.
    static constexpr int kLines = 13;
    /// Lines the startup reader cannot do without (PathTarv … Server).
    static constexpr int kMandatoryLines = 8;
    /// 0-based line of the password: never shown in a message.
    static constexpr int kPasswordLine = 5;

    /// The file's place: programFolder / "zel_QUIRNOVA.CFG".
    static std::filesystem::path pathIn(const std::filesystem::path& programFolder);

    /// The startup reader: lines 1 to 8 always, 9 to 13 while the file has them; values
    /// of absent lines keep what `cfg` held. Throws zq::Error (nothing assigned) when the
    /// file cannot be opened, is not a text file or has fewer than 8 lines.
    static void readStartup(const std::filesystem::path& file, Config& cfg);

    /// The lenient reader of the configuration forms: false (nothing changed) when no
    /// file exists; otherwise assigns as many values as the file has lines, up to 13.
    /// Throws zq::Error for a file that cannot be opened or is not a text file.
    static bool readLenient(const std::filesystem::path& file, Config& cfg);

    /// Writes all thirteen values. Throws zq::Error, leaving the old file untouched, when
    /// a value holds a line break or a character Windows-1252 has not, or the folder
    /// cannot be written.
    static void write(const std::filesystem::path& file, const Config& cfg);

    /// The Italian refusal for the first value Windows-1252 cannot hold (naming the
    /// value, showing it unless it is the password); nothing when every value fits.
    static std::optional<std::string> unwritable(const Config& cfg);
    /// The name of a 0-based line's value, as the forms label it.
    static const char* label(int line);

    /// The lines of a file as UTF-8 text, without their line ends.
    static std::vector<std::string> readLines(const std::filesystem::path& file);

    /// The values in file order (line 1 first).
    static std::vector<std::string*> fields(Config& cfg);
    static std::vector<const std::string*> fields(const Config& cfg);
};

}  // namespace zq
