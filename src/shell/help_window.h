#pragma once

// In-program help: HTML pages in the resources under :/help, shown in one help window. Help context
// numbers (of menu items, windows and controls) map to pages.

#include <QString>
#include <QWidget>

class QTextBrowser;

namespace help {

// Maps a help context number to a page of the help resources, e.g. "future.html#objectives".
// Workshops register the numbers of their windows and controls.
void registerTopic(int context, const QString& page);
// The page for a number: registered ones first, then the shell's own, else an empty string.
QString pageForContext(int context);

// Gives a control a help context; F1 on it (or on anything inside it) opens that topic.
void setHelpContext(QWidget* widget, int context);
// For a number several windows share (the "Copy Graph" buttons): the control keeps the number and
// opens the page given here, the one of the window it is in, instead of one page for all windows.
void setHelpContext(QWidget* widget, int context, const QString& page);
// The page F1 opens for the focused widget: the nearest control's own page or help context with a
// page, else the page of the window it is in, else the contents.
QString pageForWidget(const QWidget* focused);

void showContents();
void showPage(const QString& page);
void showTopic(int context);

} // namespace help

class THelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit THelpWindow(QWidget* parent = nullptr);

    void showPage(const QString& page);
    QString currentPage() const;

    static THelpWindow& shared();

private:
    QTextBrowser* browser_;
};
