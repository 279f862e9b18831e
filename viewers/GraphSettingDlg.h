#pragma once
// "Graph Settings": "Select graph to display" over one check box per channel, OK and Cancel.

#include <QCheckBox>
#include <QDialog>
#include <array>

#include "core/Channels.h"
#include "viewers/GraphSettings.h"

class CGraphSettingDlg : public QDialog {
    Q_OBJECT
public:
    CGraphSettingDlg(const CGraphSettingBoxes& boxes, QWidget* parent = nullptr);

    // The boxes as the user left them.
    CGraphSettingBoxes boxes() const;
    QCheckBox& box(int channel) { return *boxes_[static_cast<std::size_t>(channel)]; }

private:
    CGraphSettingBoxes initial_;
    std::array<QCheckBox*, kChannelCount> boxes_{};
};
