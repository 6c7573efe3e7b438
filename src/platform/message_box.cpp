#include "platform/message_box.h"

#include <cstdlib>
#include <iostream>
#include <string>

#include "platform/terminal.h"

namespace platform {
namespace {

struct AnswerList {
    std::vector<std::string> items;  // as written, so that a bad item can be reported
    size_t next = 0;
    std::string origin;
};

struct State {
    AnswerSource source;
    std::optional<AnswerList> list;  // nullopt: not yet taken from the environment
    std::ostream* out = nullptr;
};

State& state() {
    static State s;
    return s;
}

std::string_view trim(std::string_view s) {
    auto b = s.find_first_not_of(" \t");
    if (b == std::string_view::npos) return {};
    return s.substr(b, s.find_last_not_of(" \t") - b + 1);
}

// The list from ORVIK_ANSWERS, or nullopt when the variable is unset.
std::optional<AnswerList> list_from_environment() {
    const char* v = std::getenv("ORVIK_ANSWERS");
    if (!v) return std::nullopt;
    AnswerList list;
    list.origin = "ORVIK_ANSWERS";
    std::string_view rest = v;
    if (trim(rest).empty()) return list;
    while (true) {
        auto comma = rest.find(',');
        list.items.emplace_back(trim(rest.substr(0, comma)));
        if (comma == std::string_view::npos) break;
        rest.remove_prefix(comma + 1);
    }
    return list;
}

std::optional<int> parse_code(std::string_view s) {
    if (s.empty() || s.size() > 3) return std::nullopt;
    int v = 0;
    for (char c : s) {
        if (c < '0' || c > '9') return std::nullopt;
        v = v * 10 + (c - '0');
    }
    return v;
}

bool offers(int style, int answer) {
    for (int a : answers_of(style))
        if (a == answer) return true;
    return false;
}

std::string_view button_name(int answer) {
    switch (answer) {
        case mb::ok:
            return "OK";
        case mb::abort:
            return "Przerwij";
        case mb::retry:
            return "Ponów";
        case mb::ignore:
            return "Ignoruj";
        case mb::yes:
            return "Tak";
        case mb::no:
            return "Nie";
        default:
            return "?";
    }
}

std::string buttons_text(int style) {
    std::string s;
    for (int a : answers_of(style)) {
        if (!s.empty()) s += " / ";
        s += button_name(a);
    }
    return s;
}

void write_box(std::ostream& out, std::string_view text, int style, std::string_view title) {
    out << "=== " << ((style & mb::critical) ? "(!) " : "") << title << " ===\n" << text << '\n';
}

// Reports a box answered without the terminal, with how the answer was chosen.
int report(std::string_view text, int style, std::string_view title, int answer,
           const std::string& how) {
    std::ostream& out = state().out ? *state().out : std::cerr;
    write_box(out, text, style, title);
    out << "[" << buttons_text(style) << "] -> " << button_name(answer) << " (" << answer
        << "): " << how << '\n'
        << std::flush;
    note_terminal_output();
    return answer;
}

std::string lower_ascii(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

// Asks at the terminal until the user picks a button by its number or by the start of
// its name; the end of input gives nullopt. What was typed before the box is shown is
// discarded: it was typed for no question, or ahead of this one.
std::optional<int> ask_terminal(std::string_view text, int style, std::string_view title) {
    auto answers = answers_of(style);
    discard_terminal_input();
    std::cout << '\n';
    write_box(std::cout, text, style, title);
    note_terminal_output();
    while (true) {
        for (size_t i = 0; i < answers.size(); ++i)
            std::cout << (i ? "   " : "") << i + 1 << " " << button_name(answers[i]);
        std::cout << "\n> " << std::flush;
        std::string line;
        if (!std::getline(std::cin, line)) return std::nullopt;
        std::string typed = lower_ascii(trim(line));
        if (auto n = parse_code(typed); n && *n >= 1 && static_cast<size_t>(*n) <= answers.size())
            return answers[static_cast<size_t>(*n) - 1];
        std::optional<int> match;
        int matches = 0;
        for (int a : answers)
            if (!typed.empty() && lower_ascii(button_name(a)).starts_with(typed)) {
                match = a;
                ++matches;
            }
        if (matches == 1) return match;
    }
}

}  // namespace

std::vector<int> answers_of(int style) {
    switch (style & 0xF) {
        case mb::abort_retry_ignore:
            return {mb::abort, mb::retry, mb::ignore};
        case mb::yes_no:
            return {mb::yes, mb::no};
        default:
            return {mb::ok};
    }
}

int safe_answer(int style) {
    return answers_of(style).front() == mb::yes ? mb::no : answers_of(style).front();
}

int message_box(std::string_view text, int style, std::string_view title) {
    State& s = state();
    int safe = safe_answer(style);
    if (s.source) {
        auto a = s.source(text, style, title);
        if (a && offers(style, *a)) return report(text, style, title, *a, "answer source");
        return report(text, style, title, safe, "safe answer, the answer source gave none valid");
    }
    if (!s.list) s.list = list_from_environment();
    if (s.list) {
        AnswerList& list = *s.list;
        if (list.next >= list.items.size())
            return report(text, style, title, safe, "safe answer, " + list.origin + " used up");
        size_t n = list.next++;
        const std::string& item = list.items[n];
        std::string where = list.origin + " item " + std::to_string(n + 1);
        if (auto a = parse_code(item); a && offers(style, *a))
            return report(text, style, title, *a, where);
        std::cerr << "message box: " << where << " \"" << item << "\" is not one of ["
                  << buttons_text(style) << "]; the safe answer is taken\n";
        return report(text, style, title, safe, "safe answer, " + where + " not valid");
    }
    if (stdin_is_terminal() && stdout_is_terminal()) {
        if (auto a = ask_terminal(text, style, title)) return *a;
        return report(text, style, title, safe, "safe answer, end of input");
    }
    return report(text, style, title, safe, "safe answer, no terminal");
}

void set_answer_source(AnswerSource source) {
    state().source = std::move(source);
}

void set_scripted_answers(std::optional<std::vector<int>> answers) {
    if (!answers) {
        state().list.reset();
        return;
    }
    AnswerList list;
    list.origin = "scripted answers";
    for (int a : *answers) list.items.push_back(std::to_string(a));
    state().list = std::move(list);
}

void set_message_output(std::ostream* out) {
    state().out = out;
}

}  // namespace platform
