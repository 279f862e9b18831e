#include "app/frame/FileOpen.h"

CFileDialogRequest openFileRequest(const std::string& appDirectory)
{
    return {"ivt", "Ventora", appDirectory, std::string(kOpenFileFilter)};
}

std::string fileExtension(std::string_view path)
{
    std::size_t slash = path.find_last_of('/');
    std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    std::size_t dot = name.find_last_of('.');
    return dot == std::string_view::npos ? std::string() : std::string(name.substr(dot + 1));
}

ViewerKind viewerForPath(std::string_view path)
{
    const std::string extension = fileExtension(path);
    if (extension == "ivt")
        return ViewerKind::Record;
    if (extension == "lvt")
        return ViewerKind::Log;
    return ViewerKind::None;
}
