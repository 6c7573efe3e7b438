#include "reader.h"

#include <array>
#include <iostream>
#include <string_view>
#include <vector>

#include "jet/error.h"
#include "jet/sql/lexer.h"
#include "signals.h"

namespace jetsql {

namespace {

using jet::sql::Tok;

// The words that begin a statement: the engine's statements and the transaction's.
constexpr std::array<std::string_view, 10> kStatementWords = {
    "SELECT", "INSERT", "UPDATE", "DELETE", "CREATE",
    "ALTER",  "DROP",   "BEGIN",  "COMMIT", "ROLLBACK"};

// Words after which a statement cannot end: it goes on to the next line even when that
// begins with a statement's word ("UNION" then "SELECT ...").
constexpr std::array<std::string_view, 33> kGoingOn = {
    "SELECT", "FROM", "WHERE", "GROUP",  "HAVING",   "ORDER",      "BY",   "AND",   "OR",
    "NOT",    "XOR",  "EQV",   "IMP",    "MOD",      "LIKE",       "IS",   "IN",    "BETWEEN",
    "AS",     "INTO", "SET",   "VALUES", "ON",       "INNER",      "LEFT", "RIGHT", "JOIN",
    "UNION",  "ALL",  "OUTER", "TOP",    "DISTINCT", "DISTINCTROW"};

bool is_blank_char(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && is_blank_char(s.front())) s.remove_prefix(1);
    while (!s.empty() && is_blank_char(s.back())) s.remove_suffix(1);
    return s;
}

// The closing character of a string, [name] or #date# that c opens, 0 for none.
char closing_of(char c) {
    switch (c) {
        case '\'':
        case '"':
        case '#':
            return c;
        case '[':
            return ']';
        default:
            return 0;
    }
}

// The word that ends the input when it stands alone on a line (any case, a ";" after
// it): ".quit" or ".exit", and at a terminal "quit" or "exit" too, as a user of a
// shell's habit types them; "" for any other line.
std::string quit_word_of(std::string_view line, bool terminal) {
    std::string_view s = trimmed(line);
    if (!s.empty() && s.back() == ';') s = trimmed(s.substr(0, s.size() - 1));
    const bool dot = !s.empty() && s.front() == '.';
    if (dot) s.remove_prefix(1);
    if (!dot && !terminal) return {};
    if (jet::sql::keyword_equals(s, "QUIT")) return dot ? ".quit" : "quit";
    if (jet::sql::keyword_equals(s, "EXIT")) return dot ? ".exit" : "exit";
    return {};
}

// The name that text begins with (letters, digits, "_" and the bytes of UTF-8 letters),
// or "".
std::string_view first_word(std::string_view text) {
    text = trimmed(text);
    size_t n = 0;
    while (n < text.size()) {
        const unsigned char c = static_cast<unsigned char>(text[n]);
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
              c == '_' || c >= 0x80))
            break;
        ++n;
    }
    return text.substr(0, n);
}

template <size_t N>
bool one_of(std::string_view word, const std::array<std::string_view, N>& words) {
    for (std::string_view w : words)
        if (jet::sql::keyword_equals(word, w)) return true;
    return false;
}

// A statement that its text cannot end: its last token needs more after it (an operator,
// a comma, a word of kGoingOn), or it is an INSERT without its VALUES or SELECT yet.
bool needs_more(std::string_view text) {
    std::vector<jet::sql::Token> tokens;
    try {
        tokens = jet::sql::tokenize(text);
    } catch (const jet::Error&) {
        return false;  // a NUL byte: the statement fails as it stands
    }
    tokens.pop_back();  // End
    if (tokens.empty()) return false;
    bool insert = tokens.front().is("INSERT"), source = false;
    for (const auto& t : tokens) source = source || t.is("VALUES") || t.is("SELECT");
    if (insert && !source) return true;
    const jet::sql::Token& last = tokens.back();
    switch (last.kind) {
        case Tok::Name:
            return one_of(last.text, kGoingOn);
        case Tok::Comma:
        case Tok::Dot:
        case Tok::LParen:
        case Tok::Plus:
        case Tok::Minus:
        case Tok::Star:
        case Tok::Slash:
        case Tok::Backslash:
        case Tok::Caret:
        case Tok::Amp:
        case Tok::Eq:
        case Tok::Ne:
        case Tok::Lt:
        case Tok::Le:
        case Tok::Gt:
        case Tok::Ge:
        case Tok::Bad:
            return true;
        default:
            return false;
    }
}

}  // namespace

bool blank(std::string_view text) {
    return trimmed(text).empty();
}

Reader::Reader(std::istream& in, bool terminal, std::ostream* prompt)
    : in_(in), terminal_(terminal), prompt_(prompt) {}

bool Reader::inside_statement() const {
    return open_ != 0 || !blank(pending_);
}

// The next line; false at the end of the input or of the terminal. A Ctrl-C at the
// terminal discards the statement not ended yet, saying so, and what was typed ahead
// (pasted) after the line, naming it; reading goes on.
bool Reader::get_line(std::string& line) {
    if (!terminal_) return static_cast<bool>(std::getline(in_, line));
    for (;;) {
        // What is typed inside a statement or a remark goes on with it, which the prompt shows.
        switch (read_typed_line(line, inside_statement() || remark_ ? "   ...> " : "jetsql> ")) {
            case Typed::Line:
                return true;
            case Typed::End:
                return false;
            case Typed::HungUp:
                hung_up = 1;
                return false;
            case Typed::Interrupted:
                take_interrupts();
                if (prompt_) {
                    *prompt_ << "^C\n";
                    if (inside_statement() || remark_)
                        *prompt_ << "(the statement not ended with \";\" was discarded)\n";
                    prompt_->flush();
                }
                forget_statement();
                report_dropped(drop_typed());
                break;
        }
    }
}

