#include "app/frame/QueuedMessageBox.h"

#include <string>

void CQueuedMessageBox::tell(std::string_view text, MessageIcon icon)
{
    if (busy_)
        return;
    busy_ = true;
    QMetaObject::invokeMethod(
        this,
        [this, text = std::string(text), icon] {
            boxes_.tell(text, icon);
            busy_ = false;
        },
        Qt::QueuedConnection);
}
