#include "lookups/picker.h"

namespace zq {

int Picker::addItem(const std::string& text) {
    items_.push_back(Item{text, 0});
    return listCount() - 1;
}

void Picker::clear() {
    items_.clear();
    listIndex_ = -1;
}

void Picker::setListIndex(int index) { listIndex_ = (index >= 0 && index < listCount()) ? index : -1; }

std::string Picker::text() const { return listIndex_ >= 0 ? items_[listIndex_].text : std::string(); }

}  // namespace zq
