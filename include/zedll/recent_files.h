// OPT_RLastFiles: a most-recently-used list of file paths kept under the product key.
#ifndef ZEDLL_RECENT_FILES_H
#define ZEDLL_RECENT_FILES_H

#include "zedll/cls_string.h"
#include "zedll/export.h"
#include "zedll/reg_options.h"

/// Recent files, index 0 the most recent, kept in the current user's settings key of the given
/// company, product and version (OPT_RegOptions, scope 1):
///   "NF"   REG_DWORD  number of stored entries
///   "LN1" .. "LN<NF>" REG_SZ, "LN1" the most recent
/// The constructor loads the list: "LN<NF>" down to "LN1" are each added in turn (files that no
/// longer exist, and duplicates, drop out, making room for the older entries read before them;
/// a stored NF above the maximum is read whole all the same). A damaged NF is bounded: it is
/// taken as an unsigned number, and above 65535 only "LN65535" down to "LN1" are read. The
/// destructor saves it. Copies are deep (each owns its strings and its options object).
/// Threads: one thread per object.
///
/// Layout: +0 (vptr) | entries: CLS_String** (maximum + 1 slots) | maximum: i32 | count: i32 |
///         options: OPT_RegOptions*
class ZEDLL_API OPT_RLastFiles {
public:
    /// maximum: 1 to 98; any other value gives 5.
    OPT_RLastFiles(const char* company, const char* product, const char* version, int maximum);
    OPT_RLastFiles(const OPT_RLastFiles& other);
    OPT_RLastFiles& operator=(const OPT_RLastFiles& other);
    virtual ~OPT_RLastFiles();

    /// Puts path first (an equal entry, compared as CLS_String ==, moves there; a full list loses
    /// its last entry). 0, with the list unchanged, when the file's attributes cannot be read for
    /// error 2, 3, 4 or 5 (not found, path not found, too many open files, access denied).
    int AddFile(CLS_String path);
    /// Removes entry index; 0 when index is not 0 to count - 1.
    int DelFile(int index);
    /// The entry (owned by the list), or null for an index outside 0 to count - 1.
    CLS_String* GetFile(int index);
    int GetNumFiles();

private:
    void Load();
    void Save();
    void CopyFrom(const OPT_RLastFiles& other);
    void Release();

    CLS_String** entries_;
    int maximum_;
    int count_;
    OPT_RegOptions* options_;
};

#endif
