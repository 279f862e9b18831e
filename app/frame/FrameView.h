#pragma once
// The protocol engine's view of the overview view: the same operations, one for one.

#include "app/view/VentoraView.h"
#include "protocol/ProtocolView.h"

class CFrameView final : public IProtocolView {
public:
    explicit CFrameView(CVentoraView& view) : view_(view) {}

    void SetupColumns(int layout) override { view_.SetupColumns(layout); }
    void SetupMenuColumns() override { view_.SetupMenuColumns(); }
    int rowCount() const override { return view_.rowCount(); }
    int appendRow(std::string_view text) override { return view_.appendRow(text); }
    void setCellText(int row, int column, std::string_view text) override
    {
        view_.setCellText(row, column, text);
    }
    std::string cellText(int row, int column) const override { return view_.cellText(row, column); }
    void deleteAllRows() override { view_.deleteAllRows(); }
    void scrollList() override { view_.scrollList(); }
    void setLedState(int state) override { view_.setLedState(state); }
    void setRecIndicator(bool enabled) override { view_.setRecIndicator(enabled); }
    bool isRecording() const override { return view_.isRecording(); }

private:
    CVentoraView& view_;
};
