#include "viewers/SaveAs.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

#include "core/FileCopy.h"
#include "files/OutputFile.h"

namespace {

std::string extensionOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    const std::size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return {};
    return path.substr(dot + 1);
}

} // namespace

CFileDialogRequest saveAsRequest(ViewerFile kind, const std::string& appDirectory)
{
    if (kind == ViewerFile::Record)
        return {"ivt", "Ventora", appDirectory, "Instrument Ventora files (*.ivt;)|*.ivt||"};
    return {"lvt", "Ventora", appDirectory, "Logger Ventora files (*.lvt;)|*.lvt||"};
}

int copyFileOver(const std::string& source, const std::string& target)
{
    const int in = ::open(source.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0)
        return errno;
    COutputFile out;
    int error = out.open(target);
    if (error == 0) // the stream's buffer stays empty: the bytes go to its descriptor
        error = copyAllBytes(in, ::fileno(out.stream()));
    ::close(in);
    if (error == 0)
        return out.commit();
    out.discard();
    return error;
}

SaveAsResult saveFileAs(ViewerFile kind, const std::string& source, const std::string& appDirectory,
                        IFileDialog& dialog, IMessageBox& messages)
{
    const CFileDialogRequest request = saveAsRequest(kind, appDirectory);
    const std::string target = dialog.askSavePath(request);
    if (target.empty())
        return SaveAsResult::Cancelled;
    if (extensionOf(target) != request.defaultExtension) {
        messages.tell(kBadExtensionMessage, MessageIcon::Stop);
        return SaveAsResult::BadExtension;
    }
    // Copying a file over itself would only rewrite the same bytes; a hard link or another
    // spelling of the opened file's path counts as the same file.
    std::error_code ignored;
    if (std::filesystem::equivalent(source, target, ignored))
        return SaveAsResult::SameFile;
    if (copyFileOver(source, target) != 0) {
        messages.tell(kSaveFailedMessage, MessageIcon::Stop);
        return SaveAsResult::Failed;
    }
    return SaveAsResult::Saved;
}
