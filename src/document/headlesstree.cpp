#include "headlesstree.h"

#include <algorithm>
#include <strings.h>

struct CHeadlessTree::SNode {
    std::string text;
    int image = 0;
    int selectedImage = 0;
    ItemKey data = 0;
    SNode* parent = nullptr;
    NodeList children;
    bool expanded = false;
};

CHeadlessTree::CHeadlessTree() = default;

CHeadlessTree::~CHeadlessTree() = default;

CHeadlessTree::NodeList& CHeadlessTree::ChildrenOf(SNode* parent) {
    return parent == nullptr ? m_topLevel : parent->children;
}

CHeadlessTree::NodeList& CHeadlessTree::SiblingsOf(SNode* node) {
    return ChildrenOf(node->parent);
}

const CHeadlessTree::NodeList& CHeadlessTree::SiblingsOf(const SNode* node) const {
    return node->parent == nullptr ? m_topLevel : node->parent->children;
}

std::size_t CHeadlessTree::SortedPosition(const NodeList& siblings, const std::string& text) {
    auto after = std::find_if(siblings.begin(), siblings.end(), [&text](const auto& sibling) {
        return strcasecmp(sibling->text.c_str(), text.c_str()) > 0;
    });
    return static_cast<std::size_t>(after - siblings.begin());
}

HTREEITEM CHeadlessTree::InsertTreeItem(HTREEITEM parent, const std::string& text,
                                        ETreeInsert where, int image, int selectedImage) {
    NodeList& siblings = ChildrenOf(Node(parent));
    auto node = std::make_unique<SNode>();
    node->text = text;
    node->image = image;
    node->selectedImage = selectedImage;
    node->parent = Node(parent);
    SNode* raw = node.get();
    std::size_t position = siblings.size();
    if (where == ETreeInsert::First) {
        position = 0;
    } else if (where == ETreeInsert::Sort) {
        position = SortedPosition(siblings, text);
    }
    siblings.insert(siblings.begin() + static_cast<std::ptrdiff_t>(position), std::move(node));
    return raw;
}

bool CHeadlessTree::IsAncestorOfCurrent(const SNode* node) const {
    for (const SNode* up = m_pCurrent == nullptr ? nullptr : m_pCurrent->parent; up != nullptr;
         up = up->parent) {
        if (up == node) {
            return true;
        }
    }
    return false;
}

CHeadlessTree::SNode* CHeadlessTree::Neighbour(SNode* node) {
    NodeList& siblings = SiblingsOf(node);
    auto at = std::find_if(siblings.begin(), siblings.end(),
                           [node](const auto& sibling) { return sibling.get() == node; });
    if (at != siblings.begin()) {
        return std::prev(at)->get();
    }
    if (std::next(at) != siblings.end()) {
        return std::next(at)->get();
    }
    return node->parent;
}

void CHeadlessTree::DeleteItem(HTREEITEM item) {
    SNode* node = Node(item);
    if (node == nullptr) {
        return;
    }
    bool wasCurrent = node == m_pCurrent;
    if (wasCurrent) {
        m_pCurrent = Neighbour(node);
    } else if (IsAncestorOfCurrent(node)) {
        m_pCurrent = nullptr;
    }
    NodeList& siblings = SiblingsOf(node);
    std::erase_if(siblings, [node](const auto& sibling) { return sibling.get() == node; });
    if (wasCurrent && m_pNotify != nullptr) {
        m_pNotify->OnSelChanged(m_pCurrent);
    }
}

void CHeadlessTree::DeleteAllItems() {
    m_pCurrent = nullptr;
    m_topLevel.clear();
}

void CHeadlessTree::SetItemData(HTREEITEM item, ItemKey data) {
    if (SNode* node = Node(item)) {
        node->data = data;
    }
}

ItemKey CHeadlessTree::GetItemData(HTREEITEM item) const {
    return item == nullptr ? 0 : Node(item)->data;
}

int CHeadlessTree::GetItemImage(HTREEITEM item) const {
    return item == nullptr ? -1 : Node(item)->image;
}

bool CHeadlessTree::SetItemText(HTREEITEM item, const std::string& text) {
    if (item == nullptr) {
        return false;
    }
    Node(item)->text = text;
    return true;
}

std::string CHeadlessTree::GetItemText(HTREEITEM item) const {
    return item == nullptr ? std::string() : Node(item)->text;
}

HTREEITEM CHeadlessTree::GetRootItem() const {
    return m_topLevel.empty() ? nullptr : m_topLevel.front().get();
}

HTREEITEM CHeadlessTree::GetParentItem(HTREEITEM item) const {
    return item == nullptr ? nullptr : Node(item)->parent;
}

HTREEITEM CHeadlessTree::GetChildItem(HTREEITEM item) const {
    if (item == nullptr || Node(item)->children.empty()) {
        return nullptr;
    }
    return Node(item)->children.front().get();
}

HTREEITEM CHeadlessTree::GetNextSiblingItem(HTREEITEM item) const {
    if (item == nullptr) {
        return nullptr;
    }
    const NodeList& siblings = SiblingsOf(Node(item));
    auto at = std::find_if(siblings.begin(), siblings.end(),
                           [item](const auto& sibling) { return sibling.get() == item; });
    return std::next(at) == siblings.end() ? nullptr : std::next(at)->get();
}

HTREEITEM CHeadlessTree::GetSelectedItem() const {
    return m_pCurrent;
}

void CHeadlessTree::SelectItem(HTREEITEM item) {
    if (item == m_pCurrent) {
        return;
    }
    m_pCurrent = Node(item);
    if (m_pNotify != nullptr) {
        m_pNotify->OnSelChanged(item);
    }
}

void CHeadlessTree::EnsureVisible(HTREEITEM item) {
    for (SNode* up = item == nullptr ? nullptr : Node(item)->parent; up != nullptr;
         up = up->parent) {
        up->expanded = true;
    }
}

void CHeadlessTree::Collapse(HTREEITEM item) {
    if (SNode* node = Node(item)) {
        node->expanded = false;
    }
}

void CHeadlessTree::SetStyleBits(unsigned bits, bool set) {
    m_styleBits = set ? (m_styleBits | bits) : (m_styleBits & ~bits);
}

void CHeadlessTree::UserExpand(HTREEITEM item) {
    SNode* node = Node(item);
    if (node == nullptr || node->expanded) {
        return;
    }
    node->expanded = true;
    if (m_pNotify != nullptr) {
        m_pNotify->OnItemExpanded(item, true);
    }
}

void CHeadlessTree::UserDoubleClick() {
    if (m_pNotify != nullptr) {
        m_pNotify->OnDblClk();
    }
}

bool CHeadlessTree::IsExpanded(HTREEITEM item) const {
    return item != nullptr && Node(item)->expanded;
}

std::vector<HTREEITEM> CHeadlessTree::Children(HTREEITEM item) const {
    const NodeList& children = item == nullptr ? m_topLevel : Node(item)->children;
    std::vector<HTREEITEM> result;
    for (const auto& child : children) {
        result.push_back(child.get());
    }
    return result;
}

HTREEITEM CHeadlessTree::FindItem(const std::string& path) const {
    HTREEITEM found = nullptr;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = std::min(path.find('/', start), path.size());
        std::string text = path.substr(start, end - start);
        std::vector<HTREEITEM> level = Children(found);
        auto match = std::find_if(level.begin(), level.end(), [&](HTREEITEM candidate) {
            return strcasecmp(Node(candidate)->text.c_str(), text.c_str()) == 0;
        });
        if (match == level.end()) {
            return nullptr;
        }
        found = *match;
        start = end + 1;
    }
    return found;
}
