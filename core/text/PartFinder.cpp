#include "text/PartFinder.h"

#include <algorithm>

#include "base/CodePage.h"
#include "base/Unicode.h"

namespace zelk::text {

using base::DictionaryEntry;

namespace {

// The character in GBK; empty when GBK lacks it, or the system lacks GBK (a
// web page).
std::string GbkOf(std::u16string_view character) {
    try {
        const std::string gbk = base::Utf16ToAnsi(character, base::kCodePageGbk);
        return gbk.size() == 2 ? gbk : std::string();
    } catch (const base::CodePageUnavailable&) {
        return {};
    }
}

int GroupOf(const std::string& gbk) {
    if (gbk.empty()) return 4;
    const auto lead = static_cast<unsigned char>(gbk[0]);
    const auto trail = static_cast<unsigned char>(gbk[1]);
    if (trail >= 0xA1 && trail <= 0xFE) {
        if (lead >= 0xB0 && lead <= 0xD7) return 1;
        if (lead >= 0xD8 && lead <= 0xF7) return 2;
    }
    return 3;
}

}  // namespace

int CommonnessGroup(std::u16string_view character) {
    return GroupOf(GbkOf(character));
}

namespace {

// Whether text holds every part, each as often as it is given.
bool HoldsAll(std::u16string text, const std::vector<std::u16string>& parts) {
    for (const std::u16string& part : parts) {
        const std::size_t at = text.find(part);
        if (at == std::u16string::npos) return false;
        text.erase(at, part.size());
    }
    return true;
}

}  // namespace

std::vector<DictionaryEntry> FindByParts(const std::vector<DictionaryEntry>& entries,
                                         const std::vector<std::string>& parts, bool exact,
                                         const CharacterRanks* ranks) {
    std::vector<std::u16string> wanted;
    std::u16string joined;
    for (const std::string& part : parts) {
        wanted.push_back(base::Utf8ToUtf16(part));
        joined += wanted.back();
    }
    struct Found {
        std::uint32_t rank;  // in running text; characters without one after all ranked
        int group;
        std::string order;  // the key in GBK (pinyin order within GB2312's first level)
        const DictionaryEntry* entry;
    };
    std::vector<Found> found;
    for (const DictionaryEntry& entry : entries) {
        if (!entry.replacement) continue;
        const std::u16string key = base::Utf8ToUtf16(entry.key);
        if (!base::IsOneCharacter(key)) continue;
        const std::u16string replacement = base::Utf8ToUtf16(*entry.replacement);
        if (exact ? replacement == joined : HoldsAll(replacement, wanted)) {
            const std::optional<std::uint32_t> rank =
                ranks ? ranks->RankOf(base::CodePointOf(key)) : std::nullopt;
            const std::string gbk = GbkOf(key);
            found.push_back(
                {rank.value_or(UINT32_MAX), GroupOf(gbk), gbk.empty() ? entry.key : gbk, &entry});
        }
    }
    std::stable_sort(found.begin(), found.end(), [](const Found& a, const Found& b) {
        if (a.rank != b.rank) return a.rank < b.rank;
        return a.group != b.group ? a.group < b.group : a.order < b.order;
    });
    std::vector<DictionaryEntry> result;
    for (const Found& item : found) result.push_back(*item.entry);
    return result;
}

}  // namespace zelk::text
