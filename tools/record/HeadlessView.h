#pragma once
// The engine's view without a window: it keeps no rows (a recorder runs for months), only their
// count, which the engine reads to decide when to scroll, and the recording flag that the data
// layout sets and every other layout clears, as the overview does.

#include "protocol/ProtocolView.h"

class CHeadlessView final : public IProtocolView {
public:
    void SetupColumns(int layout) override { recording_ = layout == kLayoutData; }
    void SetupMenuColumns() override { recording_ = false; }

    int rowCount() const override { return rows_; }
    int appendRow(std::string_view text) override;
    void setCellText(int, int, std::string_view) override {}
    std::string cellText(int, int) const override { return {}; }
    void deleteAllRows() override { rows_ = 0; }
    void scrollList() override {}

    void setLedState(int) override {}
    void setRecIndicator(bool) override {}
    bool isRecording() const override { return recording_; }

private:
    int rows_ = 0;
    bool recording_ = false;
};
