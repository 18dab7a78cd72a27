// A literal reading of the reader's rules, on copies and plain searches, for comparison
// with the library's indexed reader on small texts. Gives the body's shape (as Shape and
// Body do) and the declaration fields.
#pragma once
#include <stdlib.h>
#include <string>
#include <vector>

struct RefResult {
    double version = 1.0;
    bool utf8 = false;
    std::wstring docType;
    std::wstring body;
};

namespace ref {

using S = std::wstring;
const size_t npos = S::npos;

struct Node {
    S name;
    bool hasValue = false;
    S value;
    std::vector<std::pair<S, S>> attrs;
    std::vector<Node> children;
};

inline S shape(const Node& n) {
    S out = n.name;
    if (!n.attrs.empty()) {
        out += L"[";
        for (size_t i = 0; i < n.attrs.size(); ++i) out += (i ? L"," : L"") + n.attrs[i].first + L"=" + n.attrs[i].second;
        out += L"]";
    }
    if (n.hasValue) out += L"(" + n.value + L")";
    if (!n.children.empty()) {
        out += L"{";
        for (size_t i = 0; i < n.children.size(); ++i) out += (i ? L" " : L"") + shape(n.children[i]);
        out += L"}";
    }
    return out;
}

inline bool read_tag(const S& tag, Node& n) {
    if (tag.empty()) return false;
    size_t sp = tag.find(L' ');
    if (sp == npos) { n.name = tag; return true; }
    n.name = tag.substr(0, sp);
    size_t cur = sp + 1;
    for (;;) {
        size_t q1 = tag.find(L'"', cur);
        if (q1 == npos) return false;
        size_t q2 = tag.find(L'"', q1 + 1);
        if (q2 == npos) return false;
        size_t next = tag.find(L' ', q2 + 1);
        S seg = tag.substr(cur, next == npos ? npos : next - cur);
        size_t eq = seg.find(L'=');
        if (eq != npos && eq > 0) {
            size_t a = seg.find(L'"', eq + 1);
            size_t b = a == npos ? npos : seg.find(L'"', a + 1);
            if (b != npos) n.attrs.push_back({seg.substr(0, eq), seg.substr(a + 1, b - a - 1)});
        }
        if (next == npos) return true;
        cur = next + 1;
    }
}

inline size_t find_end(const S& text, const S& name) {
    const S sf = L"<" + name + L">", ef = L"</" + name + L">";
    size_t s = text.find(sf), e = text.find(ef);
    if (s == npos) return e;
    if (e == npos || e < s) return e;
    for (;;) {
        size_t last = e;
        if (s != npos) s = text.find(sf, s + sf.size());
        e = text.find(ef, e + ef.size());
        if (e == npos && s != npos) return npos;
        if (e != npos && s != npos && e < s) return e;
        if (e == npos && s == npos) return last;
    }
}

inline void siblings(S text, Node& parent) {
    for (;;) {
        size_t lt = text.find(L'<');
        size_t gt = lt == npos ? npos : text.find(L'>', lt + 1);
        if (gt == npos) return;
        S tag = text.substr(lt + 1, gt - lt - 1);
        S rest = text.substr(gt + 1);
        if (!tag.empty() && tag[0] == L'/') { text = rest; continue; }
        Node n;
        if (!read_tag(tag, n)) return;
        size_t close = find_end(rest, n.name);
        if (close == npos) { parent.children.push_back(n); text = rest; continue; }
        S content = rest.substr(0, close);
        if (content.find(L'<') == npos) { n.hasValue = true; n.value = content; }
        else siblings(content, n);
        parent.children.push_back(n);
        text = rest.substr(close + n.name.size() + 3);
        if (text.empty()) return;
    }
}

} // namespace ref

inline RefResult ReferenceParse(const std::wstring& text) {
    using namespace ref;
    RefResult r;
    size_t pos = 0, open = text.find(L"<?"), close = text.find(L"?>");
    if (open != npos && close != npos) {
        Node d;
        S decl = close >= open + 2 ? text.substr(open + 2, close - open - 2) : text.substr(open + 2);
        if (read_tag(decl, d)) {
            for (auto& a : d.attrs) {
                if (a.first == L"version") {
                    std::string bytes(a.second.begin(), a.second.end());
                    r.version = a.second.size() <= 128 ? atof(bytes.c_str()) : 0.0;
                } else if (a.first == L"encoding" && (a.second == L"UTF-8" || a.second == L"utf-8")) {
                    r.utf8 = true;
                }
            }
        }
        pos = close + 2;
    }
    size_t body = close != npos ? close + 2 : pos;
    size_t bang = text.find(L"<!", pos);
    size_t bangEnd = bang == npos ? npos : text.find(L'>', bang + 2);
    if (bangEnd != npos) {
        r.docType = text.substr(bang + 2, bangEnd - bang - 2).substr(0, 255);
        body = bangEnd + 1;
    }
    Node root;
    siblings(body < text.size() ? text.substr(body) : S(), root);
    for (size_t i = 0; i < root.children.size(); ++i) r.body += (i ? L" " : L"") + shape(root.children[i]);
    return r;
}
