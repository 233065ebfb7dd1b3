#include "configtreeitem.h"

#include "configtreectrl.h"

CConfigTreeItem::CConfigTreeItem(CConfigTreeCtrl& tree, const QString& text, int image,
                                 int selectedImage)
    : QTreeWidgetItem(QStringList(text)), m_tree(tree), m_image(image),
      m_selectedImage(selectedImage) {}

QVariant CConfigTreeItem::data(int column, int role) const {
    if (column == 0 && role == Qt::DecorationRole) {
        return m_tree.Icon(m_image, m_selectedImage);
    }
    return QTreeWidgetItem::data(column, role);
}
