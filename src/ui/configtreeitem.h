#pragma once

#include <QTreeWidgetItem>

class CConfigTreeCtrl;

// An item of the configuration tree. Its icon is looked up when the tree first asks for it, to
// paint or measure the item, so that the pictures of a kind nobody has seen yet (the ports under
// collapsed boards) are not loaded.
class CConfigTreeItem : public QTreeWidgetItem {
public:
    CConfigTreeItem(CConfigTreeCtrl& tree, const QString& text, int image, int selectedImage);

    QVariant data(int column, int role) const override;

private:
    CConfigTreeCtrl& m_tree;
    int m_image;
    int m_selectedImage;
};
