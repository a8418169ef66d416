// zelk-split: splits text against the dictionary database and writes the
// result to standard output.

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "AdoQuery.h"
#include "CachedDictionary.h"
#include "CodePage.h"
#include "DatabaseErrors.h"
#include "DictionaryDatabase.h"
#include "DictionaryLookup.h"
#include "InputFiles.h"
#include "JoinStream.h"
#include "Joiner.h"
#include "MappedFile.h"
#include "OutputFiles.h"
#include "PieceFormat.h"
#include "ToolRun.h"
#include "UserDatabase.h"

namespace {

constexpr std::string_view kUsage =
    "usage: zelk-split [--database PATH] [--per-char] [--separator TEXT] [--mark FORMAT]\n"
    "                  [--file FILE]... [TEXT]...\n"
    "       zelk-split --join [--separator TEXT] [--model FILE] [--database PATH]\n"
    "                  [--file FILE]... [TEXT]...\n"
    "\n"
    "Splits each TEXT (each result on a line of its own), then each FILE as it\n"
    "is (\"-\" is standard input); with neither, standard input. The database\n"
    "is Zelk.dll in the current directory (for the installed tools, the user's\n"
    "own, ~/.local/share/zelk/Zelk.dll) unless --database names another.\n"
    "Each distinct character is looked up once and its piece remembered;\n"
    "--per-char looks every occurrence up in the database, as the window does.\n"
    "--separator TEXT writes TEXT between two neighbouring Chinese pieces of a\n"
    "line, split characters or Chinese characters left whole (--separator ' ':\n"
    "讠青 讠上 米青); other text stays as it stands. --mark FORMAT writes each split\n"
    "character as FORMAT with {c} the character and {p} its piece\n"
    "(--mark '{c}({p})': 请(讠青)); characters left whole are written plain.\n"
    "--join reads split text back (讠青讠上 → 请让), taking the most likely\n"
    "reading of the whole text; with the --separator the split was written\n"
    "with, each piece is read back exactly and other text stays as it stands.\n"
    "The join model is the one installed with the program (or built beside\n"
    "it) unless --model names another.\n";

using zelk::tool::UsageError;

struct Options {
    std::string database;  // empty: the default database
    bool perChar = false;
    bool join = false;
    bool help = false;
    bool version = false;
    std::optional<std::string> separator;
    std::optional<std::string> mark;
    std::optional<std::string> model;
    std::vector<std::string> files;
    std::vector<std::string> texts;
};

Options ParseOptions(int argc, char** argv) {
    Options options;
    bool onlyTexts = false;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (onlyTexts) {
            options.texts.push_back(argument);
        } else if (argument == "--") {
            onlyTexts = true;
        } else if (argument == "--help" || argument == "-h") {
            options.help = true;
            return options;
        } else if (argument == "--version") {
            options.version = true;
            return options;
        } else if (argument == "--database" || argument == "-d") {
            if (++i == argc) throw UsageError(argument + " needs a path");
            options.database = argv[i];
        } else if (argument == "--file" || argument == "-f") {
            if (++i == argc) throw UsageError(argument + " needs a path");
            options.files.push_back(argv[i]);
        } else if (argument == "--model") {
            if (++i == argc) throw UsageError("--model needs a path");
            options.model = argv[i];
        } else if (argument == "--per-char") {
            options.perChar = true;
        } else if (argument == "--join") {
            options.join = true;
        } else if (argument == "--separator") {
            if (++i == argc) throw UsageError("--separator needs a text");
            options.separator = argv[i];
        } else if (argument == "--mark") {
            if (++i == argc) throw UsageError("--mark needs a format such as '{c}({p})'");
            options.mark = argv[i];
            if (options.mark->find("{p}") == std::string::npos &&
                options.mark->find("{c}") == std::string::npos) {
                throw UsageError("--mark needs {c} or {p} in its format");
            }
        } else if (argument.size() > 1 && argument[0] == '-') {
            throw UsageError("unknown option " + argument);
        } else {
            options.texts.push_back(argument);
        }
    }
    if (options.model && !options.join) throw UsageError("--model goes with --join only");
    if (options.join && (options.mark || options.perChar)) {
        throw UsageError("--join goes with neither --mark nor --per-char");
    }
    if (options.join && options.separator && options.separator->empty()) {
        throw UsageError("--join needs a separator that is not empty");
    }
    if (options.join && options.separator &&
        !zelk::Joiner::CanReadBackWith(zelk::AnsiToUtf16(*options.separator))) {
        throw UsageError("--join needs a separator without Chinese characters in it");
    }
    if (options.files.empty() && options.texts.empty()) options.files.push_back("-");
    if (options.database.empty()) options.database = zelk::tool::DefaultDatabase(true);
    return options;
}

std::optional<std::u16string> Utf16(const std::optional<std::string>& text) {
    if (!text) return std::nullopt;
    return zelk::AnsiToUtf16(*text);
}

// What zelk-split does with its texts: split them, or read them back.
class TextProcessor {
  public:
    virtual ~TextProcessor() = default;
    // A new text begins: nothing stands before it.
    virtual void Start() = 0;
    // The next part of the text (whole UTF-8 characters).
    virtual void Take(std::string_view text) = 0;
    // The text has ended.
    virtual void End() = 0;
};

