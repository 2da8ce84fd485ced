// Writing a file: following links, choosing between a rename and a write in place, the checked
// writes of both, and the folder sync after a rename.
#include "input/FileSave.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <set>

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

// Extended attributes (an access control list and a security label are stored as such) would
// not pass to a new file. A file system without them has none; one that cannot say may have some.
bool hasExtendedAttributes(const std::string& path) {
    const ssize_t size = listxattr(path.c_str(), nullptr, 0);
    return size > 0 || (size < 0 && errno != ENOTSUP);
}

// A rename replaces the file's inode: it keeps everything the user has only when the new file
// can be the user's with the old one's group and permissions, no other name points at the old
// one and it carries nothing more. The user's own file may be replaced in any folder they may
// write, sticky or not.
bool renameKeepsEverything(const std::string& path, const struct stat& file) {
    return S_ISREG(file.st_mode) && file.st_uid == geteuid() && file.st_nlink == 1 && userHasGroup(file.st_gid) &&
           faccessat(AT_FDCWD, folderOf(path).c_str(), W_OK | X_OK, AT_EACCESS) == 0 && !hasExtendedAttributes(path);
}

// How one file of a save reaches the disk.
struct Plan {
    std::string target;     // the file written, links followed
    bool exists = false;    // the target is there, old its status
    struct stat old {};
    bool inPlace = false;   // written in place rather than beside and renamed
    std::string temporary;  // the new file beside the target once made; "" before and after
};

// The permissions and group of the new file that replaces plan's target: the old file's, or for
// a file new to the folder the usual permissions under the umask (the temporary file starts
// readable by its owner only). The group goes first, since a change of group clears a
// set-group-ID bit.
bool takeGroupAndMode(int fd, const Plan& plan) {
    const mode_t mask = umask(0);
    umask(mask);
    return (!plan.exists || fchown(fd, -1, plan.old.st_gid) == 0) &&
           fchmod(fd, plan.exists ? plan.old.st_mode & 07777 : 0666 & ~mask) == 0;
}

// Writes, flushes, syncs (a regular file only: a pipe or a device has nothing to sync) and
// closes, checking each; errno of the first failure in *error. newFile: the plan whose group and
// permissions the file takes once every byte is in (a write clears a set-group-ID bit), or null.
bool writeAndClose(std::FILE* file, const void* bytes, std::size_t size, bool sync, const Plan* newFile, int* error) {
    bool ok = std::fwrite(bytes, 1, size, file) == size && std::fflush(file) == 0 &&
              (!newFile || takeGroupAndMode(fileno(file), *newFile)) && (!sync || fsync(fileno(file)) == 0);
    if (!ok) *error = errno;
    if (std::fclose(file) != 0 && ok) {
        ok = false;
        *error = errno;
    }
    return ok;
}

// Decides how path is written; false with the reason for a file the save refuses.
bool planSave(const std::string& path, Plan* plan, std::string* reason) {
    plan->target = followLinks(path);
    if (plan->target.empty()) {
        *reason = std::strerror(ELOOP);
        return false;
    }
    if (stat(plan->target.c_str(), &plan->old) != 0) {
        if (errno == ENOENT) return true;
        *reason = std::strerror(errno);
        return false;
    }
    plan->exists = true;
    if (!userMayWrite(plan->target)) {
        *reason = std::strerror(errno);
        return false;
    }
    plan->inPlace = !renameKeepsEverything(plan->target, plan->old);
    return true;
}

bool writeInPlace(const Plan& plan, const void* bytes, std::size_t size, std::string* reason) {
    std::FILE* file = std::fopen(plan.target.c_str(), "wb");
    int error = errno;
    if (!file || !writeAndClose(file, bytes, size, S_ISREG(plan.old.st_mode), nullptr, &error)) {
        *reason = std::strerror(error);
        return false;
    }
    return true;
}

// The new file beside the target, every byte in and synced (never across a file system).
bool writeBeside(Plan* plan, const void* bytes, std::size_t size, std::string* reason) {
    std::string temporary = plan->target + ".XXXXXX";
    const int fd = mkstemp(&temporary[0]);
    if (fd < 0) {
        *reason = std::string("cannot create a file in its folder: ") + std::strerror(errno);
        return false;
    }
    plan->temporary = temporary;
    std::FILE* file = fdopen(fd, "wb");
    int error = errno;
    if (!file) close(fd);
    if (!file || !writeAndClose(file, bytes, size, true, plan, &error)) {
        *reason = std::strerror(error);
        return false;
    }
    return true;
}

// Syncs the folder so that the renames in it are on the disk; a file system that cannot sync a
// folder (EINVAL) has nothing more to do.
bool syncFolder(const std::string& folder, std::string* reason) {
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    const bool ok = fd >= 0 && (fsync(fd) == 0 || errno == EINVAL);
    const int error = errno;
    if (fd >= 0) close(fd);
    if (!ok) *reason = std::string("cannot sync its folder: ") + std::strerror(error);
    return ok;
}

void removeTemporaries(std::vector<Plan>& plans) {
    for (Plan& plan : plans) {
        if (!plan.temporary.empty()) unlink(plan.temporary.c_str());
        plan.temporary.clear();
    }
}

}  // namespace

bool saveFiles(const std::vector<FileBytes>& files, std::string* reason, std::size_t* failed) {
    std::vector<Plan> plans(files.size());
    const auto fail = [&](std::size_t k) {
        removeTemporaries(plans);
        *failed = k;
        return false;
    };
    for (std::size_t k = 0; k < files.size(); ++k)
        if (!planSave(files[k].path, &plans[k], reason)) return fail(k);
    for (std::size_t k = 0; k < files.size(); ++k)
        if (!plans[k].inPlace && !writeBeside(&plans[k], files[k].bytes, files[k].size, reason))
            return fail(k);
    for (std::size_t k = 0; k < files.size(); ++k)
        if (plans[k].inPlace && !writeInPlace(plans[k], files[k].bytes, files[k].size, reason))
            return fail(k);
    std::set<std::string> renamedIn;  // folders to sync
    for (std::size_t k = 0; k < files.size(); ++k) {
        if (plans[k].inPlace) continue;
        if (std::rename(plans[k].temporary.c_str(), plans[k].target.c_str()) != 0) {
            *reason = std::strerror(errno);
            return fail(k);
        }
        plans[k].temporary.clear();
        renamedIn.insert(folderOf(plans[k].target));
    }
    for (std::size_t k = 0; k < files.size(); ++k) {
        const std::string folder = folderOf(plans[k].target);
        if (!plans[k].inPlace && renamedIn.erase(folder) && !syncFolder(folder, reason)) return fail(k);
    }
    return true;
}

bool saveFile(const char* path, const void* bytes, std::size_t size, std::string* reason) {
    std::size_t failed;
    return saveFiles({{path, bytes, size}}, reason, &failed);
}
