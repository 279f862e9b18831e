#pragma once
// A report-style list: a table view whose column header is a CHeaderCtrlEx (button titles on
// one or two lines). It owns the font that sizes the header, and offers the list styles the
// overview uses (full-row selection, one-click activation, underlined hot item).

#include <QFont>
#include <QTableView>

class CHeaderCtrlEx;

class CHeaderCtrlMy : public QTableView {
    Q_OBJECT
public:
    // Extended list styles, with the platform's bit values.
    enum ExtendedStyle : unsigned {
        FullRowSelect = 0x20,
        OneClickActivate = 0x40,
        UnderlineHot = 0x800,
    };

    explicit CHeaderCtrlMy(QWidget* parent = nullptr);
    ~CHeaderCtrlMy() override;

    CHeaderCtrlEx* headerEx() const { return header_; }

    // Creates the header font (29-point "MS Serif"), gives it to the header so that it is tall
    // enough for two lines of titles, and marks every column title owner-drawn.
    void setupButtonHeader();

    // Marks every current column title owner-drawn (through the model's header data).
    void markAllOwnerDrawn();

    void setExtendedStyle(unsigned style);
    unsigned extendedStyle() const { return extendedStyle_; }

    const QFont& headerFont() const { return headerFont_; }

    // Row under the mouse pointer while hot tracking is on, else -1.
    int hotRow() const { return hotRow_; }

protected:
    void changeEvent(QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void setHotRow(int row);

    CHeaderCtrlEx* header_; // owned by this view as its Qt child
    QFont headerFont_;
    unsigned extendedStyle_ = 0;
    int hotRow_ = -1;
};
