#include "app/MainFrame.h"

#include "app/VentoraApp.h"

CMainFrame::CMainFrame(CVentoraApp& app, QWidget* parent) : QMainWindow(parent), app_(app)
{
    app_.mainFrame = this;
    setWindowTitle("Skyvane8u");
}

CMainFrame::~CMainFrame()
{
    if (app_.mainFrame == this)
        app_.mainFrame = nullptr;
}
