#pragma once

#include <QDialog>

// Help > About: the program's name, version and purpose.
class TAboutForm : public QDialog {
    Q_OBJECT
public:
    explicit TAboutForm(QWidget* parent = nullptr);
};
