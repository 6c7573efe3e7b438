// The OLE DB connection string: its reader and the quoting of a value written into it.
#include "ado/connection_string.h"

#include "jet/error.h"
#include "jet/text.h"

namespace ado {

namespace {

bool is_blank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string_view trim(std::string_view s) {
    while (!s.empty() && is_blank(s.front())) s.remove_prefix(1);
    while (!s.empty() && is_blank(s.back())) s.remove_suffix(1);
    return s;
}

}  // namespace

ConnectionString ConnectionString::parse(std::string_view text) {
    ConnectionString cs;
    size_t i = 0;
    const size_t n = text.size();
    while (i < n) {
        // Key: up to "=" (or the end of the segment, which is malformed).
        size_t key_start = i;
        while (i < n && text[i] != '=' && text[i] != ';') ++i;
        std::string_view key = trim(text.substr(key_start, i - key_start));
        if (i >= n || text[i] == ';') {
            if (!key.empty()) jet::raise(jet::Fault::BadConnectionString, key);
            ++i;
            continue;
        }
        ++i;  // '='
        while (i < n && is_blank(text[i])) ++i;
        std::string value;
        if (i < n && (text[i] == '\'' || text[i] == '"')) {
            const char q = text[i++];
            bool closed = false;
            while (i < n) {
                if (text[i] == q) {
                    if (i + 1 < n && text[i + 1] == q) {
                        value += q;
                        i += 2;
                        continue;
                    }
                    ++i;
                    closed = true;
                    break;
                }
                value += text[i++];
            }
            if (!closed) jet::raise(jet::Fault::BadConnectionString, key);
            while (i < n && is_blank(text[i])) ++i;
            if (i < n && text[i] != ';') jet::raise(jet::Fault::BadConnectionString, key);
        } else {
            size_t v_start = i;
            while (i < n && text[i] != ';') ++i;
            value = std::string(trim(text.substr(v_start, i - v_start)));
        }
        if (key.empty()) jet::raise(jet::Fault::BadConnectionString, "=");
        cs.props_.emplace_back(std::string(key), std::move(value));
        if (i < n) ++i;  // ';'
    }
    return cs;
}

std::string quoted_value(std::string_view value) {
    const bool as_is = value.find(';') == std::string_view::npos &&
                       (value.empty() || (value.front() != '\'' && value.front() != '"' &&
                                          !is_blank(value.front()) && !is_blank(value.back())));
    if (as_is) return std::string(value);
    const char q = value.find('"') == std::string_view::npos ? '"' : '\'';
    std::string out(1, q);
    for (char c : value) {
        if (c == q) out += q;
        out += c;
    }
    out += q;
    return out;
}

std::optional<std::string> ConnectionString::get(std::string_view key) const {
    for (auto it = props_.rbegin(); it != props_.rend(); ++it)
        if (jet::text::same_name(it->first, key)) return it->second;
    return std::nullopt;
}

}  // namespace ado
