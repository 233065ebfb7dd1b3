#pragma once

#include "temphive.h"

#include <gtest/gtest.h>
#include <tuple>

// A fixture that takes the store its hive lives in, run once per store: the test's parameter is
// the store (CStoreTest) or the store and a row of a table (CStoreRowTest, the row in Row()).
template <class Fixture>
class CStoreTest : public Fixture, public ::testing::WithParamInterface<ETestStore> {
protected:
    CStoreTest() : Fixture(CStoreTest::GetParam()) {}
};

template <class Fixture, class TRow>
class CStoreRowTest : public Fixture,
                      public ::testing::WithParamInterface<std::tuple<ETestStore, TRow>> {
protected:
    CStoreRowTest() : Fixture(std::get<0>(CStoreRowTest::GetParam())) {}
    static const TRow& Row() { return std::get<1>(CStoreRowTest::GetParam()); }
};
