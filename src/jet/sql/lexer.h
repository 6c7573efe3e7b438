// The Jet SQL tokenizer.
//
// Splits a statement into tokens the way Jet reads it: blanks (spaces, tabs, line
// breaks) separate tokens but are never required between a name and a parenthesis,
// a bracket or a keyword that follows a closing parenthesis; bracketed names keep
// their blanks; a run of letters and digits that is not a number is a name (so "7n"
// is a name and "7" a number); UTF-8 letters belong to names.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace jet::sql {

enum class Tok : uint8_t {
    End,        // end of the text
    Name,       // bare name or keyword: text is the name
    Bracketed,  // [name]: text is the name without the brackets, never a keyword
    Integer,    // 123
    Number,     // 1.5, 1e3, 2.5E-2
    String,     // 'text' or "text": text is the raw inside, doubled quotes not yet folded
    Date,       // #...#: text is the inside
    LParen,
    RParen,
    Comma,
    Dot,
    Semicolon,
    Star,
    Plus,
    Minus,
    Slash,
    Backslash,
    Caret,
    Amp,
    Eq,
    Ne,
    Lt,
    Le,
    Gt,
    Ge,
    Bad,  // a character Jet does not accept, or an unterminated string/name/date
};

struct Token {
    Tok kind = Tok::End;
    char quote = 0;         // String: the quote character
    uint32_t begin = 0;     // offset of the first character (brackets and quotes included)
    uint32_t end = 0;       // offset one past the last character
    std::string_view text;  // see Tok

    // True when the token is the bare keyword kw (ASCII, upper case), in any case.
    bool is(std::string_view kw) const;
};

// Tokenizes the whole text; the last token is always End (preceded by a Bad token
// when the text cannot be tokenized, after which nothing else is read). Raises
// NulCharacter for a NUL byte anywhere in the text, naming the string, bracketed name
// or date it is in.
std::vector<Token> tokenize(std::string_view text);

// Compares an ASCII keyword (upper case) with a name, ignoring the name's case.
bool keyword_equals(std::string_view name, std::string_view kw);

}  // namespace jet::sql
