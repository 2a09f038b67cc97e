#pragma once
// What the four link-list forms share: the parameter area with its pickers (picParm),
// the list grid bound to its list object (grdList, clsList), the button bar (picCNTR)
// with "&Esci", the lookups and the wait window. Each form adds its pickers, buttons
// and per-row controls, and redraws those controls whenever the visible rows change
// (after a load, on the list's Scroll event and after a resize).

#include "app/session.h"
#include "listctl/check_column.h"
#include "lookups/lookups.h"

#include <QWidget>

#include <functional>
#include <map>
#include <memory>
#include <vector>

class QComboBox;
class QHBoxLayout;
class QPushButton;

namespace zq {

class ComboPicker;
class FlexGrid;
class Progress;
class grdComm;

class ListForm : public QWidget {
    Q_OBJECT

public:
    ~ListForm() override;

    /// The list object over grdList.
    grdComm& clsList() const { return *clsList_; }
    FlexGrid* grdList() const { return grdList_; }
    /// cmbFlds(index), or nullptr when the form has no such picker.
    QComboBox* cmbFlds(int index) const;
    QPushButton* cmdExit() const { return cmdExit_; }
    /// The lookup tables the form filled (aDitte, aEser, aDocs, ArAttiva).
    Lookups& lookups() { return lookups_; }
    Session& session() { return session_; }

    /// Reads the form's list again and refills the grid.
    virtual void LeggList() = 0;

    /// Wide enough for the pickers and for every column of the list at its designed
    /// width, so a window opened at this size shows the ticks without scrolling.
    QSize sizeHint() const override;

protected:
    /// `name` is the object name ("frmColl"), the settings section of the form;
    /// `wait` shows the wait window (nullptr: the program's own).
    ListForm(Session& session, Progress* wait, const char* name, const char* caption, QWidget* parent);

    /// Adds picker cmbFlds(index) with its label to the parameter area.
    QComboBox* addPicker(int index, const char* label);
    ComboPicker& picker(int index) const;
    /// Adds a button to the bar, before "&Esci".
    QPushButton* addButton(const char* name, const char* caption);
    /// Puts a widget (a check box, a progress bar) in the bar, before the buttons.
    void addToBar(QWidget* w);
    /// Binds the grid with the form's format string, MaxRows 0 and row height 315.
    void initList(const char* format, int newRowCol);
    /// Refills the grid with `count` rows: `write(row, n)` writes entry n into grid row
    /// `row`; an empty row stays at the end, as the list class leaves it.
    void fillGrid(int count, const std::function<void(int row, int n)>& write);
    /// The first visible data row and the number of them that have an entry.
    int visibleEntries(int count) const;
    /// The check-box column over grid column `col`: box n stands for entry n of
    /// `entries` and ticks its member `selected`; a click on the grid ticks the box of
    /// the current row.
    template <class Entry>
    std::unique_ptr<CheckColumn> addCheckColumn(int col, std::vector<Entry>& entries, bool Entry::*selected) {
        return addCheckColumn(
            col, CheckEntries{[&entries] { return int(entries.size()); },
                              [&entries, selected](int n) { return entries.at(std::size_t(n - 1)).*selected; },
                              [&entries, selected](int n, bool on) { entries.at(std::size_t(n - 1)).*selected = on; }});
    }
    std::unique_ptr<CheckColumn> addCheckColumn(int col, CheckEntries entries);
    /// Shows the wait window for its lifetime; nested ones share one window.
    class WaitWindow {
    public:
        explicit WaitWindow(ListForm& form);
        ~WaitWindow();
        WaitWindow(const WaitWindow&) = delete;
        WaitWindow& operator=(const WaitWindow&) = delete;

    private:
        ListForm& form_;
    };

    /// A pick on company picker 0, year picker 1 or area picker 2 of a form that lists
    /// an area's archives: a company fills the years, whose latest is selected and
    /// counts as a year pick; an area reloads the list.
    void companyYearAreaPicked(int index);

    /// Column `col` takes the width the other columns leave in the grid (never less
    /// than `minTwips`), on every resize.
    void setFillColumn(int col, int minTwips);

    /// True when the TARV common database and the archive are connected. Otherwise
    /// (a start-up whose configuration could not be read, answered Ignore) the form
    /// says so once and stays empty instead of reading its lists.
    bool connected();

    /// Redraws the per-row controls over the visible rows.
    virtual void placeRowControls() = 0;

    bool eventFilter(QObject* watched, QEvent* e) override;

    Session& session_;
    Lookups lookups_;

private:
    void fitFillColumn();

    std::unique_ptr<Progress> ownWait_;
    Progress* wait_ = nullptr;
    int waitDepth_ = 0;
    int fillColumn_ = -1;
    int fillMinimum_ = 0;
    bool toldNotConnected_ = false;
    std::unique_ptr<grdComm> clsList_;
    FlexGrid* grdList_ = nullptr;
    QHBoxLayout* picParm_ = nullptr;
    QHBoxLayout* picCNTR_ = nullptr;
    QPushButton* cmdExit_ = nullptr;
    std::map<int, QComboBox*> cmbFlds_;
    std::map<int, std::unique_ptr<ComboPicker>> pickers_;
};

}  // namespace zq
