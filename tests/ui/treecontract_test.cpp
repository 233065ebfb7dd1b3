// The window's tree and the headless tree keep one contract (ITreeControl): the same cases run
// against both.
#include "configtreectrl.h"
#include "headlesstree.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {
class CRecordingNotify : public ITreeNotify {
public:
    explicit CRecordingNotify(std::function<std::string(HTREEITEM)> text)
        : m_text(std::move(text)) {}
    void OnSelChanged(HTREEITEM item) override { m_records.push_back("sel " + m_text(item)); }
    void OnItemExpanded(HTREEITEM item, bool expanded) override {
        m_records.push_back((expanded ? "expand " : "collapse ") + m_text(item));
    }
    void OnDblClk() override { m_records.push_back("dblclk"); }
    std::vector<std::string> Take() { return std::exchange(m_records, {}); }

private:
    std::function<std::string(HTREEITEM)> m_text;
    std::vector<std::string> m_records;
};

class CHeadlessDriver {
public:
    CHeadlessDriver() : m_notify([this](HTREEITEM item) { return Text(item); }) {
        m_tree.SetNotify(&m_notify);
    }
    ITreeControl& Tree() { return m_tree; }
    std::string Text(HTREEITEM item) const {
        return item == nullptr ? "<none>" : m_tree.GetItemText(item);
    }
    void Click(HTREEITEM item) { m_tree.Click(item); }
    void UserExpand(HTREEITEM item) { m_tree.UserExpand(item); }
    CRecordingNotify& Notify() { return m_notify; }

private:
    CHeadlessTree m_tree;
    CRecordingNotify m_notify;
};

class CQtDriver {
public:
    CQtDriver() : m_tree(nullptr), m_notify([this](HTREEITEM item) { return Text(item); }) {
        m_tree.SetNotify(&m_notify);
        m_tree.SetStyleBits(TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT, true);
        m_tree.resize(300, 400);
        m_tree.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&m_tree));
    }
    ~CQtDriver() { m_tree.SetNotify(nullptr); }
    ITreeControl& Tree() { return m_tree; }
    std::string Text(HTREEITEM item) const {
        return item == nullptr ? "<none>" : CConfigTreeCtrl::Item(item)->text(0).toStdString();
    }
    // The person's mouse on the item's text, and on its expand button.
    void Click(HTREEITEM item) {
        QTest::mouseClick(m_tree.viewport(), Qt::LeftButton, {}, Rect(item).center());
    }
    void UserExpand(HTREEITEM item) {
        const QRect rect = Rect(item);
        QTest::mouseClick(m_tree.viewport(), Qt::LeftButton, {},
                          QPoint(rect.left() - m_tree.indentation() / 2, rect.center().y()));
    }
    CRecordingNotify& Notify() { return m_notify; }

private:
    QRect Rect(HTREEITEM item) {
        QApplication::processEvents();
        return m_tree.visualItemRect(CConfigTreeCtrl::Item(item));
    }

    CConfigTreeCtrl m_tree;
    CRecordingNotify m_notify;
};

