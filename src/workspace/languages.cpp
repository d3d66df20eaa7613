#include "workspace/languages.h"

#include "editor/editor_file_parser.h"
#include "editor/text_editor_file.h"
#include "foundation/file_names.h"
#include "foundation/text_search.h"
#include "parsing/asm_tokens.h"
#include "parsing/c_tokens.h"

#include <initializer_list>

namespace corvid {

namespace {

constexpr TColourPair WhiteOnNavy{WhiteColor, NavyColor};
constexpr TColourPair AquaOnNavy{AquaColor, NavyColor};

void AddWords(TTextEditorMultiFileInfo& settings, TColourPair colours,
              std::initializer_list<const char*> words) {
    settings.Colors[ccReservedWord] = colours;
    for (const char* word : words)
        settings.AddReservedWord(word);
}

TCharSet NumberCharacters(bool withX) {
    TCharSet set = TCharSet::Digits();
    set.AddRange('A', 'F');
    set.AddRange('a', 'f');
    if (withX)
        set.Add("Xx");
    return set;
}

TCharSet DigitsAndDollar() {
    TCharSet set = TCharSet::Digits();
    set.Add('$');
    return set;
}

std::unique_ptr<TEditorFileParser> CSymbolScanner() {
    auto parser = std::make_unique<TEditorFileParser>();
    parser->ParserObjects.Add(new TSkipWhitespaceParserObject);
    parser->ParserObjects.Add(new TCIdentifierReservedParserObject);
    parser->ParserObjects.Add(new TCSymbolParserObject);
    parser->ParserObjects.Add(new TCNumberParserObject);
    parser->ParserObjects.Add(new TCStringParserObject);
    parser->ParserObjects.Add(new TCCommentParserObject);
    return parser;
}

std::unique_ptr<TEditorFileParser> AsmSymbolScanner() {
    auto parser = std::make_unique<TEditorFileParser>();
    parser->ParserObjects.Add(new TSkipWhitespaceParserObject);
    parser->ParserObjects.Add(new TAsmIdentifierReservedParserObject);
    parser->ParserObjects.Add(new TCNumberParserObject);
    parser->ParserObjects.Add(new TAsmCommentParserObject);
    return parser;
}

TLanguage* NewLanguage(const char* name, const char* masks) {
    auto* language = new TLanguage;
    language->Name = name;
    language->FileMasks = masks;
    language->Settings.IdentifierStarts = TCharSet::IdentifierStarts();
    language->Settings.WordCharacters = TCharSet::WordCharacters();
    return language;
}

TLanguage* CppLanguage(TTextEditorReservedWordList* extraWords) {
    TLanguage* language =
        NewLanguage("C++", "*.cpp;*.c;*.hpp;*.h;*.twk;*.cmd;*.cas;*.pat;*.lnk;*.mak");
    TTextEditorMultiFileInfo& settings = language->Settings;
    settings.BlockStart = "{";
    settings.BlockEnd = "}";
    settings.LineCommentStart = {"//", ""};
    settings.BlockCommentStart = {"/*", ""};
    settings.BlockCommentEnd = {"*/", ""};
    settings.StringQuote = '"';
    settings.StringEscape = '\\';
    settings.CaseSensitive = true;
    settings.ExtraWords = extraWords;
    settings.Digits = TCharSet::Digits();
    settings.NumberCharacters = NumberCharacters(true);
    AddWords(settings, AquaOnNavy,
             {"#define", "#undef", "#include", "#if", "#ifdef", "#ifndef", "#else", "#elif",
              "#endif", "#error", "#line", "#pragma"});
    AddWords(settings, WhiteOnNavy,
             {"asm",    "auto",     "break",    "case",   "catch",    "char",    "class",
              "const",  "continue", "default",  "delete", "do",       "double",  "else",
              "enum",   "extern",   "float",    "for",    "friend",   "goto",    "if",
              "inline", "int",      "long",     "new",    "operator", "private", "protected",
              "public", "register", "return",   "short",  "signed",   "sizeof",  "static",
              "struct", "switch",   "template", "this",   "throw",    "try",     "typedef",
              "union",  "unsigned", "virtual",  "void",   "volatile", "while"});
    settings.Parser = CSymbolScanner();
    return language;
}

TLanguage* PascalLanguage() {
    TLanguage* language = NewLanguage("Pascal", "*.pas");
    TTextEditorMultiFileInfo& settings = language->Settings;
    settings.BlockStart = "begin";
    settings.BlockEnd = "end";
    settings.LineCommentStart = {"//", ""};
    settings.BlockCommentStart = {"{", "(*"};
    settings.BlockCommentEnd = {"}", "*)"};
    settings.InStringSequence = "''";
    settings.StringQuote = '\'';
    settings.ConstantPrefix = '#';
    settings.Digits = DigitsAndDollar();
    settings.NumberCharacters = NumberCharacters(false);
    AddWords(settings, WhiteOnNavy,
             {"and",
              "array",
              "as",
              "asm",
              "begin",
              "case",
              "class",
              "const",
              "constructor",
              "destructor",
              "dispinterface",
              "div",
              "do",
              "downto",
              "else",
              "end",
              "except",
              "exports",
              "file",
              "finalization",
              "finally",
              "for",
              "function",
              "goto",
              "if",
              "implementation",
              "in",
              "inherited",
              "initialization",
              "inline",
              "interface",
              "is",
              "label",
              "library",
              "mod",
              "nil",
              "not",
              "object",
              "of",
              "or",
              "out",
              "packed",
              "procedure",
              "program",
              "property",
              "raise",
              "record",
              "repeat",
              "resourcestring",
              "set",
              "shl",
              "shr",
              "string",
              "stringresource",
              "then",
              "threadvar",
              "to",
              "try",
              "type",
              "unit",
              "until",
              "uses",
              "var",
              "while",
              "with",
              "xor"});
    return language;
}

TLanguage* Hc11Language(TTextEditorReservedWordList* extraWords) {
    TLanguage* language = NewLanguage("HC11", "*.asm");
    TTextEditorMultiFileInfo& settings = language->Settings;
    settings.LineCommentStart = {"*", ";"};
    settings.LineCommentColumn = {1, 0};
    settings.BlockCommentStart = {"{", "/*"};
    settings.BlockCommentEnd = {"}", "*/"};
    settings.StringQuote = '\'';
    settings.ExtraWords = extraWords;
    settings.Digits = DigitsAndDollar();
    settings.NumberCharacters = NumberCharacters(false);
    settings.Colors[ccReservedWord] = WhiteOnNavy;
    settings.AddReservedWord("rmb");
    // Every mnemonic of the assembler, in its word table's order.
    const TAsmIdentifierReservedParserObject words;
    for (const TParserReservedWord* word : words.Words)
        if (word->Id >= AsmFirstMnemonic && word->Id <= AsmLastMnemonic)
            settings.AddReservedWord(LowerCase(word->Name));
    settings.Parser = AsmSymbolScanner();
    return language;
}

TLanguage* DefaultLanguage() {
    TLanguage* language = NewLanguage("Default", "*.*");
    TTextEditorMultiFileInfo& settings = language->Settings;
    settings.LineCommentStart = {"//", "rem"};
    settings.Digits = DigitsAndDollar();
    settings.NumberCharacters = NumberCharacters(true);
    return language;
}

} // namespace

TLanguageTable::TLanguageTable(TTextEditorReservedWordList* extraWords) {
    Languages.Add(CppLanguage(extraWords));
    Languages.Add(PascalLanguage());
    Languages.Add(Hc11Language(extraWords));
    Languages.Add(DefaultLanguage());
    Extensions.Add(new TExtension{"Source Files", "*.asm"});
    Extensions.Add(new TExtension{"Text Files", "*.txt"});
    Extensions.Add(new TExtension{"All Files", "*.*"});
}

TLanguage* TLanguageTable::ForFile(std::string_view fileName) const {
    for (TLanguage* language : Languages)
        if (language->Enabled && MatchesMaskList(fileName, language->FileMasks) == 1)
            return language;
    return nullptr;
}

void TLanguageTable::Attach(TTextEditorFile& buffer) {
    TLanguage* language = ForFile(buffer.FileName);
    buffer.Language = language ? &language->Settings : nullptr;
    buffer.Highlighter = language ? &Highlighter : nullptr;
    if (buffer.Highlighter)
        buffer.Highlighter->RescanAll(buffer);
}

std::string TLanguageTable::OpenFilter() const {
    std::string filter;
    for (const TExtension* extension : Extensions)
        filter += extension->Description + " (" + extension->Mask + ")|" + extension->Mask + "|";
    return filter;
}

} // namespace corvid
