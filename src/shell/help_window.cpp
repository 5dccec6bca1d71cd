#include "shell/help_window.h"

#include "shell/child_form.h"
#include "shell/prompts.h"
#include "shell/workshop_catalog.h"

#include <QAction>
#include <QFile>
#include <QHBoxLayout>
#include <QHash>
#include <QPointer>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace {

const char* const kContextProperty = "helpContext";
const char* const kPageProperty = "helpPage";

QHash<int, QString>& registeredTopics()
{
    static QHash<int, QString> topics;
    return topics;
}

QString shellPageFor(int context)
{
    if ((context >= 10000 && context <= 10040) || context == 30000 || context == 30010)
        return QStringLiteral("shell.html#files");
    if (context >= 11000 && context <= 11015)
        return QStringLiteral("shell.html#edit");
    if (context == 11500 || context == 11501)
        return QStringLiteral("shell.html#view");
    if (context >= 13000 && context <= 13002)
        return QStringLiteral("shell.html#window");
    if (context == 13010 || context == 13015)
        return QStringLiteral("contents.html");
    if (context == 20005)
        return QStringLiteral("shell.html#case");
    for (const auto& entry : workshopCatalog())
        if (entry.helpContext == context)
            return QString::fromLatin1(entry.helpPage);
    return {};
}

bool pageExists(const QString& page)
{
    const QString file = page.section(QLatin1Char('#'), 0, 0);
    return !file.isEmpty() && QFile::exists(QStringLiteral(":/help/") + file);
}

} // namespace

namespace help {

void registerTopic(int context, const QString& page)
{
    registeredTopics().insert(context, page);
}

QString pageForContext(int context)
{
    if (auto it = registeredTopics().constFind(context); it != registeredTopics().constEnd())
        return *it;
    return shellPageFor(context);
}

void setHelpContext(QWidget* widget, int context)
{
    widget->setProperty(kContextProperty, context);
}

void setHelpContext(QWidget* widget, int context, const QString& page)
{
    widget->setProperty(kContextProperty, context);
    widget->setProperty(kPageProperty, page);
}

QString pageForWidget(const QWidget* focused)
{
    for (const QWidget* w = focused; w; w = w->parentWidget()) {
        if (const QString page = w->property(kPageProperty).toString(); !page.isEmpty())
            return page;
        const QVariant context = w->property(kContextProperty);
        if (context.isValid()) {
            const QString page = pageForContext(context.toInt());
            if (!page.isEmpty())
                return page;
        }
        if (auto* form = qobject_cast<const TChildForm*>(w))
            return form->helpPage();
    }
    return QStringLiteral("contents.html");
}

void showContents()
{
    showPage(QStringLiteral("contents.html"));
}

void showPage(const QString& page)
{
    THelpWindow::shared().showPage(page);
}

void showTopic(int context)
{
    const QString page = pageForContext(context);
    showPage(page.isEmpty() ? QStringLiteral("contents.html") : page);
}

} // namespace help

THelpWindow::THelpWindow(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setWindowTitle(tr("Corvantix Help"));
    browser_ = new QTextBrowser(this);
    browser_->setOpenExternalLinks(false);
    // Links go through showPage, so a page not written yet gets its note instead of a blank view.
    browser_->setOpenLinks(false);
    connect(browser_, &QTextBrowser::anchorClicked, this, [this](const QUrl& link) {
        const QUrl target = browser_->source().resolved(link);
        QString page = target.path().section(QLatin1Char('/'), -1);
        if (page.isEmpty())
            page = QStringLiteral("contents.html");
        if (target.hasFragment())
            page += QLatin1Char('#') + target.fragment();
        showPage(page);
    });
    browser_->setSearchPaths({QStringLiteral(":/help")});

    auto* contents = new QPushButton(tr("&Contents"), this);
    auto* back = new QPushButton(tr("&Back"), this);
    auto* forward = new QPushButton(tr("&Forward"), this);
    connect(contents, &QPushButton::clicked, this, [this] { showPage(QStringLiteral("contents.html")); });
    connect(back, &QPushButton::clicked, browser_, &QTextBrowser::backward);
    connect(forward, &QPushButton::clicked, browser_, &QTextBrowser::forward);
    connect(browser_, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward, &QPushButton::setEnabled);
    back->setEnabled(false);
    forward->setEnabled(false);

    auto* closeButton = new QPushButton(tr("Close"), this);
    closeButton->setObjectName(QStringLiteral("btnClose"));
    connect(closeButton, &QPushButton::clicked, this, &QWidget::close);
    auto* escape = new QAction(this);
    escape->setShortcut(QKeySequence(Qt::Key_Escape));
    connect(escape, &QAction::triggered, this, &QWidget::close);
    addAction(escape);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(contents);
    buttons->addWidget(back);
    buttons->addWidget(forward);
    buttons->addStretch();
    buttons->addWidget(closeButton);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(browser_);
    resize(640, 560);
}

void THelpWindow::showPage(const QString& page)
{
    if (pageExists(page)) {
        browser_->setSource(QUrl(QStringLiteral("qrc:/help/") + page));
    } else {
        // A workshop whose page is not written yet still gets an answer rather than a blank window.
        browser_->setHtml(tr("<h2>Help</h2><p>There is no help page for this topic yet.</p>"
                             "<p><a href=\"qrc:/help/contents.html\">Help contents</a></p>"));
    }
    show();
    raise();
    activateWindow();
}

QString THelpWindow::currentPage() const
{
    const QUrl source = browser_->source();
    if (source.isEmpty())
        return {};
    QString page = source.path().section(QLatin1Char('/'), -1);
    if (source.hasFragment())
        page += QLatin1Char('#') + source.fragment();
    return page;
}

THelpWindow& THelpWindow::shared()
{
    static QPointer<THelpWindow> window;
    if (!window)
        window = new THelpWindow(promptParent());
    return *window;
}
