#include "textbox/property_bag.h"

namespace zq {

namespace {
QString fold(const QString& key) { return key.toCaseFolded(); }
}  // namespace

QVariant PropertyBag::read(const QString& key, const QVariant& def) const {
    const auto it = items_.find(fold(key));
    return it == items_.end() ? def : it->second.value;
}

void PropertyBag::write(const QString& key, const QVariant& value, const QVariant& def) {
    if (def.isValid() && value == def) {
        remove(key);
        return;
    }
    auto [it, inserted] = items_.try_emplace(fold(key), Item{key, value});
    if (!inserted) it->second.value = value;
}

bool PropertyBag::contains(const QString& key) const { return items_.count(fold(key)) != 0; }

void PropertyBag::remove(const QString& key) { items_.erase(fold(key)); }

QStringList PropertyBag::keys() const {
    QStringList out;
    for (const auto& [folded, item] : items_) out << item.key;
    return out;
}

QVariantMap PropertyBag::toVariantMap() const {
    QVariantMap out;
    for (const auto& [folded, item] : items_) out.insert(item.key, item.value);
    return out;
}

PropertyBag PropertyBag::fromVariantMap(const QVariantMap& map) {
    PropertyBag bag;
    for (auto it = map.cbegin(); it != map.cend(); ++it) bag.write(it.key(), it.value());
    return bag;
}

}  // namespace zq
