#pragma once

#include <algorithm>
#include <cctype>
#include <string>
#include <unordered_map>
#include <vector>

// An ordered sequence of entries, each a key text and a reference to one object, with
// a hashed index of the keys. Configured once as sorted or not, accepting duplicate keys
// or ignoring them, and comparing keys case-sensitively or not.
//
// The list never owns its objects: deleting an entry leaves its object alone.
// Positions are 0-based; the entries sit in one contiguous array, so positional access
// is a bounds check and an index. Lookup by key goes through the hash index, which maps
// each (folded) key to the positions holding it and is kept in step on every insert
// and delete.
template <typename T> class KEYED_STRING_LIST {
public:
    struct Entry {
        std::string key;
        T* object;
    };

    explicit KEYED_STRING_LIST(bool sorted = false, bool duplicates = false, bool caseSensitive = false)
        : sorted(sorted), duplicates(duplicates), caseSensitive(caseSensitive)
    {
    }

    bool Sorted() const { return sorted; }
    bool Duplicates() const { return duplicates; }
    bool CaseSensitive() const { return caseSensitive; }

    int Count() const { return static_cast<int>(entries.size()); }
    bool Empty() const { return entries.empty(); }

    // The object at a position; null outside 0..Count()-1.
    T* GetObject(int index) const
    {
        if (index < 0 || index >= Count())
            return nullptr;
        return entries[index].object;
    }
    // The key at a position; the empty text outside 0..Count()-1.
    const std::string& GetKey(int index) const
    {
        static const std::string none;
        if (index < 0 || index >= Count())
            return none;
        return entries[index].key;
    }
    // Replaces the object of an entry; the key stays. Ignored outside 0..Count()-1.
    void PutObject(int index, T* object)
    {
        if (index >= 0 && index < Count())
            entries[index].object = object;
    }

    // Appends the entry, or inserts it after every entry with a key not greater than
    // its own when the list is sorted. Returns its position, or -1 when duplicates are
    // ignored and the key is already present (nothing is added then).
    int Add(const std::string& key, T* object)
    {
        std::string folded = Fold(key);
        if (!duplicates && index.count(folded))
            return -1;
        int position = Count();
        if (sorted) {
            auto at = std::upper_bound(entries.begin(), entries.end(), key,
                                       [this](const std::string& k, const Entry& e) { return Less(k, e.key); });
            position = static_cast<int>(at - entries.begin());
        }
        if (position < Count()) {
            for (auto& [k, p] : index)
                if (p >= position)
                    ++p;
        }
        entries.insert(entries.begin() + position, Entry{key, object});
        index.emplace(std::move(folded), position);
        return position;
    }

    // Removes the entry at a position; its object is not destroyed. Ignored outside 0..Count()-1.
    void Delete(int position)
    {
        if (position < 0 || position >= Count())
            return;
        auto range = index.equal_range(Fold(entries[position].key));
        for (auto it = range.first; it != range.second; ++it) {
            if (it->second == position) {
                index.erase(it);
                break;
            }
        }
        entries.erase(entries.begin() + position);
        if (position < Count()) {
            for (auto& [k, p] : index)
                if (p > position)
                    --p;
        }
    }

    void Clear()
    {
        entries.clear();
        index.clear();
    }

    // Position of the first entry with the key, or -1.
    int Find(const std::string& key) const
    {
        auto range = index.equal_range(Fold(key));
        int first = -1;
        for (auto it = range.first; it != range.second; ++it)
            if (first < 0 || it->second < first)
                first = it->second;
        return first;
    }
    bool Contains(const std::string& key) const { return index.count(Fold(key)) != 0; }

    // Position of the first entry that refers to the object, or -1.
    int IndexOfObject(const T* object) const
    {
        for (int i = 0; i < Count(); ++i)
            if (entries[i].object == object)
                return i;
        return -1;
    }

private:
    std::string Fold(const std::string& key) const
    {
        if (caseSensitive)
            return key;
        std::string folded = key;
        for (char& c : folded)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return folded;
    }
    bool Less(const std::string& a, const std::string& b) const
    {
        if (caseSensitive)
            return a < b;
        return Fold(a) < Fold(b);
    }

    bool sorted;
    bool duplicates;
    bool caseSensitive;
    std::vector<Entry> entries;
    std::unordered_multimap<std::string, int> index;
};
