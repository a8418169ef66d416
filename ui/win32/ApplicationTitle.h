#pragma once

#include <string>
#include <string_view>

// The application title: the caption of the information and error boxes.
// Until the show sequence sets it, the program file's name without ".exe".
std::wstring ApplicationTitle();
void SetApplicationTitle(std::wstring_view title);
