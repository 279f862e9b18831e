#include "app/remote/RemoteFeed.h"

#include "protocol/DataRow.h"

CRemoteFeed::CRemoteFeed(IProtocolView& view, std::string recordingPath, IMessageBox& messages)
    : view_(view), recording_(std::move(recordingPath), clock_, messages)
{
}

void CRemoteFeed::begin()
{
    view_.SetupColumns(IProtocolView::kLayoutData);
    ledState_ = IProtocolView::kLedLit;
    view_.setLedState(ledState_);
    lastSeq_ = 0;
}

bool CRemoteFeed::take(const SampleMessage& sample)
{
    if (sample.seq <= lastSeq_)
        return false;
    lastSeq_ = sample.seq;
    clock_.set(sample.recordingTime);
    appendDataRow(view_, recording_, ledState_, formatTime(clock_.localNow(), kStreamTimeLayout),
                  sample.dataText);
    return true;
}

void CRemoteFeed::end()
{
    view_.setLedState(IProtocolView::kLedOff);
    view_.setRecIndicator(false);
}
