// Writing a file: the one way every save, export and kept track reaches the disk. It decides per
// file whether a new file written beside it can replace it by a rename without losing anything
// the user has, or whether it must be written in place, and checks every write, flush and close.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

// Writes size bytes to path, following symbolic links to the file they name (a loop is refused).
// - A new file, or a regular file the user owns with no other name and no extended attributes
//   (an access control list or a security label among them), whose group the user may give a
//   file, in a folder the user may write: a new file is written beside it and renamed over it
//   once every byte is in, so a failed save leaves the old file whole; then the folder is synced
//   so that the rename survives a power cut. It keeps the old file's group and permissions.
// - A file the user may not write: refused with the reason opening it gives, left as it was.
// - Any other (another owner's, also in a sticky folder where no rename over it is allowed, one
//   with other names or extended attributes, in an unwritable folder, a FIFO, a device): written
//   in place, as opening it with "wb" would, so it keeps its owner, its group, its names, its
//   attributes and its kind.
// False with the reason on failure.
bool saveFile(const char* path, const void* bytes, std::size_t size, std::string* reason);

// The same for a container of bytes (std::string, std::vector<unsigned char>).
template <typename Bytes>
bool saveFile(const char* path, const Bytes& bytes, std::string* reason) {
    return saveFile(path, bytes.data(), bytes.size(), reason);
}

// One file of a save of several.
struct FileBytes {
    std::string path;
    const void* bytes;
    std::size_t size;
};

// Saves several files as one, each as saveFile would: every one is checked before any is
// written, and the new files of all that are renamed are written before any rename, so a refused
// file or a full disk leaves every file as it was. (Files written in place come after those new
// files; one failing there may leave the others written in place before it changed.) False with
// the reason and, in *failed, the index of the file that failed.
bool saveFiles(const std::vector<FileBytes>& files, std::string* reason, std::size_t* failed);
