#include "setup/LicensePage.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include "controls/AnsiText.h"
#include "setup/SetupTexts.h"
#include "setup/SetupWizard.h"
#include "setup/TextLoader.h"

CLicensePage::CLicensePage(CSetupWizard& wizard) : CSetupPage(wizard)
{
    text_ = new QPlainTextEdit(this);
    text_->setObjectName("licenseText");
    text_->setReadOnly(true);
    text_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    accept_ = new QRadioButton(this);
    decline_ = new QRadioButton(this);
    accept_->setObjectName("accept");
    decline_->setObjectName("decline");
    choice_ = new QButtonGroup(this);
    choice_->addButton(accept_);
    choice_->addButton(decline_);
    auto* row = new QHBoxLayout;
    row->addWidget(accept_);
    row->addWidget(decline_);
    row->addStretch(1);
    body()->addWidget(text_);
    body()->addLayout(row);

    connect(accept_, &QRadioButton::clicked, this,
            [this] { setupWizard().setButtons(WizardButtons::NextOnly); });
    connect(decline_, &QRadioButton::clicked, this,
            [this] { setupWizard().setButtons(WizardButtons::BackOnly); });
}

void CLicensePage::onSetActive()
{
    CSetupWizard& wizard = setupWizard();
    const CSetupState& state = wizard.state();
    const CSetupTexts& texts = setupTexts(state.language);
    wizard.setButtons(WizardButtons::BackOnly);
    text_->clear();
    wizard.setWindowTitle(fromAnsi(texts.setupCaption));
    accept_->setText(fromAnsi(texts.accept));
    decline_->setText(fromAnsi(texts.decline));
    std::string text;
    if (loadSetupText(languageFile(state.sourceFolder, state.language, "License.txt"), text) != 0)
        wizard.messages().tell(setuptext::kLicenseMissing, MessageIcon::None);
    text_->setPlainText(fromAnsi(text).replace("\r\n", "\n"));

    // An exclusive group always keeps one button checked; clearing both needs it off briefly.
    choice_->setExclusive(false);
    accept_->setChecked(false);
    decline_->setChecked(false);
    choice_->setExclusive(true);
}

void CLicensePage::onKillActive() { setupWizard().setButtons(WizardButtons::NextOnly); }
