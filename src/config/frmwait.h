#pragma once
// The wait window: a caption, a line of text and an animated picture, shown modelessly
// while long work runs.

#include <QDialog>
#include <QString>

class QLabel;
class QMovie;

namespace zq {

class frmWait : public QDialog {
    Q_OBJECT

public:
    /// Loads the picture "Loading.gif" from `programFolder`; when that folder has none,
    /// from the executable's folder, where the build puts the program's own, or from
    /// ../share/zel_QUIRNOVA beside it, where an installation does. A missing or
    /// unreadable picture leaves it empty.
    explicit frmWait(const QString& programFolder, QWidget* parent = nullptr);

    /// The text under the caption ("Attendi per favore ...").
    QString text() const;
    void setText(const QString& text);

    /// The picture file in use; empty when none was found.
    QString pictureFile() const { return pictureFile_; }
    /// The animation; nullptr when there is no picture.
    QMovie* movie() const { return movie_; }

    /// False while work runs: the close box and Escape then leave the window open, since
    /// closing it would stop nothing. The "&Informazioni..." window stays closable.
    void setClosable(bool closable);
    bool closable() const { return closable_; }

    /// Side of the square the animation is shown in, in pixels: three lines of text.
    int pictureSide() const;

    /// The file name the picture is looked for under.
    static constexpr const char* kPictureName = "Loading.gif";

public slots:
    void reject() override;

protected:
    void closeEvent(QCloseEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void hideEvent(QHideEvent* e) override;

private:
    void createWidgets();
    void loadPicture(const QString& programFolder);

    QLabel* lblWait_ = nullptr;
    QLabel* Gif89a1_ = nullptr;
    QMovie* movie_ = nullptr;
    QString pictureFile_;
    bool closable_ = true;
};

}  // namespace zq
