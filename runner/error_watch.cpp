#include "runner/error_watch.h"

#include <cstdio>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>
#include <windows.h>

#include <string>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace rizari::runner {
namespace {

#ifdef _WIN32
int dupFd(int fd) { return _dup(fd); }
int dup2Fd(int from, int to) { return _dup2(from, to); }
int closeFd(int fd) { return _close(fd); }
long long seekFd(int fd, long long offset, int origin) { return _lseeki64(fd, offset, origin); }
int readFd(int fd, char* buffer, unsigned size) { return _read(fd, buffer, size); }
int writeFd(int fd, const char* data, unsigned size) { return _write(fd, data, size); }
void emptyFd(int fd) { _chsize_s(fd, 0); }

// A file in the temporary folder that goes when it is closed.
int scratchFile()
{
    wchar_t folder[MAX_PATH + 1];
    wchar_t path[MAX_PATH + 1];
    if (GetTempPathW(MAX_PATH + 1, folder) == 0 || GetTempFileNameW(folder, L"rzw", 0, path) == 0) return -1;
    int fd = -1;
    _wsopen_s(&fd, path, _O_RDWR | _O_BINARY | _O_TEMPORARY | _O_NOINHERIT, _SH_DENYNO, _S_IREAD | _S_IWRITE);
    if (fd < 0) DeleteFileW(path);
    return fd;
}
#else
int dupFd(int fd) { return dup(fd); }
int dup2Fd(int from, int to) { return dup2(from, to); }
int closeFd(int fd) { return close(fd); }
long long seekFd(int fd, long long offset, int origin) { return lseek(fd, offset, origin); }
int readFd(int fd, char* buffer, unsigned size) { return static_cast<int>(read(fd, buffer, size)); }
int writeFd(int fd, const char* data, unsigned size) { return static_cast<int>(write(fd, data, size)); }
void emptyFd(int fd)
{
    if (ftruncate(fd, 0) != 0) return;  // a file that cannot be emptied keeps its text
}

// An unnamed file: tmpfile() removes its name at once. The descriptor is a duplicate, marked to
// close in the engine and other children.
int scratchFile()
{
    std::FILE* file = std::tmpfile();
    if (!file) return -1;
    const int fd = fcntl(fileno(file), F_DUPFD_CLOEXEC, 3);
    std::fclose(file);
    return fd;
}
#endif

}  // namespace

ErrorWatch::~ErrorWatch()
{
    if (scratch_ >= 0) closeFd(scratch_);
}

bool ErrorWatch::begin()
{
    if (scratch_ < 0) scratch_ = scratchFile();
    if (scratch_ < 0) return false;
    std::fflush(stderr);
    saved_ = dupFd(2);
    if (dup2Fd(scratch_, 2) < 0) {
        if (saved_ >= 0) closeFd(saved_);
        return false;
    }
    return true;
}

bool ErrorWatch::end()
{
    std::fflush(stderr);
    if (saved_ >= 0) {
        dup2Fd(saved_, 2);
        closeFd(saved_);
    } else {
        closeFd(2);
    }
    // Descriptor 2 shared the scratch file's offset: it stands at the end of what was written.
    const long long written = seekFd(scratch_, 0, SEEK_CUR);
    if (written <= 0) return false;
    seekFd(scratch_, 0, SEEK_SET);
    char buffer[4096];
    for (long long left = written; left > 0;) {
        const int got = readFd(scratch_, buffer, static_cast<unsigned>(left < static_cast<long long>(sizeof buffer) ? left : sizeof buffer));
        if (got <= 0) break;
        left -= got;
        for (int at = 0; at < got;) {
            const int put = writeFd(2, buffer + at, static_cast<unsigned>(got - at));
            if (put <= 0) break;
            at += put;
        }
    }
    seekFd(scratch_, 0, SEEK_SET);
    emptyFd(scratch_);
    return true;
}

}  // namespace rizari::runner
