// The engine of the browser edition, as the page's JavaScript sees it
// (embind): the same split walk, output forms, dictionary composition,
// joiner, part finder and coverage as zelk-split and zelk-dict, over the
// shipped sets and the user's own entries held in memory with the
// database's rules.
//
// Text crosses as UTF-16 code units, so that every string, lone surrogates
// included, comes back as it went in; files cross as bytes. Faults come back
// as values, {code, line, text, source}, never as English: the page words
// them from the code.

#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "base/Unicode.h"
#include "join/CharacterModel.h"
#include "join/JoinStream.h"
#include "join/Joiner.h"
#include "join/ModelFile.h"
#include "platform/Files.h"
#include "text/CharacterRanks.h"
#include "text/Coverage.h"
#include "text/DictionaryComposition.h"
#include "text/DictionaryTsv.h"
#include "text/EngineError.h"
#include "text/MemoryDictionary.h"
#include "text/PartFinder.h"
#include "text/PieceFormat.h"
#include "text/SplitWalk.h"
#include "text/WordScope.h"

namespace {

using emscripten::val;
using zelk::base::DictionaryEntry;
using zelk::base::MergePolicy;
namespace base = zelk::base;
namespace join = zelk::join;
namespace text = zelk::text;

val Fault(const text::EngineError& error) {
    val fault = val::object();
    fault.set("code", std::string(text::CodeName(error.code())));
    fault.set("line", static_cast<double>(error.line()));
    fault.set("text", base::Utf8ToUtf16(error.text()));
    fault.set("source", base::Utf8ToUtf16(error.source()));
    return fault;
}

// A fault that is no fault of the input: the engine's own message.
val Fault(const std::exception& error) {
    val fault = val::object();
    fault.set("code", std::string("Engine"));
    fault.set("text", base::Utf8ToUtf16(error.what()));
    return fault;
}

val Fault(const join::ModelFileError& error) {
    val fault = val::object();
    fault.set("code", std::string(join::ModelFaultName(error.fault())));
    return fault;
}

val FaultResult(val fault) {
    val result = val::object();
    result.set("fault", std::move(fault));
    return result;
}

// {fault} for a fault, or the value made by body.
template <typename Body>
val Checked(Body body) {
    try {
        return body();
    } catch (const join::ModelFileError& error) {
        return FaultResult(Fault(error));
    } catch (const text::EngineError& error) {
        return FaultResult(Fault(error));
    } catch (const std::exception& error) {
        return FaultResult(Fault(error));
    }
}

// A JavaScript string of the code units, as they are: made by
// String.fromCharCode over views of the engine's memory, a part at a time,
// which is many times faster for long text than a unit at a time.
val JsString(std::u16string_view text) {
    static const val fromCharCode = val::global("String")["fromCharCode"];
    constexpr std::size_t kPart = 8192;  // the arguments one call may take
    const auto* units = reinterpret_cast<const std::uint16_t*>(text.data());
    val result = val("");
    for (std::size_t at = 0; at < text.size(); at += kPart) {
        const std::size_t count = std::min(kPart, text.size() - at);
        val part = fromCharCode.call<val>("apply", val::null(),
                                          val(emscripten::typed_memory_view(count, units + at)));
        result = at == 0 ? part : result.call<val>("concat", part);
    }
    return result;
}

std::size_t LengthOf(const val& array) {
    return array["length"].as<std::size_t>();
}

// Copies a Uint8Array into memory of its length.
void CopyBytes(const val& array, std::span<std::byte> into) {
    val(emscripten::typed_memory_view(into.size(), reinterpret_cast<std::uint8_t*>(into.data())))
        .call<void>("set", array);
}

// The bytes of a Uint8Array.
std::string BytesOf(const val& array) {
    std::string bytes(LengthOf(array), '\0');
    CopyBytes(array, std::as_writable_bytes(std::span(bytes)));
    return bytes;
}

val Summary(const base::ImportSummary& summary) {
    val result = val::object();
    result.set("added", static_cast<double>(summary.added));
    result.set("changed", static_cast<double>(summary.changed));
    result.set("repeated", static_cast<double>(summary.repeated));
    return result;
}

// A split under way: it keeps the dictionary it started with, whatever
// changes meanwhile.
class SplitTask {
  public:
    SplitTask(std::shared_ptr<text::MemoryDictionary> dictionary, text::PieceFormat format,
              std::optional<text::WordScope> scope)
        : dictionary_(std::move(dictionary)),
          format_(std::move(format)),
          scope_(std::move(scope)),
          walk_(
              *dictionary_,
              [this](std::u16string_view character, std::u16string_view piece) {
                  format_.Append(character, piece, out_);
              },
              scope_ ? &*scope_ : nullptr) {}

