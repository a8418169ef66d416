// compile-join-model PAIRS TRIPLES CHECKSUM OUT [RANKS]: compiles the
// counted text of the character model (character-bigrams.txt,
// character-trigrams.txt) into the model file that zelk-split --join and
// the browser edition map and use in place. CHECKSUM is the SHA-256 of the
// counts, which the file carries so that a program can tell a model of its
// own build. RANKS, when given, gets the characters from the most frequent
// to the least, one a line (ties in code point order).

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "base/Unicode.h"
#include "join/CharacterModel.h"
#include "join/ModelFile.h"

namespace {

std::string ReadFile(const char* path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) throw std::runtime_error(std::string("cannot read ") + path);
    std::ostringstream content;
    content << file.rdbuf();
    return content.str();
}

// Writes text to path by way of a temporary file, so that a failed run
// leaves no half file for the build to take as done.
void WriteFile(const std::string& path, const std::string& text) {
    const std::string temporary = path + ".part";
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.close();
    if (!out || std::rename(temporary.c_str(), path.c_str()) != 0) {
        throw std::runtime_error("cannot write " + path);
    }
}

std::string Ranks(const zelk::join::CharacterModelArrays& arrays) {
    std::vector<std::pair<std::uint32_t, char32_t>> byCount;  // (count, character)
    for (char32_t c = 0; c < arrays.bmpIds.size(); ++c)
        if (const std::uint32_t id = arrays.bmpIds[c]) byCount.emplace_back(arrays.counts[id], c);
    for (std::size_t i = 0; i < arrays.otherCharacters.size(); ++i)
        byCount.emplace_back(arrays.counts[arrays.otherIds[i]], arrays.otherCharacters[i]);
    std::sort(byCount.begin(), byCount.end(), [](const auto& a, const auto& b) {
        return a.first != b.first ? a.first > b.first : a.second < b.second;
    });
    std::string lines;
    for (const auto& [count, c] : byCount) {
        lines += zelk::base::Utf16ToUtf8(zelk::base::CodePointToUtf16(c)) + "\n";
    }
    return lines;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5 && argc != 6) {
        std::cerr << "usage: compile-join-model PAIRS TRIPLES CHECKSUM OUT [RANKS]\n";
        return 2;
    }
    try {
        using namespace zelk::join;
        const CharacterModelArrays arrays =
            CharacterModel::ParseArrays(ReadFile(argv[1]), ReadFile(argv[2]));
        WriteFile(argv[4], WriteModelFile(arrays, ParseChecksum(argv[3])));
        if (argc == 6) WriteFile(argv[5], Ranks(arrays));
    } catch (const std::exception& error) {
        std::cerr << "compile-join-model: " << error.what() << "\n";
        return 1;
    }
    return 0;
}
