// The log options: method and path in the registry under the host's settings key.
#include "log/log_options.h"

#include <cstdlib>
#include <cstring>

#include "log/log_page_ids.h"
#include "os/heap.h"
#include "zedll/cls_string.h"
#include "zedll/log_options.h"
#include "zedll/reg_options.h"

namespace zed::log_options {
namespace {

char* g_company = nullptr;
char* g_product = nullptr;
char* g_version = nullptr;
int g_scope = 1;
int g_initialised = 0;
unsigned g_method = 0;
char g_path[kPathBytes];

constexpr const char* kMethodValue = "Syslog";
constexpr const char* kPathValue = "SyslogPath";

// Replaces a stored name with a copy of `name`; false when the copy cannot be made.
bool Replace(char** stored, const char* name) {
    char* copy = HeapCopyText(name);
    if (copy == nullptr) return false;
    HeapRelease(*stored);
    *stored = copy;
    return true;
}

// Reads method and path; what cannot be read keeps the current value.
unsigned Load() {
    OPT_RegOptions options(g_company, g_product, g_version);
    const DWORD method = options.GetDword(kMethodValue, static_cast<DWORD>(g_method), g_scope);
    char current[kPathBytes];
    std::memcpy(current, g_path, sizeof current);
    options.GetString(kPathValue, current, g_path, sizeof g_path, g_scope);
    g_path[kPathBytes - 1] = 0;
    return method;
}

}  // namespace

int ButtonOfMethod(unsigned method) {
    switch (method) {
    case 1: return ZEDLL_LOG_SYSTEM;
    case 2: return ZEDLL_LOG_FILE;
    case 3: return ZEDLL_LOG_STDERR;
    default: return ZEDLL_LOG_DISABLED;
    }
}

int MethodOfButton(int button) {
    switch (button) {
    case 1000: return 0;
    case 1001: return 2;
    case 1002: return 1;
    case 1003: return 3;
    default: return -1;
    }
}

unsigned AppliedMethod(bool (*checked)(void* context, int id), void* context) {
    for (int id = ZEDLL_LOG_DISABLED; id <= ZEDLL_LOG_STDERR; ++id) {
        if (checked(context, id)) return static_cast<unsigned>(MethodOfButton(id));
    }
    return 0;
}

void BrowseStart(const std::string& edit_text, std::string* directory, std::string* file_name) {
    if (edit_text.empty()) {
        *directory = "c:\\";
        *file_name = "undefine.log";
        return;
    }
    CLS_FileName path(edit_text.c_str());
    std::string part(edit_text.size() + 600, '\0');
    path.GetPath(&part[0]);
    *directory = part.c_str();
    path.GetFileName(&part[0]);
    *file_name = part.c_str();
}

std::string FilterList(const std::string& text) {
    std::string list = text;
    if (list.empty()) return std::string(2, '\0');
    const char separator = list.back();
    for (char& c : list) {
        if (c == separator) c = '\0';
    }
    return list;
}

unsigned CurrentMethod() { return g_method; }
const char* CurrentPath() { return g_path; }

void SetPathFromPage(const char* text) {
    std::strncpy(g_path, text != nullptr ? text : "", kPathBytes - 1);
    g_path[kPathBytes - 1] = 0;
}

void SetMethodFromPage(unsigned method) { g_method = method; }

void ReleaseNames() {
    HeapRelease(g_company);
    HeapRelease(g_product);
    HeapRelease(g_version);
    g_company = g_product = g_version = nullptr;
    g_initialised = 0;
}

bool Initialised() { return g_initialised != 0; }

}  // namespace zed::log_options

using namespace zed::log_options;

int ZEDLL_STDCALL log_InitOptionsLog(const char* company, const char* product, const char* version,
                                     int scope) {
    int initialised = 0;
    bool copied = true;
    if (company != nullptr) {
        copied = Replace(&g_company, company) && copied;
        initialised = 1;
    }
    if (product != nullptr) {
        copied = Replace(&g_product, product) && copied;
        initialised = 1;
    }
    if (version != nullptr) {
        copied = Replace(&g_version, version) && copied;
        initialised = 1;
    }
    g_scope = scope;
    g_initialised = copied ? initialised : 0;
    return g_initialised;
}

int ZEDLL_STDCALL log_LoadFlagLog(void) {
    if (!g_initialised) return -1;
    return static_cast<int>(Load());
}

char* ZEDLL_STDCALL log_LoadPathLog(void) {
    if (!g_initialised) return nullptr;
    Load();
    return g_path;
}

int ZEDLL_STDCALL log_SetFlagLog(int method, const char* path) {
    if (method >= 0) g_method = static_cast<unsigned>(method);
    if (path != nullptr) SetPathFromPage(path);
    return 1;
}

int ZEDLL_STDCALL log_WriteLog(void) {
    if (!g_initialised) return -1;
    OPT_RegOptions options(g_company, g_product, g_version);
    options.SetDword(kMethodValue, static_cast<DWORD>(g_method), g_scope);
    return options.SetString(kPathValue, g_path, g_scope) ? 1 : 0;
}
