#pragma once

#include <gtest/gtest.h>

#include "AdoQuery.h"
#include "TestDatabase.h"

namespace zelk::test {

// A temporary working folder with the window's connection and its three
// cursors on "Zelk.dll" there.
class DatabaseFixture : public ::testing::Test {
  protected:
    ScopedWorkDir dir;
    TADOConnection connection;
    TADOQuery lookup{"ADOQuery1", connection};
    TADOQuery maintenance{"ADOQuery2", connection};
    TADOQuery settings{"ADOQueryInit", connection};
};

}  // namespace zelk::test
