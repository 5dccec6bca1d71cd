#pragma once

// What the empty child area of the main window shows while no case is open: how to start, with a
// button for each way (a new case, a case file, the example case).

#include <QFrame>
#include <QString>

class QLabel;
class QPushButton;

// The example case that comes with the program: beside it in the build tree, below its installation
// prefix, or in the system's data folders. Empty when there is none.
QString findExampleCase();

class TStartPanel : public QFrame {
    Q_OBJECT
public:
    // Sits centred over `area`'s viewport (the child area of the main window).
    explicit TStartPanel(QWidget* area);

    // The case the example button opens; without one the panel offers New and Open only.
    void setExampleCase(const QString& path);
    QString exampleCase() const { return exampleCase_; }

signals:
    void newRequested();
    void openRequested();
    void exampleRequested(const QString& path);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void placeInArea();

    QWidget* area_;
    QLabel* text_;
    QPushButton* example_;
    QString exampleCase_;
};
