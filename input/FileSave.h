// Writing a file: the one way every save, export and kept track reaches the disk. It decides per
// file whether a new file written beside it can replace it by a rename without losing anything
// the user has, or whether it must be written in place, and checks every write, flush and close.
#pragma once

#include <cstddef>
#include <string>

// Writes size bytes to path, following symbolic links to the file they name (a loop is refused).
// - A new file, or a regular file the user owns with no other name, whose group the user may
//   give a file, in a folder the user may write: a new file is written beside it and renamed over
//   it once every byte is in, so a failed save leaves the old file whole. It keeps the old file's
//   permissions and group.
// - A file the user may not write: refused with the reason opening it gives, left as it was.
// - Any other (another owner's, also in a sticky folder where no rename over it is allowed, one
//   with other names, in an unwritable folder, a FIFO, a device): written in place, as opening it
//   with "wb" would, so it keeps its owner, its group, its names and its kind.
// False with the reason on failure.
bool saveFile(const char* path, const void* bytes, std::size_t size, std::string* reason);

// The same for a container of bytes (std::string, std::vector<unsigned char>).
template <typename Bytes>
bool saveFile(const char* path, const Bytes& bytes, std::string* reason) {
    return saveFile(path, bytes.data(), bytes.size(), reason);
}
