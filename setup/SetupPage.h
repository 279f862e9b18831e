#pragma once
// Base of the wizard's pages: the banner across the top, the body below it, and the hooks the
// wizard calls when the page becomes active and when it is left.

#include <QWizardPage>

class QVBoxLayout;
class CSetupWizard;

class CSetupPage : public QWizardPage {
    Q_OBJECT
public:
    explicit CSetupPage(CSetupWizard& wizard);

    virtual void onSetActive() {}
    virtual void onKillActive() {}

    // Next is offered only while the wizard's buttons are "Next only".
    bool isComplete() const override;

protected:
    CSetupWizard& setupWizard() const { return wizard_; }
    QVBoxLayout* body() const { return body_; }

private:
    CSetupWizard& wizard_;
    QVBoxLayout* body_;
};
