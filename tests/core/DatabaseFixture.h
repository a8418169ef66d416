#pragma once

#include <gtest/gtest.h>

#include "database/AdoQuery.h"
#include "TestDatabase.h"

namespace zelk::test {

// A temporary working folder with the window's connection and its three
// cursors on "Zelk.dll" there.
class DatabaseFixture : public ::testing::Test {
  protected:
    ScopedWorkDir dir;
    db::TADOConnection connection;
    db::TADOQuery lookup{"ADOQuery1", connection};
    db::TADOQuery maintenance{"ADOQuery2", connection};
    db::TADOQuery settings{"ADOQueryInit", connection};
};

}  // namespace zelk::test
