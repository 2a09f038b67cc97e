#include "duplication/folder_names.h"

#include "common/product.h"
#include "common/textroutines.h"
#include "linking/message_lines.h"
#include "runtime/text.h"

#include <filesystem>
#include <system_error>

namespace zq {
namespace {

bool endsWithSeparator(const std::string& p) { return !p.empty() && (p.back() == '\\' || p.back() == '/'); }

std::string blanksForUnderscores(std::string_view name) {
    std::string n(name);
    for (char& c : n)
        if (c == '_') c = ' ';
    return n;
}

}  // namespace

std::string FolderNames::abbreviate(std::string_view name) {
    std::string out;
    std::string n(name);
    for (std::size_t p = vbInStr(n, " "); p > 0; p = vbInStr(n, " ")) {
        out = vbTrim(out) + vbTrim(vbLeft(vbLeft(n, p - 1), 4)) + "_";
        n = vbMid(n, p + 1);
    }
    return vbTrim(out) + vbTrim(vbLeft(n, 4));
}

std::string FolderNames::withSeparator(const std::string& path) {
    if (endsWithSeparator(path)) return path;
    const bool backslash = path.find('\\') != std::string::npos && path.find('/') == std::string::npos;
    return vbTrim(path) + (backslash ? "\\" : "/");
}

std::string FolderNames::areaFolder(const std::string& parent, const std::string& areaName) {
    return vbTrim(withSeparator(parent)) + abbreviate(blanksForUnderscores(areaName));
}

std::string FolderNames::archiveFolder(const std::string& areaFolder, const std::string& archiveName) {
    return vbTrim(areaFolder) + abbreviate(vbTrim(archiveName));
}

std::string FolderNames::NomeCart(Dialogs& dialogs, const std::string& kind, const std::string& parent,
                                  const std::string& name) {
    if (vbTrim(parent).empty()) {
        dialogs.message(Message{messageLines({"Creazione cartella " + kind + ".",
                                              "Il percorso dell'area parent è obbligatorio."}),
                                std::string(kProductName) + ": Duplicazione annualità.", Buttons::Ok,
                                Icon::Information});
        return {};
    }
    return vbTrim(withSeparator(parent)) + abbreviate(blanksForUnderscores(name));
}

std::string FolderNames::groupingFolder(const std::string& grpParm2, const std::string& codice,
                                        const std::string& ragSoc) {
    std::string part = vbTrim(codice) + "_" + vbLeft(vbTrim(ragSoc), 10);
    SostChar(part, " ", "_");
    SostChar(part, ".", "_");
    return grpParm2 + part + (grpParm2.find('\\') != std::string::npos && grpParm2.find('/') == std::string::npos ? "\\" : "/");
}

bool FolderNames::makeFolder(const std::string& path) {
    if (vbTrim(path).empty()) return false;
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) return true;
    std::filesystem::create_directories(path, ec);
    return !ec && std::filesystem::is_directory(path, ec);
}

}  // namespace zq
