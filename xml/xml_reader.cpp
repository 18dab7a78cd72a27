// The XML reader: a substring scanner over the text, whose cost keeps in step with the text
// whatever the depth.
//
// Most texts are read in one pass, as a stack reads them (read_body_in_order), which gives
// what the rules give on every text it accepts and gives up on the rest. Those are read by
// read_body, which works on ranges of the one input text where a naive scanner would copy
// each element's content: a search inside a range gives what a search in a copy of it would.
// There closing tags are found through an index of every "<name>" and "</name>" in the
// text, built in one pass, so that pairing start and end forms does not rescan the content
// at every level.
#include <windows.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>
#include <algorithm>
#include <climits>
#include <memory>
#include <string>
#include <string_view>
#include <vector>
#include <afxpool.h>
#include <emmintrin.h>
#include "xml_heap.h"
#include "xml_nodes.h"

namespace {

using View = std::wstring_view;
const size_t npos = View::npos;

// Unit searches, eight units at a time where the processor has SSE2.
bool have_sse2() {
    static const bool yes = __builtin_cpu_supports("sse2");
    return yes;
}

__attribute__((target("sse2"))) const wchar_t* find_unit_sse2(const wchar_t* p, const wchar_t* end, wchar_t c) {
    const __m128i key = _mm_set1_epi16(static_cast<short>(c));
    for (; end - p >= 8; p += 8) {
        int mask = _mm_movemask_epi8(_mm_cmpeq_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)), key));
        if (mask) return p + __builtin_ctz(mask) / 2;
    }
    for (; p < end; ++p)
        if (*p == c) return p;
    return end;
}

// The first c in [p, end), or end.
const wchar_t* find_unit(const wchar_t* p, const wchar_t* end, wchar_t c) {
    if (have_sse2()) return find_unit_sse2(p, end, c);
    for (; p < end; ++p)
        if (*p == c) return p;
    return end;
}

__attribute__((target("sse2"))) const wchar_t* find_either_sse2(const wchar_t* p, const wchar_t* end, wchar_t a, wchar_t b) {
    const __m128i ka = _mm_set1_epi16(static_cast<short>(a)), kb = _mm_set1_epi16(static_cast<short>(b));
    for (; end - p >= 8; p += 8) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        int mask = _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi16(v, ka), _mm_cmpeq_epi16(v, kb)));
        if (mask) return p + __builtin_ctz(mask) / 2;
    }
    for (; p < end; ++p)
        if (*p == a || *p == b) return p;
    return end;
}

// The first a or b in [p, end), or end.
const wchar_t* find_either(const wchar_t* p, const wchar_t* end, wchar_t a, wchar_t b) {
    if (have_sse2()) return find_either_sse2(p, end, a, b);
    for (; p < end; ++p)
        if (*p == a || *p == b) return p;
    return end;
}

// Whether a and b hold the same units: a loop, since names are short and the library's
// wmemcmp is a call into another module.
bool same_units(View a, View b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i]) return false;
    return true;
}

// One pass over a zero-terminated text: its length and its first "?" and "!" (npos when
// absent), which is where the declaration and document type searches start.
struct Survey {
    size_t length, question, bang;
};

Survey survey_plain(const wchar_t* s) {
    Survey r{0, View::npos, View::npos};
    for (; s[r.length]; ++r.length) {
        if (s[r.length] == L'?' && r.question == View::npos) r.question = r.length;
        if (s[r.length] == L'!' && r.bang == View::npos) r.bang = r.length;
    }
    return r;
}

