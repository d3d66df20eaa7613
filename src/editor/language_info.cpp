#include "editor/language_info.h"

#include "editor/editor_file_parser.h"
#include "foundation/case_fold.h"

namespace corvid {

namespace {

int CompareWords(TTextEditorReservedWord* a, TTextEditorReservedWord* b) {
    return CompareText(a->Text, b->Text);
}

// Orders the text at position against a word, upper-cased character by character. A text
// that holds the whole word but goes on with a word character counts as the greater one.
int CompareAt(std::string_view text, size_t position, std::string_view word,
              const TCharSet& wordCharacters) {
    for (size_t index = 0; index < word.size(); ++index) {
        if (position + index >= text.size())
            return -1;
        const auto a = static_cast<unsigned char>(UpCase(text[position + index]));
        const auto b = static_cast<unsigned char>(UpCase(word[index]));
        if (a != b)
            return a < b ? -1 : 1;
    }
    const size_t after = position + word.size();
    return after < text.size() && wordCharacters.Contains(text[after]) ? 1 : 0;
}

TCharSet NumberCharacterDefaults() {
    TCharSet set = TCharSet::Digits();
    set.AddRange('A', 'F');
    set.AddRange('a', 'f');
    set.Add("Xx");
    return set;
}

} // namespace

TTextEditorReservedWordList::TTextEditorReservedWordList() {
    OnCompare = CompareWords;
    OnAdd = [this](TObjectList&, TTextEditorReservedWord*) { IndexValid = false; };
    OnDelete = [this](TObjectList&, TTextEditorReservedWord*) { IndexValid = false; };
}

void TTextEditorReservedWordList::BuildIndex() {
    Sort();
    Sorted.assign(begin(), end());
    FillBuckets();
}

void TTextEditorReservedWordList::EnsureIndex() const {
    if (IndexValid)
        return;
    // The same sort as BuildIndex, on a copy: the order of equal words comes out the same.
    TObjectList<TTextEditorReservedWord> copy;
    copy.OwnsObjects = false;
    copy.OnCompare = CompareWords;
    copy.SetSize(Count());
    for (TTextEditorReservedWord* word : *this)
        copy.Add(word);
    copy.Sort();
    Sorted.assign(copy.begin(), copy.end());
    FillBuckets();
}

void TTextEditorReservedWordList::FillBuckets() const {
    Buckets.fill(TBucket{});
    for (int index = 0; index < static_cast<int>(Sorted.size()); ++index) {
        const std::string& text = Sorted[static_cast<size_t>(index)]->Text;
        if (text.empty())
            continue;
        TBucket& bucket = Buckets[static_cast<unsigned char>(UpCase(text[0]))];
        if (bucket.First < 0)
            bucket.First = index;
        ++bucket.Count;
    }
    IndexValid = true;
}

const TTextEditorReservedWordList::TBucket& TTextEditorReservedWordList::Bucket(char first) const {
    EnsureIndex();
    return Buckets[static_cast<unsigned char>(UpCase(first))];
}

const TTextEditorReservedWord* TTextEditorReservedWordList::Match(std::string_view text,
                                                                  size_t position,
                                                                  const TCharSet& wordCharacters,
                                                                  bool caseSensitive) const {
    if (position >= text.size())
        return nullptr;
    const TBucket& bucket = Bucket(text[position]);
    int lo = bucket.First;
    int hi = bucket.First + bucket.Count;
    while (lo < hi) {
        const int mid = lo + (hi - lo) / 2;
        const TTextEditorReservedWord* word = Sorted[static_cast<size_t>(mid)];
        const int order = CompareAt(text, position, word->Text, wordCharacters);
        if (order > 0) {
            if (mid == lo)
                return nullptr;
            lo = mid;
        } else if (order < 0) {
            hi = mid;
        } else {
            const bool exact = text.substr(position, word->Text.size()) == word->Text;
            return !caseSensitive || exact ? word : nullptr;
        }
    }
    return nullptr;
}

TTextEditorMultiFileInfo::TTextEditorMultiFileInfo()
    : Colors{{
          {WhiteColor, NavyColor},      // normal text
          {YellowColor, NavyColor},     // identifiers
          {WhiteColor, NavyColor},      // reserved words added next
          {WhiteColor, NavyColor},      // other characters
          {AquaColor, NavyColor},       // numbers
          {LimeColor, NavyColor},       // strings and prefixed constants
          {SilverColor, NavyColor},     // block comments
          {SilverColor, NavyColor},     // line comments
          {NavyColor, ButtonFaceColor}, // selection
          {AquaColor, BlackColor},      // highlighted word
      }},
      Digits(TCharSet::Digits()), NumberCharacters(NumberCharacterDefaults()),
      IdentifierStarts(TCharSet::IdentifierStarts()), WordCharacters(TCharSet::WordCharacters()) {}

TTextEditorMultiFileInfo::~TTextEditorMultiFileInfo() = default;

void TTextEditorMultiFileInfo::AddReservedWord(std::string_view text) {
    ReservedWords.Add(new TTextEditorReservedWord(std::string(text), Colors[ccReservedWord]));
}

} // namespace corvid