std::optional<Piece> Reader::next() {
    std::string line;
    while (ready_.empty()) {
        if (!get_line(line)) {
            if (prompt_ && !hung_up) *prompt_ << '\n' << std::flush;
            // A remark left open is cut short too, a statement before it or not; so is
            // the statement that a Ctrl-C (not at a terminal) interrupted the reading of.
            if (inside_statement() || remark_) {
                Piece p{std::string(trimmed(pending_)), pending_first_, number_, false};
                if (blank(pending_)) p = {"/*", remark_line_, number_, false};
                if (terminal_ || remark_ || interrupts)
                    unfinished_ = std::move(p);
                else
                    ready_.push_back(std::move(p));
                pending_.clear();
                open_ = 0;
            }
            break;
        }
        ++number_;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        read_line(line, number_);
    }
    if (ready_.empty()) return std::nullopt;
    Piece p = std::move(ready_.front());
    ready_.pop_front();
    return p;
}

std::string Reader::code_of(std::string_view line, int number) {
    std::string code;
    char open = open_;
    for (size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        const char next = i + 1 < line.size() ? line[i + 1] : 0;
        if (remark_) {
            if (c == '*' && next == '/') {
                remark_ = false;
                code += ' ';
                ++i;
            }
            continue;
        }
        if (open != 0) {
            if (c == open) open = 0;  // a doubled quote closes and opens again
        } else if (c == '-' && next == '-') {
            code += ' ';
            break;
        } else if (c == '/' && next == '*') {
            remark_ = true;
            remark_line_ = number;
            ++i;
            continue;
        } else {
            open = closing_of(c);
        }
        code += c;
    }
    return code;
}

void Reader::read_line(const std::string& raw, int number) {
    const bool in_remark = remark_;
    const std::string line = code_of(raw, number);
    if (!terminal_ && open_ == 0 && !in_remark && !blank(line) && !blank(pending_) &&
        ends_before(line))
        end_statement();
    // ".quit" inside a statement not ended yet (in a string or a remark left open too)
    // ends the input: the statement does not run.
    if (inside_statement() || in_remark) {
        if (std::string word = quit_word_of(raw, terminal_); !word.empty()) {
            if (inside_statement()) {
                unfinished_ = Piece{std::string(trimmed(pending_)), pending_first_, number, false};
                quit_word_ = std::move(word);
            }
            forget_statement();
            ready_.push_back({".quit", number, number, true});
            return;
        }
    }
    if (open_ == 0) {
        if (blank(line)) return;
        if (blank(pending_)) {
            pending_.clear();
            depth_ = 0;
            const std::string_view text = trimmed(line);
            const bool leaving = terminal_ && !quit_word_of(text, true).empty();
            if (text.front() == '.' || leaving) {
                ready_.push_back(
                    {leaving ? std::string(".quit") : std::string(text), number, number, true});
                return;
            }
        }
    }
    if (!pending_.empty()) pending_ += '\n';
    feed(line, number);
}

// Appends the text of a line (its remarks taken out) to the statement read so far,
// ending a statement at each ";" outside strings, bracketed names and dates.
void Reader::feed(std::string_view text, int number) {
    size_t start = 0;
    auto append = [&](size_t end) {
        const std::string_view part = text.substr(start, end - start);
        if (!blank(part)) {
            if (blank(pending_)) pending_first_ = number;
            pending_last_ = number;
        }
        pending_ += part;
    };
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (open_ != 0) {
            if (c == open_) open_ = 0;  // a doubled quote closes and opens again
            continue;
        }
        switch (c) {
            case '(':
                ++depth_;
                break;
            case ')':
                if (depth_ > 0) --depth_;
                break;
            case ';':
                append(i);
                end_statement();
                start = i + 1;
                break;
            default:
                open_ = closing_of(c);
                break;
        }
    }
    append(text.size());
}

void Reader::forget_statement() {
    pending_.clear();
    open_ = 0;
    depth_ = 0;
    remark_ = false;
}

std::vector<std::string> Reader::discard() {
    std::vector<std::string> dropped;
    for (const Piece& p : ready_) dropped.push_back(p.text);
    if (inside_statement()) dropped.emplace_back(trimmed(pending_));
    ready_.clear();
    forget_statement();
    for (std::string& line : drop_typed()) dropped.push_back(std::move(line));
    return dropped;
}

void report_dropped(const std::vector<std::string>& lines) {
    for (const std::string& text : lines) {
        size_t at = 0;
        while (at <= text.size()) {
            size_t end = text.find('\n', at);
            if (end == std::string::npos) end = text.size();
            const std::string_view line = std::string_view(text).substr(at, end - at);
            if (!blank(line)) std::cerr << "jetsql: not run (Ctrl-C): " << line << '\n';
            at = end + 1;
        }
    }
    std::cerr.flush();
}

void Reader::end_statement() {
    if (!blank(pending_))
        ready_.push_back({std::string(trimmed(pending_)), pending_first_, pending_last_, false});
    pending_.clear();
    depth_ = 0;
}

bool Reader::ends_before(std::string_view line) const {
    const std::string_view text = trimmed(line);
    const bool begins = text.front() == '.' || one_of(first_word(text), kStatementWords);
    return begins && open_ == 0 && depth_ == 0 && !needs_more(pending_);
}

}  // namespace jetsql
