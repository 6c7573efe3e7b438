#include "jet/text.h"

#include <unicode/coll.h>
#include <unicode/locid.h>
#include <unicode/unistr.h>
#include <unicode/ustring.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>

namespace jet::text {

namespace {

const icu::Locale& polish_locale() {
    static const icu::Locale locale("pl", "PL");
    return locale;
}

icu::Collator* polish_collator() {
    static std::unique_ptr<icu::Collator> coll = [] {
        UErrorCode st = U_ZERO_ERROR;
        std::unique_ptr<icu::Collator> c(icu::Collator::createInstance(polish_locale(), st));
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

// The collator's primary order of the ASCII characters, taken from the collator at
// start-up: rank[c] is 0 for a character the collator ignores (controls), else its
// place among the distinct primary weights (a letter and its capital share one).
// Bytes 0x80 and up are -1: such texts take the collator's own path. For texts of
// ASCII characters the collator compares exactly the rank sequences without the
// ignored characters: no ASCII character expands or contracts, and at secondary
// strength all of them carry the same secondary weight.
struct AsciiRanks {
    int16_t rank[256];
};

const AsciiRanks& ascii_ranks() {
    static const AsciiRanks table = [] {
        AsciiRanks t{};
        icu::Collator* coll = polish_collator();
        UErrorCode st = U_ZERO_ERROR;
        std::unique_ptr<icu::Collator> primary(coll->clone());
        primary->setStrength(icu::Collator::PRIMARY);
        auto cmp = [&](int x, int y) {
            UChar a = static_cast<UChar>(x), b = static_cast<UChar>(y);
            return primary->compare(&a, 1, &b, 1, st);
        };
        int order[128];
        for (int c = 0; c < 128; ++c) order[c] = c;
        std::stable_sort(order, order + 128, [&](int x, int y) { return cmp(x, y) == UCOL_LESS; });
        int16_t next = 0;
        int prev = -1;  // the last character given a rank
        for (int k = 0; k < 128; ++k) {
            const int c = order[k];
            UChar ch = static_cast<UChar>(c);
            if (primary->compare(&ch, 1, nullptr, 0, st) == UCOL_EQUAL) continue;  // ignorable
            if (prev < 0 || cmp(prev, c) != UCOL_EQUAL) ++next;
            t.rank[c] = next;
            prev = c;
        }
        for (int c = 128; c < 256; ++c) t.rank[c] = -1;
        return t;
    }();
    return table;
}

char lower_ascii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}

// Compares two texts by the ASCII ranks; returns 2 when a byte above 0x7F is met
// (the caller then asks the collator). Ties between texts with the same primary
// order are settled as compare() settles them.
int compare_ascii(std::string_view a, std::string_view b) {
    const int16_t* rank = ascii_ranks().rank;
    const size_t na = a.size(), nb = b.size();
    // Identical leading bytes weigh the same.
    size_t i = 0;
    const size_t common = na < nb ? na : nb;
    while (i < common && a[i] == b[i]) {
        if (static_cast<unsigned char>(a[i]) >= 0x80) return 2;
        ++i;
    }
    size_t j = i;
    bool case_equal = true;  // equal so far without regard to ASCII case
    bool skipped = false;    // an ignored character was passed over
    for (;;) {
        int ra = 0, rb = 0;
        while (i < na && (ra = rank[static_cast<unsigned char>(a[i])]) == 0) ++i, skipped = true;
        while (j < nb && (rb = rank[static_cast<unsigned char>(b[j])]) == 0) ++j, skipped = true;
        if (ra < 0 || rb < 0) return 2;
        if (i == na || j == nb) {
            if (i == na && j == nb) break;
            if (!is_ascii(a.substr(i)) || !is_ascii(b.substr(j))) return 2;
            return i == na ? -1 : 1;
        }
        if (ra != rb) {
            if (!is_ascii(a.substr(i)) || !is_ascii(b.substr(j))) return 2;
            return ra < rb ? -1 : 1;
        }
        if (a[i] != b[j] && lower_ascii(a[i]) != lower_ascii(b[j])) case_equal = false;
        ++i;
        ++j;
    }
    if (skipped ? ascii_iequal(a, b) : case_equal) return 0;
    return a < b ? -1 : 1;
}

// True when every character of s is below U+0250 (ASCII, Latin-1, Latin Extended-A
// and -B: the Polish letters among them) and is neither ß nor ſ: each such character
// is equal for the collator to its case-folded form, so texts that are equal without
// regard to case are equal for the collator too, and the collator's order can be
// taken as it is without folding first.
bool latin_only(std::string_view s) {
    const size_t n = s.size();
    for (size_t i = 0; i < n; ++i) {
        const auto c = static_cast<unsigned char>(s[i]);
        if (c < 0x80) continue;
        if (c >= 0xC9) return false;
        const auto next = i + 1 < n ? static_cast<unsigned char>(s[i + 1]) : 0;
        if ((c == 0xC3 && next == 0x9F) || (c == 0xC5 && next == 0xBF)) return false;  // ß ſ
    }
    return true;
}

// Case-folded code points below U+0250, for texts that latin_only() accepts: there
// simple folding of each character gives the same equality as fold().
struct LatinFold {
    uint16_t to[0x250];
};

const LatinFold& latin_fold() {
    static const LatinFold table = [] {
        LatinFold t{};
        for (UChar32 c = 0; c < 0x250; ++c)
            t.to[c] = static_cast<uint16_t>(u_foldCase(c, U_FOLD_CASE_DEFAULT));
        return t;
    }();
    return table;
}

// The next code point of a latin_only() text (one or two bytes).
inline unsigned next_latin(std::string_view s, size_t& i) {
    const auto c = static_cast<unsigned char>(s[i++]);
    if (c < 0x80 || i >= s.size()) return c;
    return ((c & 0x1Fu) << 6) | (static_cast<unsigned char>(s[i++]) & 0x3Fu);
}

// fold(a) == fold(b) for two latin_only() texts, without building the folded texts.
bool latin_fold_equal(std::string_view a, std::string_view b) {
    const uint16_t* to = latin_fold().to;
    size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        const unsigned x = next_latin(a, i), y = next_latin(b, j);
        if (x != y && (x >= 0x250 || y >= 0x250 || to[x] != to[y])) return false;
    }
    return i == a.size() && j == b.size();
}

// A UTF-8 text as UTF-16 in a stack buffer when it fits (most texts), else on the heap.
class Utf16 {
  public:
    explicit Utf16(std::string_view s) {
        UErrorCode st = U_ZERO_ERROR;
        int32_t n = 0;
        u_strFromUTF8WithSub(buf_, kCap, &n, s.data(), static_cast<int32_t>(s.size()), 0xFFFD,
                             nullptr, &st);
        if (st == U_BUFFER_OVERFLOW_ERROR || n > kCap) {
            heap_.resize(static_cast<size_t>(n));
            st = U_ZERO_ERROR;
            u_strFromUTF8WithSub(heap_.data(), n, &n, s.data(), static_cast<int32_t>(s.size()),
                                 0xFFFD, nullptr, &st);
            data_ = heap_.data();
        } else {
            data_ = buf_;
        }
        len_ = n;
    }
    const UChar* data() const { return data_; }
    int32_t size() const { return len_; }

