#include "conversion/tiff_list.h"

#include "runtime/text.h"

namespace zq {

std::vector<TiffEntry> loadTiffEntries(Connection& cnnArch) {
    std::vector<TiffEntry> entries;
    RecordsetPtr rs = cnnArch.openRecordset(kTiffListQuery, CursorType::ForwardOnly, LockType::ReadOnly);
    for (; !rs->eof(); rs->moveNext()) {
        const Value archivio = rs->field("ARCHIVIO");
        const Value seriale = rs->field("SYS_SERIALE");
        const Value pathDocs = rs->field("sys_path_docs");
        if (archivio.isNullish() || seriale.isNullish() || pathDocs.isNullish()) continue;
        entries.push_back({archivio.toText(), vbLCase(seriale.toText()), vbTrim(rs->field("AREA").toText()),
                           pathDocs.toText(), false});
    }
    rs->close();
    return entries;
}

}  // namespace zq
