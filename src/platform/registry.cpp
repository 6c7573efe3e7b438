#include "platform/registry.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/atomic_file.h"
#include "platform/paths.h"

namespace platform {
namespace {

constexpr std::string_view kHeader = "Windows Registry Editor Version 5.00";
constexpr std::string_view kBom = "\xEF\xBB\xBF";
constexpr std::string_view kBlank = " \t\r";

bool iequal(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
        if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

std::string_view trim(std::string_view s) {
    auto b = s.find_first_not_of(kBlank);
    if (b == std::string_view::npos) return {};
    auto e = s.find_last_not_of(kBlank);
    return s.substr(b, e - b + 1);
}

std::string_view cut_at_nul(std::string_view s) {
    return s.substr(0, s.find('\0'));
}

[[noreturn]] void parse_fail(std::string_view origin, size_t line, std::string_view problem) {
    std::string msg(origin);
    msg += ":" + std::to_string(line + 1) + ": " + std::string(problem) +
           "; the registry file is not a valid registry export and is left as it is";
    throw RegistryError(msg);
}

// Reads the quoted text that starts at t[pos] ('"'), leaving pos after its closing quote.
std::string read_quoted(std::string_view t, size_t& pos, std::string_view origin, size_t line) {
    std::string out;
    for (++pos;; ++pos) {
        if (pos >= t.size()) parse_fail(origin, line, "quoted text without its closing quote");
        char c = t[pos];
        if (c == '"') {
            ++pos;
            return out;
        }
        if (c == '\\') {
            if (pos + 1 < t.size() && (t[pos + 1] == '\\' || t[pos + 1] == '"')) {
                out += t[++pos];
                continue;
            }
            parse_fail(origin, line,
                       "a backslash in quoted text must be written \\\\ (and a quote \\\")");
        }
        out += c;
    }
}

std::string value_line(std::string_view name, std::string_view value) {
    return (name.empty() ? std::string("@") : registry_quote(name)) + "=" + registry_quote(value);
}

}  // namespace

std::string registry_quote(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '\\' || c == '"') out += '\\';
        out += c;
    }
    out += '"';
    return out;
}

std::optional<std::string_view> registry_key_path(int key_code) {
    switch (key_code) {
        case 0:
            return "HKEY_LOCAL_MACHINE\\Software\\ORVIK";
        case 1:
            return "HKEY_CURRENT_USER\\Control Panel\\International";
        case 2:
            return "HKEY_CLASSES_ROOT\\.lnk\\International";
        default:
            return std::nullopt;
    }
}

RegistryDocument::RegistryDocument() : lines_{std::string(kHeader), ""} {
    index("");
}

RegistryDocument RegistryDocument::parse(std::string_view text, std::string_view origin) {
    RegistryDocument doc;
    if (text.substr(0, kBom.size()) == kBom) {
        doc.bom_ = kBom;
        text.remove_prefix(kBom.size());
    }
    if (text.find_first_not_of(" \t\r\n") == std::string_view::npos) return doc;
    doc.lines_.clear();
    size_t start = 0;
    while (start < text.size()) {
        auto nl = text.find('\n', start);
        std::string_view line = text.substr(start, nl == std::string_view::npos ? nl : nl - start);
        if (doc.lines_.empty()) doc.eol_ = (!line.empty() && line.back() == '\r') ? "\r\n" : "\n";
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        doc.lines_.emplace_back(line);
        if (nl == std::string_view::npos) break;
        start = nl + 1;
    }
    doc.index(origin);
    return doc;
}

void RegistryDocument::index(std::string_view origin) {
    values_.clear();
    sections_.clear();
    if (lines_.empty() || trim(lines_[0]) != kHeader)
        parse_fail(origin, 0, "the first line must be \"Windows Registry Editor Version 5.00\"");
    for (size_t i = 1; i < lines_.size(); ++i) {
        std::string_view t = trim(lines_[i]);
        if (t.empty() || t[0] == ';') continue;
        if (t[0] == '[') {
            if (t.back() != ']') parse_fail(origin, i, "a key line must end with ']'");
            sections_.push_back({std::string(t.substr(1, t.size() - 2)), i});
            continue;
        }
        if (t[0] != '"' && t[0] != '@') parse_fail(origin, i, "not a key, a value or a comment");
        if (sections_.empty()) parse_fail(origin, i, "a value before the first key");
        Value v{i, i, sections_.back().key, "", "", true, ""};
        size_t pos = 0;
        if (t[0] == '@') {
            pos = 1;
        } else {
            v.name = read_quoted(t, pos, origin, i);
        }
        while (pos < t.size() && (t[pos] == ' ' || t[pos] == '\t')) ++pos;
        if (pos >= t.size() || t[pos] != '=') parse_fail(origin, i, "'=' expected after the name");
        ++pos;
        while (pos < t.size() && (t[pos] == ' ' || t[pos] == '\t')) ++pos;
        if (pos >= t.size()) parse_fail(origin, i, "a value expected after '='");
        if (t[pos] == '"') {
            v.text = read_quoted(t, pos, origin, i);
            if (!trim(t.substr(pos)).empty()) parse_fail(origin, i, "text after the quoted value");
        } else {
            // Another kind (dword:, hex:, hex(n):, "-"): a trailing backslash continues it.
            v.is_text = false;
            while (trim(lines_[v.last_line]).ends_with('\\') && v.last_line + 1 < lines_.size())
                ++v.last_line;
            i = v.last_line;
        }
        sections_.back().last_line = v.last_line;
        values_.push_back(std::move(v));
    }
}

