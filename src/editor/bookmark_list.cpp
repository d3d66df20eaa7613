#include "editor/bookmark_list.h"

#include <algorithm>

namespace corvid {

namespace {

bool EntryBefore(int line, uint64_t order, int otherLine, uint64_t otherOrder) {
    return line != otherLine ? line < otherLine : order < otherOrder;
}

// Switches AutoCollapse of a region off for the time of a position adjustment, so that an
// edit never clears the selection by itself.
class TCollapseHold {
public:
    explicit TCollapseHold(TTextEditorBookmark* bookmark)
        : Region(bookmark->IsRegion() ? static_cast<TTextEditorRegionBookmark*>(bookmark)
                                      : nullptr) {
        if (!Region)
            return;
        Saved = Region->AutoCollapse;
        Region->AutoCollapse = false;
    }
    ~TCollapseHold() {
        if (Region)
            Region->AutoCollapse = Saved;
    }
    TCollapseHold(const TCollapseHold&) = delete;
    TCollapseHold& operator=(const TCollapseHold&) = delete;

private:
    TTextEditorRegionBookmark* Region;
    bool Saved = false;
};

} // namespace

TTextEditorBookmarkList::TTextEditorBookmarkList() {
    Delta = 100;
    OnAdd = [this](TObjectList&, TTextEditorBookmark* bookmark) { Added(bookmark); };
    OnDelete = [this](TObjectList&, TTextEditorBookmark* bookmark) { Removed(bookmark); };
}

TTextEditorBookmarkList::~TTextEditorBookmarkList() {
    for (TTextEditorBookmark* bookmark : *this)
        bookmark->Owner = nullptr;
}

bool TTextEditorBookmarkList::IsSelection(const TTextEditorBookmark* bookmark) {
    return dynamic_cast<const TTextEditorSelectionBookmark*>(bookmark) != nullptr;
}

void TTextEditorBookmarkList::Added(TTextEditorBookmark* bookmark) {
    bookmark->Owner = this;
    if (Last() != bookmark) {
        Renumber();
        RebuildIndex();
        return;
    }
    bookmark->Order = NextOrder++;
    if (bookmark->IsRegion())
        Regions.push_back(bookmark);
    else
        InsertPoint(bookmark);
}

void TTextEditorBookmarkList::Removed(TTextEditorBookmark* bookmark) {
    bookmark->Owner = nullptr;
    if (bookmark->IsRegion()) {
        Regions.erase(std::find(Regions.begin(), Regions.end(), bookmark));
        return;
    }
    const auto entry = std::find_if(Points.begin(), Points.end(), [&](const TPointEntry& point) {
        return point.Bookmark == bookmark;
    });
    if (entry != Points.end())
        Points.erase(entry);
}

void TTextEditorBookmarkList::InsertPoint(TTextEditorBookmark* bookmark) {
    const int line = bookmark->Line();
    const uint64_t order = bookmark->Order;
    const auto place =
        std::lower_bound(Points.begin(), Points.end(), 0, [&](const TPointEntry& entry, int) {
            return EntryBefore(entry.Line, entry.Order, line, order);
        });
    Points.insert(place, {line, order, bookmark});
}

void TTextEditorBookmarkList::PointMoved(TTextEditorBookmark* bookmark, int oldLine) {
    if (BulkDepth > 0)
        return;
    const uint64_t order = bookmark->Order;
    const auto entry =
        std::lower_bound(Points.begin(), Points.end(), 0, [&](const TPointEntry& point, int) {
            return EntryBefore(point.Line, point.Order, oldLine, order);
        });
    if (entry == Points.end() || entry->Bookmark != bookmark) {
        RebuildIndex();
        return;
    }
    Points.erase(entry);
    InsertPoint(bookmark);
}

void TTextEditorBookmarkList::Renumber() {
    NextOrder = 0;
    for (TTextEditorBookmark* bookmark : *this)
        bookmark->Order = NextOrder++;
}

void TTextEditorBookmarkList::RebuildIndex() {
    Regions.clear();
    Points.clear();
    for (TTextEditorBookmark* bookmark : *this) {
        if (bookmark->IsRegion())
            Regions.push_back(bookmark);
        else
            Points.push_back({bookmark->Line(), bookmark->Order, bookmark});
    }
    std::sort(Points.begin(), Points.end(), [](const TPointEntry& a, const TPointEntry& b) {
        return EntryBefore(a.Line, a.Order, b.Line, b.Order);
    });
}

// The entries from index first on may have new lines; those before stay below them.
void TTextEditorBookmarkList::RepairIndex(size_t first) {
    const auto from = Points.begin() + static_cast<ptrdiff_t>(first);
    for (auto entry = from; entry != Points.end(); ++entry)
        entry->Line = entry->Bookmark->Line();
    const auto before = [](const TPointEntry& a, const TPointEntry& b) {
        return EntryBefore(a.Line, a.Order, b.Line, b.Order);
    };
    if (!std::is_sorted(from, Points.end(), before))
        std::sort(from, Points.end(), before);
}

// Notifies the regions and the point bookmarks from the line down: an edit of a line never
// concerns the marks above it. The index is brought up to date once, at the end.
template <typename Notify>
void TTextEditorBookmarkList::NotifyFrom(int line, Notify notify) {
    const size_t first = static_cast<size_t>(
        std::lower_bound(Points.begin(), Points.end(), line,
                         [](const TPointEntry& entry, int value) { return entry.Line < value; }) -
        Points.begin());
    ++BulkDepth;
    try {
        for (TTextEditorBookmark* region : Regions) {
            TCollapseHold hold(region);
            notify(region);
        }
        for (size_t index = first; index < Points.size(); ++index)
            notify(Points[index].Bookmark);
    } catch (...) {
        --BulkDepth;
        RepairIndex(first);
        throw;
    }
    --BulkDepth;
    RepairIndex(first);
}

template <typename Notify>
void TTextEditorBookmarkList::NotifyLine(int line, Notify notify) {
    std::vector<TTextEditorBookmark*> concerned;
    BookmarksOnLine(line, concerned);
    for (TTextEditorBookmark* bookmark : concerned) {
        TCollapseHold hold(bookmark);
        notify(bookmark);
    }
}

void TTextEditorBookmarkList::BookmarksOnLine(int line,
                                              std::vector<TTextEditorBookmark*>& out) const {
    out.clear();
    const auto first =
        std::lower_bound(Points.begin(), Points.end(), line,
                         [](const TPointEntry& entry, int value) { return entry.Line < value; });
    auto region = Regions.begin();
    for (auto point = first; point != Points.end() && point->Line == line; ++point) {
        while (region != Regions.end() && (*region)->Order < point->Order)
            out.push_back(*region++);
        out.push_back(point->Bookmark);
    }
    out.insert(out.end(), region, Regions.end());
}

void TTextEditorBookmarkList::LineSplit(int line, int column) {
    NotifyFrom(line, [&](TTextEditorBookmark* bookmark) { bookmark->LineSplit(line, column); });
}

void TTextEditorBookmarkList::LinesJoined(int line, int column) {
    NotifyFrom(line, [&](TTextEditorBookmark* bookmark) { bookmark->LinesJoined(line, column); });
}

void TTextEditorBookmarkList::TextInserted(int line, int column, int count) {
    NotifyLine(line,
               [&](TTextEditorBookmark* bookmark) { bookmark->TextInserted(line, column, count); });
}

void TTextEditorBookmarkList::TextDeleted(int line, int column, int count) {
    NotifyLine(line,
               [&](TTextEditorBookmark* bookmark) { bookmark->TextDeleted(line, column, count); });
}

void TTextEditorBookmarkList::RangeDeleted(const TDeletedRange& range) {
    NotifyFrom(range.UpperLine,
               [&](TTextEditorBookmark* bookmark) { bookmark->RangeDeleted(range); });
}

void TTextEditorBookmarkList::ClampToLines(int lineCount) {
    const int last = lineCount - 1;
    NotifyFrom(lineCount, [&](TTextEditorBookmark* bookmark) {
        if (bookmark->Line() > last)
            bookmark->SetLine(last);
        if (!bookmark->IsRegion())
            return;
        auto* region = static_cast<TTextEditorRegionBookmark*>(bookmark);
        if (region->EndLine() > last)
            region->SetEndLine(last);
    });
}

void TTextEditorBookmarkList::DeleteSelected(const std::vector<bool>& doomed) {
    std::vector<TTextEditorBookmark*> kept;
    std::vector<TTextEditorBookmark*> gone;
    for (int index = 0; index < Count(); ++index)
        (doomed[static_cast<size_t>(index)] ? gone : kept).push_back((*this)[index]);

    const Event onAdd = std::move(OnAdd);
    const Event onDelete = std::move(OnDelete);
    OnAdd = nullptr;
    OnDelete = nullptr;
    const bool owns = OwnsObjects;
    OwnsObjects = false;
    Clear();
    for (TTextEditorBookmark* bookmark : kept)
        Add(bookmark);
    OwnsObjects = owns;
    OnAdd = onAdd;
    OnDelete = onDelete;

    Renumber();
    RebuildIndex();
    for (auto bookmark = gone.rbegin(); bookmark != gone.rend(); ++bookmark) {
        (*bookmark)->Owner = nullptr;
        if (OwnsObjects)
            delete *bookmark;
    }
}

} // namespace corvid
