#pragma once

namespace corvid {

class TColourRow;
class TTextEditor;
class TTextEditorFile;

// Colours the lines of a file and keeps the block-comment state of its lines (the line flags
// 0x01 opens, 0x02 closes, 0x04 starts inside) up to date as the lines change. One highlighter
// may serve many files; the base colours nothing.
class TTextEditorSyntaxHighlighter {
public:
    virtual ~TTextEditorSyntaxHighlighter() = default;

    virtual void ColorLine(int line, const TTextEditor& editor, TColourRow& row) const;
    virtual void RescanAll(TTextEditorFile& file);
    virtual void LineChanged(int line, TTextEditorFile& file);
    virtual void LineDeleted(int line, TTextEditorFile& file);
    virtual void LineInserted(int line, TTextEditorFile& file);
};

// Identifiers, numbers, strings, prefixed constants, comments and reserved words, from the
// active language of the file. An edit re-scans only as many lines as the comment state
// changes, without recursion however many lines that is.
class TGoodSyntaxHighlighter : public TTextEditorSyntaxHighlighter {
public:
    void ColorLine(int line, const TTextEditor& editor, TColourRow& row) const override;
    void RescanAll(TTextEditorFile& file) override;
    void LineChanged(int line, TTextEditorFile& file) override;
    void LineDeleted(int line, TTextEditorFile& file) override;
    void LineInserted(int line, TTextEditorFile& file) override;
};

} // namespace corvid
