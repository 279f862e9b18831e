#pragma once
// The overview view that fills the main window: the table of readings (one row per data line,
// or the lines of the instrument's set-up menu), the LED that blinks with every recorded row,
// the "REC" indicator, and the program's one serial port object. Its keyboard filter turns the
// user's keystrokes into instrument input (KeyboardFilter.h).
//
// The protocol engine decides what is shown and calls the operations below (through an adapter
// of the frame); the view only shows. Texts are Windows-1252 bytes. Everything runs on the
// window thread. The view registers itself as the application's mainView.

#include <QLabel>
#include <QRect>
#include <QWidget>
#include <string>
#include <string_view>
#include <vector>

#include "protocol/DialogueLink.h"
#include "app/view/KeyboardFilter.h"
#include "app/view/OverviewLayout.h"
#include "app/view/OverviewTableModel.h"
#include "controls/HeaderCtrlMy.h"
#include "controls/StatusLed.h"
#include "serial/ComPortObj.h"

class CVentoraView : public QWidget {
    Q_OBJECT
public:
    // The form: 685 x 321 dialog units; the table at 0,0 (682 x 232), the LED at 30,247 and
    // "REC" at 5,244 (24 x 14). A dialog unit is 6/4 pixels across and 13/8 pixels down.
    static QRect dialogUnitsToPixels(const QRect& units);

    explicit CVentoraView(QWidget* parent = nullptr);
    ~CVentoraView() override;

    // First display: places the controls, shrinks the window to fit the form (never enlarges
    // it) and lays out the table with layout 2. Runs by itself on the first show.
    void OnInitialUpdate();

    // Layout 0 (after the set-up menu), 1 (data: time and thirteen channels with their units;
    // starts recording) or 2 (initial). Removes every earlier column.
    void SetupColumns(int layout);
    // The single "Setup" column of the instrument's set-up menu; the recording flag stays.
    void SetupMenuColumns();

    // Rows. Appending returns the new row's index; cells out of range read as empty and are
    // not set.
    int rowCount() const;
    int appendRow(std::string_view text);
    int appendDataRow(std::string_view time, std::string_view data);
    void setCellText(int row, int column, std::string_view text);
    std::string cellText(int row, int column) const;
    void deleteAllRows();
    // Scrolls the table so that its newest row is in view; the horizontal position stays.
    void scrollList();
    // The dialogue's prompt row, the fourth from the end; -1 while there are fewer rows.
    int promptRow() const;
    void appendToPromptRow(std::string_view text);

    // Indicators. setLedState keeps the LED's colour and shape.
    void setLed(int colour, int state, int shape);
    void setLedState(int state);
    int ledState() const { return led_.state(); }
    void setRecIndicator(bool enabled);
    bool recIndicator() const { return rec_.isEnabled(); }
    bool isRecording() const { return recording_ != 0; }
    void setRecording(bool recording) { recording_ = recording ? 1 : 0; }
    // LED grey and "REC" disabled, as after a disconnect.
    void showLinkClosed();

    // The program's serial port; it lives and dies with the view.
    CComPortObj& comPort() { return comPort_; }
    // Where the keyboard filter reads the line type and the dialogue flag; none: keys do
    // nothing.
    void setDialogueLink(IDialogueLink* link) { dialogueLink_ = link; }
    // One keystroke of the main window (the event filter calls it for every key press).
    void handleKey(KeyKind kind, std::string_view typed);

    CHeaderCtrlMy& list() { return list_; }
    CStatusLed& led() { return led_; }
    QLabel& recLabel() { return rec_; }
    const COverviewTableModel& tableModel() const { return model_; }

    QSize sizeHint() const override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void applyLayout(const COverviewLayout& layout);
    void placeControls();
    void fitWindow();

    COverviewTableModel model_; // outlives the list that shows it
    QLabel rec_;
    CStatusLed led_;
    CHeaderCtrlMy list_;
    unsigned char recording_ = 0;
    CComPortObj comPort_;
    std::vector<std::pair<QWidget*, QRect>> initialPlaces_;
    IDialogueLink* dialogueLink_ = nullptr;
    bool initialised_ = false;
};
