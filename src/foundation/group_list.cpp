#include "foundation/group_list.h"

namespace corvid {

TGroupItem::TGroupItem(std::string name, TGroupList* owner, std::intptr_t data)
    : Owner(owner), Name(std::move(name)), Data(data) {}

TGroupItem* TGroupItem::Next() const {
    if (!Owner)
        return nullptr;
    const int index = Owner->Children.IndexOf(this);
    if (index >= 0 && index + 1 < Owner->Children.Count())
        return Owner->Children[index + 1];
    return Owner->Next();
}

} // namespace corvid
