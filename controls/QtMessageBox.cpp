#include "controls/QtMessageBox.h"

#include <QMessageBox>

#include "controls/AnsiText.h"

namespace {

QMessageBox::Icon toQtIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Stop:
        return QMessageBox::Critical;
    case MessageIcon::Exclamation:
        return QMessageBox::Warning;
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

void CQtMessageBox::tell(std::string_view text, MessageIcon icon)
{
    QMessageBox box(toQtIcon(icon), caption_, fromAnsi(text), QMessageBox::Ok, parent_);
    box.exec();
}

bool CQtMessageBox::askYesNo(std::string_view text, MessageIcon icon)
{
    QMessageBox box(toQtIcon(icon), caption_, fromAnsi(text),
                    QMessageBox::Yes | QMessageBox::No, parent_);
    return box.exec() == QMessageBox::Yes;
}
