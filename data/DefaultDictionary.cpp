#include "DefaultDictionary.h"

// The files are assembled into read-only data as they are.
__asm__(
    ".section .rodata\n"
    ".hidden zelk_top_bottom_tsv_begin\n.hidden zelk_top_bottom_tsv_end\n"
    ".global zelk_top_bottom_tsv_begin\n.global zelk_top_bottom_tsv_end\n"
    "zelk_top_bottom_tsv_begin:\n"
    ".incbin \"" ZELK_TOP_BOTTOM_TSV
    "\"\n"
    "zelk_top_bottom_tsv_end:\n"
    ".hidden zelk_generated_tsv_begin\n.hidden zelk_generated_tsv_end\n"
    ".hidden zelk_supplement_tsv_begin\n.hidden zelk_supplement_tsv_end\n"
    ".global zelk_generated_tsv_begin\n.global zelk_generated_tsv_end\n"
    ".global zelk_supplement_tsv_begin\n.global zelk_supplement_tsv_end\n"
    "zelk_generated_tsv_begin:\n"
    ".incbin \"" ZELK_GENERATED_TSV
    "\"\n"
    "zelk_generated_tsv_end:\n"
    "zelk_supplement_tsv_begin:\n"
    ".incbin \"" ZELK_SUPPLEMENT_TSV
    "\"\n"
    "zelk_supplement_tsv_end:\n"
    ".previous\n");

extern "C" const char zelk_top_bottom_tsv_begin[];
extern "C" const char zelk_top_bottom_tsv_end[];
extern "C" const char zelk_generated_tsv_begin[];
extern "C" const char zelk_generated_tsv_end[];
extern "C" const char zelk_supplement_tsv_begin[];
extern "C" const char zelk_supplement_tsv_end[];

namespace zelk {

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

std::vector<DictionaryEntry> TopBottomEntries() {
    return ParseDictionaryTsv(TopBottomDictionaryTsv(), "top-bottom.tsv");
}

std::vector<DictionaryEntry> DefaultDictionaryEntries() {
    std::vector<DictionaryEntry> entries =
        ParseDictionaryTsv(GeneratedDictionaryTsv(), "cjk-decomp-lr.tsv");
    std::vector<DictionaryEntry> supplement =
        ParseDictionaryTsv(SupplementDictionaryTsv(), "supplement.tsv");
    entries.insert(entries.end(), supplement.begin(), supplement.end());
    return entries;
}

}  // namespace zelk
