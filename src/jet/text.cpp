#include "jet/text.h"

#include <unicode/coll.h>
#include <unicode/locid.h>
#include <unicode/unistr.h>
#include <unicode/ustring.h>

#include <memory>
#include <mutex>

namespace jet::text {

namespace {

icu::Collator* polish_collator() {
    static std::unique_ptr<icu::Collator> coll = [] {
        UErrorCode st = U_ZERO_ERROR;
        std::unique_ptr<icu::Collator> c(icu::Collator::createInstance(icu::Locale("pl", "PL"), st));
        if (U_FAILURE(st) || !c) {
            st = U_ZERO_ERROR;
            c.reset(icu::Collator::createInstance(icu::Locale::getRoot(), st));
        }
        // Secondary strength: case is not significant, accents are.
        c->setStrength(icu::Collator::SECONDARY);
        st = U_ZERO_ERROR;
        c->setAttribute(UCOL_ALTERNATE_HANDLING, UCOL_NON_IGNORABLE, st);
        return c;
    }();
    return coll.get();
}

bool is_ascii(std::string_view s) {
    for (unsigned char c : s)
        if (c >= 0x80) return false;
    return true;
}

}  // namespace

std::string fold(std::string_view s) {
    if (is_ascii(s)) {
        std::string out(s);
        for (auto& c : out)
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        return out;
    }
    icu::UnicodeString u = icu::UnicodeString::fromUTF8(icu::StringPiece(s.data(), s.size()));
    u.foldCase();
    std::string out;
    u.toUTF8String(out);
    return out;
}

bool ascii_iequal(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

bool same_name(std::string_view a, std::string_view b) {
    if (a.size() == b.size() && is_ascii(a) && is_ascii(b)) return ascii_iequal(a, b);
    return fold(a) == fold(b);
}

int compare(std::string_view a, std::string_view b) {
    if (fold(a) == fold(b)) return 0;
    UErrorCode st = U_ZERO_ERROR;
    UCollationResult r = polish_collator()->compareUTF8(
        icu::StringPiece(a.data(), a.size()), icu::StringPiece(b.data(), b.size()), st);
    if (U_FAILURE(st) || r == UCOL_EQUAL) {
        // Texts that differ but that the collator ties keep a stable order.
        return a < b ? -1 : (a > b ? 1 : 0);
    }
    return r == UCOL_LESS ? -1 : 1;
}

std::string upper(std::string_view s) {
    icu::UnicodeString u = icu::UnicodeString::fromUTF8(icu::StringPiece(s.data(), s.size()));
    u.toUpper(icu::Locale("pl", "PL"));
    std::string out;
    u.toUTF8String(out);
    return out;
}

std::string lower(std::string_view s) {
    icu::UnicodeString u = icu::UnicodeString::fromUTF8(icu::StringPiece(s.data(), s.size()));
    u.toLower(icu::Locale("pl", "PL"));
    std::string out;
    u.toUTF8String(out);
    return out;
}

size_t length(std::string_view s) {
    size_t n = 0;
    for (unsigned char c : s)
        if ((c & 0xC0) != 0x80) ++n;
    return n;
}

size_t offset_of_char(std::string_view s, size_t chars) {
    size_t n = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) {
            if (n == chars) return i;
            ++n;
        }
    }
    return s.size();
}

}  // namespace jet::text
