#include "shell/main_form.h"

#include "shell/autosave.h"
#include "shell/case_form.h"
#include "shell/child_form.h"
#include "shell/help_window.h"
#include "shell/prompts.h"
#include "shell/shell_resources.h"
#include "shell/start_panel.h"
#include "shell/workshop_catalog.h"
#include "shell/workshop_form.h"
#include "widgets/feedback.h"

#include <QAction>
#include <QApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>

namespace {

const char* const kHelpContext = "helpContext";
constexpr int kHintMilliseconds = 20000;
constexpr int kHintWidth = 300;
constexpr int kRefusedMessageMilliseconds = 4000;

QAction* makeAction(QObject* parent, const QString& text, const QString& hint, int helpContext,
                    const QKeySequence& shortcut = {})
{
    auto* action = new QAction(text, parent);
    action->setStatusTip(hint);
    action->setProperty(kHelpContext, helpContext);
    if (!shortcut.isEmpty())
        action->setShortcut(shortcut);
    return action;
}

// A tool button's hint is "short|long": the short part pops up, the long part goes to the status bar.
QAction* makeButton(QObject* parent, const QString& name, const QString& hint, const QString& icon)
{
    auto* action = new QAction(parent);
    action->setObjectName(name);
    action->setText(hint.section(QLatin1Char('|'), 0, 0));
    action->setToolTip(hint.section(QLatin1Char('|'), 0, 0));
    action->setStatusTip(hint.section(QLatin1Char('|'), 1));
    action->setIcon(QIcon(QStringLiteral(":/icons/") + icon));
    return action;
}

bool isClipboardShortcut(const QKeyEvent* key)
{
    const QKeySequence pressed(key->keyCombination());
    return pressed == QKeySequence(Qt::CTRL | Qt::Key_Z) || pressed == QKeySequence(Qt::CTRL | Qt::Key_X)
        || pressed == QKeySequence(Qt::CTRL | Qt::Key_C) || pressed == QKeySequence(Qt::CTRL | Qt::Key_V)
        || pressed == QKeySequence(Qt::CTRL | Qt::Key_Y) || pressed == QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z);
}

} // namespace

