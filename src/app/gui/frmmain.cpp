#include "app/gui/frmmain.h"

#include "app/gui/childwindow.h"
#include "app/gui/formgeometry.h"
#include "app/gui/formregistry.h"
#include "app/gui/lockkeys.h"
#include "app/gui/programicon.h"
#include "app/gui/login.h"
#include "common/product.h"
#include "config/frmwait.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDateTime>
#include <QDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>

#include <memory>
#include <stdexcept>

#ifndef ZQ_VERSION
#error "ZQ_VERSION (the project's major.minor.patch) must be defined by the build"
#endif

namespace zq {
namespace {

frmMain* gMainForm = nullptr;

const char* const kSection = "Settings";

}  // namespace

frmMain* MainForm() { return gMainForm; }

QString frmMain::notAvailableText() { return tr("Non ancora disponibile"); }

QString frmMain::busyText() { return tr("Non disponibile mentre un'operazione modifica l'archivio"); }

namespace {

// The "&Imposta" forms change what a running operation stands on (the login, the links).
bool isChangingModal(const QString& name) { return name.startsWith(QLatin1String("mnuFile")); }

QString plainCaption(const QAction* a) { return a->text().remove(QChar('&')); }

}  // namespace

frmMain::frmMain(Login& login, QString programFolder, QWidget* parent)
    : QMainWindow(parent), login_(login), programFolder_(std::move(programFolder)) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QString::fromUtf8(kMainCaption));
    // Every window of the program shows its icon, the dialogs made without a parent too.
    qApp->setWindowIcon(programIcon());
    mdiArea_ = new QMdiArea(this);
    mdiArea_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdiArea_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(mdiArea_);
    gMainForm = this;

    createActions();
    createMenus();
    createStatusBar();
    readSettings();
    updateMenus();
}

frmMain::~frmMain() {
    qApp->removeEventFilter(this);
    if (gMainForm == this)
        gMainForm = nullptr;
}

void frmMain::load() { login_.OpenConn(); }

QAction* frmMain::addEntry(const QString& name, const QString& caption, bool isForm) {
    auto* a = new QAction(caption, this);
    a->setObjectName(name);
    Entry& e = entries_[name];
    e.action = a;
    e.isForm = isForm;
    return a;
}

