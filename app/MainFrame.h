#pragma once
// The main window: caption "Skyvane8u"; it registers itself in the application object.

#include <QMainWindow>

class CVentoraApp;

class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    explicit CMainFrame(CVentoraApp& app, QWidget* parent = nullptr);
    ~CMainFrame() override;

private:
    CVentoraApp& app_;
};
