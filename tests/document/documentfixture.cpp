#include "documentfixture.h"

#include "boardobj.h"
#include "portobj.h"

#include <algorithm>

void CRecordingView::OnUpdate() {
    m_kinds.push_back(m_doc.m_selectionKind);
    m_doc.UpdateCommandStates();
}

CDocumentFixture::CDocumentFixture() = default;

CDocumentFixture::~CDocumentFixture() {
    Close();
}

void CDocumentFixture::Close() {
    if (m_pSession != nullptr) {
        m_pSession->Doc().RemoveView(m_pView.get());
    }
    m_pView.reset();
    m_pSession.reset();
    m_pDialogs.reset();
    m_pTree.reset();
}

bool CDocumentFixture::Open(EPlatformFamily family) {
    Close();
    m_pTree = std::make_unique<CHeadlessTree>();
    m_pDialogs = std::make_unique<CHeadlessDialogFactory>();
    m_pSession = std::make_unique<CConfigurationSession>(
        SProcessReferences{.hive = &Hive(),
                           .messageBox = &Messages(),
                           .serviceControlManager = &m_scmCalls,
                           .platformFamily = family},
        *m_pTree, *m_pDialogs);
    m_pView = std::make_unique<CRecordingView>(Doc());
    Doc().AddView(m_pView.get());
    if (!m_pSession->Start()) {
        return false;
    }
    m_pView->Clear();
    return true;
}

std::string CDocumentFixture::ItemText(HTREEITEM item) const {
    std::string text = m_pTree->GetItemText(item);
    std::vector<HTREEITEM> children = m_pTree->Children(item);
    if (children.empty()) {
        return text;
    }
    text += "[";
    for (std::size_t i = 0; i < children.size(); ++i) {
        text += (i == 0 ? "" : " ") + ItemText(children[i]);
    }
    return text + "]";
}

std::string CDocumentFixture::TreeText() const {
    std::string text;
    for (HTREEITEM top : m_pTree->Children(nullptr)) {
        text += ItemText(top);
    }
    return text;
}

std::string CDocumentFixture::PathOf(HTREEITEM item) const {
    std::string path = m_pTree->GetItemText(item);
    for (HTREEITEM up = m_pTree->GetParentItem(item); up != nullptr;
         up = m_pTree->GetParentItem(up)) {
        path = m_pTree->GetItemText(up) + "/" + path;
    }
    return path;
}

std::string CDocumentFixture::SelectedPath() const {
    HTREEITEM selected = m_pTree->GetSelectedItem();
    return selected == nullptr ? std::string() : PathOf(selected);
}

HTREEITEM CDocumentFixture::Item(const std::string& path) const {
    return m_pTree->FindItem(path);
}

void CDocumentFixture::Click(const std::string& path) {
    HTREEITEM item = Item(path);
    ASSERT_NE(item, nullptr) << path;
    m_pTree->Click(item);
}

CBoardObj* CDocumentFixture::Board(const std::string& name) const {
    auto found =
        std::find_if(Doc().m_boardList.begin(), Doc().m_boardList.end(),
                     [&name](const CBoardObj* board) { return board->GetBoardName() == name; });
    return found == Doc().m_boardList.end() ? nullptr : *found;
}

CPortObj* CDocumentFixture::Port(const std::string& board, const std::string& port) const {
    const CBoardObj* owner = Board(board);
    if (owner == nullptr) {
        return nullptr;
    }
    auto found = std::find_if(owner->m_PortList.begin(), owner->m_PortList.end(),
                              [&port](const CPortObj* p) { return p->GetPortName() == port; });
    return found == owner->m_PortList.end() ? nullptr : *found;
}

std::vector<std::string> CDocumentFixture::BoardNames() const {
    std::vector<std::string> names;
    for (const CBoardObj* board : Doc().m_boardList) {
        names.push_back(board->GetBoardName());
    }
    return names;
}

std::vector<std::string> CDocumentFixture::PortNames(const std::string& board) const {
    std::vector<std::string> names;
    if (const CBoardObj* owner = Board(board)) {
        for (const CPortObj* port : owner->m_PortList) {
            names.push_back(port->GetPortName());
        }
    }
    return names;
}

std::string CDocumentFixture::AddBoard(const std::string& model) {
    Doc().OnAddBoard();
    CBoardObj* board = Doc().m_pCurBoard;
    EXPECT_NE(board, nullptr);
    if (board == nullptr) {
        return std::string();
    }
    board->SetBoardType(model);
    m_probe.SetText(BoardKey(board->GetBoardName()), "BoardType", model);
    return board->GetBoardName();
}