  private:
    static constexpr int32_t kCap = 256;
    UChar buf_[kCap];
    std::u16string heap_;
    const UChar* data_ = nullptr;
    int32_t len_ = 0;
};

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
    if (a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size()) == 0) return 0;
    const int fast = compare_ascii(a, b);
    if (fast != 2) return fast;
    UErrorCode st = U_ZERO_ERROR;
    if (latin_only(a) && latin_only(b)) {
        if (latin_fold_equal(a, b)) return 0;
        const UCollationResult r = polish_collator()->compareUTF8(
            icu::StringPiece(a.data(), static_cast<int32_t>(a.size())),
            icu::StringPiece(b.data(), static_cast<int32_t>(b.size())), st);
        if (U_SUCCESS(st) && r != UCOL_EQUAL) return r == UCOL_LESS ? -1 : 1;
    } else {
        const Utf16 ua(a), ub(b);
        // Equal without regard to case (full case folding, as fold() does).
        if (u_strCaseCompare(ua.data(), ua.size(), ub.data(), ub.size(), U_FOLD_CASE_DEFAULT,
                             &st) == 0 &&
            U_SUCCESS(st))
            return 0;
        st = U_ZERO_ERROR;
        const UCollationResult r =
            polish_collator()->compare(ua.data(), ua.size(), ub.data(), ub.size(), st);
        if (U_SUCCESS(st) && r != UCOL_EQUAL) return r == UCOL_LESS ? -1 : 1;
    }
    // Texts that differ but that the collator ties keep a stable order.
    return a < b ? -1 : 1;
}

std::string upper(std::string_view s) {
    if (is_ascii(s)) {
        std::string out(s);
        for (auto& c : out)
            if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        return out;
    }
    icu::UnicodeString u = icu::UnicodeString::fromUTF8(icu::StringPiece(s.data(), s.size()));
    u.toUpper(polish_locale());
    std::string out;
    u.toUTF8String(out);
    return out;
}

std::string lower(std::string_view s) {
    if (is_ascii(s)) {
        std::string out(s);
        for (auto& c : out)
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        return out;
    }
    icu::UnicodeString u = icu::UnicodeString::fromUTF8(icu::StringPiece(s.data(), s.size()));
    u.toLower(polish_locale());
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

std::string with_suffix(std::string_view s, std::string_view suffix, size_t max_chars) {
    const size_t n = length(suffix);
    std::string out(s.substr(0, offset_of_char(s, max_chars > n ? max_chars - n : 0)));
    out += suffix;
    return out;
}

}  // namespace jet::text
