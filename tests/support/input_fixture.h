// A main window model with a table loaded and its grid's input side on the test double of the
// grid widget, for the tests that press, drag and type.
#pragma once

#include "support/fakes.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

namespace kol::test {

struct InputFixture : MainFixture {
    TempDir dir;
    FakeGridView view{model.Grid, model.View};
    GridInput input{model, view};
    StringGrid& g = model.Grid;
    GridViewState& v = model.View;

    // Loads `text` as a file and shows the table from its first scrolling cell.
    void loadText(const std::string& text) {
        writeBytes(dir / "t.csv", text);
        EXPECT_TRUE(model.LoadTable((dir / "t.csv").string(), 1));
        view.setTopLeft(v.topRow, v.leftCol);
    }
};

} // namespace kol::test
