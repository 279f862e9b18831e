#pragma once
// A temporary folder for a benchmark's input and output files, removed with everything in it
// when the object goes away.

#include <filesystem>
#include <functional>
#include <string>

class CBenchFolder {
public:
    // Makes <temporary folder>/<prefix>-XXXXXX and has fill write the files into it. The
    // program ends when the folder cannot be made or fill returns false: no figure measured
    // on missing input would mean anything.
    explicit CBenchFolder(const std::string& prefix,
                          const std::function<bool(const CBenchFolder&)>& fill = {});
    ~CBenchFolder();
    CBenchFolder(const CBenchFolder&) = delete;
    CBenchFolder& operator=(const CBenchFolder&) = delete;

    std::string path(const std::string& name) const { return (folder_ / name).string(); }
    // The folder with a trailing separator, as the program's appDirectory is.
    std::string directory() const { return folder_.string() + "/"; }

private:
    std::filesystem::path folder_;
};
