#include "common/replaced_file.h"

#include <sys/stat.h>
#include <unistd.h>

namespace dotwall {

std::filesystem::path linkTarget(const std::filesystem::path& path) {
    constexpr int kMostHops = 40;  // as the system follows them; a loop then fails as ELOOP
    std::filesystem::path target = path;
    std::error_code error;
    for (int hop = 0; hop < kMostHops && std::filesystem::is_symlink(target, error); ++hop) {
        const std::filesystem::path next = std::filesystem::read_symlink(target, error);
        if (error) {
            break;
        }
        target = next.is_absolute() ? next : target.parent_path() / next;
    }
    return target;
}

bool isReadOnly(const std::filesystem::path& path) {
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode) &&
           ((status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 ||
            ::access(path.c_str(), W_OK) != 0);
}

bool copyModeAndOwner(const std::filesystem::path& path, int file) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        return true;  // a new file: its mode comes from the umask
    }
    // Before the mode: a change of owner clears the set-user and set-group bits.
    [[maybe_unused]] const int ownerKept = ::fchown(file, status.st_uid, status.st_gid);
    return ::fchmod(file, status.st_mode & 07777) == 0;
}

}  // namespace dotwall
