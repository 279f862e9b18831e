#include "controls/PaneInfo.h"

#include <QApplication>

#include "controls/AnsiText.h"
#include "controls/PaneMode.h"

namespace {

QColor menuColour(const QWidget* bar)
{
    return bar ? bar->palette().color(QPalette::Window)
               : QApplication::palette().color(QPalette::Window);
}

} // namespace

XPaneInfo::XPaneInfo(QWidget* bar) : bar_(bar), font_(QApplication::font()), mode_(panemode::kText)
{
    const QPalette palette = bar ? bar->palette() : QApplication::palette();
    enabledBack_ = palette.color(QPalette::Window);
    disabledBack_ = enabledBack_;
    enabledText_ = palette.color(QPalette::WindowText);
    disabledText_ =
        QColor(enabledBack_.red() / 2, enabledBack_.green() / 2, enabledBack_.blue() / 2);
}

XPaneInfo::~XPaneInfo() = default;
XPaneInfo::XPaneInfo(XPaneInfo&&) noexcept = default;
XPaneInfo& XPaneInfo::operator=(XPaneInfo&&) noexcept = default;

QColor XPaneInfo::fromColorRef(std::int32_t colorRef)
{
    const auto value = static_cast<std::uint32_t>(colorRef);
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

void XPaneInfo::setMode(std::uint32_t mode)
{
    const bool progress = panemode::kindOf(mode) == panemode::Kind::Progress;
    if (!progress) {
        progress_.reset();
    } else if (!progress_) {
        progress_ = std::make_unique<QProgressBar>(bar_);
        progress_->setTextVisible(false);
        progress_->show();
    }
    if (progress_)
        // Qt draws one kind of bar; the block look is kept as a property for styles that use it.
        progress_->setProperty("smooth", (mode & panemode::kSmooth) != 0);
    mode_ = mode;
}

void XPaneInfo::setColors(std::int32_t enabledBack, std::int32_t disabledBack)
{
    enabledBack_ = fromColorRef(enabledBack);
    disabledBack_ = disabledBack == -1 ? menuColour(bar_) : fromColorRef(disabledBack);
}

void XPaneInfo::setTextColors(std::int32_t enabledText, std::int32_t disabledText)
{
    enabledText_ = fromColorRef(enabledText);
    disabledText_ = fromColorRef(disabledText);
}

void XPaneInfo::setTexts(std::string enabledText, std::string disabledText)
{
    enabledTitle_ = std::move(enabledText);
    disabledTitle_ = std::move(disabledText);
}

const QPixmap& XPaneInfo::picture(const std::string& name)
{
    if (name != pictureName_) {
        pictureName_ = name;
        picture_ = name.empty() ? QPixmap() : QPixmap(fromAnsi(name));
    }
    return picture_;
}
