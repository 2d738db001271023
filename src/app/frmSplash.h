#pragma once

#include <QWidget>

#include <functional>

class QLabel;
class QTimer;

// The short picture shown while the program starts; opens the main window on
// its third tick and is closed by the main window once that has loaded.
class frmSplash : public QWidget {
    Q_OBJECT
public:
    using MainLoader = std::function<void()>;

    frmSplash(const QString& picturePath, MainLoader loadMain, QWidget* parent = nullptr);

    int elapsed() const { return m_elapsed; }
    QTimer* timer() const { return Timer1; }

public Q_SLOTS:
    void Timer1_Timer();

private:
    QLabel* Image1 = nullptr;
    QTimer* Timer1 = nullptr;
    MainLoader m_loadMain;
    int m_elapsed = 0;
};
