#include "app/InformationRequest.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include "platform/Folders.h"

namespace {

// Around the user's database, which each system keeps in its own place.
constexpr std::string_view kHelpBefore =
    "usage: zelk [--help | --version]\n"
    "\n"
    "Opens the window of 澄墨 - 拆字工具, which rewrites a Chinese sentence with\n"
    "every character replaced by its parts from the dictionary (好 becomes 女子).\n"
    "The dictionary and the last sentence live in Zelk.dll: for the installed\n"
    "program the user's own, ";
constexpr std::string_view kHelpAfter =
    ". The window needs a\n"
    "display. zelk-split and zelk-dict do the same work on the command line.\n";

int Print(std::string_view text) {
    const bool written = std::fwrite(text.data(), 1, text.size(), stdout) == text.size();
    const bool flushed = std::fflush(stdout) == 0;
    if (written && flushed) return 0;
    std::fprintf(stderr, "zelk: cannot write standard output: %s\n", std::strerror(errno));
    return 1;
}

}  // namespace

std::optional<int> AnswerInformationRequest(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--help" || argument == "-h") {
            return Print(std::string(kHelpBefore) + zelk::platform::UserDatabaseText() +
                         std::string(kHelpAfter));
        }
        if (argument == "--version") return Print("zelk " ZELK_VERSION "\n");
    }
    return std::nullopt;
}
