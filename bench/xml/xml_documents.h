// The XML benchmarks' documents, made in memory.
#pragma once
#include <stddef.h>
#include <string>

// Documents within the reader's language: no entities, no text between tags, attributes
// in double quotes separated by single spaces.
inline std::string catalogue(size_t bytes) {
    std::string s = "<response><code>0</code><lists>";
    for (int list = 0; s.size() < bytes; ++list) {
        s += "<list name=\"list" + std::to_string(list) + "\" kind=\"photo\">";
        for (int i = 0; i < 20; ++i)
            s += "<item id=\"" + std::to_string(list * 100 + i) + "\" size=\"4096\"><title>Picture " + std::to_string(i) +
                 "</title><album>Summer holiday</album><keywords>sun sea beach</keywords></item>";
        s += "</list>";
    }
    return s + "</lists></response>";
}

inline std::string siblings(int n) {
    std::string s = "<root>";
    for (int i = 0; i < n; ++i) s += "<item id=\"" + std::to_string(i) + "\">value</item>";
    return s + "</root>";
}

inline std::string nesting(int depth) {
    std::string s;
    for (int i = 0; i < depth; ++i) s += "<level>";
    s += "deepest";
    for (int i = 0; i < depth; ++i) s += "</level>";
    return s;
}

inline std::string big_value(size_t bytes) { return "<doc><text>" + std::string(bytes, 'x') + "</text></doc>"; }
