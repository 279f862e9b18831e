#include "bench/support/BenchFolder.h"

#include <cstdio>
#include <cstdlib>
#include <stdlib.h>

CBenchFolder::CBenchFolder(const std::string& prefix,
                           const std::function<bool(const CBenchFolder&)>& fill)
{
    std::string pattern = (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
    if (!::mkdtemp(pattern.data())) {
        std::perror(pattern.c_str());
        std::abort();
    }
    folder_ = pattern;
    if (fill && !fill(*this)) {
        std::fprintf(stderr, "cannot write the benchmark's files in %s\n", pattern.c_str());
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
        std::abort();
    }
}

CBenchFolder::~CBenchFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}
