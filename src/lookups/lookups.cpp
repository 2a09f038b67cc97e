#include "lookups/lookups.h"

#include "common/gesterr.h"
#include "common/textroutines.h"
#include "runtime/text.h"

#include <optional>

namespace zq {
namespace {

const std::string kAllCompanies = "<TUTTE>";
const std::string kAllYears = "<TUTTI>";

// A year goes into SQL bare (it is a number there): anything else is no year at all.
bool isYearNumber(const std::string& year) {
    const std::string t = vbTrim(year);
    if (t.empty() || t.size() > 9) return false;
    for (char c : t)
        if (c < '0' || c > '9') return false;
    return true;
}

std::optional<double> numberOf(const Value& v) {
    try {
        return v.toDouble();
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

}  // namespace

const Lookups::Ditta* Lookups::selected(const Picker& company) const {
    const int i = company.listIndex();
    if (i < 0 || i >= static_cast<int>(aDitte.size())) return nullptr;
    return &aDitte[i];
}

void Lookups::LeggDitt(Picker& cmb, bool all) {
    aDitte.clear();
    int restore = cmb.listIndex();
    if (all) {
        aDitte.push_back(Ditta{"000", kAllCompanies, "0000", ""});
        restore = 0;
    }

    Connection& tarv = session_.tarv();
    auto rs = tarv.openRecordset("SELECT codice, anno, codice_studio FROM anaditta  ORDER BY codice",
                                 CursorType::ForwardOnly, LockType::ReadOnly);
    for (; !rs->eof(); rs->moveNext()) {
        const Value codice = rs->field("codice");
        const Value anno = rs->field("anno");
        const Value studio = rs->field("codice_studio");
        if (codice.isNullish() || anno.isNullish() || studio.isNullish()) continue;
        const auto year = numberOf(anno);
        if (!year || *year < 2002) continue;

        auto clifo = tarv.openRecordset("SELECT * FROM clifo  WHERE codice_studio = " +
                                            sqlText(studio.toText()) + "  ORDER BY data_validita",
                                        CursorType::Static, LockType::ReadOnly);
        if (!clifo->eof()) {
            clifo->moveLast();
            const Value name = clifo->field("rag_sociale");
            const Value fiscal = clifo->field("cod_fiscale");
            if (!name.isNullish())
                aDitte.push_back(Ditta{codice.toText(), vbTrim(name.toText()), anno.toText(),
                                       fiscal.isNullish() ? std::string() : vbTrim(fiscal.toText())});
        }
        clifo->close();
    }
    rs->close();

    // Adjacent swaps by character code until a pass makes none; "<TUTTE>" stays first.
    const std::size_t first = all ? 1 : 0;
    bool swapped = true;
    while (swapped) {
        swapped = false;
        for (std::size_t i = first; i + 1 < aDitte.size(); ++i) {
            if (aDitte[i].RagSoc > aDitte[i + 1].RagSoc) {
                std::swap(aDitte[i], aDitte[i + 1]);
                swapped = true;
            }
        }
    }

    cmb.clear();
    for (const auto& d : aDitte) cmb.addItem(d.Codice == "000" ? d.RagSoc : d.Codice + " - " + d.RagSoc);
    if (restore >= 0) cmb.setListIndex(restore);
}

void Lookups::CambDitt(Picker& company, Picker& year, bool allYears) {
    aEser.clear();
    if (year.visible) year.clear();
    const Ditta* d = selected(company);
    if (!d || d->Codice == "000") return;
    const Ditta chosen = *d;
    session_.ConnDitt(chosen.Codice);
    if (year.visible)
        LeggEser(year, allYears);
    else
        VerAttiva(chosen.Anno);
}

void Lookups::CambDit1(Picker& company) {
    const Ditta* d = selected(company);
    if (!d) return;
    const Ditta chosen = *d;
    session_.ConnDitt(chosen.Codice);
    VerAttiva(chosen.Anno);
}

void Lookups::CambEser(Picker& company, Picker& year) {
    if (company.listIndex() < 0 || year.listIndex() < 0) return;
    if (company.text() == kAllCompanies || year.text() == kAllYears) return;
    VerAttiva(year.text());
}

void Lookups::VerAttiva(const std::string& year) {
    ArAttiva = false;
    if (session_.CnnDitt && isYearNumber(year)) {
        auto rs = session_.CnnDitt->openRecordset("SELECT * FROM regditta WHERE anno = " + vbTrim(year),
                                                  CursorType::Static, LockType::ReadOnly);
        if (!rs->eof()) {
            const Value flag = rs->field("ar_attiva");
            const std::string f = flag.isNullish() ? std::string() : vbTrim(flag.toText());
            ArAttiva = f == "S" || f == "U";
        }
        rs->close();
    }
    if (!ArAttiva)
        session_.dialogs().message(Message{"ATTENZIONE! La Ditta selezionata\r\nnon prevede il collegamento ad QUIRNOVA!",
                                           "\"", Buttons::Ok, Icon::Information});
}

void Lookups::LeggEser(Picker& year, bool all) {
    aEser.clear();
    year.clear();
    if (all) {
        year.addItem(kAllYears);
        year.setListIndex(0);
    }
    if (!session_.CnnDitt) return;
    auto rs = session_.OpenReadRst("SELECT * FROM parditta ORDER BY anno DESC", *session_.CnnDitt);
    for (; !rs->eof(); rs->moveNext()) {
        const std::string anno = rs->field("anno").toText();
        aEser.push_back(anno);
        year.addItem(anno);
    }
    session_.CloseRst(rs);
    if (year.listCount() > 0) year.setListIndex(0);
}

void Lookups::LeggDocs() {
    const std::string sql = "SELECT tipo_doc, descrizione FROM ar_tipodoc  ORDER BY descrizione";
    runGuarded(session_.dialogs(), "garInizio", "LeggDocs", sql, [&] {
        aDocs.clear();
        if (!session_.CnnTarv) throw Error(kErrProviderFailure, "database TARV comune non connesso");
        auto rs = session_.CnnTarv->openRecordset(sql, CursorType::ForwardOnly, LockType::ReadOnly);
        for (; !rs->eof(); rs->moveNext()) {
            const Value code = rs->field("tipo_doc");
            const Value descr = rs->field("descrizione");
            if (!code.isNullish() && !descr.isNullish()) aDocs.push_back(TipoDoc{code.toText(), descr.toText()});
        }
        rs->close();
    });
}

void Lookups::LeggAree(Picker& cmb, long parentId, bool showParent, bool all) {
    std::optional<long> remembered;
    if (cmb.listIndex() >= 0) remembered = cmb.itemData(cmb.listIndex());
    cmb.clear();
    if (all) cmb.addItem(kAllCompanies);

    std::string sql = "SELECT * FROM AREE";
    if (parentId != 0) sql = vbTrim(sql) + " WHERE ID_PARENT = " + std::to_string(parentId);
    sql = vbTrim(sql) + " ORDER BY AREA";
    if (!session_.CnnArch) return;

    Connection& arch = *session_.CnnArch;
    auto rs = arch.openRecordset(sql, CursorType::ForwardOnly, LockType::ReadOnly);
    for (; !rs->eof(); rs->moveNext()) {
        const Value area = rs->field("AREA");
        if (area.isNullish()) continue;
        const long parent = static_cast<long>(rs->field("ID_PARENT").toInteger());
        std::string text = area.toText();
        if (parent != 0 && showParent) {
            auto up = arch.openRecordset("SELECT * FROM AREE WHERE ID_AREA = " + std::to_string(parent),
                                         CursorType::ForwardOnly, LockType::ReadOnly);
            if (!up->eof()) text += "   -  " + up->field("AREA").toText();
            up->close();
        }
        const int i = cmb.addItem(text);
        const long id = static_cast<long>(rs->field("Id_Area").toInteger());
        cmb.setItemData(i, id);
        if (remembered && *remembered == id) cmb.setListIndex(i);
    }
    rs->close();
}

}  // namespace zq