// The aligned 16-byte reads never cross into a page the text does not reach.
__attribute__((target("sse2"))) Survey survey_sse2(const wchar_t* s) {
    const uintptr_t addr = reinterpret_cast<uintptr_t>(s);
    if (addr & 1) return survey_plain(s);
    Survey r{0, View::npos, View::npos};
    const wchar_t* p = reinterpret_cast<const wchar_t*>(addr & ~uintptr_t(15));
    const __m128i zero = _mm_setzero_si128(), question = _mm_set1_epi16(L'?'), bang = _mm_set1_epi16(L'!');
    unsigned before = ~0u << (addr & 15);   // lanes before the text
    for (;; p += 8, before = ~0u) {
        const __m128i v = _mm_load_si128(reinterpret_cast<const __m128i*>(p));
        const unsigned z = _mm_movemask_epi8(_mm_cmpeq_epi16(v, zero)) & before;
        const unsigned end = z ? (z & (0u - z)) - 1 : ~0u;   // lanes before the terminator
        const unsigned q = _mm_movemask_epi8(_mm_cmpeq_epi16(v, question)) & before & end;
        const unsigned b = _mm_movemask_epi8(_mm_cmpeq_epi16(v, bang)) & before & end;
        if (q && r.question == View::npos) r.question = static_cast<size_t>(p + __builtin_ctz(q) / 2 - s);
        if (b && r.bang == View::npos) r.bang = static_cast<size_t>(p + __builtin_ctz(b) / 2 - s);
        if (z) {
            r.length = static_cast<size_t>(p + __builtin_ctz(z) / 2 - s);
            return r;
        }
    }
}

Survey survey(const wchar_t* s) { return have_sse2() ? survey_sse2(s) : survey_plain(s); }

size_t find_unit(View text, wchar_t c, size_t from) {
    if (from >= text.size()) return npos;
    const wchar_t* end = text.data() + text.size();
    const wchar_t* at = find_unit(text.data() + from, end, c);
    return at == end ? npos : static_cast<size_t>(at - text.data());
}

// The first "ab" at or after from, found through b (the rarer unit in the pairs searched:
// "<?", "<!").
size_t find_after(View text, wchar_t a, wchar_t b, size_t from) {
    for (size_t i = find_unit(text, b, from + 1); i != npos; i = find_unit(text, b, i + 1))
        if (text[i - 1] == a) return i - 1;
    return npos;
}

// The first "ab" at or after from, found through a ("?>").
size_t find_before(View text, wchar_t a, wchar_t b, size_t from) {
    for (size_t i = find_unit(text, a, from); i != npos; i = find_unit(text, a, i + 1))
        if (i + 1 < text.size() && text[i + 1] == b) return i;
    return npos;
}

// Every start form "<name>" and end form "</name>" of the text, by name.
class TagIndex {
public:
    explicit TagIndex(View text) : text_(text) {
        // One pass: a "<" whose next ">" comes before any other "<" opens a key.
        // Keys with a space are never looked up (names end at the first space): skipped.
        const wchar_t* const begin = text.data();
        const wchar_t* const end = begin + text.size();
        const wchar_t* p = find_unit(begin, end, L'<');
        while (p != end) {
            lts_.push_back(static_cast<size_t>(p - begin));
            const wchar_t* q = p + 1;
            while (q != end && *q != L'>' && *q != L'<' && *q != L' ') ++q;
            if (q == end) break;
            if (*q == L'<') {   // a new "<" opens instead
                p = q;
                continue;
            }
            if (*q == L'>') {
                const size_t open = static_cast<size_t>(p - begin);
                View key(p + 1, static_cast<size_t>(q - p - 1));
                if (!key.empty() && key[0] == L'/') forms(key.substr(1)).e.push_back(open);
                else forms(key).s.push_back(open);
            }
            p = find_unit(q + 1, end, L'<');
        }
    }

    // The first "<" at or after from, or npos. The reader asks in text order, so a cursor
    // that moves forwards answers at once.
    size_t next_lt(size_t from) {
        if (cursor_ > 0 && lts_[cursor_ - 1] >= from)
            cursor_ = std::lower_bound(lts_.begin(), lts_.begin() + cursor_, from) - lts_.begin();
        while (cursor_ < lts_.size() && lts_[cursor_] < from) ++cursor_;
        return cursor_ < lts_.size() ? lts_[cursor_] : npos;
    }

