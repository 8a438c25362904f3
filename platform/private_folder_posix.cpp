// The temporary files of POSIX systems. gnuplot opens every file by name, so each lies in a
// folder of the process's own inside the temporary directory (mode 0700, a fresh name): nobody
// else can rename, replace or add anything there, whatever the temporary directory allows. The
// folder is made when a file needs it and removed with its last file; a folder that has gone or
// is no longer ours is never used again.
#ifndef _WIN32

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <utility>
#include <vector>

#include "platform/platform.h"
#include "platform/temporary_files.h"

namespace rizari::platform {

namespace {

struct PrivateFolder {
    std::string directory;  // the temporary directory that holds it
    std::string path;       // without a separator at its end
    dev_t device;
    ino_t inode;

    bool stillOurs() const
    {
        struct stat st {};
        return lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == geteuid() &&
               (st.st_mode & 07777) == 0700 && st.st_dev == device && st.st_ino == inode;
    }
};

// The folders of the process, one per temporary directory in use. The record goes with the
// library (when the program ends or the module is unloaded); a plot destroyed after that still
// removes its files, and only an empty folder may stay.
struct Folders {
    std::mutex guard;
    std::vector<PrivateFolder> list;
};

Folders* folders = new Folders;

struct ReleaseFolders {
    ~ReleaseFolders() { delete std::exchange(folders, nullptr); }
} releaseFolders;

// The private folder in the directory, made when there is none that is still ours. The caller
// holds the guard.
const PrivateFolder* folderIn(Folders& all, const std::string& directory)
{
    const auto known = std::ranges::find(all.list, directory, &PrivateFolder::directory);
    if (known != all.list.end()) {
        if (known->stillOurs()) return &*known;
        temporary_files::forget(known->path);
        all.list.erase(known);
    }
    std::string path = directory + "rizariXXXXXX";
    if (!mkdtemp(path.data())) return nullptr;  // mode 0700
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0 || !(keepTemporaryFiles() || temporary_files::add(path, temporary_files::Kind::Folder))) {
        rmdir(path.c_str());
        return nullptr;
    }
    all.list.push_back({directory, std::move(path), st.st_dev, st.st_ino});
    return &all.list.back();
}

// Removes the folder that held the file once it is empty.
void removeFolderIfEmpty(Folders& all, const std::string& file)
{
    const std::size_t slash = file.rfind('/');
    if (slash == std::string::npos) return;
    const std::string_view parent(file.data(), slash);
    const std::lock_guard<std::mutex> lock(all.guard);
    const auto folder = std::ranges::find(all.list, parent, &PrivateFolder::path);
    if (folder == all.list.end() || rmdir(folder->path.c_str()) != 0) return;  // files are left in it
    temporary_files::forget(folder->path);
    all.list.erase(folder);
}

}  // namespace

std::optional<TemporaryFile> createTemporaryFile()
{
    const auto dir = temporaryDirectory();
    if (!dir || !folders) return std::nullopt;
    Folders& all = *folders;
    std::string name;
    int fd = -1;
    {
        const std::lock_guard<std::mutex> lock(all.guard);
        const PrivateFolder* folder = folderIn(all, *dir);
        if (!folder) return std::nullopt;
        name = folder->path + "/rizariXXXXXX";
        fd = mkstemp(name.data());  // creates the file with mode 0600
    }
    if (fd < 0) {
        const int error = errno;
        removeFolderIfEmpty(all, name);
        errno = error;
        return std::nullopt;
    }
    std::FILE* file = (keepTemporaryFiles() || temporary_files::add(name)) ? fdopen(fd, "w") : nullptr;
    if (!file) {
        close(fd);
        removeTemporaryFile(name);
        return std::nullopt;
    }
    return TemporaryFile{std::move(name), file};
}

int removeTemporaryFile(const std::string& path)
{
    temporary_files::forget(path);
    if (keepTemporaryFiles()) return 0;
    const bool removed = std::remove(path.c_str()) == 0;
    const int error = errno;
    if (folders) removeFolderIfEmpty(*folders, path);
    errno = error;
    return removed ? 0 : -1;
}

}  // namespace rizari::platform

#endif
