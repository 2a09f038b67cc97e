#include "config/frmwait.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMovie>
#include <QVBoxLayout>

namespace zq {

frmWait::frmWait(const QString& programFolder, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmWait"));
    setWindowTitle(QStringLiteral("Attendi per favore..."));
    setModal(false);
    createWidgets();
    loadPicture(programFolder);
}

void frmWait::createWidgets() {
    auto* shape = new QFrame(this);
    shape->setObjectName(QStringLiteral("Shape1"));
    shape->setFrameShape(QFrame::Box);
    shape->setFrameShadow(QFrame::Sunken);

    Gif89a1_ = new QLabel(shape);
    Gif89a1_->setObjectName(QStringLiteral("Gif89a1"));
    Gif89a1_->setMinimumSize(32, 32);
    Gif89a1_->setAlignment(Qt::AlignCenter);

    lblWait_ = new QLabel(QStringLiteral("Attendi per favore ..."), shape);
    lblWait_->setObjectName(QStringLiteral("lblWait"));

    auto* inner = new QHBoxLayout(shape);
    inner->addWidget(Gif89a1_);
    inner->addWidget(lblWait_, 1);

    auto* outer = new QVBoxLayout(this);
    outer->addWidget(shape);
}

void frmWait::loadPicture(const QString& programFolder) {
    QStringList candidates;
    if (!programFolder.isEmpty())
        candidates << QDir(programFolder).filePath(QString::fromLatin1(kPictureName));
    candidates << QDir(QCoreApplication::applicationDirPath()).filePath(QString::fromLatin1(kPictureName));
    for (const QString& file : candidates) {
        if (!QFileInfo(file).isFile())
            continue;
        auto* movie = new QMovie(file, QByteArray(), this);
        if (!movie->isValid()) {
            delete movie;
            continue;
        }
        movie_ = movie;
        pictureFile_ = file;
        Gif89a1_->setMovie(movie_);
        return;
    }
}

QString frmWait::text() const { return lblWait_->text(); }

void frmWait::setText(const QString& text) { lblWait_->setText(text); }

void frmWait::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    if (movie_)
        movie_->start();
}

void frmWait::hideEvent(QHideEvent* e) {
    if (movie_)
        movie_->stop();
    QDialog::hideEvent(e);
}

}  // namespace zq
