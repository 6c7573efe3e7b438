// The registry stand-in: string values of three keys kept in one text file in the
// Windows registry export format (UTF-8):
//
//     Windows Registry Editor Version 5.00
//
//     [HKEY_LOCAL_MACHINE\Software\ORVIK]
//     "dodralvex"="0123"
//     "dodralvexS"="/srv/dane/baza.mdb"
//
// In a quoted text "\\" stands for a backslash and "\"" for a double quote; "@" names a
// key's default value. Keys and value names match without regard to ASCII case, as in
// the Windows registry. Values of other kinds (dword:, hex:...) are kept as they stand
// and read as "". Comment lines (";") and blank lines are kept on rewrite.
#pragma once

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace platform {

// A registry file that cannot be read or parsed, or a write that failed. The message
// names the file and, for a parse failure, the line.
class RegistryError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// A text as the registry file quotes it: between double quotes, with "\" and '"'
// preceded by a backslash.
std::string registry_quote(std::string_view text);

// The key named by a key code: 0 HKEY_LOCAL_MACHINE\Software\ORVIK, 1
// HKEY_CURRENT_USER\Control Panel\International, 2 HKEY_CLASSES_ROOT\.lnk\International;
// nullopt for any other code.
std::optional<std::string_view> registry_key_path(int key_code);

// The content of a registry file, edited line by line so that a rewrite keeps every
// line it does not change exactly as it was.
class RegistryDocument {
  public:
    // An empty registry (just the header once serialized).
    RegistryDocument();

    // Parses text; origin names it in error messages. Text that is empty or only blank
    // is an empty registry. Throws RegistryError naming origin and the line.
    static RegistryDocument parse(std::string_view text, std::string_view origin);

    // The string value name of key; "" when the key or value is missing or the value is
    // not a string. The text is cut at its first NUL.
    std::string get(std::string_view key, std::string_view name) const;

    // Sets the string value name of key (creating the key), replacing an existing value
    // of any kind. The value is cut at its first NUL. Throws RegistryError when the
    // name or value holds a line break, which the file format cannot carry.
    void set(std::string_view key, std::string_view name, std::string_view value);

    // Every value of key in file order, each once (the last of duplicates), as
    // (name, string value or "" for other kinds); "@" names the default value.
    std::vector<std::pair<std::string, std::string>> list(std::string_view key) const;

    // The file's text.
    std::string serialize() const;

  private:
    struct Value {
        size_t first_line, last_line;  // a value of another kind may continue on more lines
        std::string key, name, raw_name;
        bool is_text;
        std::string text;
    };
    struct Section {
        std::string key;
        size_t last_line;  // the header or the last line of its last value
    };
    void index(std::string_view origin);
    const Value* find(std::string_view key, std::string_view name) const;

    std::string bom_;
    std::string eol_ = "\n";
    std::vector<std::string> lines_;
    std::vector<Value> values_;
    std::vector<Section> sections_;
};

// Reads the string value name of the key with key_code from the registry file; "" when
// the file, key or value is missing, the value is not a string, or the code names no
// key. Throws RegistryError when the file exists but cannot be read or parsed.
std::string registry_read(int key_code, std::string_view name);

// Writes a string value into the registry file, replacing the file atomically and
// keeping every other key and value as it was; creates the file and its folder when
// missing. The read, the change and the rename are done under the registry's lock file
// (LockFile), so that writes in several processes at once lose nothing. A code
// that names no key writes nothing. Throws RegistryError when the file cannot be parsed
// (it is then left untouched) or cannot be written, or the lock was not had in time.
void registry_write(int key_code, std::string_view name, std::string_view value);

// Checks, without changing it, that registry_write can replace the registry file (its
// lock can be had and its folder can take the temporary file of a write); creates the
// folder and the lock file when missing.
// Throws RegistryError naming the cause when it cannot.
void registry_check_writable();

// Every value of the key with key_code as (name, string value); empty when the file or
// key is missing. Throws RegistryError like registry_read.
std::vector<std::pair<std::string, std::string>> registry_list(int key_code);

}  // namespace platform
