#pragma once

#include "platformfamily.h"
#include "temphive.h"

#include <gtest/gtest.h>
#include <ostream>
#include <string>
#include <string_view>
#include <tuple>

// Names for the cases of parameterised tests, so that a case reads as what it tests. gtest takes
// only letters, digits and underscores, each name once per suite.

// A text as a case name: letters and digits as they are, every other character spelled out
// ("Blank", "Tab", "Minus", "Plus", "Dot", "Nul", else "Hex" and two digits), "Empty" for none.
std::string TextName(std::string_view text);

// A model name without its dashes ("RX-408" gives "RX408"), the rest as TextName spells it.
std::string ModelName(std::string_view model);

// "NT" or "Win9x".
std::string FamilyLabel(EPlatformFamily family);
std::string FamilyName(const ::testing::TestParamInfo<EPlatformFamily>& info);
// gtest prints a family by its label in failure messages.
void PrintTo(EPlatformFamily family, std::ostream* out);

// "Sqlite" or "WindowsHive".
std::string StoreLabel(ETestStore store);
std::string StoreName(const ::testing::TestParamInfo<ETestStore>& info);
void PrintTo(ETestStore store, std::ostream* out);

// Names each case of a parameterised test after the name field of its row.
struct SRowName {
    template <typename Row> std::string operator()(const ::testing::TestParamInfo<Row>& row) const {
        return std::string(row.param.name);
    }
};

// Names each case of a test over two tables after the name fields of its two rows, "Row_Row".
struct SPairName {
    template <typename First, typename Second>
    std::string operator()(const ::testing::TestParamInfo<std::tuple<First, Second>>& row) const {
        return std::string(std::get<0>(row.param).name) + "_" + std::get<1>(row.param).name;
    }
};

// Names each case of a test over both families and a table "<family>_<row name>".
struct SFamilyRowName {
    template <typename Row>
    std::string
    operator()(const ::testing::TestParamInfo<std::tuple<EPlatformFamily, Row>>& row) const {
        return FamilyLabel(std::get<0>(row.param)) + "_" + std::get<1>(row.param).name;
    }
};

// Names each case of a test over both stores and a table "<store>_<row name>".
struct SStoreRowName {
    template <typename Row>
    std::string operator()(const ::testing::TestParamInfo<std::tuple<ETestStore, Row>>& row) const {
        return StoreLabel(std::get<0>(row.param)) + "_" + std::get<1>(row.param).name;
    }
};

#define QSER_BOTH_FAMILIES ::testing::Values(EPlatformFamily::WindowsNT, EPlatformFamily::Windows9x)

// A suite whose parameter is the platform family, run on both and named "NT" and "Win9x".
#define QSER_ON_BOTH_FAMILIES(suite)                                                               \
    INSTANTIATE_TEST_SUITE_P(Families, suite, QSER_BOTH_FAMILIES, FamilyName)

#define QSER_BOTH_STORES ::testing::Values(ETestStore::Sqlite, ETestStore::WindowsHive)

// A suite whose parameter is the store, run on both and named "Sqlite" and "WindowsHive".
#define QSER_ON_BOTH_STORES(suite)                                                                 \
    INSTANTIATE_TEST_SUITE_P(Stores, suite, QSER_BOTH_STORES, StoreName)

// A suite over both stores and a table, each case named "<store>_<row name>".
#define QSER_ON_BOTH_STORES_WITH(suite, rows)                                                      \
    INSTANTIATE_TEST_SUITE_P(Stores, suite, ::testing::Combine(QSER_BOTH_STORES, rows),            \
                             SStoreRowName())