    // The next part of the text (whole characters), split as far as it can
    // be yet.
    val Push(const std::u16string& part) {
        out_.clear();
        walk_.Push(part);
        return JsString(out_);
    }
    // The end of the text: the rest, split.
    val Finish() {
        out_.clear();
        walk_.Finish();
        return JsString(out_);
    }
    // Whether the text held the separator between Chinese characters itself.
    bool Ambiguous() const { return format_.SawAmbiguousSeparator(); }

  private:
    std::shared_ptr<text::MemoryDictionary> dictionary_;
    text::PieceFormat format_;
    std::optional<text::WordScope> scope_;
    text::SplitWalk walk_;
    std::u16string out_;
};

// A join under way: it keeps the joiner it started with.
class JoinTask {
  public:
    JoinTask(std::shared_ptr<const join::Joiner> joiner, std::u16string separator)
        : joiner_(std::move(joiner)), stream_(*joiner_, std::move(separator)) {}

    val Push(const std::u16string& part) { return JsString(stream_.Push(part)); }
    val Finish() { return JsString(stream_.Finish()); }

  private:
    std::shared_ptr<const join::Joiner> joiner_;
    join::JoinStream stream_;
};

class Engine {
  public:
    // One of the shipped sets, "generated", "supplement" or "topBottom", as
    // its TSV file.
    val SetSet(const std::string& name, const std::u16string& tsv) {
        return Checked([&] {
            std::vector<DictionaryEntry>* set = name == "generated"    ? &sets_.generated
                                                : name == "supplement" ? &sets_.supplement
                                                : name == "topBottom"  ? &sets_.topBottom
                                                                       : nullptr;
            if (!set) throw std::invalid_argument("no dictionary set " + name);
            *set = text::ParseDictionaryTsv(base::Utf16ToUtf8(tsv), name);
            Changed();
            return val::object();
        });
    }

    // The characters by frequency, one a line, by which find orders.
    void SetRanks(const std::u16string& lines) {
        ranks_ = text::CharacterRanks(base::Utf16ToUtf8(lines));
    }

    void UseTopBottom(bool on) {
        if (topBottom_ == on) return;
        topBottom_ = on;
        Changed();
    }

    // The user's entries as the browser keeps them, read as far as they
    // can be: {count, faults: [{code, line, text}]}, the good lines kept.
    val LoadUserEntries(const std::u16string& tsv) {
        std::vector<DictionaryEntry> entries;
        val faults = val::array();
        const std::string bytes = base::Utf16ToUtf8(tsv);
        for (std::size_t start = 0, line = 1; start < bytes.size(); ++line) {
            std::size_t end = bytes.find('\n', start);
            end = end == std::string::npos ? bytes.size() : end + 1;
            try {
                for (DictionaryEntry& entry : text::ParseDictionaryTsv(
                         std::string_view(bytes).substr(start, end - start), ""))
                    entries.push_back(std::move(entry));
            } catch (const text::EngineError& error) {
                val fault = Fault(error);
                fault.set("line", static_cast<double>(line));
                faults.call<void>("push", fault);
            }
            start = end;
        }
        user_ = text::MemoryDictionary();
        user_.Merge(entries, MergePolicy::ReplaceKeys);
        Changed();
        val result = val::object();
        result.set("count", static_cast<double>(user_.Entries().size()));
        result.set("faults", faults);
        return result;
    }

    // The user's entries, as zelk-dict export writes them.
    val UserEntries() const {
        return JsString(base::Utf8ToUtf16(text::FormatDictionaryTsv(user_.Entries())));
    }

    // A file of entries (its bytes), added as zelk-dict import
    // --replace-keys adds them: {added, changed, repeated}, or {fault} with
    // the line at fault, and nothing changed.
    val ImportUserEntries(const val& bytes, const std::u16string& name) {
        return Checked([&] {
            const std::vector<DictionaryEntry> entries =
                text::ParseDictionaryTsv(BytesOf(bytes), base::Utf16ToUtf8(name));
            const base::ImportSummary summary = user_.Merge(entries, MergePolicy::ReplaceKeys);
            Changed();
            return Summary(summary);
        });
    }

