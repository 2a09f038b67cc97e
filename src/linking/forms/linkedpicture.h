#pragma once
// The small picture that marks, in the first column of the link lists, an archive
// whose table is already a link: two chain links.

#include "listctl/overlay_column.h"

#include <QPixmap>

#include <memory>

namespace zq {

/// The picture, `size` pixels square, drawn once per size.
QPixmap linkedPicture(int size = 14);

/// The pictures over column `column` of `list`, one a visible row ("picColl_1", …),
/// for the form to place over the rows whose archive is a link.
std::unique_ptr<OverlayColumn> linkedPictureColumn(grdComm& list, int column);

}  // namespace zq
