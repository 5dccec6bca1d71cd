#pragma once

// The label standing before a control: its accelerator moves the focus to the control, and its
// text, without the accelerator's '&', is what a screen reader calls the control.

class QLabel;
class QString;
class QWidget;

QLabel* labelFor(const QString& text, QWidget* buddy, QWidget* parent, const char* objectName = nullptr);
