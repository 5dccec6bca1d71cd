#pragma once

#include <QString>

// A widget that knows what Edit > Copy puts on the clipboard for it (grids, list views, trees).
// The clipboard code finds it by walking up from the focused widget through its parents, so an
// open cell editor (a child of its grid) is found too.
class CopyTextSource {
public:
    virtual ~CopyTextSource() = default;
    // The whole table as text: cells separated by tabs, lines ending in CR LF.
    virtual QString copyText() const = 0;
    // True while an in-place cell editor is open; Copy and Undo then beep and do nothing.
    virtual bool cellEditorOpen() const { return false; }
};
