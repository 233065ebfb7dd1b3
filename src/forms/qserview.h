#pragma once

#include "idocumentview.h"

#include <memory>

class CBoardForm;
class CPortForm;
class CQSERDoc;
class CSystemForm;
class IDialogFactory;
class IViewFrame;

// The form pane: hosts the system, board and port forms and shows exactly one of them, chosen
// by the document's selection kind, filled from the current record. It edits nothing itself.
class CQSERView : public IDocumentView {
public:
    // The frame may be null (a session without a window).
    CQSERView(CQSERDoc& doc, IDialogFactory& factory, IViewFrame* frame);
    ~CQSERView() override;
    CQSERView(const CQSERView&) = delete;
    CQSERView& operator=(const CQSERView&) = delete;

    // Once, after the frame, the view and the loaded document exist: sizes the frame, creates
    // the forms, shows the first form and fills the tree.
    void OnInitialUpdate();
    void OnUpdate() override;

    std::unique_ptr<CSystemForm> m_pSystemForm;
    std::unique_ptr<CBoardForm> m_pBoardForm;
    std::unique_ptr<CPortForm> m_pPortForm;

private:
    void ShowSystem();
    void ShowBoard();
    void ShowPort();

    CQSERDoc& m_doc;
    IDialogFactory& m_factory;
    IViewFrame* m_pFrame;
};
