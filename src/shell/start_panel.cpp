#include "shell/start_panel.h"

#include <QAbstractScrollArea>
#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStandardPaths>
#include <QVBoxLayout>

namespace {

const char* const kExampleFile = "examples/demo.cvx";
constexpr int kPanelWidth = 440;

} // namespace

QString findExampleCase()
{
    const QDir programDir(QCoreApplication::applicationDirPath());
    for (const QString& candidate : {programDir.filePath(QStringLiteral("../") + QLatin1String(kExampleFile)),
                                     programDir.filePath(QStringLiteral("../share/corvantix/") + QLatin1String(kExampleFile))})
        if (QFileInfo(candidate).isFile())
            return QFileInfo(candidate).canonicalFilePath();
    return QStandardPaths::locate(QStandardPaths::GenericDataLocation,
                                  QStringLiteral("corvantix/") + QLatin1String(kExampleFile));
}

TStartPanel::TStartPanel(QWidget* area) : QFrame(area), area_(area)
{
    setObjectName(QStringLiteral("StartPanel"));
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Window);

    auto* heading = new QLabel(tr("No case is open"), this);
    QFont bold = heading->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.25);
    heading->setFont(bold);
    text_ = new QLabel(this);
    text_->setWordWrap(true);

    auto* newCase = new QPushButton(tr("New Case"), this);
    newCase->setObjectName(QStringLiteral("btnNewCase"));
    auto* openCase = new QPushButton(tr("Open Case..."), this);
    openCase->setObjectName(QStringLiteral("btnOpenCase"));
    example_ = new QPushButton(tr("Open Example Case"), this);
    example_->setObjectName(QStringLiteral("btnExampleCase"));
    connect(newCase, &QPushButton::clicked, this, &TStartPanel::newRequested);
    connect(openCase, &QPushButton::clicked, this, &TStartPanel::openRequested);
    connect(example_, &QPushButton::clicked, this, [this] { emit exampleRequested(exampleCase_); });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(newCase);
    buttons->addWidget(openCase);
    buttons->addWidget(example_);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 14, 18, 16);
    layout->setSpacing(10);
    layout->addWidget(heading);
    layout->addWidget(text_);
    layout->addLayout(buttons);

    setExampleCase(QString());
    // The viewport hears of a new size after the area has laid itself out.
    const auto* scrollArea = qobject_cast<QAbstractScrollArea*>(area_);
    (scrollArea ? scrollArea->viewport() : area_)->installEventFilter(this);
}

void TStartPanel::setExampleCase(const QString& path)
{
    exampleCase_ = path;
    example_->setVisible(!path.isEmpty());
    text_->setText(path.isEmpty()
                       ? tr("To begin, start a new case (File > New, Ctrl+N) or open a case file "
                            "(File > Open, Ctrl+O).")
                       : tr("To begin, start a new case (File > New, Ctrl+N), open a case file "
                            "(File > Open, Ctrl+O), or open the example case: a finished plan to look "
                            "around in."));
    placeInArea();
}

bool TStartPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Resize || event->type() == QEvent::Show)
        placeInArea();
    return QFrame::eventFilter(watched, event);
}

void TStartPanel::placeInArea()
{
    // Centred on the area's viewport, so scroll bars never cover it; never wider than the area.
    const auto* scrollArea = qobject_cast<QAbstractScrollArea*>(area_);
    const QRect room = scrollArea ? scrollArea->viewport()->geometry() : area_->rect();
    const int width = std::min(kPanelWidth, std::max(room.width() - 20, 200));
    const int height = heightForWidth(width) > 0 ? heightForWidth(width) : sizeHint().height();
    setGeometry(QRect(room.center().x() - width / 2, room.center().y() - height / 2, width, height));
    raise();
}
