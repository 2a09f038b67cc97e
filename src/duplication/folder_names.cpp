#include "duplication/folder_names.h"

#include "common/product.h"
#include "common/textroutines.h"
#include "linking/message_lines.h"
#include "runtime/text.h"
#include "dataaccess/fault_hook.h"

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
    FaultHook::point("file");
    std::filesystem::create_directories(path, ec);
    return !ec && std::filesystem::is_directory(path, ec);
}

bool FolderNames::usableComponent(std::string_view component) {
    if (component.empty() || component == "." || component == ".." || component.size() > 240) return false;
    for (unsigned char c : component)
        if (c < 0x20 || c == 0x7F || std::string_view("/\\<>:\"|?*").find(static_cast<char>(c)) != std::string_view::npos)
            return false;
    return true;
}

bool FolderNames::usableName(const std::string& name) {
    return usableComponent(abbreviate(vbTrim(name))) && usableComponent(abbreviate(blanksForUnderscores(vbTrim(name))));
}

std::string FolderNames::unusableName(const std::string& whose, const std::string& name) {
    return messageLines({whose, name, "non può diventare il nome di una cartella:",
                         "contiene caratteri non ammessi o porterebbe fuori dalla cartella di destinazione."});
}

std::string FolderNames::lastComponent(const std::string& path) {
    std::string p = path;
    if (endsWithSeparator(p)) p.pop_back();
    const auto cut = p.find_last_of("/\\");
    return cut == std::string::npos ? p : p.substr(cut + 1);
}

std::string FolderNames::makeOwnFolder(const std::string& path) {
    namespace fs = std::filesystem;
    std::string base = vbTrim(path), separator;
    if (endsWithSeparator(base)) {
        separator = base.substr(base.size() - 1);
        base.pop_back();
    }
    if (base.empty()) return {};
    std::error_code ec;
    const fs::path parent = fs::path(base).parent_path();
    if (!parent.empty() && !fs::is_directory(parent, ec)) fs::create_directories(parent, ec);
    // create_directory makes the folder only when nothing stood there: a folder found
    // already made, even an empty one, may be another archive's, so the next number is tried.
    for (int n = 1; n < 1000; ++n) {
        const std::string candidate = n == 1 ? base : base + "_" + std::to_string(n);
        if (fs::exists(fs::symlink_status(candidate, ec))) continue;
        FaultHook::point("file");
        if (fs::create_directory(candidate, ec)) return candidate + separator;
        if (ec && ec != std::errc::file_exists) return {};
    }
    return {};
}

}  // namespace zq
