#include "workshops/portfolio/portfolio_page_view.h"

#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>
#include <optional>

#include "shell/help_window.h"
#include "widgets/buddy_label.h"
#include "widgets/edit_mask.h"
#include "widgets/layout_scale.h"
#include "widgets/portfolio_list.h"
#include "widgets/text_convert.h"

using portfolio::PlotRow;

namespace {

void setName(QObject* object, const char* name)
{
    if (name)
        object->setObjectName(QLatin1String(name));
}

void setHelp(QWidget* widget, int context)
{
    if (context)
        help::setHelpContext(widget, context);
}

} // namespace

PortfolioPage::PortfolioPage(const PortfolioPageSetup& setup, RowSource rows, QWidget* parent)
    : QWidget(parent), source_(std::move(rows)), cleaning_(setup.cleaning), keepsSelection_(setup.keepsSelection),
      captionWidth_(scaledPixels(this, setup.columnWidths[0]))
{
    list_ = new PortfolioList(this);
    setName(list_, setup.listObject);
    std::vector<int> widths;
    for (int width : setup.columnWidths)
        widths.push_back(scaledPixels(this, width));
    list_->setColumns({QString::fromUtf8(setup.columns[0]), QString::fromUtf8(setup.columns[1]),
                       QString::fromUtf8(setup.columns[2])},
                      widths);
    if (setup.minimumListWidth > 0) {
        list_->setMinimumWidth(scaledPixels(this, setup.minimumListWidth));
    } else {
        int width = 2 * list_->frameWidth() + list_->verticalScrollBar()->sizeHint().width();
        for (int column : widths)
            width += column;
        list_->setMinimumWidth(width);
    }
    setHelp(list_, setup.listHelp);
    QLabel* listLabel = nullptr;
    if (setup.listLabel)
        listLabel = labelFor(QString::fromUtf8(setup.listLabel), list_, this);
    else
        list_->setAccessibleName(QString::fromUtf8(setup.listName));

    filterBox_ = buildFilterBox(setup);

    chart_ = new PortfolioChart(list_, setup.chart, setup.paintSize, this);
    setName(chart_->panel(), setup.panelObject);
    setName(chart_->diagram(), setup.paintBoxObject);
    setName(chart_->copyButton(), setup.copyObject);
    setHelp(chart_->panel(), setup.panelHelp);
    if (setup.copyHelpPage)
        help::setHelpContext(chart_->copyButton(), 58000, QString::fromUtf8(setup.copyHelpPage));

    back_ = new QPushButton(tr("&Back to Data"), this);
    setName(back_, setup.backObject);
    setHelp(back_, setup.backHelp);
    connect(back_, &QPushButton::clicked, this, &PortfolioPage::backClicked);

    auto* left = new QVBoxLayout;
    if (listLabel)
        left->addWidget(listLabel);
    left->addWidget(list_, 1);
    left->addWidget(filterBox_);
    auto* right = new QVBoxLayout;
    right->addWidget(chart_);
    right->addStretch();
    buttons_ = new QVBoxLayout;
    buttons_->addWidget(back_, 0, Qt::AlignRight);
    right->addLayout(buttons_);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(right);

    setTabOrder(list_, fields_[0]);
    setTabOrder(fields_[3], refresh_);
    setTabOrder(refresh_, chart_->copyButton());
    setTabOrder(chart_->copyButton(), back_);
}

