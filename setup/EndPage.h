#pragma once
// Page 5: offers the desktop launcher; Finish creates it when asked and runs the finish pass.

#include "setup/SetupPage.h"

class QCheckBox;
class QLabel;

class CEndPage : public CSetupPage {
    Q_OBJECT
public:
    explicit CEndPage(CSetupWizard& wizard);

    void onSetActive() override;
    bool isComplete() const override { return true; }
    // Finish.
    bool validatePage() override;

private:
    QLabel* question_;
    QCheckBox* desktop_;
    QLabel* italianPicture_;
    QLabel* englishPicture_;
};
