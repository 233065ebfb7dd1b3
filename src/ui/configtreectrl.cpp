#include "configtreectrl.h"

#include "configtreeitem.h"
#include "latin1text.h"

#include <QHeaderView>
#include <QIcon>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <strings.h>

namespace {
constexpr int kImageRole = Qt::UserRole + 1;
constexpr int kDataRole = Qt::UserRole + 2;
constexpr int kImageSize = 16;
// The expand button: a square of this many pixels with a sign in it.
constexpr int kButtonSize = 9;
constexpr int kSignInset = 2;
} // namespace

CConfigTreeCtrl::CConfigTreeCtrl(QWidget* parent)
    : QTreeWidget(parent),
      // The image list, in the order of ETreeImage.
      m_imageFiles{QStringLiteral(":/icons/app.svg"), QStringLiteral(":/icons/board.svg"),
                   QStringLiteral(":/icons/board-selected.svg"), QStringLiteral(":/icons/port.svg"),
                   QStringLiteral(":/icons/port-selected.svg")} {
    setObjectName(QStringLiteral("tree1000"));
    setAccessibleName(QStringLiteral("Configuration tree"));
    setHeaderHidden(true);
    setColumnCount(1);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setIconSize(QSize(kImageSize, kImageSize));
    setUniformRowHeights(true);
    // Names are never cut: the one column is as wide as the widest name shown, and the tree
    // scrolls sideways when the bar is narrower. The tree sizes the column itself, once per
    // change of what it shows (see updateGeometries): sized to its contents by the header, the
    // column measured every item again at each insertion and at each resize of the window.
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(0, QHeaderView::Fixed);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setTextElideMode(Qt::ElideNone);
    connect(this, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* current, QTreeWidgetItem*) { OnCurrentItemChanged(current); });
    connect(this, &QTreeWidget::itemExpanded, this, &CConfigTreeCtrl::OnItemExpanded);
    WatchShownItems();
}

void CConfigTreeCtrl::WatchShownItems() {
    const auto refit = [this] { RefitColumn(); };
    QAbstractItemModel* items = model();
    connect(items, &QAbstractItemModel::rowsInserted, this, refit);
    connect(items, &QAbstractItemModel::rowsRemoved, this, refit);
    connect(items, &QAbstractItemModel::modelReset, this, refit);
    connect(items, &QAbstractItemModel::layoutChanged, this, refit);
    connect(items, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex&, const QModelIndex&, const QList<int>& roles) {
                if (ChangesWidth(roles)) {
                    RefitColumn();
                }
            });
    connect(this, &QTreeView::expanded, this, refit);
    connect(this, &QTreeView::collapsed, this, refit);
}

bool CConfigTreeCtrl::ChangesWidth(const QList<int>& roles) {
    return roles.isEmpty() || roles.contains(Qt::DisplayRole) ||
           roles.contains(Qt::DecorationRole) || roles.contains(Qt::FontRole) ||
           roles.contains(Qt::SizeHintRole);
}

// Many changes in a row (a fill of the tree, an expansion of every item) come to one measure of
// the items shown, at the next layout of the tree, which Qt does before it paints.
void CConfigTreeCtrl::RefitColumn() {
    m_bColumnStale = true;
    scheduleDelayedItemsLayout();
}

void CConfigTreeCtrl::updateGeometries() {
    if (m_bColumnStale) {
        m_bColumnStale = false;
        header()->resizeSection(0, std::max(0, sizeHintForColumn(0)));
    }
    QTreeWidget::updateGeometries();
}

void CConfigTreeCtrl::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
        RefitColumn();
    }
    QTreeWidget::changeEvent(event);
}

CConfigTreeCtrl::~CConfigTreeCtrl() {
    // Items going with the widget are no selection of a person's.
    blockSignals(true);
    // The base class empties the model after this part is gone: its changes must not reach the
    // column's refit any more.
    disconnect(model(), nullptr, this, nullptr);
}

template <typename Change> void CConfigTreeCtrl::Quietly(Change change) {
    const bool wasQuiet = m_bQuiet;
    m_bQuiet = true;
    change();
    m_bQuiet = wasQuiet;
}

void CConfigTreeCtrl::OnCurrentItemChanged(QTreeWidgetItem* current) {
    if (!m_bQuiet && m_pNotify != nullptr) {
        m_pNotify->OnSelChanged(current);
    }
}

void CConfigTreeCtrl::OnItemExpanded(QTreeWidgetItem* item) {
    if (!m_bQuiet && m_pNotify != nullptr) {
        m_pNotify->OnItemExpanded(item, true);
    }
}

// A click below the items takes the focus but leaves the selection: the current item stays
// shown selected, as the tree always shows its selection.
void CConfigTreeCtrl::mousePressEvent(QMouseEvent* event) {
    if (!indexAt(event->position().toPoint()).isValid()) {
        setFocus(Qt::MouseFocusReason);
        event->accept();
        return;
    }
    QTreeWidget::mousePressEvent(event);
}