const RegistryDocument::Value* RegistryDocument::find(std::string_view key,
                                                      std::string_view name) const {
    for (auto it = values_.rbegin(); it != values_.rend(); ++it)
        if (iequal(it->key, key) && iequal(it->name, name)) return &*it;
    return nullptr;
}

std::string RegistryDocument::get(std::string_view key, std::string_view name) const {
    const Value* v = find(key, name);
    return v && v->is_text ? std::string(cut_at_nul(v->text)) : std::string();
}

void RegistryDocument::set(std::string_view key, std::string_view name, std::string_view value) {
    name = cut_at_nul(name);
    value = cut_at_nul(value);
    if (name.find_first_of("\r\n") != std::string_view::npos ||
        value.find_first_of("\r\n") != std::string_view::npos)
        throw RegistryError("the registry value \"" + std::string(name) +
                            "\" holds a line break, which the registry file cannot store");
    if (const Value* v = find(key, name)) {
        // Keep the spelling of the name already in the file.
        size_t first = v->first_line, last = v->last_line;
        lines_[first] = value_line(v->name, value);
        lines_.erase(lines_.begin() + static_cast<ptrdiff_t>(first) + 1,
                     lines_.begin() + static_cast<ptrdiff_t>(last) + 1);
    } else {
        const Section* section = nullptr;
        for (auto it = sections_.rbegin(); it != sections_.rend() && !section; ++it)
            if (iequal(it->key, key)) section = &*it;
        if (section) {
            lines_.insert(lines_.begin() + static_cast<ptrdiff_t>(section->last_line) + 1,
                          value_line(name, value));
        } else {
            if (!trim(lines_.back()).empty()) lines_.emplace_back();
            lines_.push_back("[" + std::string(key) + "]");
            lines_.push_back(value_line(name, value));
        }
    }
    index("");
}

std::vector<std::pair<std::string, std::string>> RegistryDocument::list(
    std::string_view key) const {
    std::vector<std::pair<std::string, std::string>> out;
    for (const Value& v : values_) {
        if (!iequal(v.key, key) || find(key, v.name) != &v) continue;
        out.emplace_back(v.name.empty() ? "@" : v.name,
                         v.is_text ? std::string(cut_at_nul(v.text)) : std::string());
    }
    return out;
}

std::string RegistryDocument::serialize() const {
    std::string out = bom_;
    for (const auto& line : lines_) {
        out += line;
        out += eol_;
    }
    return out;
}

namespace {

// The registry file's document; an empty one when the file does not exist.
RegistryDocument load(const std::filesystem::path& path) {
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) {
        if (errno == ENOENT) return RegistryDocument();
        throw RegistryError("cannot read the registry file " + path.string() + ": " +
                            std::strerror(errno));
    }
    std::string text;
    char buf[8192];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) text.append(buf, n);
    int err = std::ferror(f) ? errno : 0;
    std::fclose(f);
    if (err)
        throw RegistryError("cannot read the registry file " + path.string() + ": " +
                            std::strerror(err));
    return RegistryDocument::parse(text, path.string());
}

}  // namespace

std::string registry_read(int key_code, std::string_view name) {
    auto key = registry_key_path(key_code);
    if (!key) return {};
    return load(registry_file()).get(*key, name);
}

namespace {

// Runs replace, a replacement of the registry file; its failure becomes a RegistryError.
template <class Replace>
void replacing(Replace&& replace) {
    try {
        replace();
    } catch (const std::exception& e) {
        throw RegistryError(std::string("cannot write the registry file: ") + e.what());
    }
}

}  // namespace

void registry_write(int key_code, std::string_view name, std::string_view value) {
    auto key = registry_key_path(key_code);
    if (!key) return;
    auto path = registry_file();
    // Without the lock, a write by another process between this read and the rename
    // would be lost.
    std::optional<LockFile> lock;
    replacing([&] { lock.emplace(path); });
    RegistryDocument doc = load(path);
    doc.set(*key, name, value);
    replacing([&] { write_file_atomically(path, doc.serialize()); });
}

void registry_check_writable() {
    replacing([] {
        const auto path = registry_file();
        LockFile lock(path);
        check_replaceable(path);
    });
}

std::vector<std::pair<std::string, std::string>> registry_list(int key_code) {
    auto key = registry_key_path(key_code);
    if (!key) return {};
    return load(registry_file()).list(*key);
}

}  // namespace platform
