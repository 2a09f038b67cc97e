#pragma once
// The wait window's picture: a ring of dots whose dark dot turns round.

#include <QByteArray>
#include <QImage>
#include <QList>

namespace zq {

/// The frames of the spinner, `frames` of them, each `size` pixels square.
QList<QImage> loadingFrames(int size = 32, int frames = 8);

/// The spinner as an animated GIF, the content of "Loading.gif".
QByteArray loadingGif();

}  // namespace zq
