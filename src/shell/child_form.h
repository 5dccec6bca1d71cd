#pragma once

// A window of the main window's child area: a case window or a workshop window. Windows keep each
// other current through messages delivered as synchronous virtual calls on the GUI thread by the
// main window (broadcasts run from the last child to the first). Each window has its own updating
// switch and pending cell edit.

#include "widgets/edit_state.h"

#include <QDateTime>
#include <QString>
#include <QWidget>

#include <cstdint>

class QMdiSubWindow;
class TCaseForm;

class TChildForm : public QWidget, public EditStateWindow {
    Q_OBJECT
public:
    explicit TChildForm(QWidget* parent = nullptr);

    // wmCommit: write what edit fields still hold into the model. No undo snapshot, no change of
    // Modified, and the pending cell edit is left alone.
    virtual void wmCommit() {}
    // wmRefresh: reload every control from the model. Always delivered with the updating switch on.
    virtual void wmRefresh() {}
    // wmCaseClosed: `closing` is going away. Workshop windows commit, and those of `closing`
    // destroy themselves; the case window ignores it.
    virtual void wmCaseClosed(TCaseForm* closing);
    // wmRetitle: set the caption again from the case's current FileName.
    virtual void wmRetitle();

    // Delivery to this window alone, as every sender does it: refresh runs with the window's
    // updating switch on.
    void sendCommit();
    void sendRefresh();

    // The case this window belongs to (itself for a case window); null before a workshop's Init.
    virtual TCaseForm* caseForm() const = 0;
    // The word after the file name in the caption: "Case" or the workshop's name.
    virtual QString captionWord() const = 0;
    virtual int helpContext() const = 0;
    // Page of the help resources that F1 opens for this window.
    virtual QString helpPage() const = 0;

    // FileName of the case, " - " and the caption word.
    QString caption() const;
    // The size the window asked for: its fixed size, or the size it resized itself to, so that its
    // frame in the child area fits it rather than its layout's preference.
    QSize sizeHint() const override;

    // The frame of this window in the child area, if it has been placed there.
    QMdiSubWindow* subWindow() const;

protected:
    // Notes that the window now shows its case as it is (see showsCurrentCase).
    void noteShown();
    // Whether nothing changed the case since the window last reloaded itself from it.
    bool showsCurrentCase() const;

private:
    std::uint64_t shownChange_ = 0;
    bool shown_ = false;
};

// Shows a model file name (a path in the file system's encoding) to the user.
QString displayFileName(const std::string& fileName);
// Shows when a file was written: the program's short date and the time of day to the second.
QString displayFileTime(const QDateTime& time);
