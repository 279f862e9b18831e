#pragma once
// Page 3: the licence text of the chosen language with Accept and Decline; only Accept lets the
// user go on.

#include "setup/SetupPage.h"

class QButtonGroup;
class QPlainTextEdit;
class QRadioButton;

class CLicensePage : public CSetupPage {
    Q_OBJECT
public:
    explicit CLicensePage(CSetupWizard& wizard);

    void onSetActive() override;
    void onKillActive() override;

private:
    QPlainTextEdit* text_;
    QButtonGroup* choice_;
    QRadioButton* accept_;
    QRadioButton* decline_;
};
