// zed lang list and zed version FILE: the language modules next to the tool and the version
// strings of a Windows executable or DLL.
#include <zedll.h>

#include <cstdio>
#include <ostream>
#include <string>
#include <vector>

#include "commands.h"

namespace zedtool {

int RunLangList(std::ostream& out) {
    const int count = ZEDLLGetLanguages(nullptr, 0);
    std::vector<WORD> languages(count > 0 ? count : 0);
    ZEDLLGetLanguages(languages.data(), count);
    for (std::size_t i = 0; i < languages.size(); ++i) {
        char name[128];
        if (!ZEDLLGetLanguageName(languages[i], name, sizeof name)) std::snprintf(name, sizeof name, "?");
        char id[8];
        std::snprintf(id, sizeof id, "%04x", languages[i]);
        out << id << "  " << name << (i == 0 ? "  (built in)" : "") << "\n";
    }
    return 0;
}

int RunVersion(const std::string& file, std::ostream& out, std::ostream& err) {
    static const char* const kNames[] = {"CompanyName",    "FileDescription",  "FileVersion",
                                         "InternalName",   "LegalCopyright",   "OriginalFilename",
                                         "ProductName",    "ProductVersion",   "Comments"};
    std::string path = file;
    if (!IsFileExist(&path[0])) {
        err << "zed version: " << file << ": no such file\n";
        return 1;
    }
    int found = 0;
    for (const char* name : kNames) {
        char value[1024];
        if (GetVersionFile(&path[0], const_cast<char*>(name), value, sizeof value) && value[0] != 0) {
            out << name << ": " << value << "\n";
            ++found;
        }
    }
    if (found == 0) {
        err << "zed version: " << file << ": no version strings\n";
        return 1;
    }
    return 0;
}

}  // namespace zedtool
