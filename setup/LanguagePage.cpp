#include "setup/LanguagePage.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

#include "controls/AnsiText.h"
#include "setup/SetupTexts.h"
#include "setup/SetupWizard.h"

namespace {

QLabel* picture(const char* resource, QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setPixmap(QPixmap(resource));
    return label;
}

} // namespace

CLanguagePage::CLanguagePage(CSetupWizard& wizard) : CSetupPage(wizard)
{
    auto* group = new QGroupBox(fromAnsi(setuptext::kLanguageGroup), this);
    auto* grid = new QGridLayout(group);
    italian_ = new QRadioButton(fromAnsi(setuptext::kItalian), group);
    english_ = new QRadioButton(fromAnsi(setuptext::kEnglish), group);
    italian_->setObjectName("italiano");
    english_->setObjectName("english");
    grid->addWidget(picture(":/setup/italiano.png", group), 0, 0);
    grid->addWidget(italian_, 0, 1);
    grid->addWidget(picture(":/setup/english.png", group), 1, 0);
    grid->addWidget(english_, 1, 1);
    grid->setColumnStretch(1, 1);
    body()->addWidget(group);
    body()->addStretch(1);

    bool isEnglish = wizard.state().language == Language::English;
    english_->setChecked(isEnglish);
    italian_->setChecked(!isEnglish);

    connect(italian_, &QRadioButton::clicked, this, [this] {
        setupWizard().setButtons(WizardButtons::NextOnly);
        setupWizard().setCaptions(Language::Italian);
    });
    connect(english_, &QRadioButton::clicked, this, [this] {
        setupWizard().setButtons(WizardButtons::NextOnly);
        setupWizard().setCaptions(Language::English);
    });
}

void CLanguagePage::onSetActive()
{
    setupWizard().setButtons(WizardButtons::NextOnly);
    setupWizard().setCaptions(Language::Italian);
}

void CLanguagePage::onKillActive()
{
    setupWizard().state().language = english_->isChecked() ? Language::English : Language::Italian;
}
