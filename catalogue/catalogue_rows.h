// Mapping between the catalogue's item records and the store's rows.
#pragma once
#include <string>
#include <type_traits>
#include <sqlite3.h>
#include "AppDB.h"
#include "simple_db_rows.h"
#include "utf8_text.h"

// A store record whose texts are owned here: UTF-8 forms, an empty text standing for NULL.
class RowTexts {
public:
    RowTexts(const CString& key, int cat, int time, const CString& group, const CString& keywords, const CString& value)
        : key_(ToUtf8(key)), group_(ToUtf8(group)), keywords_(ToUtf8(keywords)), value_(ToUtf8(value)) {
        rec_ = SimpleDB::Record{text(key_), cat, time, 0, text(group_), text(keywords_), text(value_), 0};
    }
    RowTexts(const RowTexts&) = delete;
    RowTexts& operator=(const RowTexts&) = delete;
    const SimpleDB::Record* get() const { return &rec_; }

private:
    static char* text(std::string& s) { return s.empty() ? nullptr : &s[0]; }
    std::string key_, group_, keywords_, value_;
    SimpleDB::Record rec_;
};

// Fills an item from a row; videos have no group and no attachment.
template <class Item>
void FillItem(Item& item, const SimpleDB::Record& r) {
    item.strKey = UTF8ToCString(r.key);
    item.strValue = UTF8ToCString(r.value);
    item.nTime = r.time;
    if constexpr (!std::is_same_v<Item, AppDB::VideoItem>) {
        item.strGroup = UTF8ToCString(r.group);
        item.nBinSize = r.binSize;
    }
}

// Fills an item from the row a listing's statement is on, as FillItem does from its record.
template <class Item>
void FillItemFromRow(Item& item, sqlite3_stmt* row) {
    item.strKey = UTF8ToCString(reinterpret_cast<const char*>(sqlite3_column_text(row, kRowKey)));
    item.strValue = UTF8ToCString(reinterpret_cast<const char*>(sqlite3_column_text(row, kRowValue)));
    item.nTime = sqlite3_column_int(row, kRowTime);
    if constexpr (!std::is_same_v<Item, AppDB::VideoItem>) {
        item.strGroup = UTF8ToCString(reinterpret_cast<const char*>(sqlite3_column_text(row, kRowGroup)));
        item.nBinSize = sqlite3_column_int(row, kRowBinSize);
    }
}