    // The entry for the key: {found: false}, or {found, own, value}.
    val Lookup(const std::u16string& key) {
        const std::string utf8 = base::Utf16ToUtf8(key);
        val result = val::object();
        const DictionaryEntry* found = Dictionary()->Find(utf8);
        result.set("found", found != nullptr);
        if (!found) return result;
        result.set("own", user_.Find(utf8) != nullptr);
        result.set("value", base::Utf8ToUtf16(found->replacement.value_or("")));
        return result;
    }

    void Save(const std::u16string& key, const std::u16string& value) {
        user_.Merge({{base::Utf16ToUtf8(key), base::Utf16ToUtf8(value)}}, MergePolicy::ReplaceKeys);
        Changed();
    }

    // Deletes the user's own entry for the key: false when the user has none
    // (the dictionary's own entries stay).
    bool Remove(const std::u16string& key) {
        if (!user_.Remove(base::Utf16ToUtf8(key))) return false;
        Changed();
        return true;
    }

    // Whether a mark format and a separator for reading back can be used:
    // {} or {fault}.
    val CheckMark(const std::u16string& mark) {
        return Checked([&] {
            text::PieceFormat::CheckMark(mark);
            return val::object();
        });
    }
    val CheckWords(const val& words) {
        return Checked([&] {
            text::CheckWords(emscripten::vecFromJSArray<std::u16string>(words));
            return val::object();
        });
    }
    val CheckReadBackSeparator(const std::u16string& separator) {
        return Checked([&] {
            text::PieceFormat::CheckReadBackSeparator(separator);
            return val::object();
        });
    }

    // A split as zelk-split writes it: separator and mark may be null, and
    // only the words the split is limited to (an array), or null for none.
    // {task} or {fault}.
    val StartSplit(const val& separator, const val& mark, const val& only) {
        return Checked([&] {
            text::PieceFormat format(OptionalText(separator), OptionalText(mark));
            std::optional<text::WordScope> scope;
            if (!only.isNull() && !only.isUndefined()) {
                const std::vector<std::u16string> words =
                    emscripten::vecFromJSArray<std::u16string>(only);
                text::CheckWords(words);
                scope.emplace(words);
            }
            val result = val::object();
            result.set("task", std::make_shared<SplitTask>(Dictionary(), std::move(format),
                                                           std::move(scope)));
            return result;
        });
    }

    // The join model file's bytes: {} or {fault}.
    val LoadModel(const val& bytes) {
        return Checked([&] {
            auto file = std::make_shared<zelk::platform::FileBytes>();
            file->assign(LengthOf(bytes));
            CopyBytes(bytes, file->writable());
            const std::span<const std::byte> view = file->bytes();
            model_.emplace(join::ReadModelFile(view, std::move(file), "join-model.bin", nullptr));
            joiner_.reset();
            return val::object();
        });
    }
    bool ModelLoaded() const { return model_.has_value(); }

    // Reading split text back as zelk-split --join does, with the separator
    // the split was written with (empty for none). {task} or {fault}.
    val StartJoin(const std::u16string& separator) {
        return Checked([&] {
            if (!model_) throw std::logic_error("the join model is not loaded");
            if (!separator.empty()) text::PieceFormat::CheckReadBackSeparator(separator);
            if (!joiner_)
                joiner_ = std::make_shared<join::Joiner>(Dictionary()->Entries(), *model_);
            val result = val::object();
            result.set("task", std::make_shared<JoinTask>(joiner_, separator));
            return result;
        });
    }

    // The characters written with the parts, the most frequent first:
    // [{character, parts}].
    val Find(const val& parts, bool exact) {
        std::vector<std::string> wanted;
        for (const std::u16string& part : emscripten::vecFromJSArray<std::u16string>(parts))
            if (!part.empty()) wanted.push_back(base::Utf16ToUtf8(part));
        val found = val::array();
        if (wanted.empty()) return found;
        for (const DictionaryEntry& entry :
             text::FindByParts(Dictionary()->Entries(), wanted, exact, &ranks_)) {
            val item = val::object();
            item.set("character", base::Utf8ToUtf16(entry.key));
            item.set("parts", base::Utf8ToUtf16(entry.replacement.value_or("")));
            found.call<void>("push", item);
        }
        return found;
    }