void CConfigTreeCtrl::mouseDoubleClickEvent(QMouseEvent* event) {
    QTreeWidget::mouseDoubleClickEvent(event);
    if (m_pNotify != nullptr) {
        m_pNotify->OnDblClk();
    }
}

int CConfigTreeCtrl::SiblingCount(const QTreeWidgetItem* parent) const {
    return parent == nullptr ? topLevelItemCount() : parent->childCount();
}

QTreeWidgetItem* CConfigTreeCtrl::SiblingAt(const QTreeWidgetItem* parent, int index) const {
    if (index < 0 || index >= SiblingCount(parent)) {
        return nullptr;
    }
    return parent == nullptr ? topLevelItem(index) : parent->child(index);
}

int CConfigTreeCtrl::SortedPosition(const QTreeWidgetItem* parent, const QString& text) const {
    const QByteArray wanted = text.toLatin1();
    int position = 0;
    while (position < SiblingCount(parent) &&
           strcasecmp(SiblingAt(parent, position)->text(0).toLatin1().constData(),
                      wanted.constData()) <= 0) {
        ++position;
    }
    return position;
}

HTREEITEM CConfigTreeCtrl::InsertTreeItem(HTREEITEM parent, const std::string& text,
                                          ETreeInsert where, int image, int selectedImage) {
    auto* item = new CConfigTreeItem(*this, CLatin1Text::ToQt(text), image, selectedImage);
    item->setData(0, kImageRole, image);
    if (image == IMG_DRIVER) {
        item->setToolTip(0, m_driverToolTip);
    }
    QTreeWidgetItem* parentItem = Item(parent);
    int position = SiblingCount(parentItem);
    if (where == ETreeInsert::First) {
        position = 0;
    } else if (where == ETreeInsert::Sort) {
        position = SortedPosition(parentItem, item->text(0));
    }
    Quietly([&] {
        if (parentItem == nullptr) {
            insertTopLevelItem(position, item);
        } else {
            parentItem->insertChild(position, item);
        }
    });
    return item;
}

const QIcon& CConfigTreeCtrl::Icon(int image, int selectedImage) {
    auto [found, added] = m_icons.try_emplace({image, selectedImage});
    if (added) {
        if (image >= 0 && image < static_cast<int>(m_imageFiles.size())) {
            found->second.addFile(m_imageFiles[static_cast<std::size_t>(image)], QSize(),
                                  QIcon::Normal);
        }
        if (selectedImage >= 0 && selectedImage < static_cast<int>(m_imageFiles.size())) {
            found->second.addFile(m_imageFiles[static_cast<std::size_t>(selectedImage)], QSize(),
                                  QIcon::Selected);
        }
    }
    return found->second;
}

bool CConfigTreeCtrl::IsAncestorOfCurrent(const QTreeWidgetItem* item) const {
    for (const QTreeWidgetItem* up = currentItem() == nullptr ? nullptr : currentItem()->parent();
         up != nullptr; up = up->parent()) {
        if (up == item) {
            return true;
        }
    }
    return false;
}

QTreeWidgetItem* CConfigTreeCtrl::Neighbour(QTreeWidgetItem* item) const {
    QTreeWidgetItem* parent = item->parent();
    const int index = parent == nullptr ? indexOfTopLevelItem(item) : parent->indexOfChild(item);
    if (QTreeWidgetItem* previous = SiblingAt(parent, index - 1)) {
        return previous;
    }
    if (QTreeWidgetItem* next = SiblingAt(parent, index + 1)) {
        return next;
    }
    return parent;
}

void CConfigTreeCtrl::DeleteItem(HTREEITEM item) {
    QTreeWidgetItem* doomed = Item(item);
    if (doomed == nullptr) {
        return;
    }
    const bool wasCurrent = doomed == currentItem();
    QTreeWidgetItem* next = nullptr;
    if (wasCurrent) {
        next = Neighbour(doomed);
    }
    Quietly([&] {
        if (wasCurrent || IsAncestorOfCurrent(doomed)) {
            setCurrentItem(next);
        }
        delete doomed;
    });
    if (wasCurrent && m_pNotify != nullptr) {
        m_pNotify->OnSelChanged(next);
    }
}

void CConfigTreeCtrl::SetDriverToolTip(const QString& text) {
    m_driverToolTip = text;
    for (int i = 0; i < topLevelItemCount(); ++i) {
        if (GetItemImage(topLevelItem(i)) == IMG_DRIVER) {
            topLevelItem(i)->setToolTip(0, text);
        }
    }
}

void CConfigTreeCtrl::DeleteAllItems() {
    Quietly([this] { clear(); });
}

void CConfigTreeCtrl::SetItemData(HTREEITEM item, ItemKey key) {
    if (QTreeWidgetItem* target = Item(item)) {
        target->setData(0, kDataRole, QVariant::fromValue<qulonglong>(key));
    }
}