    // The position of the closing tag of `name` for content starting at `from`, inside
    // [from, end): each end form pairs with the start form of the same rank; the first
    // end form that comes before its start form closes; once the start forms run out, the
    // last end form does. npos when none.
    size_t find_end(View name, size_t from, size_t end) {
        Pairs& p = pairs(name);
        const size_t sLen = name.size() + 2, eLen = name.size() + 3;
        // The common case first: the next end form comes before any start form.
        const size_t j = p.seek(p.e, p.eHint, from);
        if (j == p.e.size() || p.e[j] + eLen > end) return npos;
        const size_t i = p.seek(p.s, p.sHint, from);
        if (i == p.s.size() || p.s[i] + sLen > end || p.e[j] < p.s[i]) return p.e[j];
        // Pair onwards from the first start and end forms of the range, i and j: end form
        // j + k closes when d(j + k) <= i - j, provided both forms of rank k lie in the
        // range; the range's counts are needed only when no end form closes that way.
        if (p.leaves == 0) p.build();   // made when first needed: most names never need it
        const long c = static_cast<long>(i) - static_cast<long>(j);
        const size_t k = p.first_at_most(j + 1, p.e.size(), c);
        if (k != npos && p.e[k] + eLen <= end && i + (k - j) < p.s.size() && p.s[i + (k - j)] + sLen <= end)
            return p.e[k];
        // The forms of v from `first` that lie in the range, counted back from the end of v:
        // the forms past the range are usually few (an enclosing element's own closing tags).
        auto count = [&](const std::vector<size_t>& v, size_t first, size_t len) {
            if (end < len) return size_t(0);
            const size_t limit = end - len;
            size_t hi = v.size(), step = 1;
            while (hi > first && v[hi - 1] > limit) {   // gallop back to a form in the range
                const size_t lo = hi > first + step ? hi - step : first;
                if (v[lo] <= limit) {
                    hi = std::upper_bound(v.begin() + lo, v.begin() + hi, limit) - v.begin();
                    break;
                }
                hi = lo;
                step *= 2;
            }
            return hi > first ? hi - first : 0;
        };
        const size_t m = count(p.s, i, sLen), q = count(p.e, j, eLen);
        return q < m ? npos : p.e[j + q - 1];
    }

private:
    // The positions of one name's start and end forms, and d(j) = (start forms before
    // end form j) - j, with a minimum tree over d for "the first j with d(j) <= c".
    struct Pairs {
        View name;
        size_t hash = 0;
        bool gathered = false;   // s and e hold the forms
        std::vector<size_t> s, e;
        size_t sHint = 0, eHint = 0;   // where the last search ended: siblings search onwards

        // The first index of v at or after `from`, starting near the hint.
        static size_t seek(const std::vector<size_t>& v, size_t& hint, size_t from) {
            size_t lo = 0, hi = v.size();
            if (hint < v.size() && v[hint] < from) {
                // Gallop forward from the hint.
                size_t step = 1;
                lo = hint + 1;
                while (lo + step < v.size() && v[lo + step] < from) {
                    lo += step;
                    step *= 2;
                }
                hi = std::min(v.size(), lo + step + 1);
            } else if (hint < v.size() && (hint == 0 || v[hint - 1] < from)) {
                return hint;
            }
            hint = std::lower_bound(v.begin() + lo, v.begin() + hi, from) - v.begin();
            return hint;
        }
        std::vector<long> d;
        std::vector<long> tree;   // tree[1] is the minimum of all of d
        size_t leaves = 0;

