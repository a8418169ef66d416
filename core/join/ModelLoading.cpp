#include "join/ModelLoading.h"

#include <memory>

#include "platform/Files.h"
#include "platform/Paths.h"

namespace zelk::join {

CharacterModel LoadModelFile(const std::filesystem::path& path, const SourceChecksum* expected) {
    auto file = std::make_shared<platform::FileBytes>();
    if (const std::error_code error = platform::ReadRegularFile(path, *file)) {
        const std::string reason = error == std::errc::not_supported
                                       ? "it is no regular file (a FIFO or a device)"
                                       : error.message();
        throw ModelFileError(
            ModelFault::Unreadable,
            "cannot read the join model " + platform::QuotedPath(path) + ": " + reason);
    }
    const std::span<const std::byte> bytes = file->bytes();
    return ReadModelFile(bytes, std::move(file), platform::PathText(path), expected);
}

}  // namespace zelk::join
