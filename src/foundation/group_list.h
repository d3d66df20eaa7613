#pragma once

#include "foundation/object_list.h"

#include <cstdint>
#include <string>

namespace corvid {

class TGroupList;

// A named node of a small tree; Data is a free user value.
class TGroupItem {
public:
    TGroupItem(std::string name, TGroupList* owner, std::intptr_t data);
    TGroupItem(const TGroupItem&) = delete;
    TGroupItem& operator=(const TGroupItem&) = delete;
    virtual ~TGroupItem() = default;

    TGroupList* Owner;
    std::string Name;
    std::intptr_t Data;

    // The sibling after this item; after the last child, the owner's next item; none at the
    // top of the tree.
    virtual TGroupItem* Next() const;
};

// A group item with owned children.
class TGroupList : public TGroupItem {
public:
    TGroupList(std::string name, TGroupList* owner) : TGroupItem(std::move(name), owner, 0) {}

    TObjectList<TGroupItem> Children;
};

} // namespace corvid
