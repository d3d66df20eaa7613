#pragma once

#include <bitset>
#include <string_view>

namespace corvid {

// A set of byte values, as a language's word or digit characters.
class TCharSet {
public:
    TCharSet() = default;
    explicit TCharSet(std::string_view members) { Add(members); }

    bool Contains(char c) const { return Bits.test(static_cast<unsigned char>(c)); }
    void Add(char c) { Bits.set(static_cast<unsigned char>(c)); }
    void Add(std::string_view members) {
        for (const char c : members)
            Add(c);
    }
    void AddRange(char first, char last) {
        for (int c = static_cast<unsigned char>(first); c <= static_cast<unsigned char>(last); ++c)
            Bits.set(static_cast<size_t>(c));
    }
    void Remove(char c) { Bits.reset(static_cast<unsigned char>(c)); }

    // A to Z, a to z and the underscore.
    static TCharSet IdentifierStarts() {
        TCharSet set;
        set.AddRange('A', 'Z');
        set.AddRange('a', 'z');
        set.Add('_');
        return set;
    }
    static TCharSet Digits() {
        TCharSet set;
        set.AddRange('0', '9');
        return set;
    }
    // Identifier starts and the digits.
    static TCharSet WordCharacters() {
        TCharSet set = IdentifierStarts();
        set.AddRange('0', '9');
        return set;
    }

    friend bool operator==(const TCharSet&, const TCharSet&) = default;

private:
    std::bitset<256> Bits;
};

} // namespace corvid
