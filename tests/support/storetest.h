#pragma once

#include "platformfamily.h"
#include "temphive.h"
#include "testnames.h"

#include <gtest/gtest.h>
#include <ostream>
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

// A store and a platform family that can use it: Windows 95/98 keep their registry in another
// format than a Windows hive file, so that pair is left out.
struct SStoreFamily {
    ETestStore store;
    EPlatformFamily family;
};

inline void PrintTo(const SStoreFamily& row, std::ostream* out) {
    *out << StoreLabel(row.store) << "_" << FamilyLabel(row.family);
}

// "<store>_<family>".
struct SStoreFamilyName {
    std::string operator()(const ::testing::TestParamInfo<SStoreFamily>& row) const {
        return StoreLabel(row.param.store) + "_" + FamilyLabel(row.param.family);
    }
};

#define QSER_STORES_AND_FAMILIES                                                                   \
    ::testing::Values(SStoreFamily{ETestStore::Sqlite, EPlatformFamily::WindowsNT},                \
                      SStoreFamily{ETestStore::WindowsHive, EPlatformFamily::WindowsNT},           \
                      SStoreFamily{ETestStore::Sqlite, EPlatformFamily::Windows9x})

// A suite whose parameter is an SStoreFamily, run on every pair that exists.
#define QSER_ON_STORES_AND_FAMILIES(suite)                                                         \
    INSTANTIATE_TEST_SUITE_P(StoresAndFamilies, suite, QSER_STORES_AND_FAMILIES, SStoreFamilyName())
