// Where a program's settings live in the registry: roots, top levels and key paths by scope.
#ifndef ZEDLL_SETTINGS_REG_PATHS_H
#define ZEDLL_SETTINGS_REG_PATHS_H

#include <string>

#include "os/registry.h"

namespace zed {

/// Scope 1 is the current user; every other scope the local machine.
inline os::RegRoot RootOf(int scope) {
    return scope == 1 ? os::RegRoot::kCurrentUser : os::RegRoot::kLocalMachine;
}

/// "Software" for the current user and for unknown scopes, "SOFTWARE" for scope 0.
inline const char* TopLevelOf(int scope) { return scope == 0 ? "SOFTWARE" : "Software"; }

/// The name a text file gives the root of a scope.
inline const char* RootNameOf(int scope) {
    return scope == 1 ? "HKEY_CURRENT_USER" : "HKEY_LOCAL_MACHINE";
}

/// "top\company\product\version", every level written even when empty.
inline std::string SettingsPath(int scope, const char* company, const char* product,
                                const char* version) {
    return std::string(TopLevelOf(scope)) + "\\" + company + "\\" + product + "\\" + version;
}

/// The path of a copied or exported tree: trailing empty names are left off.
inline std::string TreePath(int scope, const char* company, const char* product,
                            const char* version) {
    std::string path = TopLevelOf(scope);
    const char* names[3] = {company, product, version};
    int last = -1;
    for (int i = 0; i < 3; ++i) {
        if (names[i] != nullptr && *names[i] != 0) last = i;
    }
    for (int i = 0; i <= last; ++i) path.append("\\").append(names[i] ? names[i] : "");
    return path;
}

}  // namespace zed

#endif
