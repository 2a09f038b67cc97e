#pragma once
// The store a host form keeps a control's properties in: name -> value, where names
// compare without regard to case, as the original host's store did (a value written
// under "DataType" reads back under "Datatype"). Both control libraries use it.

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>

#include <map>

namespace zq {

class PropertyBag {
public:
    PropertyBag() = default;

    /// The value stored under key (any case), or def when the key is missing.
    QVariant read(const QString& key, const QVariant& def = {}) const;
    /// Stores value under key; a value equal to def is not kept, so reading gives def back.
    void write(const QString& key, const QVariant& value, const QVariant& def = {});

    bool contains(const QString& key) const;
    void remove(const QString& key);
    void clear() { items_.clear(); }
    bool isEmpty() const { return items_.empty(); }
    /// The keys as first written, in case-folded order.
    QStringList keys() const;

    /// Copies for the host's own storage (a form file, QSettings).
    QVariantMap toVariantMap() const;
    static PropertyBag fromVariantMap(const QVariantMap& map);

private:
    struct Item {
        QString key;  ///< the spelling it was first written with
        QVariant value;
    };
    std::map<QString, Item> items_;  ///< by case-folded key
};

}  // namespace zq