template <typename Driver> class CTreeContractTest : public ::testing::Test {
protected:
    // root with children a, b, c (c has children c1, c2), all expanded.
    void Build() {
        m_root = Tree().InsertTreeItem(nullptr, "root", ETreeInsert::Last, 0, 0);
        m_a = Tree().InsertTreeItem(m_root, "a", ETreeInsert::Last, 1, 2);
        m_b = Tree().InsertTreeItem(m_root, "b", ETreeInsert::Last, 1, 2);
        m_c = Tree().InsertTreeItem(m_root, "c", ETreeInsert::Last, 1, 2);
        m_c1 = Tree().InsertTreeItem(m_c, "c1", ETreeInsert::Last, 3, 4);
        m_c2 = Tree().InsertTreeItem(m_c, "c2", ETreeInsert::Last, 3, 4);
        Tree().EnsureVisible(m_c2);
        Tree().EnsureVisible(m_a);
        m_driver.Notify().Take();
    }
    std::vector<std::string> Children(HTREEITEM parent) {
        std::vector<std::string> texts;
        for (HTREEITEM child = Tree().GetChildItem(parent); child != nullptr;
             child = Tree().GetNextSiblingItem(child)) {
            texts.push_back(m_driver.Text(child));
        }
        return texts;
    }
    ITreeControl& Tree() { return m_driver.Tree(); }
    std::vector<std::string> Reports() { return m_driver.Notify().Take(); }
    std::string Current() { return m_driver.Text(Tree().GetSelectedItem()); }

    Driver m_driver;
    HTREEITEM m_root = nullptr;
    HTREEITEM m_a = nullptr;
    HTREEITEM m_b = nullptr;
    HTREEITEM m_c = nullptr;
    HTREEITEM m_c1 = nullptr;
    HTREEITEM m_c2 = nullptr;
};

using Drivers = ::testing::Types<CHeadlessDriver, CQtDriver>;
TYPED_TEST_SUITE(CTreeContractTest, Drivers);
} // namespace

TYPED_TEST(CTreeContractTest, InsertsFirstLastAndSortedWithoutRegardToCase) {
    HTREEITEM sorted = this->Tree().InsertTreeItem(nullptr, "QSERDRV", ETreeInsert::Last, 0, 0);
    for (const char* text : {"Board002", "board000", "Board001", "Board0015"}) {
        this->Tree().InsertTreeItem(sorted, text, ETreeInsert::Sort, 1, 2);
    }
    EXPECT_EQ(this->Children(sorted),
              (std::vector<std::string>{"board000", "Board001", "Board0015", "Board002"}));

    HTREEITEM placed = this->Tree().InsertTreeItem(nullptr, "other", ETreeInsert::Last, 0, 0);
    this->Tree().InsertTreeItem(placed, "m", ETreeInsert::Last, 1, 2);
    this->Tree().InsertTreeItem(placed, "z", ETreeInsert::First, 1, 2);
    this->Tree().InsertTreeItem(placed, "a", ETreeInsert::Last, 1, 2);
    EXPECT_EQ(this->Children(placed), (std::vector<std::string>{"z", "m", "a"}));

    EXPECT_EQ(this->Tree().GetRootItem(), sorted);
    EXPECT_EQ(this->Tree().GetNextSiblingItem(sorted), placed);
    EXPECT_EQ(this->Tree().GetParentItem(this->Tree().GetChildItem(placed)), placed);
    EXPECT_TRUE(this->Reports().empty());
}

TYPED_TEST(CTreeContractTest, KeepsItemDataImagesAndText) {
    this->Build();
    this->Tree().SetItemData(this->m_c1, 0xDEADBEEFu);
    EXPECT_EQ(this->Tree().GetItemData(this->m_c1), 0xDEADBEEFu);
    EXPECT_EQ(this->Tree().GetItemData(this->m_a), 0u);
    EXPECT_EQ(this->Tree().GetItemImage(this->m_root), 0);
    EXPECT_EQ(this->Tree().GetItemImage(this->m_b), 1);
    EXPECT_EQ(this->Tree().GetItemImage(this->m_c2), 3);
    EXPECT_TRUE(this->Tree().SetItemText(this->m_b, "B"));
    EXPECT_EQ(this->m_driver.Text(this->m_b), "B");
}

TYPED_TEST(CTreeContractTest, SelectingReportsOnlyAChange) {
    this->Build();
    this->Tree().SelectItem(this->m_b);
    EXPECT_EQ(this->Reports(), (std::vector<std::string>{"sel b"}));
    this->Tree().SelectItem(this->m_b);
    EXPECT_TRUE(this->Reports().empty());
    this->m_driver.Click(this->m_c1);
    EXPECT_EQ(this->Reports(), (std::vector<std::string>{"sel c1"}));
    EXPECT_EQ(this->Current(), "c1");
    this->m_driver.Click(this->m_c1);
    EXPECT_TRUE(this->Reports().empty());
}

