#pragma once
// What the protocol engine needs of the overview view: its table layouts, rows and cells, the
// LED and the "REC" indicator, and its recording flag. The engine decides what is shown; the
// view only shows it. Texts are Windows-1252 bytes.

#include <string>
#include <string_view>

class IProtocolView {
public:
    // Table layouts.
    static constexpr int kLayoutAfterMenu = 0;
    static constexpr int kLayoutData = 1;    // time column and the thirteen channels; records
    static constexpr int kLayoutInitial = 2;

    // LED states.
    static constexpr int kLedLit = 0;
    static constexpr int kLedDark = 1;
    static constexpr int kLedOff = 2;

    virtual ~IProtocolView() = default;

    virtual void SetupColumns(int layout) = 0;
    // The single "Setup" column of the instrument's set-up menu.
    virtual void SetupMenuColumns() = 0;

    virtual int rowCount() const = 0;
    // Appends a row whose column 0 holds text; returns its index.
    virtual int appendRow(std::string_view text) = 0;
    virtual void setCellText(int row, int column, std::string_view text) = 0;
    virtual std::string cellText(int row, int column) const = 0;
    virtual void deleteAllRows() = 0;
    // Scrolls the table so that its newest row is in view.
    virtual void scrollList() = 0;

    virtual void setLedState(int state) = 0;
    virtual void setRecIndicator(bool enabled) = 0;
    // True while data rows are recorded (set by the data layout, cleared by the others).
    virtual bool isRecording() const = 0;
};