// Splits text and writes the result, through either lookup path.
class TextSplitter : public TextProcessor {
  public:
    TextSplitter(zelk::TADOConnection& connection, const Options& options)
        : cursor_("ADOQuery1", connection),
          cache_(cursor_),
          perChar_(options.perChar),
          format_(Utf16(options.separator), Utf16(options.mark)),
          separator_(options.separator.value_or("")) {}

    void Start() override { format_.Restart(); }
    void End() override {}

    void Take(std::string_view text) override {
        const std::u16string sentence = zelk::AnsiToUtf16(text);
        std::u16string result;
        result.reserve(sentence.size() * 2);
        // Pieces come in the sentence's order, one for each character.
        std::size_t position = 0;
        const auto receive = [&](std::u16string_view piece) {
            const std::size_t length = zelk::StartsSurrogatePair(sentence, position) ? 2 : 1;
            format_.Append(std::u16string_view(sentence).substr(position, length), piece, result);
            position += length;
        };
        if (perChar_) {
            zelk::SplitWithDictionary(cursor_, sentence, receive);
        } else {
            cache_.Split(sentence, receive);
        }
        zelk::tool::WriteAll(stdout, zelk::Utf16ToAnsi(result), "standard output");
        if (format_.SawAmbiguousSeparator() && !reported_) {
            reported_ = true;
            std::cerr << "zelk-split: the text holds the separator '" << separator_
                      << "' between Chinese characters itself; a reading back with --join "
                         "--separator takes it for one the split wrote and drops it there\n";
        }
    }

  private:
    zelk::TADOQuery cursor_;
    zelk::CachedDictionary cache_;
    bool perChar_;
    zelk::PieceFormat format_;
    std::string separator_;
    bool reported_ = false;
};

// The join model of this build: the one named, or the one installed with
// the program (<dir>/../share/zelk), or the one built beside it in the
// build tree (<dir>/../data).
zelk::CharacterModel LoadJoinModel(const Options& options) {
    if (options.model) return zelk::MapModelFile(*options.model, nullptr);
    static const zelk::SourceChecksum kThisBuild = zelk::ParseChecksum(ZELK_JOIN_MODEL_SOURCE);
    const std::filesystem::path dir = zelk::ExecutableDirectory();
    std::string tried;
    for (const std::filesystem::path& candidate :
         {zelk::InstalledDataPath(dir, "join-model.bin"), dir / ".." / "data" / "join-model.bin"}) {
        const std::string path = candidate.lexically_normal().string();
        std::error_code error;
        if (std::filesystem::exists(path, error)) return zelk::MapModelFile(path, &kThisBuild);
        tried += (tried.empty() ? "'" : ", '") + path + "'";
    }
    throw std::runtime_error("the join model is missing (looked for " + tried +
                             "); install it, or name one with --model");
}

// Reads split text back and writes it.
class TextJoiner : public TextProcessor {
  public:
    TextJoiner(zelk::TADOConnection& connection, const Options& options)
        : joiner_(zelk::ExportDictionary(connection), LoadJoinModel(options)),
          separator_(Utf16(options.separator).value_or(u"")) {}

    void Start() override { stream_.emplace(joiner_, separator_); }
    void Take(std::string_view text) override { Write(stream_->Push(zelk::AnsiToUtf16(text))); }
    void End() override { Write(stream_->Finish()); }

  private:
    static void Write(std::u16string_view text) {
        zelk::tool::WriteAll(stdout, zelk::Utf16ToAnsi(text), "standard output");
    }

    zelk::Joiner joiner_;
    std::u16string separator_;
    std::optional<zelk::JoinStream> stream_;
};

int Main(int argc, char** argv) {
    const Options options = ParseOptions(argc, argv);
    if (options.help) return zelk::tool::PrintToStandardOutput(kUsage);
    if (options.version) return zelk::tool::PrintToStandardOutput(zelk::tool::VersionText());
    zelk::TADOConnection connection(zelk::BuildConnectionString(options.database));
    connection.Open();
    std::unique_ptr<TextProcessor> processor;
    if (options.join) {
        processor = std::make_unique<TextJoiner>(connection, options);
    } else {
        processor = std::make_unique<TextSplitter>(connection, options);
    }
    for (std::size_t i = 0; i < options.texts.size(); ++i) {
        const std::string& text = options.texts[i];
        bool reported = false;
        zelk::tool::ReportInvalidUtf8(text, "argument " + std::to_string(i + 1), 0, reported);
        processor->Start();
        processor->Take(text);
        processor->End();
        zelk::tool::WriteAll(stdout, "\n", "standard output");
    }
    for (const std::string& path : options.files) {
        processor->Start();
        zelk::tool::ReadInputInChunks(path, [&](std::string_view text) { processor->Take(text); });
        processor->End();
    }
    zelk::tool::FinishOutput(stdout, "standard output");
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    return zelk::tool::RunTool("zelk-split", Main, argc, argv);
}
