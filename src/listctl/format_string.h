#pragma once
// The grid's column format string, as the forms write it:
//   "    |  N.  |<Area|<Descrizione|Ditta"
// "|" separates columns; a leading "<", "^" or ">" aligns the column left, centre or
// right (no prefix: general alignment, text left and numbers right); the rest is the
// header text, whose width, spaces included, sets the column's width. An optional
// ";" starts the row-header section: texts for column 0 of the rows after the header.

#include <string>
#include <string_view>
#include <vector>

namespace zq {

/// Column alignment codes of the grid (left/centre/right × top/centre/bottom, general).
enum class GridAlign : int {
    LeftTop = 0, LeftCenter = 1, LeftBottom = 2,
    CenterTop = 3, CenterCenter = 4, CenterBottom = 5,
    RightTop = 6, RightCenter = 7, RightBottom = 8,
    General = 9
};

/// One column of a format string.
struct FormatColumn {
    std::string header;                    ///< header text with its spaces, prefix removed
    GridAlign align = GridAlign::General;  ///< from the prefix
    friend bool operator==(const FormatColumn&, const FormatColumn&) = default;
};

/// A parsed format string.
class FormatString {
public:
    /// Splits the text into columns and row headers; an empty text has no columns.
    static FormatString parse(std::string_view text);

    const std::vector<FormatColumn>& columns() const { return columns_; }
    const std::vector<std::string>& rowHeaders() const { return rowHeaders_; }

private:
    std::vector<FormatColumn> columns_;
    std::vector<std::string> rowHeaders_;
};

}  // namespace zq
