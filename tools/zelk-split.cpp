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

#include "base/CodePage.h"
#include "base/Unicode.h"
#include "database/AdoQuery.h"
#include "database/DictionaryDatabase.h"
#include "join/JoinStream.h"
#include "join/Joiner.h"
#include "join/ModelLoading.h"
#include "lookup/CachedPieces.h"
#include "lookup/DatabasePieces.h"
#include "platform/Folders.h"
#include "platform/Paths.h"
#include "text/EngineError.h"
#include "text/PieceFormat.h"
#include "text/SplitWalk.h"
#include "text/WordScope.h"
#include "tools/InputFiles.h"
#include "tools/OutputFiles.h"
#include "tools/ToolRun.h"

namespace {

constexpr std::string_view kUsage =
    "usage: zelk-split [--database PATH] [--per-char] [--separator TEXT] [--mark FORMAT]\n"
    "                  [--only WORD]... [--only-file FILE] [--file FILE]... [TEXT]...\n"
    "       zelk-split --join [--separator TEXT] [--model FILE] [--database PATH]\n"
    "                  [--file FILE]... [TEXT]...\n"
    "\n"
    "Splits each TEXT (each result on a line of its own), then each FILE as it\n"
    "is (\"-\" is standard input); with neither, standard input. The database\n"
    "is Zelk.dll in the current directory (for the installed tools, the user's\n"
    "own, $USER_DATABASE) unless --database names another.\n"
    "Each distinct character is looked up once and its piece remembered;\n"
    "--per-char looks every occurrence up in the database, as the window does.\n"
    "--separator TEXT writes TEXT between two neighbouring Chinese pieces of a\n"
    "line, split characters or Chinese characters left whole (--separator ' ':\n"
    "讠青 讠上 米青); other text stays as it stands. --mark FORMAT writes each split\n"
    "character as FORMAT with {c} the character and {p} its piece\n"
    "(--mark '{c}({p})': 请(讠青)); characters left whole are written plain.\n"
    "--only WORD splits only the characters inside occurrences of the words\n"
    "given (again for each word, or one a line in --only-file FILE); every other\n"
    "character stays as it is (--only 精神: 请让米青礻申好).\n"
    "--join reads split text back (讠青讠上 → 请让), taking the most likely\n"
    "reading of the whole text; with the --separator the split was written\n"
    "with, each piece is read back exactly and other text stays as it stands.\n"
    "The join model is the one installed with the program (or built beside\n"
    "it) unless --model names another.\n";

namespace base = zelk::base;
namespace db = zelk::db;
namespace join = zelk::join;
namespace lookup = zelk::lookup;
namespace platform = zelk::platform;
namespace text = zelk::text;
namespace tool = zelk::tool;
using tool::UsageError;

struct Options {
    std::string database;  // empty: the default database
    bool perChar = false;
    bool join = false;
    bool help = false;
    bool version = false;
    std::optional<std::string> separator;
    std::optional<std::string> mark;
    std::optional<std::string> model;
    std::vector<std::u16string> only;  // the words a split is limited to
    bool limited = false;              // --only or --only-file was given
    std::vector<std::string> files;
    std::vector<std::string> texts;
    std::string warning;  // said on standard error before the work starts
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
        } else if (argument == "--only") {
            if (++i == argc) throw UsageError("--only needs a word");
            if (!base::IsValidUtf8(argv[i]))
                throw UsageError("--only: the word is not valid UTF-8");
            options.only.push_back(base::Utf8ToUtf16(argv[i]));
            options.limited = true;
        } else if (argument == "--only-file") {
            if (++i == argc) throw UsageError("--only-file needs a path");
            const std::string name = std::string(argv[i]) == "-" ? "standard input" : argv[i];
            try {
                for (std::u16string& word : text::ParseWordList(tool::ReadWholeFile(argv[i]), name))
                    options.only.push_back(std::move(word));
            } catch (const text::EngineError& error) {
                throw UsageError(error.what());
            }
            options.limited = true;
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
        } else if (argument.size() > 1 && argument[0] == '-') {
            throw UsageError("unknown option " + argument);
        } else {
            options.texts.push_back(argument);
        }
    }
    if (options.model && !options.join) throw UsageError("--model goes with --join only");
    if (options.join && (options.mark || options.perChar || options.limited)) {
        throw UsageError("--join goes with neither --mark, --per-char nor --only");
    }
    // The engine judges the forms; a fault in them is a mistake in the command
    // line, but for a split's separator that could not be read back: that
    // split is written as asked, with a warning.
    try {
        if (options.limited) text::CheckWords(options.only);
        if (options.mark) text::PieceFormat::CheckMark(base::AnsiToUtf16(*options.mark));
        if (options.separator && (options.join || !options.separator->empty()))
            text::PieceFormat::CheckReadBackSeparator(base::AnsiToUtf16(*options.separator));
    } catch (const text::EngineError& error) {
        if (options.join || error.code() == text::ErrorCode::MarkWithoutPlaceholder ||
            error.code() == text::ErrorCode::OnlyEmpty ||
            error.code() == text::ErrorCode::OnlyWithoutChinese)
            throw UsageError(error.what());
        options.warning = "warning: text split with this separator cannot be read back (" +
                          std::string(error.what()) + ")";
    }
    if (options.files.empty() && options.texts.empty()) options.files.push_back("-");
    if (options.database.empty()) options.database = tool::DefaultDatabase(true);
    return options;
}

