// zelk-dict: makes the dictionary database and moves dictionaries in and out
// of it as TSV files.

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "AdoConnection.h"
#include "CodePage.h"
#include "DefaultDictionary.h"
#include "DictionaryDatabase.h"
#include "ToolSupport.h"

namespace {

constexpr std::string_view kUsage =
    "usage: zelk-dict create [--force] [--empty] [--database PATH]\n"
    "       zelk-dict export [--force] [--database PATH] [FILE]\n"
    "       zelk-dict import [--replace] [--database PATH] FILE\n"
    "\n"
    "The database is Zelk.dll here (for the installed tools, the user's own,\n"
    "~/.local/share/zelk/Zelk.dll) unless --database names another.\n"
    "\n"
    "create  makes a new database with the default\n"
    "        dictionary and the initial sentence; --force replaces an existing\n"
    "        file, --empty leaves the dictionary empty.\n"
    "export  writes the dictionary as TSV (key, tab, replacement) to FILE or\n"
    "        standard output. It never writes over the database itself, and\n"
    "        over an existing file only when that is a text file (an earlier\n"
    "        export) or --force is given.\n"
    "import  reads a TSV file (\"-\" for standard input): each entry changes the\n"
    "        first entry of its key or is added; --replace empties the\n"
    "        dictionary first.\n";

using zelk::tool::UsageError;

struct Options {
    std::string command;
    std::string database;  // empty: the default database
    bool force = false;
    bool empty = false;
    bool replace = false;
    std::vector<std::string> files;
};

Options ParseOptions(int argc, char** argv) {
    if (argc < 2) throw UsageError("no command given");
    Options options;
    options.command = argv[1];
    if (options.command == "--help" || options.command == "-h") {
        std::cout << kUsage;
        std::exit(0);
    }
    for (int i = 2; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--database" || argument == "-d") {
            if (++i == argc) throw UsageError(argument + " needs a path");
            options.database = argv[i];
        } else if (argument == "--force" &&
                   (options.command == "create" || options.command == "export")) {
            options.force = true;
        } else if (argument == "--empty" && options.command == "create") {
            options.empty = true;
        } else if (argument == "--replace" && options.command == "import") {
            options.replace = true;
        } else if (argument.size() > 1 && argument[0] == '-') {
            throw UsageError("unknown option " + argument);
        } else {
            options.files.push_back(argument);
        }
    }
    return options;
}

int Create(const Options& options) {
    if (!options.files.empty()) throw UsageError("create takes no file");
    const std::filesystem::path folder = std::filesystem::path(options.database).parent_path();
    if (!folder.empty()) std::filesystem::create_directories(folder);
    const std::vector<zelk::DictionaryEntry> entries =
        options.empty ? std::vector<zelk::DictionaryEntry>() : zelk::DefaultDictionaryEntries();
    zelk::CreateDictionaryDatabase(options.database, entries, zelk::kInitialSentence,
                                   options.force);
    std::cerr << "zelk-dict: created "
              << std::filesystem::absolute(options.database).lexically_normal().string() << " with "
              << entries.size() << " entries\n";
    return 0;
}

// Refuses an export target that would lose data: the database being read,
// through whatever path or link, always; any other existing file that is not
// a text file (another database, a binary) unless forced.
void CheckExportTarget(const std::string& path, const std::string& database, bool force) {
    std::error_code error;
    if (!std::filesystem::exists(path, error)) return;
    if (std::filesystem::equivalent(path, database, error)) {
        throw std::runtime_error("'" + path + "' is the database being exported; nothing was " +
                                 "written. Name another file for the export.");
    }
    if (std::filesystem::is_directory(path, error)) {
        throw std::runtime_error("'" + path + "' is a folder; nothing was written.");
    }
    if (force) return;
    const std::string content = zelk::tool::ReadWholeFile(path);
    if (content.find('\0') != std::string::npos || !zelk::IsValidUtf8(content)) {
        throw std::runtime_error("'" + path + "' exists and is not a text file (it may be a " +
                                 "database); nothing was written. Use --force to replace it.");
    }
}

int Export(const Options& options) {
    if (options.files.size() > 1) throw UsageError("export writes one file");
    const bool toStandardOutput = options.files.empty() || options.files[0] == "-";
    if (!toStandardOutput) CheckExportTarget(options.files[0], options.database, options.force);
    zelk::TADOConnection connection(zelk::BuildConnectionString(options.database));
    const std::string text = zelk::FormatDictionaryTsv(zelk::ExportDictionary(connection));
    if (toStandardOutput) {
        zelk::tool::WriteAll(stdout, text, "standard output");
        zelk::tool::FinishOutput(stdout, "standard output");
        return 0;
    }
    zelk::tool::ReplaceFileAtomically(options.files[0], text);
    return 0;
}

int Import(const Options& options) {
    if (options.files.size() != 1) throw UsageError("import reads exactly one file");
    const std::string& path = options.files[0];
    const std::vector<zelk::DictionaryEntry> entries = zelk::ParseDictionaryTsv(
        zelk::tool::ReadWholeFile(path), path == "-" ? "standard input" : path);
    zelk::TADOConnection connection(zelk::BuildConnectionString(options.database));
    const zelk::ImportSummary summary =
        zelk::ImportDictionary(connection, entries, options.replace);
    std::cerr << "zelk-dict: " << summary.added << " entries added, " << summary.changed
              << " changed\n";
    return 0;
}

int Main(int argc, char** argv) {
    Options options = ParseOptions(argc, argv);
    if (options.database.empty()) {
        // A new database is made, not copied from the shipped one.
        options.database = zelk::tool::DefaultDatabase(options.command != "create");
    }
    if (options.command == "create") return Create(options);
    if (options.command == "export") return Export(options);
    if (options.command == "import") return Import(options);
    throw UsageError("unknown command " + options.command);
}

}  // namespace

int main(int argc, char** argv) {
    return zelk::tool::RunTool("zelk-dict", kUsage, Main, argc, argv);
}
