#include "setup/SetupWizard.h"

#include <QAbstractButton>

#include "controls/AnsiText.h"
#include "setup/EndPage.h"
#include "setup/FolderPage.h"
#include "setup/LanguagePage.h"
#include "setup/LicensePage.h"
#include "setup/SetupTexts.h"
#include "setup/WelcomePage.h"

static void initSetupResources() { Q_INIT_RESOURCE(setup); }

CSetupWizard::CSetupWizard(CSetupEnvironment environment, QWidget* parent)
    : QWizard(parent), environment_(std::move(environment))
{
    initSetupResources();
    state_.sourceFolder = sourceFolderFrom(environment_.sourceFolder);
    state_.installFolder = environment_.defaultInstallFolder;

    setWizardStyle(QWizard::ClassicStyle);
    setOption(QWizard::HaveHelpButton, false);
    setWindowTitle(fromAnsi(setuptext::kWizardCaption));
    setWindowIcon(QIcon(":/setup/icon.png"));
    setPage(LanguagePage, new CLanguagePage(*this));
    setPage(WelcomePage, new CWelcomePage(*this));
    setPage(LicensePage, new CLicensePage(*this));
    setPage(FolderPage, new CFolderPage(*this));
    setPage(EndPage, new CEndPage(*this));
    setStartId(LanguagePage);
    connect(this, &QWizard::currentIdChanged, this, &CSetupWizard::pageChanged);
}

CSetupPage* CSetupWizard::setupPage(int id) const { return static_cast<CSetupPage*>(page(id)); }

void CSetupWizard::pageChanged(int id)
{
    if (CSetupPage* left = activeId_ >= 0 ? setupPage(activeId_) : nullptr)
        left->onKillActive();
    activeId_ = id;
    if (CSetupPage* active = id >= 0 ? setupPage(id) : nullptr)
        active->onSetActive();
    applyButtons();
}

void CSetupWizard::setButtons(WizardButtons buttons)
{
    buttons_ = buttons;
    // Lets the wizard's own rule agree on Next and Finish, then sets Back, which the wizard
    // would otherwise enable from its history.
    if (QWizardPage* current = currentPage())
        emit current->completeChanged();
    applyButtons();
}

void CSetupWizard::applyButtons()
{
    button(QWizard::BackButton)->setEnabled(!busy_ && buttons_ == WizardButtons::BackOnly);
    button(QWizard::NextButton)->setEnabled(!busy_ && buttons_ == WizardButtons::NextOnly);
    button(QWizard::FinishButton)->setEnabled(!busy_);
    button(QWizard::CancelButton)->setEnabled(!busy_ && !cancelLocked_);
}

void CSetupWizard::setCaptions(Language language)
{
    const CSetupTexts& texts = setupTexts(language);
    setButtonText(QWizard::BackButton, fromAnsi(texts.back));
    setButtonText(QWizard::NextButton, fromAnsi(texts.next));
    setButtonText(QWizard::CancelButton, fromAnsi(texts.cancel));
}

void CSetupWizard::lockCancel()
{
    cancelLocked_ = true;
    applyButtons();
}

void CSetupWizard::setBusy(bool busy)
{
    busy_ = busy;
    applyButtons();
}

void CSetupWizard::endSetup() { QDialog::done(QDialog::Rejected); }

void CSetupWizard::reject()
{
    // Escape and the window's close button end up here too.
    if (!cancelLocked_)
        QWizard::reject();
}
