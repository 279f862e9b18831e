#include "tests/app/frame/FrameFixture.h"

#include <cstdlib>

#include "core/Unit.h"

FrameTest::FrameTest()
{
    for (int n = 1; n <= 3; ++n)
        mapCom(n, dir.file("missing-com" + std::to_string(n)));
    Unit::instance().reset();
    app = std::make_unique<CVentoraApp>(messages);
    app->appDirectory = dir.directory();
    app->connConfig.connMode = 0;
    frame = std::make_unique<CMainFrame>(*app);
    auto dialog = std::make_unique<CScriptedFileDialog>();
    fileDialog = dialog.get();
    frame->setFileDialog(std::move(dialog));
    frame->setFileViewers(&viewers);
    frame->show();
}

FrameTest::~FrameTest()
{
    frame.reset();
    app.reset();
    Unit::instance().reset();
}

void FrameTest::mapCom(int n, const std::string& path)
{
    ::setenv(("VENTORA_COM" + std::to_string(n)).c_str(), path.c_str(), 1);
}

void FrameTest::startAutodetect(bool deleteRecording)
{
    messages.answer(true);
    messages.answer(deleteRecording);
    frame->OnAutodetect();
}

void FrameTest::disconnect()
{
    messages.answer(true);
    frame->OnDisconnect();
}

std::vector<std::string> FrameTest::firstColumn()
{
    std::vector<std::string> texts;
    for (int row = 0; row < rows(); ++row)
        texts.push_back(cell(row, 0));
    return texts;
}
