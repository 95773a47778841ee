// zed reg export / import: registry text files of a program's settings on the platform registry.
#include <cstdio>
#include <iostream>
#include <string>

#include "commands.h"
#include "zedll.h"

namespace zedtool {

int RegExport(const std::string& file, const std::string& company, const std::string& product,
              const std::string& version, const std::string& scope_name) {
    const int scope = scope_name == "machine" ? 0 : 1;
    OPT_RegOptions options(company.c_str(), product.c_str(), version.c_str());
    options.Export(file.c_str(), scope);
    // Export reports success in any case; an empty or missing file tells that nothing was there.
    std::FILE* f = std::fopen(file.c_str(), "rb");
    if (f == nullptr) {
        std::cerr << "zed reg export: cannot write " << file << "\n";
        return 1;
    }
    std::fseek(f, 0, SEEK_END);
    const long size = std::ftell(f);
    std::fclose(f);
    if (size <= 0) {
        std::cerr << "zed reg export: no settings key " << (scope == 1 ? "HKEY_CURRENT_USER" : "HKEY_LOCAL_MACHINE")
                  << " for " << company << "\\" << product << "\\" << version << "\n";
        return 1;
    }
    std::cout << "exported " << size << " bytes to " << file << "\n";
    return 0;
}

int RegImport(const std::string& file) {
    // The names only make the object usable: the file names its own keys.
    OPT_RegOptions options("KELVARO", "", "");
    if (!options.Import(file.c_str())) {
        std::cerr << "zed reg import: " << file
                  << " could not be read whole (missing, not REGEDIT4, or a malformed line);"
                     " values before the stop were written\n";
        return 1;
    }
    std::cout << "imported " << file << "\n";
    return 0;
}

}  // namespace zedtool