        void build() {
            d.resize(e.size());
            size_t i = 0;
            for (size_t j = 0; j < e.size(); ++j) {
                while (i < s.size() && s[i] < e[j]) ++i;
                d[j] = static_cast<long>(i) - static_cast<long>(j);
            }
            leaves = 1;
            while (leaves < d.size()) leaves *= 2;
            tree.assign(2 * leaves, LONG_MAX);
            for (size_t j = 0; j < d.size(); ++j) tree[leaves + j] = d[j];
            for (size_t n = leaves; n-- > 1;) tree[n] = std::min(tree[2 * n], tree[2 * n + 1]);
        }
        // The first j in [lo, hi) with d(j) <= c, or npos.
        size_t first_at_most(size_t lo, size_t hi, long c) const {
            if (lo >= hi) return npos;
            if (hi - lo <= 32) {   // short runs: a plain scan
                for (size_t j = lo; j < hi; ++j)
                    if (d[j] <= c) return j;
                return npos;
            }
            // Up from leaf lo to the first subtree on its right that holds a value <= c,
            // then down to that subtree's first such leaf.
            size_t n = leaves + lo;
            while (tree[n] > c) {
                while (n & 1) {   // a right child: its parent's next subtree comes next
                    if (n == 1) return npos;
                    n >>= 1;
                }
                ++n;
            }
            while (n < leaves) {
                n *= 2;
                if (tree[n] > c) ++n;
            }
            return n - leaves < hi ? n - leaves : npos;
        }
    };

    // The forms of a name, found in an open-addressed table (made empty when new). A few
    // names make up most tags, so the last name met with the same length and first unit is
    // tried first.
    Pairs& forms(View name) {
        if (name.empty()) return lookup(name);
        Pairs*& recent = recent_[(name.size() * 31 + static_cast<size_t>(name[0])) & (kRecent - 1)];
        if (recent && recent->name.size() == name.size() &&
            std::equal(name.begin(), name.end(), recent->name.begin()))
            return *recent;
        recent = &lookup(name);
        return *recent;
    }
    Pairs& lookup(View name) {
        size_t h = 2166136261u;
        for (wchar_t c : name) h = (h ^ static_cast<size_t>(c)) * 16777619u;
        if (2 * (names_.size() + 1) > slots_.size()) grow();
        const size_t mask = slots_.size() - 1;
        for (size_t i = h & mask;; i = (i + 1) & mask) {
            if (slots_[i] < 0) {
                slots_[i] = static_cast<int>(names_.size());
                names_.push_back(std::make_unique<Pairs>());
                names_.back()->name = name;
                names_.back()->hash = h;
                return *names_.back();
            }
            Pairs& p = *names_[slots_[i]];
            if (p.hash == h && p.name == name) return p;
        }
    }
    void grow() {
        slots_.assign(slots_.empty() ? 64 : 2 * slots_.size(), -1);
        const size_t mask = slots_.size() - 1;
        for (size_t id = 0; id < names_.size(); ++id) {
            size_t i = names_[id]->hash & mask;
            while (slots_[i] >= 0) i = (i + 1) & mask;
            slots_[i] = static_cast<int>(id);
        }
    }

    // name views a text that outlives the parse (an element's name).
    Pairs& pairs(View name) {
        if (last_ && lastName_ == name) return *last_;   // siblings often share a name
        Pairs& p = forms(name);
        if (!p.gathered) {
            if (name.find(L'<') != npos) {
                // A name holding "<" is not a key of the one-pass index: search the text.
                const std::wstring sForm = L"<" + std::wstring(name) + L">", eForm = L"</" + std::wstring(name) + L">";
                for (size_t at = text_.find(sForm); at != npos; at = text_.find(sForm, at + sForm.size())) p.s.push_back(at);
                for (size_t at = text_.find(eForm); at != npos; at = text_.find(eForm, at + eForm.size())) p.e.push_back(at);
            }
            p.gathered = true;
        }
        lastName_ = name;
        return *(last_ = &p);
    }