TYPED_TEST(CTreeContractTest, DeletingTheCurrentItemMovesToANeighbourAndReportsIt) {
    this->Build();
    this->Tree().SelectItem(this->m_b);
    this->Reports();
    this->Tree().DeleteItem(this->m_b); // previous sibling
    EXPECT_EQ(this->Reports(), (std::vector<std::string>{"sel a"}));
    this->Tree().DeleteItem(this->m_a); // next sibling
    EXPECT_EQ(this->Reports(), (std::vector<std::string>{"sel c"}));
    this->Tree().SelectItem(this->m_c2);
    this->Reports();
    this->Tree().DeleteItem(this->m_c2);
    EXPECT_EQ(this->Reports(), (std::vector<std::string>{"sel c1"}));
    this->Tree().DeleteItem(this->m_c1); // the parent
    EXPECT_EQ(this->Reports(), (std::vector<std::string>{"sel c"}));
    EXPECT_EQ(this->Current(), "c");
}

TYPED_TEST(CTreeContractTest, DeletingAnAncestorOfTheCurrentItemLeavesNoneAndReportsNothing) {
    this->Build();
    this->Tree().SelectItem(this->m_c1);
    this->Reports();
    this->Tree().DeleteItem(this->m_c);
    EXPECT_TRUE(this->Reports().empty());
    EXPECT_EQ(this->Tree().GetSelectedItem(), nullptr);
    EXPECT_EQ(this->Children(this->m_root), (std::vector<std::string>{"a", "b"}));
}

TYPED_TEST(CTreeContractTest, DeletingAnotherItemKeepsTheCurrentOne) {
    this->Build();
    this->Tree().SelectItem(this->m_a);
    this->Reports();
    this->Tree().DeleteItem(this->m_c);
    EXPECT_TRUE(this->Reports().empty());
    EXPECT_EQ(this->Current(), "a");
}

TYPED_TEST(CTreeContractTest, OnlyAPersonsExpansionIsReported) {
    this->Build();
    this->Tree().Collapse(this->m_c);
    this->Tree().EnsureVisible(this->m_c1);
    this->Tree().Collapse(this->m_c);
    EXPECT_TRUE(this->Reports().empty());
    this->m_driver.UserExpand(this->m_c);
    EXPECT_EQ(this->Reports(), (std::vector<std::string>{"expand c"}));
}

TYPED_TEST(CTreeContractTest, ClearingReportsNothing) {
    this->Build();
    this->Tree().SelectItem(this->m_c2);
    this->Reports();
    this->Tree().DeleteAllItems();
    EXPECT_TRUE(this->Reports().empty());
    EXPECT_EQ(this->Tree().GetRootItem(), nullptr);
    EXPECT_EQ(this->Tree().GetSelectedItem(), nullptr);
}

TYPED_TEST(CTreeContractTest, NullItemsActOnNothing) {
    this->Build();
    ITreeControl& tree = this->Tree();
    tree.DeleteItem(nullptr);
    tree.SetItemData(nullptr, 7);
    tree.EnsureVisible(nullptr);
    tree.Collapse(nullptr);
    EXPECT_FALSE(tree.SetItemText(nullptr, "x"));
    EXPECT_EQ(tree.GetItemData(nullptr), 0u);
    EXPECT_EQ(tree.GetItemImage(nullptr), -1);
    EXPECT_EQ(tree.GetParentItem(nullptr), nullptr);
    EXPECT_EQ(tree.GetChildItem(nullptr), nullptr);
    EXPECT_EQ(tree.GetNextSiblingItem(nullptr), nullptr);
    EXPECT_EQ(this->Children(this->m_root).size(), 3u);
    EXPECT_TRUE(this->Reports().empty());
}