TMainForm::TMainForm(const QString& settingsPath, QWidget* parent)
    : QMainWindow(parent), recent_(settingsPath)
{
    initShellResources();
    setWindowTitle(QStringLiteral("Corvantix"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/corvantix.svg")));
    setContextMenuPolicy(Qt::NoContextMenu);
    setPromptParent(this);

    mdiArea_ = new QMdiArea(this);
    mdiArea_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdiArea_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdiArea_->setBackground(QColor(0x8a, 0x93, 0x9e));
    setCentralWidget(mdiArea_);
    startPanel_ = new TStartPanel(mdiArea_);
    startPanel_->setExampleCase(findExampleCase());
    connect(startPanel_, &TStartPanel::newRequested, this, &TMainForm::New);
    connect(startPanel_, &TStartPanel::openRequested, this, &TMainForm::Open);
    connect(startPanel_, &TStartPanel::exampleRequested, this, &TMainForm::openCaseFile);

    createActions();
    createMenus();
    createToolBar();
    auto* status = statusBar();
    status->setObjectName(QStringLiteral("StatusLine"));
    status->setSizeGripEnabled(true);

    connect(mdiArea_, &QMdiArea::subWindowActivated, this, &TMainForm::childActivated);
    autosave_ = new TAutosave(*this);
    rebuildRecentFileMenu();
    // The edit commands must reach Undo and the clipboard commands even when a text field would
    // rather handle the keys itself.
    qApp->installEventFilter(this);
    updateAvailability();

    feedback::setErrorHandler([](const QString& message) { prompts().error(message); });
    feedback::setTextRefusedHandler([this] {
        prompts().beep();
        statusBar()->showMessage(tr("This character cannot be stored in a case file."), kRefusedMessageMilliseconds);
    });
}

TMainForm::~TMainForm()
{
    qApp->removeEventFilter(this);
    feedback::setErrorHandler({});
    feedback::setTextRefusedHandler({});
    if (promptParent() == this)
        setPromptParent(nullptr);
    // The child windows go now, while this window is still whole, and without telling it: their
    // signals would otherwise reach a main window whose destructor has already run.
    disconnect(mdiArea_, nullptr, this, nullptr);
    for (QMdiSubWindow* frame : mdiArea_->subWindowList()) {
        disconnect(frame, nullptr, this, nullptr);
        if (QWidget* form = frame->widget())
            disconnect(form, nullptr, this, nullptr);
    }
    delete mdiArea_;
    mdiArea_ = nullptr;
}

void TMainForm::createActions()
{
    auto& a = actions_;
    a.fileNew = makeAction(this, tr("&New"), tr("Create a new file"), 10000, QKeySequence(Qt::CTRL | Qt::Key_N));
    a.fileOpen = makeAction(this, tr("&Open..."), tr("Open an existing file"), 10005,
                            QKeySequence(Qt::CTRL | Qt::Key_O));
    a.fileClose = makeAction(this, tr("&Close"), tr("Close the current case"), 10025);
    a.fileSave = makeAction(this, tr("&Save"), tr("Save the current case"), 10015, QKeySequence(Qt::CTRL | Qt::Key_S));
    a.fileSaveAs = makeAction(this, tr("Save &As..."), tr("Save current case under a new name"), 10020);
    a.fileExport = makeAction(this, tr("E&xport to RTF..."), tr("Exports the case data as an RTF report"), 10023);
    a.fileExportPdf = makeAction(this, tr("Export to P&DF..."), tr("Exports the case data as a PDF report"), 10024);
    a.filePrintPreview = makeAction(this, tr("Print Pre&view..."), tr("Shows the printed report"), 10030);
    a.filePrint = makeAction(this, tr("&Print..."), tr("Prints the case data as a report"), 10035,
                             QKeySequence(Qt::CTRL | Qt::Key_P));
    a.fileExit = makeAction(this, tr("&Exit"), tr("Exit this application"), 10040);
    a.editUndo = makeAction(this, tr("&Undo"), tr("Undo the last action"), 11000, QKeySequence(Qt::CTRL | Qt::Key_Z));
    a.editRedo = makeAction(this, tr("&Redo"), tr("Redo the last undone action"), 11001);
    a.editRedo->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    a.editCut = makeAction(this, tr("Cu&t"), tr("Copy selection to Clipboard and delete it"), 11005,
                           QKeySequence(Qt::CTRL | Qt::Key_X));
    a.editCopy = makeAction(this, tr("&Copy"), tr("Copy selection to clipboard"), 11010,
                            QKeySequence(Qt::CTRL | Qt::Key_C));
    a.editPaste = makeAction(this, tr("&Paste"), tr("Paste contents of clipboard"), 11015,
                             QKeySequence(Qt::CTRL | Qt::Key_V));
    a.viewToolbar = makeAction(this, tr("&Toolbar"), tr("Shows or hides the toolbar"), 11500);
    a.viewStatusBar = makeAction(this, tr("&Status Bar"), tr("Shows or hides the status bar"), 11501);
    a.viewToolbar->setCheckable(true);
    a.viewToolbar->setChecked(true);
    a.viewStatusBar->setCheckable(true);
    a.viewStatusBar->setChecked(true);
    a.windowCascade = makeAction(this, tr("&Cascade"), tr("Arrange all windows in an overlapped fashion"), 13000);
    a.windowTile = makeAction(this, tr("&Tile"), tr("Arrange all windows side by side"), 13001);
    // Ctrl+F4 everywhere, and the desktop's own Close keys where it has others (Ctrl+W).
    QList<QKeySequence> closeKeys{QKeySequence(Qt::CTRL | Qt::Key_F4)};
    for (const QKeySequence& key : QKeySequence::keyBindings(QKeySequence::Close))
        if (!closeKeys.contains(key))
            closeKeys.append(key);
    a.windowCloseActive = makeAction(this, tr("C&lose Window"), tr("Close the active window"), 13002);
    a.windowCloseActive->setShortcuts(closeKeys);
    a.helpTopics = makeAction(this, tr("&Help Topics"), tr("Display the help contents screen"), 13010);
    a.helpAbout = makeAction(this, tr("&About..."), tr("Show program information"), 13015);

    a.NewBtn = makeButton(this, QStringLiteral("NewBtn"), tr("New|Create a new case"), QStringLiteral("new.svg"));
    a.OpenBtn = makeButton(this, QStringLiteral("OpenBtn"), tr("Open|Open an existing case file"),
                           QStringLiteral("open.svg"));
    a.SaveBtn = makeButton(this, QStringLiteral("SaveBtn"), tr("Save|Save the current case"), QStringLiteral("save.svg"));
    a.UndoBtn = makeButton(this, QStringLiteral("UndoBtn"), tr("Undo|Reverse the last action"),
                           QStringLiteral("undo.svg"));
    a.RedoBtn = makeButton(this, QStringLiteral("RedoBtn"), tr("Redo|Bring back the last undone action"),
                           QStringLiteral("redo.svg"));
    a.CopyBtn = makeButton(this, QStringLiteral("CopyBtn"),
                           tr("Copy|Copy the text of the current control to the Clipboard"), QStringLiteral("copy.svg"));

    for (const auto& entry : workshopCatalog()) {
        auto* item = makeAction(this, QString::fromLatin1(entry.menuText), QString::fromLatin1(entry.menuHint),
                                entry.helpContext, QKeySequence(QString::fromLatin1(entry.shortcut)));
        auto* button = makeButton(this, QString::fromLatin1(entry.buttonName), QString::fromLatin1(entry.buttonHint),
                                  QStringLiteral("workshop%1.svg").arg(entry.number));
        const int identifier = entry.identifier;
        connect(item, &QAction::triggered, this, [this, identifier] { OpenWorkshop(identifier); });
        connect(button, &QAction::triggered, this, [this, identifier] { OpenWorkshop(identifier); });
        a.workshopItems.append(item);
        a.workshopButtons.append(button);
    }

    connect(a.fileNew, &QAction::triggered, this, &TMainForm::New);
    connect(a.NewBtn, &QAction::triggered, this, &TMainForm::New);
    connect(a.fileOpen, &QAction::triggered, this, &TMainForm::Open);
    connect(a.OpenBtn, &QAction::triggered, this, &TMainForm::Open);
    connect(a.fileClose, &QAction::triggered, this, &TMainForm::Close);
    connect(a.fileSave, &QAction::triggered, this, &TMainForm::Save);
    connect(a.SaveBtn, &QAction::triggered, this, &TMainForm::Save);
    connect(a.fileSaveAs, &QAction::triggered, this, &TMainForm::SaveAs);
    connect(a.fileExport, &QAction::triggered, this, &TMainForm::ExportCase);
    connect(a.fileExportPdf, &QAction::triggered, this, &TMainForm::ExportPdf);
    connect(a.filePrintPreview, &QAction::triggered, this, &TMainForm::PrintPreview);
    connect(a.filePrint, &QAction::triggered, this, &TMainForm::Print);
    connect(a.fileExit, &QAction::triggered, this, &TMainForm::Exit);
    connect(a.editUndo, &QAction::triggered, this, &TMainForm::Undo);
    connect(a.UndoBtn, &QAction::triggered, this, &TMainForm::Undo);
    connect(a.editRedo, &QAction::triggered, this, &TMainForm::Redo);
    connect(a.RedoBtn, &QAction::triggered, this, &TMainForm::Redo);
    connect(a.editCut, &QAction::triggered, this, &TMainForm::Cut);
    connect(a.editCopy, &QAction::triggered, this, &TMainForm::Copy);
    connect(a.CopyBtn, &QAction::triggered, this, &TMainForm::Copy);
    connect(a.editPaste, &QAction::triggered, this, &TMainForm::Paste);
    connect(a.windowCascade, &QAction::triggered, mdiArea_, &QMdiArea::cascadeSubWindows);
    connect(a.windowTile, &QAction::triggered, mdiArea_, &QMdiArea::tileSubWindows);
    // As the window's own close box: a case window asks its close question first.
    connect(a.windowCloseActive, &QAction::triggered, this, [this] {
        if (QMdiSubWindow* window = mdiArea_->currentSubWindow())
            window->close();
    });
    addAction(a.windowCloseActive);
    connect(a.helpTopics, &QAction::triggered, this, [] { help::showContents(); });
    connect(a.helpAbout, &QAction::triggered, this, &TMainForm::aboutRequested);
    connect(a.viewStatusBar, &QAction::toggled, this, [this](bool on) { statusBar()->setVisible(on); });

    // F1 opens the help of whatever has the focus.
    auto* contextHelp = new QAction(this);
    contextHelp->setShortcut(QKeySequence(Qt::Key_F1));
    contextHelp->setShortcutContext(Qt::ApplicationShortcut);
    connect(contextHelp, &QAction::triggered, this, &TMainForm::showContextHelp);
    addAction(contextHelp);
}

void TMainForm::createMenus()
{
    auto& a = actions_;
    fileMenu_ = menuBar()->addMenu(tr("&File"));
    fileMenu_->addAction(a.fileNew);
    fileMenu_->addAction(a.fileOpen);
    fileMenu_->addAction(a.fileClose);
    fileMenu_->addAction(a.fileSave);
    fileMenu_->addAction(a.fileSaveAs);
    a.exportSeparator = fileMenu_->addSeparator();
    fileMenu_->addAction(a.fileExport);
    fileMenu_->addAction(a.fileExportPdf);
    fileMenu_->addAction(a.filePrintPreview);
    fileMenu_->addAction(a.filePrint);
    fileMenu_->addSeparator();
    fileMenu_->addAction(a.fileExit);

    editMenu_ = menuBar()->addMenu(tr("&Edit"));
    editMenu_->addAction(a.editUndo);
    editMenu_->addAction(a.editRedo);
    editMenu_->addSeparator();
    editMenu_->addAction(a.editCut);
    editMenu_->addAction(a.editCopy);
    editMenu_->addAction(a.editPaste);

    viewMenu_ = menuBar()->addMenu(tr("&View"));
    viewMenu_->addAction(a.viewToolbar);
    viewMenu_->addAction(a.viewStatusBar);

    workshopMenu_ = menuBar()->addMenu(tr("W&orkshop"));
    for (int i = 0; i < a.workshopItems.size(); ++i) {
        if (i == a.workshopItems.size() - 1)
            workshopMenu_->addSeparator();
        workshopMenu_->addAction(a.workshopItems[i]);
    }

    windowMenu_ = menuBar()->addMenu(tr("&Window"));
    connect(windowMenu_, &QMenu::aboutToShow, this, &TMainForm::rebuildWindowMenu);
    rebuildWindowMenu();

    helpMenu_ = menuBar()->addMenu(tr("&Help"));
    helpMenu_->addAction(a.helpTopics);
    helpMenu_->addSeparator();
    helpMenu_->addAction(a.helpAbout);

}

void TMainForm::createToolBar()
{
    auto& a = actions_;
    toolBar_ = addToolBar(tr("Toolbar"));
    toolBar_->setObjectName(QStringLiteral("ToolBar"));
    toolBar_->setMovable(false);
    toolBar_->setFloatable(false);
    toolBar_->setIconSize(QSize(20, 20));
    toolBar_->addAction(a.NewBtn);
    toolBar_->addAction(a.OpenBtn);
    toolBar_->addAction(a.SaveBtn);
    toolBar_->addSeparator();
    toolBar_->addAction(a.UndoBtn);
    toolBar_->addAction(a.RedoBtn);
    toolBar_->addAction(a.CopyBtn);
    toolBar_->addSeparator();
    for (int i = 0; i < a.workshopButtons.size(); ++i) {
        if (i == a.workshopButtons.size() - 1)
            toolBar_->addSeparator();
        toolBar_->addAction(a.workshopButtons[i]);
    }
    for (QAction* action : toolBar_->actions())
        if (QWidget* button = toolBar_->widgetForAction(action)) {
            button->setObjectName(action->objectName());
            button->installEventFilter(this);
        }
    connect(a.viewToolbar, &QAction::toggled, toolBar_, &QToolBar::setVisible);
}

QMdiSubWindow* TMainForm::addChild(TChildForm* form)
{
    auto* frame = new QMdiSubWindow;
    frame->setWidget(form);
    frame->setAttribute(Qt::WA_DeleteOnClose);
    // Fixed frames with a system menu and a close box; only workshop windows can be minimised.
    Qt::WindowFlags flags = Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint
        | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (!qobject_cast<TCaseForm*>(form))
        flags |= Qt::WindowMinimizeButtonHint;
    frame->setWindowFlags(flags);
    frame->setWindowTitle(form->windowTitle());
    frame->setWindowIcon(QIcon(QStringLiteral(":/icons/corvantix.svg")));
    // The close item of the frame's own menu would claim Ctrl+F4 too, and a key claimed twice does
    // nothing; Window > Close Window answers it for whichever window is active.
    if (QMenu* system = frame->systemMenu())
        for (QAction* item : system->actions())
            for (const QKeySequence& key : actions_.windowCloseActive->shortcuts())
                if (item->shortcuts().contains(key))
                    item->setShortcuts({});
    mdiArea_->addSubWindow(frame);
    // The frame fits its window; a window of fixed size gets a frame that cannot be resized.
    frame->resize(frame->sizeHint());
    if (form->minimumSize() == form->maximumSize())
        frame->setFixedSize(frame->sizeHint());
    if (auto* caseForm = qobject_cast<TCaseForm*>(form)) {
        connect(caseForm, &TCaseForm::undoAvailabilityChanged, this, &TMainForm::setUndoEnabled);
        connect(caseForm, &TCaseForm::redoAvailabilityChanged, this, &TMainForm::updateRedoAvailability);
        connect(caseForm, &TCaseForm::closeRequested, this,
                [this](TCaseForm* closing, bool* allow) { *allow = queryCloseCase(*closing); });
        connect(caseForm, &TCaseForm::closing, this, &TMainForm::broadcastCaseClosed);
        connect(caseForm, &TCaseForm::closing, autosave_, [this](TCaseForm* closing) { autosave_->caseClosed(*closing); });
        connect(&caseForm->document(), &CaseDocument::changed, this, [this, caseForm] { showCaseChanges(*caseForm); });
    }
    connect(frame, &QObject::destroyed, this, [this] { updateAvailability(); });
    return frame;
}

void TMainForm::childActivated(QMdiSubWindow* window)
{
    updateAvailability();
    updateRedoAvailability();
    if (!window || window == lastActivated_)
        return;
    lastActivated_ = window;
    if (auto* workshop = qobject_cast<TWorkshopForm*>(window->widget()))
        workshop->activated();
}

void TMainForm::updateAvailability()
{
    const bool anyChild = !mdiArea_->subWindowList().isEmpty();
    startPanel_->setVisible(!anyChild);
    auto& a = actions_;
    editMenu_->menuAction()->setVisible(anyChild);
    workshopMenu_->menuAction()->setVisible(anyChild);
    windowMenu_->menuAction()->setVisible(anyChild);
    for (QAction* item : {a.fileClose, a.fileSave, a.fileSaveAs, a.exportSeparator, a.fileExport, a.fileExportPdf,
                          a.filePrintPreview, a.filePrint})
        item->setVisible(anyChild);
    a.SaveBtn->setEnabled(anyChild);
    a.CopyBtn->setEnabled(anyChild);
    for (QAction* button : a.workshopButtons)
        button->setEnabled(anyChild);
    // Menu items of a hidden menu still answer their shortcuts, so they follow too.
    for (QAction* item : a.workshopItems)
        item->setEnabled(anyChild);
    for (QAction* item : {a.editCut, a.editCopy, a.editPaste})
        item->setEnabled(anyChild);
    a.windowCloseActive->setEnabled(anyChild);
    if (!anyChild) {
        setUndoEnabled(false);
        a.editRedo->setEnabled(false);
        a.RedoBtn->setEnabled(false);
        lastActivated_ = nullptr;
    }
}

void TMainForm::setUndoEnabled(bool enabled)
{
    actions_.editUndo->setEnabled(enabled);
    actions_.UndoBtn->setEnabled(enabled);
}

// Unlike Undo, which follows the case that last changed, Redo is offered exactly when the current
// case has a step to bring back.
void TMainForm::updateRedoAvailability()
{
    const TCaseForm* form = currentCase();
    const bool available = form && form->redoCount() > 0;
    actions_.editRedo->setEnabled(available);
    actions_.RedoBtn->setEnabled(available);
}

void TMainForm::rebuildRecentFileMenu()
{
    recent_.reload();
    for (QAction* item : std::as_const(recentItems_)) {
        fileMenu_->removeAction(item);
        item->deleteLater();
    }
    recentItems_.clear();
    if (recentSeparator_) {
        fileMenu_->removeAction(recentSeparator_);
        recentSeparator_->deleteLater();
        recentSeparator_ = nullptr;
    }
    const QStringList& entries = recent_.entries();
    if (entries.isEmpty())
        return;
    recentSeparator_ = fileMenu_->addSeparator();
    for (int i = 0; i < entries.size(); ++i) {
        // The path is kept beside the caption, so an "&" in it is shown rather than taken for an
        // accelerator.
        QString shown = entries[i];
        shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
        auto* item = fileMenu_->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(shown));
        item->setData(entries[i]);
        const QString path = entries[i];
        connect(item, &QAction::triggered, this, [this, path] { openRecentFile(path); });
        recentItems_.append(item);
    }
}

void TMainForm::rebuildWindowMenu()
{
    windowMenu_->clear();
    windowMenu_->addAction(actions_.windowCascade);
    windowMenu_->addAction(actions_.windowTile);
    windowMenu_->addAction(actions_.windowCloseActive);
    const QList<QMdiSubWindow*> windows = mdiArea_->subWindowList(QMdiArea::CreationOrder);
    if (windows.isEmpty())
        return;
    windowMenu_->addSeparator();
    int number = 1;
    for (QMdiSubWindow* window : windows) {
        QString title = window->windowTitle();
        title.replace(QLatin1Char('&'), QStringLiteral("&&"));
        auto* item = windowMenu_->addAction(number < 10 ? QStringLiteral("&%1 %2").arg(number).arg(title) : title);
        // Only the active window carries a check mark.
        if (window == mdiArea_->currentSubWindow()) {
            item->setCheckable(true);
            item->setChecked(true);
        }
        QPointer<QMdiSubWindow> target = window;
        connect(item, &QAction::triggered, this, [this, target] {
            if (target) {
                target->showNormal();
                mdiArea_->setActiveSubWindow(target);
            }
        });
        ++number;
    }
}

bool TMainForm::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate && firstActivation_) {
        firstActivation_ = false;
        // Queued, so a failure message is not shown from inside the activation itself.
        QTimer::singleShot(0, this, &TMainForm::startUp);
    } else if (event->type() == QEvent::Show && firstActivation_) {
        // A desktop without a window manager never activates the window; the file named on the
        // command line still opens once the window is up. Whichever comes first opens it, once.
        QTimer::singleShot(500, this, &TMainForm::startUp);
    }
    return QMainWindow::event(event);
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::ShortcutOverride: {
        // Line and text edits claim Ctrl+Z/X/C/V for themselves; in this program they are the Edit
        // menu's, which acts on the focused control (and undoes whole-case changes).
        auto* key = static_cast<QKeyEvent*>(event);
        // F1 in an open menu is the highlighted item's help, not the focused control's.
        if (key->key() == Qt::Key_F1 && isOwnMenu(watched)) {
            event->accept();
            return true;
        }
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && widget->window() == this && isClipboardShortcut(key)) {
            event->ignore();
            return true;
        }
        break;
    }
    case QEvent::KeyPress: {
        auto* menu = qobject_cast<QMenu*>(watched);
        if (menu && isOwnMenu(menu) && static_cast<QKeyEvent*>(event)->key() == Qt::Key_F1) {
            const QAction* item = menu->activeAction();
            const QVariant context = item ? item->property(kHelpContext) : QVariant();
            menu->close();
            if (context.isValid())
                help::showTopic(context.toInt());
            else
                help::showContents();
            return true;
        }
        break;
    }
    case QEvent::ToolTip: {
        auto* button = qobject_cast<QToolButton*>(watched);
        if (button && button->parentWidget() == toolBar_) {
            const auto* help = static_cast<QHelpEvent*>(event);
            const QString text = button->defaultAction() ? button->defaultAction()->toolTip() : button->toolTip();
            const QString wrapped = QStringLiteral("<p style='white-space:normal; max-width:%1px'>%2</p>")
                                        .arg(kHintWidth)
                                        .arg(text.toHtmlEscaped());
            QToolTip::showText(help->globalPos(), wrapped, button, {}, kHintMilliseconds);
            return true;
        }
        break;
    }
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}

bool TMainForm::isOwnMenu(const QObject* object) const
{
    for (const QMenu* menu : {fileMenu_, editMenu_, viewMenu_, workshopMenu_, windowMenu_, helpMenu_})
        if (object == menu)
            return true;
    return false;
}

void TMainForm::showContextHelp()
{
    help::showPage(help::pageForWidget(focusedControl() ? focusedControl() : activeChild()));
}