    View text_;
    std::vector<size_t> lts_;   // every "<" of the text
    size_t cursor_ = 0;
    std::vector<std::unique_ptr<Pairs>> names_;
    std::vector<int> slots_;   // indexes into names_, -1 for none
    static const size_t kRecent = 64;
    Pairs* recent_[kRecent] = {};
    View lastName_;
    Pairs* last_ = nullptr;
};

View name_of(const _xml_element* e) { return View(reinterpret_cast<const wchar_t*>(e->name), xmltext::length(e->name)); }

unsigned short* copy(View v, xmltext::Arena* arena = nullptr) { return xmltext::make(v.data(), v.size(), arena); }

// Sizes an empty list to n null slots in one block of exactly that room (a growth step of
// one), then sets the default growth again for whatever a caller adds.
template <class T>
void size_exactly(CArray<T*, T*>& list, size_t n) {
    if (n == 0) return;
    list.SetSize(static_cast<INT_PTR>(n), 1);
    list.SetSize(static_cast<INT_PTR>(n), 0);
}

// A new attribute record holding copies of both texts (one list handle).
_xml_attr* new_attr(View name, View value, xmltext::Arena& arena) {
    unsigned short* n = copy(name, &arena);
    unsigned short* v;
    try {
        v = copy(value, &arena);
    } catch (...) {
        xmltext::release(n);
        throw;
    }
    return XmlNodes::new_attr(n, v, &arena);
}

// Reads tag texts into new elements. Its list of the attributes found is kept from tag to
// tag, so that each element's attribute list is made once, to its size.
class TagReader {
public:
    explicit TagReader(xmltext::Arena& arena) : arena_(arena) {}

    // The tag read into a new element (one list handle), or null when rejected. Every record
    // has texts of its own: a caller may edit a name in place.
    _xml_element* read(View tag) {
        if (!split(tag)) return nullptr;
        _xml_element* e = XmlNodes::new_element(copy(name_, &arena_), nullptr, &arena_);
        try {
            size_exactly(e->attrs, attrs_.size());
            for (size_t i = 0; i < attrs_.size(); ++i) e->attrs[i] = new_attr(attrs_[i].name, attrs_[i].value, arena_);
        } catch (...) {
            XmlNodes::release(e);   // a slot not yet filled holds null
            throw;
        }
        return e;
    }

private:
    // The name (up to the first space) and the attributes the tag keeps; false when the tag
    // is rejected. After the name, attribute segments run from a cursor to the first space
    // after the second quote from it; a segment is name="value" (anything after the
    // closing quote is ignored), refused without its "=" or with an empty name, and a tag
    // whose segment lacks its two quotes is rejected whole.
    bool split(View tag) {
        attrs_.clear();
        if (tag.empty()) return false;
        const wchar_t* const begin = tag.data();
        const wchar_t* const end = begin + tag.size();
        const wchar_t* space = begin;
        while (space != end && *space != L' ') ++space;
        name_ = View(begin, static_cast<size_t>(space - begin));
        if (space == end) return true;
        const wchar_t* cursor = space + 1;
        for (;;) {
            // The common segment first, in one pass: name="value" then a space or the end.
            const wchar_t* eq = cursor;
            while (eq != end && *eq != L'=' && *eq != L'"' && *eq != L' ') ++eq;
            if (eq != cursor && end - eq >= 2 && eq[0] == L'=' && eq[1] == L'"') {
                const wchar_t* q2 = find_unit(eq + 2, end, L'"');
                if (q2 != end && (q2 + 1 == end || q2[1] == L' ')) {
                    attrs_.push_back({View(cursor, static_cast<size_t>(eq - cursor)), View(eq + 2, static_cast<size_t>(q2 - eq - 2))});
                    if (q2 + 1 == end) return true;
                    cursor = q2 + 2;
                    continue;
                }
            }
            // Any other segment.
            const size_t from = static_cast<size_t>(cursor - begin);
            const size_t q1 = find_unit(tag, L'"', from);
            const size_t q2 = q1 == npos ? npos : find_unit(tag, L'"', q1 + 1);
            if (q2 == npos) return false;
            const size_t next = find_unit(tag, L' ', q2 + 1);
            const View seg = tag.substr(from, next == npos ? npos : next - from);
            const size_t sEq = find_unit(seg, L'=', 0);
            const size_t s1 = sEq == npos || sEq == 0 ? npos : find_unit(seg, L'"', sEq + 1);
            const size_t s2 = s1 == npos ? npos : find_unit(seg, L'"', s1 + 1);
            if (s2 != npos) attrs_.push_back({seg.substr(0, sEq), seg.substr(s1 + 1, s2 - s1 - 1)});
            if (next == npos) return true;
            cursor = begin + next + 1;
        }
    }

