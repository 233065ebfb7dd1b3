#pragma once

#include "itreecontrol.h"

#include <QIcon>
#include <QTreeWidget>
#include <map>
#include <utility>
#include <vector>

// Window style bits of the tree, as the frame and the tree node manager set them.
enum ETreeStyle : unsigned {
    TVS_HASBUTTONS = 0x0001,
    TVS_HASLINES = 0x0002,
    TVS_LINESATROOT = 0x0004,
    TVS_SHOWSELALWAYS = 0x0020,
};

// The configuration tree of the tree browser bar. It keeps the contract of ITreeControl: the
// current item is the selected item; a person's selection, expansion and double click, and a
// program's change of the current item, reach the notify target; expanding, collapsing and
// revealing by program, and clearing the tree, report nothing. Each item shows the image of its
// kind (16 x 16: driver, board, selected board, port, selected port), and its selected image
// while selected. Names are never cut: the tree scrolls sideways instead. It draws the lines
// and buttons its style bits ask for.
class CConfigTreeCtrl : public QTreeWidget, public ITreeControl {
public:
    explicit CConfigTreeCtrl(QWidget* parent);
    ~CConfigTreeCtrl() override;

    void SetNotify(ITreeNotify* notify) override { m_pNotify = notify; }
    // The tooltip of the driver item, now and when it is inserted again.
    void SetDriverToolTip(const QString& text);

    HTREEITEM InsertTreeItem(HTREEITEM parent, const std::string& text, ETreeInsert where,
                             int image, int selectedImage) override;
    void DeleteItem(HTREEITEM item) override;
    void DeleteAllItems() override;
    void SetItemData(HTREEITEM item, ItemKey key) override;
    ItemKey GetItemData(HTREEITEM item) const override;
    int GetItemImage(HTREEITEM item) const override;
    bool SetItemText(HTREEITEM item, const std::string& text) override;
    HTREEITEM GetRootItem() const override;
    HTREEITEM GetParentItem(HTREEITEM item) const override;
    HTREEITEM GetChildItem(HTREEITEM item) const override;
    HTREEITEM GetNextSiblingItem(HTREEITEM item) const override;
    HTREEITEM GetSelectedItem() const override;
    void SelectItem(HTREEITEM item) override;
    void EnsureVisible(HTREEITEM item) override;
    void Collapse(HTREEITEM item) override;
    void SetStyleBits(unsigned bits, bool set) override;

    unsigned StyleBits() const { return m_styleBits; }
    // The icon of an item of a kind; items of one kind share it, so each picture is loaded once
    // however many items show it.
    const QIcon& Icon(int image, int selectedImage);
    static QTreeWidgetItem* Item(HTREEITEM item) { return static_cast<QTreeWidgetItem*>(item); }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void drawBranches(QPainter* painter, const QRect& rect,
                      const QModelIndex& index) const override;
    void updateGeometries() override;
    void changeEvent(QEvent* event) override;

private:
    // Runs a change made by program with the person's notifications held back.
    template <typename Change> void Quietly(Change change);
    void OnCurrentItemChanged(QTreeWidgetItem* current);
    void OnItemExpanded(QTreeWidgetItem* item);
    int SortedPosition(const QTreeWidgetItem* parent, const QString& text) const;
    QTreeWidgetItem* Neighbour(QTreeWidgetItem* item) const;
    bool IsAncestorOfCurrent(const QTreeWidgetItem* item) const;
    QTreeWidgetItem* SiblingAt(const QTreeWidgetItem* parent, int index) const;
    int SiblingCount(const QTreeWidgetItem* parent) const;
    void DrawButton(QPainter& painter, const QPoint& centre, bool expanded) const;
    void WatchShownItems();
    static bool ChangesWidth(const QList<int>& roles);
    void RefitColumn();

    std::vector<QString> m_imageFiles;
    std::map<std::pair<int, int>, QIcon> m_icons;
    ITreeNotify* m_pNotify = nullptr;
    QString m_driverToolTip;
    unsigned m_styleBits = 0;
    bool m_bQuiet = false;
    // Set when what the tree shows has changed since the column was last sized.
    bool m_bColumnStale = true;
};
