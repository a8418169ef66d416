#include "ui/win32/ApplicationTitle.h"

#include <windows.h>

#include <filesystem>

namespace {

std::wstring& Title() {
    static std::wstring title = [] {
        wchar_t path[MAX_PATH] = {};
        GetModuleFileNameW(nullptr, path, MAX_PATH);
        return std::filesystem::path(path).stem().wstring();
    }();
    return title;
}

}  // namespace

std::wstring ApplicationTitle() {
    return Title();
}

void SetApplicationTitle(std::wstring_view title) {
    Title() = title;
}