    struct Attr {
        View name, value;
    };
    xmltext::Arena& arena_;
    View name_;
    std::vector<Attr, xmlheap::Allocator<Attr>> attrs_;
};

void read_declaration(CXMLDoc& doc, const _xml_element& decl) {
    for (INT_PTR i = 0; i < decl.attrs.GetSize(); ++i) {
        const _xml_attr& a = *decl.attrs[i];
        const wchar_t* name = reinterpret_cast<const wchar_t*>(a.name);
        const wchar_t* value = reinterpret_cast<const wchar_t*>(a.value);
        if (wcscmp(name, L"version") == 0) {
            double v = 0.0;
            if (wcslen(value) <= 128) {
                char bytes[4 * 129 + 1] = {};
                WideCharToMultiByte(CP_ACP, 0, value, -1, bytes, sizeof(bytes), nullptr, nullptr);
                v = atof(bytes);
            }
            doc.m_dVersion = v;
        } else if (wcscmp(name, L"encoding") == 0 && (wcscmp(value, L"UTF-8") == 0 || wcscmp(value, L"utf-8") == 0)) {
            doc.m_bUTF8 = true;
        }
    }
}

// The common text in one pass, as a stack reads it: every element closed in order by its
// own "</name>", no "<" inside a tag and none of the rules' refusals. On such a text the
// rules pair start and end forms as the stack does, except in two cases, where this
// reading gives up (false, with root's children as far as they were read) and leaves the
// text to read_body:
// - an element with attributes inside an element of its name: its "</name>" has no start
//   form to pair with, so it closes the outer element;
// - an element E that holds another of its name: once the start forms of the name run out
//   the rules close E with the last "</name>" of its parent's content, not its own. So E's
//   own closing tag stands only when no "</name>" follows it in the parent's content or an
//   exact "<name>" does. After E closes, the parent watches for the name: an element of it
//   with attributes taints the watch, an exact one clears it, and the parent closing on a
//   tainted watch gives up.
// Names are told apart by a bucket of their hash; when two names of one bucket are both
// watched, or the search for an open element of a name runs long, the reading gives up too.
bool read_body_in_order(View text, size_t from, _xml_element* root, xmltext::Arena& arena) {
    static const unsigned kBuckets = 1024;
    const int kLongestSearch = 64;
    auto bucket_of = [](View name) {
        unsigned h = 2166136261u;
        for (wchar_t c : name) h = (h ^ static_cast<unsigned>(c)) * 16777619u;
        return h & (kBuckets - 1);
    };
    struct Open {
        _xml_element* element;
        unsigned bucket;
        int outerInBucket;     // the next open element further out whose name has the same bucket, or -1
        bool holdsItsName;     // an exact start form of its name lies inside it
    };
    enum WatchState { kArmed, kTainted, kCleared };
    struct Watch {
        unsigned bucket;
        size_t level;               // the number of open elements while it watches (its parent's content)
        const _xml_element* closed;   // the element whose close set it: its name is watched
        WatchState state;
        int outer;                  // the watch it hides in its bucket, or -1
    };
    std::vector<Open, xmlheap::Allocator<Open>> open;     // the elements not yet closed, outermost first
    std::vector<Watch, xmlheap::Allocator<Watch>> watches;   // by level, innermost last
    int innermost[kBuckets], watchOf[kBuckets];
    std::fill(std::begin(innermost), std::end(innermost), -1);
    std::fill(std::begin(watchOf), std::end(watchOf), -1);
    TagReader tags(arena);
    const wchar_t* const begin = text.data();
    const wchar_t* const end = begin + text.size();
    const wchar_t* p = begin + from;
    bool justOpened = false;   // the last tag opened the innermost open element, whose content starts at p
    const wchar_t* content = p;
    for (;;) {
        const wchar_t* lt = find_unit(p, end, L'<');
        if (lt == end)   // the text ends the root's content, and its watches
            return open.empty() && std::none_of(watches.begin(), watches.end(), [](const Watch& w) { return w.state == kTainted; });
        const wchar_t* gt = find_either(lt + 1, end, L'>', L'<');
        if (gt == end || *gt == L'<') return false;
        const View tag(lt + 1, static_cast<size_t>(gt - lt - 1));
        p = gt + 1;
        if (!tag.empty() && tag[0] == L'/') {
            if (open.empty()) return false;
            const Open top = open.back();
            const View name = name_of(top.element);
            if (!same_units(tag.substr(1), name)) return false;
            if (justOpened) top.element->value = copy(View(content, static_cast<size_t>(lt - content)), &arena);
            justOpened = false;
            // The watches of its content end with it.
            for (; !watches.empty() && watches.back().level == open.size(); watches.pop_back()) {
                if (watches.back().state == kTainted) return false;
                watchOf[watches.back().bucket] = watches.back().outer;
            }
            const unsigned bucket = top.bucket;
            innermost[bucket] = top.outerInBucket;
            open.pop_back();
            if (top.holdsItsName) {   // the parent's content watches for its name from here
                const int w = watchOf[bucket];
                if (w >= 0 && watches[w].level == open.size()) {
                    if (!same_units(name_of(watches[w].closed), name)) return false;
                    if (watches[w].state == kTainted) return false;   // its "</name>" already followed the last exact "<name>"
                    watches[w].state = kArmed;
                    watches[w].closed = top.element;
                } else {
                    if (w >= 0 && watches[w].state != kCleared) return false;   // two names of one bucket
                    watches.push_back({bucket, open.size(), top.element, kArmed, w});
                    watchOf[bucket] = static_cast<int>(watches.size() - 1);
                }
            }
            continue;
        }
        _xml_element* e = tags.read(tag);
        if (!e) return false;
        const View name = name_of(e);
        const bool exact = name.size() == tag.size();
        const unsigned bucket = bucket_of(name);
        int same = innermost[bucket], steps = 0;   // the innermost open element of this name
        while (same >= 0 && !same_units(name_of(open[same].element), name) && ++steps <= kLongestSearch)
            same = open[same].outerInBucket;
        bool refused = name.empty() || steps > kLongestSearch || (same >= 0 && !exact);
        const int w = watchOf[bucket];
        if (!refused && w >= 0 && watches[w].state != kCleared) {
            if (!same_units(name_of(watches[w].closed), name)) refused = true;
            else watches[w].state = exact ? kCleared : kTainted;
        }
        if (refused) {
            XmlNodes::release(e);
            return false;
        }
        if (same >= 0) open[same].holdsItsName = true;
        XmlNodes::append(open.empty() ? root->children : open.back().element->children, e);
        open.push_back({e, bucket, innermost[bucket], false});
        innermost[bucket] = static_cast<int>(open.size() - 1);
        justOpened = true;
        content = p;
    }
}

