#include "setup/WelcomePage.h"

#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "controls/AnsiText.h"
#include "setup/SetupTexts.h"
#include "setup/SetupWizard.h"
#include "setup/TextLoader.h"

CWelcomePage::CWelcomePage(CSetupWizard& wizard) : CSetupPage(wizard)
{
    text_ = new QPlainTextEdit(this);
    text_->setObjectName("welcomeText");
    text_->setReadOnly(true);
    body()->addWidget(text_);
}

void CWelcomePage::onSetActive()
{
    CSetupWizard& wizard = setupWizard();
    const CSetupState& state = wizard.state();
    wizard.setWindowTitle(fromAnsi(setupTexts(state.language).setupCaption));
    text_->clear();
    std::string text;
    if (loadSetupText(languageFile(state.sourceFolder, state.language, "Welcome.txt"), text) != 0)
        wizard.messages().tell(setuptext::kWelcomeMissing, MessageIcon::None);
    text_->setPlainText(fromAnsi(text).replace("\r\n", "\n"));
    text_->moveCursor(QTextCursor::End);
    text_->setEnabled(false);
}
