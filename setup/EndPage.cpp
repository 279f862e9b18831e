#include "setup/EndPage.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "controls/AnsiText.h"
#include "setup/FinishPass.h"
#include "setup/SetupTexts.h"
#include "setup/SetupWizard.h"

CEndPage::CEndPage(CSetupWizard& wizard) : CSetupPage(wizard)
{
    question_ = new QLabel(this);
    desktop_ = new QCheckBox(this);
    italianPicture_ = new QLabel(this);
    englishPicture_ = new QLabel(this);
    italianPicture_->setPixmap(QPixmap(":/setup/end_ita.png"));
    englishPicture_->setPixmap(QPixmap(":/setup/end_eng.png"));
    question_->setObjectName("endQuestion");
    desktop_->setObjectName("desktopCheck");
    italianPicture_->setObjectName("italianPicture");
    englishPicture_->setObjectName("englishPicture");

    // The two pictures share one place; the language shows one of them.
    auto* pictures = new QGridLayout;
    pictures->addWidget(italianPicture_, 0, 0, Qt::AlignCenter);
    pictures->addWidget(englishPicture_, 0, 0, Qt::AlignCenter);
    body()->addWidget(question_);
    body()->addWidget(desktop_);
    body()->addStretch(1);
    body()->addLayout(pictures);
    body()->addStretch(1);
    setFinalPage(true);
}

void CEndPage::onSetActive()
{
    CSetupWizard& wizard = setupWizard();
    Language language = wizard.state().language;
    const CSetupTexts& texts = setupTexts(language);
    desktop_->setChecked(true);
    // Only Finish (and the disabled Cancel) remain.
    wizard.setButtonLayout({QWizard::Stretch, QWizard::FinishButton, QWizard::CancelButton});
    wizard.setButtonText(QWizard::FinishButton, fromAnsi(texts.finish));
    wizard.setWindowTitle(fromAnsi(texts.setupCaption));
    question_->setText(fromAnsi(texts.endQuestion));
    desktop_->setText(fromAnsi(texts.desktopCheck));
    englishPicture_->setVisible(language == Language::English);
    italianPicture_->setVisible(language != Language::English);
}

bool CEndPage::validatePage()
{
    CSetupWizard& wizard = setupWizard();
    CFinishRequest request;
    request.installFolder = wizard.state().installFolder;
    request.programName = wizard.environment().plan.programName;
    request.desktopFolder = wizard.environment().shellFolders.desktop;
    request.desktopLauncher = desktop_->isChecked();
    finishSetup(request);
    return true;
}
