#pragma once
// An IMessageBox whose messages show after the event being handled has returned. The recording
// writer tells its failures from inside the reply handler: a modal box there would hold the
// handler while lines keep arriving (each then dropped as a re-entry) and the link time out.
// Queued, the box runs from the event loop, where the next lines are handled as usual. A message
// told while an earlier one waits or shows is dropped: one box is enough. Questions are asked at
// once, since their caller needs the answer.

#include <QObject>

#include "core/MessageBox.h"

class CQueuedMessageBox final : public QObject, public IMessageBox {
public:
    explicit CQueuedMessageBox(IMessageBox& boxes, QObject* parent = nullptr)
        : QObject(parent), boxes_(boxes)
    {
    }

    void tell(std::string_view text, MessageIcon icon) override;
    bool askYesNo(std::string_view text, MessageIcon icon) override
    {
        return boxes_.askYesNo(text, icon);
    }

private:
    IMessageBox& boxes_;
    bool busy_ = false; // a message waits or shows
};