std::optional<std::u16string> Utf16(const std::optional<std::string>& text) {
    if (!text) return std::nullopt;
    return base::AnsiToUtf16(*text);
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
    TextSplitter(db::TADOConnection& connection, const Options& options)
        : cursor_("ADOQuery1", connection),
          format_(Utf16(options.separator), Utf16(options.mark)),
          separator_(options.separator.value_or("")) {
        if (options.limited) scope_.emplace(options.only);
        if (options.perChar) {
            pieces_ = std::make_unique<lookup::DatabasePieces>(cursor_);
        } else {
            pieces_ = std::make_unique<lookup::CachedPieces>(cursor_);
        }
    }

    void Start() override {
        format_.Restart();
        walk_.emplace(
            *pieces_,
            [this](std::u16string_view character, std::u16string_view piece) {
                format_.Append(character, piece, result_);
                // Written as it is made: memory stays bounded whatever the form.
                if (result_.size() >= kOutputPart) Flush();
            },
            scope_ ? &*scope_ : nullptr);
    }
    void End() override {
        walk_->Finish();
        Flush();
    }

    void Take(std::string_view part) override {
        walk_->Push(base::AnsiToUtf16(part));
        Flush();
        if (format_.SawAmbiguousSeparator() && !reported_) {
            reported_ = true;
            std::cerr << "zelk-split: the text holds the separator '" << separator_
                      << "' between Chinese characters itself; a reading back with --join "
                         "--separator takes it for one the split wrote and drops it there\n";
        }
    }

  private:
    static constexpr std::size_t kOutputPart = 1 << 16;  // code units

    void Flush() {
        tool::WriteAll(stdout, base::Utf16ToAnsi(result_), "standard output");
        result_.clear();
    }

    db::TADOQuery cursor_;
    // Each distinct character looked up once, or (--per-char) every one.
    std::unique_ptr<text::PieceSource> pieces_;
    text::PieceFormat format_;
    std::optional<text::WordScope> scope_;
    std::optional<text::SplitWalk> walk_;
    std::u16string result_;
    std::string separator_;
    bool reported_ = false;
};

// The join model of this build: the one named, or the one installed with
// the program (<dir>/../share/zelk), or the one built beside it in the
// build tree (<dir>/../data).
join::CharacterModel LoadJoinModel(const Options& options) {
    if (options.model) return join::LoadModelFile(platform::PathFromUtf8(*options.model), nullptr);
    static const join::SourceChecksum kThisBuild = join::ParseChecksum(ZELK_JOIN_MODEL_SOURCE);
    const std::filesystem::path dir = platform::ExecutableDirectory();
    std::string tried;
    for (const std::filesystem::path& candidate :
         {platform::InstalledDataPath(dir, "join-model.bin"),
          dir / ".." / "data" / "join-model.bin"}) {
        const std::filesystem::path path = candidate.lexically_normal();
        std::error_code error;
        if (std::filesystem::exists(path, error)) return join::LoadModelFile(path, &kThisBuild);
        tried += (tried.empty() ? "" : ", ") + platform::QuotedPath(path);
    }
    throw std::runtime_error("the join model is missing (looked for " + tried +
                             "); install it, or name one with --model");
}

// Reads split text back and writes it.
class TextJoiner : public TextProcessor {
  public:
    TextJoiner(db::TADOConnection& connection, const Options& options)
        : joiner_(db::ExportDictionary(connection), LoadJoinModel(options)),
          separator_(Utf16(options.separator).value_or(u"")) {}

    void Start() override { stream_.emplace(joiner_, separator_); }
    void Take(std::string_view text) override { Write(stream_->Push(base::AnsiToUtf16(text))); }
    void End() override { Write(stream_->Finish()); }

  private:
    static void Write(std::u16string_view text) {
        tool::WriteAll(stdout, base::Utf16ToAnsi(text), "standard output");
    }

    join::Joiner joiner_;
    std::u16string separator_;
    std::optional<join::JoinStream> stream_;
};

int Main(int argc, char** argv) {
    const Options options = ParseOptions(argc, argv);
    if (options.help) return tool::PrintToStandardOutput(tool::HelpText(kUsage));
    if (options.version) return tool::PrintToStandardOutput(tool::VersionText());
    if (!options.warning.empty()) std::cerr << "zelk-split: " << options.warning << "\n";
    db::TADOConnection connection(db::BuildConnectionString(options.database));
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
        tool::ReportInvalidUtf8(text, "argument " + std::to_string(i + 1), 0, reported);
        processor->Start();
        processor->Take(text);
        processor->End();
        tool::WriteAll(stdout, "\n", "standard output");
    }
    for (const std::string& path : options.files) {
        processor->Start();
        tool::ReadInputInChunks(path, [&](std::string_view text) { processor->Take(text); });
        processor->End();
    }
    tool::FinishOutput(stdout, "standard output");
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    return tool::RunTool("zelk-split", Main, argc, argv);
}
