#include "documentfixture.h"

#include "appcontext.h"
#include "boardobj.h"
#include "platformservices.h"
#include "portobj.h"

#include <algorithm>

void CRecordingView::OnUpdate() {
    m_kinds.push_back(m_doc.m_selectionKind);
    m_doc.UpdateCommandStates();
}

CDocumentFixture::CDocumentFixture() {
    CPlatformServices::SetServiceControlManager(&m_scmCalls);
}

CDocumentFixture::~CDocumentFixture() {
    Close();
    CPlatformServices::SetServiceControlManager(nullptr);
    CPlatformFamily::Set(EPlatformFamily::WindowsNT);
}

void CDocumentFixture::Close() {
    CAppContext::SetActiveDocument(nullptr);
    CAppContext::SetTreeNodeManager(nullptr);
    CAppContext::SetTreeControl(nullptr);
    m_pView.reset();
    m_pDoc.reset();
    m_pManager.reset();
    m_pHandlers.reset();
    m_pTree.reset();
}

bool CDocumentFixture::Open(EPlatformFamily family) {
    Close();
    CPlatformFamily::Set(family);
    m_pTree = std::make_unique<CHeadlessTree>();
    m_pHandlers = std::make_unique<CTreeHandlers>(*m_pTree);
    m_pTree->SetNotify(m_pHandlers.get());
    m_pManager = std::make_unique<CTreeNodeManager>(*m_pTree);
    m_pDoc = std::make_unique<CQSERDoc>();
    m_pView = std::make_unique<CRecordingView>(*m_pDoc);
    m_pDoc->AddView(m_pView.get());
    CAppContext::SetTreeControl(m_pTree.get());
    CAppContext::SetTreeNodeManager(m_pManager.get());
    CAppContext::SetActiveDocument(m_pDoc.get());
    if (!m_pDoc->OnNewDocument()) {
        return false;
    }
    m_pDoc->m_treeInsertMode = 2;
    m_pDoc->m_selectionKind = 0;
    m_pDoc->PopulateTree();
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
        std::find_if(m_pDoc->m_boardList.begin(), m_pDoc->m_boardList.end(),
                     [&name](const CBoardObj* board) { return board->GetBoardName() == name; });
    return found == m_pDoc->m_boardList.end() ? nullptr : *found;
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
    for (const CBoardObj* board : m_pDoc->m_boardList) {
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
    m_pDoc->OnAddBoard();
    CBoardObj* board = m_pDoc->m_pCurBoard;
    EXPECT_NE(board, nullptr);
    if (board == nullptr) {
        return std::string();
    }
    board->SetBoardType(model);
    m_probe.SetText(BoardKey(board->GetBoardName()), "BoardType", model);
    return board->GetBoardName();
}
