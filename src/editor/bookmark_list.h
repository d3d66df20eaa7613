#pragma once

#include "editor/bookmarks.h"
#include "foundation/object_list.h"

#include <cstdint>
#include <vector>

namespace corvid {

// The bookmarks of one file, owned; the file's selection is the first. The list keeps its
// point bookmarks indexed by line, so that painting a row and typing on a line only look at the
// bookmarks of that line (and at the few regions) however many marks the file holds. The list
// handles its own OnAdd and OnDelete events.
class TTextEditorBookmarkList : public TObjectList<TTextEditorBookmark> {
public:
    TTextEditorBookmarkList();
    ~TTextEditorBookmarkList() override;

    const char* ClassName() const override { return "TTextEditorBookmarkList"; }

    // The regions and the point bookmarks on the line, in list order.
    void BookmarksOnLine(int line, std::vector<TTextEditorBookmark*>& out) const;

    // Notify the bookmarks an edit can concern (the regions, and the marks on the line or, for
    // the line edits, from it down), with AutoCollapse of the regions off meanwhile.
    void LineSplit(int line, int column);
    void LinesJoined(int line, int column);
    void TextInserted(int line, int column, int count);
    void TextDeleted(int line, int column, int count);
    void RangeDeleted(const TDeletedRange& range);

    // Deletes, in one pass and from the last to the first, every bookmark the predicate picks
    // (never the selection); returns how many went.
    template <typename Predicate>
    int DeleteWhere(Predicate picks);

    // Lines beyond the document move onto its last line.
    void ClampToLines(int lineCount);

private:
    struct TPointEntry {
        int Line;
        uint64_t Order;
        TTextEditorBookmark* Bookmark;
    };

    std::vector<TTextEditorBookmark*> Regions; // list order
    std::vector<TPointEntry> Points;           // by line, then list order
    uint64_t NextOrder = 0;
    int BulkDepth = 0;

    void Added(TTextEditorBookmark* bookmark);
    void Removed(TTextEditorBookmark* bookmark);
    void PointMoved(TTextEditorBookmark* bookmark, int oldLine);
    void InsertPoint(TTextEditorBookmark* bookmark);
    void Renumber();
    void RebuildIndex();
    template <typename Notify>
    void NotifyFrom(int line, Notify notify);
    template <typename Notify>
    void NotifyLine(int line, Notify notify);
    void RepairIndex(size_t first);
    void DeleteSelected(const std::vector<bool>& doomed);
    static bool IsSelection(const TTextEditorBookmark* bookmark);

    friend class TTextEditorBookmark;
};

template <typename Predicate>
int TTextEditorBookmarkList::DeleteWhere(Predicate picks) {
    std::vector<bool> doomed(static_cast<size_t>(Count()), false);
    int count = 0;
    for (int index = 0; index < Count(); ++index) {
        TTextEditorBookmark* bookmark = (*this)[index];
        if (!IsSelection(bookmark) && picks(bookmark)) {
            doomed[static_cast<size_t>(index)] = true;
            ++count;
        }
    }
    if (count > 0)
        DeleteSelected(doomed);
    return count;
}

} // namespace corvid
