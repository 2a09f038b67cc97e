// Build step: writes the program's "Loading.gif" to the path given.
#include "config/loadingpicture.h"

#include <QFile>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.gif\n", argv[0]);
        return 2;
    }
    QFile out(QString::fromLocal8Bit(argv[1]));
    if (!out.open(QIODevice::WriteOnly)) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    const QByteArray data = zq::loadingGif();
    return out.write(data) == data.size() ? 0 : 1;
}
