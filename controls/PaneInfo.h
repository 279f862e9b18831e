#pragma once
// The settings of one pane of the coloured status bar: its four colours, its enabled and
// disabled texts (Windows-1252 bytes; in picture mode the name of a picture), its font, its
// mode word (controls/PaneMode.h) with the progress control that progress mode owns, and its
// scroll offsets.

#include <QColor>
#include <QFont>
#include <QPixmap>
#include <QPointer>
#include <QProgressBar>
#include <cstdint>
#include <memory>
#include <string>

#include "controls/PaneMode.h"

class XPaneInfo {
public:
    // Default colours and font are taken from the bar's palette and the application font.
    explicit XPaneInfo(QWidget* bar);
    ~XPaneInfo();
    XPaneInfo(XPaneInfo&&) noexcept;
    XPaneInfo& operator=(XPaneInfo&&) noexcept;

    // Colour values are 0x00BBGGRR.
    static QColor fromColorRef(std::int32_t colorRef);

    // Entering progress mode creates the progress control (smooth with panemode::kSmooth);
    // leaving it destroys the control; staying in progress mode keeps the existing one.
    void setMode(std::uint32_t mode);
    std::uint32_t mode() const { return mode_; }

    // A disabled background of -1 means the system's menu colour.
    void setColors(std::int32_t enabledBack, std::int32_t disabledBack = -1);
    void setTextColors(std::int32_t enabledText, std::int32_t disabledText);
    void setTexts(std::string enabledText, std::string disabledText);
    void setFont(const QFont& font) { font_ = font; }

    QColor backColor(bool enabled) const { return enabled ? enabledBack_ : disabledBack_; }
    QColor textColor(bool enabled) const { return enabled ? enabledText_ : disabledText_; }
    const std::string& text(bool enabled) const { return enabled ? enabledTitle_ : disabledTitle_; }
    const QFont& font() const { return font_; }

    QProgressBar* progressControl() const { return progress_.get(); }
    bool smoothProgress() const { return progress_ && (mode_ & panemode::kSmooth); }

    int scrollX() const { return scrollX_; }
    int scrollY() const { return scrollY_; }
    void setScroll(int x, int y)
    {
        scrollX_ = x;
        scrollY_ = y;
    }

    // The named picture (file or resource path), loaded once per name; null when missing.
    const QPixmap& picture(const std::string& name);

private:
    QPointer<QWidget> bar_;
    QColor disabledText_;
    QColor enabledText_;
    QColor disabledBack_;
    QColor enabledBack_;
    std::string disabledTitle_;
    std::string enabledTitle_;
    std::unique_ptr<QProgressBar> progress_;
    QFont font_;
    std::uint32_t mode_;
    int scrollX_ = 0;
    int scrollY_ = 0;
    std::string pictureName_;
    QPixmap picture_;
};
