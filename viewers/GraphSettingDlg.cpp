#include "viewers/GraphSettingDlg.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QVBoxLayout>

#include "controls/AnsiText.h"

namespace {

constexpr int kBoxRows = 7; // two columns of boxes

} // namespace

CGraphSettingDlg::CGraphSettingDlg(const CGraphSettingBoxes& boxes, QWidget* parent)
    : QDialog(parent), initial_(boxes)
{
    setWindowTitle(QString::fromLatin1(kGraphSettingsCaption));
    auto* group = new QGroupBox(QString::fromLatin1(kGraphSettingsHeading), this);
    auto* grid = new QGridLayout(group);
    for (int k = 0; k < kChannelCount; ++k) {
        const auto i = static_cast<std::size_t>(k);
        auto* box = new QCheckBox(fromAnsi(boxes.captions[i]), group);
        box->setChecked(boxes.checked[i]);
        box->setEnabled(boxes.enabled[i]);
        grid->addWidget(box, k % kBoxRows, k / kBoxRows);
        boxes_[i] = box;
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(buttons);
    setFixedSize(sizeHint());
}

CGraphSettingBoxes CGraphSettingDlg::boxes() const
{
    CGraphSettingBoxes result = initial_;
    for (std::size_t i = 0; i < boxes_.size(); ++i)
        result.checked[i] = boxes_[i]->isChecked();
    return result;
}
