#pragma once
// Page 1: "Italiano" or "English", each beside its flag. A click switches the button captions;
// leaving the page fixes the language of the run.

#include "setup/SetupPage.h"

class QRadioButton;

class CLanguagePage : public CSetupPage {
    Q_OBJECT
public:
    explicit CLanguagePage(CSetupWizard& wizard);

    void onSetActive() override;
    void onKillActive() override;

private:
    QRadioButton* italian_;
    QRadioButton* english_;
};