// Reads the sibling sequence of [from, end) into root, and every nested sequence, with an
// explicit stack of levels.
void read_body(View text, size_t from, _xml_element* root, xmltext::Arena& arena) {
    TagIndex index(text);
    TagReader tags(arena);
    struct Level {
        _xml_element* parent;
        size_t pos, end;
    };
    std::vector<Level> levels{{root, from, text.size()}};
    while (!levels.empty()) {
        const Level at = levels.back();
        levels.pop_back();
        size_t pos = at.pos;
        while (pos < at.end) {
            const size_t lt = index.next_lt(pos);
            const size_t gt = lt >= at.end ? npos : find_unit(text.substr(0, at.end), L'>', lt + 1);
            if (gt == npos) break;
            View tag = text.substr(lt + 1, gt - lt - 1);
            if (!tag.empty() && tag[0] == L'/') {   // a closing tag out of place
                pos = gt + 1;
                continue;
            }
            _xml_element* e = tags.read(tag);
            if (!e) break;   // the rest of this level is not read
            XmlNodes::append(at.parent->children, e);
            const View name = name_of(e);
            size_t close = index.find_end(name, gt + 1, at.end);
            if (close == npos) {   // no closing tag: what follows is read as siblings
                pos = gt + 1;
                continue;
            }
            if (index.next_lt(gt + 1) >= close) {   // no "<" in the content
                e->value = copy(text.substr(gt + 1, close - gt - 1), &arena);
            } else {
                levels.push_back({at.parent, close + name.size() + 3, at.end});   // this level goes on later
                levels.push_back({e, gt + 1, close});
                pos = at.end;   // continue with the child level first
                break;
            }
            pos = close + name.size() + 3;
        }
    }
}

} // namespace

