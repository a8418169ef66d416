#include "MappedFile.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace zelk {

MappedFile::MappedFile(const std::string& path) {
    const auto fail = [&](int error) {
        throw ModelFileError("cannot read the join model '" + path + "': " + std::strerror(error));
    };
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd == -1) fail(errno);
    struct stat status {};
    if (::fstat(fd, &status) != 0) {
        const int error = errno;
        ::close(fd);
        fail(error);
    }
    if (!S_ISREG(status.st_mode)) {
        ::close(fd);
        fail(S_ISDIR(status.st_mode) ? EISDIR : EINVAL);
    }
    size_ = static_cast<std::size_t>(status.st_size);
    if (size_ > 0) {
        void* mapped = ::mmap(nullptr, size_, PROT_READ, MAP_PRIVATE, fd, 0);
        if (mapped == MAP_FAILED) {
            const int error = errno;
            ::close(fd);
            fail(error);
        }
        data_ = static_cast<const std::byte*>(mapped);
    }
    ::close(fd);  // the mapping stays
}

MappedFile::~MappedFile() {
    if (data_) ::munmap(const_cast<std::byte*>(data_), size_);
}

CharacterModel MapModelFile(const std::string& path, const SourceChecksum* expected) {
    auto file = std::make_shared<const MappedFile>(path);
    const std::span<const std::byte> bytes = file->bytes();
    return ReadModelFile(bytes, std::move(file), path, expected);
}

}  // namespace zelk
