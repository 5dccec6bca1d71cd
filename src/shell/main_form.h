#pragma once

// The application frame: menus, tool bar, status bar and the child area holding case windows and
// workshop windows. It creates, opens, saves and closes cases, keeps the recent-file list, opens
// workshops for the current case and delivers the window-protocol messages.

#include "shell/recent_files.h"

#include <QList>
#include <QMainWindow>
#include <QPointer>

class QAction;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QToolBar;
class TAutosave;
class TCaseForm;
class TChildForm;
class TStartPanel;
struct RecoveryEntry;
class TWorkshopForm;

class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    explicit TMainForm(const QString& settingsPath = RecentFiles::defaultSettingsPath(),
                       QWidget* parent = nullptr);
    ~TMainForm() override;

    // --- File commands. Each acts on the current case where it needs one.
    TCaseForm* New();
    void Open();
    // Opens `path` into a new case window. On failure shows "Error opening file." and leaves no
    // window behind; returns null. A file that is open already is not opened again: its case
    // window comes to the front and is returned.
    TCaseForm* openCaseFile(const QString& path);
    // The case window that has the file `path` names (links resolved) open, other than `except`.
    TCaseForm* caseWindowOf(const QString& path, const TCaseForm* except = nullptr) const;
    void Close();
    bool Save();
    bool SaveAs();
    bool saveCase(TCaseForm& form);
    bool saveCaseAs(TCaseForm& form);
    void ExportCase();
    void exportCase(TCaseForm& form);
    // The report as PDF, in the print preview and on a printer, with the portfolio diagrams.
    void ExportPdf();
    void PrintPreview();
    void Print();
    void Exit();

    // --- Edit commands.
    void Undo();
    void Redo();
    void Cut();
    void Copy();
    void Paste();

    // Brings the current case's window of the workshop to the front, or creates it.
    TWorkshopForm* OpenWorkshop(int identifier);

    void AddRecentFile(const QString& path);
    const RecentFiles& recentFiles() const { return recent_; }

    // The file named on the command line, opened when the window is first activated.
    void setStartupFile(const QString& path) { startupFile_ = path; }
    void openStartupFile();
    // What the first activation does, once: says when autosave cannot work, offers recovery, then
    // opens the file named on the command line (after recovery, so that a recovered copy of that
    // file is not opened beside it).
    void startUp();

    // --- Recovery. Lists the cases a run that did not end normally left behind and opens or
    // discards each as the user chooses; runs once, after the window first appears.
    void offerRecovery();
    // Opens a recovered case: changed, named after its file, continuing in its recovery copy.
    TCaseForm* openRecoveredCase(const RecoveryEntry& entry);
    TAutosave& autosave() const { return *autosave_; }

    // --- Window protocol. Broadcasts run from the last child to the first and return when every
    // window has handled the message.
    void broadcastCommit();
    void broadcastRefresh();
    void broadcastCaseClosed(TCaseForm* closing);
    void broadcastRetitle();
    // After `form`'s case changed: the case's other windows in sight show it as it is now, as if
    // activated, and keep their place in it. The active window is left as the user has it.
    void showCaseChanges(TCaseForm& form);

    QList<TChildForm*> childForms() const; // in creation order
    QList<TCaseForm*> caseForms() const;
    TChildForm* activeChild() const;
    // The case window of the active child.
    TCaseForm* currentCase() const;
    // The control with the keyboard focus in the active child window.
    QWidget* focusedControl() const;
    QMdiArea* mdiArea() const { return mdiArea_; }
    // Shown in the empty child area while no window is open.
    TStartPanel* startPanel() const { return startPanel_; }

    // Menu items and tool buttons, by the names users and tests know them.
    struct Actions {
        QAction *fileNew, *fileOpen, *fileClose, *fileSave, *fileSaveAs, *exportSeparator, *fileExport,
            *fileExit;
        QAction *fileExportPdf, *filePrintPreview, *filePrint;
        QAction *editUndo, *editCut, *editCopy, *editPaste;
        QAction *viewToolbar, *viewStatusBar;
        QAction* windowCascade;
        QAction *helpTopics, *helpAbout;
        QAction *NewBtn, *OpenBtn, *SaveBtn, *UndoBtn, *CopyBtn;
        QList<QAction*> workshopItems;   // menu items, workshops 1..10
        QList<QAction*> workshopButtons; // tool buttons, workshops 1..10
        QAction *editRedo, *RedoBtn;
        QAction *windowTile, *windowCloseActive;
    };
    const Actions& actions() const { return actions_; }
    QMenu* fileMenu() const { return fileMenu_; }
    QMenu* editMenu() const { return editMenu_; }
    QMenu* workshopMenu() const { return workshopMenu_; }
    QMenu* windowMenu() const { return windowMenu_; }
    QToolBar* toolBar() const { return toolBar_; }
    // The recent-file items at the end of the File menu.
    QList<QAction*> recentFileItems() const { return recentItems_; }

signals:
    void aboutRequested();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createActions();
    void createMenus();
    void createToolBar();
    QMdiSubWindow* addChild(TChildForm* form);
    void childActivated(QMdiSubWindow* window);
    void updateAvailability();
    void setUndoEnabled(bool enabled);
    void updateRedoAvailability();
    void rebuildRecentFileMenu();
    void rebuildWindowMenu();
    void openRecentFile(const QString& path);
    bool queryCloseCase(TCaseForm& form);
    bool writeCase(TCaseForm& form, const QString& path);
    // Asks where to export the case's report (proposing the case's name with `suffix`), then
    // commits what the windows hold. Empty when the user cancels.
    QString askReportPath(TCaseForm& form, const QString& title, const QString& filter, const QString& suffix);
    void showCaseWindow(TCaseForm& form);
    // Takes the lock of `path` for `owner`; when another program holds it, asks whether to go on.
    bool claimCaseFile(QObject* owner, const QString& path);
    void showContextHelp();
    bool isOwnMenu(const QObject* object) const;

    QMdiArea* mdiArea_ = nullptr;
    TStartPanel* startPanel_ = nullptr;
    QMenu* fileMenu_ = nullptr;
    QMenu* editMenu_ = nullptr;
    QMenu* viewMenu_ = nullptr;
    QMenu* workshopMenu_ = nullptr;
    QMenu* windowMenu_ = nullptr;
    QMenu* helpMenu_ = nullptr;
    QToolBar* toolBar_ = nullptr;
    Actions actions_{};
    QList<QAction*> recentItems_;
    QAction* recentSeparator_ = nullptr;

    RecentFiles recent_;
    bool firstActivation_ = true;
    bool startedUp_ = false;
    bool recoveryOffered_ = false;
    TAutosave* autosave_ = nullptr;
    QString startupFile_;
    // Proposed by the open dialog: the last file chosen from the recent-file list.
    QString proposedOpenPath_;
    // The child last refreshed on activation, so that the application merely regaining the focus
    // does not reload a window under the user's hands.
    QPointer<QMdiSubWindow> lastActivated_;
};
