#pragma once
// The program's main window: an MDI container whose "&Imposta" entries open the
// configuration forms modally and whose "&Gestione" entries open the operation forms
// as children, with the seven-panel status bar.
//
// Adding a form is one line in formtable.cpp:
//   main.registerChildForm("mnuGestColl", [&] { return new frmColl(session); });
//   main.registerModalForm("mnuFileCGru", [&] { return new frmCGru(session); });
// The window registers the form it opens (OpenForm when it opens, ClosForm when it
// closes); the form only sets its object name and its "x_Form" property.

#include <QHash>
#include <QList>
#include <QMainWindow>
#include <QString>

#include <functional>
#include <map>

class QAction;
class QDialog;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QTimer;

namespace zq {

class Login;

class frmMain : public QMainWindow {
    Q_OBJECT

public:
    using ChildFactory = std::function<QWidget*()>;
    using ModalFactory = std::function<QDialog*()>;

    /// Builds the window and restores its geometry from section "Settings" (first start:
    /// 1000, 1000, 6500 x 6500 twips), widened when the status bar needs more; it grows
    /// again when a child window needs more room. `programFolder` is where "Loading.gif"
    /// is looked for.
    explicit frmMain(Login& login, QString programFolder, QWidget* parent = nullptr);
    ~frmMain() override;

    /// The rest of the load: logs in (OpenConn). AbortProgram passes to the caller, which
    /// ends the program without logging out.
    void load();

    /// The factory of the MDI child form opened by the "&Gestione" entry `entry`.
    /// Both registrations throw std::invalid_argument for a name that is no form entry.
    void registerChildForm(const QString& entry, ChildFactory factory);
    /// Same, for a form that registers with another entry than the one that opens it
    /// (frmCDAV with "mnuGestColl"): that entry is the one disabled while it is open.
    void registerChildForm(const QString& entry, ChildFactory factory, const QString& registerWith);
    /// The factory of the modal form opened by the "&Imposta" entry `entry`; the form
    /// confirms with accept(). `afterAccept` runs once it has been confirmed
    /// ("mnuFileConf" already logs out and in again).
    void registerModalForm(const QString& entry, ModalFactory factory,
                           std::function<void()> afterAccept = {});
    /// What an entry of the menu "?" that needs the session runs: "mnuHelpCheck" (the
    /// check of the archives), "mnuHelpLog" (the log of runs). Disabled until registered.
    void registerSessionEntry(const QString& entry, std::function<void()> run);
    /// Whether a changing command (the "&Imposta" forms: a new configuration logs out
    /// and in, a relink rewrites every link) may start now. It answers false while an
    /// operation changes the archive, in this program or another; with `tell` it has
    /// then said why, titled `caption`. Those entries are disabled meanwhile.
    using ChangeGuard = std::function<bool(const QString& caption, bool tell)>;
    void registerChangeGuard(ChangeGuard guard);

    /// Opens the child form of `entry`; the form, or nullptr when none is registered or
    /// it is open already.
    QWidget* openChild(const QString& entry);
    /// Opens the modal form of `entry` and waits for it; true when it was confirmed.
    /// `runAfterAccept` false skips the entry's after-accept step (the configuration
    /// form at first start confirms a login that has not happened yet).
    bool openModal(const QString& entry, bool runAfterAccept = true);

    /// A menu entry or separator by its name ("mnuFileExit"); nullptr when unknown.
    QAction* menuEntry(const QString& name) const;
    /// The menus of the menu bar, in order.
    QList<QMenu*> menus() const { return menus_; }
    /// The seven status bar panels, in order.
    QList<QLabel*> statusPanels() const { return panels_; }
    QMdiArea* mdiArea() const { return mdiArea_; }

    /// Called by OpenForm and ClosForm.
    void formOpened(QAction* entry);
    void formClosed(QAction* entry);
    /// Windows registered and not released (nForms).
    int openForms() const { return nForms_; }

    /// The tooltip of entries whose form is not part of the program yet.
    static QString notAvailableText();
    /// The tooltip of the "&Imposta" entries while an operation changes the archive.
    static QString busyText();

public slots:
    /// The one place that decides which entries are enabled.
    void updateMenus();

protected:
    void closeEvent(QCloseEvent* e) override;
    void showEvent(QShowEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private slots:
    void about();
    void reconnect();
    void updateWindowMenu();
    void updateClock();
    void tileHorizontally();
    void tileVertically();
    void arrangeIcons();

private:
    struct Entry {
        QAction* action = nullptr;
        ChildFactory child;
        ModalFactory modal;
        std::function<void()> afterAccept;
        QString registerWith;  ///< the entry the child form registers with, when not its own
        bool isForm = false;  ///< opens a form (disabled while none is registered)
    };

    void createActions();
    void createMenus();
    void createStatusBar();
    void readSettings();
    void writeSettings();

    Entry& formEntry(const QString& name);
    QAction* addEntry(const QString& name, const QString& caption, bool isForm);
    QAction* addSeparator(QMenu* menu, const QString& name);
    void showLockKeys();
    void makeRoomFor(QMdiSubWindow* sub);

    Login& login_;
    QString programFolder_;
    QMdiArea* mdiArea_ = nullptr;
    QHash<QString, Entry> entries_;
    std::map<QString, std::function<void()>> sessionEntries_;
    ChangeGuard changeGuard_;
    QHash<QString, QAction*> separators_;
    QHash<QAction*, int> busy_;  ///< entries whose form is open
    QList<QMenu*> menus_;
    QMenu* windowMenu_ = nullptr;
    QList<QLabel*> panels_;
    QTimer* clock_ = nullptr;
    int nForms_ = 0;
    bool capsLock_ = false;
    bool insertMode_ = true;
};

/// The main window of this process (MainForm), or nullptr before it exists.
frmMain* MainForm();

}  // namespace zq
