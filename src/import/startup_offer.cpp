#include "import/startup_offer.h"

#include "dataaccess/archive_db.h"
#include "import/access_import.h"
#include "import/mdb_file.h"

namespace zq {

bool importedArchiveInPlace(const std::filesystem::path& target) {
    std::error_code ec;
    if (!std::filesystem::exists(target, ec) || std::filesystem::file_size(target, ec) == 0) return false;
    if (looksLikeAccessFile(target)) return false;
    try {
        return !ArchiveDatabase::open(target.string())->tableDefs().empty();
    } catch (const std::exception&) {
        return false;
    }
}

std::filesystem::path importedArchivePath(const std::filesystem::path& accessFile) {
    auto out = accessFile;
    out.replace_filename(accessFile.stem().string() + "_importato.mdb");
    return out;
}

std::optional<std::string> offerAccessImport(Dialogs& dialogs, Progress& progress, const std::string& pathArch) {
    if (pathArch.empty() || !looksLikeAccessFile(pathArch)) return std::nullopt;
    const auto target = importedArchivePath(pathArch);
    const Answer a = dialogs.message(Message{"L'archivio indicato nella configurazione\r\n" + pathArch +
                                                 "\r\nè un database Access.\r\n\r\nVuoi importarlo nel nuovo archivio\r\n" +
                                                 target.string() + "?",
                                             kImportTitle, Buttons::YesNo, Icon::Question});
    if (a != Answer::Yes) return std::nullopt;
    // A run that renamed its archive into place but ended before the configuration was
    // written is complete: the archive is used as it is.
    if (importedArchiveInPlace(target)) return target.string();
    const ImportReport report = AccessImport(dialogs, progress).run(pathArch, target);
    if (!report.completed) return std::nullopt;
    if (!report.everythingImported()) {
        std::string text = "ATTENZIONE!\r\n" + report.summary() + "\r\nNon importati:";
        for (const auto& i : report.items)
            if (!i.imported && isTableOrLink(i.kind))
                text += "\r\n" + i.name + " (" + i.note + ")";
        dialogs.message(Message{text, kImportTitle, Buttons::Ok, Icon::Exclamation});
    }
    return target.string();
}

}  // namespace zq
