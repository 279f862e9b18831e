#include "viewers/ViewerFileData.h"

#include <cerrno>

#include "core/Channels.h"
#include "files/FileLimits.h"
#include "files/LogFileReader.h"
#include "files/RecordFileReader.h"
#include "viewers/LogBlocks.h"
#include "viewers/ViewerGraph.h"

namespace {

// Keeps what a reader tells; a reader asks nothing.
class CHeldMessages final : public IMessageBox {
public:
    explicit CHeldMessages(std::vector<CHeldMessage>& held) : held_(held) {}
    void tell(std::string_view text, MessageIcon icon) override
    {
        held_.push_back({std::string(text), icon});
    }
    bool askYesNo(std::string_view, MessageIcon) override { return false; }

private:
    std::vector<CHeldMessage>& held_;
};

} // namespace

CViewerFileData readViewerFile(ViewerFile kind, const std::string& path, CLoadControl* control)
{
    CViewerFileData data;
    CHeldMessages messages(data.messages);
    // A record file's values: the channels the graph shows at first; Graph Settings adds others.
    data.read =
        kind == ViewerFile::Record
            ? readRecordFile(path, data.rows, messages,
                             {.values = true,
                              .control = control,
                              .valueColumns = recordPlottedColumns(recordInitialVisibility())})
            : readLogFile(path, data.rows, messages, control);
    data.cancelled = !data.read && errno == ECANCELED;
    // What the graph will take must fit in the memory left, as for any viewer.
    if (data.read)
        data.read = kind == ViewerFile::Record
                        ? admitToViewer(data.rows, kChannelCount, kRecordFileOpenError, messages)
                        : admitToViewer(data.rows, kLogPlottedColumns, kLogFileOpenError, messages);
    if (data.cancelled)
        data.rows.release();
    return data;
}

void showHeldMessages(const CViewerFileData& data, IMessageBox& messages)
{
    for (const CHeldMessage& message : data.messages)
        messages.tell(message.text, message.icon);
}
