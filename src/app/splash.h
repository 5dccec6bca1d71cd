#pragma once

#include <QSplashScreen>

// The start-up picture; it closes itself after four seconds.
class TSplashForm : public QSplashScreen {
    Q_OBJECT
public:
    static constexpr int kShowMilliseconds = 4000;

    TSplashForm();
    // Shows the picture, paints it at once and starts the timer that closes it.
    void showNow();
};
