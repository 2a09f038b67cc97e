#pragma once
// The names an archive takes on both sides of a link, and the checks a name from data
// passes before it may enter a DDL statement.
//
//   serial s (lower case)  ->  s + "_sav"  set-aside local table (archive database)
//                              s + "_col"  the link during pre-mastering (archive database)
//                              "a" + s     the archive's table in the company database

#include <string>
#include <string_view>

namespace zq {

class LinkNames {
public:
    /// Lower case of the trimmed serial + "_SAV": exactly the name the set-aside table gets.
    static std::string sav(std::string_view serial);
    /// Lower case of the trimmed serial + "_COL".
    static std::string col(std::string_view serial);
    /// Lower case of "a" + serial: the TARV table and ar_dbelenco.sys_seriale.
    static std::string tarv(std::string_view serial);

    /// True when a serial can name tables on both sides: letters, digits and "_" only.
    /// Anything else (a quote, a semicolon, a blank …) could change the statements built
    /// from it, so such an archive is refused before anything changes.
    static bool safeSerial(std::string_view serial);
    /// True when a field or index name can enter a statement: no quote, semicolon,
    /// bracket, comma, operator or control character. Blanks (which the link step leaves
    /// out with its own message), "/" (which index names turn into "_") and letters
    /// beyond ASCII pass.
    static bool safeName(std::string_view name);

    /// True when a field name can stand bare as a column of the TARV table: letters
    /// (accented ones too), digits and "_", not beginning with a digit. The link step
    /// leaves any other field out with its message ("N. Fattura", "Cod.cliente").
    static bool serverColumn(std::string_view name);
    /// The primary-key name as it enters the archive's ALTER TABLE: bare when it is a
    /// plain name, else in brackets (a safeName never holds one).
    static std::string keyName(std::string_view name);

    /// Base of a TARV index name of the link step: lower case, every "/" (and every
    /// other character that cannot stand in a bare identifier, such as a blank) as "_".
    static std::string indexBase(std::string_view indexName);
    /// Base of a TARV index name of the DAV link step: as indexBase, then leading
    /// characters removed until it begins with a letter a-z; "i" + the base when no
    /// letter is left at all, so that the name still begins with a letter.
    static std::string davIndexBase(std::string_view indexName);
};

}  // namespace zq
