#pragma once

// Edit > Cut, Copy and Paste on the focused control, and the text Copy makes of whole lists, combo
// boxes, trees, list views and tables: cells separated by tabs, every line ending in CR LF.

#include <QString>
#include <Qt>

#include <optional>

class QAbstractItemModel;
class QWidget;

// Role through which a tree's builder gives a node its indentation depth for copying. A node
// without it is indented by its depth in the tree.
inline constexpr int kCopyDepthRole = Qt::UserRole + 1984;

QString listCopyText(const QAbstractItemModel& model, int column = 0);
QString treeCopyText(const QAbstractItemModel& model);
QString listViewCopyText(const QAbstractItemModel& model);
QString tableCopyText(const QAbstractItemModel& model, bool withTitleRow);

// The clipboard text Copy makes for `focused`, or nothing when Copy must beep instead. Line and text
// edits are not handled here: they copy their own selection.
std::optional<QString> copyTextFor(QWidget* focused);

// True when `focused` is, or sits inside, a grid whose cell editor is open.
bool cellEditorOpenAt(QWidget* focused);

enum class ClipboardCommand { Cut, Copy, Paste };
// Runs the command on `focused` (may be null). Returns false when it beeped instead.
bool runClipboardCommand(ClipboardCommand command, QWidget* focused);
