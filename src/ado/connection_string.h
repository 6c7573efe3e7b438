// The OLE DB connection string: "key=value" properties separated by ";".
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace ado {

class ConnectionString {
  public:
    // Reads the properties of a connection string. Keys and values are trimmed of
    // blanks; a value may be quoted with ' or " and then holds ";" and "=" as they
    // stand (a doubled quote inside stands for one). Empty segments are skipped.
    // Raises BadConnectionString for a segment without "=" or an unclosed quote.
    static ConnectionString parse(std::string_view text);

    // The value of a property, the key compared without regard to case; the last
    // occurrence wins. nullopt when the string does not set it.
    std::optional<std::string> get(std::string_view key) const;

    const std::vector<std::pair<std::string, std::string>>& properties() const { return props_; }

  private:
    std::vector<std::pair<std::string, std::string>> props_;
};

// A property's value as a connection string writes it, so that parse reads back exactly
// value: as it stands when it holds no ";", does not begin with a quote and has no blank
// at either end; else enclosed in double quotes, or in single quotes when it holds a
// double quote, the enclosing quote doubled inside.
std::string quoted_value(std::string_view value);

}  // namespace ado