QGroupBox* PortfolioPage::buildFilterBox(const PortfolioPageSetup& setup)
{
    auto* box = new QGroupBox(tr("Filtering"), this);
    setName(box, setup.filterObject);
    setHelp(box, setup.filterHelp);
    auto* layout = new QGridLayout(box);
    for (int k = 0; k < 4; ++k) {
        auto* field = new MaskedLineEdit(box);
        setName(field, setup.fieldObjects[static_cast<std::size_t>(k)]);
        field->setEditMask(QStringLiteral("99;0; "));
        field->setText(k % 2 == 0 ? QStringLiteral("1") : QStringLiteral("10"));
        field->setFixedWidth(field->fontMetrics().horizontalAdvance(QStringLiteral("000")) + scaledPixels(this, 12));
        if (cleaning_ == portfolio::Cleaning::OnLeave)
            field->installEventFilter(this);
        fields_[static_cast<std::size_t>(k)] = field;
        if (k > 0)
            setTabOrder(fields_[static_cast<std::size_t>(k - 1)], field);
        const QString caption = QString::fromUtf8(setup.filterCaptions[static_cast<std::size_t>(k / 2)]);
        QLabel* label = labelFor(k % 2 == 0 ? caption : tr("and"), field, box);
        // "and" alone says little: an upper bound is named after its pair.
        if (k % 2 == 1)
            field->setAccessibleName(QString(caption).remove(QLatin1Char('&')) + QStringLiteral(" … and"));
        layout->addWidget(label, k / 2, 2 * (k % 2));
        layout->addWidget(field, k / 2, 2 * (k % 2) + 1);
    }
    refresh_ = new QPushButton(tr("&Refresh"), box);
    setName(refresh_, setup.refreshObject);
    connect(refresh_, &QPushButton::clicked, this, &PortfolioPage::refresh);
    layout->addWidget(refresh_, 0, 5, 2, 1, Qt::AlignVCenter);
    layout->setColumnStretch(4, 1);
    return box;
}

portfolio::PlotFilter PortfolioPage::filter() const
{
    const auto pair = [this](int first) {
        return portfolio::readScoreRange(toModel(fields_[static_cast<std::size_t>(first)]->text()),
                                         toModel(fields_[static_cast<std::size_t>(first + 1)]->text()));
    };
    return {pair(0), pair(2)};
}

void PortfolioPage::rebuild()
{
    std::optional<PlotRow> kept;
    if (const PlotRow* selected = selectedRow(); keepsSelection_ && selected)
        kept = *selected;
    rows_ = source_(filter());
    list_->setUpdatesEnabled(false);
    list_->clearRows();
    for (const PlotRow& row : rows_) {
        const QStringList values = row.heading ? QStringList{}
                                               : QStringList{QString::number(row.vertical), QString::number(row.horizontal)};
        list_->addRow(row.captionIsKey ? translated(core_text::kWorkshopTexts, {row.caption.c_str()}) : toQt(row.caption),
                      values, row.plotValues());
    }
    // Long captions widen their column rather than being cut short.
    list_->resizeColumnToContents(0);
    list_->setColumnWidth(0, std::max(list_->columnWidth(0), captionWidth_));
    if (kept) {
        const auto same = std::find_if(rows_.begin(), rows_.end(), [&](const PlotRow& row) {
            return row.owner == kept->owner && row.entry == kept->entry && row.caption == kept->caption;
        });
        if (same != rows_.end())
            list_->selectRow(static_cast<int>(same - rows_.begin()));
    }
    list_->setUpdatesEnabled(true);
    chart_->diagram()->update();
}

void PortfolioPage::refresh()
{
    if (cleaning_ == portfolio::Cleaning::OnRefresh) {
        normalizePair(0);
        normalizePair(2);
    }
    rebuild();
}

void PortfolioPage::normalizePair(int first)
{
    MaskedLineEdit* from = fields_[static_cast<std::size_t>(first)];
    MaskedLineEdit* to = fields_[static_cast<std::size_t>(first + 1)];
    const portfolio::ScoreRange range = portfolio::readScoreRange(toModel(from->text()), toModel(to->text())).normalized();
    from->setText(QString::number(range.from));
    to->setText(QString::number(range.to));
}

const PlotRow* PortfolioPage::selectedRow() const
{
    const int row = list_->selectedRow();
    return row >= 0 && row < static_cast<int>(rows_.size()) ? &rows_[static_cast<std::size_t>(row)] : nullptr;
}

QPushButton* PortfolioPage::addButton(const QString& text, const char* objectName)
{
    auto* button = new QPushButton(text, this);
    setName(button, objectName);
    buttons_->insertWidget(buttons_->count() - 1, button, 0, Qt::AlignRight);
    setTabOrder(chart_->copyButton(), button);
    setTabOrder(button, back_);
    return button;
}

bool PortfolioPage::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusOut) {
        for (MaskedLineEdit* field : fields_) {
            if (watched != field)
                continue;
            const portfolio::LimitedBound bound = portfolio::limitBound(toModel(field->text()));
            if (bound.limited)
                field->setText(QString::number(bound.value));
        }
    }
    return QWidget::eventFilter(watched, event);
}
