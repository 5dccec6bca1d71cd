#pragma once

// A developer's window showing the shared view components with sample rows: a workshop grid
// (masks, a red and a bold row, sorting by the title row, Alt+Delete), a TAdvancedGrid with
// drop-down and date cells, and a risk-style portfolio diagram beside its list. It edits its own
// sample data only, never a case.

class QWidget;

QWidget* createWidgetsDemo(QWidget* parent = nullptr);
