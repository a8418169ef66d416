// The join model as a file: written from counts, mapped and used in place,
// and every damaged or foreign file refused with a message that names it.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <fstream>
#include <map>
#include <sstream>

#include "TestFolder.h"
#include "base/Checksum.h"
#include "base/CodePage.h"
#include "builtin/DefaultDictionary.h"
#include "join/Joiner.h"
#include "join/ModelLoading.h"

namespace zelk::join {
namespace {

using base::AnsiToUtf16;
using base::DictionaryEntry;
using builtin::DefaultDictionaryEntries;

const std::string kPairs = "好\t1000\n女\t300\t子5\n子\t300\n男\t300\t女5\n少\t300\t男5\n𠮷\t7\n";
const std::string kTriples = "少男\t好5\n";
const SourceChecksum kSource = ParseChecksum(std::string(64, 'a'));

std::string ModelBytes() {
    return WriteModelFile(CharacterModel::ParseArrays(kPairs, kTriples), kSource);
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// The bytes with the checksum made anew over them, as a file crafted to pass
// it would be: for the checks behind the checksum.
std::string Resealed(std::string bytes) {
    const std::size_t body = bytes.size() - 8;
    const std::uint64_t checksum = base::Checksum64(std::as_bytes(std::span(bytes.data(), body)));
    std::memcpy(bytes.data() + body, &checksum, sizeof checksum);
    return bytes;
}

std::string ErrorOf(const std::string& path, const SourceChecksum* expected = &kSource) {
    try {
        LoadModelFile(path, expected);
    } catch (const ModelFileError& error) {
        return error.what();
    }
    return "<no error>";
}

TEST(ModelFileTest, AMappedModelReadsAsTheTextItWasMadeFrom) {
    test::ScopedWorkDir dir;
    WriteFile("model.bin", ModelBytes());
    const CharacterModel text(kPairs, kTriples);
    const CharacterModel mapped = LoadModelFile("model.bin", &kSource);
    for (char32_t a : {U'好', U'女', U'子', U'男', U'少', U'𠮷', U'无'}) {
        EXPECT_EQ(mapped.IdOf(a), text.IdOf(a));
        EXPECT_EQ(mapped.Count(mapped.IdOf(a)), text.Count(text.IdOf(a)));
        for (char32_t b : {U'好', U'女', U'子', U'男', U'无'}) {
            EXPECT_EQ(mapped.LogProbability(mapped.IdOf(a), mapped.IdOf(b), 0.5),
                      text.LogProbability(text.IdOf(a), text.IdOf(b), 0.5));
        }
    }
    const Joiner joiner({{"好", "女子"}}, LoadModelFile("model.bin", nullptr));
    EXPECT_EQ(joiner.Join(u"少男女子"), u"少男好");  // the triple counts
}

TEST(ModelFileTest, DamagedAndForeignFilesAreRefusedByName) {
    test::ScopedWorkDir dir;
    const std::string good = ModelBytes();
    const std::string named = "the join model 'bad.bin' ";
    const auto refuse = [&](const std::string& bytes, const SourceChecksum* expected = &kSource) {
        WriteFile("bad.bin", bytes);
        return ErrorOf("bad.bin", expected);
    };
    EXPECT_EQ(refuse(""), named + "is no model file of this program");
    EXPECT_EQ(refuse("ZELKJOI"), named + "is no model file of this program");
    EXPECT_EQ(refuse("\x7f"
                     "ELF and more bytes than a header holds" +
                     std::string(300, 'x')),
              named + "is no model file of this program");
    EXPECT_EQ(refuse(good.substr(0, 100)), named + "is cut short; build or install it again");
    const std::string damaged =
        named + "is damaged or cut short (its checksum does not match); build or install it again";
    EXPECT_EQ(refuse(good.substr(0, good.size() - 4)), damaged);

    std::string swapped = good;
    std::swap(swapped[12], swapped[15]);
    std::swap(swapped[13], swapped[14]);
    EXPECT_EQ(refuse(swapped), named + "was written in another byte order than this machine's");
    std::string newer = good;
    newer[8] = 3;
    EXPECT_EQ(refuse(newer), named +
                                 "has format 3, and this program reads format 2; build or "
                                 "install it again");
    const std::string other = WriteModelFile(CharacterModel::ParseArrays(kPairs, kTriples),
                                             ParseChecksum(std::string(64, 'b')));
    EXPECT_EQ(refuse(other), named +
                                 "comes from another build of the program (it was made from other "
                                 "counts); build or install it again, or name it with --model");
    EXPECT_EQ(refuse(other, nullptr), "<no error>") << "a file named by the user needs no match";

    std::string beyond = good;
    const std::uint64_t far = 1u << 30;
    std::memcpy(beyond.data() + 64 + 16 * 5, &far, sizeof far);  // the followers' offset
    EXPECT_EQ(refuse(beyond), damaged);
    EXPECT_EQ(refuse(Resealed(beyond)),
              named + "is cut short or damaged; build or install it again");
    std::string unfit = good;
    std::uint64_t length;
    std::memcpy(&length, unfit.data() + 64 + 16 * 3 + 8, sizeof length);  // the counts' length
    --length;
    std::memcpy(unfit.data() + 64 + 16 * 3 + 8, &length, sizeof length);
    EXPECT_EQ(refuse(unfit), damaged);
    EXPECT_EQ(refuse(Resealed(unfit)),
              named + "is damaged (its arrays do not fit together); build or install it again");

    EXPECT_EQ(ErrorOf("missing.bin"),
              "cannot read the join model 'missing.bin': No such file or directory");
    EXPECT_EQ(ErrorOf("."), "cannot read the join model '.': Is a directory");
}

TEST(ModelFileTest, DamageInsideTheLargeArraysGivesNoCrash) {
    test::ScopedWorkDir dir;
    std::string bytes = ModelBytes();
    // The arrays checked only where they are used: the ids of characters,
    // the followers, the pairs of triples, their indexes and the triples.
    std::uint32_t noise = 7305;
    for (int array : {0, 2, 5, 7, 8, 9}) {
        std::uint64_t offset, length;
        std::memcpy(&offset, bytes.data() + 64 + 16 * array, 8);
        std::memcpy(&length, bytes.data() + 64 + 16 * array + 8, 8);
        for (std::uint64_t i = 0; i < length; ++i) {
            noise = noise * 1103515245u + 12345u;
            std::memcpy(bytes.data() + offset + 4 * i, &noise, 4);
        }
    }
    WriteFile("noisy.bin", Resealed(bytes));
    const Joiner joiner({{"好", "女子"}, {"𠮷", "士口"}}, LoadModelFile("noisy.bin", nullptr));
    EXPECT_FALSE(joiner.Join(u"少男女子士口好").empty());
    EXPECT_FALSE(joiner.Join(u"少 男 女子", u" ").empty());
}

// Every byte counts: one changed anywhere, or a file cut anywhere, is
// refused by name, never used.
TEST(ModelFileTest, AFileChangedOrCutAnywhereIsRefused) {
    test::ScopedWorkDir dir;
    const std::string good = ModelBytes();
    for (std::size_t at = 0; at < good.size(); at += 1 + at / 16) {
        for (const std::string& bytes :
             {good.substr(0, at),
              good.substr(0, at) + char(good[at] ^ 0x10) + good.substr(at + 1)}) {
            WriteFile("bad.bin", bytes);
            const std::string error = ErrorOf("bad.bin", nullptr);
            EXPECT_TRUE(error.starts_with("the join model 'bad.bin' ")) << at << ": " << error;
        }
    }
}

// The build's own model reads the tests' texts exactly as the counts it was
// compiled from.
TEST(ModelFileTest, TheBuildsModelJoinsAsItsCounts) {
    const auto read = [](const std::string& name) {
        std::ifstream file(std::string(ZELK_DATA_DIR) + "/" + name, std::ios::binary);
        std::ostringstream content;
        content << file.rdbuf();
        return content.str();
    };
    const std::vector<DictionaryEntry> dictionary = DefaultDictionaryEntries();
    const SourceChecksum build = ParseChecksum(ZELK_JOIN_MODEL_SOURCE);
    const Joiner mapped(dictionary, LoadModelFile(ZELK_JOIN_MODEL_FILE, &build));
    const Joiner text(dictionary, read("character-bigrams.txt"), read("character-trigrams.txt"));
    std::map<char16_t, std::u16string> pieces;
    for (const DictionaryEntry& entry : dictionary) {
        const std::u16string key = AnsiToUtf16(entry.key);
        if (key.size() == 1) pieces[key[0]] = AnsiToUtf16(entry.replacement.value_or(""));
    }
    std::vector<std::u16string> texts = {u"讠青讠上米青礻申女子，扌斥工力", u"日月女子人人女生"};
    std::ifstream poems("/usr/share/games/fortunes/song100");
    for (std::string line; texts.size() < 300 && std::getline(poems, line);) {
        std::u16string split;
        for (char16_t c : AnsiToUtf16(line))
            split += pieces.contains(c) ? pieces[c] : std::u16string(1, c);
        texts.push_back(split);
    }
    for (const std::u16string& t : texts) EXPECT_EQ(mapped.Join(t), text.Join(t));
}

}  // namespace
}  // namespace zelk::join
