#include "builtin/DefaultDictionary.h"

#include "platform/EmbeddedFile.h"
#include "text/DictionaryTsv.h"

ZELK_EMBED_FILE(zelk_generated_tsv, ZELK_GENERATED_TSV);
ZELK_EMBED_FILE(zelk_supplement_tsv, ZELK_SUPPLEMENT_TSV);
ZELK_EMBED_FILE(zelk_top_bottom_tsv, ZELK_TOP_BOTTOM_TSV);

namespace zelk::builtin {

namespace {

std::string_view Between(const char* begin, const char* end) {
    return {begin, static_cast<std::size_t>(end - begin)};
}

}  // namespace

std::string_view GeneratedDictionaryTsv() {
    return Between(zelk_generated_tsv_begin, zelk_generated_tsv_end);
}

std::string_view SupplementDictionaryTsv() {
    return Between(zelk_supplement_tsv_begin, zelk_supplement_tsv_end);
}

std::string_view TopBottomDictionaryTsv() {
    return Between(zelk_top_bottom_tsv_begin, zelk_top_bottom_tsv_end);
}

text::ShippedSets BuiltinSets() {
    return {text::ParseDictionaryTsv(GeneratedDictionaryTsv(), "cjk-decomp-lr.tsv"),
            text::ParseDictionaryTsv(SupplementDictionaryTsv(), "supplement.tsv"),
            TopBottomEntries()};
}

std::vector<base::DictionaryEntry> TopBottomEntries() {
    return text::ParseDictionaryTsv(TopBottomDictionaryTsv(), "top-bottom.tsv");
}

std::vector<base::DictionaryEntry> DefaultDictionaryEntries() {
    std::vector<base::DictionaryEntry> entries =
        text::ParseDictionaryTsv(GeneratedDictionaryTsv(), "cjk-decomp-lr.tsv");
    const std::vector<base::DictionaryEntry> supplement =
        text::ParseDictionaryTsv(SupplementDictionaryTsv(), "supplement.tsv");
    entries.insert(entries.end(), supplement.begin(), supplement.end());
    return entries;
}

}  // namespace zelk::builtin