void frmMain::createActions() {
    const struct {
        const char* name;
        const char* caption;
        bool isForm;
    } entries[] = {
        {"mnuFileConf", QT_TR_NOOP("&Configurazione"), true},
        {"mnuFileCGru", QT_TR_NOOP("&Raggruppamento Aree"), true},
        {"mnuFileAggP", QT_TR_NOOP("&Aggiorna Collegamento"), true},
        {"mnuFilePrin", QT_TR_NOOP("Stam&pante"), false},
        {"mnuFileExit", QT_TR_NOOP("&Esci"), false},
        {"mnuGestColl", QT_TR_NOOP("&Collegamento Tabelle a TARV"), true},
        {"mnuGestCDAV", QT_TR_NOOP("&Collegamento Tabelle DAV"), true},
        {"mnuGestFree", QT_TR_NOOP("&Scollegamento Tabelle da TARV"), true},
        {"mnuGestTiff", QT_TR_NOOP("Conversione da &PDF a TIF"), true},
        {"mnuGestMast", QT_TR_NOOP("Pre-&Masterizzazione Archivi"), true},
        {"mnuGestCopy", QT_TR_NOOP("&Duplicazione Aree"), true},
        {"mnuGestAnno", QT_TR_NOOP("Duplicazione &Annualità"), true},
        {"mnuGestGrup", QT_TR_NOOP("&Raggruppamento Aree"), true},
        {"mnuWindowCascade", QT_TR_NOOP("&Sovrapponi"), false},
        {"mnuWindowTileHorizontal", QT_TR_NOOP("Affianca &Orizzontalmente"), false},
        {"mnuWindowTileVertical", QT_TR_NOOP("Affianca &Verticalmente"), false},
        {"mnuWindowArrangeIcons", QT_TR_NOOP("&Disponi Icone"), false},
        {"mnuHelpCheck", QT_TR_NOOP("&Verifica archivi..."), false},
        {"mnuHelpLog", QT_TR_NOOP("&Registro operazioni..."), false},
        {"mnuHelpAbout", QT_TR_NOOP("&Informazioni..."), false},
    };
    for (const auto& e : entries) {
        const QString name = QString::fromLatin1(e.name);
        QAction* a = addEntry(name, tr(e.caption), e.isForm);
        if (!e.isForm)
            continue;
        if (name.startsWith(QLatin1String("mnuGest")))
            connect(a, &QAction::triggered, this, [this, name] { openChild(name); });
        else
            connect(a, &QAction::triggered, this, [this, name] { openModal(name); });
    }
    entries_["mnuFileConf"].afterAccept = [this] { reconnect(); };

    // The printer entry has no action in this program.
    entries_["mnuFilePrin"].action->setEnabled(false);
    connect(entries_["mnuFileExit"].action, &QAction::triggered, this, &QWidget::close);
    connect(entries_["mnuWindowCascade"].action, &QAction::triggered, mdiArea_,
            &QMdiArea::cascadeSubWindows);
    connect(entries_["mnuWindowTileHorizontal"].action, &QAction::triggered, this,
            &frmMain::tileHorizontally);
    connect(entries_["mnuWindowTileVertical"].action, &QAction::triggered, this,
            &frmMain::tileVertically);
    connect(entries_["mnuWindowArrangeIcons"].action, &QAction::triggered, this,
            &frmMain::arrangeIcons);
    connect(entries_["mnuHelpAbout"].action, &QAction::triggered, this, &frmMain::about);
    // The check and the log are the session's: enabled once registered.
    for (const QString name : {QStringLiteral("mnuHelpCheck"), QStringLiteral("mnuHelpLog")}) {
        entries_[name].action->setEnabled(false);
        connect(entries_[name].action, &QAction::triggered, this, [this, name] {
            if (const auto it = sessionEntries_.find(name); it != sessionEntries_.end() && it->second) it->second();
        });
    }
}

QAction* frmMain::addSeparator(QMenu* menu, const QString& name) {
    QAction* s = menu->addSeparator();
    s->setObjectName(name);
    separators_.insert(name, s);
    return s;
}

void frmMain::createMenus() {
    auto entry = [this](const char* name) { return entries_[QString::fromLatin1(name)].action; };

    QMenu* file = menuBar()->addMenu(tr("&Imposta"));
    file->setObjectName(QStringLiteral("mnuFile"));
    file->addAction(entry("mnuFileConf"));
    file->addAction(entry("mnuFileCGru"));
    addSeparator(file, QStringLiteral("mnuFileBar3"));
    file->addAction(entry("mnuFileAggP"));
    addSeparator(file, QStringLiteral("mnuFileBar2"));
    file->addAction(entry("mnuFilePrin"));
    addSeparator(file, QStringLiteral("mnuFIleBar4"));
    file->addAction(entry("mnuFileExit"));

    QMenu* gest = menuBar()->addMenu(tr("&Gestione"));
    gest->setObjectName(QStringLiteral("mnuGest"));
    gest->addAction(entry("mnuGestColl"));
    gest->addAction(entry("mnuGestCDAV"));
    gest->addAction(entry("mnuGestFree"));
    addSeparator(gest, QStringLiteral("mnuGestBar0"));
    gest->addAction(entry("mnuGestTiff"));
    addSeparator(gest, QStringLiteral("mnuGetsBar1"));
    gest->addAction(entry("mnuGestMast"));
    addSeparator(gest, QStringLiteral("mnuGetsBar2"));
    gest->addAction(entry("mnuGestCopy"));
    gest->addAction(entry("mnuGestAnno"));
    addSeparator(gest, QStringLiteral("mnuGestBar3"));
    gest->addAction(entry("mnuGestGrup"));

    windowMenu_ = menuBar()->addMenu(tr("&Finestra"));
    windowMenu_->setObjectName(QStringLiteral("mnuWindow"));
    connect(windowMenu_, &QMenu::aboutToShow, this, &frmMain::updateWindowMenu);
    updateWindowMenu();

    QMenu* help = menuBar()->addMenu(tr("&?"));
    help->setObjectName(QStringLiteral("mnuHelp"));
    help->addAction(entry("mnuHelpCheck"));
    help->addAction(entry("mnuHelpLog"));
    help->addAction(entry("mnuHelpAbout"));

    menus_ = {file, gest, windowMenu_, help};
    for (QMenu* m : menus_)
        m->setToolTipsVisible(true);
}

