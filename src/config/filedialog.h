#pragma once
// The "Apri" file dialog: Qt's file dialog with captions the caller chooses for the
// open and cancel buttons and the look-in, file-name and file-type labels. An empty
// caption leaves Qt's own text.

#include <QList>
#include <QPair>
#include <QString>

class QFileDialog;
class QWidget;

namespace zq {

class FileDialog {
public:
    /// One filter: a description ("DataBase Microsoft Office Access") and its patterns
    /// separated by ';' ("*.mdb;*.mda").
    using Filter = QPair<QString, QString>;

    void setTitle(const QString& t) { title_ = t; }
    void setFilters(const QList<Filter>& f) { filters_ = f; }
    /// 1-based, as the original counts filters; 0 or out of range selects the first.
    void setFilterIndex(int i) { filterIndex_ = i; }
    /// A folder, or a file path whose folder is opened and whose name is proposed.
    void setStartPath(const QString& p) { startPath_ = p; }
    void setProposedName(const QString& n) { proposedName_ = n; }
    /// Added to a typed name without extension ("mdb").
    void setDefaultExtension(const QString& e) { defaultExtension_ = e; }

    void setOpenCaption(const QString& s) { open_ = s; }
    void setCancelCaption(const QString& s) { cancel_ = s; }
    void setLookInCaption(const QString& s) { lookIn_ = s; }
    void setFileNameCaption(const QString& s) { fileName_ = s; }
    void setFileTypeCaption(const QString& s) { fileType_ = s; }

    /// The configured dialog, not yet shown; the caller owns it.
    QFileDialog* create(QWidget* owner) const;
    /// Shows it modally: the chosen file's path, or the empty string when cancelled.
    QString exec(QWidget* owner) const;

    /// Splits the original's filter text "Description|patterns|Description|patterns".
    static QList<Filter> parseFilter(const QString& text);
    /// The Qt name filter of one filter: "Description (*.mdb *.mda)".
    static QString nameFilter(const Filter& f);

private:
    QString title_, startPath_, proposedName_, defaultExtension_;
    QList<Filter> filters_;
    int filterIndex_ = 0;
    QString open_, cancel_, lookIn_, fileName_, fileType_;
};

}  // namespace zq
