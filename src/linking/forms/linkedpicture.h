#pragma once
// The small picture that marks, in the first column of the link lists, an archive
// whose table is already a link: two chain links.

#include <QPixmap>

namespace zq {

/// The picture, `size` pixels square, drawn once per size.
QPixmap linkedPicture(int size = 14);

}  // namespace zq