void frmMain::createStatusBar() {
    const struct {
        const char* name;
        QString text;
        QString tip;
    } panels[] = {
        {"sbrCaps", tr("BLOC MAIUSC"), {}},
        {"sbrIns", tr("INS"), {}},
        {"sbrVer", tr("Ver.: ") + QStringLiteral(ZQ_VERSION), tr("Versione del programma")},
        {"sbrDataSis", tr("Data Sistema:"), tr("Data Sistema:")},
        {"sbrDate", {}, {}},
        {"sbrTime", {}, {}},
        {"sbrDataLav", tr("Data Lavoro:"), tr("Data Lavoro:")},
    };
    statusBar()->setObjectName(QStringLiteral("StatusBar"));
    for (const auto& p : panels) {
        auto* label = new QLabel(p.text, this);
        label->setObjectName(QString::fromLatin1(p.name));
        label->setToolTip(p.tip);
        label->setFrameShape(QFrame::Panel);
        label->setFrameShadow(QFrame::Sunken);
        label->setContentsMargins(4, 0, 4, 0);
        statusBar()->addWidget(label);
        panels_.append(label);
    }
    clock_ = new QTimer(this);
    connect(clock_, &QTimer::timeout, this, &frmMain::updateClock);
    clock_->start(1000);
    updateClock();
    // The lock-key panels follow the keys the program sees.
    qApp->installEventFilter(this);
    showLockKeys();
}

void frmMain::updateClock() {
    const QDateTime now = QDateTime::currentDateTime();
    panels_[4]->setText(now.date().toString(QStringLiteral("dd/MM/yyyy")));
    panels_[5]->setText(now.time().toString(QStringLiteral("hh.mm")));
    showLockKeys();  // Caps Lock may have changed in another program
    // An operation may have started or ended in a window of this program or elsewhere.
    if (changeGuard_) updateMenus();
}

void frmMain::showLockKeys() {
    if (const auto led = capsLockLed())
        capsLock_ = *led;
    panels_[0]->setEnabled(capsLock_);
    panels_[1]->setEnabled(insertMode_);
}

bool frmMain::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::KeyPress && watched->isWidgetType()) {
        auto* k = static_cast<QKeyEvent*>(e);
        if (!k->isAutoRepeat() && k->key() == Qt::Key_CapsLock) {
            capsLock_ = !capsLock_;
            showLockKeys();
        } else if (!k->isAutoRepeat() && k->key() == Qt::Key_Insert) {
            insertMode_ = !insertMode_;
            showLockKeys();
        }
    }
    return QMainWindow::eventFilter(watched, e);
}

void frmMain::readSettings() {
    const FormGeometry g = FormGeometry::read(QString::fromLatin1(kSection),
                                              FormGeometry{1000, 1000, 6500, 6500});
    move(g.pixelPos());
    resize(g.pixelSize());
}

void frmMain::showEvent(QShowEvent* e) {
    QMainWindow::showEvent(e);
    // The stored size is kept unless it cannot show the status bar whole (the first
    // start's 6500 twips are narrower than its seven panels at today's fonts). The bar
    // counts its panels only once they are shown, which they are by now.
    const int statusWidth = statusBar()->sizeHint().width();
    if (!isMaximized() && !isFullScreen() && width() < statusWidth)
        resize(statusWidth, height());
}

