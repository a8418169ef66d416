#include "text/DictionaryComposition.h"

namespace zelk::text {

MemoryDictionary ComposeDictionary(const ShippedSets& sets, bool withTopBottom,
                                   const std::vector<base::DictionaryEntry>& user) {
    using base::MergePolicy;
    MemoryDictionary dictionary;
    dictionary.Merge(sets.generated, MergePolicy::ReplaceKeys);
    dictionary.Merge(sets.supplement, MergePolicy::ReplaceKeys);
    if (withTopBottom) dictionary.Merge(sets.topBottom, MergePolicy::KeepExisting);
    dictionary.Merge(user, MergePolicy::ReplaceKeys);
    return dictionary;
}

}  // namespace zelk::text
