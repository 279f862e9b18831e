// viewer-shots: writes the README's pictures of the file viewers.
//   viewer-shots DIR RECORD.ivt LOG.lvt
// DIR gets viewer-record.png (as opened), viewer-record-zoomed.png (after a rubber band and
// Zoom +), viewer-record-settings.png (after Graph Settings: all speed channels),
// graph-settings.png (the dialog), viewer-log.png, viewer-log-block3.png (third block chosen) and
// icon-button-states.png (normal, hover, pressed, disabled). A missing LOG.lvt is first written
// with three days of records from three instruments.
#include <QApplication>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QTimer>
#include <QVBoxLayout>
#include <cstdio>
#include <filesystem>
#include <string>

#include "bench/support/NoFileDialog.h"
#include "chart/GraphPanel.h"
#include "chart/GraphWnd.h"
#include "controls/BarIcons.h"
#include "controls/IconButton.h"
#include "controls/QtMessageBox.h"
#include "tools/demo-files/DemoFiles.h"
#include "viewers/DispayLoggedDataDlg.h"
#include "viewers/GraphSettingDlg.h"
#include "viewers/ViewFileDlg.h"

namespace {

void sendMouse(QWidget* w, QEvent::Type type, QPoint pos, Qt::MouseButtons buttons)
{
    QMouseEvent event(type, QPointF(pos), QPointF(w->mapToGlobal(pos)),
                      type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons,
                      Qt::NoModifier);
    QApplication::sendEvent(w, &event);
}

bool save(QWidget& widget, const std::string& path)
{
    QApplication::processEvents();
    const bool ok = widget.grab().save(QString::fromStdString(path));
    std::printf("%s %s\n", ok ? "wrote" : "could not write", path.c_str());
    return ok;
}

void band(CGraphPanel* panel, QRect r)
{
    sendMouse(panel, QEvent::MouseButtonPress, r.topLeft(), Qt::LeftButton);
    sendMouse(panel, QEvent::MouseMove, r.center(), Qt::LeftButton);
    sendMouse(panel, QEvent::MouseMove, r.bottomRight(), Qt::LeftButton);
    sendMouse(panel, QEvent::MouseButtonRelease, r.bottomRight(), Qt::NoButton);
}

bool recordShots(const std::string& dir, const std::string& file, IMessageBox& messages,
                 IFileDialog& files)
{
    CViewFileDlg viewer({file, dir + "/", messages, files, nullptr});
    viewer.resize(1200, 800);
    viewer.show();
    bool ok = save(viewer, dir + "/viewer-record.png");
    CGraphPanel* panel = viewer.graph()->panel();
    const QSize s = panel->size();
    band(panel, QRect(QPoint(s.width() * 40 / 100, s.height() / 10),
                      QPoint(s.width() * 46 / 100, s.height() * 9 / 10)));
    viewer.OnZoomIn();
    ok = save(viewer, dir + "/viewer-record-zoomed.png") && ok;
    viewer.OnZoomOut();
    // Graph Settings: the wind components and speeds instead of the first four channels.
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<CGraphSettingDlg*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        for (int k = 0; k < 13; ++k)
            dialog->box(k).setChecked(k == 0 || (k >= 6 && k <= 9));
        dialog->adjustSize();
        ok = save(*dialog, dir + "/graph-settings.png") && ok;
        dialog->accept();
    });
    viewer.OnGraphSettings();
    ok = save(viewer, dir + "/viewer-record-settings.png") && ok;
    return ok;
}

bool logShots(const std::string& dir, const std::string& file, IMessageBox& messages,
              IFileDialog& files)
{
    CDispayLoggedDataDlg viewer({file, dir + "/", messages, files, nullptr});
    viewer.resize(1200, 800);
    viewer.show();
    bool ok = save(viewer, dir + "/viewer-log.png");
    viewer.OnBlockChoice(2);
    ok = save(viewer, dir + "/viewer-log-block3.png") && ok;
    return ok;
}

bool buttonShots(const std::string& dir)
{
    QWidget strip;
    auto* row = new QHBoxLayout(&strip);
    const char* names[] = {"normal", "hover", "pressed", "disabled"};
    CIconButton* buttons[4];
    for (int i = 0; i < 4; ++i) {
        auto* column = new QVBoxLayout;
        buttons[i] = new CIconButton(&strip);
        buttons[i]->setIcons(barIcon(BarIcon::CopyGraph));
        column->addWidget(buttons[i], 0, Qt::AlignHCenter);
        column->addWidget(new QLabel(names[i], &strip), 0, Qt::AlignHCenter);
        row->addLayout(column);
    }
    strip.show();
    strip.activateWindow();
    QApplication::processEvents();
    sendMouse(buttons[1], QEvent::MouseMove, QPoint(5, 5), Qt::NoButton);
    buttons[2]->setDown(true);
    buttons[3]->setEnabled(false);
    QApplication::processEvents();
    // Twice the size, pixel for pixel, so that the one-pixel frames can be seen.
    const QImage image = strip.grab().toImage();
    const std::string path = dir + "/icon-button-states.png";
    const bool ok = image.scaled(image.size() * 2).save(QString::fromStdString(path));
    std::printf("%s %s\n", ok ? "wrote" : "could not write", path.c_str());
    return ok;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "usage: viewer-shots DIR RECORD.ivt LOG.lvt\n");
        return 2;
    }
    if (!std::filesystem::exists(argv[3]) && !writeDemoLogFile(argv[3], 3 * 1440, 3)) {
        std::fprintf(stderr, "cannot write %s\n", argv[3]);
        return 1;
    }
    CQtMessageBox messages(QStringLiteral("viewer-shots"));
    CNoFileDialog files;
    bool ok = recordShots(argv[1], argv[2], messages, files);
    ok = logShots(argv[1], argv[3], messages, files) && ok;
    ok = buttonShots(argv[1]) && ok;
    return ok ? 0 : 1;
}
