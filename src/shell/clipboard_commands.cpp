#include "shell/clipboard_commands.h"

#include "shell/child_form.h"
#include "shell/prompts.h"
#include "widgets/copy_text_source.h"
#include "widgets/edit_mask.h"

#include <QAbstractItemModel>
#include <QAbstractSpinBox>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QTableView>
#include <QTextEdit>
#include <QTreeView>

namespace {

const QString kLineEnd = QStringLiteral("\r\n");
const QChar kTab = QLatin1Char('\t');

QString cellText(const QAbstractItemModel& model, const QModelIndex& index)
{
    return model.data(index, Qt::DisplayRole).toString();
}

void appendTreeRows(const QAbstractItemModel& model, const QModelIndex& parent, int depth, QString& out)
{
    for (int row = 0; row < model.rowCount(parent); ++row) {
        const QModelIndex index = model.index(row, 0, parent);
        const QVariant given = model.data(index, kCopyDepthRole);
        const int indent = given.isValid() ? given.toInt() : depth;
        out += QString(2 * std::max(indent, 0), QLatin1Char(' ')) + cellText(model, index) + kLineEnd;
        appendTreeRows(model, index, depth + 1, out);
    }
}

// The grid or list that `widget` is or sits in, and the widget that is the source.
CopyTextSource* copySourceAbove(QWidget* widget, QWidget** sourceWidget = nullptr)
{
    for (QWidget* w = widget; w; w = w->parentWidget()) {
        if (auto* source = dynamic_cast<CopyTextSource*>(w)) {
            if (sourceWidget)
                *sourceWidget = w;
            return source;
        }
        if (qobject_cast<TChildForm*>(w) || w->isWindow())
            break;
    }
    return nullptr;
}

// A line edit that belongs to a spin box, date picker or combo box is not an edit of its own.
bool isPartOfCompoundControl(const QLineEdit* edit)
{
    const QWidget* parent = edit->parentWidget();
    return qobject_cast<const QAbstractSpinBox*>(parent) || qobject_cast<const QComboBox*>(parent);
}

// The edits Cut, Copy and Paste work on: plain one-line edits and text fields. Masked edits
// (score and date fields) are not among them, whether the mask is Qt's or the classic one.
QLineEdit* asPlainLineEdit(QWidget* widget)
{
    auto* edit = qobject_cast<QLineEdit*>(widget);
    if (!edit || isPartOfCompoundControl(edit) || !edit->inputMask().isEmpty())
        return nullptr;
    if (auto* masked = qobject_cast<MaskedLineEdit*>(edit); masked && !masked->editMask().isEmpty())
        return nullptr;
    return edit;
}

} // namespace

QString listCopyText(const QAbstractItemModel& model, int column)
{
    QString out;
    for (int row = 0; row < model.rowCount(); ++row)
        out += cellText(model, model.index(row, column)) + kLineEnd;
    return out;
}

QString treeCopyText(const QAbstractItemModel& model)
{
    QString out;
    appendTreeRows(model, QModelIndex(), 0, out);
    return out;
}

QString listViewCopyText(const QAbstractItemModel& model)
{
    QString out;
    for (int row = 0; row < model.rowCount(); ++row) {
        out += cellText(model, model.index(row, 0));
        for (int column = 1; column < model.columnCount(); ++column)
            out += kTab + cellText(model, model.index(row, column));
        out += kLineEnd;
    }
    return out;
}

QString tableCopyText(const QAbstractItemModel& model, bool withTitleRow)
{
    QString out;
    if (withTitleRow) {
        for (int column = 0; column < model.columnCount(); ++column)
            out += model.headerData(column, Qt::Horizontal, Qt::DisplayRole).toString() + kTab;
        out += kLineEnd;
    }
    for (int row = 0; row < model.rowCount(); ++row) {
        for (int column = 0; column < model.columnCount(); ++column)
            out += cellText(model, model.index(row, column)) + kTab;
        out += kLineEnd;
    }
    return out;
}

bool cellEditorOpenAt(QWidget* focused)
{
    const CopyTextSource* source = copySourceAbove(focused);
    return source && source->cellEditorOpen();
}

std::optional<QString> copyTextFor(QWidget* focused)
{
    if (!focused)
        return std::nullopt;
    QWidget* control = focused;
    if (auto* edit = qobject_cast<QLineEdit*>(focused); edit && qobject_cast<QComboBox*>(edit->parentWidget()))
        control = edit->parentWidget();

    // A combo box copies its own list, even when it is a grid's in-place control and so sits
    // inside the grid.
    if (auto* combo = qobject_cast<QComboBox*>(control))
        return combo->model() ? listCopyText(*combo->model(), combo->modelColumn()) : QString();
    QWidget* sourceWidget = nullptr;
    if (const CopyTextSource* source = copySourceAbove(focused, &sourceWidget)) {
        // A grid copies itself only when it has the focus; its open cell editor and its in-place
        // date pickers, check boxes and buttons copy nothing.
        if (source->cellEditorOpen() || focused != sourceWidget)
            return std::nullopt;
        return source->copyText();
    }
    if (auto* table = qobject_cast<QTableView*>(control)) {
        if (!table->model())
            return QString();
        return tableCopyText(*table->model(), table->horizontalHeader()->isVisibleTo(table));
    }
    if (auto* tree = qobject_cast<QTreeView*>(control)) {
        if (!tree->model())
            return QString();
        // A report-style list has columns; a tree is a single column of nested nodes.
        return tree->model()->columnCount() > 1 ? listViewCopyText(*tree->model()) : treeCopyText(*tree->model());
    }
    if (auto* list = qobject_cast<QListView*>(control))
        return list->model() ? listCopyText(*list->model(), list->modelColumn()) : QString();
    return std::nullopt;
}

bool runClipboardCommand(ClipboardCommand command, QWidget* focused)
{
    QLineEdit* line = asPlainLineEdit(focused);
    auto* plain = qobject_cast<QPlainTextEdit*>(focused);
    auto* rich = qobject_cast<QTextEdit*>(focused);

    if (command == ClipboardCommand::Copy) {
        // An open cell editor is a line edit too, but Copy there is refused like the grid's.
        if (cellEditorOpenAt(focused)) {
            prompts().beep();
            return false;
        }
        if (line) {
            line->copy();
            return true;
        }
        if (plain) {
            plain->copy();
            return true;
        }
        if (rich) {
            rich->copy();
            return true;
        }
        if (auto text = copyTextFor(focused)) {
            QGuiApplication::clipboard()->setText(*text);
            return true;
        }
        prompts().beep();
        return false;
    }

    const bool cut = command == ClipboardCommand::Cut;
    if (line && !line->isReadOnly()) {
        cut ? line->cut() : line->paste();
        return true;
    }
    if (plain && !plain->isReadOnly()) {
        cut ? plain->cut() : plain->paste();
        return true;
    }
    if (rich && !rich->isReadOnly()) {
        cut ? rich->cut() : rich->paste();
        return true;
    }
    prompts().beep();
    return false;
}
