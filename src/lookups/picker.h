#pragma once
// A selection list as the engines see a combo box: items with a text and a number
// (ItemData), the selected index (ListIndex, -1 for none) and whether it is shown.
// Forms bind one to each combo box; zelq and the tests read it directly.

#include <string>
#include <vector>

namespace zq {

class Picker {
public:
    struct Item {
        std::string text;
        long itemData = 0;
    };

    /// Appends an item (ItemData 0) and returns its index.
    int addItem(const std::string& text);
    /// Removes every item; ListIndex becomes -1.
    void clear();

    int listCount() const { return static_cast<int>(items_.size()); }
    /// -1 when nothing is selected.
    int listIndex() const { return listIndex_; }
    /// Selects an item; -1 (or an index outside the list) selects nothing.
    void setListIndex(int index);

    const std::string& list(int index) const { return items_.at(index).text; }
    long itemData(int index) const { return items_.at(index).itemData; }
    void setItemData(int index, long value) { items_.at(index).itemData = value; }
    /// Text of the selected item; empty when none.
    std::string text() const;
    const std::vector<Item>& items() const { return items_; }

    bool visible = true;

private:
    std::vector<Item> items_;
    int listIndex_ = -1;
};

}  // namespace zq
