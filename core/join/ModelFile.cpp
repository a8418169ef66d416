#include "join/ModelFile.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "base/Checksum.h"

namespace zelk::join {

namespace {

constexpr std::string_view kMagic = "ZELKJOIN";
constexpr std::uint32_t kByteOrderMark = 0x01020304;
constexpr std::size_t kHeaderSize = 64;
constexpr std::size_t kTableSize = kModelArrayCount * 16;
constexpr std::size_t kTrailerSize = 8;

static_assert(std::endian::native == std::endian::little,
              "model files are little-endian, as the machines that run the program");

template <typename T>
void Put(std::string& out, std::size_t at, T value) {
    std::memcpy(out.data() + at, &value, sizeof value);
}

template <typename T>
T Get(std::span<const std::byte> bytes, std::size_t at) {
    T value;
    std::memcpy(&value, bytes.data() + at, sizeof value);
    return value;
}

std::array<const std::vector<std::uint32_t>*, kModelArrayCount> ArraysOf(
    const CharacterModelArrays& a) {
    return {&a.bmpIds,    &a.otherCharacters, &a.otherIds,        &a.counts,      &a.firstFollower,
            &a.followers, &a.firstHistory,    &a.historyPrevious, &a.firstTriple, &a.triples};
}

// An index array must run from 0 up to the end of what it indexes.
bool IsIndexOver(std::span<const std::uint32_t> index, std::size_t size) {
    return !index.empty() && index.front() == 0 && index.back() == size &&
           std::is_sorted(index.begin(), index.end());
}

}  // namespace

const char* ModelFaultName(ModelFault fault) {
    switch (fault) {
        case ModelFault::Unreadable:
            return "ModelUnreadable";
        case ModelFault::NotAModel:
            return "ModelNotAModel";
        case ModelFault::CutShort:
            return "ModelCutShort";
        case ModelFault::ByteOrder:
            return "ModelByteOrder";
        case ModelFault::OtherVersion:
            return "ModelOtherVersion";
        case ModelFault::Damaged:
            return "ModelDamaged";
        case ModelFault::OtherBuild:
            return "ModelOtherBuild";
    }
    return "ModelUnreadable";
}

std::string WriteModelFile(const CharacterModelArrays& arrays, const SourceChecksum& source) {
    std::string out(kHeaderSize + kTableSize, '\0');
    std::memcpy(out.data(), kMagic.data(), kMagic.size());
    Put(out, 8, kModelFormatVersion);
    Put(out, 12, kByteOrderMark);
    std::memcpy(out.data() + 16, source.data(), source.size());
    Put(out, 48, static_cast<std::uint32_t>(kModelArrayCount));
    std::size_t slot = kHeaderSize;
    for (const std::vector<std::uint32_t>* array : ArraysOf(arrays)) {
        out.resize((out.size() + 7) / 8 * 8, '\0');
        Put(out, slot, static_cast<std::uint64_t>(out.size()));
        Put(out, slot + 8, static_cast<std::uint64_t>(array->size()));
        slot += 16;
        out.append(reinterpret_cast<const char*>(array->data()), array->size() * 4);
    }
    out.resize((out.size() + 7) / 8 * 8, '\0');
    const std::uint64_t checksum =
        base::Checksum64(std::as_bytes(std::span(out.data(), out.size())));
    out.append(reinterpret_cast<const char*>(&checksum), sizeof checksum);
    return out;
}

CharacterModel ReadModelFile(std::span<const std::byte> bytes, std::shared_ptr<const void> owner,
                             std::string_view name, const SourceChecksum* expected) {
    const std::string file = "the join model '" + std::string(name) + "'";
    const auto fail = [&](ModelFault fault, const std::string& what) -> void {
        throw ModelFileError(fault, file + " " + what);
    };
    if (bytes.size() < kMagic.size() ||
        std::memcmp(bytes.data(), kMagic.data(), kMagic.size()) != 0) {
        fail(ModelFault::NotAModel, "is no model file of this program");
    }
    if (bytes.size() < kHeaderSize + kTableSize + kTrailerSize) {
        fail(ModelFault::CutShort, "is cut short; build or install it again");
    }
    if (Get<std::uint32_t>(bytes, 12) != kByteOrderMark) {
        fail(ModelFault::ByteOrder, "was written in another byte order than this machine's");
    }
    if (const auto version = Get<std::uint32_t>(bytes, 8); version != kModelFormatVersion) {
        fail(ModelFault::OtherVersion,
             "has format " + std::to_string(version) + ", and this program reads format " +
                 std::to_string(kModelFormatVersion) + "; build or install it again");
    }
    // Every byte counts: a file cut short or changed anywhere is refused.
    const std::span<const std::byte> body = bytes.first(bytes.size() - kTrailerSize);
    if (base::Checksum64(body) != Get<std::uint64_t>(bytes, body.size())) {
        fail(ModelFault::Damaged,
             "is damaged or cut short (its checksum does not match); build or install it again");
    }
    if (Get<std::uint32_t>(bytes, 48) != kModelArrayCount) {
        fail(ModelFault::Damaged, "is damaged (its array table)");
    }
    if (expected && std::memcmp(bytes.data() + 16, expected->data(), expected->size()) != 0) {
        fail(ModelFault::OtherBuild,
             "comes from another build of the program (it was made from other counts); build "
             "or install it again, or name it with --model");
    }
    std::array<std::span<const std::uint32_t>, kModelArrayCount> arrays;
    for (std::size_t i = 0; i < kModelArrayCount; ++i) {
        const auto offset = Get<std::uint64_t>(bytes, kHeaderSize + 16 * i);
        const auto length = Get<std::uint64_t>(bytes, kHeaderSize + 16 * i + 8);
        if (offset % 8 != 0 || offset > body.size() || length > (body.size() - offset) / 4) {
            fail(ModelFault::Damaged, "is cut short or damaged; build or install it again");
        }
        arrays[i] = {reinterpret_cast<const std::uint32_t*>(bytes.data() + offset),
                     static_cast<std::size_t>(length)};
    }
    const CharacterModel::Views views{arrays[0], arrays[1], arrays[2], arrays[3], arrays[4],
                                      arrays[5], arrays[6], arrays[7], arrays[8], arrays[9]};
    // The small arrays are checked whole; the large ones at every use.
    if (views.bmpIds.size() != 0x10000 || views.otherIds.size() != views.otherCharacters.size() ||
        views.counts.empty() || views.firstFollower.size() != views.counts.size() + 1 ||
        views.firstHistory.size() != views.counts.size() + 1 ||
        views.firstTriple.size() != views.historyPrevious.size() + 1 ||
        !IsIndexOver(views.firstFollower, views.followers.size()) ||
        !IsIndexOver(views.firstHistory, views.historyPrevious.size())) {
        fail(ModelFault::Damaged,
             "is damaged (its arrays do not fit together); build or install it again");
    }
    return CharacterModel(views, std::move(owner));
}

SourceChecksum ParseChecksum(std::string_view hex) {
    SourceChecksum checksum{};
    if (hex.size() != 64) throw std::invalid_argument("a checksum is 64 hexadecimal digits");
    const auto digit = [](char c) -> int {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        throw std::invalid_argument("a checksum is 64 hexadecimal digits");
    };
    for (std::size_t i = 0; i < checksum.size(); ++i)
        checksum[i] = static_cast<std::uint8_t>(digit(hex[2 * i]) << 4 | digit(hex[2 * i + 1]));
    return checksum;
}

}  // namespace zelk::join