void frmMain::makeRoomFor(QMdiSubWindow* sub) {
    // Children open filling the inner area; it grows first, as far as the screen
    // allows, until it holds the child's form whole.
    const QSize missing = (sub->sizeHint() - mdiArea_->viewport()->size()).expandedTo(QSize(0, 0));
    if ((missing.width() == 0 && missing.height() == 0) || isMaximized() || isFullScreen())
        return;
    QSize grown = size() + missing;
    if (screen()) {
        const QSize frame = frameGeometry().size() - size();
        grown = grown.boundedTo(screen()->availableGeometry().size() - frame).expandedTo(size());
    }
    resize(grown);
    if (layout())
        layout()->activate();
}

void frmMain::writeSettings() {
    FormGeometry::fromPixels(pos(), size()).write(QString::fromLatin1(kSection));
}

void frmMain::closeEvent(QCloseEvent* e) {
    // The close box works while children are open: they close first, and any that
    // refuses keeps the program running.
    mdiArea_->closeAllSubWindows();
    if (!mdiArea_->subWindowList().isEmpty()) {
        e->ignore();
        return;
    }
    if (!isMinimized())
        writeSettings();
    login_.CloseConn();
    e->accept();
}

frmMain::Entry& frmMain::formEntry(const QString& name) {
    auto it = entries_.find(name);
    if (it == entries_.end() || !it->isForm)
        throw std::invalid_argument("no form entry named " + name.toStdString());
    return *it;
}

void frmMain::registerChildForm(const QString& entry, ChildFactory factory) {
    formEntry(entry).child = std::move(factory);
    updateMenus();
}

void frmMain::registerChildForm(const QString& entry, ChildFactory factory,
                                const QString& registerWith) {
    Q_ASSERT(entries_.contains(registerWith));
    registerChildForm(entry, std::move(factory));
    entries_[entry].registerWith = registerWith;
}

void frmMain::registerSessionEntry(const QString& entry, std::function<void()> run) {
    entries_[entry].action->setEnabled(static_cast<bool>(run));
    sessionEntries_[entry] = std::move(run);
}

void frmMain::registerChangeGuard(ChangeGuard guard) {
    changeGuard_ = std::move(guard);
    updateMenus();
}

void frmMain::registerModalForm(const QString& entry, ModalFactory factory,
                                std::function<void()> afterAccept) {
    Entry& e = formEntry(entry);
    e.modal = std::move(factory);
    if (afterAccept)
        e.afterAccept = std::move(afterAccept);
    updateMenus();
}

QWidget* frmMain::openChild(const QString& name) {
    auto it = entries_.find(name);
    if (it == entries_.end() || !it->child || busy_.value(it->action) > 0)
        return nullptr;
    QAction* entry = it->registerWith.isEmpty() ? it->action : menuEntry(it->registerWith);
    QWidget* form = it->child();
    auto* sub = new ChildWindow(entry);
    sub->setWidget(form);
    mdiArea_->addSubWindow(sub);
    makeRoomFor(sub);
    OpenForm(form, entry);
    sub->show();
    return form;
}

bool frmMain::openModal(const QString& name, bool runAfterAccept) {
    auto it = entries_.find(name);
    if (it == entries_.end() || !it->modal || busy_.value(it->action) > 0)
        return false;
    QAction* entry = it->action;
    if (isChangingModal(name) && changeGuard_ && !changeGuard_(plainCaption(entry), /*tell=*/true))
        return false;
    const std::function<void()> afterAccept = it->afterAccept;
    std::unique_ptr<QDialog> form(it->modal());
    // Owned by the main window, the form stays above it whatever it opens (pickers,
    // message boxes) instead of going behind it.
    if (!form->parentWidget())
        form->setParent(this, form->windowFlags() | Qt::Dialog);
    OpenForm(form.get(), entry);
    const bool confirmed = form->exec() == QDialog::Accepted;
    if (confirmed && runAfterAccept && afterAccept)
        afterAccept();
    ClosForm(form.get(), entry);
    return confirmed;
}

void frmMain::reconnect() {
    login_.CloseConn();
    login_.OpenConn();
}

