#pragma once
// Page 2: the welcome text of the chosen language, read again each time the page is shown.

#include "setup/SetupPage.h"

class QPlainTextEdit;

class CWelcomePage : public CSetupPage {
    Q_OBJECT
public:
    explicit CWelcomePage(CSetupWizard& wizard);

    void onSetActive() override;

private:
    QPlainTextEdit* text_;
};