    // How much of the text the dictionary splits: {chinese, split, whole:
    // [[character, count]]}, the most frequent characters left whole first.
    val Coverage(const std::u16string& textToCount, int most) {
        const std::shared_ptr<text::MemoryDictionary> dictionary = Dictionary();
        text::CoverageCounter counter(
            [&](char32_t character) { return dictionary->PieceFor(character) != nullptr; });
        counter.Add(base::Utf16ToUtf8(textToCount));
        val result = val::object();
        result.set("chinese", static_cast<double>(counter.chineseCharacters()));
        result.set("split", static_cast<double>(counter.splitCharacters()));
        val whole = val::array();
        for (const auto& [character, count] :
             counter.MostFrequentWhole(static_cast<std::size_t>(std::max(most, 0)))) {
            val pair = val::array();
            pair.call<void>("push", base::CodePointToUtf16(character));
            pair.call<void>("push", static_cast<double>(count));
            whole.call<void>("push", pair);
        }
        result.set("whole", whole);
        return result;
    }

    // The names of every fault the engine can give, for the page to word.
    static val ErrorCodes() {
        val codes = val::array();
        for (int code = 0; code < text::kErrorCodeCount; ++code)
            codes.call<void>("push",
                             std::string(text::CodeName(static_cast<text::ErrorCode>(code))));
        for (int fault = 0; fault < join::kModelFaultCount; ++fault)
            codes.call<void>(
                "push", std::string(join::ModelFaultName(static_cast<join::ModelFault>(fault))));
        return codes;
    }

  private:
    static std::optional<std::u16string> OptionalText(const val& value) {
        if (value.isNull() || value.isUndefined()) return std::nullopt;
        return value.as<std::u16string>();
    }

    // The dictionary as zelk-dict create [--with top-bottom] and an import
    // --replace-keys of the user's entries make it; made anew when asked for
    // after a change, while what a running task holds stays as it was.
    std::shared_ptr<text::MemoryDictionary> Dictionary() {
        if (!dictionary_) {
            dictionary_ = std::make_shared<text::MemoryDictionary>(
                text::ComposeDictionary(sets_, topBottom_, user_.Entries()));
        }
        return dictionary_;
    }
    void Changed() {
        dictionary_.reset();
        joiner_.reset();
    }

    text::ShippedSets sets_;
    bool topBottom_ = false;
    text::MemoryDictionary user_;  // the user's own entries
    text::CharacterRanks ranks_;
    std::shared_ptr<text::MemoryDictionary> dictionary_;
    std::optional<join::CharacterModel> model_;
    std::shared_ptr<const join::Joiner> joiner_;
};

}  // namespace

EMSCRIPTEN_BINDINGS(zelk) {
    using emscripten::class_;
    class_<SplitTask>("SplitTask")
        .smart_ptr<std::shared_ptr<SplitTask>>("SplitTaskHandle")
        .function("push", &SplitTask::Push)
        .function("finish", &SplitTask::Finish)
        .function("ambiguous", &SplitTask::Ambiguous);
    class_<JoinTask>("JoinTask")
        .smart_ptr<std::shared_ptr<JoinTask>>("JoinTaskHandle")
        .function("push", &JoinTask::Push)
        .function("finish", &JoinTask::Finish);
    class_<Engine>("Engine")
        .constructor<>()
        .function("setSet", &Engine::SetSet)
        .function("setRanks", &Engine::SetRanks)
        .function("useTopBottom", &Engine::UseTopBottom)
        .function("loadUserEntries", &Engine::LoadUserEntries)
        .function("userEntries", &Engine::UserEntries)
        .function("importUserEntries", &Engine::ImportUserEntries)
        .function("lookup", &Engine::Lookup)
        .function("save", &Engine::Save)
        .function("remove", &Engine::Remove)
        .function("checkMark", &Engine::CheckMark)
        .function("checkReadBackSeparator", &Engine::CheckReadBackSeparator)
        .function("checkWords", &Engine::CheckWords)
        .function("startSplit", &Engine::StartSplit)
        .function("loadModel", &Engine::LoadModel)
        .function("modelLoaded", &Engine::ModelLoaded)
        .function("startJoin", &Engine::StartJoin)
        .function("find", &Engine::Find)
        .function("coverage", &Engine::Coverage)
        .class_function("errorCodes", &Engine::ErrorCodes);
}