QAction* frmMain::menuEntry(const QString& name) const {
    if (auto it = entries_.find(name); it != entries_.end())
        return it->action;
    return separators_.value(name);
}

void frmMain::formOpened(QAction* entry) {
    ++nForms_;
    if (entry)
        ++busy_[entry];
    updateMenus();
}

void frmMain::formClosed(QAction* entry) {
    if (nForms_ > 0)
        --nForms_;
    if (entry && busy_.contains(entry) && --busy_[entry] <= 0)
        busy_.remove(entry);
    updateMenus();
}

void frmMain::updateMenus() {
    entries_["mnuFileExit"].action->setEnabled(nForms_ == 0);
    for (auto it = entries_.cbegin(); it != entries_.cend(); ++it) {
        const Entry& e = *it;
        if (!e.isForm)
            continue;
        const bool built = e.child || e.modal;
        const bool changing = built && isChangingModal(it.key()) && changeGuard_ &&
                              !changeGuard_(plainCaption(e.action), /*tell=*/false);
        e.action->setEnabled(built && busy_.value(e.action) == 0 && !changing);
        e.action->setToolTip(!built ? notAvailableText() : changing ? busyText() : QString());
    }
}

void frmMain::updateWindowMenu() {
    windowMenu_->clear();
    windowMenu_->addAction(entries_["mnuWindowCascade"].action);
    windowMenu_->addAction(entries_["mnuWindowTileHorizontal"].action);
    windowMenu_->addAction(entries_["mnuWindowTileVertical"].action);
    windowMenu_->addAction(entries_["mnuWindowArrangeIcons"].action);
    const QList<QMdiSubWindow*> windows = mdiArea_->subWindowList();
    if (windows.isEmpty())
        return;
    windowMenu_->addSeparator();
    int n = 0;
    for (QMdiSubWindow* w : windows) {
        const QString title = w->windowTitle();
        const QString text = ++n < 10 ? QStringLiteral("&%1 %2").arg(n).arg(title)
                                      : QStringLiteral("%1 %2").arg(n).arg(title);
        QAction* a = windowMenu_->addAction(text);
        a->setCheckable(true);
        a->setChecked(w == mdiArea_->activeSubWindow());
        connect(a, &QAction::triggered, w, [this, w] { mdiArea_->setActiveSubWindow(w); });
    }
}

void frmMain::tileHorizontally() {
    // One below the other, each as wide as the area.
    const auto windows = mdiArea_->subWindowList();
    const QSize area = mdiArea_->viewport()->size();
    const int n = int(windows.size());
    for (int i = 0; i < n; ++i) {
        windows[i]->showNormal();
        windows[i]->setGeometry(0, area.height() * i / n, area.width(), area.height() / n);
    }
}

void frmMain::tileVertically() {
    const auto windows = mdiArea_->subWindowList();
    const QSize area = mdiArea_->viewport()->size();
    const int n = int(windows.size());
    for (int i = 0; i < n; ++i) {
        windows[i]->showNormal();
        windows[i]->setGeometry(area.width() * i / n, 0, area.width() / n, area.height());
    }
}

void frmMain::arrangeIcons() {
    // Minimised children line up along the bottom edge, left to right, wrapping upwards.
    const QSize area = mdiArea_->viewport()->size();
    int x = 0;
    int y = area.height();
    int rowHeight = 0;
    for (QMdiSubWindow* w : mdiArea_->subWindowList()) {
        if (!w->isMinimized())
            continue;
        const QSize s = w->size();
        if (x > 0 && x + s.width() > area.width()) {
            x = 0;
            y -= rowHeight;
            rowHeight = 0;
        }
        if (rowHeight == 0)
            rowHeight = s.height();
        w->move(x, y - rowHeight);
        x += s.width();
    }
}

void frmMain::about() {
    auto* wait = new frmWait(programFolder_, this);
    wait->setAttribute(Qt::WA_DeleteOnClose);
    wait->show();
    wait->raise();
    wait->activateWindow();
}

}  // namespace zq
