#include "setup/SetupPage.h"

#include <QLabel>
#include <QVBoxLayout>

#include "setup/SetupWizard.h"

CSetupPage::CSetupPage(CSetupWizard& wizard) : QWizardPage(&wizard), wizard_(wizard)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* banner = new QLabel(this);
    banner->setPixmap(QPixmap(":/setup/banner.png"));
    banner->setObjectName("banner");
    layout->addWidget(banner);
    body_ = new QVBoxLayout;
    body_->setContentsMargins(12, 8, 12, 8);
    layout->addLayout(body_, 1);
}

bool CSetupPage::isComplete() const { return wizard_.buttons() == WizardButtons::NextOnly; }
