#pragma once
// The two enumerations the formatted text box publishes to its host forms. Their values
// are stored in the forms' property stores, so they never change.

#include <QObject>

namespace zq {

/// Holder that lets Qt's meta-object system know the enumerations by name, so a host
/// that sets properties by name ("DataType" = 2 or "Data") reaches them too.
class TextBoxEnums {
    Q_GADGET

public:
    /// Kind of data a formatted text box holds.
    enum class DataTypes : int {
        Booleano = 0,   ///< yes/no value
        Contatore = 1,  ///< counter (whole number), right-aligned
        Data = 2,       ///< date "gg/mm/aaaa"
        decimale = 3,   ///< decimal number, right-aligned; an empty display shows "0"
        intero = 4,     ///< whole number, right-aligned
        Memo = 5,       ///< long text
        ora = 6,        ///< time "HH.MM"
        testo = 7,      ///< text (the default)
        Variabile = 8,  ///< variant
        DataOra = 9,    ///< date and time "GG/MM/AAAA HH.MM"
    };
    Q_ENUM(DataTypes)

    /// Query mode of a formatted text box and the dialect of the condition it builds.
    enum class QueryDest : int {
        nessuno = 0,          ///< normal data entry
        Selezione = 1,        ///< query mode, SQL condition for a WHERE clause
        Crystal_Reports = 2,  ///< query mode, Crystal Reports record-selection formula
    };
    Q_ENUM(QueryDest)
};

using DataTypes = TextBoxEnums::DataTypes;
using QueryDest = TextBoxEnums::QueryDest;

/// True for the kinds shown right-aligned (counter, decimal, whole number).
constexpr bool isRightAligned(DataTypes t) {
    return t == DataTypes::Contatore || t == DataTypes::decimale || t == DataTypes::intero;
}

}  // namespace zq
