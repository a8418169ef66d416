// zelk-dict: makes the dictionary database and moves dictionaries in and out
// of it as TSV files.

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "base/Unicode.h"
#include "builtin/CharacterFrequency.h"
#include "builtin/DefaultDictionary.h"
#include "database/AdoConnection.h"
#include "database/DictionaryDatabase.h"
#include "database/ReadTransaction.h"
#include "lookup/DatabasePieces.h"
#include "platform/Folders.h"
#include "platform/Paths.h"
#include "text/Coverage.h"
#include "text/DictionaryComposition.h"
#include "text/DictionaryTsv.h"
#include "text/PartFinder.h"
#include "tools/InputFiles.h"
#include "tools/OutputFiles.h"
#include "tools/ToolRun.h"

namespace {

constexpr std::string_view kUsage =
    "usage: zelk-dict create [--force] [--empty] [--with SET] [--database PATH]\n"
    "       zelk-dict export [--force] [--database PATH] [FILE]\n"
    "       zelk-dict import [--replace-keys | --replace [--force]] [--database PATH] FILE|SET\n"
    "       zelk-dict coverage [--database PATH] [FILE]...\n"
    "       zelk-dict find [--exact] [--database PATH] PART...\n"
    "\n"
    "After --, every argument is a FILE or PART, even one that starts with -.\n"
    "The database is Zelk.dll here (for the installed tools, the user's own,\n"
    "$USER_DATABASE) unless --database names another.\n"
    "\n"
    "create    makes a new database with the default (left-right) dictionary and\n"
    "          the initial sentence; --force replaces an existing file, --empty\n"
    "          leaves the dictionary empty, --with top-bottom adds the top-bottom\n"
    "          set (李 木子, 国 囗玉) for the characters the default leaves whole.\n"
    "export    writes the dictionary as TSV (key, tab, replacement) to FILE or\n"
    "          standard output. It never writes over the database itself, and\n"
    "          over an existing file only when that is a text file (an earlier\n"
    "          export) or --force is given; never to a device or a pipe by name.\n"
    "import    reads a TSV file (\"-\" for standard input) or the set named\n"
    "          top-bottom: keys without an entry get one; keys with an entry keep\n"
    "          it, unless --replace-keys (the first entry of the key is changed) or\n"
    "          --replace (the dictionary is emptied first; an import that would\n"
    "          leave it empty needs --force).\n"
    "coverage  reads text (the FILEs, or standard input) and prints the share of\n"
    "          its Chinese characters that the dictionary splits, and the 30\n"
    "          most frequent that it leaves whole.\n"
    "find      lists the characters whose replacement holds every PART (木: 相\n"
    "          机 林 ...; 女 子: 好 ...), one a line as character, tab, replacement,\n"
    "          the most frequent in running text first; --exact, those whose\n"
    "          replacement is the PARTs in order and nothing else.\n";

// The optional dictionary set a name stands for, and where it is installed.
constexpr std::string_view kTopBottomSet = "top-bottom";

namespace base = zelk::base;
namespace builtin = zelk::builtin;
namespace db = zelk::db;
namespace lookup = zelk::lookup;
namespace platform = zelk::platform;
namespace text = zelk::text;
namespace tool = zelk::tool;
using base::DictionaryEntry;
using tool::UsageError;

struct Options {
    std::string command;
    std::string database;  // empty: the default database
    bool force = false;
    bool empty = false;
    bool replace = false;
    bool replaceKeys = false;
    bool exact = false;
    bool help = false;
    bool version = false;
    std::vector<std::string> sets;  // create --with
    std::vector<std::string> files;
};

Options ParseOptions(int argc, char** argv) {
    if (argc < 2) throw UsageError("no command given");
    Options options;
    options.command = argv[1];
    for (int i = 1; i < argc && std::string_view(argv[i]) != "--"; ++i) {
        const std::string_view argument = argv[i];
        options.help = options.help || argument == "--help" || argument == "-h";
        options.version = options.version || argument == "--version";
    }
    if (options.help || options.version) return options;
    bool onlyFiles = false;  // after "--": parts and files, even those that start with "-"
    for (int i = 2; i < argc; ++i) {
        const std::string argument = argv[i];
        if (onlyFiles) {
            options.files.push_back(argument);
        } else if (argument == "--") {
            onlyFiles = true;
        } else if (argument == "--database" || argument == "-d") {
            if (++i == argc) throw UsageError(argument + " needs a path");
            options.database = argv[i];
        } else if (argument == "--force" &&
                   (options.command == "create" || options.command == "export" ||
                    options.command == "import")) {
            options.force = true;
        } else if (argument == "--empty" && options.command == "create") {
            options.empty = true;
        } else if (argument == "--replace" && options.command == "import") {
            options.replace = true;
        } else if (argument == "--exact" && options.command == "find") {
            options.exact = true;
        } else if (argument == "--replace-keys" && options.command == "import") {
            options.replaceKeys = true;
        } else if (argument == "--with" && options.command == "create") {
            if (++i == argc) throw UsageError("--with needs a set name (top-bottom)");
            if (argv[i] != kTopBottomSet) {
                throw UsageError("unknown set " + std::string(argv[i]) + " (known: top-bottom)");
            }
            options.sets.push_back(argv[i]);
        } else if (argument.size() > 1 && argument[0] == '-') {
            throw UsageError("unknown option " + argument);
        } else {
            options.files.push_back(argument);
        }
    }
    if (options.replace && options.replaceKeys) {
        throw UsageError("--replace and --replace-keys exclude each other");
    }
    if (options.command == "import" && options.force && !options.replace) {
        throw UsageError("import takes --force only with --replace");
    }
    return options;
}

// The top-bottom set: the installed file when there is one (so that it can be
// looked at and changed there), else the copy built into the tool.
std::vector<DictionaryEntry> TopBottomSet() {
    const std::string installed = platform::PathText(platform::InstalledDataPath(
        platform::ExecutableDirectory(), std::string(kTopBottomSet) + ".tsv"));
    std::error_code error;
    if (std::filesystem::is_regular_file(platform::PathFromUtf8(installed), error)) {
        return text::ParseDictionaryTsv(tool::ReadWholeFile(installed), installed);
    }
    return builtin::TopBottomEntries();
}

int Create(const Options& options) {
    if (!options.files.empty()) throw UsageError("create takes no file");
    const std::filesystem::path database = platform::PathFromUtf8(options.database);
    const std::filesystem::path folder = database.parent_path();
    if (!folder.empty()) std::filesystem::create_directories(folder);
    text::ShippedSets sets;
    if (!options.empty) sets = builtin::BuiltinSets();
    const bool withTopBottom = !options.sets.empty();
    if (withTopBottom) sets.topBottom = TopBottomSet();
    const std::size_t rows = db::CreateDictionaryDatabase(
        database, text::ComposeDictionary(sets, withTopBottom).Entries(), db::kInitialSentence,
        options.force);
    std::cerr << "zelk-dict: created "
              << platform::PathText(std::filesystem::absolute(database).lexically_normal())
              << " with " << tool::Counted(rows, "entry", "entries") << "\n";
    return 0;
}

// Refuses an export target that would lose data: the database being read,
// through whatever path or link, always; anything but a regular file
// (a device, a pipe, a folder) always; any other existing file that is not
// a text file (another database, a binary) unless forced.
void CheckExportTarget(const std::string& path, const std::string& database, bool force) {
    std::error_code error;
    if (!std::filesystem::exists(platform::PathFromUtf8(path), error)) return;
    if (std::filesystem::equivalent(platform::PathFromUtf8(path), platform::PathFromUtf8(database),
                                    error)) {
        throw std::runtime_error("'" + path + "' is the database being exported; nothing was " +
                                 "written. Name another file for the export.");
    }
    tool::RequireFileTarget(path);
    if (force) return;
    const std::string content = tool::ReadWholeFile(path);
    if (content.find('\0') != std::string::npos || !base::IsValidUtf8(content)) {
        throw std::runtime_error("'" + path + "' exists and is not a text file (it may be a " +
                                 "database); nothing was written. Use --force to replace it.");
    }
}

int Export(const Options& options) {
    if (options.files.size() > 1) throw UsageError("export writes one file");
    const bool toStandardOutput = options.files.empty() || options.files[0] == "-";
    if (!toStandardOutput) CheckExportTarget(options.files[0], options.database, options.force);
    db::TADOConnection connection(db::BuildConnectionString(options.database));
    const std::string tsv = text::FormatDictionaryTsv(db::ExportDictionary(connection));
    if (toStandardOutput) return tool::PrintToStandardOutput(tsv);
    tool::ReplaceFileAtomically(options.files[0], tsv);
    return 0;
}

int Import(const Options& options) {
    if (options.files.size() != 1) throw UsageError("import reads exactly one file");
    const std::string& path = options.files[0];
    std::error_code error;
    const bool namedSet = path == kTopBottomSet && !std::filesystem::exists(path, error);
    const std::string name = path == "-" ? "standard input" : path;
    const std::vector<DictionaryEntry> entries =
        namedSet ? TopBottomSet() : text::ParseDictionaryTsv(tool::ReadWholeFile(path), name);
    if (options.replace && entries.empty() && !options.force) {
        throw std::runtime_error(name + " holds no entries, and --replace would leave the " +
                                 "dictionary empty; nothing was changed. Add --force to empty it.");
    }
    db::TADOConnection connection(db::BuildConnectionString(options.database));
    using base::MergePolicy;
    const MergePolicy policy = options.replace       ? MergePolicy::ReplaceAll
                               : options.replaceKeys ? MergePolicy::ReplaceKeys
                                                     : MergePolicy::KeepExisting;
    const base::ImportSummary summary = db::ImportDictionary(connection, entries, policy);
    using tool::Counted;
    std::string report = "zelk-dict: " + Counted(summary.added, "entry", "entries") + " added, " +
                         std::to_string(summary.changed) + " changed";
    if (summary.kept > 0) {
        report += ", " + std::to_string(summary.kept) +
                  " kept as they were (their keys have entries; --replace-keys changes them)";
    }
    if (summary.repeated > 0) {
        report += "; " + Counted(summary.repeated, "line", "lines") +
                  " named a key again (the last line for a key counts)";
    }
    std::cerr << report << "\n";
    return 0;
}

int Coverage(const Options& options) {
    db::TADOConnection connection(db::BuildConnectionString(options.database));
    db::TADOQuery lookup("ADOQuery1", connection);
    connection.Open();
    db::ReadTransaction transaction(connection);
    text::CoverageCounter counter([&](char32_t character) {
        transaction.Begin();
        return lookup::HasEntry(lookup, character);
    });
    const auto take = [&](std::string_view chunk) { counter.Add(chunk); };
    const std::vector<std::string> files =
        options.files.empty() ? std::vector<std::string>{"-"} : options.files;
    for (const std::string& path : files) tool::ReadInputInChunks(path, take);
    const std::uint64_t chinese = counter.chineseCharacters();
    const std::uint64_t split = counter.splitCharacters();
    char share[32] = "-";
    if (chinese > 0) std::snprintf(share, sizeof share, "%.2f %%", 100.0 * split / chinese);
    std::string report = "Chinese characters: " + std::to_string(chinese) +
                         ", split by the dictionary: " + std::to_string(split) + " (" + share +
                         ")\n";
    const auto whole = counter.MostFrequentWhole(30);
    if (!whole.empty()) report += "Most frequent characters left whole:\n";
    for (const auto& [character, count] : whole) {
        report += base::Utf16ToUtf8(base::CodePointToUtf16(character)) + "\t" +
                  std::to_string(count) + "\n";
    }
    return tool::PrintToStandardOutput(report);
}

int Find(const Options& options) {
    if (options.files.empty()) throw UsageError("find needs at least one part");
    for (const std::string& part : options.files) {
        if (part.empty()) throw UsageError("a part may not be empty");
        if (!base::IsValidUtf8(part)) throw UsageError("a part is not valid UTF-8");
    }
    db::TADOConnection connection(db::BuildConnectionString(options.database));
    std::string listing;
    for (const DictionaryEntry& entry :
         text::FindByParts(db::ExportDictionary(connection), options.files, options.exact,
                           &builtin::CharacterFrequencyRanks())) {
        listing += entry.key + "\t" + entry.replacement.value_or("") + "\n";
    }
    if (listing.empty()) {
        std::string parts;
        for (const std::string& part : options.files) parts += (parts.empty() ? "" : " ") + part;
        std::cerr << "zelk-dict: no character of the dictionary is written with "
                  << (options.exact ? "exactly " : "") << parts << "\n";
    }
    return tool::PrintToStandardOutput(listing);
}

int Main(int argc, char** argv) {
    Options options = ParseOptions(argc, argv);
    if (options.help) return tool::PrintToStandardOutput(tool::HelpText(kUsage));
    if (options.version) return tool::PrintToStandardOutput(tool::VersionText());
    if (options.database.empty()) {
        // A new database is made, not copied from the shipped one.
        options.database = tool::DefaultDatabase(options.command != "create");
    }
    if (options.command == "create") return Create(options);
    if (options.command == "export") return Export(options);
    if (options.command == "import") return Import(options);
    if (options.command == "coverage") return Coverage(options);
    if (options.command == "find") return Find(options);
    throw UsageError("unknown command " + options.command);
}

}  // namespace

int main(int argc, char** argv) {
    return tool::RunTool("zelk-dict", Main, argc, argv);
}
