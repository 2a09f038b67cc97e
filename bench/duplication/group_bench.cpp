// Grouping at scale: N records with their files grouped into a linked grouping table
// on the embedded TARV engine; records per second for each N, so that growth can be
// read off (linear: the same rate at 2,000 and 20,000 records).
//
//   duplication_bench [N ...] [--no-record-index]
//
// --no-record-index drops the grouping table's index on sys_record in the company
// database before the run: each record then costs a read of the whole table, which is
// what the index is there to avoid.

#include "app/demo_installation.h"
#include "common/progress.h"
#include "dataaccess/archive_db.h"
#include "duplication/group_run.h"
#include "linking/archive_model.h"
#include "linking/link_names.h"
#include "scripted_dialogs.h"
#include "temp_dir.h"

#include <chrono>
#include <cstdio>
#include <fstream>
#include <iostream>

namespace {

using namespace zq;
namespace fs = std::filesystem;

const char* kSource = "2215032010150A1F";  // Fatture Fornitori 2023, area 2
const char* kSmall = "2215032010161B2C";   // Fatture Clienti 2023, area 3: makes the grouping table

void fillSource(const std::string& pathArch, long n) {
    auto db = ArchiveDatabase::open(pathArch);
    db->execute(std::string("DELETE FROM [") + kSource + "]");
    auto elenco = db->connection().openRecordset(std::string("SELECT sys_path_docs FROM DB_ELENCO WHERE SYS_SERIALE = '") +
                                                     kSource + "'",
                                                 CursorType::ForwardOnly, LockType::ReadOnly);
    const std::string docs = elenco->field(0).toText();
    elenco->close();
    db->beginTrans();
    auto rs = db->openTable(kSource);
    for (long r = 1; r <= n; ++r) {
        char file[32];
        std::snprintf(file, sizeof file, "%08ld.pdf", r);
        rs->addNew();
        rs->setField("sys_record", Value(static_cast<std::int64_t>(r)));
        rs->setField("sys_filename", file);
        rs->setField("numero_doc", std::to_string(r) + "/A");
        rs->setField("data_doc", DateTime{2023, 1 + static_cast<int>(r % 12), 1 + static_cast<int>(r % 28)});
        rs->setField("ragione_sociale", "Fornitore n. " + std::to_string(r % 97));
        rs->setField("imponibile", 100.0 + static_cast<double>(r % 1000));
        rs->setField("cod_tipo_doc_f", 1);
        rs->update();
        const std::string folder = ArchiveModel::PathDocs(docs, r);
        fs::create_directories(folder);
        std::ofstream(folder + file, std::ios::binary) << "%PDF-1.4 documento " << r << "\n";
    }
    rs->close();
    db->commitTrans();
    db->close();
}

double groupOnce(long n, bool recordIndex) {
    test::TempDir dir("zq-group-bench");
    DemoInstallation::build(dir.path());
    test::ScriptedDialogs dialogs;
    dialogs.answerAlways(Answer::Ok);
    Session session(dialogs, dir.path());
    session.OpenConn(nullptr);
    session.ConnDitt("001");
    for (const auto& [serial, year, doc] : {std::tuple{kSource, "2023", "01"}, std::tuple{kSmall, "2023", "02"}})
        session.CnnTarv->execute("INSERT INTO ar_dbelenco VALUES('001', " + std::string(year) + ", 'M', '" + doc + "', '" +
                                 LinkNames::tarv(serial) + "', 'x')");
    fillSource(session.cfg.PathArch, n);

    GroupRequest request;
    request.companyIndex = 0;
    request.company = Lookups::Ditta{"001", "Rossi Mario & Figli srl", "2024", "01234560355"};
    request.arAttiva = true;
    NoProgress progress;
    auto areas = GroupRun::LeggList(session);
    for (auto& a : areas) a.Selez = a.Id_Area == 3;
    const auto made = GroupRun(session, progress).cmdGrup_Click(request, areas);
    if (!made.completed) throw std::runtime_error("grouping table not made");
    if (!recordIndex)
        session.CnnDitt->execute("DROP INDEX r" + LinkNames::tarv(made.table).substr(1));

    for (auto& a : areas) a.Selez = a.Id_Area == 2;
    const auto start = std::chrono::steady_clock::now();
    const auto result = GroupRun(session, progress).cmdGrup_Click(request, areas);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (!result.completed || result.records != n || result.files != n)
        throw std::runtime_error("grouped " + std::to_string(result.records) + " records, " +
                                 std::to_string(result.files) + " files of " + std::to_string(n));
    session.CloseConn();
    return seconds;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<long> sizes;
    bool recordIndex = true;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--no-record-index") recordIndex = false;
        else sizes.push_back(std::stol(a));
    }
    if (sizes.empty()) sizes = {2000, 20000};
    std::printf("%-10s %-12s %-12s %s\n", "records", "seconds", "records/s", recordIndex ? "" : "(no record index)");
    for (long n : sizes) {
        try {
            const double s = groupOnce(n, recordIndex);
            std::printf("%-10ld %-12.2f %-12.0f\n", n, s, static_cast<double>(n) / s);
            std::fflush(stdout);
        } catch (const std::exception& e) {
            std::fprintf(stderr, "%ld: %s\n", n, e.what());
            return 1;
        }
    }
    return 0;
}
