#include "config/frmwait.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMovie>
#include <QVBoxLayout>

#include <algorithm>

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
    Gif89a1_->setFixedSize(pictureSide(), pictureSide());
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
    const QDir programs(QCoreApplication::applicationDirPath());
    candidates << programs.filePath(QString::fromLatin1(kPictureName));
    // Installed, the programs are in PREFIX/bin and their data in PREFIX/share.
    candidates << programs.filePath(QStringLiteral("../share/zel_QUIRNOVA/") + QString::fromLatin1(kPictureName));
    for (const QString& file : candidates) {
        if (!QFileInfo(file).isFile())
            continue;
        auto* movie = new QMovie(file, QByteArray(), this);
        if (!movie->isValid()) {
            delete movie;
            continue;
        }
        movie->setScaledSize(QSize(pictureSide(), pictureSide()));
        movie_ = movie;
        pictureFile_ = file;
        Gif89a1_->setMovie(movie_);
        return;
    }
}

int frmWait::pictureSide() const {
    // Three lines of the window's text: the animation reads at any font size.
    return std::max(48, 3 * fontMetrics().height());
}

void frmWait::setClosable(bool closable) {
    closable_ = closable;
    setWindowFlag(Qt::WindowCloseButtonHint, closable);
}

void frmWait::closeEvent(QCloseEvent* e) {
    if (closable_) {
        QDialog::closeEvent(e);
        return;
    }
    e->ignore();
}

void frmWait::reject() {
    if (closable_) QDialog::reject();
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
