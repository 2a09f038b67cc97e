#include "optionctl/lumechoice_factory.h"

#include "optionctl/optsino.h"

namespace {
// Component identifiers compare without regard to case, as the original's registry did.
constexpr const char* kIdentifiers[] = {"Lumechoice.optSiNo", nullptr};
}  // namespace

extern "C" QWidget* Lumechoice_CreateControl(const char* identifier, QWidget* parent) {
    if (!identifier) return nullptr;
    return zq::lumechoice::createControl(QString::fromUtf8(identifier), parent);
}

extern "C" const char* const* Lumechoice_Identifiers() { return kIdentifiers; }

namespace zq::lumechoice {

QWidget* createControl(const QString& identifier, QWidget* parent) {
    if (identifier.compare(QLatin1String(kIdentifiers[0]), Qt::CaseInsensitive) == 0) return new optSiNo(parent);
    return nullptr;
}

QStringList identifiers() {
    QStringList out;
    for (const char* const* id = kIdentifiers; *id; ++id) out << QString::fromLatin1(*id);
    return out;
}

}  // namespace zq::lumechoice
