#pragma once

#include <filesystem>

#include "join/CharacterModel.h"
#include "join/ModelFile.h"

namespace zelk::join {

// The model in the file at path, read whole into memory, so that nothing
// another process does to the file afterwards (cutting it short, writing
// it anew) can reach a join that runs; see ReadModelFile. Raises
// ModelFileError naming the file and the system's reason.
CharacterModel LoadModelFile(const std::filesystem::path& path, const SourceChecksum* expected);

}  // namespace zelk::join
