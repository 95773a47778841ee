// OPT_RegOptions: typed settings of one program under its product key in the registry.
#ifndef ZEDLL_REG_OPTIONS_H
#define ZEDLL_REG_OPTIONS_H

#include "zedll/export.h"
#include "zedll/platform_types.h"

/// The settings of one program: values under the key
///
///   <root>\<top level>\<company>\<product>\<version>
///
/// scope 1: HKEY_CURRENT_USER\Software; scope 0: HKEY_LOCAL_MACHINE\SOFTWARE; any other scope:
/// HKEY_LOCAL_MACHINE\Software (the same key: key names ignore case). Every operation takes the
/// scope last.
///
/// Stored formats: text and character REG_SZ (with terminator); numbers REG_DWORD (4 bytes, the
/// platform's byte order); flags REG_BINARY of 1 byte (1 or 0); doubles REG_BINARY of the 8 bytes
/// of the IEEE 754 double (long double is narrowed to double); colours REG_SZ "%u %u %u" of red
/// (low byte), green, blue; raw bytes REG_BINARY.
///
/// An object whose company, product or version is null (names given as null) is unusable: writes
/// and tests return 0, reads return their default. Writes create the key when it is missing.
/// Reads fail to their default when the key or value is missing, the type differs or the value
/// does not fit the buffer.
///
/// On Linux the registry is the library's own store: see README ("Where settings live").
/// Threads: an object may be used from any thread; the registry serialises the writes.
///
/// Layout: +0 (vptr) | company: char* | product: char* | version: char*  (owned copies)
class ZEDLL_API OPT_RegOptions {
public:
    /// Company "KELVARO".
    OPT_RegOptions(const char* product, const char* version);
    OPT_RegOptions(const char* company, const char* product, const char* version);
    OPT_RegOptions(const OPT_RegOptions& other);
    OPT_RegOptions& operator=(const OPT_RegOptions& other);
    virtual ~OPT_RegOptions();
    /// Replaces the three names with copies; returns 1.
    int SetNames(const char* company, const char* product, const char* version);

    /// Writes: 1 on success, 0 on failure.
    int SetString(const char* name, const char* text, int scope = 1);
    int SetChar(const char* name, char c, int scope = 1);
    int SetDword(const char* name, DWORD value, int scope = 1);
    int SetDword(const char* name, int value, int scope = 1);
    /// Stores the byte 1 when value is 1, else 0.
    int SetBool(const char* name, int value, int scope = 1);
    int SetDouble(const char* name, double value, int scope = 1);
    int SetDouble(const char* name, long double value, int scope = 1);
    int SetColor(const char* name, DWORD rgb, int scope = 1);
    int SetBinary(const char* name, const void* data, DWORD size, int scope = 1);

    /// Reads the text into buffer (size bytes). Success: the bytes stored, terminator included.
    /// Failure: def cut to size - 1 characters is copied (and terminated), and the result is the
    /// characters copied. A stored text that is not terminated within the buffer counts as too
    /// large.
    int GetString(const char* name, const char* def, char* buffer, DWORD size, int scope = 1);
    /// The stored one-character text (0 for an empty one), else def.
    char GetChar(const char* name, char def, int scope = 1);
    DWORD GetDword(const char* name, DWORD def, int scope = 1);
    int GetDword(const char* name, int def, int scope = 1);
    /// A stored byte: 1 when it is 1, else 0; missing: 1 only for def 1; a stored binary value of
    /// 2 to 10 bytes: def unchanged.
    int GetBool(const char* name, int def, int scope = 1);
    /// A stored binary value of exactly 8 bytes, as a double; anything else (missing, another
    /// type or length) gives def unchanged (the long double def as given, not narrowed).
    double GetDouble(const char* name, double def, int scope = 1);
    long double GetDouble(const char* name, long double def, int scope = 1);
    /// Reads a text of up to 99 bytes, terminator included (a longer or missing one: def as a
    /// colour text), parsed as "%u %u %u", each component cut to its low 8 bits. Components that
    /// cannot be parsed take 9 (red), 55 (green), 33 (blue).
    DWORD GetColor(const char* name, DWORD def, int scope = 1);
    /// Up to size bytes into buffer, returns the count; on failure min(def_size, size) bytes of
    /// def, returning that count.
    DWORD GetBinary(const char* name, const void* def, DWORD def_size, void* buffer, DWORD size,
                    int scope = 1);

    /// 1 when the settings key can be opened with full access.
    int KeyExists(int scope = 1);
    int DeleteValue(const char* name, int scope = 1);
    /// Deletes <top>\company\product\version; a key with subkeys stays (0).
    int DeleteKey(const char* company, const char* product, const char* version, int scope = 1);
    /// 1 when the value exists with that registry type and size in bytes (size (DWORD)-1: any).
    int HasValue(const char* name, DWORD type, DWORD size, int scope = 1);
    int IsDword(const char* name, int scope = 1);
    int IsChar(const char* name, int scope = 1);
    int IsBool(const char* name, int scope = 1);
    int IsDouble(const char* name, int scope = 1);
    int IsLongDouble(const char* name, int scope = 1);
    int IsString(const char* name, int scope = 1);
    int IsBinary(const char* name, int scope = 1);

    /// Copies the key tree of the source names to the destination names (trailing empty names
    /// left off both paths; top-level spelling of the source scope). A source that cannot be
    /// opened gives 1 and copies nothing, wherever the destination lies. Then a destination
    /// inside the source tree gives 0 and copies nothing (it would copy its own copy without
    /// end). A destination key that cannot be created gets no values and makes the result 0;
    /// the subkeys of that level are still walked (their destinations lie below it and normally
    /// fail too). 0 also when a value cannot be written. Values whose name exceeds 299
    /// characters or whose data exceeds 3000 bytes are skipped and make the result 0; subkey
    /// names are read into 3000 bytes.
    int CopyTree(const char* dst_company, const char* dst_product, const char* dst_version,
                 const char* src_company, const char* src_product, const char* src_version,
                 int dst_scope, int src_scope);
    int CopyTo(const char* dst_company, const char* dst_product, const char* dst_version,
               int dst_scope, int src_scope);
    /// Destination company "KELVARO".
    int CopyTo(const char* dst_product, const char* dst_version, int dst_scope, int src_scope);

    /// Writes this object's key and everything below it to a REGEDIT4 text file (created anew;
    /// CR LF lines). Texts, numbers and raw bytes are written; other types are left out. Always 1:
    /// the file is left empty (or missing) when the key cannot be opened (or the file created).
    int Export(const char* file_name, int scope = 1);
    /// Reads a REGEDIT4 text file into the registry: 1 when the whole file was read, 0 when it
    /// cannot be opened, lacks the "REGEDIT4" header or a line stops the reading (what was written
    /// before stays). Texts ("..."), "dword:" and "hex:" values are read; a value line of any
    /// other type ("hex(2):", ...) is skipped alone: a "\" at its end does not carry over, so an
    /// indented line after it stops the reading. An empty line closes the open key; a "hex:"
    /// list left open by a "\" still takes the lines that follow it.
    int Import(const char* file_name);

private:
    bool Usable() const;
    const char* company_;
    const char* product_;
    const char* version_;
};

#endif
