#include "textbox/lumetext_factory.h"

#include "textbox/txtfrmt.h"

namespace {
// Component identifiers compare without regard to case, as the original's registry did.
constexpr const char* kIdentifiers[] = {"Lumetext.txtFrmt", nullptr};
}  // namespace

extern "C" QWidget* Lumetext_CreateControl(const char* identifier, QWidget* parent) {
    if (!identifier) return nullptr;
    return zq::lumetext::createControl(QString::fromUtf8(identifier), parent);
}

extern "C" const char* const* Lumetext_Identifiers() { return kIdentifiers; }

namespace zq::lumetext {

QWidget* createControl(const QString& identifier, QWidget* parent) {
    if (identifier.compare(QLatin1String(kIdentifiers[0]), Qt::CaseInsensitive) == 0) return new txtFrmt(parent);
    return nullptr;
}

QStringList identifiers() {
    QStringList out;
    for (const char* const* id = kIdentifiers; *id; ++id) out << QString::fromLatin1(*id);
    return out;
}

}  // namespace zq::lumetext
