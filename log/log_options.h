// Internals of the log options shared with the Windows page and the tests.
#ifndef ZEDLL_LOG_LOG_OPTIONS_H
#define ZEDLL_LOG_LOG_OPTIONS_H

#include <string>

namespace zed::log_options {

constexpr int kPathBytes = 2500;

/// The radio button of a method (1 -> 1002, 2 -> 1001, 3 -> 1003, anything else -> 1000), and
/// the method of a button (-1 for another control).
int ButtonOfMethod(unsigned method);
int MethodOfButton(int button);

/// The method applied from the page: the code of the checked button with the lowest identifier,
/// 0 when none is checked. `checked(id)` tells whether button `id` is checked.
unsigned AppliedMethod(bool (*checked)(void* context, int id), void* context);

/// Where the browse dialog starts: for an empty edit text "c:\" and "undefine.log", else the
/// directory and file name of the edit text.
void BrowseStart(const std::string& edit_text, std::string* directory, std::string* file_name);
/// A "|"-separated filter text with its separator (its last character) turned into terminators.
std::string FilterList(const std::string& text);

/// The current method and path (for the page), and the release at library unload.
unsigned CurrentMethod();
const char* CurrentPath();
void SetPathFromPage(const char* text);
void SetMethodFromPage(unsigned method);
void ReleaseNames();
/// True once log_InitOptionsLog stored a name.
bool Initialised();

}  // namespace zed::log_options

#endif
