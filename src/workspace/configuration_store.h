#pragma once

#include "foundation/object_list.h"

#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>

namespace corvid {

// One setting: a backslash-separated path such as "Hardware\Manager\Active Simulator\Index"
// and its value as text.
struct TKey {
    std::string Name;
    std::string Value;
};

// Every persistent setting of the IDE, as an ordered list of named text values. A read of a
// missing setting adds it with its default, so that the next save writes it.
//
// Thread use: any thread may call the accessors (simulated devices read and write their
// settings from the run thread); the key list itself is for the UI thread.
class TConfigurationStore {
public:
    TConfigurationStore();
    TConfigurationStore(const TConfigurationStore&) = delete;
    TConfigurationStore& operator=(const TConfigurationStore&) = delete;

    // Told of every change: a write, or a read that had to add its key. Called on the thread
    // that made the change, after the store is unlocked.
    std::function<void()> OnChanged;

    std::string GetString(std::string_view path, std::string_view defaultValue);
    void SetString(std::string_view path, std::string_view value);
    // A stored text that is not a decimal integer (blanks, an optional sign, digits) gives
    // the default and stays as it is.
    int GetInteger(std::string_view path, int defaultValue);
    void SetInteger(std::string_view path, int value);
    // Written with '.', read with '.' or ',' (files written elsewhere may use either).
    double GetFloat(std::string_view path, double defaultValue);
    void SetFloat(std::string_view path, double value);

    // The value's characters, valid until that key's value changes or the store is emptied;
    // for callers that hand text across the plug-in boundary. Adds the key like GetString.
    const char* ValueText(std::string_view path, std::string_view defaultValue);

    const TObjectList<TKey>& Keys() const { return KeyList; }
    // Empties the store and fills it with these keys in order; duplicates are kept as they
    // are, and reads and writes use the first of them.
    void Replace(TObjectList<TKey>& keys);

private:
    mutable std::mutex Lock;
    TObjectList<TKey> KeyList;
    // Name to the index of its first entry; names compare exactly.
    std::unordered_map<std::string_view, int> Index;

    TKey* Find(std::string_view path) const;
    TKey& Append(std::string_view path, std::string_view value);
    void Changed();
};

} // namespace corvid
