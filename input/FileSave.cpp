// Writing a file: following links, choosing between a rename and a write in place, and the
// checked writes of both.
#include "input/FileSave.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The file a save to path writes: path itself, or the end of the chain of symbolic links it
// starts (which need not exist yet). "" for a chain too long to be anything but a loop, which
// the save refuses as opening the path would; renamed over, the link would be lost.
std::string followLinks(std::string path) {
    for (int hop = 0; hop < 40; ++hop) {
        struct stat info;
        if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
        char target[PATH_MAX];
        const ssize_t length = readlink(path.c_str(), target, sizeof target - 1);
        if (length < 0) return path;
        target[length] = '\0';
        path = target[0] == '/' ? std::string(target) : folderOf(path) + "/" + target;
    }
    return "";
}

bool userMayWrite(const std::string& path) { return faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0; }

// Whether the user may give a file of theirs this group (chown lets an owner pick only among
// their own groups).
bool userHasGroup(gid_t group) {
    if (geteuid() == 0 || getegid() == group) return true;
    std::vector<gid_t> groups(static_cast<std::size_t>(NGROUPS_MAX) + 1);
    const int count = getgroups(static_cast<int>(groups.size()), groups.data());
    for (int k = 0; k < count; ++k)
        if (groups[k] == group) return true;
    return false;
}

// A rename replaces the file's inode: it keeps everything the user has only when the new file
// can be the user's with the old one's group and permissions and no other name points at the
// old one. The user's own file may be replaced in any folder they may write, sticky or not.
bool renameKeepsEverything(const std::string& path, const struct stat& file) {
    return S_ISREG(file.st_mode) && file.st_uid == geteuid() && file.st_nlink == 1 && userHasGroup(file.st_gid) &&
           faccessat(AT_FDCWD, folderOf(path).c_str(), W_OK | X_OK, AT_EACCESS) == 0;
}

// Writes, flushes, syncs (a regular file only: a pipe or a device has nothing to sync) and
// closes, checking each; errno of the first failure in *error.
bool writeAndClose(std::FILE* file, const void* bytes, std::size_t size, bool sync, int* error) {
    bool ok = std::fwrite(bytes, 1, size, file) == size && std::fflush(file) == 0 && (!sync || fsync(fileno(file)) == 0);
    if (!ok) *error = errno;
    if (std::fclose(file) != 0 && ok) {
        ok = false;
        *error = errno;
    }
    return ok;
}

bool writeInPlace(const std::string& path, const void* bytes, std::size_t size, bool regular, std::string* reason) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    int error = errno;
    if (!file || !writeAndClose(file, bytes, size, regular, &error)) {
        *reason = std::strerror(error);
        return false;
    }
    return true;
}

// A new file beside path, renamed over it only once every byte is in. old: the file it replaces,
// or null for a new one (the usual permissions under the umask; the temporary file starts
// readable by its owner only). The rename never crosses a file system.
bool writeBesideAndRename(const std::string& path, const struct stat* old, const void* bytes, std::size_t size,
                          std::string* reason) {
    std::string temporary = path + ".XXXXXX";
    const int fd = mkstemp(&temporary[0]);
    if (fd < 0) {
        *reason = std::string("cannot create a file in its folder: ") + std::strerror(errno);
        return false;
    }
    const mode_t mask = umask(0);
    umask(mask);
    bool ok = fchmod(fd, old ? old->st_mode & 07777 : 0666 & ~mask) == 0 && (!old || fchown(fd, -1, old->st_gid) == 0);
    int error = errno;
    std::FILE* file = ok ? fdopen(fd, "wb") : nullptr;
    if (!file) {
        if (ok) error = errno;
        close(fd);
        ok = false;
    } else {
        ok = writeAndClose(file, bytes, size, true, &error);
    }
    if (ok && std::rename(temporary.c_str(), path.c_str()) != 0) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        unlink(temporary.c_str());
        *reason = std::strerror(error);
    }
    return ok;
}

}  // namespace

bool saveFile(const char* path, const void* bytes, std::size_t size, std::string* reason) {
    const std::string target = followLinks(path);
    if (target.empty()) {
        *reason = std::strerror(ELOOP);
        return false;
    }
    struct stat info;
    if (stat(target.c_str(), &info) != 0) {
        if (errno == ENOENT) return writeBesideAndRename(target, nullptr, bytes, size, reason);
        *reason = std::strerror(errno);
        return false;
    }
    if (!userMayWrite(target)) {
        *reason = std::strerror(errno);
        return false;
    }
    if (renameKeepsEverything(target, info)) return writeBesideAndRename(target, &info, bytes, size, reason);
    return writeInPlace(target, bytes, size, S_ISREG(info.st_mode), reason);
}
