#include "export/NetcdfFile.h"

#include <malloc.h>
#include <netcdf.h>
#include <netcdf_mem.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

// Level 1 deflates a shuffled sample column nearly as well as level 9, at a fraction of the
// time.
constexpr int kDeflateLevel = 1;
constexpr std::size_t kInitialSize = 1 << 20;

// HDF5 allocates and frees a few chunk-sized buffers for every chunk it compresses. Past the
// default 128 KiB of free memory at the top of the heap, glibc gives it back to the system
// and faults it in again for the next chunk: that doubled the conversion's CPU time. The
// writing program keeps its heap instead.
void keepHeapTop()
{
    static const bool kept = [] {
        mallopt(M_TRIM_THRESHOLD, 256 << 20);
        mallopt(M_TOP_PAD, 16 << 20);
        return true;
    }();
    (void)kept;
}

} // namespace

CNetcdfFile::~CNetcdfFile()
{
    if (id_ >= 0)
        nc_abort(id_);
}

bool CNetcdfFile::check(int status)
{
    if (status != NC_NOERR && status_ == 0) {
        status_ = status;
        systemError_ = status > 0 ? status : errno;
    }
    return status_ == 0;
}

void CNetcdfFile::create(const std::string& name)
{
    keepHeapTop();
    errno = 0;
    check(nc_create_mem(name.c_str(), NC_NETCDF4, kInitialSize, &id_));
}

int CNetcdfFile::dimension(const char* name, std::size_t length)
{
    int id = -1;
    if (!failed()) {
        errno = 0;
        check(nc_def_dim(id_, name, length == 0 ? NC_UNLIMITED : length, &id));
    }
    return failed() ? -1 : id;
}

int CNetcdfFile::variable(const char* name, Type type, std::initializer_list<int> dimensions)
{
    int id = -1;
    if (failed())
        return -1;
    errno = 0;
    const std::vector<int> dims(dimensions);
    if (!check(nc_def_var(id_, name, type, static_cast<int>(dims.size()), dims.data(), &id)))
        return -1;
    int unlimited = -1;
    if (dims.empty() || !check(nc_inq_unlimdim(id_, &unlimited)) || dims.front() != unlimited)
        return failed() ? -1 : id;
    std::vector<std::size_t> chunk(dims.size(), chunkRows_);
    for (std::size_t k = 1; k < dims.size(); ++k)
        check(nc_inq_dimlen(id_, dims[k], &chunk[k]));
    check(nc_def_var_chunking(id_, id, NC_CHUNKED, chunk.data()));
    check(nc_def_var_deflate(id_, id, 1, 1, kDeflateLevel));
    // Rows are written a whole chunk at a time: a cache too small for a chunk makes each one
    // compressed and written at once instead of held in memory until the file closes. (A size
    // of 0 would leave the library's default, large enough to hold them all.)
    check(nc_set_var_chunk_cache(id_, id, 1, 1, 1.0f));
    return failed() ? -1 : id;
}

void CNetcdfFile::text(int variable, const char* name, std::string_view value)
{
    if (failed())
        return;
    errno = 0;
    check(nc_put_att_text(id_, variable, name, value.size(), value.data()));
}

void CNetcdfFile::number(int variable, const char* name, Type type, double value)
{
    if (failed())
        return;
    errno = 0;
    check(nc_put_att_double(id_, variable, name, type, 1, &value));
}

void CNetcdfFile::endDefinitions()
{
    if (failed())
        return;
    errno = 0;
    check(nc_enddef(id_));
}

void CNetcdfFile::write(int variable, std::size_t row, std::size_t rows, std::size_t width,
                        const void* values)
{
    if (failed() || rows == 0)
        return;
    int dimensions = 0;
    if (!check(nc_inq_varndims(id_, variable, &dimensions)))
        return;
    const std::size_t start[2] = {row, 0};
    const std::size_t count[2] = {rows, width};
    errno = 0;
    check(dimensions == 0 ? nc_put_var(id_, variable, values)
                          : nc_put_vara(id_, variable, start, count, values));
}

int CNetcdfFile::close(std::FILE* out)
{
    if (id_ < 0)
        return failed() ? 1 : 0;
    NC_memio image{};
    errno = 0;
    const int status = failed() ? nc_abort(id_) : nc_close_memio(id_, &image);
    id_ = -1;
    if (check(status) && std::fwrite(image.memory, 1, image.size, out) != image.size) {
        status_ = NC_EIO;
        systemError_ = errno != 0 ? errno : EIO;
    }
    std::free(image.memory);
    return failed() ? 1 : 0;
}

std::string CNetcdfFile::failureText() const
{
    return systemError_ != 0 ? std::strerror(systemError_) : nc_strerror(status_);
}
