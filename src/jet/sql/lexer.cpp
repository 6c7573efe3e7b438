#include "jet/sql/lexer.h"

#include <cstring>
#include <string>

#include "jet/error.h"

namespace jet::sql {

namespace {

inline bool is_blank(unsigned char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}
inline bool is_digit(unsigned char c) {
    return c >= '0' && c <= '9';
}
// Letters, digits, '_' and every byte of a UTF-8 sequence (Polish letters).
inline bool is_name_char(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || is_digit(c) || c == '_' || c >= 0x80;
}
inline char upper(char c) {
    return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c;
}

// Length of an exponent ("e5", "E-02") at s[i], 0 when there is none.
size_t exponent_length(std::string_view s, size_t i) {
    if (i >= s.size() || (s[i] != 'e' && s[i] != 'E')) return 0;
    size_t j = i + 1;
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
    if (j >= s.size() || !is_digit(s[j])) return 0;
    while (j < s.size() && is_digit(s[j])) ++j;
    return j - i;
}

// Refuses a NUL byte in s[from, to): SQLite would end the statement's text there.
// where names the token it is in; the position counts characters from 1.
void refuse_nul(std::string_view s, size_t from, size_t to, std::string_view where) {
    const void* at = std::memchr(s.data() + from, 0, to - from);
    if (!at) return;
    const size_t offset = static_cast<size_t>(static_cast<const char*>(at) - s.data());
    size_t position = 1;
    for (size_t i = 0; i < offset; ++i)
        position += (static_cast<unsigned char>(s[i]) & 0xC0) != 0x80;  // not a continuation byte
    raise(Fault::NulCharacter, where, std::to_string(position));
}

}  // namespace

bool keyword_equals(std::string_view name, std::string_view kw) {
    if (name.size() != kw.size()) return false;
    for (size_t i = 0; i < kw.size(); ++i)
        if (upper(name[i]) != kw[i]) return false;
    return true;
}

bool Token::is(std::string_view kw) const {
    return kind == Tok::Name && keyword_equals(text, kw);
}

std::vector<Token> tokenize(std::string_view s) {
    std::vector<Token> out;
    out.reserve(s.size() / 4 + 4);
    size_t i = 0;
    const size_t n = s.size();
    auto push = [&](Tok k, size_t b, size_t e, std::string_view text = {}) {
        Token t;
        t.kind = k;
        t.begin = static_cast<uint32_t>(b);
        t.end = static_cast<uint32_t>(e);
        t.text = text;
        out.push_back(t);
    };
    // [name] and #date#: the inside up to the closing character, which must come.
    auto delimited = [&](Tok k, char close, std::string_view what) {
        size_t j = s.find(close, i + 1);
        refuse_nul(s, i + 1, j == std::string_view::npos ? n : j, what);
        if (j == std::string_view::npos) {
            push(Tok::Bad, i, n);
            i = n;
            return;
        }
        push(k, i, j + 1, s.substr(i + 1, j - i - 1));
        i = j + 1;
    };
    while (i < n) {
        unsigned char c = s[i];
        if (is_blank(c)) {
            ++i;
            continue;
        }
        size_t b = i;
        // A number: digits with an optional fraction and exponent, or ".5"; a run of
        // name characters that starts with a digit and is not a number is a name; a name
        // may end with "$" (Trim$).
        bool dot_number =
            c == '.' && i + 1 < n && is_digit(s[i + 1]) &&
            (out.empty() || (out.back().kind != Tok::Name && out.back().kind != Tok::Bracketed &&
                             out.back().kind != Tok::RParen));
        if (is_digit(c) || dot_number) {
            size_t j = i;
            while (j < n && is_digit(s[j])) ++j;
            bool fraction = false;
            if (j < n && s[j] == '.' && j + 1 < n && is_digit(s[j + 1])) {
                fraction = true;
                ++j;
                while (j < n && is_digit(s[j])) ++j;
            }
            size_t e = exponent_length(s, j);
            size_t k = j + e;
            if (k >= n || !is_name_char(s[k]) || fraction) {
                push((fraction || e) ? Tok::Number : Tok::Integer, b, k, s.substr(b, k - b));
                i = k;
                continue;
            }
            // Falls through: a name such as 7n.
        }
        if (is_name_char(c)) {
            size_t j = i;
            while (j < n && is_name_char(s[j])) ++j;
            if (j < n && s[j] == '$') ++j;  // VBA's text functions: Trim$, Left$, Mid$
            push(Tok::Name, b, j, s.substr(b, j - b));
            i = j;
            continue;
        }
        switch (c) {
            case '[':
                delimited(Tok::Bracketed, ']', "bracketed name");
                break;
            case '\'':
            case '"': {
                size_t j = i + 1;
                bool closed = false;
                while (j < n) {
                    if (s[j] == char(c)) {
                        if (j + 1 < n && s[j + 1] == char(c)) {
                            j += 2;
                            continue;
                        }
                        closed = true;
                        break;
                    }
                    ++j;
                }
                refuse_nul(s, b + 1, j, "string");
                if (!closed) {
                    push(Tok::Bad, b, n);
                    i = n;
                    break;
                }
                push(Tok::String, b, j + 1, s.substr(b + 1, j - b - 1));
                out.back().quote = char(c);
                i = j + 1;
                break;
            }
            case '#':
                delimited(Tok::Date, '#', "date");
                break;
            case '<':
                if (i + 1 < n && s[i + 1] == '>') {
                    push(Tok::Ne, b, i + 2);
                    i += 2;
                } else if (i + 1 < n && s[i + 1] == '=') {
                    push(Tok::Le, b, i + 2);
                    i += 2;
                } else {
                    push(Tok::Lt, b, ++i);
                }
                break;
            case '>':
                if (i + 1 < n && s[i + 1] == '=') {
                    push(Tok::Ge, b, i + 2);
                    i += 2;
                } else {
                    push(Tok::Gt, b, ++i);
                }
                break;
            case '(':
                push(Tok::LParen, b, ++i);
                break;
            case ')':
                push(Tok::RParen, b, ++i);
                break;
            case ',':
                push(Tok::Comma, b, ++i);
                break;
            case '.':
                push(Tok::Dot, b, ++i);
                break;
            case ';':
                push(Tok::Semicolon, b, ++i);
                break;
            case '*':
                push(Tok::Star, b, ++i);
                break;
            case '+':
                push(Tok::Plus, b, ++i);
                break;
            case '-':
                push(Tok::Minus, b, ++i);
                break;
            case '/':
                push(Tok::Slash, b, ++i);
                break;
            case '\\':
                push(Tok::Backslash, b, ++i);
                break;
            case '^':
                push(Tok::Caret, b, ++i);
                break;
            case '&':
                push(Tok::Amp, b, ++i);
                break;
            case '=':
                push(Tok::Eq, b, ++i);
                break;
            default:
                // Nothing after a character Jet does not accept is read: a NUL there
                // is refused as such, so that no message quotes it.
                refuse_nul(s, b, n, "SQL statement");
                push(Tok::Bad, b, n);
                i = n;
                break;
        }
        if (!out.empty() && out.back().kind == Tok::Bad) break;
    }
    push(Tok::End, n, n);
    return out;
}

}  // namespace jet::sql