// Out of memory: false, with the document's elements as they were (the declaration's
// fields may have been read).
bool CXMLDoc::Parsing(const unsigned short* input) try {
    if (!input) return false;
    const wchar_t* chars = reinterpret_cast<const wchar_t*>(input);
    const Survey head = survey(chars);
    const View text(chars, head.length);

    // The declaration: the first "<?" and, separately, the first "?>".
    size_t pos = 0;
    const size_t question = head.question;   // both searches start from the first "?"
    const size_t open = question == npos ? npos : find_after(text, L'<', L'?', question ? question - 1 : 0);
    const size_t close = question == npos ? npos : find_before(text, L'?', L'>', question);
    if (open != npos && close != npos) {
        View decl = close >= open + 2 ? text.substr(open + 2, close - open - 2) : text.substr(open + 2);
        xmltext::Arena arena;
        if (_xml_element* e = TagReader(arena).read(decl)) {
            read_declaration(*this, *e);
            XmlNodes::release(e);
        }
        pos = close + 2;
    }

    // The document type: the first "<!" construct after the declaration.
    size_t body = close != npos ? close + 2 : pos;
    size_t bang = head.bang == npos ? npos : find_after(text, L'<', L'!', std::max(pos, head.bang ? head.bang - 1 : 0));
    size_t bangEnd = bang == npos ? npos : find_unit(text, L'>', bang + 2);
    if (bangEnd != npos) {
        View type = text.substr(bang + 2, std::min<size_t>(bangEnd - bang - 2, 255));
        std::fill(std::begin(m_szDocType), std::end(m_szDocType), 0);
        std::copy(type.begin(), type.end(), m_szDocType);
        body = bangEnd + 1;
    }

    // The body, under a new root that joins the document once it has been read whole. The
    // tree's lists take their storage from a pool of this parse, cut from the model's heap.
    AfxArrayPoolScope pool(xmlheap::alloc, xmlheap::free);
    _xml_element* root = XmlNodes::new_element(xmltext::make(L"xml body", 8), nullptr);
    try {
        xmltext::Arena arena;
        if (!read_body_in_order(text, std::min(body, text.size()), root, arena)) {
            XmlNodes::release_list(root->children);
            read_body(text, std::min(body, text.size()), root, arena);
        }
    } catch (...) {
        XmlNodes::release(root);
        throw;
    }
    XmlNodes::append(m_elements, root);
    return true;
} catch (...) {
    return false;
}
