#pragma once
// A form with a grid bound to a grdComm, shown and active on the offscreen platform,
// plus helpers to fill the list the way the forms do and to type keys.

#include "listctl/flex_grid.h"
#include "listctl/grdcomm.h"
#include "scripted_dialogs.h"

#include <QString>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace zq::test {

/// Makes sure one QApplication exists for the whole test program.
void ensureApplication();

/// Sends a key press (and release) with the given text, as typing it would.
void typeKey(QWidget* target, int qtKey, const QString& text = {}, Qt::KeyboardModifiers mods = {});
/// Types one character.
void typeChar(QWidget* target, QChar ch);

class ListFixture : public ::testing::Test {
protected:
    /// Format of the test list: marker column, then three data columns.
    static constexpr const char* kFormat = "    |<Codice|<Descrizione|  Note  ";

    void SetUp() override;

    /// Binds the list with the given limits (grid 3000 twips high).
    void init(int maxRows, int rowHeight = 315, int newRowCol = 2);
    /// Loads n records as the forms do: column 1 "C<i>", column 2 "D<i>", key = keys[i-1]
    /// (or 100 + i).
    void fill(int n, const std::vector<int>& keys = {});
    /// Activates the form and gives the grid the focus.
    void focusGrid();
    /// The usual start: an unlimited list of n records, focused, on the given row.
    void start(int n, int row);
    /// The one data row showing the ">>" marker; -1 when none, -2 when the column is not clean.
    int markedRow() const;
    /// Text of the data columns 1..3 of a row, joined by "|".
    std::string rowText(int row) const;
    /// Counts emissions of a grdComm signal.
    template <typename Signal>
    std::shared_ptr<int> count(Signal signal)
    {
        auto n = std::make_shared<int>(0);
        QObject::connect(list.get(), signal, [n](auto&&...) { ++*n; });
        return n;
    }

    std::unique_ptr<QWidget> form;
    FlexGrid* grid = nullptr;
    ScriptedDialogs dialogs;
    std::unique_ptr<grdComm> list;
};

/// Compares every field of a message the list showed.
inline void expectMessage(const Message& m, const Message& want)
{
    EXPECT_EQ(m.text, want.text);
    EXPECT_EQ(m.title, want.title);
    EXPECT_EQ(m.buttons, want.buttons);
    EXPECT_EQ(m.icon, want.icon);
}

}  // namespace zq::test
