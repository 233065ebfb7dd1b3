#include "qserview.h"

#include "boardform.h"
#include "boardobj.h"
#include "dialogtemplates.h"
#include "idialog.h"
#include "idialogfactory.h"
#include "iviewframe.h"
#include "portform.h"
#include "portobj.h"
#include "qserdoc.h"
#include "systemform.h"

CQSERView::CQSERView(CQSERDoc& doc, IDialogFactory& factory, IViewFrame* frame)
    : m_doc(doc), m_factory(factory), m_pFrame(frame) {
    m_doc.AddView(this);
}

CQSERView::~CQSERView() {
    m_doc.RemoveView(this);
    m_pSystemForm.reset();
    m_pBoardForm.reset();
    m_pPortForm.reset();
}

void CQSERView::OnInitialUpdate() {
    const SDialogTemplate& view = CDialogTemplates::FormView();
    if (m_pFrame != nullptr) {
        m_pFrame->FitAndCentre(view.width, view.height);
    }
    m_pSystemForm = std::make_unique<CSystemForm>();
    m_pSystemForm->Create(m_factory.CreateDialog(CDialogTemplates::SystemForm()));
    m_pSystemForm->m_pDoc = &m_doc;
    m_pSystemForm->GetDialog()->EnableWindow(false);

    m_pBoardForm = std::make_unique<CBoardForm>();
    m_pBoardForm->Create(m_factory.CreateDialog(CDialogTemplates::BoardForm()));
    m_pBoardForm->m_pDoc = &m_doc;
    m_pBoardForm->GetDialog()->EnableWindow(true);

    m_pPortForm = std::make_unique<CPortForm>();
    m_pPortForm->Create(m_factory.CreateDialog(CDialogTemplates::PortForm()));
    m_pPortForm->m_pDoc = &m_doc;
    m_pPortForm->GetDialog()->EnableWindow(true);
    m_pBoardForm->SetPortForm(m_pPortForm.get());

    OnUpdate();
    m_doc.m_treeInsertMode = CQSERDoc::kInsertSorted;
    m_doc.m_selectionKind = CQSERDoc::kSelectionDriver;
    m_doc.PopulateTree();
}

void CQSERView::OnUpdate() {
    if (m_pSystemForm == nullptr) {
        return;
    }
    if (m_doc.m_selectionKind == CQSERDoc::kSelectionDriver) {
        ShowSystem();
    } else if (m_doc.m_selectionKind == CQSERDoc::kSelectionBoard && m_doc.m_pCurBoard != nullptr) {
        ShowBoard();
    } else if (m_doc.m_selectionKind == CQSERDoc::kSelectionPort && m_doc.m_pCurPort != nullptr &&
               m_doc.m_pCurBoard != nullptr) {
        ShowPort();
    }
    m_doc.UpdateCommandStates();
}

void CQSERView::ShowSystem() {
    m_pSystemForm->m_SystemName = m_doc.m_systemName;
    m_pSystemForm->m_NumBoards = m_doc.m_numBoards;
    m_pSystemForm->m_NumPorts = m_doc.m_numPorts;
    m_pBoardForm->GetDialog()->ShowWindow(false);
    m_pPortForm->GetDialog()->ShowWindow(false);
    m_pSystemForm->UpdateData();
    m_pSystemForm->GetDialog()->ShowWindow(true);
}

void CQSERView::ShowBoard() {
    const CBoardObj& board = *m_doc.m_pCurBoard;
    CBoardForm& form = *m_pBoardForm;
    form.FillFromBoard(board);
    form.ApplyBoardTypeRules();
    form.UpdateData(false);
    if (!form.GetDialog()->IsWindowVisible()) {
        m_pSystemForm->GetDialog()->ShowWindow(false);
        m_pPortForm->GetDialog()->ShowWindow(false);
        form.GetDialog()->ShowWindow(true);
    }
}

void CQSERView::ShowPort() {
    CPortForm& form = *m_pPortForm;
    form.FillPortLists();
    const CPortObj& port = *m_doc.m_pCurPort;
    form.FillFromPort(port);
    form.UpdateData();
    if (!form.GetDialog()->IsWindowVisible()) {
        m_pSystemForm->GetDialog()->ShowWindow(false);
        m_pBoardForm->GetDialog()->ShowWindow(false);
        form.GetDialog()->ShowWindow(true);
    }
}