ItemKey CConfigTreeCtrl::GetItemData(HTREEITEM item) const {
    return item == nullptr ? 0 : static_cast<ItemKey>(Item(item)->data(0, kDataRole).toULongLong());
}

int CConfigTreeCtrl::GetItemImage(HTREEITEM item) const {
    return item == nullptr ? -1 : Item(item)->data(0, kImageRole).toInt();
}

bool CConfigTreeCtrl::SetItemText(HTREEITEM item, const std::string& text) {
    if (item == nullptr) {
        return false;
    }
    Item(item)->setText(0, CLatin1Text::ToQt(text));
    return true;
}

HTREEITEM CConfigTreeCtrl::GetRootItem() const {
    return topLevelItem(0);
}

HTREEITEM CConfigTreeCtrl::GetParentItem(HTREEITEM item) const {
    return item == nullptr ? nullptr : Item(item)->parent();
}

HTREEITEM CConfigTreeCtrl::GetChildItem(HTREEITEM item) const {
    return item == nullptr ? nullptr : Item(item)->child(0);
}

HTREEITEM CConfigTreeCtrl::GetNextSiblingItem(HTREEITEM item) const {
    if (item == nullptr) {
        return nullptr;
    }
    QTreeWidgetItem* parent = Item(item)->parent();
    const int index =
        parent == nullptr ? indexOfTopLevelItem(Item(item)) : parent->indexOfChild(Item(item));
    return SiblingAt(parent, index + 1);
}

HTREEITEM CConfigTreeCtrl::GetSelectedItem() const {
    return currentItem();
}

void CConfigTreeCtrl::SelectItem(HTREEITEM item) {
    if (Item(item) != currentItem()) {
        setCurrentItem(Item(item));
    }
}

void CConfigTreeCtrl::EnsureVisible(HTREEITEM item) {
    if (item != nullptr) {
        Quietly([&] { scrollToItem(Item(item)); });
    }
}

void CConfigTreeCtrl::Collapse(HTREEITEM item) {
    if (item != nullptr) {
        Quietly([&] { collapseItem(Item(item)); });
    }
}

void CConfigTreeCtrl::SetStyleBits(unsigned bits, bool set) {
    m_styleBits = set ? (m_styleBits | bits) : (m_styleBits & ~bits);
    setRootIsDecorated((m_styleBits & TVS_LINESATROOT) != 0);
    // The decoration at the root moves every item sideways.
    RefitColumn();
}

// Dotted lines join every item to its parent and to its siblings below; an item with children
// has a button showing whether it is expanded. Not every style draws them, so the tree does.
void CConfigTreeCtrl::drawBranches(QPainter* painter, const QRect& rect,
                                   const QModelIndex& index) const {
    if ((m_styleBits & TVS_HASLINES) == 0) {
        QTreeWidget::drawBranches(painter, rect, index);
        return;
    }
    painter->save();
    QPen pen(palette().color(QPalette::Dark), 0, Qt::DotLine);
    painter->setPen(pen);
    const int step = indentation();
    const int midY = rect.center().y();
    int left = rect.right() + 1 - step;
    if (left >= rect.left()) {
        const int midX = left + step / 2;
        const bool top = index.parent().isValid() || index.row() > 0;
        const bool below = index.sibling(index.row() + 1, 0).isValid();
        painter->drawLine(midX, top ? rect.top() : midY, midX, below ? rect.bottom() : midY);
        painter->drawLine(midX, midY, left + step - 2, midY);
        if ((m_styleBits & TVS_HASBUTTONS) != 0 && model()->hasChildren(index)) {
            DrawButton(*painter, QPoint(midX, midY), isExpanded(index));
        }
    }
    for (QModelIndex up = index.parent(); up.isValid() && (left -= step) >= rect.left();
         up = up.parent()) {
        if (up.sibling(up.row() + 1, 0).isValid()) {
            painter->setPen(pen);
            painter->drawLine(left + step / 2, rect.top(), left + step / 2, rect.bottom());
        }
    }
    painter->restore();
}

void CConfigTreeCtrl::DrawButton(QPainter& painter, const QPoint& centre, bool expanded) const {
    const QRect box(centre.x() - kButtonSize / 2, centre.y() - kButtonSize / 2, kButtonSize,
                    kButtonSize);
    painter.setPen(QPen(palette().color(QPalette::Dark), 0));
    painter.setBrush(palette().color(QPalette::Base));
    painter.drawRect(box.adjusted(0, 0, -1, -1));
    painter.setPen(QPen(palette().color(QPalette::Text), 0));
    const int reach = kButtonSize / 2 - kSignInset;
    painter.drawLine(centre.x() - reach, centre.y(), centre.x() + reach, centre.y());
    if (!expanded) {
        painter.drawLine(centre.x(), centre.y() - reach, centre.x(), centre.y() + reach);
    }
}
