#include "workspace/configuration_store.h"

#include <charconv>
#include <cstdio>
#include <string>

namespace corvid {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// Blanks, an optional sign and decimal digits, nothing else.
bool ParseInteger(std::string_view text, int& value) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    const auto [end, problem] = std::from_chars(text.data(), text.data() + text.size(), value);
    return !text.empty() && problem == std::errc() && end == text.data() + text.size();
}

bool ParseFloat(std::string_view text, double& value) {
    std::string normalised(text);
    for (char& c : normalised)
        if (c == ',')
            c = '.';
    size_t start = 0;
    while (start < normalised.size() && IsBlank(normalised[start]))
        ++start;
    if (start < normalised.size() && normalised[start] == '+')
        ++start;
    const char* first = normalised.data() + start;
    const char* last = normalised.data() + normalised.size();
    while (last > first && IsBlank(last[-1]))
        --last;
    const auto [end, problem] = std::from_chars(first, last, value);
    return first != last && problem == std::errc() && end == last;
}

std::string FloatText(double value) {
    char buffer[64];
    const auto [end, problem] = std::to_chars(buffer, buffer + sizeof buffer, value);
    return problem == std::errc() ? std::string(buffer, end) : std::string("0");
}

} // namespace

TConfigurationStore::TConfigurationStore() {
    KeyList.Delta = 64;
}

TKey* TConfigurationStore::Find(std::string_view path) const {
    const auto found = Index.find(path);
    return found == Index.end() ? nullptr : KeyList[found->second];
}

TKey& TConfigurationStore::Append(std::string_view path, std::string_view value) {
    auto* key = new TKey{std::string(path), std::string(value)};
    KeyList.Add(key);
    Index.emplace(key->Name, KeyList.Count() - 1);
    return *key;
}

void TConfigurationStore::Changed() {
    if (OnChanged)
        OnChanged();
}

std::string TConfigurationStore::GetString(std::string_view path, std::string_view defaultValue) {
    return ValueText(path, defaultValue);
}

const char* TConfigurationStore::ValueText(std::string_view path, std::string_view defaultValue) {
    bool added = false;
    const char* text;
    {
        std::lock_guard guard(Lock);
        TKey* key = Find(path);
        if (!key) {
            key = &Append(path, defaultValue);
            added = true;
        }
        text = key->Value.c_str();
    }
    if (added)
        Changed();
    return text;
}

void TConfigurationStore::SetString(std::string_view path, std::string_view value) {
    {
        std::lock_guard guard(Lock);
        if (TKey* key = Find(path))
            key->Value = value;
        else
            Append(path, value);
    }
    Changed();
}

int TConfigurationStore::GetInteger(std::string_view path, int defaultValue) {
    int value = 0;
    return ParseInteger(GetString(path, std::to_string(defaultValue)), value) ? value
                                                                              : defaultValue;
}

void TConfigurationStore::SetInteger(std::string_view path, int value) {
    SetString(path, std::to_string(value));
}

double TConfigurationStore::GetFloat(std::string_view path, double defaultValue) {
    double value = 0;
    return ParseFloat(GetString(path, FloatText(defaultValue)), value) ? value : defaultValue;
}

void TConfigurationStore::SetFloat(std::string_view path, double value) {
    SetString(path, FloatText(value));
}

void TConfigurationStore::Replace(TObjectList<TKey>& keys) {
    {
        std::lock_guard guard(Lock);
        Index.clear();
        KeyList.Clear();
        for (TKey* key : keys) {
            KeyList.Add(key);
            Index.emplace(key->Name, KeyList.Count() - 1);
        }
        keys.OwnsObjects = false; // the store owns them now
        keys.Clear();
        keys.OwnsObjects = true;
    }
    Changed();
}

} // namespace corvid
