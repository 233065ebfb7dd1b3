#pragma once

#include <memory>
#include <string>

class CQSERDoc;
class IDialog;
class IEdit;

// The page shown while the driver item is selected: the system name and the numbers of boards
// and ports, display only (the view creates the page disabled).
class CSystemForm {
public:
    CSystemForm();
    ~CSystemForm();
    CSystemForm(const CSystemForm&) = delete;
    CSystemForm& operator=(const CSystemForm&) = delete;

    // Takes the page built from dialog 2700.
    void Create(std::unique_ptr<IDialog> dialog);
    IDialog* GetDialog() const { return m_pDialog.get(); }
    // Members into controls.
    void UpdateData();

    std::string m_SystemName;
    std::string m_NumBoards;
    std::string m_NumPorts;
    CQSERDoc* m_pDoc = nullptr;

private:
    std::unique_ptr<IDialog> m_pDialog;
    IEdit* m_SystemNameEdit = nullptr;
    IEdit* m_NumBoardsEdit = nullptr;
    IEdit* m_NumPortsEdit = nullptr;
};
